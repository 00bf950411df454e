// A whole game as people play the computer on the web, in Debian's chromium: kept through
// reloads (the engine run brought back to where it stood, so the moves and sources are those of
// an uninterrupted game), played on when storage is corrupt or refused, taken back, reviewed,
// flipped, resigned, given out as PGN (read by pgn-extract, replayed by chess.js) and continued
// from a PGN or FEN; earlier games listed; axe-core clean in each new state, dark mode too.
//   node game.test.mjs SITE_DIR SCREENSHOT_DIR PGN_EXTRACT
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {spawnSync} from "node:child_process";
import {mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import {Chess} from "chess.js";
import {launchChromium, serveStatic} from "./chromium.mjs";
import {allowDownloads, assertAxeClean, moveList, newTab, panelStill, play, problems, replay, typeMove, waitForSettled}
  from "./page-helpers.mjs";

const [siteDir, screenshotDir, pgnExtract] = process.argv.slice(2);

let server;
let chromium;

before(async () => {
  server = await serveStatic(siteDir);
  chromium = await launchChromium();
});

after(async () => {
  await chromium?.close();
  server?.stop();
});

// The page, once the panel's lines about the engine's loading are gone, so that no click lands
// where a button was before they went.
async function openPage(query = "") {
  const page = await newTab(chromium);
  await page.goto(`${server.origin}/index.html${query}`);
  await waitForSettled(page, 0, 0);
  await panelStill(page);
  return page;
}

const body = (page, name) => page.evaluate((name) => document.body.dataset[name], name);
const text = (page, selector) => page.$eval(selector, (element) => element.textContent);
const said = (page) => text(page, "#said");

async function pressOutside(page, key) {
  await page.evaluate(() => document.activeElement?.blur());
  await page.keyboard.press(key);
}

// The person's moves of a game, picked from chess.js's legal moves by a fixed sequence of numbers.
async function playPicked(page, turns, reloadWhileThinking = -1) {
  let seed = 4242;
  for (let turn = 0; turn < turns; turn += 1) {
    const before = await moveList(page);
    const legal = replay(before).moves();
    seed = (seed * 1103515245 + 12345) % 2147483648;
    await typeMove(page, legal[seed % legal.length]);
    if (turn === reloadWhileThinking) await page.reload();
    assert.equal(await waitForSettled(page, before.length, 2), "your-move");
  }
  return moveList(page);
}

// 1.e4, a reply from the book, 2.Ba6?, which leaves it, both taken back (the engine run, and
// so its closed book, is kept), and a game played from the start: Brindlet's answers show
// whether its run still knows that its book has closed.
async function gameAfterTakeback(page, reloads) {
  await play(page, "e4");
  await play(page, "Ba6");
  const left = (await moveList(page))[3];
  await page.click("#take-back");
  await page.click("#take-back");
  assert.deepEqual(await moveList(page), []);
  if (reloads) {
    await page.reload();
    await waitForSettled(page, 0, 0);
  }
  return {left, moves: await playPicked(page, 6, reloads ? 1 : -1)};
}

test("a game interrupted by two reloads has the moves and sources of the same game played straight through", async () => {
  const straight = await openPage();
  const expected = await gameAfterTakeback(straight, false);
  await straight.close();
  assert.equal(expected.left.source, "search", "2.Ba6 is not in the book");
  const interrupted = await openPage();
  assert.deepEqual(await gameAfterTakeback(interrupted, true), expected);
  assert.equal(await interrupted.$eval("#note", (note) => note.hidden), true, "the new run answered as the old one");
  await interrupted.close();
});

test("a corrupt store is set aside and said, a refused store is said, and both play", async () => {
  const page = await openPage();
  await page.evaluate(() => localStorage.setItem("brindlet.game.v1", "{not a game"));
  await page.reload();
  await waitForSettled(page, 0, 0);
  assert.match(await text(page, "#note"), /could not be read .*set aside/);
  assert.equal(await page.evaluate(() => localStorage.getItem("brindlet.game.v1.unread")), "{not a game");
  assert.equal(await play(page, "e4"), "your-move");
  assert.equal(await page.evaluate(() => JSON.parse(localStorage.getItem("brindlet.game.v1")).game.moves.length), 2);
  await page.close();

  const refused = await newTab(chromium);
  await refused.evaluateOnNewDocument(() => Object.defineProperty(window, "localStorage",
    {get() { throw new DOMException("refused", "SecurityError"); }}));
  await refused.goto(`${server.origin}/index.html`);
  await waitForSettled(refused, 0, 0);
  assert.match(await text(refused, "#note"), /not kept on this device/);
  assert.equal(await play(refused, "e4"), "your-move");
  assert.deepEqual((await moveList(refused)).map((move) => move.source), [null, "book"]);
  await refused.close();
});

test("a second tab plays a game of its own and leaves the first tab's game as it is", async () => {
  const first = await openPage();
  await play(first, "e4");
  const second = await newTab(chromium, undefined, first.browserContext());
  await second.goto(`${server.origin}/index.html`);
  await waitForSettled(second, 0, 0);
  assert.match(await text(second, "#note"), /open in another tab/);
  assert.deepEqual(await moveList(second), []);
  await play(second, "d4");
  await second.close();
  await first.reload();
  await waitForSettled(first, 2, 0);
  assert.equal((await moveList(first))[0].san, "e4");
  await first.close();
});

test("take back after Brindlet's answer, before it (the answer dropped), after a mate and a resignation", async () => {
  const page = await openPage();
  await play(page, "e4");
  await page.click("#take-back");
  assert.deepEqual(await moveList(page), []);
  assert.match(await said(page), /^Taken back: 1\. e4, 1\.\.\. \S+\.$/);
  await page.close();

  // The engine's script is held back, so that Brindlet cannot have answered 1.e4.
  const held = await newTab(chromium);
  const session = await held.createCDPSession();
  const paused = new Promise((resolve) => session.once("Fetch.requestPaused", (event) => resolve(event.requestId)));
  await session.send("Fetch.enable", {patterns: [{urlPattern: "*/brindlet.js"}]});
  await held.goto(`${server.origin}/index.html`);
  const request = await paused;
  await held.waitForFunction(() => document.body.dataset.state === "your-move");
  await typeMove(held, "e4");
  assert.equal(await body(held, "state"), "thinking");
  await held.click("#take-back");
  assert.equal(await body(held, "state"), "your-move");
  assert.equal(await said(held), "Taken back: 1. e4.");
  await session.send("Fetch.continueRequest", {requestId: request});
  assert.equal(await play(held, "d4"), "your-move");
  const moves = await moveList(held);
  assert.equal(moves.length, 2);
  assert.equal(moves[0].san, "d4");
  replay(moves);
  await held.close();

  const mate = await openPage(`?pgn=${encodeURIComponent("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1")}`);
  assert.equal(await play(mate, "Ra8#"), "over");
  assert.match(await text(mate, "#result"), /^Checkmate: White wins/);
  await mate.click("#take-back");
  assert.equal(await body(mate, "state"), "your-move");
  assert.equal(await mate.$eval("#result", (result) => result.hidden), true);
  await mate.click("#resign");
  assert.equal(await body(mate, "state"), "over");
  assert.match(await text(mate, "#result"), /^White resigns: Black wins, 0-1/);
  await mate.click("#take-back");
  assert.equal(await body(mate, "state"), "your-move");
  assert.equal(await said(mate), "Resignation taken back.");
  await mate.close();
});

test("review by keys and the move list, flip remembered, PGN out read by pgn-extract and chess.js", async () => {
  const page = await openPage();
  await play(page, "e4");
  await play(page, "Nf3");
  await pressOutside(page, "Home");
  assert.equal(await body(page, "shown"), "0");
  assert.equal(await said(page), "Showing the start position.");
  assert.equal(await page.$eval('#squares [data-square="e4"]', (square) => square.getAttribute("aria-label")), "e4, empty");
  await typeMove(page, "d4", true);
  assert.match(await text(page, "#move-hint"), /earlier position is shown/);
  assert.equal(await text(page, "#status"), "Your move in the game; the board shows an earlier position.");
  assert.equal((await moveList(page)).length, 4);
  await pressOutside(page, "ArrowRight");
  assert.equal(await said(page), "Showing the position after 1. e4.");
  await assertAxeClean(page, "reviewing");
  await pressOutside(page, "End");
  assert.equal(await body(page, "shown"), "game");
  await page.click('#moves button[data-ply="3"]');
  assert.equal(await said(page), "Showing the position after 2. Nf3.");
  await page.click("#back-to-game");
  assert.equal(await body(page, "shown"), "game");

  await pressOutside(page, "f");
  assert.match(await page.$eval("#squares", (squares) => squares.getAttribute("aria-label")), /Black at the bottom/);
  await page.reload();
  await waitForSettled(page, 4, 0);
  await panelStill(page);
  assert.equal(await body(page, "flipped"), "true");
  assert.match(await page.$eval("#squares", (squares) => squares.getAttribute("aria-label")), /Black at the bottom/);
  // On the flipped board the arrow keys go as the squares lie on the screen: up is towards rank 1.
  await page.focus('#squares [data-square="e2"]');
  for (const key of ["ArrowUp", "ArrowLeft"]) await page.keyboard.press(key);
  assert.equal(await page.evaluate(() => document.activeElement.dataset.square), "f1");

  const downloads = mkdtempSync(join(tmpdir(), "brindlet-pgn-"));
  const downloaded = (await allowDownloads(page, downloads))();
  await page.click("#download-pgn");
  await downloaded;
  const [name] = readdirSync(downloads);
  assert.match(name, /^brindlet-\d{4}-\d\d-\d\d-\d{4}\.pgn$/);
  const pgn = readFileSync(join(downloads, name), "utf8");
  const checked = spawnSync(pgnExtract, ["-r", join(downloads, name)], {encoding: "utf8"});
  rmSync(downloads, {recursive: true, force: true});
  assert.match(checked.stderr, /^1 game matched out of 1\.$/m, checked.stderr);
  assert.doesNotMatch(checked.stderr, /fail|error|unknown|illegal/i);
  for (const tag of ["Event", "Site", "Date", "Round", "Result", "Termination"]) assert.match(pgn, new RegExp(`^\\[${tag} "`, "m"));
  assert.match(pgn, /^\[White "Player"\]\n\[Black "Brindlet 1\.0\.0"\]$/m);
  assert.match(pgn, /1\. e4 e5 \{book\} 2\. Nf3|1\. e4 \S+ \{book\}/);
  const read = new Chess();
  read.loadPgn(pgn);
  assert.equal(read.fen(), replay(await moveList(page)).fen());
  await page.close();
});

test("continue from a PGN with comments and variations; an illegal move is refused with its number", async () => {
  const page = await openPage();
  await page.click("#continue-from");
  await page.waitForSelector("#import[open]");
  await assertAxeClean(page, "Continue from… dialog open");
  await page.type("#import-text", "1. e4 e5 2. Nf3 Nc6 3. Ke3");
  await page.click("#import button[type=submit]");
  assert.equal(await text(page, "#import-error"), "Move 3. Ke3 is not a legal move in the position before it.");
  // A megabyte pasted: a knights' dance far past the longest game taken, refused with the reason.
  await page.$eval("#import-text", (area) => { area.value = "1. Nf3 Nf6 2. Ng1 Ng8 ".repeat(45000); });
  await page.click("#import button[type=submit]");
  assert.equal(await text(page, "#import-error"), "The game is longer than 3000 moves of either side.");
  const pgn = '[Event "?"]\n[White "A"]\n\n1. e4 {open} (1. d4 d5 (1... Nf6)) e5 $1 2. Nf3!? Nc6 ; a line\n3. Bb5 a6 *';
  await page.$eval("#import-text", (area, pgn) => { area.value = pgn; }, pgn);
  const game = Number(await body(page, "game"));
  await page.click("#import button[type=submit]");
  await page.waitForFunction((number) => Number(document.body.dataset.game) > number, {}, game);
  assert.equal(await page.$eval("#import", (dialog) => dialog.open), false);
  assert.equal(await page.$eval('#squares [data-square="b5"]', (square) => square.getAttribute("aria-label")), "b5, white bishop");
  assert.equal(await play(page, "Ba4"), "your-move");
  await page.close();

  const refused = await openPage(`?pgn=${encodeURIComponent("1. e4 e5 2. Ke3")}`);
  assert.equal(await body(refused, "state"), "error");
  assert.match(await text(refused, "#error"), /^Move 2\. Ke3 is not a legal move/);
  await refused.close();
});

test("earlier games are listed after two games; dark mode and the new controls on phone screens", async () => {
  const page = await openPage();
  for (const first of ["e4", "d4"]) {
    await play(page, first);
    const game = Number(await body(page, "game"));
    await page.click("#new-game");
    await page.waitForFunction((number) => Number(document.body.dataset.game) > number, {}, game);
    await panelStill(page);
  }
  await page.click("#earlier-games");
  await page.waitForSelector("#games[open]");
  assert.equal(await page.$$eval("#games-list li", (items) => items.length), 2);
  assert.match(await text(page, "#games-list li:first-child p"), /You \(White\) against Brindlet, \*, 2 moves from the start/);
  await assertAxeClean(page, "earlier games open");
  await page.click("#games-list li:last-child button");
  assert.match(await text(page, "#review-text"), /^An earlier game: showing the position after 1\.\.\.\s/);
  assert.equal((await moveList(page))[0].san, "e4");

  mkdirSync(screenshotDir, {recursive: true});
  await page.emulateMediaFeatures([{name: "prefers-color-scheme", value: "dark"}]);
  await assertAxeClean(page, "dark mode, reviewing an earlier game");
  for (const [width, height] of [[320, 568], [844, 390]]) {
    await page.setViewport({width, height});  // not isMobile, whose change would reload the page
    await page.waitForFunction(() => Math.abs(document.querySelector("#board svg").getBoundingClientRect().width -
      document.getElementById("board-area").getBoundingClientRect().width) < 1);
    const [board, scroll] = await page.evaluate(() => [document.querySelector("#board svg").getBoundingClientRect().toJSON(),
      [document.documentElement.scrollWidth - innerWidth, scrollX, scrollY]]);
    assert.ok(board.left >= 0 && board.top >= 0 && board.right <= width && board.bottom <= height, `${width}x${height}`);
    assert.deepEqual(scroll, [0, 0, 0]);
    assert.equal(await page.$eval("#review-bar", (bar) => bar.hidden), false, "still reviewing");
    await page.screenshot({path: join(screenshotDir, `dark-review-${width}x${height}.png`)});
  }

  // A deleted game stays deleted, what other pages keep on the device stays, and so does the sound's setting.
  await page.setViewport({width: 1000, height: 760});
  await page.evaluate(() => localStorage.setItem("another-site-key", "kept"));
  await page.click("#sound");
  await page.click("#earlier-games");
  await page.waitForSelector("#games[open]");
  await page.click('#games-list li:first-child button[aria-label="Delete game 1"]');
  assert.equal(await said(page), "Game deleted.");
  await page.reload();
  await panelStill(page);
  await page.click("#earlier-games");
  await page.waitForSelector("#games[open]");
  assert.equal(await page.$$eval("#games-list li", (items) => items.length), 1);
  assert.equal(await page.evaluate(() => localStorage.getItem("another-site-key")), "kept");
  assert.equal(await page.$eval("#sound", (button) => button.getAttribute("aria-pressed")), "false");
  await page.close();
});

test("no page had a console error or a failed request", () => {
  assert.deepEqual(problems, []);
});
