// Checks the PGN that an xboard match saved: every game must be there, finished, and
// ended by the play itself, not by a fault of an engine; chess.js replays every move.
//
//   node check_match.mjs MATCH_PGN GAMES ENGINE_NAME
//
// Prints one line per game and the engine's score; exit status 1 on any fault.
import { readFileSync, existsSync } from 'node:fs';
import { Chess } from 'chess.js';

const [pgnPath, gamesText, engineName] = process.argv.slice(2);
if (!pgnPath || !gamesText || !engineName) {
  console.error('usage: node check_match.mjs MATCH_PGN GAMES ENGINE_NAME');
  process.exit(2);
}
const expected = Number(gamesText);

// The words xboard uses when a game ends through an engine's fault rather than on the board.
const FAULTS = [
  /illegal/i,
  /crash/i,
  /disconnect/i,
  /connection lost/i,
  /time forfeit/i,
  /loses on time/i,
  /wins on time/i,
  /false (draw|win|mate)? ?claim/i,
  /terminated/i,
  /exited/i,
  /abort/i,
];
// How a game may end: the board decides, or xboard adjudicates a long or dead game.
const ENDINGS = /checkmate|mates|stalemate|repetition|50-move|fifty|insufficient|material|draw|resigns|adjudication/i;

function splitGames(text) {
  return text
    .split(/\r?\n(?=\[Event )/)
    .map((g) => g.trim())
    .filter((g) => g.startsWith('[Event '));
}

function header(game, tag) {
  return new RegExp(`^\\[${tag} "([^"]*)"\\]`, 'm').exec(game)?.[1];
}

// The last brace comment of the move text: xboard's reason for the result.
function termination(game) {
  const comments = [...game.matchAll(/\{([^}]*)\}/g)];
  return comments.length ? comments[comments.length - 1][1].replace(/\s+/g, ' ').trim() : '';
}

const problems = [];
const games = existsSync(pgnPath) ? splitGames(readFileSync(pgnPath, 'utf8')) : [];
if (games.length !== expected) problems.push(`${games.length} of ${expected} games were saved: the match did not finish`);

const score = { win: 0, draw: 0, loss: 0 };
games.forEach((game, i) => {
  const label = `game ${i + 1}`;
  const white = header(game, 'White');
  const black = header(game, 'Black');
  const result = header(game, 'Result');
  const reason = termination(game);
  const ours = white === engineName ? 'w' : black === engineName ? 'b' : null;
  const faults = FAULTS.filter((f) => f.test(reason));
  if (!ours) problems.push(`${label}: ${engineName} is neither White (${white}) nor Black (${black})`);
  if (!['1-0', '0-1', '1/2-1/2'].includes(result)) problems.push(`${label}: not finished (result ${result})`);
  if (faults.length) problems.push(`${label}: ended by a fault: {${reason}} ${result}`);
  else if (!ENDINGS.test(reason)) problems.push(`${label}: ended for no reason xboard gives for a finished game: {${reason}}`);

  const chess = new Chess();
  try {
    // xboard writes the engine's score and the reason as two comments in a row,
    // which chess.js's parser refuses; the moves are all that is replayed.
    chess.loadPgn(game.replace(/\{[^}]*\}/g, ' '));
  } catch (err) {
    problems.push(`${label}: chess.js refuses the moves: ${err.message}`);
    return;
  }
  if (/checkmate|mates/i.test(reason) && !chess.isCheckmate()) {
    problems.push(`${label}: xboard says checkmate but the final position ${chess.fen()} is not`);
  }
  if (result === '1/2-1/2') score.draw += 1;
  else if (result === '1-0' || result === '0-1') score[(result === '1-0') === (ours === 'w') ? 'win' : 'loss'] += 1;
  console.log(`${label}: ${white} - ${black} ${result} {${reason}} ${chess.history().length} plies`);
});

console.log(`score of ${engineName}: +${score.win} =${score.draw} -${score.loss} in ${games.length} games`);
for (const p of problems) console.log(`FAULT: ${p}`);
process.exit(problems.length === 0 ? 0 : 1);
