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
  try {
    const bytes = await controller.run.quit();
    controller.run = new EngineRun(() => controller.save());
    await controller.run.start();
    controller.save();
    if (bytes !== null) download("brindlet.log", new Blob([bytes], {type: "text/plain"}));
  } catch (error) {
    controller.fail(error.message);
    return;
  }
  controller.phase = state;
  controller.render();
}
