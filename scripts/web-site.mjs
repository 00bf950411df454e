// Writes the site, the folder that holds what the page serves and nothing else, for
// scripts/build-web.sh:
//   node scripts/web-site.mjs ENGINE_DIR SITE_DIR VERSION
// ENGINE_DIR holds the engine's build (brindlet.js, its .wasm embedded) and the default books;
// the page comes from web/ and its npm packages from web/node_modules. The site gets:
// - index.html (the version filled in, the modules named for preloading), the files it links, the modules it imports (followed
//   through its import map), the files their style sheets name, cm-chessboard's piece and marker
//   images, and the licences;
// - brindlet.js, the engine's script with its .wasm taken out into brindlet.wasm.gz, which the
//   worker fetches and gunzips itself (any static host serves it as it is);
// - book/, the default books cut into pieces that the worker fetches as the engine reads them
//   (scripts/lib/site-books.mjs);
// - the web app manifest and its icons, and sw.js, the service worker that keeps every file of
//   the site (its list is written into it) in a cache named after the version and the files'
//   digest, so that the page plays offline and any change replaces the cache.
// It is written beside SITE_DIR first and then takes its place, so no file of an older build
// stays. Every file's bytes depend only on its sources.
import {createHash} from "node:crypto";
import {mkdirSync, readFileSync, readdirSync, renameSync, rmSync, statSync, writeFileSync} from "node:fs";
import {dirname, join, posix, relative, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {deflateSync, gzipSync} from "node:zlib";
import {siteBooks} from "./lib/site-books.mjs";

const root = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const [engineDir, siteDir, version] = process.argv.slice(2);
if (!version) {
  console.error("usage: node scripts/web-site.mjs ENGINE_DIR SITE_DIR VERSION");
  process.exit(2);
}
const staging = `${resolve(siteDir)}.tmp`;
rmSync(staging, {recursive: true, force: true});
mkdirSync(staging, {recursive: true});

function write(path, bytes) {
  mkdirSync(dirname(join(staging, path)), {recursive: true});
  writeFileSync(join(staging, path), bytes);
}
const gzip = (bytes) => gzipSync(bytes, {level: 9});

// Where each folder of the site comes from.
const modules = join(root, "web/node_modules");
const sources = [
  ["src/", join(root, "web/src/")],
  ["vendor/cm-chessboard/", join(modules, "cm-chessboard/")],
  ["vendor/chess.js/", join(modules, "chess.js/dist/esm/")],
];
function sourceOf(path) {
  for (const [prefix, dir] of sources) if (path.startsWith(prefix)) return join(dir, path.slice(prefix.length));
  throw new Error(`web-site: no source for ${path}`);
}
function copy(path, from = sourceOf(path)) {
  write(path, readFileSync(from));
}

// The page and what it references, followed from file to file.
const html = readFileSync(join(root, "web/index.html"), "utf8").replaceAll("@BRINDLET_VERSION@", version);
const importMap = JSON.parse(/<script type="importmap">([\s\S]*?)<\/script>/.exec(html)[1]).imports;
const local = (url) => !/^([a-z]+:|#|\/)/i.test(url);
const pending = [];
const seen = new Set();
function reference(url, from) {
  let path = url;
  if (!local(url)) return;
  if (from.endsWith(".js") && !url.startsWith(".")) {
    // A bare module name, mapped by the import map.
    const prefix = Object.keys(importMap).filter((name) => url === name || (name.endsWith("/") && url.startsWith(name)))
      .sort((a, b) => b.length - a.length)[0];
    if (prefix === undefined) throw new Error(`web-site: ${from} imports ${url}, which the import map does not name`);
    path = posix.normalize(importMap[prefix] + url.slice(prefix.length));
  } else {
    path = posix.normalize(posix.join(posix.dirname(from), url.split(/[?#]/)[0]));
  }
  if (!seen.has(path)) {
    seen.add(path);
    pending.push(path);
  }
}
for (const match of html.matchAll(/\s(?:href|src)="([^"]+)"/g)) reference(match[1], "index.html");
const importPattern = /(?:^|[\s;}])(?:import|export)\s*(?:[\w*{}\s,$]*?\sfrom\s*)?["']([^"']+)["']|import\(\s*["']([^"']+)["']\s*\)/g;
while (pending.length > 0) {
  const path = pending.shift();
  if (path === "manifest.webmanifest" || path.startsWith("icons/")) continue;  // written below
  const from = sourceOf(path);
  copy(path, from);
  if (path.endsWith(".js")) {
    const text = readFileSync(from, "utf8").replace(/\/\*[\s\S]*?\*\/|(^|[^:\\])\/\/.*$/gm, "$1");
    for (const match of text.matchAll(importPattern)) reference(match[1] ?? match[2], path);
  } else if (path.endsWith(".css")) {
    for (const match of readFileSync(from, "utf8").matchAll(/url\(\s*["']?([^"')]+)["']?\s*\)/g)) {
      if (!match[1].startsWith("data:")) reference(match[1], path);
    }
  }
}
// The page names all the modules that its scripts import, so that the browser fetches them at
// once rather than a level of imports after the other (each a round trip on a slow network).
const preloads = [...seen].filter((path) => path.endsWith(".js") && !html.includes(`src="${path}"`))
  .map((path) => `  <link rel="modulepreload" href="${path}">\n`).join("");
const firstModule = html.indexOf('  <script type="module"');
if (firstModule < 0) throw new Error("web-site: index.html has no module script");
write("index.html", html.slice(0, firstModule) + preloads + html.slice(firstModule));

// What cm-chessboard loads by its assets address at run time (the images of the extensions
// the page imports), and the licences.
copy("vendor/cm-chessboard/assets/pieces/standard.svg");
for (const extension of readdirSync(join(modules, "cm-chessboard/assets/extensions"))) {
  if (![...seen].some((path) => path.startsWith(`vendor/cm-chessboard/src/extensions/${extension}/`))) continue;
  for (const file of readdirSync(join(modules, "cm-chessboard/assets/extensions", extension))) {
    if (file.endsWith(".svg")) copy(`vendor/cm-chessboard/assets/extensions/${extension}/${file}`);
  }
}
copy("vendor/cm-chessboard/LICENSE");
copy("vendor/chess.js/LICENSE", join(modules, "chess.js/LICENSE"));
copy("COPYING", join(root, "COPYING"));

// The engine: its script, and its .wasm beside it, gzipped.
const engine = readFileSync(join(engineDir, "brindlet.js"), "utf8");
const embedded = [...engine.matchAll(/data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/g)];
if (embedded.length !== 1) throw new Error(`web-site: brindlet.js should embed one .wasm, it has ${embedded.length}`);
const wasm = Buffer.from(embedded[0][1], "base64");
write("brindlet.wasm.gz", gzip(wasm));
write("brindlet.js", `var Module = {brindletWasm: "brindlet.wasm.gz"};\n` +
  engine.replace(embedded[0][0], "data:application/octet-stream;base64,"));

// The books, in pieces read on demand (scripts/lib/site-books.mjs).
for (const [path, bytes] of siteBooks(engineDir)) write(path, bytes);

// The icons: a 4x4 board of Brindlet's two square colours, as PNG files.
function crc32(bytes) {
  let crc = ~0;
  for (const byte of bytes) {
    crc ^= byte;
    for (let bit = 0; bit < 8; bit += 1) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return ~crc >>> 0;
}
function png(size) {
  const light = [0xf0, 0xd9, 0xb5];
  const dark = [0x8b, 0x5a, 0x2b];
  const rows = Buffer.alloc(size * (1 + 3 * size));
  for (let y = 0; y < size; y += 1) {
    rows[y * (1 + 3 * size)] = 0;  // no filter
    for (let x = 0; x < size; x += 1) {
      const colour = (Math.floor((4 * x) / size) + Math.floor((4 * y) / size)) % 2 ? dark : light;
      Buffer.from(colour).copy(rows, y * (1 + 3 * size) + 1 + 3 * x);
    }
  }
  const chunk = (type, data) => {
    const body = Buffer.concat([Buffer.from(type, "latin1"), data]);
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 2, 0, 0, 0], 8);  // 8 bits a channel, RGB
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), chunk("IHDR", header),
    chunk("IDAT", deflateSync(rows, {level: 9})), chunk("IEND", Buffer.alloc(0))]);
}
const icons = [192, 512].map((size) => ({src: `icons/brindlet-${size}.png`, sizes: `${size}x${size}`, type: "image/png"}));
for (const icon of icons) write(icon.src, png(Number(icon.sizes.split("x")[0])));
write("manifest.webmanifest", `${JSON.stringify({
  name: "Brindlet",
  short_name: "Brindlet",
  description: "Play chess against Brindlet, in the page and offline",
  start_url: "./",
  scope: "./",
  display: "standalone",
  background_color: "#ffffff",
  theme_color: "#8b5a2b",
  icons,
}, null, 2)}\n`);

// The service worker, with the list of every file of the site and the cache's name.
function files(dir, prefix = "") {
  return readdirSync(dir, {withFileTypes: true}).flatMap((entry) => (entry.isDirectory()
    ? files(join(dir, entry.name), `${prefix}${entry.name}/`) : [`${prefix}${entry.name}`]));
}
const list = files(staging).sort();
const digest = createHash("sha256");
for (const path of list) digest.update(`${path}\0`).update(readFileSync(join(staging, path))).update("\0");
const worker = readFileSync(join(root, "web/sw.js"), "utf8")
  .replace("@CACHE@", JSON.stringify(`brindlet-${version}-${digest.digest("hex").slice(0, 16)}`))
  .replace("@FILES@", JSON.stringify(list, null, 2).replace(/\n/g, "\n  "));
write("sw.js", worker);

rmSync(siteDir, {recursive: true, force: true});
renameSync(staging, siteDir);
const total = files(siteDir).reduce((sum, path) => sum + statSync(join(siteDir, path)).size, 0);
console.log(`web-site: ${relative(process.cwd(), siteDir) || "."}: ${list.length + 1} files, ${total} bytes`);
