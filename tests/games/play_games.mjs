// Whole games of Brindlet against Debian's stockfish, the way a GUI plays them:
// node-uci drives both engines, chess.js keeps the game and checks every move.
//
//   node play_games.mjs --engine PATH [--books DIR] [--games 50] [--pgn FILE]
//        [--openings FILE] [--depth 2] [--skill 1] [--max-plies 300] [--timeout-ms 10000]
//        [--work DIR] [--fresh-engine]
//
// Each game starts from its own opening line (played with chess.js first), and the
// engine is white in every other game. It runs in a fresh working directory (under
// --work, default the temp dir) that holds copies of the books. One engine process
// plays all games, as a GUI that reuses its engine does; with --fresh-engine each
// game gets a new one, so the book (closed at its first miss) is asked every game. Any illegal move, crash, silence past the
// deadline or garbled answer from our engine fails the run (exit status 1).
import { copyFileSync, existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { parseArgs } from 'node:util';
import { Chess } from 'chess.js';
import { PlayerFailure, UciPlayer } from './uci_player.mjs';

const { values: args } = parseArgs({
  options: {
    engine: { type: 'string' },
    books: { type: 'string' },
    games: { type: 'string', default: '50' },
    pgn: { type: 'string', default: 'games.pgn' },
    openings: { type: 'string', default: new URL('../data/games/openings/openings.tsv', import.meta.url).pathname },
    stockfish: { type: 'string', default: '/usr/games/stockfish' },
    depth: { type: 'string', default: '2' },
    skill: { type: 'string', default: '1' },
    'max-plies': { type: 'string', default: '300' },
    'timeout-ms': { type: 'string', default: '10000' },
    work: { type: 'string', default: tmpdir() },
    'fresh-engine': { type: 'boolean', default: false },
  },
});
if (!args.engine) {
  console.error('usage: node play_games.mjs --engine PATH [--books DIR] [--games N] [--pgn FILE]');
  process.exit(2);
}
const enginePath = resolve(args.engine);
const gameCount = Number(args.games);
const maxPlies = Number(args['max-plies']);
const timeoutMs = Number(args['timeout-ms']);
const stockfishDepth = Number(args.depth);
const bookNames = ['tourbook.bin', 'mainbook.bin'];

// Our engine writes nothing but these lines; anything else is a fault of its output.
const SOURCES = { 'info BookMove': 'book', 'info SolveMate': 'mate', 'info BestMove': 'search' };
const MOVE_TEXT = /^[a-h][1-8][a-h][1-8][nbrq]?$/;
const OUR_LINES = /^(id name Brindlet|id author .+|uciok|readyok|info (BookMove|SolveMate|BestMove)|bestmove \S+)$/;

function readOpenings(path) {
  return readFileSync(path, 'utf8')
    .split('\n')
    .filter((l) => l.trim() !== '')
    .map((l) => {
      const [eco, name, sans] = l.split('\t');
      return { eco, name, sans: sans.split(' ') };
    });
}

function engineDirectory() {
  const dir = mkdtempSync(join(args.work, 'brindlet-games-'));
  if (args.books) {
    for (const book of bookNames) {
      const source = join(args.books, book);
      if (!existsSync(source)) throw new Error(`${source} is missing (make it with scripts/make-books.sh)`);
      copyFileSync(source, join(dir, book));
    }
  }
  return dir;
}

// The move in chess.js's legal list that a move text names, promotion letter included.
function legalMove(chess, text) {
  if (!MOVE_TEXT.test(text)) return null;
  const [from, to, promotion] = [text.slice(0, 2), text.slice(2, 4), text[4]];
  return chess.moves({ verbose: true }).find((m) => m.from === from && m.to === to && m.promotion === promotion) ?? null;
}

function outcome(chess, plies) {
  if (chess.isCheckmate()) return { result: chess.turn() === 'w' ? '0-1' : '1-0', why: 'checkmate' };
  if (chess.isStalemate()) return { result: '1/2-1/2', why: 'stalemate' };
  if (chess.isInsufficientMaterial()) return { result: '1/2-1/2', why: 'insufficient material' };
  if (chess.isThreefoldRepetition()) return { result: '1/2-1/2', why: 'threefold repetition' };
  if (chess.isDrawByFiftyMoves()) return { result: '1/2-1/2', why: 'fifty-move rule' };
  if (plies >= maxPlies) return { result: '1/2-1/2', why: `adjudicated at ${maxPlies} plies` };
  return null;
}

class Match {
  constructor() {
    this.stats = { wins: 0, draws: 0, losses: 0, book: 0, mate: 0, search: 0, ourMs: 0, ourMoves: 0, slowest: 0 };
    this.failures = [];
    this.failedGames = 0;
    this.pgn = [];
  }

  async startOurs() {
    this.dir = engineDirectory();
    this.ours = new UciPlayer({
      name: 'Brindlet',
      path: enginePath,
      cwd: this.dir,
      timeoutMs,
      expectedLine: (l) => OUR_LINES.test(l),
    });
    await this.ours.start();
  }

  // Our engine must leave on "quit" with status 0; its directory goes with it.
  async stopOurs() {
    const ours = this.ours;
    this.ours = null;
    try {
      const exit = await ours.quit();
      if (exit && (exit.code !== 0 || exit.signal)) {
        throw new PlayerFailure(`Brindlet ended with code ${exit.code}, signal ${exit.signal} after quit`);
      }
    } finally {
      ours.kill();
    }
    rmSync(this.dir, { recursive: true, force: true });
  }

  async startStockfish() {
    // The opponent is the referee, not the engine under test: a short deadline meant for
    // Brindlet's answers would fail a run whenever a busy machine slows its start-up.
    this.stockfish = new UciPlayer({ name: 'stockfish', path: args.stockfish, timeoutMs: Math.max(timeoutMs, 60000) });
    await this.stockfish.start();
    await this.stockfish.setOption('Threads', 1);
    await this.stockfish.setOption('Hash', 16);
    await this.stockfish.setOption('Skill Level', Number(args.skill));
  }

  async stopStockfish() {
    await this.stockfish.quit().catch(() => {});
    this.stockfish.kill();
  }

  async ourMove(moves) {
    const { move, lines, elapsedMs } = await this.ours.bestMove(moves);
    const source = SOURCES[lines[lines.length - 2]];
    if (!source) {
      throw new PlayerFailure(`Brindlet sent no source line before its bestmove: ${JSON.stringify(lines)}`);
    }
    this.stats[source] += 1;
    this.stats.ourMs += elapsedMs;
    this.stats.ourMoves += 1;
    this.stats.slowest = Math.max(this.stats.slowest, elapsedMs);
    return { move, source };
  }

  // Plays from the opening on until the game is over; returns the result and why.
  async playMoves(chess, moves, oursWhite, sources) {
    // A mate-solver answer promises mate in at most three of our moves; stockfish
    // cannot escape a forced mate, so the game must end in our checkmate by then.
    let mateClaim = null;
    let end;
    while (!(end = outcome(chess, moves.length))) {
      const ourTurn = (chess.turn() === 'w') === oursWhite;
      const fen = chess.fen();
      let text;
      if (ourTurn) {
        const { move, source } = await this.ourMove(moves);
        sources[source] += 1;
        text = move;
        if (mateClaim) {
          mateClaim.movesSince += 1;
          if (mateClaim.movesSince >= 3) {
            throw new PlayerFailure(`Brindlet claimed mate in 3 with ${mateClaim.move} in ${mateClaim.fen} but has not mated after 3 moves`);
          }
        } else if (source === 'mate') {
          mateClaim = { move, fen, movesSince: 0 };
        }
      } else {
        text = (await this.stockfish.bestMove(moves, { depth: stockfishDepth })).move;
      }
      const move = legalMove(chess, text);
      if (!move) {
        const who = ourTurn ? 'Brindlet' : 'stockfish';
        if (legalMove(chess, `${text}q`)) {
          throw new PlayerFailure(`${who} sent the promotion ${text} without its letter in ${fen} (position startpos moves ${moves.join(' ')})`);
        }
        throw new PlayerFailure(`${who} played the illegal move ${text} in ${fen} (position startpos moves ${moves.join(' ')})`);
      }
      chess.move(move);
      moves.push(text);
    }

    if (mateClaim && !end.why.startsWith('adjudicated') && !(end.why === 'checkmate' && chess.turn() !== (oursWhite ? 'w' : 'b'))) {
      throw new PlayerFailure(`Brindlet claimed mate in 3 with ${mateClaim.move} in ${mateClaim.fen} but the game ended: ${end.why} ${end.result}`);
    }
    return end;
  }

  async playGame(index, opening) {
    const oursWhite = index % 2 === 0;
    const chess = new Chess();
    for (const san of opening.sans) chess.move(san);
    const moves = chess.history({ verbose: true }).map((m) => m.lan);
    const sources = { book: 0, mate: 0, search: 0 };
    await this.ours.newGame();
    await this.stockfish.newGame();

    let end;
    try {
      end = await this.playMoves(chess, moves, oursWhite, sources);
    } catch (err) {
      // The game so far goes into the PGN too, so that the fault can be replayed.
      if (err instanceof PlayerFailure) this.savePgn(chess, index, opening, oursWhite, { result: '*', why: `failed: ${err.message}` });
      throw err;
    }
    const ourResult = end.result === '1/2-1/2' ? 'draw' : (end.result === '1-0') === oursWhite ? 'win' : 'loss';
    this.stats[{ win: 'wins', draw: 'draws', loss: 'losses' }[ourResult]] += 1;
    this.savePgn(chess, index, opening, oursWhite, end);
    console.log(
      `game ${String(index + 1).padStart(2)}: ${oursWhite ? 'Brindlet-stockfish' : 'stockfish-Brindlet'} ` +
        `${end.result.padEnd(7)} ${ourResult.padEnd(4)} ${end.why}, ${moves.length} plies, ${opening.eco} ${opening.name}; ` +
        `our moves: book ${sources.book}, mate ${sources.mate}, search ${sources.search}`,
    );
  }

  savePgn(chess, index, opening, oursWhite, end) {
    chess.setHeader('Event', 'Brindlet against stockfish');
    chess.setHeader('Site', 'node-uci');
    chess.setHeader('Date', new Date().toISOString().slice(0, 10).replace(/-/g, '.'));
    chess.setHeader('Round', String(index + 1));
    chess.setHeader('White', oursWhite ? 'Brindlet' : `stockfish skill ${args.skill} depth ${stockfishDepth}`);
    chess.setHeader('Black', oursWhite ? `stockfish skill ${args.skill} depth ${stockfishDepth}` : 'Brindlet');
    chess.setHeader('Result', end.result);
    chess.setHeader('ECO', opening.eco);
    chess.setHeader('Opening', opening.name.replace(/"/g, "'"));
    chess.setHeader('Termination', end.why.replace(/"/g, "'"));
    this.pgn.push(chess.pgn());
  }

  async run(openings) {
    const started = Date.now();
    await this.startStockfish();
    for (let i = 0; i < gameCount; i++) {
      // Spread over the whole list, which runs from A00 to E99.
      const opening = openings[gameCount <= openings.length ? Math.floor((i * openings.length) / gameCount) : i % openings.length];
      try {
        if (!this.ours) await this.startOurs();
        await this.playGame(i, opening);
        if (args['fresh-engine']) await this.stopOurs();
      } catch (err) {
        if (!(err instanceof PlayerFailure)) throw err;
        this.failures.push(`game ${i + 1} (${opening.eco} ${opening.name}): ${err.message}`);
        this.failedGames += 1;
        console.log(`game ${String(i + 1).padStart(2)}: FAILED: ${err.message}`);
        console.log(`          the engine's directory (with brindlet.log) is kept: ${this.dir}`);
        // The next game gets fresh processes.
        this.ours?.kill();
        this.ours = null;
        this.stockfish.kill();
        await this.startStockfish();
      }
    }
    if (this.ours) {
      try {
        await this.stopOurs();
      } catch (err) {
        if (!(err instanceof PlayerFailure)) throw err;
        this.failures.push(err.message);
      }
    }
    await this.stopStockfish();
    writeFileSync(args.pgn, this.pgn.join('\n\n') + '\n');
    this.report((Date.now() - started) / 1000);
  }

  report(seconds) {
    const s = this.stats;
    const mean = s.ourMoves ? s.ourMs / s.ourMoves : 0;
    console.log(
      `score of Brindlet: +${s.wins} =${s.draws} -${s.losses} in ${s.wins + s.draws + s.losses} games ` +
        `(${s.wins + s.draws / 2} points) against stockfish skill ${args.skill} depth ${stockfishDepth}`,
    );
    console.log(`our moves by source: book ${s.book}, mate ${s.mate}, search ${s.search} (${s.ourMoves} moves)`);
    console.log(`our answer time per go: mean ${mean.toFixed(1)} ms, slowest ${s.slowest.toFixed(1)} ms`);
    const processes = args['fresh-engine'] ? 'a new engine process each game' : 'one engine process';
    console.log(`${gameCount} games in ${seconds.toFixed(1)} s with ${processes}; PGN in ${resolve(args.pgn)}`);
    for (const f of this.failures) console.log(`FAILURE: ${f}`);
    console.log(`games: ${gameCount - this.failedGames} passed, ${this.failedGames} failed`);
  }
}

const openings = readOpenings(args.openings);
const match = new Match();
try {
  await match.run(openings);
} catch (err) {
  console.error(`run aborted: ${err?.stack ?? err}`);
  match.ours?.kill();
  match.stockfish?.kill();
  process.exit(1);
}
process.exit(match.failures.length === 0 ? 0 : 1);
