// The match check must pass a clean xboard PGN and fail each way a match can go wrong.
// The games are short real games in the form xboard saves them: the engine's score
// comment after a move, then xboard's reason as a second comment.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const checker = new URL('./check_match.mjs', import.meta.url).pathname;

function game({ round, white, black, result, moves, reason }) {
  return [
    '[Event "Computer Chess Game"]',
    '[Site "vm"]',
    `[Round "${round}"]`,
    `[White "${white}"]`,
    `[Black "${black}"]`,
    `[Result "${result}"]`,
    '[TimeControl "40/300"]',
    '',
    `${moves}`,
    `{${reason}} ${result}`,
    '',
  ].join('\n');
}

// Fool's mate with Brindlet as White and the scholar's mate with Brindlet as Black.
const foolsMate = (extra = {}) =>
  game({
    round: 1,
    white: 'Brindlet',
    black: 'stockfish skill 3',
    result: '0-1',
    moves: '1. f3 e5 2. g4 Qh4# {+1000.01/4}',
    reason: 'Xboard adjudication: Checkmate',
    ...extra,
  });
const scholarsMate = (extra = {}) =>
  game({
    round: 2,
    white: 'stockfish skill 3',
    black: 'Brindlet',
    result: '1-0',
    moves: '1. e4 {+0.30/4} e5 2. Bc4 {+0.40/4} Nc6 3. Qh5 {+0.50/4} Nf6 4. Qxf7# {+1000.01/4}',
    reason: 'Xboard adjudication: Checkmate',
    ...extra,
  });

const cases = [
  { name: 'two finished games pass', pgn: [foolsMate(), scholarsMate()], games: 2, status: 0, out: /score of Brindlet: \+0 =0 -2 in 2 games/ },
  { name: 'a missing game means the match did not finish', pgn: [foolsMate()], games: 2, status: 1, out: /1 of 2 games were saved/ },
  { name: 'an unfinished game is refused', pgn: [foolsMate(), scholarsMate({ result: '*', reason: 'Game aborted' })], games: 2, status: 1, out: /game 2: not finished/ },
  {
    name: 'an illegal move forfeit is a fault',
    pgn: [foolsMate({ result: '1-0', moves: '1. f3 e5', reason: 'stockfish skill 3: Illegal move: e8e4' })],
    games: 1,
    status: 1,
    out: /game 1: ended by a fault: \{stockfish skill 3: Illegal move/,
  },
  {
    name: 'a loss on time is a fault',
    pgn: [scholarsMate({ moves: '1. e4 e5', reason: 'Black loses on time' })],
    games: 1,
    status: 1,
    out: /ended by a fault: \{Black loses on time\}/,
  },
  {
    name: 'a crashed engine is a fault',
    pgn: [scholarsMate({ moves: '1. e4 e5', reason: "Brindlet's connection lost: crash" })],
    games: 1,
    status: 1,
    out: /ended by a fault/,
  },
  {
    name: 'a claimed checkmate that is not on the board is refused',
    pgn: [foolsMate({ moves: '1. f3 e5 2. g4 Qf6' })],
    games: 1,
    status: 1,
    out: /xboard says checkmate but the final position .* is not/,
  },
  {
    name: 'a move chess.js cannot play is refused',
    pgn: [foolsMate({ moves: '1. f3 e5 2. g4 Qh5#' })],
    games: 1,
    status: 1,
    out: /game 1: chess.js refuses the moves/,
  },
  {
    name: 'a match without our engine is refused',
    pgn: [foolsMate({ white: 'Fairy-Max' })],
    games: 1,
    status: 1,
    out: /Brindlet is neither White \(Fairy-Max\) nor Black/,
  },
  { name: 'no PGN at all fails', pgn: null, games: 10, status: 1, out: /0 of 10 games were saved/ },
];

for (const c of cases) {
  test(c.name, () => {
    const dir = mkdtempSync(join(tmpdir(), 'brindlet-check-'));
    try {
      const pgn = join(dir, 'match.pgn');
      if (c.pgn) writeFileSync(pgn, c.pgn.join('\n'));
      const run = spawnSync(process.execPath, [checker, pgn, String(c.games), 'Brindlet'], { encoding: 'utf8' });
      assert.equal(run.status, c.status, run.stdout + run.stderr);
      assert.match(run.stdout, c.out);
    } finally {
      rmSync(dir, { recursive: true, force: true });
    }
  });
}
