// The default books as the site ships them, for scripts/web-site.mjs: each book cut into
// pieces of PIECE_ENTRIES entries, each piece in the packed form of frontend/packed_book.js,
// gzipped, named by its book, number and digest (a piece's address never names other bytes,
// so any cache may keep it), and book/index.json, which frontend/book_pieces.js reads. Each
// piece is checked to come back as the book's own bytes.
import {createHash} from "node:crypto";
import {readFileSync} from "node:fs";
import {dirname, join, resolve} from "node:path";
import {fileURLToPath} from "node:url";
import {runInNewContext} from "node:vm";
import {gzipSync} from "node:zlib";

const root = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
// 64 KiB of book a piece: about 30 KB gzipped, a fraction of a second on a slow mobile network,
// and 45 pieces for GNU Chess's book.
export const PIECE_ENTRIES = 4096;
export const BOOK_NAMES = ["tourbook.bin", "mainbook.bin"];

const bookPack = join(root, "frontend/packed_book.js");
export const unpackBook = runInNewContext(`${readFileSync(bookPack, "utf8")}; brindletUnpackBook`, {},
  {filename: bookPack});

// The packed form of a book's bytes (frontend/packed_book.js describes it).
export function packBook(book) {
  if (book.length % 16 !== 0) throw new Error("site-books: a book's size is a multiple of 16");
  const n = book.length / 16;
  const keys = [];
  const counts = [];
  for (let entry = 0; entry < n; entry += 1) {
    const key = book.readBigUInt64BE(16 * entry);
    const last = keys.length - 1;
    if (last >= 0 && key === keys[last] && counts[last] < 255) {
      counts[last] += 1;
    } else {
      if (last >= 0 && key <= keys[last]) throw new Error("site-books: a book's keys must increase, with at most 255 entries each");
      keys.push(key);
      counts.push(1);
    }
  }
  const k = keys.length;
  const packed = Buffer.alloc(12 + 9 * k + 8 * n);
  packed.write("BKP1", 0, "latin1");
  packed.writeUInt32BE(n, 4);
  packed.writeUInt32BE(k, 8);
  Buffer.from(counts).copy(packed, 12);
  let previous = 0n;
  keys.forEach((key, i) => {
    const delta = key - previous;
    previous = key;
    for (let j = 0; j < 8; j += 1) packed[12 + k + j * k + i] = Number((delta >> BigInt(56 - 8 * j)) & 255n);
  });
  for (let plane = 0; plane < 8; plane += 1) {
    for (let entry = 0; entry < n; entry += 1) packed[12 + 9 * k + plane * n + entry] = book[16 * entry + 8 + plane];
  }
  return packed;
}

// [path, bytes] for every file of the site's book/ folder, from the books in engineDir.
export function siteBooks(engineDir) {
  const files = [];
  const index = {books: {}};
  for (const name of BOOK_NAMES) {
    const book = readFileSync(join(engineDir, name));
    const entries = book.length / 16;
    if (entries === 0) continue;  // an empty file is no book
    // A book whose keys decrease anywhere is refused by the engine, as it is by packBook.
    packBook(book);
    const pieces = [];
    for (let first = 0; first < entries; first += PIECE_ENTRIES) {
      const bytes = book.subarray(16 * first, 16 * Math.min(entries, first + PIECE_ENTRIES));
      const packed = packBook(bytes);
      if (!Buffer.from(unpackBook(new Uint8Array(packed))).equals(bytes)) {
        throw new Error(`site-books: a piece of ${name} does not come back from its packed form`);
      }
      const gzipped = gzipSync(packed, {level: 9});
      const digest = createHash("sha256").update(gzipped).digest("hex").slice(0, 12);
      const file = `book/${name.replace(/\.bin$/, "")}-${pieces.length}-${digest}.pack.gz`;
      files.push([file, gzipped]);
      pieces.push({file, key: bytes.subarray(0, 8).toString("hex")});
    }
    index.books[name] = {entries, stride: PIECE_ENTRIES, pieces};
  }
  files.push(["book/index.json", `${JSON.stringify(index)}\n`]);
  return files;
}
