// The site (build/site/) as a host serves it: the books it ships in pieces come back as the
// very books of the engine's build; its first load on a slow mobile network stays within 2.2 MB;
// served under a sub-path it plays; after that visit a reload fetches nothing but the service
// worker's update check, and a reload with the server gone still plays.
//   node site.test.mjs SITE_DIR ENGINE_DIR
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {mkdirSync, mkdtempSync, readFileSync, rmSync, symlinkSync} from "node:fs";
import {tmpdir} from "node:os";
import {dirname, join, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {runInNewContext} from "node:vm";
import {firstLoad} from "../bench/first-load.mjs";
import {panelStill} from "./page-helpers.mjs";
import {launchChromium, serveStatic} from "./chromium.mjs";

const [siteDir, engineDir] = process.argv.slice(2).map((path) => resolve(path));
const SUB_PATH = "/play/brindlet/";

let host;  // a folder in which the site lies at SUB_PATH
let server;
let chromium;
let page;  // the page of the visit under the sub-path, which the offline test reloads
const problems = [];

before(async () => {
  host = mkdtempSync(join(tmpdir(), "brindlet-host-"));
  mkdirSync(join(host, dirname(SUB_PATH)), {recursive: true});
  symlinkSync(siteDir, join(host, SUB_PATH.slice(0, -1)));
  server = await serveStatic(host);
  chromium = await launchChromium();
});

after(async () => {
  await chromium?.close();
  server?.stop();
  if (host) rmSync(host, {recursive: true, force: true});
});

// Plays 1.e4 by two clicks once the board takes moves, and returns Brindlet's reply as the
// move list shows it, with its source. A game kept from the visit before (the page goes on
// with it after a reload) is put aside by "New game" first, so that the reply is a new one.
async function playE4(page) {
  await page.waitForFunction(() => document.body.dataset.state === "your-move", {timeout: 60000});
  await panelStill(page);
  if (await page.$("#moves li") !== null) {
    await page.click("#new-game");
    await page.waitForFunction(() => document.body.dataset.state === "your-move" && document.querySelector("#moves li") === null,
      {timeout: 60000});
  }
  await page.click('#board [data-square="e2"]');
  await page.click('#board [data-square="e4"]');
  await page.waitForFunction(() => document.querySelector("#moves li.engine") !== null, {timeout: 60000});
  return page.$eval("#moves li.engine", (item) => ({text: item.textContent, source: item.dataset.source}));
}

// The worker's reading of the books' pieces (book_pieces.js), in Node: every entry of both books
// as the engine's own files hold it, with a piece that fails once fetched again.
test("the books read in pieces are the engine's books, and a failed piece is fetched again", async () => {
  const context = {};
  for (const file of ["packed_book.js", "book_pieces.js"]) {
    const path = fileURLToPath(new URL(`../../frontend/${file}`, import.meta.url));
    runInNewContext(readFileSync(path, "utf8"), context, {filename: path});
  }
  const index = JSON.parse(readFileSync(join(siteDir, "book/index.json"), "utf8"));
  const failOnce = new Set([index.books["mainbook.bin"].pieces[7].file]);
  const waits = [];
  const gunzip = async (bytes) => new Uint8Array(await new Response(
    new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"))).arrayBuffer());
  const pieces = context.brindletBookPieces(index, async (file) => {
    if (failOnce.delete(file)) throw new Error("the network is gone");
    return gunzip(readFileSync(join(siteDir, file)));
  }, (file, error, attempt) => waits.push(`${file} ${error.message} ${attempt}`), () => {}, async () => {});
  for (const name of ["tourbook.bin", "mainbook.bin"]) {
    const handle = pieces.handleOf(`./${name}`);
    const bytes = await pieces.read(handle, 0, pieces.entries(handle));
    assert.ok(Buffer.from(bytes).equals(readFileSync(join(engineDir, name))), name);
  }
  assert.deepEqual(waits, [`${index.books["mainbook.bin"].pieces[7].file} the network is gone 1`]);
});

test("the first load on Slow 4G transfers at most 2.2 MB and gets Brindlet's reply", async () => {
  const figures = await firstLoad(siteDir);
  console.log(`first load on Slow 4G: ${figures.bytes} bytes in ${figures.responses} responses, ` +
    `board takes moves at ${figures.usableMs.toFixed(0)} ms, reply (${figures.replyText}) at ${figures.replyMs.toFixed(0)} ms`);
  assert.deepEqual(figures.failed, []);
  assert.ok(figures.bytes <= 2.2e6, `${figures.bytes} bytes`);
});

test("the site served under a sub-path plays", async () => {
  page = await chromium.browser.newPage();
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => { if (message.type() === "error") problems.push(`console: ${message.text()}`); });
  await page.goto(`${server.origin}${SUB_PATH}index.html`);
  const reply = await playE4(page);
  assert.equal(reply.source, "book");
  assert.deepEqual(server.responses.filter((response) => response.status !== 200 || !response.path.startsWith(SUB_PATH)), []);
  assert.deepEqual(problems, []);
});

test("after one visit, a reload fetches only the update check, and with the server gone it plays", async () => {
  // The service worker has kept the site once it is active (its install waits for that).
  await page.evaluate(async () => { await navigator.serviceWorker.ready; });
  const before = server.responses.length;
  await page.reload();
  assert.equal((await playE4(page)).source, "book");
  const fetched = server.responses.slice(before).map((response) => response.path);
  assert.deepEqual(fetched.filter((path) => path !== `${SUB_PATH}sw.js`), []);

  server.stop();
  server = null;
  await page.reload();
  assert.equal((await playE4(page)).source, "book");
  assert.deepEqual(problems.filter((problem) => !problem.includes("sw.js")), []);
});
