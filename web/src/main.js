// The page: a person plays either colour against Brindlet, which runs in a Web Worker.
// document.body's data-state tells where the page is: "loading", "your-move", "thinking",
// "over" (the result is shown) or "error" (the error is shown).
import {Chessboard, COLOR, INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js";
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js";
import {PromotionDialog, PROMOTION_DIALOG_RESULT_TYPE} from "cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js";
import {Engine} from "./engine.js";
import {Game, START_FEN} from "./game.js";
import {showLoading} from "./loading.js";

const SOURCE_NAMES = {BookMove: "book", SolveMate: "mate solver", BestMove: "search"};

const element = (id) => document.getElementById(id);
let engine = new Engine("brindlet.js");
const board = new Chessboard(element("board"), {
  position: START_FEN,
  assetsUrl: "vendor/cm-chessboard/assets/",
  style: {animationDuration: 150},
  extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}, {class: PromotionDialog}],
});

let game = new Game();
let person = "w";
let gameNumber = 0;  // a reply that arrives for an earlier game is dropped

function setState(state, status) {
  document.body.dataset.state = state;
  if (status !== undefined) element("status").textContent = status;
}

function showError(text) {
  const error = element("error");
  error.textContent = text;
  error.hidden = false;
  board.disableMoveInput();
  setState("error", "");
}

function showMoves() {
  const list = element("moves");
  list.replaceChildren();
  // Numbered by full moves from the game's start position.
  const [, turn, , , , fullMove] = game.startFen.split(" ");
  let number = Number(fullMove) || 1;
  let white = turn !== "b";
  for (const move of game.moves) {
    const item = document.createElement("li");
    item.className = move.by;
    item.textContent = `${number}.${white ? "" : ".."} ${move.san}`;
    if (move.by === "engine") {
      item.dataset.source = SOURCE_NAMES[move.source] ?? move.source;
      const source = document.createElement("span");
      source.className = "source";
      source.textContent = ` (${item.dataset.source})`;
      item.append(source);
    }
    list.append(item);
    if (!white) number += 1;
    white = !white;
  }
  list.lastElementChild?.scrollIntoView({block: "nearest"});
}

function showLastMove(move) {
  board.removeMarkers(MARKER_TYPE.frame);
  if (move) {
    board.addMarker(MARKER_TYPE.frame, move.uci.slice(0, 2));
    board.addMarker(MARKER_TYPE.frame, move.uci.slice(2, 4));
  }
}

// After each move: the game's end, or the next side's turn.
async function nextTurn() {
  showMoves();
  const result = game.result();
  if (result !== null) {
    element("result").textContent = result;
    element("result").hidden = false;
    board.disableMoveInput();
    setState("over", "Game over.");
    return;
  }
  if (game.turn() === person) {
    board.enableMoveInput(onMoveInput, person === "w" ? COLOR.white : COLOR.black);
    setState("your-move", "Your move.");
    return;
  }
  board.disableMoveInput();
  setState("thinking", "Brindlet is thinking…");
  const number = gameNumber;
  let reply;
  try {
    reply = await engine.bestMove(game.positionCommand());
  } catch (error) {
    showError(error.message);
    return;
  }
  if (number !== gameNumber) return;
  if (reply.source === null) {
    showError(`Brindlet refuses this position (its FEN check failed): "${game.startFen}"`);
    return;
  }
  const move = game.play(reply.move, "engine", reply.source);
  if (move === null) {
    showError(`Brindlet answered ${reply.move}, which is not a legal move here.`);
    return;
  }
  await board.setPosition(game.fen(), true);
  showLastMove(move);
  nextTurn();
}

function personMoves(uci) {
  const move = game.play(uci, "person");
  board.setPosition(game.fen(), true);
  showLastMove(move);
  nextTurn();
}

function onMoveInput(event) {
  switch (event.type) {
    case INPUT_EVENT_TYPE.moveInputStarted: {
      const moves = game.legalMovesFrom(event.squareFrom);
      board.addLegalMovesMarkers(moves);
      return moves.length > 0;
    }
    case INPUT_EVENT_TYPE.validateMoveInput: {
      const {squareFrom: from, squareTo: to} = event;
      if (!game.legalMovesFrom(from).some((move) => move.to === to)) return false;
      if (game.isPromotion(from, to)) {
        board.showPromotionDialog(to, person === "w" ? COLOR.white : COLOR.black, (result) => {
          if (result.type === PROMOTION_DIALOG_RESULT_TYPE.pieceSelected) {
            personMoves(`${from}${to}${result.piece.charAt(1)}`);
          } else {
            board.setPosition(game.fen(), true);
            nextTurn();
          }
        });
        return true;
      }
      // The board shows the move already; chess.js plays it once this handler has returned.
      setTimeout(() => personMoves(`${from}${to}`));
      return true;
    }
    case INPUT_EVENT_TYPE.moveInputCanceled:
    case INPUT_EVENT_TYPE.moveInputFinished:
      board.removeLegalMovesMarkers();
      return true;
    default:
      return true;
  }
}

// A new game: from the start position with the person's chosen colour, or from the FEN the
// address gives, with Brindlet to move.
async function newGame(fen) {
  gameNumber += 1;
  element("result").hidden = true;
  element("error").hidden = true;
  board.disableMoveInput();
  try {
    game = new Game(fen ?? START_FEN);
  } catch (error) {
    game = new Game();
    await board.setPosition(START_FEN);
    showMoves();
    showError(`This position cannot be played: ${fen} (${error.message})`);
    return;
  }
  person = fen ? (game.turn() === "w" ? "b" : "w") : element("colour").value;
  element("colour").value = person;
  engine.newGame();
  board.setOrientation(person === "w" ? COLOR.white : COLOR.black);
  await board.setPosition(game.fen());
  showLastMove(null);
  nextTurn();
}

// The engine's log is complete once its run has ended: the engine quits, its log is saved, and
// a new run takes over the game, as when a GUI restarts an engine (its log starts afresh).
async function downloadLog() {
  const state = document.body.dataset.state;
  if (state !== "your-move" && state !== "over") return;
  const button = element("download-log");
  button.disabled = true;
  board.disableMoveInput();
  setState("loading", "Saving the log…");
  try {
    const bytes = await engine.quit();
    engine = new Engine("brindlet.js");
    await engine.start();
    if (bytes !== null) {
      const link = document.createElement("a");
      link.href = URL.createObjectURL(new Blob([bytes], {type: "text/plain"}));
      link.download = "brindlet.log";
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href));
    }
  } catch (error) {
    showError(error.message);
    return;
  } finally {
    button.disabled = false;
  }
  if (state === "over") setState("over", "Game over.");
  else nextTurn();
}

element("new-game").addEventListener("click", () => {
  if (new URL(location.href).searchParams.has("fen")) history.replaceState(null, "", location.pathname);
  newGame(null);
});
element("download-log").addEventListener("click", downloadLog);

// The board takes the person's first move while the engine still loads.
showLoading(engine);
engine.start().catch((error) => showError(error.message));
const fen = new URL(location.href).searchParams.get("fen");
newGame(fen === null ? null : fen.trim());
