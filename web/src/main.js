// The page: a person plays either colour against Brindlet, which runs in a Web Worker.
// document.body's data-state tells where the page is: "your-move", "thinking", "over" (the
// result is shown), "error" (the error is shown) or "loading" (while the log is saved); its
// data-engine tells whether the engine's run is "loading" or "ready"; data-game is the number of
// the game on show, set once that game has begun. The board is usable while
// the engine loads: a first move waits for the engine's answer.
import {Chessboard, COLOR, INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js";
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js";
import {Engine} from "./engine.js";
import {Game, RefusedPosition, START_FEN, quote, readAddressFen, sourceWords} from "./game.js";
import {showLoading} from "./loading.js";

const SOURCE_NAMES = {BookMove: "book", SolveMate: "mate solver", BestMove: "search"};
const PIECE_NAMES = {p: "pawn", n: "knight", b: "bishop", r: "rook", q: "queen", k: "king"};
const COLOUR_NAMES = {w: "White", b: "Black"};
const PIECES_SPRITE = "vendor/cm-chessboard/assets/pieces/standard.svg";

const element = (id) => document.getElementById(id);
const board = new Chessboard(element("board"), {
  position: START_FEN,
  assetsUrl: "vendor/cm-chessboard/assets/",
  style: {animationDuration: 150},
  extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}],
});
// The board is read through the squares laid over it (#squares), which have names.
board.view.svg.removeAttribute("role");
board.view.svg.setAttribute("aria-hidden", "true");

let engine;
let game = new Game();
let person = "w";
let gameNumber = 0;  // a reply that arrives for an earlier game is dropped
let picked = null;  // the square whose piece the keyboard has picked up

function setState(state, status) {
  document.body.dataset.state = state;
  if (status !== undefined) element("status").textContent = status;
}

// What the polite live region says: each move, with its source, and the result.
function say(text) {
  element("said").textContent = text;
}

function hint(text) {
  element("move-hint").textContent = text;
}

function showError(text) {
  const error = element("error");
  error.textContent = text;
  error.hidden = false;
  board.disableMoveInput();
  setState("error", "");
}

// A new run of the engine, as when a GUI starts one: the page's status follows its start.
function startEngine() {
  const run = new Engine("brindlet.js");
  // The first run's files come over the network: the page shows how far they are.
  if (engine === undefined) showLoading(run);
  engine = run;
  document.body.dataset.engine = "loading";
  run.start().then(() => {
    if (engine !== run) return;
    document.body.dataset.engine = "ready";
    element("download-log").disabled = false;
    const state = document.body.dataset.state;
    if (state === "your-move") setState(state, "Your move.");
    else if (state === "thinking") setState(state, "Brindlet is thinking…");
  }, (error) => {
    if (engine === run) showError(error.message);
  });
  element("download-log").disabled = true;
}

function showMoves() {
  const list = element("moves");
  list.replaceChildren();
  // Numbered by full moves from the game's start position; a game that begins with Black to
  // move has White's first cell empty.
  const [, turn, , , , fullMove] = game.startFen.split(" ");
  let number = Number(fullMove);
  let white = turn === "w";
  if (!white && game.moves.length > 0) {
    const empty = document.createElement("li");
    empty.className = "empty";
    empty.setAttribute("aria-hidden", "true");
    list.append(empty);
  }
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
  // The list scrolls in its own box; the window stays where it is.
  const box = element("moves-box");
  box.scrollTop = box.scrollHeight;
}

function showLastMove(move) {
  board.removeMarkers(MARKER_TYPE.frame);
  if (move) {
    board.addMarker(MARKER_TYPE.frame, move.uci.slice(0, 2));
    board.addMarker(MARKER_TYPE.frame, move.uci.slice(2, 4));
  }
}

// The squares over the board, one button each, in the board's order as shown: names say what
// stands on them; one of them is in the tab order, the arrow keys move between them.
const squareButtons = new Map();
let cursor = "e2";

function layOutSquares() {
  const files = person === "w" ? "abcdefgh" : "hgfedcba";
  const ranks = person === "w" ? "87654321" : "12345678";
  const squares = element("squares");
  squares.replaceChildren();
  squareButtons.clear();
  for (const rank of ranks) {
    for (const file of files) {
      const button = document.createElement("button");
      button.type = "button";
      button.dataset.square = `${file}${rank}`;
      squareButtons.set(button.dataset.square, button);
      squares.append(button);
    }
  }
  element("squares").setAttribute("aria-label", `Board, ${COLOUR_NAMES[person]} at the bottom`);
  nameSquares();
}

function nameSquares() {
  for (const [square, button] of squareButtons) {
    const piece = game.pieceAt(square);
    const what = piece ? `${COLOUR_NAMES[piece.color].toLowerCase()} ${PIECE_NAMES[piece.type]}` : "empty";
    button.setAttribute("aria-label", `${square}, ${what}${square === picked ? ", picked up" : ""}`);
    button.tabIndex = square === cursor ? 0 : -1;
    button.classList.toggle("picked", square === picked);
  }
}

function putDown() {
  picked = null;
  board.removeMarkers(MARKER_TYPE.square);
  board.removeMarkers(MARKER_TYPE.dot);
  board.removeMarkers(MARKER_TYPE.bevel);
  nameSquares();
}

function isPersonsTurn() {
  return document.body.dataset.state === "your-move";
}

function notYourTurn() {
  const state = document.body.dataset.state;
  if (state === "thinking") return "Wait: Brindlet is to move.";
  if (state === "over") return "The game is over: “New game” starts another.";
  return "No move can be made now.";
}

// Enter (or Space) on a square: pick up the person's piece there, or put the picked-up piece down.
async function squareChosen(square) {
  if (!isPersonsTurn()) {
    hint(notYourTurn());
    return;
  }
  const piece = game.pieceAt(square);
  if (picked !== null && square === picked) {
    putDown();
    hint(`Put back on ${square}.`);
    return;
  }
  if (picked !== null && game.legalMovesFrom(picked).some((move) => move.to === square)) {
    const from = picked;
    putDown();
    hint("");
    let promotion = "";
    if (game.isPromotion(from, square)) {
      promotion = await choosePromotion(person);
      if (promotion === null) {
        hint("Promotion taken back.");
        return;
      }
    }
    personMoves(`${from}${square}${promotion}`);
    return;
  }
  if (piece !== null && piece.color === person) {
    const moves = game.legalMovesFrom(square);
    if (moves.length === 0) {
      hint(`The ${PIECE_NAMES[piece.type]} on ${square} has no legal move.`);
      return;
    }
    putDown();
    picked = square;
    board.addMarker(MARKER_TYPE.square, square);
    board.addLegalMovesMarkers(moves);
    nameSquares();
    const targets = [...new Set(moves.map((move) => move.to))];
    const name = PIECE_NAMES[piece.type];
    hint(`${name[0].toUpperCase()}${name.slice(1)} on ${square} picked up; it can go to ${targets.join(", ")}.`);
    return;
  }
  if (picked !== null) {
    hint(`The ${PIECE_NAMES[game.pieceAt(picked).type]} on ${picked} cannot go to ${square}.`);
    return;
  }
  hint(`No piece of yours on ${square} to pick up.`);
}

element("squares").addEventListener("click", (event) => {
  const square = event.target.closest("button")?.dataset.square;
  if (square) squareChosen(square);
});

element("squares").addEventListener("keydown", (event) => {
  const steps = {ArrowUp: [0, 1], ArrowDown: [0, -1], ArrowLeft: [-1, 0], ArrowRight: [1, 0]};
  const step = steps[event.key];
  if (!step) {
    if (event.key === "Escape" && picked !== null) {
      hint(`Put back on ${picked}.`);
      putDown();
    }
    return;
  }
  event.preventDefault();
  const sign = person === "w" ? 1 : -1;
  const file = cursor.charCodeAt(0) + step[0] * sign;
  const rank = cursor.charCodeAt(1) + step[1] * sign;
  if (file < 97 || file > 104 || rank < 49 || rank > 56) return;
  cursor = String.fromCharCode(file, rank);
  nameSquares();
  squareButtons.get(cursor).focus();
});

element("squares").addEventListener("focusin", (event) => {
  const square = event.target.dataset?.square;
  if (square && square !== cursor) {
    cursor = square;
    nameSquares();
  }
});

// The promotion's piece, chosen in the page's dialog: "q", "r", "b" or "n", or null when the
// move is taken back.
function choosePromotion(color) {
  const dialog = element("promotion");
  for (const button of dialog.querySelectorAll("[data-piece] use")) {
    button.setAttribute("href", `${PIECES_SPRITE}#${color}${button.closest("button").dataset.piece}`);
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

// The end of the game, if it has come: shown, said, and the board closed.
function endIfOver(said) {
  const result = game.result();
  if (result === null) return false;
  // The score stays on one line: "Checkmate: White wins, 1-0".
  const [words, score] = result.split(/, (?=\S+$)/);
  const scoreText = document.createElement("span");
  scoreText.className = "score";
  scoreText.textContent = score;
  element("result").replaceChildren(`${words}, `, scoreText);
  element("result").hidden = false;
  board.disableMoveInput();
  setState("over", "Game over.");
  say(`${said ?? ""} ${words}.`.trim());
  return true;
}

// After each move: the game's end, or the next side's turn.
async function nextTurn(said) {
  showMoves();
  nameSquares();
  if (endIfOver(said)) return;
  if (said) say(said);
  const loading = document.body.dataset.engine !== "ready";
  if (game.turn() === person) {
    board.enableMoveInput(onMoveInput, person === "w" ? COLOR.white : COLOR.black);
    setState("your-move", loading ? "Your move. Brindlet's engine is still loading; it answers once it is ready." : "Your move.");
    return;
  }
  board.disableMoveInput();
  setState("thinking", loading ? "Brindlet's engine is loading; it answers once it is ready…" : "Brindlet is thinking…");
  const number = gameNumber;
  let reply;
  try {
    reply = await engine.bestMove(game.positionCommand());
  } catch (error) {
    if (number === gameNumber) showError(error.message);
    return;
  }
  if (number !== gameNumber) return;
  if (reply.source === null) {
    showError(`Brindlet's own check refused this position, as the page sent it: "${quote(game.startFen)}"`);
    return;
  }
  const move = game.play(reply.move, "engine", reply.source);
  if (move === null) {
    showError(`Brindlet answered ${reply.move}, which is not a legal move here.`);
    return;
  }
  await board.setPosition(game.fen(), true);
  showLastMove(move);
  nextTurn(`Brindlet: ${move.words}, ${sourceWords(move.source)}.`);
}

function personMoves(uci) {
  const move = game.play(uci, "person");
  board.setPosition(game.fen(), true);
  showLastMove(move);
  nextTurn(`You: ${move.words}.`);
}

function onMoveInput(event) {
  switch (event.type) {
    case INPUT_EVENT_TYPE.moveInputStarted: {
      putDown();
      const moves = game.legalMovesFrom(event.squareFrom);
      board.addLegalMovesMarkers(moves);
      return moves.length > 0;
    }
    case INPUT_EVENT_TYPE.validateMoveInput: {
      const {squareFrom: from, squareTo: to} = event;
      if (!game.legalMovesFrom(from).some((move) => move.to === to)) return false;
      if (game.isPromotion(from, to)) {
        choosePromotion(person).then((piece) => {
          if (piece !== null) {
            personMoves(`${from}${to}${piece}`);
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

element("move-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const input = element("move-text");
  if (!isPersonsTurn()) {
    hint(notYourTurn());
    return;
  }
  const found = game.findTypedMove(input.value);
  if (found.error) {
    hint(found.error);
    input.setAttribute("aria-invalid", "true");
    return;
  }
  input.removeAttribute("aria-invalid");
  input.value = "";
  hint("");
  putDown();
  personMoves(found.uci);
});

// A new game: from the start position with the person's chosen colour, or from the FEN the
// address gives, with Brindlet to move. Each game after the page's first has a fresh engine
// run, so that it asks the book as the first did.
function newGame(addressFen) {
  gameNumber += 1;
  if (gameNumber > 1) {
    engine.stop();
    startEngine();
  }
  element("result").hidden = true;
  element("error").hidden = true;
  board.disableMoveInput();
  say("");
  hint("");
  picked = null;
  let fen = START_FEN;
  if (addressFen !== null) {
    try {
      fen = readAddressFen(addressFen);
    } catch (error) {
      if (!(error instanceof RefusedPosition)) throw error;
      game = new Game();
      person = "w";
      layOutSquares();
      board.setPosition(START_FEN);
      showMoves();
      showError(`This position is refused, not repaired, so that the text keeps its meaning: ${error.message}. ` +
        `The address gave: "${quote(addressFen)}"`);
      document.body.dataset.game = String(gameNumber);
      return;
    }
  }
  game = new Game(fen);
  person = addressFen !== null ? (game.turn() === "w" ? "b" : "w") : element("colour").value;
  cursor = person === "w" ? "e2" : "e7";
  board.setOrientation(person === "w" ? COLOR.white : COLOR.black);
  layOutSquares();
  // The board takes the position at once (its drawing follows): nothing between the click on
  // "New game" and the new game's first turn yields, so no click lands in a half-made game.
  board.setPosition(game.fen());
  showLastMove(null);
  nextTurn();
  document.body.dataset.game = String(gameNumber);
}

// The engine's log is complete once its run has ended: the engine quits, its log is saved, and
// a new run takes over the game, as when a GUI restarts an engine (its log starts afresh).
async function downloadLog() {
  const state = document.body.dataset.state;
  if ((state !== "your-move" && state !== "over") || document.body.dataset.engine !== "ready") return;
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
element("read-position").addEventListener("click", () => say(game.positionWords()));
element("download-log").addEventListener("click", downloadLog);

startEngine();
newGame(new URL(location.href).searchParams.get("fen"));
