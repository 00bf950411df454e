// The site (build/site/) as a host serves it: the books it ships packed come back as the very
// books of the engine's build; its first load on a slow mobile network sends at most 500 KB
// before Brindlet's first reply, and the service worker then holds every file it should;
// served under a sub-path it plays; after that visit a reload fetches nothing but the service
// worker's update check, and a reload with the server gone still plays and has what the page
// fetched later.
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

test("the packed books come back as the engine's books", async () => {
  const bookPack = fileURLToPath(new URL("../../frontend/packed_book.js", import.meta.url));
  const unpack = runInNewContext(`${readFileSync(bookPack, "utf8")}; brindletUnpackBook`, {}, {filename: bookPack});
  for (const stem of ["tourbook", "mainbook"]) {
    const gzipped = new Blob([readFileSync(join(siteDir, `${stem}.pack.gz`))]);
    const packed = new Uint8Array(await new Response(gzipped.stream().pipeThrough(new DecompressionStream("gzip"))).arrayBuffer());
    assert.ok(Buffer.from(unpack(packed)).equals(readFileSync(join(engineDir, `${stem}.bin`))), stem);
  }
});

test("the first load on Slow 4G sends at most 500 KB before Brindlet's reply, and keeps the site", async () => {
  const figures = await firstLoad(siteDir);
  console.log(`first load on Slow 4G: ${figures.bytesBeforeReply} bytes in ${figures.beforeReply.length} responses before ` +
    `Brindlet's reply (${figures.replyText}), ${figures.bytes} bytes in ${figures.responses} in all`);
  assert.deepEqual(figures.failed, []);
  assert.ok(figures.bytesBeforeReply <= 500e3, `${figures.bytesBeforeReply} bytes before the reply: ` +
    figures.beforeReply.map((response) => `${response.path} ${response.bytes}`).join(", "));
});

test("the site served under a sub-path plays", async () => {
  page = await chromium.browser.newPage();
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => { if (message.type() === "error") problems.push(`console: ${message.text()}`); });
  await page.goto(`${server.origin}${SUB_PATH}index.html`);
  const reply = await playE4(page);
  assert.equal(reply.source, "book");
  assert.deepEqual(server.responses.filter((response) => response.status >= 400 || !response.path.startsWith(SUB_PATH)), []);
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

  // A file that the page fetches later (as it does the book's pieces) is kept as it comes; a
  // gzipped copy, which is for servers, is not.
  const fetchedLater = (path) => page.evaluate((path) => fetch(path, {cache: "no-store"})
    .then((response) => response.status, () => "failed"), path);
  assert.deepEqual([await fetchedLater("COPYING"), await fetchedLater("page.js.gz")], [200, 200]);

  server.stop();
  server = null;
  await page.reload();
  assert.equal((await playE4(page)).source, "book");
  assert.deepEqual(problems.filter((problem) => !problem.includes("sw.js")), []);
  assert.deepEqual([await fetchedLater("COPYING"), await fetchedLater("page.js.gz")], [200, "failed"]);
});
