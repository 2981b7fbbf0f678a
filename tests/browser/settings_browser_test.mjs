// The Settings host in a real browser: switching the theme and a switch on the page changes the settings file and the running Music app.
// usage: node settings_browser_test.mjs OBSCURO OBSCURO_MUSIC STAGED_DEVICE
// Exits 0 when every check passed, 1 when one failed, 77 (skipped) when chromium or playwright-core cannot run here.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';

const [obscuro, music, staged] = process.argv.slice(2);
const SKIP = 77;
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

function skip(reason) {
  console.log(`SKIPPED: ${reason}`);
  process.exit(SKIP);
}

if (!obscuro || !music || !staged) {
  console.error('usage: node settings_browser_test.mjs OBSCURO OBSCURO_MUSIC STAGED_DEVICE');
  process.exit(2);
}
let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch (error) {
  skip(`playwright-core is not installed (run scripts/bootstrap): ${error.message}`);
}
if (!fs.existsSync(chromiumPath)) skip(`no chromium at ${chromiumPath} (run scripts/bootstrap)`);
if (!fs.existsSync(path.join(staged, 'Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib'))) {
  console.error(`FAILED: the default device ${staged} has no tweak library; build the target stage_device`);
  process.exit(1);
}

// A device of its own: the staged product, no settings yet.
const device = fs.mkdtempSync(path.join(os.tmpdir(), 'settings-browser-'));
for (const folder of ['Library', 'Applications', 'usr'])
  if (fs.existsSync(path.join(staged, folder))) fs.cpSync(path.join(staged, folder), path.join(device, folder), { recursive: true });
fs.mkdirSync(path.join(device, 'var/mobile/Library/Preferences'), { recursive: true });
const settingsFile = path.join(device, 'var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist');
const environment = { ...process.env, OBSCURO_DEVICE_ROOT: device };

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

let passed = 0, failed = 0;
function check(name, ok, detail = '') {
  if (ok) { passed++; console.log(`ok - ${name}`); }
  else { failed++; console.log(`not ok - ${name}${detail ? ': ' + detail : ''}`); }
}

const set = spawnSync(obscuro, ['settings', 'set', 'enabled', 'true'], { env: environment, encoding: 'utf8' });
if (set.status !== 0) { console.error(`FAILED: obscuro settings set: ${set.stderr}`); process.exit(1); }

const musicApp = start(music, ['--root', device, '--serve']);
const host = start(obscuro, ['settings', 'serve', '--port', '0']);
let browser;
try {
  await musicApp.waitFor(line => line.startsWith('Serving'), 30000);
  const address = await host.waitFor(line => line.startsWith('http://127.0.0.1:'), 30000);
  try {
    browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'] });
  } catch (error) {
    skip(`chromium cannot start in this sandbox: ${error.message.split('\n')[0]}`);
  }
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
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
