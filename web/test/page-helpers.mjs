// What the page's browser tests share: opening the page with every console error, page error
// and failed request noted, waiting for it to settle, reading its move list, replaying the
// game with chess.js, the words the page says for a move, and axe-core's check.
import assert from "node:assert/strict";
import {createRequire} from "node:module";
import {Chess} from "chess.js";

const axeSource = createRequire(import.meta.url).resolve("axe-core/axe.min.js");

export const problems = [];  // console errors, page errors and failed requests, of every page

// A new tab, not yet at the page, whose problems are noted. Each has a browser context of its
// own (as a fresh profile: no game kept from another test) unless `context` is given.
export async function newTab(chromium, viewport = {width: 1000, height: 760}, context = undefined) {
  const own = context === undefined ? await chromium.browser.createBrowserContext() : null;
  const page = await (context ?? own).newPage();
  if (own !== null) page.once("close", () => own.close().catch(() => {}));
  await page.setViewport(viewport);
  page.on("console", (message) => { if (message.type() === "error") problems.push(`console: ${message.text()}`); });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("requestfailed", (request) => problems.push(`request failed: ${request.url()}`));
  page.on("response", (response) => { if (response.status() >= 400) problems.push(`${response.status()}: ${response.url()}`); });
  return page;
}

// Records every text of the polite live region #said, in page.said (read with saidTexts).
export async function listenToLiveRegion(page) {
  await page.evaluate(() => {
    window.saidTexts = [];
    const said = document.getElementById("said");
    new MutationObserver(() => { if (said.textContent !== "") window.saidTexts.push(said.textContent); })
      .observe(said, {childList: true, characterData: true, subtree: true});
  });
}

export function saidTexts(page) {
  return page.evaluate(() => window.saidTexts);
}

// Waits until the page is past the state it had with `movesBefore` moves in its list: the
// person's turn after the engine's reply, or the game's end, or an error.
export async function waitForSettled(page, movesBefore, movesAdded = 1) {
  await page.waitForFunction((before, added) => {
    const state = document.body.dataset.state;
    const count = document.querySelectorAll("#moves li:not(.empty)").length;
    return (state === "your-move" && count >= before + added) || state === "over" || state === "error";
  }, {timeout: 120000}, movesBefore, movesAdded);
  return page.evaluate(() => document.body.dataset.state);
}

// Clicks "New game" and waits for the page to say that the new game has begun: the state of
// the game before it must not be taken for the new one's.
export async function startNewGame(page) {
  // While the engine loads, the lines about its loading move the buttons under the pointer.
  await panelStill(page);
  const before = Number(await page.evaluate(() => document.body.dataset.game));
  await page.click("#new-game");
  await page.waitForFunction((number) => Number(document.body.dataset.game) > number, {timeout: 120000}, before);
}

// Waits until the engine is ready and has caught up: the status is one short line again.
export function panelStill(page) {
  return page.waitForFunction(() => document.body.dataset.engine === "ready" && document.getElementById("loading").hidden &&
    !/loading|catching up/.test(document.getElementById("status").textContent), {timeout: 120000});
}

// Types a move in the move box and waits until the list holds it (unless `refused`).
export async function typeMove(page, san, refused = false) {
  const before = (await moveList(page)).length;
  await page.focus("#move-text");
  await page.keyboard.type(san);
  await page.keyboard.press("Enter");
  if (!refused) await page.waitForFunction((count) => document.querySelectorAll("#moves li:not(.empty)").length > count, {}, before);
}

// Types a move and waits for Brindlet's reply, or the game's end; returns the state.
export async function play(page, san) {
  const before = (await moveList(page)).length;
  await typeMove(page, san);
  return waitForSettled(page, before, 2);
}

export async function moveList(page) {
  return page.$$eval("#moves li:not(.empty)", (items) => items.map((item) => ({
    text: item.textContent,
    san: item.textContent.replace(/ \(.*\)$/, "").replace(/^\d+\.(\.\.)? /, ""),
    by: item.className,
    source: item.dataset.source ?? null,
  })));
}

// The game of the move list, replayed by chess.js from its start position: it throws at the
// first move that is not legal.
export function replay(moves, fen) {
  const chess = fen ? new Chess(fen) : new Chess();
  for (const move of moves) chess.move(move.san);
  return chess;
}

// What the live region should say for a move (a chess.js verbose move).
export function spoken(move) {
  const names = {p: "pawn", n: "knight", b: "bishop", r: "rook", q: "queen", k: "king"};
  let words;
  if (move.isKingsideCastle()) words = "castles king-side";
  else if (move.isQueensideCastle()) words = "castles queen-side";
  else {
    words = `${names[move.piece]} ${move.captured ? "takes" : "to"} ${move.to}`;
    if (move.isEnPassant()) words += " en passant";
    if (move.promotion) words += `, promotes to ${names[move.promotion]}`;
  }
  return words + (move.san.endsWith("#") ? ", checkmate" : move.san.endsWith("+") ? ", check" : "");
}

// axe-core's whole check (every rule that is not experimental) on the page as it is now: it
// asserts that no violation of any impact is found, naming those found.
export async function assertAxeClean(page, state) {
  if (!(await page.evaluate(() => typeof window.axe === "object"))) await page.addScriptTag({path: axeSource});
  const results = await page.evaluate(() => window.axe.run(document, {resultTypes: ["violations"]}));
  const found = results.violations.map((violation) => `${violation.impact} ${violation.id}: ` +
    violation.nodes.map((node) => node.target.join(" ")).slice(0, 3).join(", "));
  console.log(`axe-core, ${state}: ${found.length === 0 ? "no violation" : found.join("; ")}`);
  assert.deepEqual(found, [], `axe-core violations in the state "${state}"`);
}

// Lets the page's downloads land in `dir` (in the tab's own browser context); resolves to a
// promise of the next download's end, which rejects if it is canceled.
export async function allowDownloads(page, dir) {
  const session = await page.createCDPSession();
  await session.send("Browser.setDownloadBehavior", {behavior: "allow", downloadPath: dir, eventsEnabled: true,
    browserContextId: page.browserContext().id});
  return () => new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error("no download ended within 60 s")), 60000);
    session.on("Browser.downloadProgress", (event) => {
      if (event.state === "completed") resolve();
      if (event.state === "canceled") reject(new Error("the download was canceled"));
      if (event.state !== "inProgress") clearTimeout(timer);
    });
  });
}
