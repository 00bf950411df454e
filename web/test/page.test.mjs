// The page in Debian's chromium, headless, driven by puppeteer-core: it loads without a console
// error, the person's moves by clicks get legal replies (the first from the book), a mate in 2
// opened by its address gets the mate solver's move (the native tool's), a FEN the engine's
// check refuses is shown as an error, and a whole game ends with its result shown. The page is
// served by Python's static server, as scripts/web.sh serves it.
//   node page.test.mjs SITE_DIR SCREENSHOT_DIR TOOL MATE_IN_2_FILE
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {execFileSync} from "node:child_process";
import {mkdirSync, mkdtempSync, readFileSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import {Chess} from "chess.js";
import {launchChromium, serveStatic} from "./chromium.mjs";

const [siteDir, screenshotDir, tool, mateFile] = process.argv.slice(2);

let server;
let chromium;
let origin;
const problems = [];  // console errors, page errors and failed requests, of every page

before(async () => {
  server = await serveStatic(siteDir);
  origin = server.origin;
  chromium = await launchChromium();
});

after(async () => {
  await chromium?.close();
  server?.stop();
});

async function openPage(query = "") {
  const page = await chromium.browser.newPage();
  await page.setViewport({width: 1000, height: 760});
  page.on("console", (message) => { if (message.type() === "error") problems.push(`console: ${message.text()}`); });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("requestfailed", (request) => problems.push(`request failed: ${request.url()}`));
  page.on("response", (response) => { if (response.status() >= 400) problems.push(`${response.status()}: ${response.url()}`); });
  await page.goto(`${origin}/index.html${query}`);
  await waitForSettled(page, 0, 0);
  return page;
}

// Waits until the page is past the state it had with `movesBefore` moves in its list: the
// person's turn after the engine's reply, or the game's end, or an error.
async function waitForSettled(page, movesBefore, movesAdded = 1) {
  await page.waitForFunction((before, added) => {
    const state = document.body.dataset.state;
    const count = document.querySelectorAll("#moves li").length;
    return (state === "your-move" && count >= before + added) || state === "over" || state === "error";
  }, {timeout: 60000}, movesBefore, movesAdded);
  return page.evaluate(() => document.body.dataset.state);
}

async function moveList(page) {
  return page.$$eval("#moves li", (items) => items.map((item) => ({
    san: item.textContent.replace(/ \(.*\)$/, "").replace(/^\d+\.(\.\.)? /, ""),
    by: item.className,
    source: item.dataset.source ?? null,
  })));
}

// The person's move by two clicks; a promotion takes its piece from the dialog.
async function clickMove(page, move) {
  const before = (await moveList(page)).length;
  await page.click(`#board [data-square="${move.from}"]`);
  await page.click(`#board [data-square="${move.to}"]`);
  if (move.promotion) {
    const piece = `#board .promotion-dialog-button[data-piece="${move.color}${move.promotion}"]`;
    await page.waitForSelector(piece, {visible: true});
    await page.click(piece);
  }
  return waitForSettled(page, before, 2);
}

// The game of the move list, replayed by chess.js from the start position: it throws at the
// first move that is not legal.
function replay(moves, fen) {
  const chess = fen ? new Chess(fen) : new Chess();
  for (const move of moves) chess.move(move.san);
  return chess;
}

test("a person's moves by clicks get legal replies, the first from the book", async () => {
  const page = await openPage();
  assert.equal(await page.evaluate(() => document.body.dataset.state), "your-move");
  assert.equal(await clickMove(page, {from: "e2", to: "e4"}), "your-move");
  assert.equal(await clickMove(page, {from: "g1", to: "f3"}), "your-move");
  const moves = await moveList(page);
  assert.deepEqual(moves.map((move) => move.by), ["person", "engine", "person", "engine"]);
  assert.deepEqual(moves.filter((move) => move.by === "engine").map((move) => move.source), ["book", "book"]);
  replay(moves);
  await page.close();
});

test("a mate in 2 opened by its address gets the mate solver's move", async () => {
  // The first puzzle of the mate-in-2 set, with move counters that the engine's check accepts.
  const fen = readFileSync(mateFile, "utf8").split("\n")[0].trim().split(" ").slice(0, 4).join(" ") + " 0 1";
  const expected = execFileSync(tool, ["mate", fen], {encoding: "utf8"}).split("\n")[0];
  const page = await openPage(`?fen=${encodeURIComponent(fen)}`);
  const moves = await moveList(page);
  assert.equal(moves.length, 1);
  assert.equal(moves[0].source, "mate solver");
  const chess = new Chess(fen);
  const played = chess.move(moves[0].san);
  assert.equal(played.lan, expected);
  assert.match(await page.$eval("#moves li .source", (source) => source.textContent), /mate solver/);
  await page.close();
});

test("a pawn's promotion takes the piece chosen in the dialog", async () => {
  const page = await openPage(`?fen=${encodeURIComponent("8/P7/8/8/8/8/7P/k6K b - - 0 1")}`);
  assert.equal(await clickMove(page, {from: "a7", to: "a8", color: "w", promotion: "n"}), "your-move");
  const moves = await moveList(page);
  assert.equal(moves[1].san, "a8=N");
  replay(moves, "8/P7/8/8/8/8/7P/k6K b - - 0 1");
  await page.close();
});

test("a FEN that the engine's check refuses is shown as an error, not played", async () => {
  // chess.js reads the two blanks between fields as one; the engine's check refuses them.
  const page = await openPage(`?fen=${encodeURIComponent("4k3/8/8/8/8/8/8/4K2R w  K - 0 1")}`);
  assert.equal(await page.evaluate(() => document.body.dataset.state), "error");
  assert.match(await page.$eval("#error", (error) => error.textContent), /refuses/);
  assert.equal((await moveList(page)).length, 0);
  await page.close();
});

test("a whole game ends with its result shown", async () => {
  const page = await openPage();
  await page.select("#colour", "b");
  await page.click("#new-game");
  let state = await waitForSettled(page, 0);
  // The person's moves: chess.js's legal moves, picked by a fixed sequence of numbers.
  let seed = 12345;
  for (let ply = 0; state === "your-move"; ply += 1) {
    assert.ok(ply < 400, "the game should have ended");
    const chess = replay(await moveList(page));
    const legal = chess.moves({verbose: true});
    seed = (seed * 1103515245 + 12345) % 2147483648;
    state = await clickMove(page, legal[seed % legal.length]);
  }
  assert.equal(state, "over");
  const chess = replay(await moveList(page));
  assert.ok(chess.isGameOver());
  const result = await page.$eval("#result", (element) => (element.hidden ? "" : element.textContent));
  const expected = chess.isCheckmate() ? /Checkmate/ : chess.isStalemate() ? /Stalemate/ : /Draw/;
  assert.match(result, expected);
  mkdirSync(screenshotDir, {recursive: true});
  await page.screenshot({path: join(screenshotDir, "finished-game.png")});
  console.log(`game over after ${chess.history().length} plies: ${result}; screenshot in ${screenshotDir}`);

  // The log of the game, completed by the engine's quit: every move's source, then "quit".
  const downloads = mkdtempSync(join(tmpdir(), "brindlet-download-"));
  const session = await page.createCDPSession();
  await session.send("Browser.setDownloadBehavior", {behavior: "allow", downloadPath: downloads, eventsEnabled: true});
  const downloaded = new Promise((resolve, reject) => session.on("Browser.downloadProgress", (event) => {
    if (event.state === "completed") resolve();
    if (event.state === "canceled") reject(new Error("the download was canceled"));
  }));
  await page.click("#download-log");
  await downloaded;
  const log = readFileSync(join(downloads, "brindlet.log"), "latin1").split("\r\n");
  rmSync(downloads, {recursive: true, force: true});
  const engineMoves = (await moveList(page)).filter((move) => move.by === "engine");
  assert.match(log[0], /^brindlet __FB_MAINPROC__ \(18\) \[\d\d:\d\d:\d\d\]$/);
  assert.equal(log[1], "brindlet __FB_MAINPROC__ (22) [book loaded]");
  const sources = log.filter((line) => line.startsWith("brindlet GETMOVE")).map((line) => line.replace(/.*\[(.*)\]$/, "$1"));
  const names = {BookMove: "book", SolveMate: "mate solver", BestMove: "search"};
  assert.deepEqual(sources.map((source) => names[source]), engineMoves.map((move) => move.source));
  assert.deepEqual(log.slice(-2), ["brindlet __FB_MAINPROC__ (32) [quit]", ""]);
  await page.waitForFunction(() => document.body.dataset.state === "over" && !document.getElementById("download-log").disabled);
  await page.close();
});

test("no page had a console error or a failed request", () => {
  assert.deepEqual(problems, []);
});
