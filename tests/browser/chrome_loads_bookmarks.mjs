// Chromium loads the Chrome bookmark file of a home and shows the tree linvara-cli lists.
// usage: node chrome_loads_bookmarks.mjs [--file BOOKMARKS] [--step 'ARGS...']...
//   The home is the demo profile, or holds only BOOKMARKS as Chrome's file. Each --step runs
//   linvara-cli --home H --layout macos ARGS (split on spaces) before the comparison.
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { expectEqual, expectTrue, finish, launchOnProfile } from './chromium.mjs';

const cli = process.env.LINVARA_CLI;
if (!cli) throw new Error('LINVARA_CLI must name linvara-cli');

const args = process.argv.slice(2);
const steps = [];
let sourceFile = null;
for (let i = 0; i < args.length; i += 2) {
  if (args[i] === '--file') sourceFile = args[i + 1];
  else if (args[i] === '--step') steps.push(args[i + 1].split(' '));
  else throw new Error(`unknown argument ${args[i]}`);
}

const work = mkdtempSync(join(tmpdir(), 'linvara-chrome-'));
const home = join(work, 'home');
const chromeFile = join(home, 'Library/Application Support/Google/Chrome/Default/Bookmarks');
const run = (argv) => execFileSync(cli, argv, { encoding: 'utf8' });
if (sourceFile) {
  mkdirSync(join(chromeFile, '..'), { recursive: true });
  copyFileSync(sourceFile, chromeFile);
} else {
  run(['make-demo', home]);
}
for (const step of steps) run(['--home', home, '--layout', 'macos', ...step]);

// What the program reads from Chrome's own file.
const listed = JSON.parse(run(['--home', home, '--layout', 'macos', 'list', '--view', 'chrome', '--json']));
const fromList = (n) => n.kind === 'folder'
  ? { title: n.title ?? '', id: n.uuid, children: (n.children ?? []).map(fromList) }
  : { title: n.title ?? '', id: n.uuid, url: n.url };

// What Chromium makes of the same file.
const profile = join(work, 'profile');
mkdirSync(join(profile, 'Default'), { recursive: true });
copyFileSync(chromeFile, join(profile, 'Default/Bookmarks'));
const context = await launchOnProfile(profile);
try {
  const page = await context.newPage();
  await page.goto('chrome://bookmarks');
  const [root] = await page.evaluate(() => new Promise((done) => chrome.bookmarks.getTree(done)));
  const fromChromium = (n) => n.url === undefined
    ? { title: n.title, id: n.id, children: (n.children ?? []).map(fromChromium) }
    : { title: n.title, id: n.id, url: n.url };
  const loaded = root.children.map(fromChromium);
  const count = (nodes) => nodes.reduce((sum, n) => sum + 1 + count(n.children ?? []), 0);
  expectTrue(count(loaded) > loaded.length, 'Chromium loaded bookmarks from the file');
  // Chromium names its permanent folders itself: compare their contents, not their titles.
  // Chromium hides an empty "Mobile bookmarks" folder.
  listed.forEach((folder, i) => {
    if (i >= loaded.length && !(folder.children ?? []).length) return;
    expectEqual(loaded[i]?.id, folder.uuid, `top-level folder ${i} id`);
    expectEqual(loaded[i]?.children, (folder.children ?? []).map(fromList), `contents of top-level folder ${i}`);
  });
} finally {
  await context.close();
  rmSync(work, { recursive: true, force: true });
}
finish();
