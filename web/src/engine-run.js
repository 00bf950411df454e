// One run of the engine, as a GUI starts one, with every exchange it was asked for: the
// "position ..." command, and the move and source it answered (none yet while it thinks). The
// exchanges are kept with the game, so that a run started after a reload can be sent them
// again: the engine is deterministic, so it then stands where the interrupted run stood (its
// book asked or closed as before), and each answer is checked against the one recorded.
import {Engine} from "./engine.js";

export class EngineRun {
  // `onChange` is called whenever an exchange is asked or answered.
  constructor(onChange) {
    this.engine = new Engine("brindlet.js");
    this.exchanges = [];  // {command, move, source}
    this.onChange = onChange;
    this.differences = [];  // replayed exchanges that did not get their recorded answer
    this.replaying = false;  // whether the exchanges of an interrupted run are being sent again
  }

  start() {
    return this.engine.start();
  }

  // The engine's answer for the position that `command` sets: {move, source}.
  async bestMove(command) {
    const exchange = {command, move: null, source: null};
    this.exchanges.push(exchange);
    this.onChange();
    const reply = await this.engine.bestMove(command);
    exchange.move = reply.move;
    exchange.source = reply.source;
    this.onChange();
    return reply;
  }

  // Sends the exchanges of an interrupted run again, in their order, before anything else is
  // asked; `skipLast` leaves out a last unanswered one that the game is about to ask anyway.
  // Resolves once all are answered.
  replay(recorded, skipLast) {
    const valid = recorded.filter((exchange) => typeof exchange?.command === "string" &&
      /^position (startpos|fen )[^\r\n]*$/.test(exchange.command));
    if (skipLast && valid.length > 0 && valid[valid.length - 1].move === null) valid.pop();
    this.replaying = valid.length > 0;
    const all = Promise.all(valid.map(async (old, index) => {
      const reply = await this.bestMove(old.command);
      if (typeof old.move === "string" && (reply.move !== old.move || reply.source !== old.source)) {
        this.differences.push(`exchange ${index + 1}: ${old.move} (${old.source}) then, ${reply.move} (${reply.source}) now`);
      }
    }));
    return all.finally(() => {
      this.replaying = false;
    });
  }

  stop() {
    this.engine.stop();
  }

  quit() {
    return this.engine.quit();
  }
}
