// The page: a person plays either colour against Brindlet, which runs in a Web Worker. This
// module puts the page's parts together and opens its first game: the one a ?fen= or ?pgn=
// address gives, else the game kept on the device, else a new one. document.body's data-state
// is the phase ("your-move", "thinking", "over", "error", "loading"), data-engine whether the
// engine's run is "loading" or "ready", data-game the number of the game on show (set once it
// has begun), data-shown the ply shown while reviewing ("game" otherwise).
import * as announce from "./announce.js";
import {Archive} from "./archive.js";
import {BoardView} from "./board-view.js";
import {Controller} from "./controller.js";
import {EarlierGames} from "./earlier-games.js";
import {downloadLog} from "./engine-log.js";
import {Game} from "./game.js";
import {ImportDialog} from "./import-dialog.js";
import {connectKeys} from "./keys.js";
import {MoveList} from "./move-list.js";
import {PersonInput} from "./person-input.js";
import {readImport} from "./pgn.js";
import {RefusedPosition, quote, readFen} from "./position.js";
import {copyFen, copyPgn, downloadPgn} from "./save-game.js";
import {loadSettings, saveSettings} from "./settings.js";
import {SquareOverlay} from "./squares.js";
import {KEYS, read, writeText} from "./storage.js";
import {TabLock} from "./tab-lock.js";
import {positionWords} from "./words.js";

const element = (id) => document.getElementById(id);
const settings = loadSettings();
const board = new BoardView(element("board"));
const archive = new Archive((text) => announce.note(`Note: ${text}.`));
let input = null;
const squares = new SquareOverlay(element("squares"), {onChoose: (square) => input.chosen(square), onEscape: () => input.escape()});
const controller = new Controller({board, squares, settings, archive,
  moveList: new MoveList(element("moves"), element("moves-box"), (ply) => controller.review(ply))});
input = new PersonInput(controller);
connectKeys(controller);
new EarlierGames(archive, controller);

const chosenColour = () => element("colour").value;
function startFrom(fen, began) {
  controller.newGame({fen, person: chosenColour(), began});
}
new ImportDialog(startFrom);

const click = (id, action) => element(id).addEventListener("click", action);
click("new-game", () => controller.newGame({person: chosenColour()}));
click("take-back", () => controller.takeBack());
click("flip", () => controller.flip());
click("resign", () => controller.resign());
click("back-to-game", () => {
  controller.backToGame();
  // The button has gone with the review bar: the focus goes on to the move list.
  element("moves").querySelector("[tabindex='0']")?.focus();
});
click("read-position", () => announce.say(positionWords(controller.viewing || controller.reviewing
  ? (controller.viewing ?? controller.game).positionAt(controller.shownPly()) : controller.game.chess)));
click("copy-pgn", () => copyPgn(controller.viewing ?? controller.game));
click("download-pgn", () => downloadPgn(controller.viewing ?? controller.game));
click("copy-fen", () => copyFen((controller.viewing ?? controller.game).positionAt(controller.shownPly()).fen()));
click("download-log", () => downloadLog(controller));
click("sound", () => {
  settings.sound = !settings.sound;
  saveSettings(settings);
  controller.render();
});
// Small screens keep the rarer controls folded away.
if (innerWidth < 600 || innerHeight < 500) element("more").open = false;

// The game kept on the device, or null; what cannot be read is set aside (kept under a key of
// its own) and said.
function storedGame() {
  const found = read(KEYS.game);
  if (found.missing) return null;
  let reason = found.error;
  if (reason === undefined) {
    try {
      if (found.value?.version !== 1) throw new Error("it was written by another version of the page");
      return {game: Game.fromStored(found.value.game), run: Array.isArray(found.value.run) ? found.value.run : []};
    } catch (error) {
      reason = error.message;
    }
  }
  if (found.text === undefined) {
    controller.storeError = reason;
    announce.note(`This game is not kept on this device (${reason}); it plays on, but a reload loses it.`);
  } else {
    writeText(KEYS.setAside, found.text);
    announce.note(`The game kept on this device could not be read (${reason}): it is set aside, and a new game begins.`);
  }
  return null;
}

// An address's position, or why it is refused.
function addressPosition(params) {
  if (params.has("fen")) {
    const text = params.get("fen");
    try {
      const fen = readFen(text);
      return {fen, person: fen.split(" ")[1] === "w" ? "b" : "w", began: "position"};
    } catch (error) {
      if (!(error instanceof RefusedPosition)) throw error;
      return {error: `This position is refused, not repaired, so that the text keeps its meaning: ${error.message}. ` +
        `The address gave: "${quote(text)}"`};
    }
  }
  const read = readImport(params.get("pgn"));
  return read.error ? {error: `${read.error} The address gave: "${quote(params.get("pgn"))}"`}
    : {fen: read.fen, person: chosenColour(), began: read.kind};
}

controller.lock = new TabLock();
controller.keeps = controller.lock.holds();
if (!controller.keeps) announce.note(controller.elsewhere);
const kept = controller.keeps ? storedGame() : null;
const params = new URL(location.href).searchParams;
if (params.has("fen") || params.has("pgn")) {
  // The address's game replaces the one kept, which joins the earlier games; a reload goes on
  // with the address's game, not the address.
  history.replaceState(null, "", location.pathname);
  if (kept !== null) controller.game = kept.game;
  const position = addressPosition(params);
  if (position.error) {
    controller.newGame({person: "w"});
    controller.fail(position.error);
  } else {
    controller.newGame(position);
  }
} else if (kept !== null) {
  controller.restore(kept.game, kept.run);
} else {
  controller.newGame({person: chosenColour()});
}
input.playEarly();
