// Writes the site, the folder that holds what the page serves and nothing else, for
// scripts/build-web.sh:
//   node scripts/web-site.mjs ENGINE_DIR SITE_DIR VERSION
// ENGINE_DIR holds the engine's build (brindlet.js, its .wasm embedded) and the default books;
// the page comes from web/ and its npm packages from web/node_modules. The site gets:
// - index.html (the version filled in), page.js and page.css (its modules and style sheets
//   bundled and minified, scripts/lib/site-bundle.mjs) with their source maps, cm-chessboard's
//   piece and marker images (which it loads by its assets address), and the licences;
// - brindlet.js, the engine's script, minified, with its .wasm taken out into brindlet.wasm.gz, which the
//   worker fetches and gunzips itself (any static host serves it as it is);
// - book/, the default books cut into pieces that the worker fetches as the engine reads them
//   (scripts/lib/site-books.mjs);
// - the web app manifest and its icons, and sw.js, the service worker that keeps the site's
//   files (the list of those the first load needs is written into it; the books' pieces it
//   keeps as they come) in a cache named after the version and the files' digest, so that the
//   page plays offline and any change replaces the cache;
// - FILE.gz beside each text file, gzipped, for the hosts that can serve such copies.
// It is written beside SITE_DIR first and then takes its place, so no file of an older build
// stays. Every file's bytes depend only on its sources.
import {createHash} from "node:crypto";
import {existsSync, mkdirSync, readFileSync, readdirSync, renameSync, rmSync, statSync, writeFileSync} from "node:fs";
import {dirname, join, relative, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {deflateSync, gzipSync} from "node:zlib";
import {siteBooks} from "./lib/site-books.mjs";
import {bundlePage, minifyScript} from "./lib/site-bundle.mjs";

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

// The page, and its scripts and style sheets bundled (scripts/lib/site-bundle.mjs).
const html = readFileSync(join(root, "web/index.html"), "utf8").replaceAll("@BRINDLET_VERSION@", version);
write("index.html", html);
const bundle = await bundlePage(root);
for (const [path, bytes] of Object.entries(bundle.files)) write(path, bytes);
const modules = join(root, "web/node_modules");
const copy = (path, from) => write(path, readFileSync(from));

// What cm-chessboard loads by its assets address at run time (the images of the extensions
// the page imports), and the licences.
const assets = "vendor/cm-chessboard/assets/";
copy(`${assets}pieces/standard.svg`, join(modules, "cm-chessboard/assets/pieces/standard.svg"));
for (const extension of readdirSync(join(modules, "cm-chessboard/assets/extensions"))) {
  if (!bundle.inputs.some((path) => path.startsWith(`web/node_modules/cm-chessboard/src/extensions/${extension}/`))) continue;
  for (const file of readdirSync(join(modules, "cm-chessboard/assets/extensions", extension))) {
    if (file.endsWith(".svg")) copy(`${assets}extensions/${extension}/${file}`, join(modules, "cm-chessboard/assets/extensions", extension, file));
  }
}
copy("vendor/cm-chessboard/LICENSE", join(modules, "cm-chessboard/LICENSE"));
copy("vendor/chess.js/LICENSE", join(modules, "chess.js/LICENSE"));
copy("COPYING", join(root, "COPYING"));

// The engine: its script, and its .wasm beside it, gzipped.
const engine = readFileSync(join(engineDir, "brindlet.js"), "utf8");
const embedded = [...engine.matchAll(/data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/g)];
if (embedded.length !== 1) throw new Error(`web-site: brindlet.js should embed one .wasm, it has ${embedded.length}`);
const wasm = Buffer.from(embedded[0][1], "base64");
write("brindlet.wasm.gz", gzip(wasm));
write("brindlet.js", minifyScript(root, `var Module = {brindletWasm: "brindlet.wasm.gz"};\n` +
  engine.replace(embedded[0][0], "data:application/octet-stream;base64,")));

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

// Every file that the page names is in the site.
for (const [, url] of html.matchAll(/\s(?:href|src)="([^"]+)"/g)) {
  if (!/^([a-z]+:|#|\/)/i.test(url) && !existsSync(join(staging, url))) throw new Error(`web-site: index.html names ${url}, which the site lacks`);
}

// The service worker, with the list of every file of the site and the cache's name.
function files(dir, prefix = "") {
  return readdirSync(dir, {withFileTypes: true}).flatMap((entry) => (entry.isDirectory()
    ? files(join(dir, entry.name), `${prefix}${entry.name}/`) : [`${prefix}${entry.name}`]));
}
// It installs only what the first load needs: the books' index but not their pieces, which the
// page fetches later (the service worker keeps them as they come), nor the source maps and
// licences, which the page never fetches. The cache's name covers every file.
const all = files(staging).sort();
const list = all.filter((path) => !/^book\/.*\.pack\.gz$|\.map$|(^|\/)(COPYING|LICENSE)$/.test(path));
const digest = createHash("sha256");
for (const path of all) digest.update(`${path}\0`).update(readFileSync(join(staging, path))).update("\0");
// A gzipped copy of each text file, for the hosts that serve such copies (nginx's gzip_static,
// Apache's MultiViews): the page needs none of them, so the service worker keeps none.
const copies = /\.(html|js|css|svg|map|webmanifest|json)$/;
const worker = readFileSync(join(root, "web/sw.js"), "utf8")
  .replace("@CACHE@", JSON.stringify(`brindlet-${version}-${digest.digest("hex").slice(0, 16)}`))
  .replace("@COPIES@", () => `/${copies.source.slice(0, -1)}\\.gz$/`)
  .replace("@FILES@", JSON.stringify(list, null, 2).replace(/\n/g, "\n  "));
write("sw.js", worker);
for (const path of files(staging)) if (copies.test(path)) write(`${path}.gz`, gzip(readFileSync(join(staging, path))));

rmSync(siteDir, {recursive: true, force: true});
renameSync(staging, siteDir);
const total = files(siteDir).reduce((sum, path) => sum + statSync(join(siteDir, path)).size, 0);
console.log(`web-site: ${relative(process.cwd(), siteDir) || "."}: ${files(siteDir).length} files, ${total} bytes`);
