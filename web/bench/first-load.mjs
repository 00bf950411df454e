// The page's first load as a person on a slow mobile network has it: Debian's chromium with a
// fresh profile (an empty cache) and the network emulated as Lighthouse's "Slow 4G" profile
// (1.6 Mbit/s down, 750 kbit/s up, 150 ms of latency), the site served by Python's static
// server. It waits for the board to take moves, plays 1.e4 by two clicks, waits for Brindlet's
// reply, and then (when the site has a service worker) for the service worker to have kept the
// site. Its figures: the bytes the server sent (headers included) and in how many responses,
// and the times, from the page's opening, at which the board took moves and the reply came.
//   node first-load.mjs SITE_DIR
import {existsSync} from "node:fs";
import {join, resolve} from "node:path";
import {pathToFileURL} from "node:url";
import {launchChromium, serveStatic} from "../test/chromium.mjs";

export const SLOW_4G = {download: 1.6e6 / 8, upload: 750e3 / 8, latency: 150};

export async function firstLoad(siteDir) {
  const server = await serveStatic(siteDir);
  const chromium = await launchChromium();
  try {
    const page = await chromium.browser.newPage();
    await page.setViewport({width: 1280, height: 800});
    await page.emulateNetworkConditions(SLOW_4G);
    await page.goto(`${server.origin}/index.html`, {waitUntil: "domcontentloaded"});
    const usable = await page.waitForFunction(
      () => document.body.dataset.state === "your-move" && performance.now(), {polling: "mutation", timeout: 120000});
    const usableMs = await usable.jsonValue();
    await page.click('#board [data-square="e2"]');
    await page.click('#board [data-square="e4"]');
    const reply = await page.waitForFunction(
      () => document.querySelector("#moves li.engine") !== null && performance.now(), {polling: "mutation", timeout: 120000});
    const replyMs = await reply.jsonValue();
    const replyText = await page.$eval("#moves li.engine", (item) => item.textContent);
    if (existsSync(join(siteDir, "sw.js"))) {
      await page.evaluate(async () => {
        const registration = await navigator.serviceWorker.ready;
        return registration.active.state;
      });
    }
    const responses = [...server.responses];
    return {
      bytes: responses.reduce((sum, response) => sum + response.bytes, 0),
      responses: responses.length,
      failed: responses.filter((response) => response.status >= 400).map((response) => `${response.status} ${response.path}`),
      usableMs,
      replyMs,
      replyText,
    };
  } finally {
    await chromium.close();
    server.stop();
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const figures = await firstLoad(resolve(process.argv[2]));
  console.log(`first load on Slow 4G (1.6 Mbit/s down, 150 ms latency), empty cache, ${process.argv[2]}:`);
  console.log(`  transferred:          ${figures.bytes} bytes in ${figures.responses} responses` +
    (figures.failed.length > 0 ? ` (failed: ${figures.failed.join(", ")})` : ""));
  console.log(`  board takes moves at: ${(figures.usableMs / 1000).toFixed(2)} s`);
  console.log(`  Brindlet's reply at:  ${(figures.replyMs / 1000).toFixed(2)} s (${figures.replyText})`);
}
