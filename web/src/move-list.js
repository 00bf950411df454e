// The move list (#moves): two columns, White's and Black's, numbered from the game's start
// position; each move a button that shows the position after it. Brindlet's moves name their
// source. The move shown on the board is marked (aria-current) and is the list's one tab stop.
import {SOURCE_NAMES, plyLabel} from "./words.js";

export class MoveList {
  constructor(list, box, onSelect) {
    this.list = list;
    this.box = box;
    this.atEnd = true;  // whether the last move is shown, which the box then keeps in view
    list.addEventListener("click", (event) => {
      const ply = event.target.closest("button")?.dataset.ply;
      if (ply !== undefined) onSelect(Number(ply));
    });
    // A box made smaller (a phone turned, a window resized) still shows the last move.
    new ResizeObserver(() => {
      if (this.atEnd) box.scrollTop = box.scrollHeight;
    }).observe(box);
  }

  // `shown` is the ply on the board (the last one while the game is shown as it stands).
  render(game, shown) {
    const hadFocus = this.list.contains(document.activeElement);
    const items = [];
    // A game that begins with Black to move has White's first cell empty.
    if (game.startFen.split(" ")[1] === "b" && game.moves.length > 0) {
      const empty = document.createElement("li");
      empty.className = "empty";
      empty.setAttribute("aria-hidden", "true");
      items.push(empty);
    }
    game.moves.forEach((move, index) => {
      const ply = index + 1;
      const item = document.createElement("li");
      item.className = move.by;
      const button = document.createElement("button");
      button.type = "button";
      button.dataset.ply = String(ply);
      button.textContent = plyLabel(game.startFen, ply, move.san);
      // One tab stop for the whole list: the move shown (Left and Right step from it).
      button.tabIndex = ply === Math.max(shown, 1) ? 0 : -1;
      if (ply === shown) button.setAttribute("aria-current", "step");
      if (move.by === "engine") {
        item.dataset.source = SOURCE_NAMES[move.source] ?? move.source;
        const source = document.createElement("span");
        source.className = "source";
        source.textContent = ` (${item.dataset.source})`;
        button.append(source);
      }
      item.append(button);
      items.push(item);
    });
    this.list.replaceChildren(...items);
    this.box.hidden = game.moves.length === 0;
    // The list scrolls in its own box to the move shown; the window stays where it is.
    const current = this.list.querySelector("[aria-current]");
    if (hadFocus) this.list.querySelector("[tabindex='0']")?.focus();
    this.atEnd = shown === game.moves.length;
    if (this.atEnd) this.box.scrollTop = this.box.scrollHeight;
    else if (current) {
      // Not scrollIntoView, which would scroll the window too.
      const item = current.getBoundingClientRect();
      const box = this.box.getBoundingClientRect();
      if (item.top < box.top) this.box.scrollTop -= box.top - item.top;
      else if (item.bottom > box.bottom) this.box.scrollTop += item.bottom - box.bottom;
    }
  }
}
