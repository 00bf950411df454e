// Brindlet in a Web Worker (brindlet.js, the engine built as WebAssembly), spoken to in UCI.
// Commands go to the worker as text; each line the engine writes comes back in a message.
// While the worker fetches the engine's files, onProgress, when set, is called with
// {what, received, total} for each file (its name and its bytes so far, of its total), and
// onLoaded once all are in. The opening books' pieces come later, as the engine reads them:
// onBookWait({what, error, attempt}) tells that one could not be fetched and is fetched again,
// onBookBack that it came after all, onBooksComplete that every piece is here.
export class Engine {
  constructor(url) {
    this.lines = [];  // lines not yet taken, oldest first
    this.waiting = null;  // the resolver of the one pending nextLine
    this.logWaiters = [];
    this.exitWaiters = [];
    this.failure = null;
    this.queue = Promise.resolve();  // the exchanges, one after the other
    this.onProgress = null;
    this.onLoaded = null;
    this.onBookWait = null;
    this.onBookBack = null;
    this.onBooksComplete = null;
    this.worker = new Worker(url);
    this.worker.onmessage = (event) => this.receive(event.data);
    this.worker.onerror = (event) => this.fail(new Error(`the engine failed: ${event.message}`));
  }

  receive(message) {
    if (message.type === "output") {
      for (const line of message.text.split("\n")) if (line !== "") this.lines.push(line);
      this.deliver();
    } else if (message.type === "progress") {
      this.onProgress?.({what: message.what, received: message.received, total: message.total});
    } else if (message.type === "loaded") {
      this.onLoaded?.();
    } else if (message.type === "book-wait") {
      this.onBookWait?.({what: message.what, error: message.error, attempt: message.attempt});
    } else if (message.type === "book-back") {
      this.onBookBack?.();
    } else if (message.type === "books-complete") {
      this.onBooksComplete?.();
    } else if (message.type === "log") {
      for (const resolve of this.logWaiters.splice(0)) resolve(message.bytes);
    } else if (message.type === "exit") {
      for (const resolve of this.exitWaiters.splice(0)) resolve(message.status);
      this.fail(new Error(`the engine stopped (exit status ${message.status})`));
    }
  }

  fail(error) {
    this.failure = error;
    this.deliver();
  }

  deliver() {
    if (this.waiting === null) return;
    if (this.lines.length > 0) {
      const {resolve} = this.waiting;
      this.waiting = null;
      resolve(this.lines.shift());
    } else if (this.failure !== null) {
      const {reject} = this.waiting;
      this.waiting = null;
      reject(this.failure);
    }
  }

  nextLine() {
    return new Promise((resolve, reject) => {
      this.waiting = {resolve, reject};
      this.deliver();
    });
  }

  send(command) {
    this.worker.postMessage({type: "command", text: `${command}\n`});
  }

  // Sends the command and returns the lines up to and including the first that `last` accepts.
  // An exchange begins once the one before it has its answer, so that no answer is taken for
  // another's (a new game may begin while the engine still thinks about the last one's move).
  ask(command, last) {
    const exchange = this.queue.then(async () => {
      this.send(command);
      const lines = [];
      for (;;) {
        const line = await this.nextLine();
        lines.push(line);
        if (last(line)) return lines;
      }
    });
    this.queue = exchange.catch(() => {});
    return exchange;
  }

  async start() {
    const lines = await this.ask("uci", (line) => line === "uciok");
    return lines.find((line) => line.startsWith("id name "))?.slice("id name ".length) ?? "";
  }

  // The engine's move for the position that the "position ..." command sets: its UCI text and
  // its source ("BookMove", "SolveMate" or "BestMove"); a refused FEN gets "a1a1" and no source.
  async bestMove(positionCommand) {
    const lines = await this.ask(`${positionCommand}\ngo`, (line) => line.startsWith("bestmove "));
    const info = lines.filter((line) => line.startsWith("info ")).pop();
    return {move: lines[lines.length - 1].slice("bestmove ".length), source: info ? info.slice("info ".length) : null};
  }

  // Comes after the exchanges already asked for (the first "uci" among them).
  newGame() {
    this.queue = this.queue.then(() => this.send("ucinewgame"));
  }

  // Ends the engine's run as "quit" does, which completes its log, and returns the log's bytes.
  async quit() {
    const exited = new Promise((resolve) => this.exitWaiters.push(resolve));
    this.send("quit");
    await exited;
    const bytes = await this.log();
    this.worker.terminate();
    return bytes;
  }

  // Ends the run at once, as a GUI ends an engine it no longer needs; what is still asked fails.
  stop() {
    this.worker.terminate();
    this.fail(new Error("the engine's run was ended"));
  }

  // The bytes of brindlet.log as the worker's file holds them now.
  log() {
    return new Promise((resolve) => {
      this.logWaiters.push(resolve);
      this.worker.postMessage({type: "log"});
    });
  }
}
