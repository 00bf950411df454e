// What the page shows while the engine's files load (#loading: a line of text and a progress
// bar) or while a piece of its opening books is fetched again, and the service worker that
// keeps the site for offline use once they are in.
const NAMES = {
  "brindlet.wasm.gz": "the engine",
  "book/index.json": "the opening books' index",
};

const megabytes = (bytes) => (bytes / 1e6).toFixed(1);

// Follows the engine's loading in #loading until all is in, then hides it and registers the
// service worker (not before: its first install takes the files the page has just fetched).
export function showLoading(engine) {
  const element = document.getElementById("loading");
  const text = element.querySelector("span");
  const bar = element.querySelector("progress");
  const files = new Map();  // name: {received, total}
  engine.onProgress = ({what, received, total}) => {
    files.set(what, {received, total});
    let allReceived = 0;
    let allTotal = 0;
    for (const file of files.values()) {
      allReceived += file.received;
      allTotal += file.total;
    }
    const loading = [...files].filter(([, file]) => file.received < file.total).map(([name]) => NAMES[name] ?? name);
    text.textContent = `Loading ${loading.length > 0 ? loading.join(", ") : "Brindlet"}: ` +
      `${megabytes(allReceived)} of ${megabytes(allTotal)} MB`;
    bar.max = allTotal;
    bar.value = allReceived;
  };
  engine.onLoaded = () => {
    element.hidden = true;
    engine.onProgress = null;
    if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
  };
  // A piece of the opening books that does not come holds Brindlet's answer until it does (a
  // book miss instead would change its play): the line says so while the worker tries again.
  engine.onBookWait = ({error, attempt}) => {
    document.body.dataset.books = "waiting";
    text.textContent = `Brindlet waits for a piece of its opening book, which could not be fetched ` +
      `(${error}); trying again (attempt ${attempt + 1})…`;
    bar.removeAttribute("value");
    element.hidden = false;
  };
  engine.onBookBack = () => {
    delete document.body.dataset.books;
    element.hidden = true;
  };
  // Once every piece is here, the service worker is asked to keep them all; then the page
  // plays offline.
  engine.onBooksComplete = async () => {
    document.body.dataset.books = "complete";
    if (!("serviceWorker" in navigator)) return;
    const registration = await navigator.serviceWorker.ready;
    const channel = new MessageChannel();
    const kept = new Promise((resolve) => { channel.port1.onmessage = (event) => resolve(event.data?.kept === true); });
    registration.active?.postMessage({type: "keep-books"}, [channel.port2]);
    if (await kept) document.body.dataset.books = "kept";
  };
}
