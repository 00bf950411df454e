// One tab at a time keeps the game on the device: the tab that holds the lock writes its id and
// the time into storage every few seconds. A tab opened while another holds a fresh lock plays a
// game of its own, which is not stored, so that neither overwrites the other's game. The lock
// is released when its tab is closed or reloaded, and a lock not renewed for a while is free.
import {KEYS, read, remove, write} from "./storage.js";

const RENEW_MS = 2000;
const STALE_MS = 6000;

export function takeLock() {
  const id = `${Date.now().toString(36)}-${Math.random().toString(36).slice(2)}`;
  const held = read(KEYS.tab).value;
  const fresh = typeof held?.at === "number" && Math.abs(Date.now() - held.at) < STALE_MS;
  if (held?.id !== undefined && fresh) return false;
  const renew = () => write(KEYS.tab, {id, at: Date.now()});
  renew();
  const timer = setInterval(() => {
    if (read(KEYS.tab).value?.id === id) renew();
    else clearInterval(timer);
  }, RENEW_MS);
  window.addEventListener("pagehide", () => {
    clearInterval(timer);
    if (read(KEYS.tab).value?.id === id) remove(KEYS.tab);
  });
  return true;
}
