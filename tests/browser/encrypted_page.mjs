// The page of an encrypted Safari bookmark, written by linvara-cli, opened in Chromium: the right
// password shows the address as a link, a wrong one only the warning. Neither the password nor the
// address is left in the page, the preferences or the working copy, in UTF-8 or UTF-16.
// usage: node encrypted_page.mjs --file SAFARI_BOOKMARKS_PLIST
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdirSync, mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { expectEqual, expectTrue, finish, launchChromium } from './chromium.mjs';

const cli = process.env.LINVARA_CLI;
if (!cli) throw new Error('LINVARA_CLI must name linvara-cli');
const [flag, sourceFile] = process.argv.slice(2);
if (flag !== '--file' || !sourceFile) throw new Error('usage: encrypted_page.mjs --file BOOKMARKS_PLIST');

const home = join(mkdtempSync(join(tmpdir(), 'linvara-page-')), 'home');
mkdirSync(join(home, 'Library/Safari'), { recursive: true });
copyFileSync(sourceFile, join(home, 'Library/Safari/Bookmarks.plist'));
const inHome = ['--home', home, '--layout', 'macos'];
const run = (argv, input) => spawnSync(cli, [...inHome, ...argv], { input, encoding: 'utf8' });
const paths = JSON.parse(execFileSync(cli, [...inHome, 'paths', '--json'], { encoding: 'utf8' }));

// A web bookmark whose address no other bookmark shares.
const listed = JSON.parse(execFileSync(cli, [...inHome, 'list', '--view', 'safari', '--flat', '--json'],
                                       { encoding: 'utf8' }));
const web = listed.filter((n) => /^https?:\/\//.test(n.url ?? ''));
const chosen = web.find((n) => web.filter((m) => m.url === n.url).length === 1);
if (!chosen) throw new Error('the file holds no web bookmark with an address of its own');
const password = 'Tr0ub4dor&3-linvara';

const encrypted = run(['encrypt', '--view', 'safari', chosen.uuid], `${password}\n`);
expectEqual(encrypted.status, 0, `encrypt exits 0 (${encrypted.stderr.trim()})`);
const pageFile = join(paths.dataFolder, chosen.uuid, 'encrypt.html');
expectTrue(existsSync(pageFile), 'the page was written');

// Every form the secrets could take on disk.
const forms = (text) => {
  const le = Buffer.from(text, 'utf16le');
  const be = Buffer.from(le).swap16();
  return [Buffer.from(text, 'utf8'), le, be];
};
for (const file of [pageFile, paths.preferences, paths.safariWorkingCopy]) {
  const bytes = readFileSync(file);
  for (const [what, secret] of [['password', password], ['address', chosen.url]])
    forms(secret).forEach((form, i) =>
      expectTrue(!bytes.includes(form), `${file} holds the ${what} (form ${i})`));
}

const browser = await launchChromium();
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(pageFile).href);
  const decrypt = async (typed) => {
    await page.fill('#passcode', typed);
    await page.click('#decryptButton');
  };

  await decrypt(`${password}x`);
  await page.waitForSelector('#decryptWarning', { state: 'visible' });
  const dom = await page.evaluate(() => document.documentElement.outerHTML + document.body.innerText +
      [...document.querySelectorAll('input, textarea')].map((e) => e.value).join('\n'));
  expectTrue(!dom.includes(chosen.url), 'a wrong password reveals the address');
  expectEqual(await page.locator('#decryptedContent').innerText(), '', 'a wrong password shows no address');

  await decrypt(password);
  const link = page.locator('#decryptedContent a');
  await link.waitFor();
  expectEqual(await link.getAttribute('href'), chosen.url, 'the link leads to the address');
  expectEqual(await link.innerText(), chosen.url, 'the link shows the address');
  expectTrue(await page.locator('#decryptWarning').isHidden(), 'the right password hides the warning');
} finally {
  await browser.close();
}

// The command line refuses a wrong password and writes nothing; the right one restores the bookmark.
const before = readFileSync(paths.safariWorkingCopy);
const refused = run(['decrypt', '--view', 'safari', chosen.uuid, '--working-copy'], 'nope\n');
expectEqual(refused.status, 1, 'decrypt with a wrong password exits 1');
expectTrue(readFileSync(paths.safariWorkingCopy).equals(before), 'a wrong password changes the working copy');
const restored = run(['decrypt', '--view', 'safari', chosen.uuid, '--working-copy'], `${password}\n`);
expectEqual(restored.status, 0, `decrypt exits 0 (${restored.stderr.trim()})`);
expectTrue(readFileSync(paths.safariWorkingCopy).includes(Buffer.from(chosen.url)), 'the address is back');
expectTrue(!existsSync(join(paths.dataFolder, chosen.uuid)), 'the page folder is gone');
finish();
