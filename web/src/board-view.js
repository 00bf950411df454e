// The board as drawn by cm-chessboard: the position shown, its orientation, the last move's
// frame, the legal moves of a piece picked up, and whether the person's pieces can be moved by
// mouse or touch. It is hidden from screen readers: they read the squares laid over it.
import {Chessboard, COLOR} from "cm-chessboard/src/Chessboard.js";
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js";
import {START_FEN} from "./position.js";

export {INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js";

export class BoardView {
  constructor(element) {
    this.board = new Chessboard(element, {
      position: START_FEN,
      assetsUrl: "vendor/cm-chessboard/assets/",
      style: {animationDuration: 150},
      extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}],
    });
    this.board.view.svg.removeAttribute("role");
    this.board.view.svg.setAttribute("aria-hidden", "true");
    this.fen = START_FEN;
    this.inputColor = null;  // the colour whose pieces can be moved, if any
  }

  // Resolves once the pieces stand (after the animation, if any). A position already shown is
  // left as it is, so that drawing the page again does not cut a move's animation short.
  show(fen, animated = false) {
    if (fen === this.fen) return Promise.resolve();
    this.fen = fen;
    return this.board.setPosition(fen, animated);
  }

  // Turned at once, not through cm-chessboard's queue of animations (setOrientation), so that a
  // click after a new game has begun lands on the new game's squares, not on squares about to be
  // drawn again. Only a change is drawn: drawing the board again would end a drag.
  orient(color) {
    const orientation = color === "w" ? COLOR.white : COLOR.black;
    if (this.board.getOrientation() === orientation) return;
    this.board.state.orientation = orientation;
    this.board.view.redrawBoard();
    this.board.view.redrawPieces();
  }

  markLastMove(uci) {
    this.board.removeMarkers(MARKER_TYPE.frame);
    if (uci) {
      this.board.addMarker(MARKER_TYPE.frame, uci.slice(0, 2));
      this.board.addMarker(MARKER_TYPE.frame, uci.slice(2, 4));
    }
  }

  markPicked(square, moves) {
    this.clearPicked();
    this.board.addMarker(MARKER_TYPE.square, square);
    this.board.addLegalMovesMarkers(moves);
  }

  clearPicked() {
    this.board.removeMarkers(MARKER_TYPE.square);
    this.board.removeMarkers(MARKER_TYPE.dot);
    this.board.removeMarkers(MARKER_TYPE.bevel);
  }

  showLegalMoves(moves) {
    this.board.addLegalMovesMarkers(moves);
  }

  hideLegalMoves() {
    this.board.removeLegalMovesMarkers();
  }

  // Left as it is when already enabled for `color`, so that a drag in progress goes on.
  enableInput(color, handler) {
    if (this.inputColor === color) return;
    this.disableInput();
    this.board.enableMoveInput(handler, color === "w" ? COLOR.white : COLOR.black);
    this.inputColor = color;
  }

  disableInput() {
    this.board.disableMoveInput();
    this.inputColor = null;
  }
}
