// The page's keys outside the move box and the board's squares: Left and Right step through the
// moves, Home shows the start, End returns to the game as it stands, f flips the board.
export function connectKeys(controller) {
  document.addEventListener("keydown", (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey || event.defaultPrevented) return;
    const target = event.target;
    if (target.closest("input, textarea, select, dialog, #squares")) return;
    const ply = controller.shownPly();
    const last = (controller.viewing ?? controller.game).moves.length;
    const actions = {
      ArrowLeft: () => controller.review(ply - 1),
      ArrowRight: () => controller.review(ply + 1),
      Home: () => controller.review(0),
      End: () => (controller.viewing === null ? controller.backToGame() : controller.review(last)),
      f: () => controller.flip(),
    };
    const action = actions[event.key];
    if (!action) return;
    event.preventDefault();
    action();
  });
}
