// The page's service worker: it keeps this release's files so the page plays with no network and can be
// added to a home screen. The file names carry their content's hash, so a release never pairs an old
// script with a new WebAssembly; each release has its own cache and drops the ones before it.
"use strict";
const RELEASE = "@VEVU_PAGE_VERSION@";
const FILES = @VEVU_PAGE_FILES@; // "./" is the page itself
const NAMED_BY_HASH = @VEVU_PAGE_HASHED_FILES@; // the script and WebAssembly the page must name
const KEPT_BYTES = @VEVU_PAGE_KEPT_BYTES@;
// Every release's page carries this line; a captive portal's or a server's error page does not.
const PAGE_MARK = '<meta name="application-name" content="The Vevu Zudevur">';
// A page that has not come within this time comes from the kept copy (a network that hangs).
const NETWORK_PATIENCE_MS = 4000;
// Caches are named by the worker's scope too: two builds served from one origin (/play/ and /beta/)
// keep their own and leave each other's alone.
const SCOPE = self.registration.scope;
const CACHE_PREFIX = `vevu ${SCOPE} `;
const CACHE = CACHE_PREFIX + RELEASE;

self.addEventListener("install", (event) => {
    event.waitUntil(keepRelease().then(() => self.skipWaiting(), async (error) => {
        await caches.delete(CACHE); // nothing half kept
        await tellPages({quota: error.name === "QuotaExceededError", reason: error.message});
        throw error;
    }));
});

// Fetches every file afresh ("no-cache": a cached page could name an older release's files) and keeps
// them only if they are all there and the page is this release's: a page fetched while a new release
// is being deployed may name a script this worker does not keep.
async function keepRelease() {
    const {quota, usage} = navigator.storage && navigator.storage.estimate ? await navigator.storage.estimate()
                                                                         : {};
    if (quota !== undefined && quota - usage < KEPT_BYTES)
        throw new DOMException(`the browser's storage for this site is full (${megabytes(quota - usage)} MB ` +
                               `free, the game takes ${megabytes(KEPT_BYTES)} MB)`, "QuotaExceededError");
    const cache = await caches.open(CACHE);
    await cache.addAll(FILES.map((file) => new Request(file, {cache: "no-cache"})));
    const page = await (await cache.match("./")).text();
    if (!page.includes(PAGE_MARK)) throw new Error("the server sent another page than the game's");
    const unnamed = NAMED_BY_HASH.filter((file) => !page.includes(`"${file}"`));
    if (unnamed.length)
        throw new Error(`the server's page is from another release than ${unnamed.join(" and ")}: reload later`);
    // The page is kept as a plain answer: one that came through a redirect cannot answer a navigation.
    await cache.put("./", new Response(page, {headers: {"Content-Type": "text/html; charset=utf-8"}}));
}

function megabytes(bytes) {
    return (Math.max(0, bytes) / 1e6).toFixed(1);
}

// The pages of this scope learn why they will not play offline (they say it once).
async function tellPages(report) {
    const pages = await self.clients.matchAll({type: "window", includeUncontrolled: true});
    for (const page of pages)
        if (page.url.startsWith(SCOPE)) page.postMessage({vevuOffline: report});
}

// Drops this scope's older releases, and the caches of builds from before caches carried their scope.
self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
                        .then((names) => Promise.all(
                                  names.filter((name) => (name.startsWith(CACHE_PREFIX) && name !== CACHE) ||
                                                         /^vevu-[0-9a-f]{12}$/.test(name))
                                      .map((name) => caches.delete(name))))
                        .then(() => self.clients.claim()));
});

// The page comes from the network while it answers with the game's page (so a new release shows at
// once), and from this release's copy otherwise: no network, an HTTP error, a captive portal's page, or
// no answer in time. The hashed files never change, so the copy serves them first.
self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
    if (request.mode === "navigate") {
        event.respondWith(pageFromNetworkOrKept(request));
        return;
    }
    event.respondWith(caches.match(request, {cacheName: CACHE}).then((hit) => hit || fetch(request)));
});

async function pageFromNetworkOrKept(request) {
    const kept = await caches.match("./", {cacheName: CACHE});
    const giveUp = new AbortController();
    const network = fetch(request, {signal: giveUp.signal}).then(async (response) => {
        // Another file of the folder opened in a tab (an icon, the manifest) is shown as it is.
        const html = (response.headers.get("Content-Type") || "").startsWith("text/html");
        const usable = response.ok && (!html || (await response.clone().text()).includes(PAGE_MARK));
        return {response, usable};
    });
    if (!kept) return network.then(({response}) => response);
    let timer;
    const patience = new Promise((late) => { timer = setTimeout(late, NETWORK_PATIENCE_MS, null); });
    const answer = await Promise.race([network.catch(() => null), patience]);
    clearTimeout(timer);
    if (answer && answer.usable) return answer.response;
    if (!answer) giveUp.abort();
    return kept;
}
