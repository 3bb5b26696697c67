// Shared set-up of the browser checks: Debian's Chromium driven by playwright-core.
import { chromium } from 'playwright-core';

const executablePath = process.env.LINVARA_CHROMIUM || '/usr/bin/chromium';
const args = ['--no-sandbox', '--disable-gpu', '--no-first-run', '--no-default-browser-check'];

export function launchChromium() {
  return chromium.launch({ executablePath, headless: true, args });
}

// A browser on a profile folder of our own (its Default/ holds the files under test).
export function launchOnProfile(userDataDir) {
  return chromium.launchPersistentContext(userDataDir, { executablePath, headless: true, args });
}

let failures = 0;
export function expectEqual(actual, expected, what) {
  const a = JSON.stringify(actual), e = JSON.stringify(expected);
  if (a !== e) {
    failures++;
    console.error(`FAIL ${what}\n  expected: ${e}\n  actual:   ${a}`);
  }
}
export function expectTrue(condition, what) {
  if (!condition) { failures++; console.error(`FAIL ${what}`); }
}
export function finish() {
  if (failures) { console.error(`${failures} check(s) failed`); process.exit(1); }
  console.log('all checks passed');
}
