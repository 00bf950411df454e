// The game on the page, kept by chess.js: the start position, the moves in UCI and SAN with who
// played them, and how the game ended. Also what the page reads from people: a position given
// by address (readAddressFen) and a move typed as text (Game.findTypedMove), and the words a
// screen reader says for a move (moveWords).
import {Chess} from "chess.js";

export const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The longest address text read at all, and how much of a refused one is quoted.
export const MAX_FEN_LENGTH = 256;
const QUOTED_LENGTH = 100;
// The largest move counters the engine keeps (it holds them as signed 32-bit numbers, which
// stop there); chess.js would count on, and past 2^53 read them inexactly or as Infinity.
export const MAX_COUNTER = 2147483647;

const PIECE_NAMES = {p: "pawn", n: "knight", b: "bishop", r: "rook", q: "queen", k: "king"};
const COLOUR_NAMES = {w: "White", b: "Black"};
const SOURCE_WORDS = {BookMove: "from its book", SolveMate: "from its mate solver", BestMove: "from its search"};

// A position that the page does not play, with the reason in words.
export class RefusedPosition extends Error {}

// The first 100 characters of a text, marked when there is more.
export function quote(text) {
  return text.length > QUOTED_LENGTH ? `${text.slice(0, QUOTED_LENGTH)}…` : text;
}

function boardSquares(chess) {
  const squares = [];
  for (const row of chess.board()) for (const piece of row) if (piece !== null) squares.push(piece);
  return squares;
}

// The position a person gives by address, as the FEN that the engine is sent: six fields joined
// by single blanks, written from what chess.js read (it fills missing counters with "0 1").
// Positions that no game can reach in a way that would break play are refused, not repaired:
// a repaired position would no longer be the one the text names. Throws RefusedPosition.
export function readAddressFen(text) {
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

// A move in words a screen reader reads well: "knight takes f3, check".
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
  return SOURCE_WORDS[source] ?? `from its ${source}`;
}

export class Game {
  // `fen` is one that readAddressFen has written, or the start position.
  constructor(fen = START_FEN) {
    this.startFen = fen;
    this.chess = new Chess(fen);
    this.moves = [];  // {uci, san, words, by: "person" | "engine", source}
  }

  turn() {
    return this.chess.turn();
  }

  fen() {
    return this.chess.fen();
  }

  // The UCI command that sets up this game for the engine.
  positionCommand() {
    const moves = this.moves.map((move) => move.uci);
    const start = this.startFen === START_FEN ? "position startpos" : `position fen ${this.startFen}`;
    return moves.length > 0 ? `${start} moves ${moves.join(" ")}` : start;
  }

  legalMovesFrom(square) {
    return this.chess.moves({square, verbose: true});
  }

  isPromotion(from, to) {
    return this.legalMovesFrom(from).some((move) => move.to === to && move.promotion);
  }

  pieceAt(square) {
    return this.chess.get(square) ?? null;
  }

  // Plays a move given as UCI text ("e7e8q"); returns it, or null when it is not legal here.
  play(uci, by, source = null) {
    let played;
    try {
      played = this.chess.move({from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci.slice(4, 5) || undefined});
    } catch {
      return null;
    }
    const move = {uci: played.lan, san: played.san, words: moveWords(played), by, source};
    this.moves.push(move);
    return move;
  }

  // A move typed as SAN (Nf3, exd5, e8=Q, O-O) or in coordinates (e2e4, e7e8q): {uci} for the
  // one legal move it names, or {error} saying why it names none or more than one.
  findTypedMove(text) {
    const typed = text.trim().replace(/[+#!?]+$/, "");
    const legal = this.chess.moves({verbose: true});
    const shown = quote(text.trim());
    let candidates;
    let coordinates = /^([a-h][1-8])[-x]?([a-h][1-8])=?([qrbn])?$/i.exec(typed);
    const castles = /^([o0])-\1(-\1)?$/i.exec(typed);
    const san = /^([NBRQK])?([a-h])?([1-8])?x?([a-h][1-8])(?:=?([NBRQnbrq]))?$/.exec(typed);
    if (coordinates) {
      const [, from, to, promotion] = coordinates.map((part) => part?.toLowerCase());
      candidates = legal.filter((move) => move.from === from && move.to === to && (!promotion || move.promotion === promotion));
    } else if (castles) {
      const flag = castles[2] ? "q" : "k";
      candidates = legal.filter((move) => move.piece === "k" && move.flags.includes(flag));
    } else if (san) {
      const [, piece, file, rank, to, promotion] = san;
      candidates = legal.filter((move) => move.piece === (piece ?? "P").toLowerCase() && move.to === to &&
        (!file || move.from[0] === file) && (!rank || move.from[1] === rank) &&
        (!promotion || move.promotion === promotion.toLowerCase()));
    } else if (typed === "") {
      return {error: "Type a move first, such as e4, Nf3, O-O or e2e4."};
    } else {
      return {error: `“${shown}” is not a move the page can read: type it as e4, Nf3, exd5, e8=Q, O-O or e2e4.`};
    }
    if (candidates.length === 0) return {error: `“${shown}” is not a legal move here.`};
    if (candidates.length > 1) {
      if (candidates.every((move) => move.promotion && move.from === candidates[0].from && move.to === candidates[0].to)) {
        const {from, to} = candidates[0];
        return {error: `“${shown}” needs the piece the pawn becomes: for example ${to}=Q or ${from}${to}q.`};
      }
      const names = candidates.map((move) => move.san);
      return {error: `“${shown}” is ambiguous: it could be ${names.slice(0, -1).join(", ")} or ${names[names.length - 1]}.`};
    }
    return {uci: candidates[0].lan};
  }

  // The position in words, piece by piece: "White: king e1, pawns a2 and b2. Black: …".
  positionWords() {
    const parts = [];
    for (const color of ["w", "b"]) {
      const pieces = boardSquares(this.chess).filter((piece) => piece.color === color);
      const kinds = [];
      for (const type of ["k", "q", "r", "b", "n", "p"]) {
        const squares = pieces.filter((piece) => piece.type === type).map((piece) => piece.square).sort();
        if (squares.length === 0) continue;
        const name = squares.length > 1 ? `${PIECE_NAMES[type]}s` : PIECE_NAMES[type];
        kinds.push(`${name} ${squares.length > 1 ? `${squares.slice(0, -1).join(", ")} and ${squares[squares.length - 1]}` : squares[0]}`);
      }
      parts.push(`${COLOUR_NAMES[color]}: ${kinds.join("; ")}.`);
    }
    parts.push(`${COLOUR_NAMES[this.turn()]} to move.`);
    return parts.join(" ");
  }

  // How the game ended, or null while it goes on.
  result() {
    const chess = this.chess;
    if (chess.isCheckmate()) {
      return chess.turn() === "w" ? "Checkmate: Black wins, 0-1" : "Checkmate: White wins, 1-0";
    }
    if (chess.isStalemate()) return "Stalemate: draw, ½-½";
    if (chess.isInsufficientMaterial()) return "Draw by insufficient material, ½-½";
    if (chess.isThreefoldRepetition()) return "Draw by threefold repetition, ½-½";
    if (chess.isDrawByFiftyMoves()) return "Draw by the fifty-move rule, ½-½";
    return null;
  }
}
