// What the device remembers of the person's choices: the board flipped, the sound on. Read
// defensively: a setting stored wrongly, or storage refused, is the default.
import {KEYS, read, write} from "./storage.js";

const DEFAULTS = {flipped: false, sound: true};

export function loadSettings() {
  const stored = read(KEYS.settings).value;
  const settings = {...DEFAULTS};
  if (typeof stored === "object" && stored !== null) {
    for (const name of Object.keys(DEFAULTS)) if (typeof stored[name] === "boolean") settings[name] = stored[name];
  }
  return settings;
}

export function saveSettings(settings) {
  write(KEYS.settings, settings);
}
