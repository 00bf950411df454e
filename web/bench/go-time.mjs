// The time of one "go", from the command sent to its "bestmove" line, for every position of
// the bench suite: the native engine over its pipes against the WebAssembly engine in a Web
// Worker of Debian's chromium (headless, driven by puppeteer-core). Both have the default books
// in their working directory and get the same commands. Before each "go" the position is set
// and "isready" answered, so each time holds the loop's 10 ms pause before reading "go" and
// the move itself. Prints the median and the slowest time of each.
//   node go-time.mjs SITE_DIR NATIVE_ENGINE SUITE [BOOKS_DIR]
// (the native engine's books come from BOOKS_DIR, by default SITE_DIR)
import {spawn} from "node:child_process";
import {copyFileSync, mkdtempSync, readFileSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join, resolve} from "node:path";
import {createInterface} from "node:readline";
import {launchChromium, serveStatic} from "../test/chromium.mjs";

const [siteDir, nativeEngine, suite, booksDir = siteDir] = process.argv.slice(2).map((path) => resolve(path));
const fens = readFileSync(suite, "utf8").split("\n").map((line) => line.trim())
  .filter((line) => line !== "" && !line.startsWith("#"));

async function nativeTimes() {
  const dir = mkdtempSync(join(tmpdir(), "brindlet-bench-"));
  for (const book of ["tourbook.bin", "mainbook.bin"]) copyFileSync(join(booksDir, book), join(dir, book));
  const engine = spawn(nativeEngine, [], {cwd: dir, stdio: ["pipe", "pipe", "inherit"]});
  const lines = createInterface({input: engine.stdout})[Symbol.asyncIterator]();
  const until = async (prefix) => { for (;;) { const {value} = await lines.next(); if (value.startsWith(prefix)) return; } };
  const times = [];
  for (const fen of fens) {
    engine.stdin.write(`position fen ${fen}\nisready\n`);
    await until("readyok");
    const start = performance.now();
    engine.stdin.write("go\n");
    await until("bestmove ");
    times.push(performance.now() - start);
  }
  engine.stdin.end("quit\n");
  rmSync(dir, {recursive: true, force: true});
  return times;
}

async function chromiumTimes() {
  const server = await serveStatic(siteDir);
  const {browser, close} = await launchChromium();
  try {
    const page = await browser.newPage();
    // The page's own engine waits for the person's first move meanwhile.
    await page.goto(`${server.origin}/index.html`);
    return await page.evaluate(async (fens) => {
      const worker = new Worker("brindlet.js");
      const pending = [];
      let waiting = null;
      worker.onmessage = (event) => {
        if (event.data.type !== "output") return;
        pending.push(...event.data.text.split("\n").filter((line) => line !== ""));
        if (waiting) waiting();
      };
      const until = async (prefix) => {
        for (;;) {
          while (pending.length > 0) if (pending.shift().startsWith(prefix)) return;
          await new Promise((resolve) => { waiting = resolve; });
        }
      };
      const send = (text) => worker.postMessage({type: "command", text});
      const times = [];
      for (const fen of fens) {
        send(`position fen ${fen}\nisready\n`);
        await until("readyok");
        const start = performance.now();
        send("go\n");
        await until("bestmove ");
        times.push(performance.now() - start);
      }
      send("quit\n");
      return times;
    }, fens);
  } finally {
    await close();
    server.stop();
  }
}

function summary(times) {
  const sorted = [...times].sort((a, b) => a - b);
  const median = sorted.length % 2 ? sorted[(sorted.length - 1) / 2] : (sorted[sorted.length / 2 - 1] + sorted[sorted.length / 2]) / 2;
  return `median ${median.toFixed(2)} ms, slowest ${sorted[sorted.length - 1].toFixed(2)} ms`;
}

const native = await nativeTimes();
const chromium = await chromiumTimes();
console.log(`one "go" to its "bestmove" over ${fens.length} bench positions (10 ms pause included):`);
console.log(`  native engine:             ${summary(native)}`);
console.log(`  WebAssembly in chromium:   ${summary(chromium)}`);
