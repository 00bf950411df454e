// The site (build/site/) as a host serves it: the books it ships in pieces come back as the
// very books of the engine's build; its first load on a slow mobile network sends at most 500 KB
// before Brindlet's first reply, and the service worker then holds every file it should;
// served under a sub-path it plays; after that visit a reload fetches nothing but the service
// worker's update check, and a reload with the server gone still plays and has what the page
// fetched later.
//   node site.test.mjs SITE_DIR ENGINE_DIR
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {spawnSync} from "node:child_process";
import {mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, symlinkSync} from "node:fs";
import {tmpdir} from "node:os";
import {dirname, join, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {runInNewContext} from "node:vm";
import {firstLoad} from "../bench/first-load.mjs";
import {moveList, panelStill, play, replay} from "./page-helpers.mjs";
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
  // The service worker has kept the site once it is active (its install waits for that) and the
  // books' pieces, which load after the first reply, are all kept.
  await page.evaluate(async () => { await navigator.serviceWorker.ready; });
  await page.waitForFunction(() => document.body.dataset.books === "kept", {timeout: 120000});
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

// The replies of the engine run by Node (which reads the books' files as the native engine does)
// to the person's moves (UCI), each position asked after the ones before it, as the page asks.
function nodeReplies(personMoves) {
  const dir = mkdtempSync(join(tmpdir(), "brindlet-node-"));
  for (const book of ["tourbook.bin", "mainbook.bin"]) symlinkSync(join(engineDir, book), join(dir, book));
  const line = [];
  const commands = [];
  const replies = [];
  for (const move of personMoves) {
    line.push(move);
    commands.push(`position startpos moves ${line.join(" ")}\ngo\n`);
    const run = spawnSync(process.execPath, [join(engineDir, "brindlet.js")], {cwd: dir, encoding: "utf8",
      input: `${commands.join("")}quit\n`});
    const reply = run.stdout.split("\n").filter((text) => text.startsWith("bestmove ")).pop()?.split(" ")[1];
    replies.push(reply);
    line.push(reply);
  }
  rmSync(dir, {recursive: true, force: true});
  return replies;
}

test("a book piece that does not come holds the reply until it comes; once all are kept, the book plays offline", async () => {
  // A host that lacks the tour book's one piece at first.
  const index = JSON.parse(readFileSync(join(siteDir, "book/index.json"), "utf8"));
  const lateFile = index.books["tourbook.bin"].pieces[0].file;
  const lacking = mkdtempSync(join(tmpdir(), "brindlet-lacking-"));
  for (const name of readdirSync(siteDir)) if (name !== "book") symlinkSync(join(siteDir, name), join(lacking, name));
  mkdirSync(join(lacking, "book"));
  for (const name of readdirSync(join(siteDir, "book"))) {
    if (`book/${name}` !== lateFile) symlinkSync(join(siteDir, "book", name), join(lacking, "book", name));
  }
  const host = await serveStatic(lacking);
  const context = await chromium.browser.createBrowserContext();
  try {
    const tab = await context.newPage();
    await tab.goto(`${host.origin}/index.html`);
    await tab.waitForFunction(() => document.body.dataset.state === "your-move", {timeout: 60000});
    await panelStill(tab);
    await tab.click('#board [data-square="e2"]');
    await tab.click('#board [data-square="e4"]');
    await tab.waitForFunction(() => document.body.dataset.books === "waiting", {timeout: 60000});
    assert.match(await tab.$eval("#loading", (line) => line.textContent), /waits for a piece of its opening book/);
    symlinkSync(join(siteDir, lateFile), join(lacking, lateFile));
    await tab.waitForFunction(() => document.querySelector("#moves li.engine") !== null, {timeout: 60000});
    // All pieces fetched and kept by the service worker; then, with no server, four more book replies.
    await tab.waitForFunction(() => document.body.dataset.books === "kept", {timeout: 120000});
    host.stop();
    await tab.reload();
    await tab.waitForFunction(() => document.body.dataset.state === "your-move", {timeout: 60000});
    for (const san of ["Nf3", "Bc4", "d3", "Nc3"]) assert.equal(await play(tab, san), "your-move");
    const moves = await moveList(tab);
    const expected = replay(moves).history({verbose: true}).filter((_, ply) => ply % 2 === 1).map((move) => move.lan);
    assert.deepEqual(expected, nodeReplies(["e2e4", "g1f3", "f1c4", "d2d3", "b1c3"]));
    assert.deepEqual(moves.filter((move) => move.by.split(" ").includes("engine")).map((move) => move.source), Array(5).fill("book"));
  } finally {
    await context.close();
    host.stop();
    rmSync(lacking, {recursive: true, force: true});
  }
});
