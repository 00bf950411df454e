// "Continue from…": a FEN or a PGN pasted or loaded from a file, read by readImport (the same
// checks as a position opened by address), starts a game from its final position with the
// person's chosen colour. What is wrong is said in the dialog, which stays open.
import {say} from "./announce.js";
import {readImport} from "./pgn.js";

export class ImportDialog {
  constructor(startFrom) {
    this.dialog = document.getElementById("import");
    this.text = document.getElementById("import-text");
    this.error = document.getElementById("import-error");
    document.getElementById("continue-from").addEventListener("click", () => {
      this.showError("");
      this.dialog.showModal();
    });
    this.dialog.querySelector(".close").addEventListener("click", () => this.dialog.close());
    document.getElementById("import-file").addEventListener("change", async (event) => {
      const file = event.target.files[0];
      if (file) this.text.value = await file.text();
    });
    document.getElementById("import-form").addEventListener("submit", (event) => {
      event.preventDefault();
      const read = readImport(this.text.value);
      if (read.error) {
        this.showError(read.error);
        this.text.focus();
        return;
      }
      this.dialog.close();
      startFrom(read.fen, read.kind);
      say("The game goes on from the position read.");
    });
  }

  showError(text) {
    this.error.textContent = text;
    this.error.hidden = text === "";
    if (text) this.text.setAttribute("aria-invalid", "true");
    else this.text.removeAttribute("aria-invalid");
  }
}
