// What the page reads as a position: a FEN given by address or pasted (readFen), checked as
// the engine would need it. Positions that no game can reach in a way that would break play are
// refused with the reason in words, not repaired.
import {Chess} from "chess.js";

export const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The longest address text read at all, and how much of a refused one is quoted.
export const MAX_FEN_LENGTH = 256;
const QUOTED_LENGTH = 100;
// The largest move counters the engine keeps (it holds them as signed 32-bit numbers, which
// stop there); chess.js would count on, and past 2^53 read them inexactly or as Infinity.
export const MAX_COUNTER = 2147483647;

const COLOUR_NAMES = {w: "White", b: "Black"};

// A position that the page does not play, with the reason in words.
export class RefusedPosition extends Error {}

// The first 100 characters of a text, marked when there is more.
export function quote(text) {
  return text.length > QUOTED_LENGTH ? `${text.slice(0, QUOTED_LENGTH)}…` : text;
}

export function boardSquares(chess) {
  const squares = [];
  for (const row of chess.board()) for (const piece of row) if (piece !== null) squares.push(piece);
  return squares;
}

// The position a person gives by address, as the FEN that the engine is sent: six fields joined
// by single blanks, written from what chess.js read (it fills missing counters with "0 1").
// Positions that no game can reach in a way that would break play are refused, not repaired:
// a repaired position would no longer be the one the text names. Throws RefusedPosition.
export function readFen(text) {
  if (text.length > MAX_FEN_LENGTH) throw new RefusedPosition(`it is longer than ${MAX_FEN_LENGTH} characters`);
  // eslint-disable-next-line no-control-regex
  if (/[\u0000-\u001f\u007f-\u009f]/.test(text)) {
    throw new RefusedPosition("it holds a control character (a line break, a tab or the like)");
  }
  const trimmed = text.trim();
  let chess;
  try {
    chess = new Chess(trimmed);
  } catch (error) {
    throw new RefusedPosition(`it is not a FEN that chess.js can read (${error.message.replace(/^Invalid FEN: /, "")})`);
  }
  // chess.js's own fill, as it reads the text: missing counters are "0 1".
  const read = trimmed.split(/\s+/);
  const [, turn, castling, enPassant, halfMoves, fullMoves] = [...read, ...["-", "-", "0", "1"].slice(read.length - 2)];
  for (const [name, value] of [["half-move clock", halfMoves], ["full-move number", fullMoves]]) {
    if (!/^\d+$/.test(value)) throw new RefusedPosition(`its ${name} "${quote(value)}" is not a plain number`);
    if (value.length > 10 || Number(value) > MAX_COUNTER) {
      throw new RefusedPosition(`its ${name} is past ${MAX_COUNTER}, the largest the engine keeps`);
    }
  }

  const at = (square) => chess.get(square) ?? null;
  const is = (square, color, type) => at(square)?.color === color && at(square)?.type === type;
  const other = turn === "w" ? "b" : "w";
  const king = boardSquares(chess).find((piece) => piece.type === "k" && piece.color === other);
  if (chess.isAttacked(king.square, turn)) {
    throw new RefusedPosition(`${COLOUR_NAMES[other]}, who is not to move, is in check, which no game can reach`);
  }

  if (castling !== "-" && (castling.includes("-") || new Set(castling).size !== castling.length)) {
    throw new RefusedPosition(`its castling field "${castling}" names a right twice or mixes "-" with rights`);
  }
  const homes = {K: ["w", "e1", "h1", "king-side"], Q: ["w", "e1", "a1", "queen-side"],
    k: ["b", "e8", "h8", "king-side"], q: ["b", "e8", "a8", "queen-side"]};
  for (const letter of castling === "-" ? "" : castling) {
    const [color, kingSquare, rookSquare, wing] = homes[letter];
    const whose = `${COLOUR_NAMES[color]} may castle ${wing} (${letter})`;
    if (!is(kingSquare, color, "k")) throw new RefusedPosition(`${whose}, but its king is not on ${kingSquare}`);
    if (!is(rookSquare, color, "r")) throw new RefusedPosition(`${whose}, but no rook of its stands on ${rookSquare}`);
  }

  if (enPassant !== "-") {
    // The pawn of the side not to move that just went two squares: past the en passant square,
    // with the square it left and the one it crossed empty.
    const file = enPassant[0];
    const [passed, landed, left] = turn === "w" ? [`${file}6`, `${file}5`, `${file}7`] : [`${file}3`, `${file}4`, `${file}2`];
    if (!is(landed, other, "p") || at(passed) !== null || at(left) !== null) {
      throw new RefusedPosition(`its en passant square ${enPassant} has no ${COLOUR_NAMES[other]} pawn on ${landed} ` +
        `that could just have come from ${left}`);
    }
  }
  return chess.fen();
}

