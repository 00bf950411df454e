// The person's moves, made three ways: by mouse or touch on the board (cm-chessboard's move
// input), by Enter on the squares laid over it (pick a piece up, put it down), or typed in the
// move box. Each is checked against the game's legal moves and handed to the controller.
import {INPUT_EVENT_TYPE} from "./board-view.js";
import {hint} from "./announce.js";
import {choosePromotion} from "./promotion.js";
import {findTypedMove} from "./typed-move.js";
import {PIECE_NAMES} from "./words.js";

export class PersonInput {
  constructor(controller) {
    this.controller = controller;
    controller.enableBoard = () => controller.board.enableInput(controller.game.person, (event) => this.onBoardInput(event));
    const form = document.getElementById("move-form");
    form.addEventListener("submit", (event) => {
      event.preventDefault();
      this.typed(document.getElementById("move-text"));
    });
  }

  // The move typed and sent before the page's scripts ran (index.html's first script noted the
  // Enter), played once the game has begun; a move only typed stays in the box.
  playEarly() {
    const root = document.documentElement;
    if (root.dataset.moveSent === undefined) return;
    delete root.dataset.moveSent;
    this.typed(document.getElementById("move-text"));
  }

  get game() {
    return this.controller.game;
  }

  putDown() {
    this.controller.squares.pick(null);
    this.controller.board.clearPicked();
  }

  escape() {
    const picked = this.controller.squares.picked;
    if (picked === null) return;
    hint(`Put back on ${picked}.`);
    this.putDown();
  }

  // Enter (or Space) on a square: pick up the person's piece there, or put the picked-up piece down.
  async chosen(square) {
    const why = this.controller.whyNoMove();
    if (why !== null) {
      hint(why);
      return;
    }
    const picked = this.controller.squares.picked;
    const piece = this.game.chess.get(square) ?? null;
    if (picked !== null && square === picked) {
      this.putDown();
      hint(`Put back on ${square}.`);
      return;
    }
    if (picked !== null && this.game.legalMovesFrom(picked).some((move) => move.to === square)) {
      this.putDown();
      hint("");
      let promotion = "";
      if (this.game.isPromotion(picked, square)) {
        promotion = await choosePromotion(this.game.person);
        if (promotion === null) {
          hint("Promotion taken back.");
          return;
        }
      }
      this.controller.play(`${picked}${square}${promotion}`);
      return;
    }
    if (piece !== null && piece.color === this.game.person) {
      const moves = this.game.legalMovesFrom(square);
      if (moves.length === 0) {
        hint(`The ${PIECE_NAMES[piece.type]} on ${square} has no legal move.`);
        return;
      }
      this.controller.board.markPicked(square, moves);
      this.controller.squares.pick(square);
      const targets = [...new Set(moves.map((move) => move.to))];
      const name = PIECE_NAMES[piece.type];
      hint(`${name[0].toUpperCase()}${name.slice(1)} on ${square} picked up; it can go to ${targets.join(", ")}.`);
      return;
    }
    if (picked !== null) {
      hint(`The ${PIECE_NAMES[this.game.chess.get(picked).type]} on ${picked} cannot go to ${square}.`);
      return;
    }
    hint(`No piece of yours on ${square} to pick up.`);
  }

  onBoardInput(event) {
    const board = this.controller.board;
    switch (event.type) {
      case INPUT_EVENT_TYPE.moveInputStarted: {
        this.putDown();
        const moves = this.game.legalMovesFrom(event.squareFrom);
        board.showLegalMoves(moves);
        return moves.length > 0;
      }
      case INPUT_EVENT_TYPE.validateMoveInput: {
        const {squareFrom: from, squareTo: to} = event;
        if (!this.game.legalMovesFrom(from).some((move) => move.to === to)) return false;
        if (this.game.isPromotion(from, to)) {
          choosePromotion(this.game.person).then((piece) => {
            if (piece !== null) {
              this.controller.play(`${from}${to}${piece}`);
            } else {
              board.fen = null;  // the board shows the pawn moved: draw the game's position again
              this.controller.render();
            }
          });
          return true;
        }
        // The board shows the move already; chess.js plays it once this handler has returned.
        setTimeout(() => this.controller.play(`${from}${to}`));
        return true;
      }
      case INPUT_EVENT_TYPE.moveInputCanceled:
      case INPUT_EVENT_TYPE.moveInputFinished:
        board.hideLegalMoves();
        return true;
      default:
        return true;
    }
  }

  typed(input) {
    const why = this.controller.whyNoMove();
    if (why !== null) {
      hint(why);
      return;
    }
    const found = findTypedMove(this.game.chess, input.value);
    if (found.error) {
      hint(found.error);
      input.setAttribute("aria-invalid", "true");
      return;
    }
    input.removeAttribute("aria-invalid");
    input.value = "";
    hint("");
    this.putDown();
    this.controller.play(found.uci);
  }
}
