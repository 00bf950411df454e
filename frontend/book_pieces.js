// The default books as the site ships them, read on demand: each book is cut into pieces of
// `stride` entries (the last may be shorter), each piece in the packed form of packed_book.js,
// gzipped, and book/index.json lists, for each book, its entry count, its stride and every
// piece's file and first key (16 hex digits):
//   {"books": {"tourbook.bin": {"entries": n, "stride": s, "pieces": [{"file", "key"}, ...]}}}
// The engine opens these books through its host (platform_web.cpp) and reads entries through
// read() below, which waits for the pieces that hold them. A piece that cannot be fetched is
// fetched again until it comes: a lookup never turns a network failure into a book miss, which
// would close the book and change every later answer. Linked in front of the engine's
// JavaScript (--pre-js); the site's build and tests load it too.

// `fetchBytes(file)` resolves to a piece file's bytes (gunzipped) or rejects; `onWait(file,
// error, attempt)` is told each failure before the next attempt, `onBack(file)` that a piece
// that failed has come; `sleep(ms)` waits between attempts.
function brindletBookPieces(index, fetchBytes, onWait, onBack, sleep) {
  var books = [];
  var names = Object.keys(index.books || {});
  names.forEach(function (name) {
    var book = index.books[name];
    var valid = book && Number.isInteger(book.entries) && book.entries > 0 && book.entries < 4294967296 &&
      Number.isInteger(book.stride) && book.stride > 0 && Array.isArray(book.pieces) &&
      book.pieces.length === Math.ceil(book.entries / book.stride) && book.pieces.every(function (piece) {
        return piece && typeof piece.file === "string" && /^[0-9a-f]{16}$/.test(piece.key);
      });
    if (!valid) throw new Error("the index of " + name + " is malformed");
    books.push({ name: name, entries: book.entries, stride: book.stride, pieces: book.pieces, loaded: [] });
  });
  var hexByte = function (hex, i) { return parseInt(hex.substr(2 * i, 2), 16); };

  // A piece's entries as the book's bytes, checked against the index before they are used.
  function loadOnce(book, number) {
    var piece = book.pieces[number];
    var count = Math.min(book.stride, book.entries - number * book.stride);
    return fetchBytes(piece.file).then(function (packed) {
      var bytes = brindletUnpackBook(packed);
      if (bytes.length !== 16 * count) throw new Error("a piece of the wrong size");
      for (var i = 0; i < 8; ++i) {
        if (bytes[i] !== hexByte(piece.key, i)) throw new Error("a piece that does not start with its key");
      }
      return bytes;
    });
  }
  function load(book, number) {
    if (!book.loaded[number]) {
      var attempt = 0;
      var failed = false;
      var tryOnce = function () {
        return loadOnce(book, number).then(function (bytes) {
          if (failed) onBack(book.pieces[number].file);
          return bytes;
        }, function (error) {
          attempt += 1;
          failed = true;
          onWait(book.pieces[number].file, error, attempt);
          // 1, 2, 4 ... seconds apart, at most 30.
          return sleep(Math.min(30000, 1000 * Math.pow(2, attempt - 1))).then(tryOnce);
        });
      };
      book.loaded[number] = tryOnce();
    }
    return book.loaded[number];
  }

  return {
    // The handle of the book the engine names by `path` ("./NAME" or "NAME"), or -1.
    handleOf: function (path) {
      var name = path.indexOf("./") === 0 ? path.slice(2) : path;
      return names.indexOf(name);
    },
    entries: function (handle) { return books[handle].entries; },
    stride: function (handle) { return books[handle].stride; },
    // The first key of every piece, 8 big-endian bytes each, one after the other.
    indexKeys: function (handle) {
      var pieces = books[handle].pieces;
      var bytes = new Uint8Array(8 * pieces.length);
      pieces.forEach(function (piece, p) { for (var i = 0; i < 8; ++i) bytes[8 * p + i] = hexByte(piece.key, i); });
      return bytes;
    },
    // The bytes of entries [first, first + count), once their pieces have come.
    read: function (handle, first, count) {
      var book = books[handle];
      var from = Math.floor(first / book.stride);
      var to = Math.floor((first + count - 1) / book.stride);
      var waits = [];
      for (var p = from; p <= to; ++p) waits.push(load(book, p));
      return Promise.all(waits).then(function (pieces) {
        var bytes = new Uint8Array(16 * count);
        for (var entry = first; entry < first + count; ++entry) {
          var piece = pieces[Math.floor(entry / book.stride) - from];
          var at = 16 * (entry % book.stride);
          bytes.set(piece.subarray(at, at + 16), 16 * (entry - first));
        }
        return bytes;
      });
    },
    // Fetches every piece not yet fetched, four at a time (one request after another would
    // wait out the network's latency each time), so that the books are all here, and kept by
    // the service worker, before the network goes; resolves when all have come.
    loadAll: function () {
      var queue = [];
      books.forEach(function (book) {
        book.pieces.forEach(function (piece, number) { queue.push([book, number]); });
      });
      var next = function () {
        var item = queue.shift();
        return item ? load(item[0], item[1]).then(next) : Promise.resolve();
      };
      return Promise.all([next(), next(), next(), next()]).then(function () {});
    },
  };
}
