// The page's service worker: it keeps this release's files so the page plays with no network and can be
// added to a home screen. The file names carry their content's hash, so a release never pairs an old
// script with a new WebAssembly; each release has its own cache and drops the ones before it.
"use strict";
const CACHE = "vevu-@VEVU_PAGE_VERSION@";
const FILES = @VEVU_PAGE_FILES@;

self.addEventListener("install", (event) => {
    // The page itself is asked for afresh ("no-cache"): a cached copy could name an older release's files.
    event.waitUntil(caches.open(CACHE)
                        .then((cache) => cache.addAll(FILES.map((file) => new Request(file, {cache: "no-cache"}))))
                        .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
                        .then((names) => Promise.all(names.filter((name) => name.startsWith("vevu-") && name !== CACHE)
                                                         .map((name) => caches.delete(name))))
                        .then(() => self.clients.claim()));
});

// The page comes from the network while there is one (so a new release shows at once) and from this
// release's copy without; the hashed files never change, so the copy serves them first.
self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
    if (request.mode === "navigate") {
        event.respondWith(fetch(request).catch(() => caches.match("./", {cacheName: CACHE})
                                                         .then((page) => page || Response.error())));
        return;
    }
    event.respondWith(caches.match(request, {cacheName: CACHE}).then((hit) => hit || fetch(request)));
});
