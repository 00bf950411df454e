// The words the page says for what happens on the board: a move ("knight takes f3, check"), where
// a move came from, the position piece by piece, and a ply's label in the move list ("3... Nc6").
import {boardSquares} from "./position.js";

export const PIECE_NAMES = {p: "pawn", n: "knight", b: "bishop", r: "rook", q: "queen", k: "king"};
export const COLOUR_NAMES = {w: "White", b: "Black"};
export const SOURCE_NAMES = {BookMove: "book", SolveMate: "mate solver", BestMove: "search"};

export function moveWords(move) {
  let words;
  if (move.flags.includes("k")) words = "castles king-side";
  else if (move.flags.includes("q")) words = "castles queen-side";
  else {
    words = `${PIECE_NAMES[move.piece]} ${move.captured ? "takes" : "to"} ${move.to}`;
    if (move.flags.includes("e")) words += " en passant";
    if (move.promotion) words += `, promotes to ${PIECE_NAMES[move.promotion]}`;
  }
  if (move.san.endsWith("#")) words += ", checkmate";
  else if (move.san.endsWith("+")) words += ", check";
  return words;
}

export function sourceWords(source) {
  return `from its ${SOURCE_NAMES[source] ?? source}`;
}

// "3. e4" or "3... Nc6": the move number of ply `ply` (1 for the first move of the game) counted
// from the FEN the game began at.
export function plyLabel(startFen, ply, san) {
  const [, turn, , , , fullMove] = startFen.split(" ");
  const index = ply - 1 + (turn === "b" ? 1 : 0);
  const number = Number(fullMove) + Math.floor(index / 2);
  return `${number}.${index % 2 === 0 ? "" : ".."} ${san}`;
}

// The position in words, piece by piece: "White: king e1, pawns a2 and b2. Black: …".
export function positionWords(chess) {
  const parts = [];
  for (const color of ["w", "b"]) {
    const pieces = boardSquares(chess).filter((piece) => piece.color === color);
    const kinds = [];
    for (const type of ["k", "q", "r", "b", "n", "p"]) {
      const squares = pieces.filter((piece) => piece.type === type).map((piece) => piece.square).sort();
      if (squares.length === 0) continue;
      const name = squares.length > 1 ? `${PIECE_NAMES[type]}s` : PIECE_NAMES[type];
      kinds.push(`${name} ${squares.length > 1 ? `${squares.slice(0, -1).join(", ")} and ${squares[squares.length - 1]}` : squares[0]}`);
    }
    parts.push(`${COLOUR_NAMES[color]}: ${kinds.join("; ")}.`);
  }
  parts.push(`${COLOUR_NAMES[chess.turn()]} to move.`);
  return parts.join(" ");
}
