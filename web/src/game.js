// The game on the page, kept by chess.js: the start position, the moves in UCI and SAN with who
// played them, and how the game ended.
import {Chess} from "chess.js";

export const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

export class Game {
  // Throws when chess.js cannot set up the FEN.
  constructor(fen = START_FEN) {
    this.startFen = fen;
    this.chess = new Chess(fen);
    this.moves = [];  // {uci, san, by: "person" | "engine", source}
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

  // Plays a move given as UCI text ("e7e8q"); returns it, or null when it is not legal here.
  play(uci, by, source = null) {
    let played;
    try {
      played = this.chess.move({from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci.slice(4, 5) || undefined});
    } catch {
      return null;
    }
    const move = {uci: played.lan, san: played.san, by, source};
    this.moves.push(move);
    return move;
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
