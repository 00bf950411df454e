// The earlier games kept on the device: the last 50, newest first, each in the game's stored
// form. A game is put again as it changes (the same id replaces it). An entry that cannot be
// read is left out of the list but kept in storage, as are all the rest.
import {Game} from "./game.js";
import {KEYS, read, write} from "./storage.js";

export const KEPT_GAMES = 50;

export class Archive {
  constructor(onError) {
    this.onError = onError;
  }

  stored() {
    const found = read(KEYS.games);
    if (found.error) {
      if (found.text !== undefined) this.onError(`the earlier games cannot be read (${found.error})`);
      return null;
    }
    if (found.missing) return [];
    if (!Array.isArray(found.value)) this.onError("the earlier games cannot be read (what is stored is not a list)");
    return Array.isArray(found.value) ? found.value : null;
  }

  // The games that can be read, newest first.
  games() {
    const games = [];
    for (const entry of this.stored() ?? []) {
      try {
        games.push(Game.fromStored(entry));
      } catch {
        // Left out of the list, kept in storage.
      }
    }
    return games;
  }

  put(game) {
    const stored = this.stored();
    if (stored === null) return;  // not ours to overwrite
    const others = stored.filter((entry) => entry?.id !== game.id);
    this.save([game.toStored(), ...others].slice(0, KEPT_GAMES));
  }

  remove(id) {
    const stored = this.stored();
    if (stored !== null) this.save(stored.filter((entry) => entry?.id !== id));
  }

  save(entries) {
    const error = write(KEYS.games, entries);
    if (error !== null) this.onError(`the earlier games are not kept (${error})`);
  }
}
