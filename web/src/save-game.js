// The game given away: its PGN copied or saved as a file, its position as FEN copied. The
// clipboard may be refused (an insecure page, no permission): the text is then shown to copy.
import {say} from "./announce.js";
import {pgnFileName, writePgn} from "./pgn.js";

// Saves `data` (a text or a Blob) as a file named `name`.
export function download(name, data) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(data instanceof Blob ? data : new Blob([data], {type: "application/x-chess-pgn"}));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  // Not at once: the browser may not have begun to read the file yet (it then saves nothing).
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

export async function copyText(what, text) {
  try {
    await navigator.clipboard.writeText(text);
    say(`${what} copied.`);
  } catch {
    say(`${what} could not be copied here; it is: ${text}`);
  }
}

export function engineName() {
  return `Brindlet ${document.getElementById("version").dataset.version}`;
}

export function downloadPgn(game) {
  download(pgnFileName(game), writePgn(game, engineName()));
  say("PGN saved.");
}

export function copyPgn(game) {
  return copyText("PGN", writePgn(game, engineName()));
}

export function copyFen(fen) {
  return copyText("FEN", fen);
}
