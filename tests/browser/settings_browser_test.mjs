// The Settings host in a real browser: switching the theme and a switch on the page changes the settings file and the running Music app.
// usage: node settings_browser_test.mjs OBSCURO OBSCURO_MUSIC STAGED_DEVICE
// Exits 0 when every check passed, 1 when one failed, 77 (skipped) when chromium or playwright-core cannot run here.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';

import { check, chromiumDriver, deviceCopiedFrom, finish, launchBrowser } from './harness.mjs';

const [obscuro, music, staged] = process.argv.slice(2);
if (!obscuro || !music || !staged) {
  console.error('usage: node settings_browser_test.mjs OBSCURO OBSCURO_MUSIC STAGED_DEVICE');
  process.exit(2);
}
const chromium = await chromiumDriver(staged);

// A device of its own: the staged product, no settings yet.
const { device, settingsFile, environment } = deviceCopiedFrom(staged, 'settings-browser-');

// A child whose output lines can be awaited.
function start(program, args) {
  const child = spawn(program, args, { env: environment, stdio: ['ignore', 'pipe', 'inherit'] });
  const lines = [];
  let waiters = [];
  readline.createInterface({ input: child.stdout }).on('line', line => {
    lines.push(line);
    waiters = waiters.filter(w => !w(line));
  });
  child.waitFor = (test, ms = 10000) => new Promise((resolve, reject) => {
    const found = lines.find(test);
    if (found !== undefined) { lines.length = 0; return resolve(found); }
    const timer = setTimeout(() => reject(new Error(`timed out waiting for output of ${path.basename(program)}`)), ms);
    waiters.push(line => {
      if (!test(line)) return false;
      clearTimeout(timer);
      lines.length = 0;
      resolve(line);
      return true;
    });
  });
  child.forget = () => { lines.length = 0; };
  return child;
}

const set = spawnSync(obscuro, ['settings', 'set', 'enabled', 'true'], { env: environment, encoding: 'utf8' });
if (set.status !== 0) { console.error(`FAILED: obscuro settings set: ${set.stderr}`); process.exit(1); }

const musicApp = start(music, ['--root', device, '--serve']);
const host = start(obscuro, ['settings', 'serve', '--port', '0']);
let browser;
try {
  await musicApp.waitFor(line => line.startsWith('Serving'), 30000);
  const address = await host.waitFor(line => line.startsWith('http://127.0.0.1:'), 30000);
  browser = await launchBrowser(chromium);
  const page = await browser.newPage();
  await page.goto(address + 'pages/obscurosettings/Root');
  check('the root page shows its title', (await page.textContent('h1')) === 'Obscuro');

  // The theme picker.
  musicApp.forget();
  await page.selectOption('select[data-key="theme"]', JSON.stringify('oled'));
  await page.waitForSelector('#status.note');
  check('the theme is written to the settings file', fs.readFileSync(settingsFile, 'utf8').includes('<string>oled</string>'));
  const theme = await musicApp.waitFor(line => /^\s*theme\s/.test(line)).catch(e => e.message);
  check('the running Music app takes the new theme', /"oled"/.test(theme), theme);

  // A switch.
  musicApp.forget();
  await page.click('input[data-key="displayArtworkShadow"]');
  await page.waitForFunction(() => document.querySelector('#status').textContent.includes('displayArtworkShadow'));
  const file = fs.readFileSync(settingsFile, 'utf8');
  check('the switch is written to the settings file', /<key>displayArtworkShadow<\/key>\s*<true\/>/.test(file), file);
  const reload = await musicApp.waitFor(line => line.startsWith('Settings changed')).catch(e => e.message);
  check('the running Music app reloads after the switch', reload.startsWith('Settings changed'), reload);

  // A refusal is shown on the page and leaves the file alone.
  await page.goto(address + 'pages/obscurosettings/custom_colors');
  const before = fs.readFileSync(settingsFile, 'utf8');
  await page.fill('input[type="text"][data-key="tintColor"]', '#12');
  await page.press('input[type="text"][data-key="tintColor"]', 'Enter');
  await page.waitForSelector('#status.error');
  check('a colour the picker cannot read is refused on the page', (await page.textContent('#status')).includes('colour string'));
  check('the refused colour leaves the settings file untouched', fs.readFileSync(settingsFile, 'utf8') === before);
} catch (error) {
  check('the browser session ran to the end', false, error.message);
} finally {
  if (browser) await browser.close();
  host.kill('SIGTERM');
  musicApp.kill('SIGTERM');
  fs.rmSync(device, { recursive: true, force: true });
}
finish();
