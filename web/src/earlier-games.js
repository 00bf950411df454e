// The dialog of earlier games (#games): one row each (date, colours, result, moves, how the
// game began) with "Review", "Download" and "Delete", and "Download all" as one PGN file.
import {say} from "./announce.js";
import {download, downloadPgn, engineName} from "./save-game.js";
import {writePgn} from "./pgn.js";

const BEGAN = {start: "from the start", position: "from a position", pgn: "from a PGN"};

function describe(game) {
  const date = new Date(game.startedAt).toLocaleString(undefined, {dateStyle: "medium", timeStyle: "short"});
  const colour = game.person === "w" ? "You (White) against Brindlet" : "Brindlet against you (Black)";
  const moves = game.moves.length;
  return `${date}: ${colour}, ${game.score()}, ${moves} ${moves === 1 ? "move" : "moves"} ${BEGAN[game.began]}`;
}

function button(text, label, action) {
  const element = document.createElement("button");
  element.type = "button";
  element.textContent = text;
  element.setAttribute("aria-label", label);
  element.addEventListener("click", action);
  return element;
}

export class EarlierGames {
  constructor(archive, controller) {
    this.archive = archive;
    this.controller = controller;
    this.dialog = document.getElementById("games");
    document.getElementById("earlier-games").addEventListener("click", () => this.open());
    this.dialog.querySelector(".close").addEventListener("click", () => this.dialog.close());
    document.getElementById("download-all").addEventListener("click", () => {
      const games = this.archive.games();
      download("brindlet-games.pgn", games.map((game) => writePgn(game, engineName())).join("\n"));
      say(`${games.length} games saved in one PGN file.`);
    });
  }

  open() {
    this.list();
    if (!this.dialog.open) this.dialog.showModal();
  }

  list() {
    const games = this.archive.games();
    const rows = games.map((game, index) => {
      const row = document.createElement("li");
      const text = document.createElement("p");
      text.textContent = describe(game);
      const number = `game ${index + 1}`;
      row.append(text, button("Review", `Review ${number}`, () => {
        this.dialog.close();
        this.controller.viewEarlier(game);
      }), button("Download", `Download ${number}`, () => downloadPgn(game)),
      button("Delete", `Delete ${number}`, () => {
        this.archive.remove(game.id);
        say("Game deleted.");
        this.list();
        this.dialog.querySelector("h2").focus();
      }));
      return row;
    });
    document.getElementById("games-list").replaceChildren(...rows);
    document.getElementById("games-empty").hidden = games.length > 0;
    document.getElementById("download-all").disabled = games.length === 0;
  }
}
