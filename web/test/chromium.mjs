// What the browser test and the benchmark share: Python's plain static server on a free port of
// 127.0.0.1, as scripts/web.sh serves the page, and Debian's chromium, headless, with a fresh
// profile, driven by puppeteer-core.
import {spawn} from "node:child_process";
import {mkdtempSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import puppeteer from "puppeteer-core";

const CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync"];

// The server names its port in its first line. Resolves to {origin, stop}.
export function serveStatic(dir) {
  return new Promise((resolve, reject) => {
    const server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", dir],
      {stdio: ["ignore", "pipe", "ignore"]});
    let text = "";
    server.stdout.on("data", (chunk) => {
      text += chunk;
      const port = /port (\d+)/.exec(text);
      if (port) resolve({origin: `http://127.0.0.1:${port[1]}`, stop: () => server.kill()});
    });
    server.on("exit", (code) => reject(new Error(`the static server ended (${code})`)));
  });
}

// Resolves to {browser, close}; close also removes the profile.
export async function launchChromium() {
  const profile = mkdtempSync(join(tmpdir(), "brindlet-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium", headless: true, userDataDir: profile, args: CHROMIUM_FLAGS,
  });
  return {
    browser,
    close: async () => {
      await browser.close();
      rmSync(profile, {recursive: true, force: true});
    },
  };
}
