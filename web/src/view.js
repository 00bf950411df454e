// Draws the controller's state: the board and its squares at the ply shown, the move list, the
// status line, the review bar, which buttons can be used, and document.body's data-state (the
// phase), data-shown (the ply on the board while reviewing, or "game") and data-flipped, which
// the tests wait on.
import {setStatus} from "./announce.js";
import {plyLabel} from "./words.js";

const element = (id) => document.getElementById(id);

function statusText(controller) {
  const loading = document.body.dataset.engine !== "ready";
  // After a reload the engine is first sent the game's earlier exchanges again (engine-run.js).
  const catchingUp = controller.run?.replaying ? " Brindlet's engine is catching up with the game so far." : "";
  switch (controller.phase) {
    case "your-move":
      // The board shows another position than the one to move in: the status must not read as if it did.
      if (controller.reviewing) return "Your move in the game; the board shows an earlier position.";
      return loading ? "Your move; Brindlet's engine is still loading." : `Your move.${catchingUp}`;
    case "thinking":
      return loading ? "Brindlet's engine is loading; it answers once ready…" : `Brindlet is thinking…${catchingUp}`;
    case "over":
      return "Game over.";
    case "error":
      return "";
    default:
      return "Starting the engine…";
  }
}

function reviewText(controller, game, ply) {
  // The move's number and SAN stay on one line (a no-break space between them).
  const label = ply === 0 ? "" : plyLabel(game.startFen, ply, game.moves[ply - 1].san).replace(" ", "\u00a0");
  const where = ply === 0 ? "the start position" : `the position after ${label}`;
  if (controller.viewing !== null) return `An earlier game: showing ${where}.`;
  return `Showing ${where}; the game goes on from its last move.`;
}

export function render(controller) {
  const {board, squares, moveList} = controller;
  const game = controller.viewing ?? controller.game;
  const ply = controller.shownPly();
  const live = !controller.reviewing;
  const position = live ? game.chess : game.positionAt(ply);
  const orientation = controller.viewing === null ? controller.orientation
    : (controller.settings.flipped ? "b" : "w");

  board.orient(orientation);
  board.show(position.fen());
  board.markLastMove(game.moves[ply - 1]?.uci);
  squares.layOut(orientation);
  squares.name(position);
  moveList.render(game, ply);

  const bar = element("review-bar");
  bar.hidden = live;
  if (!live) element("review-text").textContent = reviewText(controller, game, ply);

  const body = document.body.dataset;
  body.state = controller.phase;
  body.shown = live ? "game" : String(ply);
  body.flipped = String(controller.settings.flipped);
  setStatus(statusText(controller));

  if (controller.phase === "your-move" && live) controller.enableBoard();
  else board.disableInput();
  const inGame = controller.viewing === null;
  element("take-back").disabled = !controller.canTakeBack();
  element("resign").disabled = !inGame || !["your-move", "thinking"].includes(controller.phase);
  element("download-log").disabled = body.engine !== "ready" || !["your-move", "over"].includes(controller.phase);
  element("sound").setAttribute("aria-pressed", String(controller.settings.sound));
}
