// The studio in a real browser: a theme chosen in the framed settings page changes the live picture, a click on the picture shows the view there and the step that decided its colour, the screen switches, and the restart button brings a new Music app.
// usage: node studio_browser_test.mjs OBSCURO STAGED_DEVICE
// Exits 0 when every check passed, 1 when one failed, 77 (skipped) when chromium or playwright-core cannot run here.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';

import { check, chromiumDriver, deviceCopiedFrom, finish, launchBrowser } from './harness.mjs';

const [obscuro, staged] = process.argv.slice(2);
if (!obscuro || !staged) {
  console.error('usage: node studio_browser_test.mjs OBSCURO STAGED_DEVICE');
  process.exit(2);
}
const chromium = await chromiumDriver(staged);

// A device of its own with the product on and the midnight theme.
const { device, settingsFile, environment } = deviceCopiedFrom(staged, 'studio-browser-');
for (const [key, value] of [['enabled', 'true'], ['theme', 'midnight']]) {
  const set = spawnSync(obscuro, ['settings', 'set', key, value], { env: environment, encoding: 'utf8' });
  if (set.status !== 0) { console.error(`FAILED: obscuro settings set ${key}: ${set.stderr}`); process.exit(1); }
}

// Gone, or a zombie nobody collected: either way it no longer runs.
function hasEnded(pid) {
  try {
    const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    return /\) [ZX] /.test(stat);
  } catch (error) {
    return true;
  }
}

const studio = spawn(obscuro, ['studio', '--root', device, '--port', '0', '--scale', '1'], { env: environment, stdio: ['ignore', 'pipe', 'inherit'] });
const exited = new Promise(resolve => studio.on('exit', (code, signal) => resolve({ code, signal })));
const address = await new Promise((resolve, reject) => {
  const timer = setTimeout(() => reject(new Error('obscuro studio printed no address')), 30000);
  readline.createInterface({ input: studio.stdout }).on('line', line => {
    if (line.startsWith('http://127.0.0.1:')) { clearTimeout(timer); resolve(line); }
  });
}).catch(error => { console.error(`FAILED: ${error.message}`); studio.kill('SIGKILL'); process.exit(1); });

// The colour most pixels of the shown picture have: the screen's background. A newer picture may
// be loading in its place (a settings change is posted twice, so it can be drawn twice); the
// colour is read once the image in place is decoded.
async function shownColour(page) {
  return page.evaluate(async () => {
    const picture = document.getElementById('picture');
    for (let attempt = 0; attempt < 50; attempt++) {
      try {
        await picture.decode();
        if (picture.naturalWidth > 0) break;
      } catch (error) {
        // replaced by a newer picture while decoding: wait for that one
      }
    }
    const canvas = document.createElement('canvas');
    canvas.width = picture.naturalWidth;
    canvas.height = picture.naturalHeight;
    const context = canvas.getContext('2d');
    context.drawImage(picture, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = new Map();
    for (let i = 0; i < pixels.length; i += 4) {
      const key = (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
      counts.set(key, (counts.get(key) || 0) + 1);
    }
    let best = 0, most = 0;
    for (const [key, count] of counts) if (count > most) { best = key; most = count; }
    return '#' + best.toString(16).padStart(6, '0').toUpperCase();
  });
}
const shownPicture = page => page.evaluate(() => Number(document.getElementById('picture').dataset.shown || 0));
// Waits until a picture newer than `before` has loaded, drawn by a process other than `notFrom` when given.
async function pictureAfter(page, before, notFrom = 0) {
  await page.waitForFunction(([before, notFrom]) =>
    Number(document.getElementById('picture').dataset.shown || 0) > before && document.body.dataset.running === 'true' &&
    Number(document.body.dataset.process) !== notFrom, [before, notFrom], { timeout: 30000 });
  return shownPicture(page);
}

let browser, musicProcess = 0;
try {
  browser = await launchBrowser(chromium);
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  await page.goto(address);
  const settings = page.frameLocator('#settings');
  check('the settings pages are framed beside the picture', (await settings.locator('h1').textContent()) === 'Obscuro');

  let shown = await pictureAfter(page, 0);
  check('the first picture shows the midnight background', (await shownColour(page)) === '#0B0E14', await shownColour(page));
  const firstProcess = Number(await page.getAttribute('body', 'data-process'));
  check('the picture comes from a running Music app', firstProcess > 0 && !hasEnded(firstProcess), String(firstProcess));

  // A theme chosen in the framed page: written, posted, reloaded and redrawn, without reloading the page.
  await page.evaluate(() => { window.notReloaded = true; });
  await settings.locator('select[data-key="theme"]').selectOption(JSON.stringify('oled'));
  shown = await pictureAfter(page, shown);
  check('the picture changes to the oled background', (await shownColour(page)) === '#000000', await shownColour(page));
  check('the page was not reloaded', await page.evaluate(() => window.notReloaded === true));
  check('the theme is in the settings file', fs.readFileSync(settingsFile, 'utf8').includes('<string>oled</string>'));

  // A click on a cell of the library's table: the inspector lists the views there, topmost first,
  // each with the decisions behind its colours; the cell's background was decided by the
  // background procedure, whose last step gave the oled background.
  const box = await page.locator('#picture').boundingBox();
  await page.mouse.click(box.x + box.width * 100 / 375, box.y + box.height * 300 / 812);
  await page.waitForFunction(shown => Number(document.getElementById('inspector').dataset.picture || 0) >= shown, shown, { timeout: 30000 });
  const inspected = await page.evaluate(() => [...document.querySelectorAll('#inspector .view')].map(view => {
    const background = view.querySelector('li[data-held="background"]');
    return { id: view.dataset.id, cls: view.dataset.class, step: background ? background.dataset.step : '', text: view.textContent };
  }));
  check('the inspector lists the views under the click, the window last', inspected.length >= 2 && inspected[inspected.length - 1].id === '0',
        JSON.stringify(inspected.map(view => view.id)));
  const cell = inspected.find(view => view.cls === 'UITableViewCell');
  check('the clicked table cell is among them', cell !== undefined, JSON.stringify(inspected.map(view => view.cls)));
  check('the step that decided its background is shown', cell && /^\d+(\.\d+)?$/.test(cell.step) &&
        cell.text.includes('setBackgroundColor: step ' + cell.step + ': #FFFFFF \u2192 #000000'), cell && cell.text);

  // Another screen, from the page's screen list: the same app draws it, and the inspector follows.
  const describedBefore = Number(await page.getAttribute('body', 'data-described'));
  const processBefore = Number(await page.getAttribute('body', 'data-process'));
  await page.selectOption('#screen', 'now-playing');
  await page.waitForFunction(before => document.body.dataset.screen === 'now-playing' && Number(document.body.dataset.described) > before,
                             describedBefore, { timeout: 30000 });
  await page.waitForFunction(() => document.getElementById('inspector').dataset.screen === 'now-playing', null, { timeout: 30000 });
  check('the screen switches without a restart', Number(await page.getAttribute('body', 'data-process')) === processBefore);
  shown = await shownPicture(page);
  await page.selectOption('#screen', 'library');
  await page.waitForFunction(() => document.body.dataset.screen === 'library', null, { timeout: 30000 });
  shown = await pictureAfter(page, shown);

  // The restart button: the settings page's respring, through the device's killall.
  await page.click('#restart');
  shown = await pictureAfter(page, shown, firstProcess);
  musicProcess = Number(await page.getAttribute('body', 'data-process'));
  check('a restarted Music app draws the picture', musicProcess > 0 && musicProcess !== firstProcess, `${firstProcess} → ${musicProcess}`);
  check('the Music app before the restart has ended', hasEnded(firstProcess));
  check('the restarted app keeps the chosen theme', (await shownColour(page)) === '#000000', await shownColour(page));
  check('the status names the drawing process', (await page.textContent('#status')).includes(String(musicProcess)));
} catch (error) {
  check('the browser session ran to the end', false, error.message);
} finally {
  if (browser) await browser.close();
  studio.kill('SIGTERM');
  const timer = setTimeout(() => studio.kill('SIGKILL'), 10000);
  const { code, signal } = await exited;
  clearTimeout(timer);
  check('the studio stops cleanly on SIGTERM', code === 0, `code ${code}, signal ${signal}`);
  if (musicProcess) check('the studio takes its Music app with it', hasEnded(musicProcess));
  fs.rmSync(device, { recursive: true, force: true });
}
finish();
