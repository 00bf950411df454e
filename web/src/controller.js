// The one owner of the page's state: the game (its model), the phase ("your-move", "thinking",
// "over", "error"), the ply shown while the person reviews, the earlier game under review, the
// board's orientation, the engine run and the exchange whose answer the game waits for. Every
// change goes through here, is stored, and is drawn by render(). An engine answer is taken only
// for the exchange the game still waits for: one for a position the game has left (a takeback,
// a resignation, a new game) is dropped.
import * as announce from "./announce.js";
import {EngineRun} from "./engine-run.js";
import {Game} from "./game.js";
import {showLoading} from "./loading.js";
import {START_FEN, quote} from "./position.js";
import {moveSound, playSound} from "./sound.js";
import {saveSettings} from "./settings.js";
import {KEYS, write} from "./storage.js";
import {render} from "./view.js";
import {plyLabel, sourceWords} from "./words.js";

export class Controller {
  constructor({board, squares, moveList, settings, archive}) {
    Object.assign(this, {board, squares, moveList, settings, archive});
    this.phase = "loading";
    this.game = new Game();
    this.shown = null;  // the ply shown while reviewing; null: the game as it stands
    this.viewing = null;  // an earlier game under review
    this.pending = null;  // the exchange whose answer the game waits for
    this.run = null;
    this.gameNumber = 0;
    this.keeps = true;  // whether this tab keeps its game on the device
    this.lock = null;  // the TabLock that lets it
    this.storeError = null;
    this.change = 0;  // counts the game's changes, so that a wait can tell it was overtaken
  }

  get orientation() {
    const person = this.game.person;
    return this.settings.flipped === (person === "w") ? "b" : "w";
  }

  get reviewing() {
    return this.shown !== null || this.viewing !== null;
  }

  // Whether the person may move now, or why not, in words.
  whyNoMove() {
    if (this.reviewing) return "An earlier position is shown: “Back to the game” (or End) returns to it.";
    if (this.phase === "your-move") return null;
    if (this.phase === "thinking") return "Wait: Brindlet is to move.";
    if (this.phase === "over") return "The game is over: “New game” starts another, “Take back” goes on from before its end.";
    return "No move can be made now.";
  }

  // A new run of the engine, as when a GUI starts one: the page's status follows its start.
  startRun() {
    const run = new EngineRun(() => this.save());
    // The first run's files come over the network: the page shows how far they are.
    if (this.run === null) showLoading(run.engine);
    this.run = run;
    document.body.dataset.engine = "loading";
    run.start().then(() => {
      if (this.run !== run) return;
      document.body.dataset.engine = "ready";
      this.render();
    }, (error) => {
      if (this.run === run) this.fail(error.message);
    });
  }

  // A new game, begun without yielding between the call and its first turn, so that no click
  // lands in a half-made game. The game it replaces, if it has moves, joins the earlier games.
  newGame({fen = START_FEN, person = "w", began = "start"} = {}) {
    this.keepEarlier();
    this.gameNumber += 1;
    if (this.run !== null) this.run.stop();
    this.startRun();
    this.game = new Game(fen, person);
    this.game.began = began;
    this.begin();
  }

  // The game kept on the device, with its engine run brought to where the interrupted one stood.
  restore(game, exchanges) {
    this.gameNumber += 1;
    this.startRun();
    this.game = game;
    const waits = !game.hasEnded() && game.turn() !== game.person;
    const last = exchanges[exchanges.length - 1];
    const run = this.run;
    run.replay(exchanges, waits && last?.command === game.positionCommand()).then(() => {
      if (this.run === run) this.render();
      if (run.differences.length > 0) {
        announce.note(`Brindlet's new run did not answer as the one before the reload: ${run.differences[0]}.`);
      }
    }, () => {});
    this.begin();
    const plies = game.moves.length;
    if (plies > 0 && !game.hasEnded()) {
      announce.say(`The game goes on where it stood, after ${plyLabel(game.startFen, plies, game.moves[plies - 1].san)}.`);
    }
  }

  begin() {
    this.change += 1;
    this.shown = null;
    this.viewing = null;
    this.pending = null;
    this.squares.picked = null;
    this.squares.cursor = this.game.person === "w" ? "e2" : "e7";
    this.board.show(this.game.fen());
    announce.hideResult();
    announce.showError("");
    announce.say("");
    announce.hint("");
    this.phase = "loading";
    this.advance();
    document.body.dataset.game = String(this.gameNumber);
  }

  // After each change of the game: stored, then its end, the person's turn or Brindlet's.
  advance(said) {
    this.save();
    const result = this.game.result();
    if (result !== null) {
      this.phase = "over";
      const [words, score] = result.split(/, (?=\S+$)/);
      announce.showResult(words, score);
      announce.say(`${said ?? ""} ${words}.`.trim());
      playSound("end", this.settings.sound);
      this.archive.put(this.game);
    } else {
      announce.hideResult();
      if (said) announce.say(said);
      if (this.game.turn() === this.game.person) {
        this.phase = "your-move";
      } else {
        this.phase = "thinking";
        this.ask();
      }
    }
    this.render();
  }

  ask() {
    const asked = {command: this.game.positionCommand()};
    this.pending = asked;
    this.run.bestMove(asked.command).then((reply) => this.answered(asked, reply), (error) => {
      if (this.pending === asked) this.fail(error.message);
    });
  }

  async answered(asked, reply) {
    if (this.pending !== asked) return;
    this.pending = null;
    if (reply.source === null) {
      this.fail(`Brindlet's own check refused this position, as the page sent it: "${quote(this.game.startFen)}"`);
      return;
    }
    const move = this.game.play(reply.move, "engine", reply.source);
    if (move === null) {
      this.fail(`Brindlet answered ${reply.move}, which is not a legal move here.`);
      return;
    }
    this.save();
    playSound(moveSound(move), this.settings.sound);
    const change = ++this.change;
    if (!this.reviewing) await this.board.show(this.game.fen(), true);
    if (change === this.change) this.advance(`Brindlet: ${move.words}, ${sourceWords(move.source)}.`);
  }

  play(uci) {
    if (this.whyNoMove() !== null) return;
    const move = this.game.play(uci, "person");
    if (move === null) return;
    this.change += 1;
    this.board.show(this.game.fen(), true);
    playSound(moveSound(move), this.settings.sound);
    this.advance(`You: ${move.words}.`);
  }

  canTakeBack() {
    return this.viewing === null && this.phase !== "error" && this.phase !== "loading" &&
      (this.game.resigned !== null || this.game.moves.some((move) => move.by === "person"));
  }

  // Undoes the person's last move and Brindlet's reply, or only the person's move while
  // Brindlet thinks (its answer is then dropped), or a resignation. The engine run is kept.
  takeBack() {
    if (!this.canTakeBack()) return;
    this.change += 1;
    this.shown = null;
    this.pending = null;
    let said;
    if (this.game.resigned !== null) {
      this.game.resigned = null;
      said = "Resignation taken back.";
    } else {
      const taken = [];
      while (this.game.moves.at(-1).by === "engine") taken.unshift(this.game.undo());
      taken.unshift(this.game.undo());
      const plies = this.game.moves.length;
      said = `Taken back: ${taken.map((move, index) => plyLabel(this.game.startFen, plies + index + 1, move.san)).join(", ")}.`;
    }
    this.board.show(this.game.fen(), true);
    this.advance(said);
  }

  resign() {
    if (this.viewing !== null || (this.phase !== "your-move" && this.phase !== "thinking")) return;
    this.change += 1;
    this.shown = null;
    this.pending = null;
    this.game.resign();
    this.board.show(this.game.fen());
    this.advance();
  }

  // Shows the position after `ply` moves of the game (or of the earlier game under review).
  review(ply) {
    const game = this.viewing ?? this.game;
    const to = Math.max(0, Math.min(ply, game.moves.length));
    if (this.viewing === null && to === game.moves.length) {
      this.backToGame();
      return;
    }
    this.shown = to;
    this.render();
    announce.say(to === 0 ? "Showing the start position." :
      `Showing the position after ${plyLabel(game.startFen, to, game.moves[to - 1].san)}.`);
  }

  shownPly() {
    return this.shown ?? (this.viewing ?? this.game).moves.length;
  }

  viewEarlier(game) {
    this.viewing = game;
    this.review(game.moves.length);
  }

  backToGame() {
    if (!this.reviewing) return;
    this.shown = null;
    this.viewing = null;
    this.render();
    announce.say("Back to the game.");
  }

  flip() {
    this.settings.flipped = !this.settings.flipped;
    saveSettings(this.settings);
    this.render();
    announce.say(`Board flipped: ${this.orientation === "w" ? "White" : "Black"} at the bottom.`);
  }

  fail(text) {
    this.pending = null;
    this.phase = "error";
    announce.showError(text);
    this.render();
  }

  // The game in progress and its engine run's exchanges, kept under the page's own key.
  save() {
    if (!this.keeps) return;
    if (this.lock !== null && !this.lock.holds()) {
      this.keeps = false;
      announce.note(this.elsewhere);
      return;
    }
    const error = write(KEYS.game, {version: 1, game: this.game.toStored(), run: this.run?.exchanges ?? []});
    if (error !== null && this.storeError === null) {
      this.storeError = error;
      announce.note(`This game is not kept on this device (${error}); it plays on, but a reload loses it.`);
    }
  }

  get elsewhere() {
    return "Brindlet's game is open in another tab: this tab plays a game of its own, which is not kept.";
  }

  keepEarlier() {
    if (this.game.moves.length > 0) this.archive.put(this.game);
  }

  render() {
    render(this);
  }
}
