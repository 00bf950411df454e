// The piece a promoting pawn becomes, chosen in the page's dialog (#promotion): "q", "r", "b" or
// "n", or null when the move is taken back.
const PIECES_SPRITE = "vendor/cm-chessboard/assets/pieces/standard.svg";

export function choosePromotion(color) {
  const dialog = document.getElementById("promotion");
  for (const use of dialog.querySelectorAll("[data-piece] use")) {
    use.setAttribute("href", `${PIECES_SPRITE}#${color}${use.closest("button").dataset.piece}`);
  }
  return new Promise((resolve) => {
    const done = (piece) => {
      dialog.removeEventListener("click", onClick);
      dialog.removeEventListener("cancel", onCancel);
      dialog.close();
      resolve(piece);
    };
    const onClick = (event) => {
      const button = event.target.closest("button");
      if (button?.dataset.piece) done(button.dataset.piece);
      else if (button?.classList.contains("cancel")) done(null);
    };
    const onCancel = (event) => {
      event.preventDefault();
      done(null);
    };
    dialog.addEventListener("click", onClick);
    dialog.addEventListener("cancel", onCancel);
    dialog.showModal();
  });
}
