// The page for people who play by keyboard, with a screen reader or on a phone, in Debian's
// chromium driven by puppeteer-core: the board is usable while the engine loads (a first move
// waits for Brindlet's answer), and a move sent before the page's script runs is played; a whole game is played by keyboard alone, the polite live region
// saying each move, its source and the result; axe-core finds no violation in any state; and on
// screens from 320x568 to 1920x1080 the whole board stays on the screen, move after move, with
// nothing overflowing.
//   node access.test.mjs SITE_DIR SCREENSHOT_DIR
import {after, before, test} from "node:test";
import assert from "node:assert/strict";
import {mkdirSync} from "node:fs";
import {join} from "node:path";
import {launchChromium, serveStatic} from "./chromium.mjs";
import {assertAxeClean, listenToLiveRegion, moveList, newTab, problems, replay, saidTexts, spoken, waitForSettled}
  from "./page-helpers.mjs";

const [siteDir, screenshotDir] = process.argv.slice(2);
const SOURCE_WORDS = {book: "from its book", "mate solver": "from its mate solver", search: "from its search"};

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

// A fixed sequence of numbers that picks the person's moves.
function picker(seed) {
  return (count) => {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed % count;
  };
}

// Presses Tab until the element that `selector` names has the focus.
async function tabTo(page, selector) {
  for (let presses = 0; presses < 40; presses += 1) {
    if (await page.evaluate((selector) => document.activeElement?.matches(selector) ?? false, selector)) return;
    await page.keyboard.press("Tab");
  }
  assert.fail(`Tab never reached ${selector}`);
}

async function engineReady(page) {
  await page.waitForFunction(() => document.body.dataset.engine === "ready", {timeout: 120000});
}

// What the live region said last for the person's move and Brindlet's reply (if the game goes
// on), checked against the moves of the list.
async function assertSaid(page, chess, personMove) {
  const moves = await moveList(page);
  const texts = await saidTexts(page);
  const result = await page.$eval("#result", (result) => (result.hidden ? "" : ` ${result.textContent.replace(/, \S+$/, "")}.`));
  const expected = [`You: ${spoken(personMove)}.`];
  const last = moves[moves.length - 1];
  if (last.by === "engine") expected.push(`Brindlet: ${spoken(chess.move(last.san))}, ${SOURCE_WORDS[last.source]}.`);
  expected[expected.length - 1] = expected[expected.length - 1] + result;
  assert.deepEqual(texts.slice(-expected.length), expected);
}

test("while the engine loads, the board is usable: a first move as White waits for Brindlet's answer", async () => {
  const page = await newTab(chromium);
  // The engine's script is held back (by the browser's own request interception) until the
  // first move is made.
  const session = await page.createCDPSession();
  const paused = new Promise((resolve) => session.once("Fetch.requestPaused", (event) => resolve(event.requestId)));
  await session.send("Fetch.enable", {patterns: [{urlPattern: "*/brindlet.js"}]});
  await page.goto(`${origin}/index.html`);
  const engineRequest = await paused;
  await page.waitForFunction(() => document.body.dataset.state === "your-move");
  assert.equal(await page.evaluate(() => document.body.dataset.engine), "loading");
  await assertAxeClean(page, "loading");
  await listenToLiveRegion(page);
  await tabTo(page, "#move-text");
  await page.keyboard.type("e4");
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => document.body.dataset.state === "thinking");
  assert.match(await page.$eval("#status", (status) => status.textContent), /loading/);
  assert.deepEqual(await saidTexts(page), ["You: pawn to e4."]);
  await session.send("Fetch.continueRequest", {requestId: engineRequest});
  assert.equal(await waitForSettled(page, 1, 1), "your-move");
  assert.deepEqual((await moveList(page)).map((move) => move.source), [null, "book"]);
  assert.match((await saidTexts(page))[1], /^Brindlet: .*, from its book\.$/);
  await page.close();
});

test("a move typed and sent before the page's script runs is played once it runs, with no reload", async () => {
  const page = await newTab(chromium);
  // page.js is held back until the move is typed and sent in the box that the page already shows.
  const session = await page.createCDPSession();
  const paused = new Promise((resolve) => session.once("Fetch.requestPaused", (event) => resolve(event.requestId)));
  await session.send("Fetch.enable", {patterns: [{urlPattern: "*/page.js"}]});
  let navigations = 0;
  page.on("framenavigated", (frame) => { if (frame === page.mainFrame()) navigations += 1; });
  const loaded = page.goto(`${origin}/index.html`);
  const scriptRequest = await paused;
  await page.waitForSelector("#move-text");
  await page.focus("#move-text");
  await page.keyboard.type("e4");
  await page.keyboard.press("Enter");
  await session.send("Fetch.continueRequest", {requestId: scriptRequest});
  await loaded;
  assert.equal(await waitForSettled(page, 0, 2), "your-move");
  const moves = await moveList(page);
  assert.equal(moves.length, 2);
  assert.equal(moves[0].san, "e4");
  assert.equal(await page.$eval("#move-text", (box) => box.value), "");
  assert.equal(navigations, 1);
  await page.close();
});

test("a whole game by keyboard alone, the live region saying each move", async () => {
  const page = await newTab(chromium);
  await page.goto(`${origin}/index.html`);
  await engineReady(page);
  await assertAxeClean(page, "start");
  await listenToLiveRegion(page);
  // The position, read out on request.
  await tabTo(page, "#read-position");
  await page.keyboard.press("Enter");
  assert.match((await saidTexts(page)).at(-1), /^White: king e1; queen d1; .* Black: king e8; .* White to move\.$/);

  // An entry that names no legal move is answered, not played.
  await tabTo(page, "#move-text");
  await page.keyboard.type("e5");
  await page.keyboard.press("Enter");
  assert.equal(await page.$eval("#move-hint", (hint) => hint.textContent), "“e5” is not a legal move here.");
  await page.keyboard.down("Control");
  await page.keyboard.press("a");
  await page.keyboard.up("Control");
  await page.keyboard.press("Backspace");
  assert.equal((await moveList(page)).length, 0);

  const pick = picker(2024);
  let state = "your-move";
  for (let turn = 0; state === "your-move"; turn += 1) {
    assert.ok(turn < 200, "the game should have ended");
    const before = await moveList(page);
    const chess = replay(before);
    const legal = chess.moves({verbose: true});
    const move = legal[pick(legal.length)];
    // The person's moves are typed as SAN, typed from and to squares, or made on the board's squares.
    if (turn % 3 !== 2) {
      await tabTo(page, "#move-text");
      await page.keyboard.type(turn % 3 === 0 ? move.san : move.lan);
      await page.keyboard.press("Enter");
    } else {
      await tabTo(page, "#squares button[tabindex='0']");
      for (const square of [move.from, move.to]) {
        const at = await page.evaluate(() => document.activeElement.dataset.square);
        const files = square.charCodeAt(0) - at.charCodeAt(0);
        const ranks = square.charCodeAt(1) - at.charCodeAt(1);
        for (let step = 0; step < Math.abs(files); step += 1) await page.keyboard.press(files > 0 ? "ArrowRight" : "ArrowLeft");
        for (let step = 0; step < Math.abs(ranks); step += 1) await page.keyboard.press(ranks > 0 ? "ArrowUp" : "ArrowDown");
        await page.keyboard.press("Enter");
      }
      if (move.promotion) {
        await page.waitForSelector("#promotion[open]");
        await tabTo(page, `#promotion button[data-piece="${move.promotion}"]`);
        await page.keyboard.press("Enter");
      }
    }
    state = await waitForSettled(page, before.length, 2);
    await assertSaid(page, chess, chess.move(move.san));
    if (turn === 2) await assertAxeClean(page, "mid-game");
  }
  assert.equal(state, "over");
  assert.ok(replay(await moveList(page)).isGameOver());
  await assertAxeClean(page, "game over");
  console.log(`keyboard game over after ${(await moveList(page)).length} plies: ${(await saidTexts(page)).at(-1)}`);
  await page.close();
});

test("an entry that names two legal moves is answered with both", async () => {
  // Brindlet's king moves first; then both of White's knights can go to d2.
  const page = await newTab(chromium);
  await page.goto(`${origin}/index.html?fen=${encodeURIComponent("4k3/8/8/8/8/8/8/1N2KN2 b - - 0 1")}`);
  await waitForSettled(page, 0);
  await tabTo(page, "#move-text");
  await page.keyboard.type("Nd2");
  await page.keyboard.press("Enter");
  assert.equal(await page.$eval("#move-hint", (hint) => hint.textContent), "“Nd2” is ambiguous: it could be Nbd2 or Nfd2.");
  assert.equal((await moveList(page)).length, 1);
  await page.close();
});

test("on phone screens and large ones the whole board stays on the screen and nothing overflows, move after move", async () => {
  // Small phones, an iPhone 13 both ways, a desktop and a large screen.
  const sizes = [[320, 568], [360, 640], [844, 390], [390, 844], [568, 320], [1280, 800], [1920, 1080]];
  const viewport = ([width, height]) => ({width, height, isMobile: true, hasTouch: true});
  const page = await newTab(chromium, viewport(sizes[1]));
  await page.goto(`${origin}/index.html`);
  await engineReady(page);
  // At each size: the board's rectangle inside the viewport once cm-chessboard has fitted it to
  // its box, the window not scrolled and no wider than the screen.
  const check = async (moves) => {
    for (const size of sizes) {
      await page.setViewport(viewport(size));
      await page.waitForFunction(() => {
        const area = document.getElementById("board-area").getBoundingClientRect();
        const svg = document.querySelector("#board svg").getBoundingClientRect();
        return Math.abs(svg.width - area.width) < 1 && Math.abs(svg.height - area.height) < 1;
      });
      const [board, width, height, scrollWidth, scrollX, scrollY, panel] = await page.evaluate(() => [
        document.querySelector("#board svg").getBoundingClientRect().toJSON(), innerWidth, innerHeight,
        document.documentElement.scrollWidth, scrollX, scrollY,
        [document.getElementById("panel").scrollWidth, document.getElementById("panel").clientWidth]]);
      const where = `${size.join("x")} after ${moves} moves`;
      assert.ok(board.left >= 0 && board.top >= 0 && board.right <= width && board.bottom <= height,
        `${where}: the board ${JSON.stringify(board)} is inside the viewport ${width}x${height}`);
      assert.deepEqual([scrollWidth, scrollX, scrollY], [width, 0, 0], where);
      assert.equal(panel[0], panel[1], `${where}: the panel does not overflow`);
    }
  };
  await check(0);
  const pick = picker(7);
  for (let moves = 1; moves <= 20; moves += 1) {
    const before = await moveList(page);
    const legal = replay(before).moves();
    await page.focus("#move-text");
    await page.keyboard.type(legal[pick(legal.length)]);
    await page.keyboard.press("Enter");
    assert.equal(await waitForSettled(page, before.length, 2), "your-move", `the game goes on at move ${moves}`);
    await check(moves);
  }
  // Touch targets of at least 44x44 CSS px and no text under 12 px, at every size.
  for (const size of sizes) {
    await page.setViewport(viewport(size));
    const small = await page.evaluate(() => {
      const found = [];
      for (const control of document.querySelectorAll("#panel button, #panel select, #panel input")) {
        const rect = control.getBoundingClientRect();
        if (rect.width > 0 && (rect.width < 44 || rect.height < 44)) found.push(`${control.id || control.textContent}: ${rect.width}x${rect.height}`);
      }
      const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        const parent = node.parentElement;
        if (node.textContent.trim() === "" || parent.closest("[hidden], dialog:not([open]), script, style")) continue;
        const size = parseFloat(getComputedStyle(parent).fontSize);
        if (size < 12) found.push(`"${node.textContent.trim().slice(0, 20)}": ${size}px`);
      }
      return found;
    });
    assert.deepEqual(small, [], size.join("x"));
  }
  mkdirSync(screenshotDir, {recursive: true});
  for (const size of [[360, 640], [844, 390]]) {
    await page.setViewport(viewport(size));
    await page.waitForFunction((width) => Math.abs(document.querySelector("#board svg").getBoundingClientRect().width - width) < 1,
      {}, await page.$eval("#board-area", (area) => area.getBoundingClientRect().width));
    await page.screenshot({path: join(screenshotDir, `phone-${size.join("x")}-20-moves.png`)});
  }
  await page.close();
});

test("no page had a console error or a failed request", () => {
  assert.deepEqual(problems, []);
});
