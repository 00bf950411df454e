// One UCI engine process driven through node-uci, with the guards a GUI needs:
// every answer must come within a deadline, and a crash or a garbled line ends the
// wait at once instead of leaving node-uci listening for a bestmove that never comes.
import nodeUci from 'node-uci';

const { Engine } = nodeUci;

export class PlayerFailure extends Error {}

// node-uci parses only the info fields of the UCI grammar, so an engine's own info
// lines never reach its go() result; the raw output is kept here beside it.
export class UciPlayer {
  constructor({ name, path, cwd, timeoutMs, expectedLine }) {
    this.name = name;
    this.path = path;
    this.cwd = cwd ?? process.cwd();
    this.timeoutMs = timeoutMs;
    // Optional test for every output line; a line it refuses fails the player.
    this.expectedLine = expectedLine;
    this.lines = [];
    this.partial = '';
    this.failure = null;
    this.rejectWaiting = null;
    this.exit = null;
  }

  async start() {
    this.engine = new Engine(this.path);
    // node-uci spawns in the current directory and offers no other, so the runner
    // steps into the player's directory just for the synchronous spawn.
    const home = process.cwd();
    process.chdir(this.cwd);
    let ready;
    try {
      ready = this.engine.init();
    } finally {
      process.chdir(home);
    }
    const proc = this.engine.proc;
    this.proc = proc;
    proc.stdout.on('data', (chunk) => this.onOutput(chunk));
    proc.on('exit', (code, signal) => {
      this.exit = { code, signal };
      if (!this.quitting) this.fail(`${this.name} exited (code ${code}, signal ${signal})`);
    });
    proc.on('error', (err) => this.fail(`${this.name} could not run: ${err.message}`));
    proc.stdin.on('error', () => {}); // a dead child shows up through 'exit'
    await this.guard(ready, 'uci');
  }

  onOutput(chunk) {
    this.partial += chunk;
    let end;
    while ((end = this.partial.indexOf('\n')) >= 0) {
      // A line ends in LF alone: a CR left before it is part of the line, as a POSIX
      // runner sees it, and fails the line test.
      const line = this.partial.slice(0, end);
      this.partial = this.partial.slice(end + 1);
      this.lines.push(line);
      if (this.expectedLine && !this.expectedLine(line)) {
        this.fail(`${this.name} wrote an unexpected line: ${JSON.stringify(line)}`);
      }
    }
  }

  fail(message) {
    if (this.failure) return;
    this.failure = new PlayerFailure(message);
    if (this.rejectWaiting) this.rejectWaiting(this.failure);
  }

  // Waits for one node-uci call, bounded by the deadline and by any failure seen meanwhile.
  async guard(promise, what) {
    // The call is already made: its promise may reject later (node-uci rejects with the
    // exit code once the process closes), whether it loses the race below or is never
    // raced because a failure came first. That rejection must not surface on its own.
    promise.catch(() => {});
    if (this.failure) throw this.failure;
    let timer;
    const stop = new Promise((_, reject) => {
      this.rejectWaiting = reject;
      timer = setTimeout(
        () => reject(new PlayerFailure(`${this.name} gave no answer to ${what} within ${this.timeoutMs} ms`)),
        this.timeoutMs,
      );
    });
    try {
      return await Promise.race([promise, stop]);
    } catch (err) {
      if (err instanceof PlayerFailure) throw err;
      throw this.failure ?? new PlayerFailure(`${this.name} failed during ${what}: ${err?.message ?? err}`);
    } finally {
      clearTimeout(timer);
      this.rejectWaiting = null;
    }
  }

  async setOption(name, value) {
    await this.guard(this.engine.setoption(name, value), `setoption ${name}`);
  }

  async newGame() {
    await this.guard(this.engine.ucinewgame(), 'ucinewgame');
  }

  // Sends the game so far and one go; returns the move text and the lines the engine
  // wrote between go and its bestmove (inclusive).
  async bestMove(moves, goOptions = {}) {
    await this.guard(this.engine.position('startpos', moves), 'position');
    const mark = this.lines.length;
    const started = process.hrtime.bigint();
    const result = await this.guard(this.engine.go(goOptions), 'go');
    const elapsedMs = Number(process.hrtime.bigint() - started) / 1e6;
    // node-uci resolves on the bestmove line; the raw listener may still be behind by a
    // chunk or more on a busy machine, so wait (briefly) until it has seen that line too.
    const seen = () => this.lines.slice(mark).some((l) => l.startsWith('bestmove'));
    for (let waited = 0; !seen() && waited < 2000; waited += 5) {
      await new Promise((resolve) => setTimeout(resolve, 5));
    }
    const answer = this.lines.slice(mark);
    const last = answer.findIndex((l) => l.startsWith('bestmove'));
    const said = last < 0 ? '' : answer[last].replace(/ ponder \S+$/, '');
    if (said !== `bestmove ${result.bestmove}`) {
      throw new PlayerFailure(`${this.name} answered go with a garbled bestmove: ${JSON.stringify(answer)}`);
    }
    return { move: result.bestmove, lines: answer.slice(0, last + 1), elapsedMs };
  }

  // Ends the process with "quit" and returns its exit status (or the signal's name).
  async quit() {
    if (!this.proc || this.exit) return this.exit;
    this.quitting = true;
    const exited = new Promise((resolve) => {
      if (this.exit) resolve();
      else this.proc.once('exit', () => resolve());
    });
    this.proc.stdin.write('quit\n');
    await this.guard(exited, 'quit');
    return this.exit;
  }

  kill() {
    this.quitting = true;
    if (this.proc && !this.exit) this.proc.kill('SIGKILL');
  }
}
