// Lighthouse's mobile run of the page (its default settings: a phone's screen, a slower CPU and
// the "Slow 4G" network, simulated, from an empty cache) in Debian's chromium, launched by
// chrome-launcher, the site served by Python's static server. Prints the scores of performance,
// accessibility and best practices, and the three opportunities that would save the most time.
// Lighthouse comes from web/bench/node_modules (scripts/bench-web.sh installs it there).
//   node lighthouse.mjs SITE_DIR
import {resolve} from "node:path";
import {launch} from "chrome-launcher";
import lighthouse from "lighthouse";
import {serveStatic} from "../test/chromium.mjs";

const server = await serveStatic(resolve(process.argv[2]));
const chrome = await launch({
  chromePath: "/usr/bin/chromium",
  chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run"],
  logLevel: "silent",
});
try {
  const result = await lighthouse(`${server.origin}/index.html`, {
    port: chrome.port,
    output: "json",
    logLevel: "error",
    onlyCategories: ["performance", "accessibility", "best-practices"],
  });
  const {categories, audits} = result.lhr;
  console.log(`Lighthouse ${result.lhr.lighthouseVersion}, mobile (simulated Slow 4G, 4x slower CPU), empty cache:`);
  for (const category of Object.values(categories)) {
    console.log(`  ${category.title.padEnd(16)} ${Math.round(category.score * 100)}`);
  }
  for (const id of ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time", "cumulative-layout-shift", "speed-index"]) {
    console.log(`  ${audits[id].title.padEnd(26)} ${audits[id].displayValue}`);
  }
  const opportunities = Object.values(audits)
    .filter((audit) => audit.details?.type === "opportunity" && (audit.details.overallSavingsMs > 0 || audit.details.overallSavingsBytes > 0))
    .sort((a, b) => b.details.overallSavingsMs - a.details.overallSavingsMs || (b.details.overallSavingsBytes ?? 0) - (a.details.overallSavingsBytes ?? 0))
    .slice(0, 3);
  console.log("  largest opportunities left:" + (opportunities.length === 0 ? " none" : ""));
  for (const audit of opportunities) {
    console.log(`    ${audit.title}: ${audit.displayValue ?? ""} (${Math.round(audit.details.overallSavingsMs)} ms, ` +
      `${audit.details.overallSavingsBytes ?? 0} bytes)`);
  }
  const failed = Object.values(categories).flatMap((category) => category.auditRefs)
    .map((ref) => audits[ref.id]).filter((audit) => audit.score !== null && audit.score < 1 && audit.scoreDisplayMode === "binary");
  if (failed.length > 0) console.log(`  failed checks: ${failed.map((audit) => audit.id).join(", ")}`);
} finally {
  await chrome.kill();
  server.stop();
}
