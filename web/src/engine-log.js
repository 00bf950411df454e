// "Download log": the engine's log is complete once its run has ended, so the engine quits, its
// log is saved, and a new run takes over the game, as when a GUI restarts an engine (its log,
// and its record of exchanges, start afresh).
import {EngineRun} from "./engine-run.js";
import {download} from "./save-game.js";

export async function downloadLog(controller) {
  const state = controller.phase;
  if ((state !== "your-move" && state !== "over") || document.body.dataset.engine !== "ready") return;
  controller.phase = "loading";
  controller.render();
  document.getElementById("status").textContent = "Saving the log…";
  const quitting = controller.run;
  let next;
  try {
    const bytes = await quitting.quit();
    if (controller.run !== quitting) return;  // a new game has begun meanwhile, with its own run
    next = new EngineRun(() => controller.save());
    controller.run = next;
    await next.start();
    controller.save();
    if (bytes !== null) download("brindlet.log", new Blob([bytes], {type: "text/plain"}));
  } catch (error) {
    if (controller.run === next || controller.run === quitting) controller.fail(error.message);
    return;
  }
  if (controller.run !== next) return;
  controller.phase = state;
  controller.render();
}
