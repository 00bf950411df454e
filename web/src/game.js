// The game on the page, kept by chess.js: the position it began at, each move with who played it
// (and, for Brindlet's, its source) and the position after it, a resignation, and how the game
// ended. Moves can be taken back; the stored form is what the device keeps of it.
import {Chess} from "chess.js";
import {START_FEN} from "./position.js";
import {COLOUR_NAMES, moveWords} from "./words.js";

const BY = new Set(["person", "engine"]);

export class Game {
  // `fen` is one that readFen has written, or the start position; `person` the person's colour.
  constructor(fen = START_FEN, person = "w") {
    this.startFen = fen;
    this.person = person;
    this.chess = new Chess(fen);
    this.moves = [];  // {uci, san, words, by: "person" | "engine", source, fen, captured, check}
    this.resigned = null;  // the colour that resigned
    this.began = "start";  // "start", "position" (a FEN) or "pgn"
    this.startedAt = Date.now();
    this.id = `${this.startedAt.toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
  }

  turn() {
    return this.chess.turn();
  }

  fen() {
    return this.chess.fen();
  }

  // The position after `ply` moves (0: the start), as a chess.js game of its own.
  positionAt(ply) {
    return new Chess(ply === 0 ? this.startFen : this.moves[ply - 1].fen);
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

  // Plays a move given as UCI text ("e7e8q"); returns it, or null when it is not legal here.
  play(uci, by, source = null) {
    let played;
    try {
      played = this.chess.move({from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci.slice(4, 5) || undefined});
    } catch {
      return null;
    }
    const move = {uci: played.lan, san: played.san, words: moveWords(played), by, source, fen: this.chess.fen(),
      captured: Boolean(played.captured), check: /[+#]$/.test(played.san)};
    this.moves.push(move);
    return move;
  }

  // Takes back the last move; returns it.
  undo() {
    this.chess.undo();
    return this.moves.pop();
  }

  resign() {
    this.resigned = this.person;
  }

  hasEnded() {
    return this.result() !== null;
  }

  // How the game ended, or null while it goes on: "Checkmate: White wins, 1-0".
  result() {
    const chess = this.chess;
    if (this.resigned !== null) {
      const winner = COLOUR_NAMES[this.resigned === "w" ? "b" : "w"];
      return `${COLOUR_NAMES[this.resigned]} resigns: ${winner} wins, ${this.resigned === "w" ? "0-1" : "1-0"}`;
    }
    if (chess.isCheckmate()) {
      return chess.turn() === "w" ? "Checkmate: Black wins, 0-1" : "Checkmate: White wins, 1-0";
    }
    if (chess.isStalemate()) return "Stalemate: draw, ½-½";
    if (chess.isInsufficientMaterial()) return "Draw by insufficient material, ½-½";
    if (chess.isThreefoldRepetition()) return "Draw by threefold repetition, ½-½";
    if (chess.isDrawByFiftyMoves()) return "Draw by the fifty-move rule, ½-½";
    return null;
  }

  // The result as PGN writes it: "1-0", "0-1", "1/2-1/2" or "*".
  score() {
    const result = this.result();
    return result === null ? "*" : result.slice(result.lastIndexOf(" ") + 1).replace("½-½", "1/2-1/2");
  }

  toStored() {
    return {id: this.id, startFen: this.startFen, person: this.person, began: this.began, startedAt: this.startedAt,
      resigned: this.resigned, moves: this.moves.map(({uci, by, source}) => ({uci, by, source}))};
  }

  // The game of a stored form, each move played again; throws an Error saying what is wrong.
  static fromStored(data) {
    if (typeof data !== "object" || data === null) throw new Error("it is not a game");
    const {startFen, person, began, startedAt, resigned, moves} = data;
    if (typeof startFen !== "string" || !["w", "b"].includes(person) || !Array.isArray(moves)) {
      throw new Error("its start position, colour or moves are missing");
    }
    let game;
    try {
      game = new Game(startFen, person);
    } catch {
      throw new Error("its start position cannot be read");
    }
    game.began = ["start", "position", "pgn"].includes(began) ? began : "position";
    if (Number.isFinite(startedAt)) game.startedAt = startedAt;
    if (typeof data.id === "string") game.id = data.id;
    for (const [index, move] of moves.entries()) {
      const ok = typeof move?.uci === "string" && BY.has(move.by) && game.play(move.uci, move.by,
        typeof move.source === "string" ? move.source : null) !== null;
      if (!ok) throw new Error(`its move ${index + 1} is not legal`);
    }
    if (resigned === "w" || resigned === "b") game.resigned = resigned;
    return game;
  }
}
