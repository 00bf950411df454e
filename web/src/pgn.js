// A game as PGN, written for other programs (the seven standard tags, SetUp and FEN for a game
// from a position, a Termination, each of Brindlet's moves commented with its source), and a
// FEN or PGN read from a person's paste or file: the position it ends at, checked as a position
// opened by address is, or what is wrong with it, and where.
import {Chess} from "chess.js";
import {RefusedPosition, START_FEN, quote, readFen} from "./position.js";
import {SOURCE_NAMES, plyLabel} from "./words.js";

export const MAX_IMPORT_LENGTH = 2_000_000;
// The longest main line read: longer than any game played, short enough never to freeze the page.
export const MAX_IMPORT_PLIES = 3000;

const pad = (number) => String(number).padStart(2, "0");

// "brindlet-2026-12-10-0142.pgn", after the time the game began.
export function pgnFileName(game) {
  const date = new Date(game.startedAt);
  return `brindlet-${date.getFullYear()}-${pad(date.getMonth() + 1)}-${pad(date.getDate())}-` +
    `${pad(date.getHours())}${pad(date.getMinutes())}.pgn`;
}

const tagValue = (text) => String(text).replace(/[\\"]/g, "\\$&");

export function writePgn(game, engineName) {
  const date = new Date(game.startedAt);
  const person = "Player";
  const tags = [
    ["Event", "Game against Brindlet"],
    ["Site", typeof location === "object" ? location.origin + location.pathname : "?"],
    ["Date", `${date.getFullYear()}.${pad(date.getMonth() + 1)}.${pad(date.getDate())}`],
    ["Round", "-"],
    ["White", game.person === "w" ? person : engineName],
    ["Black", game.person === "b" ? person : engineName],
    ["Result", game.score()],
  ];
  if (game.startFen !== START_FEN) tags.push(["SetUp", "1"], ["FEN", game.startFen]);
  tags.push(["Termination", game.hasEnded() ? "normal" : "unterminated"]);
  const tokens = [];
  let comment = true;  // a move number is written before each White move and after a comment
  game.moves.forEach((move, index) => {
    const label = plyLabel(game.startFen, index + 1, move.san);
    const white = !label.includes("...");
    tokens.push(white || comment ? label : move.san);
    comment = move.by === "engine";
    if (comment) tokens.push(`{${SOURCE_NAMES[move.source] ?? move.source}}`);
  });
  const result = game.result();
  if (result !== null) tokens.push(`{${result.replace(/, \S+$/, "")}.}`);
  tokens.push(game.score());
  // Lines of at most 79 characters, as PGN's export form has them.
  const lines = [];
  let line = "";
  for (const token of tokens) {
    if (line !== "" && line.length + 1 + token.length > 79) {
      lines.push(line);
      line = token;
    } else {
      line = line === "" ? token : `${line} ${token}`;
    }
  }
  lines.push(line);
  return `${tags.map(([name, value]) => `[${name} "${tagValue(value)}"]`).join("\n")}\n\n${lines.join("\n")}\n`;
}

// The parts of PGN's movetext, in order: comments, variations, NAGs, move numbers and results
// are told apart from the moves.
const TOKEN = /\s+|\{[^}]*\}?|;[^\n]*|\(|\)|\$\d+|\d+\.+|1-0|0-1|1\/2-1\/2|\*|[^\s{}();$]+/y;

// The final position of a pasted FEN (four or six fields) or PGN (its first game, main line):
// {fen, kind: "position" or "pgn"} checked by readFen, or {error} in a sentence.
export function readImport(text) {
  if (text.length > MAX_IMPORT_LENGTH) return {error: `The text is longer than ${MAX_IMPORT_LENGTH / 1e6} MB.`};
  const trimmed = text.trim();
  if (trimmed === "") return {error: "There is nothing to read: paste a FEN or a PGN, or choose a file."};
  if (!trimmed.includes("\n") && !trimmed.startsWith("[") && /^\S+\/\S+ [wb]( |$)/.test(trimmed)) {
    return {...checked(trimmed, "This FEN"), kind: "position"};
  }
  const tags = {};
  let at = 0;
  for (const match of trimmed.matchAll(/^\s*\[(\w+)\s+"((?:[^"\\]|\\.)*)"\s*\]\s*$/gm)) {
    if (match.index !== at && trimmed.slice(at, match.index).trim() !== "") break;
    tags[match[1]] = match[2].replace(/\\(.)/g, "$1");
    at = match.index + match[0].length;
  }
  let chess;
  if (tags.FEN !== undefined) {
    const start = checked(tags.FEN, "The FEN tag's position");
    if (start.error) return start;
    chess = new Chess(start.fen);
  } else {
    chess = new Chess();
  }
  const movetext = trimmed.slice(at);
  let depth = 0;
  let plies = 0;
  TOKEN.lastIndex = 0;
  for (let match = TOKEN.exec(movetext); match !== null; match = TOKEN.exec(movetext)) {
    const token = match[0];
    if (token === "(") depth += 1;
    else if (token === ")") depth = Math.max(0, depth - 1);
    if (depth > 0 || /^(\s|\{|;|\(|\)|\$|\d+\.)/.test(token)) continue;
    if (/^(1-0|0-1|1\/2-1\/2|\*)$/.test(token)) break;
    if (token.startsWith("[")) break;  // the next game's tags
    if (plies >= MAX_IMPORT_PLIES) return {error: `The game is longer than ${MAX_IMPORT_PLIES} moves of either side.`};
    const san = token.replace(/[!?]+$/, "").replace(/^0-0(-0)?/, (castle) => castle.replaceAll("0", "O"));
    const label = plyLabel(chess.fen(), 1, quote(token));
    try {
      chess.move(san);
    } catch {
      if (plies === 0 && Object.keys(tags).length === 0 && !/^\d/.test(trimmed)) {
        return {error: `“${quote(trimmed)}” is neither a FEN nor a PGN the page can read.`};
      }
      return {error: `Move ${label} is not a legal move in the position before it.`};
    }
    plies += 1;
  }
  const what = plies === 0 ? "The position" : `The position after ${plies === 1 ? "its move" : `its ${plies} moves`}`;
  return {kind: "pgn", ...checked(chess.fen(), what)};
}

function checked(fen, what) {
  try {
    return {fen: readFen(fen)};
  } catch (error) {
    if (!(error instanceof RefusedPosition)) throw error;
    return {error: `${what} is refused, not repaired, so that the text keeps its meaning: ${error.message}.`};
  }
}
