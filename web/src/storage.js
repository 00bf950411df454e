// The page's own entries in the browser's localStorage, each under a key of its own. Every access
// may fail (storage refused, as in a private window; full; edited by hand, or written by another
// version of the page): read returns {value}, {missing} or {error} in words, write returns the
// error in words or null. Only the page's own keys are ever written or removed.
export const KEYS = {
  game: "brindlet.game.v1",  // the game in progress and its engine run
  setAside: "brindlet.game.v1.unread",  // a stored game that could not be read, kept as it was
  games: "brindlet.games.v1",  // earlier games, newest first
  settings: "brindlet.settings.v1",  // board flipped, sound on
  tab: "brindlet.tab.v1",  // the tab that keeps the game, and when it last said so
};

function localStore() {
  try {
    return window.localStorage;  // the getter itself throws where storage is refused
  } catch {
    return null;
  }
}

export function read(key) {
  const store = localStore();
  if (store === null) return {error: "the browser refuses this page storage"};
  let text;
  try {
    text = store.getItem(key);
  } catch {
    return {error: "the browser refuses this page storage"};
  }
  if (text === null) return {missing: true};
  try {
    return {value: JSON.parse(text), text};
  } catch {
    return {error: "what is stored cannot be read", text};
  }
}

export function write(key, value) {
  const store = localStore();
  if (store === null) return "the browser refuses this page storage";
  try {
    store.setItem(key, JSON.stringify(value));
    return null;
  } catch (error) {
    return error?.name === "QuotaExceededError" ? "the device's storage for this page is full"
      : "the browser refuses this page storage";
  }
}

export function writeText(key, text) {
  try {
    localStore()?.setItem(key, text);
  } catch {
    // Nothing more can be kept: the caller has already said so.
  }
}

export function remove(key) {
  try {
    localStore()?.removeItem(key);
  } catch {
    // As above.
  }
}
