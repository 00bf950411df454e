// What the browser tests and the benchmarks share: Python's plain static server on a free port of
// 127.0.0.1, as scripts/web.sh serves the page (its requests counted), and Debian's chromium, headless, with a fresh
// profile, driven by puppeteer-core.
import {spawn} from "node:child_process";
import {mkdtempSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import puppeteer from "puppeteer-core";

const CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync"];

// Python's server, its handler counting the bytes (headers and body) of each response it
// sends, which it prints as a line "served METHOD STATUS BYTES PATH".
const SERVER = `
import functools, http.server, sys, threading
lock = threading.Lock()
class Handler(http.server.SimpleHTTPRequestHandler):
    def send_response(self, code, message=None):
        self.status = code
        super().send_response(code, message)
    def handle_one_request(self):
        self.status = None
        sent = [0]
        raw = self.wfile
        class Counter:
            def write(self, data):
                sent[0] += len(data)
                return raw.write(data)
            def flush(self):
                raw.flush()
        self.wfile = Counter()
        try:
            super().handle_one_request()
        finally:
            self.wfile = raw
            if self.status is not None:
                with lock:  # the server's threads print whole lines
                    print("served", self.command, self.status, sent[0], self.path, flush=True)
    def log_message(self, format, *args):
        pass
http.server.test(HandlerClass=functools.partial(Handler, directory=sys.argv[1]),
                 ServerClass=http.server.ThreadingHTTPServer, port=0, bind="127.0.0.1")
`;

// The server names its port in its first line. Resolves to {origin, stop, responses, sent},
// where responses lists each response sent, {method, status, bytes, path}, as it is sent, and
// sent(path) resolves to the first response for path not taken by an earlier call, once the
// server has sent it.
export function serveStatic(dir) {
  return new Promise((resolve, reject) => {
    const server = spawn("python3", ["-u", "-c", SERVER, dir], {stdio: ["ignore", "pipe", "ignore"]});
    const responses = [];
    const taken = new Set();
    const waiters = [];
    const take = () => {
      for (const waiter of [...waiters]) {
        const response = responses.find((candidate) => candidate.path === waiter.path && !taken.has(candidate));
        if (response === undefined) continue;
        taken.add(response);
        waiters.splice(waiters.indexOf(waiter), 1);
        waiter.resolve(response);
      }
    };
    const sent = (path) => new Promise((resolve) => {
      waiters.push({path, resolve});
      take();
    });
    let text = "";
    let started = false;
    server.stdout.on("data", (chunk) => {
      text += chunk;
      const lines = text.split("\n");
      text = lines.pop();
      for (const line of lines) {
        const served = /^served (\S+) (\d+) (\d+) (.*)$/.exec(line);
        if (served) {
          responses.push({method: served[1], status: Number(served[2]), bytes: Number(served[3]), path: served[4]});
          take();
        }
        const port = /port (\d+)/.exec(line);
        if (port && !started) {
          started = true;
          resolve({origin: `http://127.0.0.1:${port[1]}`, stop: () => server.kill(), responses, sent});
        }
      }
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
