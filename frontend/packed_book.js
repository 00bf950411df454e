// A Polyglot book's packed form, in which the site ships the default books (gzipped): the same
// entries, laid out so that gzip finds what repeats. Linked in front of the engine's JavaScript
// (--pre-js), where the worker turns a packed book back into the book's own bytes; the site's
// build (scripts/web-site.mjs) packs the books and checks that this function gives each back.
//
// A book's entries are 16 bytes each, big-endian: the position's key (8 bytes), the move (2),
// the weight (2) and the learn field (4), sorted by key. The packed form, all big-endian:
//   "BKP1", the number of entries n (4 bytes), the number of distinct keys k (4 bytes);
//   k bytes: how many entries each distinct key has (1 to 255), in key order;
//   8 planes of k bytes: byte j (the most significant first) of each distinct key's difference
//     from the one before it (the first key's difference is the key itself);
//   8 planes of n bytes: byte 8 + j of each entry, in file order (move, weight, learn).
// A book whose keys decrease, or with more than 255 entries under one key, has no packed form.

// The book's bytes (a Uint8Array) from its packed form; throws on a malformed one.
function brindletUnpackBook(packed) {
  var word = function (offset) {
    return ((packed[offset] << 24) | (packed[offset + 1] << 16) | (packed[offset + 2] << 8) | packed[offset + 3]) >>> 0;
  };
  if (packed.length < 12 || String.fromCharCode(packed[0], packed[1], packed[2], packed[3]) !== "BKP1") {
    throw new Error("not a packed book");
  }
  var n = word(4);
  var k = word(8);
  var counts = 12;
  var keys = counts + k;
  var rest = keys + 8 * k;
  if (packed.length !== rest + 8 * n) throw new Error("a packed book of the wrong size");
  var book = new Uint8Array(16 * n);
  var high = 0;
  var low = 0;
  var entry = 0;
  for (var i = 0; i < k; ++i) {
    var deltaHigh = 0;
    var deltaLow = 0;
    for (var j = 0; j < 4; ++j) {
      deltaHigh = deltaHigh * 256 + packed[keys + j * k + i];
      deltaLow = deltaLow * 256 + packed[keys + (j + 4) * k + i];
    }
    var sum = low + deltaLow;
    low = sum >>> 0;
    high = (high + deltaHigh + (sum > 0xffffffff ? 1 : 0)) >>> 0;
    var count = packed[counts + i];
    if (count === 0 || entry + count > n) throw new Error("a packed book with wrong counts");
    for (var c = 0; c < count; ++c, ++entry) {
      var at = 16 * entry;
      book[at] = high >>> 24; book[at + 1] = (high >>> 16) & 255; book[at + 2] = (high >>> 8) & 255; book[at + 3] = high & 255;
      book[at + 4] = low >>> 24; book[at + 5] = (low >>> 16) & 255; book[at + 6] = (low >>> 8) & 255; book[at + 7] = low & 255;
    }
  }
  if (entry !== n) throw new Error("a packed book with wrong counts");
  for (var p = 0; p < 8; ++p) {
    var from = rest + p * n;
    for (var e = 0; e < n; ++e) book[16 * e + 8 + p] = packed[from + e];
  }
  return book;
}
