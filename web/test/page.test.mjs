// The page in Debian's chromium, headless, driven by puppeteer-core: it loads without a console
// error, the person's moves by clicks get legal replies (the first from the book), a mate in 2
// opened by its address gets the mate solver's move (the native tool's), a FEN the engine's
// check refuses is shown as an error, and a whole game ends with its result shown. Addresses
// that name a position no game can reach are refused with their reason, an EPD line is played
// as its FEN, a game that Black begins is numbered "1...", and a new game after an address's
// game is a start position with the chosen colour and a fresh engine run that answers from its
// book. The page is served by Python's static server, as scripts/web.sh serves it.
//   node page.test.mjs SITE_DIR SCREENSHOT_DIR TOOL MATE_IN_2_FILE
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {execFileSync} from "node:child_process";
import {mkdirSync, mkdtempSync, readFileSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import {Chess} from "chess.js";
import {launchChromium, serveStatic} from "./chromium.mjs";
import {allowDownloads, assertAxeClean, moveList, newTab, problems, replay, startNewGame, waitForSettled} from "./page-helpers.mjs";

const [siteDir, screenshotDir, tool, mateFile] = process.argv.slice(2);

let server;
let chromium;
let origin;

before(async () => {
  server = await serveStatic(siteDir);
  origin = server.origin;
  chromium = await launchChromium();
});

after(async () => {
  await chromium?.close();
  server?.stop();
});

async function openPage(query = "", viewport = undefined) {
  const page = await newTab(chromium, viewport);
  await page.goto(`${origin}/index.html${query}`);
  await waitForSettled(page, 0, 0);
  return page;
}

// The person's move by two clicks; a promotion takes its piece from the page's dialog.
async function clickMove(page, move) {
  const before = (await moveList(page)).length;
  await page.click(`#board [data-square="${move.from}"]`);
  await page.click(`#board [data-square="${move.to}"]`);
  if (move.promotion) {
    const piece = `#promotion button[data-piece="${move.promotion}"]`;
    await page.waitForSelector(piece, {visible: true});
    await page.click(piece);
  }
  return waitForSettled(page, before, 2);
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

test("a mate in 2 opened by its address gets the mate solver's move; the next game, the book's", async () => {
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

  // That game's engine left its book at its first move. "New game" returns to the start
  // position with the chosen colour (White, not the side the address gave the person) and a
  // fresh engine run, which answers 1.e4 from its book again.
  await startNewGame(page);
  await waitForSettled(page, 0, 0);
  assert.equal(await page.evaluate(() => location.search), "");
  assert.match(await page.$eval("#squares", (squares) => squares.getAttribute("aria-label")), /White at the bottom/);
  assert.equal(await page.$eval('#squares [data-square="e2"]', (square) => square.getAttribute("aria-label")), "e2, white pawn");
  assert.equal(await clickMove(page, {from: "e2", to: "e4"}), "your-move");
  assert.deepEqual((await moveList(page)).map((move) => move.source), [null, "book"]);
  await page.close();
});

test("a game that Black begins is numbered 1...; a promotion takes the piece chosen in the dialog", async () => {
  const fen = "8/P7/8/8/8/8/7P/k6K b - - 0 1";
  const page = await openPage(`?fen=${encodeURIComponent(fen)}`);
  // White's first cell is empty, Brindlet's move is in Black's column.
  assert.deepEqual(await page.$$eval("#moves li", (items) => items.map((item) => item.className)), ["empty", "engine"]);
  assert.match((await moveList(page))[0].text, /^1\.\.\. K/);
  await page.click('#board [data-square="a7"]');
  await page.click('#board [data-square="a8"]');
  await page.waitForSelector("#promotion[open] button[data-piece='n']", {visible: true});
  await assertAxeClean(page, "promotion dialog open");
  await page.click("#promotion button[data-piece='n']");
  assert.equal(await waitForSettled(page, 1, 2), "your-move");
  const moves = await moveList(page);
  assert.equal(moves[1].san, "a8=N");
  assert.match(moves[1].text, /^2\. a8=N/);
  replay(moves, fen);
  await page.close();
});

test("a FEN that the engine's check refuses as written is sent as chess.js read it, and played", async () => {
  // The two blanks between fields fail the engine's check; chess.js reads them as one, and the
  // engine is sent its six fields joined by single blanks.
  const page = await openPage(`?fen=${encodeURIComponent("4k3/8/8/8/8/8/8/4K2R b  K - 0 1")}`);
  assert.equal(await page.evaluate(() => document.body.dataset.state), "your-move");
  assert.equal((await moveList(page)).length, 1);
  await page.close();
});

test("addresses of positions no game can reach are refused with the reason; an EPD line is played", async () => {
  const refused = [
    // Black, not to move, is in check.
    ["4k3/4R3/8/8/8/8/8/4K3 w - - 0 1", /Black, who is not to move, is in check/],
    // White may castle king-side, but h1 is empty.
    ["r3k3/8/8/8/8/8/8/4K3 b K - 0 1", /castle king-side \(K\), but no rook of its stands on h1/],
    // A line break between fields would reach the engine's command stream.
    ["rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\r\n0 1", /control character/],
    // A full-move number past what the engine keeps (2^32).
    ["rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 4294967296", /full-move number is past 2147483647/],
    // 60,000 characters (a full-move number that chess.js reads as Infinity; the static server
    // takes no longer address), on a small phone:
    // refused unread, quoted in part, wrapped in the page.
    [`rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1${"0".repeat(60000)}`, /longer than 256 characters/],
  ];
  for (const [fen, reason] of refused) {
    const page = await openPage(`?fen=${encodeURIComponent(fen)}`, {width: 320, height: 568});
    assert.equal(await page.evaluate(() => document.body.dataset.state), "error", fen.slice(0, 60));
    const error = await page.$eval("#error", (error) => error.textContent);
    assert.match(error, reason);
    assert.match(error, /refused, not repaired/);
    assert.ok(error.length < 400, "the error quotes at most 100 characters of the address");
    assert.equal((await moveList(page)).length, 0);
    // Neither the window nor the panel that holds the error is wider than the screen.
    const panel = await page.$eval("#panel", (panel) => [panel.scrollWidth, panel.clientWidth]);
    assert.equal(panel[0], panel[1], "the panel does not overflow");
    assert.deepEqual(await page.evaluate(() => [document.documentElement.scrollWidth, scrollY]), [320, 0]);
    if (fen.startsWith("4k3/4R3")) await assertAxeClean(page, "a refused address");
    await page.close();
  }
  // An EPD line (four fields) and a FEN with a no-break space between fields are played as the
  // six-field FEN chess.js reads: the engine, sent that, answers from its book.
  for (const fen of ["rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w\u00a0KQkq - 0 1"]) {
    const page = await openPage(`?fen=${encodeURIComponent(fen)}`);
    assert.deepEqual((await moveList(page)).map((move) => move.source), ["book"], JSON.stringify(fen));
    await page.close();
  }
});

test("a whole game ends with its result shown", async () => {
  const page = await openPage();
  await page.select("#colour", "b");
  await startNewGame(page);
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
  const downloaded = (await allowDownloads(page, downloads))();
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
