// What the browser tests share: skipping where no browser can run, a device of their own copied from the staged one, counted checks and the chromium launch.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export const SKIP = 77;
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

export function skip(reason) {
  console.log(`SKIPPED: ${reason}`);
  process.exit(SKIP);
}

// playwright-core's chromium driver, after checking that chromium and the staged product are there.
export async function chromiumDriver(staged) {
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
  return chromium;
}

export async function launchBrowser(chromium) {
  try {
    return await chromium.launch({ executablePath: chromiumPath, headless: true, args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'] });
  } catch (error) {
    skip(`chromium cannot start in this sandbox: ${error.message.split('\n')[0]}`);
  }
}

// A device of its own under the temporary folder: the staged product and no settings yet.
export function deviceCopiedFrom(staged, prefix) {
  const device = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  for (const folder of ['Library', 'Applications', 'usr'])
    if (fs.existsSync(path.join(staged, folder))) fs.cpSync(path.join(staged, folder), path.join(device, folder), { recursive: true });
  fs.mkdirSync(path.join(device, 'var/mobile/Library/Preferences'), { recursive: true });
  return {
    device,
    settingsFile: path.join(device, 'var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist'),
    environment: { ...process.env, OBSCURO_DEVICE_ROOT: device },
  };
}

let passed = 0, failed = 0;
export function check(name, ok, detail = '') {
  if (ok) { passed++; console.log(`ok - ${name}`); }
  else { failed++; console.log(`not ok - ${name}${detail ? ': ' + detail : ''}`); }
}

// Prints the tally and exits: 0 when every check passed, 1 otherwise.
export function finish() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}
