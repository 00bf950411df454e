// The squares laid over the board, one button each, in the board's order as shown: each name
// says what stands on it; one of them is in the tab order, and the arrow keys move between
// them in the direction they go on the screen. Enter or Space on one calls onChoose(square).
import {COLOUR_NAMES, PIECE_NAMES} from "./words.js";

const STEPS = {ArrowUp: [0, 1], ArrowDown: [0, -1], ArrowLeft: [-1, 0], ArrowRight: [1, 0]};

export class SquareOverlay {
  constructor(element, {onChoose, onEscape}) {
    this.element = element;
    this.buttons = new Map();
    this.orientation = "w";
    this.cursor = "e2";
    this.picked = null;
    this.position = null;  // the chess.js position whose pieces the names say
    element.addEventListener("click", (event) => {
      const square = event.target.closest("button")?.dataset.square;
      if (square) onChoose(square);
    });
    element.addEventListener("keydown", (event) => {
      const step = STEPS[event.key];
      if (event.key === "Escape") onEscape();
      if (!step) return;
      event.preventDefault();
      const sign = this.orientation === "w" ? 1 : -1;
      const file = this.cursor.charCodeAt(0) + step[0] * sign;
      const rank = this.cursor.charCodeAt(1) + step[1] * sign;
      if (file < 97 || file > 104 || rank < 49 || rank > 56) return;
      this.cursor = String.fromCharCode(file, rank);
      this.name();
      this.buttons.get(this.cursor).focus();
    });
    element.addEventListener("focusin", (event) => {
      const square = event.target.dataset?.square;
      if (square && square !== this.cursor) {
        this.cursor = square;
        this.name();
      }
    });
  }

  // Lays the squares out with `orientation`'s side at the bottom.
  layOut(orientation) {
    if (this.buttons.size > 0 && orientation === this.orientation) return;
    this.orientation = orientation;
    const files = orientation === "w" ? "abcdefgh" : "hgfedcba";
    const ranks = orientation === "w" ? "87654321" : "12345678";
    const hadFocus = this.element.contains(document.activeElement);
    this.element.replaceChildren();
    this.buttons.clear();
    for (const rank of ranks) {
      for (const file of files) {
        const button = document.createElement("button");
        button.type = "button";
        button.dataset.square = `${file}${rank}`;
        this.buttons.set(button.dataset.square, button);
        this.element.append(button);
      }
    }
    this.element.setAttribute("aria-label", `Board, ${COLOUR_NAMES[orientation]} at the bottom`);
    this.name();
    if (hadFocus) this.buttons.get(this.cursor).focus();
  }

  // Names the squares after the pieces of `position` (a chess.js game), or of the last one.
  name(position = this.position) {
    this.position = position;
    for (const [square, button] of this.buttons) {
      const piece = position?.get(square) ?? null;
      const what = piece ? `${COLOUR_NAMES[piece.color].toLowerCase()} ${PIECE_NAMES[piece.type]}` : "empty";
      button.setAttribute("aria-label", `${square}, ${what}${square === this.picked ? ", picked up" : ""}`);
      button.tabIndex = square === this.cursor ? 0 : -1;
      button.classList.toggle("picked", square === this.picked);
    }
  }

  pick(square) {
    this.picked = square;
    this.name();
  }

  setCursor(square) {
    this.cursor = square;
    this.name();
  }
}
