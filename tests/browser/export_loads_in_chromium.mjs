// Chromium loads the HTML bookmark files linvara-cli exports and finds the tree
// linvara-cli lists: every folder title, link text and address, with markup
// characters, non-ASCII and right-to-left titles, three levels of folders, and
// the file of an empty view.
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { expectEqual, expectTrue, finish, launchChromium } from './chromium.mjs';

const cli = process.env.LINVARA_CLI;
if (!cli) throw new Error('LINVARA_CLI must name linvara-cli');

// Chrome's bookmark file, written directly: nothing of linvara's goes into the input.
let nextId = 100;
const url = (name, address) => ({ type: 'url', id: String(nextId++), date_added: '13300000000000000', name, url: address });
const folder = (name, children) => ({ type: 'folder', id: String(nextId++), date_added: '13300000000000000', name, children });
const chromeFile = {
  version: 1,
  roots: {
    bookmark_bar: folder('Bookmarks bar', [
      url('Tom & Jerry <b>"quoted"</b> \'single\'', 'https://markup.example/?a=1&b="2"&c=\'3\''),
      url('</A><script>document.title="owned"</script>', 'https://script.example/<x>'),
      url('Ünïcødé ✓ 日本語 Ελληνικά', 'https://unicode.example/ü'),
      url('שלום עולם مرحبا بالعالم', 'https://rtl.example/'),
      url('', 'https://untitled.example/'),
      folder('One & <Two>', [
        folder('Level "2"', [folder('Level 3 שלוש', [url('Deep & low', 'https://deep.example/?x=1&y=2')])]),
        url('After the nest', 'https://after.example/'),
      ]),
      folder('Empty folder', []),
    ]),
    other: folder('Other bookmarks', [url('Other & more', 'https://other.example/')]),
    synced: folder('Mobile bookmarks', []),
  },
};

const work = mkdtempSync(join(tmpdir(), 'linvara-export-'));
const home = join(work, 'home');
const emptyHome = join(work, 'empty-home');
mkdirSync(join(home, 'Library/Application Support/Google/Chrome/Default'), { recursive: true });
mkdirSync(emptyHome, { recursive: true });
writeFileSync(join(home, 'Library/Application Support/Google/Chrome/Default/Bookmarks'), JSON.stringify(chromeFile));
const run = (h, argv) => execFileSync(cli, ['--home', h, '--layout', 'macos', ...argv], { encoding: 'utf8' });

// The tree linvara-cli lists, as the export writes it: roots are left out at the top level.
const fromList = (n) => n.kind === 'bookmark'
  ? { title: n.title ?? '', url: n.url ?? '' }
  : { title: n.title ?? '', children: (n.children ?? []).map(fromList) };
const listed = (h, view) => JSON.parse(run(h, ['list', '--view', view, '--json']))
  .filter((n) => n.kind !== 'root').map(fromList);

// What Chromium's HTML parser makes of the file: each DT holds an H3 and its DL, or an A.
async function loadedTree(page, file) {
  await page.goto(pathToFileURL(file).href);
  return page.evaluate(() => {
    const nodes = new Map();
    const top = [];
    for (const dt of document.querySelectorAll('dt')) {
      const h3 = dt.querySelector(':scope > h3');
      const a = dt.querySelector(':scope > a');
      const node = h3 ? { title: h3.textContent, children: [] } : { title: a.textContent, url: a.getAttribute('href') };
      nodes.set(dt, node);
      const list = dt.parentElement.closest('dl');
      if (list) nodes.get(list.closest('dt')).children.push(node);
      else top.push(node);
    }
    return { top, title: document.title, scripts: document.scripts.length };
  });
}

const browser = await launchChromium();
try {
  const page = await browser.newPage();
  const cases = [
    { args: ['export', '--view', 'chrome'], file: 'Linvara.html', view: 'chrome', home },
    { args: ['export', '--chrome-tree'], file: 'Chrome BookMark.html', view: 'chrome', home },
    { args: ['export', '--view', 'all'], file: 'Linvara.html', view: 'all', home },
    { args: ['export'], file: 'Linvara.html', view: 'all', home: emptyHome },
  ];
  for (const [i, c] of cases.entries()) {
    const out = join(work, `out${i}`, 'nested');
    run(c.home, [...c.args, out]);
    const expected = listed(c.home, c.view);
    const loaded = await loadedTree(page, join(out, c.file));
    expectEqual(loaded.top, expected, `${c.args.join(' ')}: the tree Chromium reads`);
    expectEqual([loaded.title, loaded.scripts], ['Bookmarks', 0], `${c.args.join(' ')}: title, no script element`);
  }
  expectTrue(listed(home, 'chrome').length === 3, 'the generated home lists its three roots');
  expectTrue(listed(emptyHome, 'all').length === 0, 'the empty home lists nothing');
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
finish();
