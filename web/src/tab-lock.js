// One tab at a time keeps the game on the device: the tab that holds the lock writes its id and
// the time into storage every few seconds. A tab opened while another holds a fresh lock plays a
// game of its own, which is not stored, so that neither overwrites the other's game. The lock
// is released when its tab is closed or reloaded; one not renewed for a while (its tab crashed,
// or a background tab's timers were slowed) is free, and its old holder checks before each
// write that the lock is still its own.
import {KEYS, read, remove, write} from "./storage.js";

const RENEW_MS = 2000;
const STALE_MS = 6000;

export class TabLock {
  constructor() {
    this.id = `${Date.now().toString(36)}-${Math.random().toString(36).slice(2)}`;
    this.timer = null;
  }

  // Whether this tab holds the lock now, taking it when it is free.
  holds() {
    const held = read(KEYS.tab).value;
    const fresh = typeof held?.at === "number" && Math.abs(Date.now() - held.at) < STALE_MS;
    if (held?.id !== undefined && held.id !== this.id && fresh) return false;
    write(KEYS.tab, {id: this.id, at: Date.now()});
    if (this.timer === null) {
      this.timer = setInterval(() => this.holds(), RENEW_MS);
      window.addEventListener("pagehide", () => {
        if (read(KEYS.tab).value?.id === this.id) remove(KEYS.tab);
      });
    }
    return true;
  }
}
