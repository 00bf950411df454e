// The page's first load as a person on a slow mobile network has it: Debian's chromium with a
// fresh profile (an empty cache) and the network emulated as Lighthouse's "Slow 4G" profile
// (1.6 Mbit/s down, 750 kbit/s up, 150 ms of latency), the site served by Python's static
// server. It waits for the board to take moves, plays 1.e4 by two clicks as soon as it does,
// waits for Brindlet's reply, and then (when the site has a service worker) until the service
// worker holds every file it should: those it installs (the list in sw.js) and the book's
// pieces under book/, which the page fetches later. Its figures: the responses the server sent
// for what the page and its worker had loaded when the reply came (path and bytes, headers
// included), all the bytes sent, and the times from the page's opening at which the board took
// moves, the reply came and the site was kept for offline use.
//   node first-load.mjs SITE_DIR
import {existsSync, readFileSync, readdirSync, statSync} from "node:fs";
import {join, resolve} from "node:path";
import {pathToFileURL} from "node:url";
import {launchChromium, serveStatic} from "../test/chromium.mjs";

export const SLOW_4G = {download: 1.6e6 / 8, upload: 750e3 / 8, latency: 150};

// The files that the service worker should hold once the page has loaded all it loads.
function offlineFiles(siteDir) {
  const worker = readFileSync(join(siteDir, "sw.js"), "utf8");
  const installed = JSON.parse(/const FILES = (\[[\s\S]*?\]);/.exec(worker)[1]);
  const copies = new RegExp(/const COPIES = \/(.*)\/;/.exec(worker)?.[1] ?? "^$");  // none in older sites
  const book = existsSync(join(siteDir, "book")) ? readdirSync(join(siteDir, "book"), {recursive: true})
    .map((name) => `book/${name}`).filter((path) => !copies.test(path) && statSync(join(siteDir, path)).isFile()) : [];
  return [...installed, ...book];
}

export async function firstLoad(siteDir) {
  const server = await serveStatic(siteDir);
  const chromium = await launchChromium();
  try {
    // The page's throttling does not reach its service worker, which fetches for the page and
    // its engine's worker once it controls them, nor every release's dedicated workers: each is
    // throttled alike.
    chromium.browser.on("targetcreated", async (target) => {
      if (!["service_worker", "worker"].includes(target.type())) return;
      const session = await target.createCDPSession().catch(() => null);
      await session?.send("Network.enable").catch(() => {});
      await session?.send("Network.emulateNetworkConditions", {offline: false, latency: SLOW_4G.latency,
        downloadThroughput: SLOW_4G.download, uploadThroughput: SLOW_4G.upload}).catch(() => {});
    });
    const page = await chromium.browser.newPage();
    await page.setViewport({width: 1280, height: 800});
    await page.emulateNetworkConditions(SLOW_4G);
    // What the page and its worker loaded from the server, in the order they finished.
    const loaded = [];
    page.on("requestfinished", (request) => {
      if (!request.response()?.fromCache() && !request.response()?.fromServiceWorker()) loaded.push(new URL(request.url()));
    });
    await page.goto(`${server.origin}/index.html`, {waitUntil: "domcontentloaded"});
    const usable = await page.waitForFunction(
      () => document.body.dataset.state === "your-move" && performance.now(), {polling: "mutation", timeout: 120000});
    const usableMs = await usable.jsonValue();
    await page.click('#board [data-square="e2"]');
    await page.click('#board [data-square="e4"]');
    const reply = await page.waitForFunction(
      () => document.querySelector("#moves li.engine") !== null && performance.now(), {polling: "mutation", timeout: 120000});
    const replyMs = await reply.jsonValue();
    // (A file asked for twice at once, the icon by the page and its manifest, is sent once.)
    const paths = new Set(loaded.map((url) => url.pathname + url.search));
    const beforeReply = await Promise.all([...paths].map((path) => server.sent(path)));
    const replyText = await page.$eval("#moves li.engine", (item) => item.textContent);
    let offlineMs = null;
    if (existsSync(join(siteDir, "sw.js"))) {
      // The cache fills as responses come in: it is looked at every 100 ms.
      const kept = await page.waitForFunction(async (files) => {
        const registration = await navigator.serviceWorker.getRegistration();
        const name = (await caches.keys()).find((key) => key.startsWith("brindlet-"));
        if (!registration?.active || name === undefined) return false;
        const cache = await caches.open(name);
        const held = new Set((await cache.keys()).map((request) => new URL(request.url).pathname.slice(1)));
        return files.every((file) => held.has(file)) && performance.now();
      }, {polling: 100, timeout: 120000}, offlineFiles(siteDir));
      offlineMs = await kept.jsonValue();
    }
    const responses = [...server.responses];
    return {
      beforeReply,
      bytesBeforeReply: beforeReply.reduce((sum, response) => sum + response.bytes, 0),
      bytes: responses.reduce((sum, response) => sum + response.bytes, 0),
      responses: responses.length,
      failed: responses.filter((response) => response.status >= 400).map((response) => `${response.status} ${response.path}`),
      usableMs,
      replyMs,
      replyText,
      offlineMs,
    };
  } finally {
    await chromium.close();
    server.stop();
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const figures = await firstLoad(resolve(process.argv[2]));
  const seconds = (ms) => `${(ms / 1000).toFixed(2)} s`;
  console.log(`first load on Slow 4G (1.6 Mbit/s down, 150 ms latency), empty cache, ${process.argv[2]}:`);
  console.log(`  before Brindlet's first reply: ${figures.bytesBeforeReply} bytes in ${figures.beforeReply.length} responses`);
  for (const response of figures.beforeReply) console.log(`    ${String(response.bytes).padStart(9)}  ${response.path}`);
  console.log(`  in all:                 ${figures.bytes} bytes in ${figures.responses} responses` +
    (figures.failed.length > 0 ? ` (failed: ${figures.failed.join(", ")})` : ""));
  console.log(`  board takes moves at:   ${seconds(figures.usableMs)}`);
  console.log(`  Brindlet's reply at:    ${seconds(figures.replyMs)} (${figures.replyText})`);
  if (figures.offlineMs !== null) console.log(`  kept for offline at:    ${seconds(figures.offlineMs)}`);
}
