// The host's half of platform_web.cpp, linked in front of the engine's JavaScript (--pre-js).
// One build runs in two hosts:
// - a browser's Web Worker: the page posts {type: "command", text} messages, each holding command
//   text as typed (line ends included); every line the engine writes is posted back as
//   {type: "output", text}. The engine's WebAssembly and the default books' index are fetched
//   from beside this script before it starts (the site's copy of this script fetches its
//   WebAssembly compressed), the books' pieces as the engine reads them (see the books' loading
//   below); while the first files arrive, {type: "progress", what, received, total} messages
//   count each file's bytes, and {type: "loaded"} tells that all are in. {type: "book-wait",
//   what, error, attempt} tells that a piece could not be fetched and is fetched again,
//   {type: "book-back", what} that it came after all, {type: "books-complete"} that every piece
//   has come. {type: "log"} is answered with {type: "log", bytes}, the engine's brindlet.log as
//   far as it is written; {type: "end"} ends the input, and {type: "exit", status} tells that
//   the run has ended.
// - Node: `node brindlet.js` reads standard input and writes standard output, with its working
//   directory (books and log) the process's own.

Module.brindletHost = {
  chunks: [],  // command bytes not yet read, oldest first
  ended: false,  // the end of input has come after the bytes in chunks
  stopRequested: false,
  outputGone: false,
  inputArrived: null,  // ends the wait for input
  pauseCut: null,  // ends the pause before its time (on a stop request only)

  wakeReader: function () {
    var wake = this.inputArrived;
    this.inputArrived = null;
    if (wake) wake();
  },
  addInput: function (bytes) {
    if (bytes.length > 0) this.chunks.push(bytes);
    this.wakeReader();
  },
  endInput: function () {
    this.ended = true;
    this.wakeReader();
  },
  requestStop: function () {
    this.stopRequested = true;
    this.wakeReader();
    var cut = this.pauseCut;
    this.pauseCut = null;
    if (cut) cut();
  },

  read: async function (buffer, capacity) {
    var host = this;
    while (!host.stopRequested && host.chunks.length === 0 && !host.ended) {
      await new Promise(function (resolve) { host.inputArrived = resolve; });
    }
    if (host.stopRequested) return -1;
    if (host.chunks.length === 0) return 0;
    var chunk = host.chunks[0];
    var count = Math.min(chunk.length, capacity);
    HEAPU8.set(chunk.subarray(0, count), buffer);
    if (count === chunk.length) host.chunks.shift();
    else host.chunks[0] = chunk.subarray(count);
    return count;
  },
  pause: async function (milliseconds) {
    var host = this;
    if (host.stopRequested) return;
    await new Promise(function (resolve) {
      var timer = setTimeout(function () { host.pauseCut = null; resolve(); }, milliseconds);
      host.pauseCut = function () { clearTimeout(timer); resolve(); };
    });
  },

  write: function (bytes, count) {
    if (this.outputGone) return false;
    var copy = HEAPU8.slice(bytes, bytes + count);
    if (ENVIRONMENT_IS_NODE) {
      process.stdout.write(copy);
    } else {
      var text = new TextDecoder().decode(copy);
      postMessage({ type: "output", text: text });
      if (text.indexOf("bestmove") >= 0) this.loadBooksInBackground();
    }
    return true;
  },
  // The default books' pieces (book_pieces.js), where the site ships them so; null otherwise.
  bookPieces: null,
  backgroundLoad: null,
  // Once the engine's first answer is out (or some seconds after it could first answer), the
  // pieces not fetched yet follow in the background, so that the page then plays offline;
  // {type: "books-complete"} tells that all have come.
  loadBooksInBackground: function () {
    if (this.bookPieces === null || this.backgroundLoad !== null) return;
    this.backgroundLoad = this.bookPieces.loadAll().then(function () { postMessage({ type: "books-complete" }); });
  },
  // A reader of standard output that went away shows as failed writes, not as an error that
  // ends the run (Node reports it on the stream, after the write).
  keepWritesFromEndingRun: function () {
    var host = this;
    if (ENVIRONMENT_IS_NODE) process.stdout.on("error", function () { host.outputGone = true; });
  },
  // Under Node, SIGTERM, SIGINT and SIGHUP request a stop, as they do for the native engine.
  catchStopSignals: function () {
    var host = this;
    if (!ENVIRONMENT_IS_NODE) return;
    ["SIGTERM", "SIGINT", "SIGHUP"].forEach(function (signal) {
      process.on(signal, function () { host.requestStop(); });
    });
  },
  inputIsConsole: function () { return ENVIRONMENT_IS_NODE && process.stdin.isTTY === true; },
};

// This code runs before emscripten's own start-up code has told the hosts apart (its
// ENVIRONMENT_IS_* are set from here on), so what must happen at once tests for itself.
if (typeof importScripts == "function") {
  self.onmessage = function (event) {
    var message = event.data;
    var host = Module.brindletHost;
    if (message.type === "command") {
      host.addInput(new TextEncoder().encode(message.text));
    } else if (message.type === "end") {
      host.endInput();
    } else if (message.type === "log") {
      var bytes = null;
      try { bytes = FS.readFile("brindlet.log"); } catch (error) {}
      postMessage({ type: "log", bytes: bytes });
    }
  };
}

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  if (ENVIRONMENT_IS_NODE) {
    // The engine's files are the host's, through Node's file system: each folder at the top of
    // the host's tree is mounted at its own path (emscripten's /dev stays), so the working
    // directory, and the files its links point to, have the paths they have for a native program.
    var nodeFs = require("fs");
    nodeFs.readdirSync("/", { withFileTypes: true }).forEach(function (entry) {
      var path = "/" + entry.name;
      if (entry.isSymbolicLink()) {
        if (!FS.analyzePath(path).exists) FS.symlink(nodeFs.readlinkSync(path), path);
      } else if (entry.isDirectory() && entry.name !== "dev" && entry.name !== "proc") {
        if (!FS.analyzePath(path).exists) FS.mkdir(path);
        FS.mount(NODEFS, { root: path }, path);
      }
    });
    // A link's target as the host has it: emscripten's Node file system would make it relative
    // to the mount, which names another file once the link lies below the mount's top.
    NODEFS.node_ops.readlink = function (node) {
      try {
        return nodeFs.readlinkSync(NODEFS.realPath(node));
      } catch (error) {
        if (!error.code) throw error;
        throw new FS.ErrnoError(NODEFS.convertNodeCode(error.code === "UNKNOWN" ? {code: "EINVAL"} : error));
      }
    };
    FS.chdir(process.cwd());
    var host = Module.brindletHost;
    process.stdin.on("data", function (bytes) { host.addInput(new Uint8Array(bytes)); });
    process.stdin.on("end", function () { host.endInput(); });
    process.stdin.on("error", function () { host.endInput(); });
  } else {
    addRunDependency("brindlet-books");
    Module.brindletBooks.then(function (books) {
      books.forEach(function (book) { if (book.bytes) FS.writeFile(book.name, book.bytes); });
      removeRunDependency("brindlet-books");
    }, throwLater);
  }
});

// In a browser, the files the engine needs are fetched at once, side by side, as this script
// starts (emscripten would fetch the books only once the WebAssembly is compiled). Each is read
// as a stream, so that its bytes can be counted for the page's progress indicator.
if (typeof importScripts == "function") {
  // The bytes, gunzipped if they are gzip's (a host that sends a .gz file with a
  // Content-Encoding has had the browser gunzip it already).
  Module.brindletGunzip = function (bytes) {
    if (bytes.length < 2 || bytes[0] !== 0x1f || bytes[1] !== 0x8b) return Promise.resolve(bytes);
    var gunzipped = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Response(gunzipped).arrayBuffer().then(function (plain) { return new Uint8Array(plain); });
  };
  // The bytes of the file at `url` (beside this script), gunzipped; null when the server has
  // no such file.
  Module.brindletFetch = function (url) {
    return fetch(url).then(function (response) {
      if (!response.ok) return null;
      var total = Number(response.headers.get("Content-Length")) || 0;
      var received = 0;
      postMessage({ type: "progress", what: url, received: 0, total: total });
      var counted = response.body.pipeThrough(new TransformStream({
        transform: function (chunk, controller) {
          received += chunk.length;
          postMessage({ type: "progress", what: url, received: received, total: Math.max(total, received) });
          controller.enqueue(chunk);
        },
      }));
      return new Response(counted).arrayBuffer();
    }).then(function (buffer) {
      return buffer === null ? null : Module.brindletGunzip(new Uint8Array(buffer));
    }).catch(function (error) {
      throw new Error(url + " could not be read (" + error.message + ")");
    });
  };
  // The default books, tourbook.bin and mainbook.bin. The site lists them in book/index.json
  // and ships them in pieces (book_pieces.js), which the engine reads through its host as it
  // needs them; only the index comes before the engine starts. A folder without that index
  // that holds the plain books serves those, fetched whole. A book the server has in neither
  // form is left out, as a missing file is for the native engine; an index that cannot be read
  // ends the engine's start with an error, as the engine must not run without a book it would have.
  var bookNames = ["tourbook.bin", "mainbook.bin"];
  Module.brindletBooks = Module.brindletFetch("book/index.json").then(function (bytes) {
    if (bytes === null) {
      return Promise.all(bookNames.map(function (name) {
        return Module.brindletFetch(name).then(function (book) { return { name: name, bytes: book }; });
      }));
    }
    var index;
    try {
      index = JSON.parse(new TextDecoder().decode(bytes));
    } catch (error) {
      throw new Error("book/index.json could not be read (" + error.message + ")");
    }
    var unzipped = function (file) {
      return fetch(file).then(function (response) {
        if (!response.ok) throw new Error("the server answered " + response.status);
        return response.arrayBuffer();
      }).then(function (buffer) { return Module.brindletGunzip(new Uint8Array(buffer)); });
    };
    Module.brindletHost.bookPieces = brindletBookPieces(index, unzipped, function (file, error, attempt) {
      postMessage({ type: "book-wait", what: file, error: String(error && error.message || error), attempt: attempt });
    }, function (file) {
      postMessage({ type: "book-back", what: file });
    }, function (milliseconds) {
      return new Promise(function (resolve) { setTimeout(resolve, milliseconds); });
    });
    return [];
  });
  var throwLater = function (error) { setTimeout(function () { throw error; }); };
  // The site's copy of this script has its WebAssembly beside it, gzipped (Module.brindletWasm
  // names the file), rather than embedded.
  if (Module.brindletWasm) {
    var wasmBytes = Module.brindletFetch(Module.brindletWasm);
    Module.instantiateWasm = function (imports, receiveInstance) {
      wasmBytes.then(function (bytes) {
        if (!bytes) throw new Error("the engine's WebAssembly, " + Module.brindletWasm + ", is missing");
        return WebAssembly.instantiate(bytes, imports);
      }).then(function (result) {
        receiveInstance(result.instance, result.module);
      }, throwLater);
      return {};
    };
  }
  // (A failure is thrown by the one that waits for the file.)
  Promise.all([Module.brindletBooks, wasmBytes]).then(function () {
    postMessage({ type: "loaded" });
    setTimeout(function () { Module.brindletHost.loadBooksInBackground(); }, 10000);
  }, function () {});
}

// main is started here rather than by emscripten: its waits return to the event loop, so its
// return comes later, as the value of Asyncify's promise, and only then does the run end as the
// native engine's does (the C library's files closed, the exit status Node's).
Module.noInitialRun = true;
Module.onExit = function (status) {
  if (!ENVIRONMENT_IS_NODE) {
    postMessage({ type: "exit", status: status });
  } else {
    // Later emscripten releases end a Node run by letting its event loop run dry, which an open
    // standard input would keep from happening while the driving program holds its end open.
    process.stdin.destroy();
  }
};
Module.postRun = Module.postRun || [];
Module.postRun.push(function () {
  var status = Module._main(0, 0);
  var done = Asyncify.currData ? Asyncify.whenDone() : Promise.resolve(status);
  done.then(function (status) {
    // Later emscripten releases call their exit function exitJS.
    var endRun = typeof exitJS == "function" ? exitJS : exit;
    try {
      endRun(status);
    } catch (error) {
      if (!(error instanceof ExitStatus)) throw error;
    }
  });
});
