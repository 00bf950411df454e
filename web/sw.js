// The page's service worker: it keeps the site's files in one cache and serves them from there,
// so that after one visit the page loads and plays with no network. The build
// (scripts/web-site.mjs) writes in the cache's name, made of the release's version and a digest
// of the files, the list of the files that the first load needs (their addresses relative to
// this script), which it installs, and the pattern of the gzipped copies that are for servers
// only. What the page fetches later (the book's pieces) is kept as it comes from the network. A
// new build is a new script: the browser installs it at the next visit (its update check), it
// fills a new cache, and the old caches are deleted once it takes over.
const CACHE = @CACHE@;
const COPIES = @COPIES@;
const FILES = @FILES@;

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    // The first install comes at the end of the page's first visit, which has just fetched
    // (nearly) all of these files: they are taken from the browser's HTTP cache as they are
    // ("force-cache"). An update takes each from the server, or a copy the server confirms
    // ("no-cache"), so that no file of the older release is kept.
    const update = (await caches.keys()).some((name) => name.startsWith("brindlet-") && name !== CACHE);
    const cache = await caches.open(CACHE);
    await Promise.all(FILES.map(async (file) => {
      const response = await fetch(file, {cache: update ? "no-cache" : "force-cache"});
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      await cache.put(file, response);
    }));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith("brindlet-") && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page, whatever its query (a position opened by address), is index.html; any other file
// of the site comes from the cache, and what the cache lacks from the network, kept for the
// next time.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  const scope = new URL(self.registration.scope);
  const url = new URL(request.url);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  const path = url.pathname.slice(scope.pathname.length);
  const page = request.mode === "navigate" && (path === "" || path === "index.html");
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const cached = await cache.match(page ? "index.html" : request, {ignoreSearch: page});
    if (cached) return cached;
    const response = await fetch(request);
    // Whole files only (not a range's part, nor an error), and none of the servers' copies.
    if (response.status === 200 && !page && !COPIES.test(path)) {
      event.waitUntil(cache.put(request, response.clone()).catch(() => {}));
    }
    return response;
  })());
});

// Once the page's engine has every piece of the books, the page asks that all be kept: pieces
// fetched before this worker took control of the page went past it. Each missing piece is
// taken from the browser's HTTP cache where it can be; the answer ({kept}) goes back on the
// message's port.
self.addEventListener("message", (event) => {
  if (event.data?.type !== "keep-books") return;
  const answer = (kept) => event.ports[0]?.postMessage({kept});
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    const index = await (await cache.match("book/index.json") ?? await fetch("book/index.json")).json();
    const pieces = Object.values(index.books).flatMap((book) => book.pieces.map((piece) => piece.file));
    await Promise.all(pieces.map(async (file) => {
      if (await cache.match(file)) return;
      const response = await fetch(file, {cache: "force-cache"});
      if (response.status !== 200) throw new Error(`${file}: ${response.status}`);
      await cache.put(file, response);
    }));
    answer(true);
  })().catch(() => answer(false)));
});
