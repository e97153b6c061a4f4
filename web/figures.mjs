// The web page's figures: what a visitor downloads on a first visit (the page and what its service
// worker keeps; gzipped too, as a static server sends it), the time from navigation to the first intro
// frame on a phone's viewport and from the first touch to the sound starting, in headless chromium, and
// frames drawn per second on the crowded battlefield of the benchmarks (build/web/bench, built by
// scripts/web-figures.sh). Usage: node figures.mjs [build/web]
import {readFileSync, readdirSync, statSync} from "node:fs";
import {loadavg} from "node:os";
import {join, resolve} from "node:path";
import {gzipSync} from "node:zlib";
import {launchChromium, serve, until} from "./browser.mjs";

const root = resolve(process.argv[2] || new URL("../build/web", import.meta.url).pathname);
const mb = (bytes) => `${(bytes / 1e6).toFixed(2)} MB`;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// User and system time of a process and all its descendants, in milliseconds (Linux /proc).
function chromiumCpuMillis(rootPid) {
    const parents = new Map();
    const times = new Map();
    for (const entry of readdirSync("/proc")) {
        if (!/^[0-9]+$/.test(entry)) continue;
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, "utf8");
            const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
            parents.set(Number(entry), Number(fields[1]));
            times.set(Number(entry), Number(fields[11]) + Number(fields[12]));
        } catch {
            // the process ended meanwhile
        }
    }
    const inTree = (pid) => {
        for (let p = pid; p > 1; p = parents.get(p)) if (p === rootPid) return true;
        return false;
    };
    let ticks = 0;
    for (const [pid, t] of times) if (inTree(pid)) ticks += t;
    return ticks * 10; // USER_HZ is 100 on Linux
}

const phone = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const server = await serve(root);
const pageUrl = server.url + "page/";
const chromium = await launchChromium();
const figures = {};
try {
    // Transfer: every file the page and its service worker asked for on a first visit.
    const page = await chromium.browser.newPage();
    await page.setCacheEnabled(false);
    await page.goto(pageUrl);
    await until("the first intro frame",
                () => page.evaluate(() => performance.getEntriesByName("vevu-first-frame").length > 0), 60000);
    await until("the service worker", () => page.evaluate(
        () => navigator.serviceWorker.ready.then(() => navigator.serviceWorker.controller !== null)), 60000);
    const files = [...new Set(server.sent.map((s) => s.path))];
    const fileOf = (path) => join(root, path.endsWith("/") ? path + "index.html" : path);
    figures.transferBytes = files.reduce((sum, path) => sum + statSync(fileOf(path)).size, 0);
    const wasmName = readdirSync(join(root, "page")).find((name) => name.endsWith(".wasm"));
    const wasm = readFileSync(join(root, "page", wasmName));
    figures.wasmBytes = wasm.length;
    figures.wasmGzipBytes = gzipSync(wasm).length;
    figures.transferGzipBytes = files.reduce((sum, path) => sum + gzipSync(readFileSync(fileOf(path))).length, 0);
    figures.files = files;
    await page.close();

    // Navigation to the first intro frame on a phone's viewport, five first visits (each in a context of
    // its own, so no service worker or cache helps).
    const times = [];
    for (let i = 0; i < 5; ++i) {
        const context = await chromium.browser.createBrowserContext();
        const load = await context.newPage();
        await load.setViewport(phone);
        await load.setCacheEnabled(false);
        await load.goto(pageUrl);
        times.push(await until("the first intro frame", () => load.evaluate(() => {
            const mark = performance.getEntriesByName("vevu-first-frame")[0];
            return mark && mark.startTime;
        }), 60000));
        await context.close();
    }
    figures.firstFrameMs = times.map(Math.round);

    // The first touch to the sound starting: from the finger landing on the picture to the audio running.
    const soundTimes = [];
    for (let i = 0; i < 3; ++i) {
        const context = await chromium.browser.createBrowserContext();
        const touch = await context.newPage();
        await touch.setViewport(phone);
        await touch.evaluateOnNewDocument(() => {
            const Original = window.AudioContext;
            window.AudioContext = class extends Original {
                constructor(...options) {
                    super(...options);
                    this.suspend();
                    this.addEventListener("statechange", () => {
                        if (this.state === "running" && !window.vevuSoundAt) window.vevuSoundAt = performance.now();
                    });
                }
            };
            window.addEventListener("touchstart", () => { window.vevuTouchAt = window.vevuTouchAt || performance.now(); }, true);
        });
        await touch.goto(pageUrl);
        await until("the first intro frame", () => touch.evaluate(
            () => performance.getEntriesByName("vevu-first-frame").length > 0 && Module.SDL2 && Module.SDL2.audioContext), 60000);
        const box = await touch.$eval("#canvas", (c) => {
            const r = c.getBoundingClientRect();
            return {x: r.x + r.width / 2, y: r.y + r.height / 2};
        });
        await touch.touchscreen.tap(box.x, box.y);
        soundTimes.push(await until("the sound", () => touch.evaluate(
            () => window.vevuSoundAt && window.vevuSoundAt - window.vevuTouchAt), 10000));
        await context.close();
    }
    figures.touchToSoundMs = soundTimes.map((t) => Math.round(t * 10) / 10);

    // The crowded battlefield drawn frame after frame for twelve seconds.
    // The processor time of every chromium process over those seconds tells what a quiet machine
    // would give, when other work shares the processor.
    const bench = await chromium.browser.newPage();
    await bench.goto(server.url + "bench/index.html");
    await until("the battlefield's measured seconds", () => bench.evaluate(() => window.vevuMeasuring), 60000, 20);
    const cpuBefore = chromiumCpuMillis(chromium.browser.process().pid);
    figures.battlefield = await until("the battlefield's figures", () => bench.evaluate(() => window.vevuFigures), 120000, 20);
    figures.battlefieldCpuMillis = chromiumCpuMillis(chromium.browser.process().pid) - cpuBefore;
    figures.load = loadavg()[0];
    await bench.close();
} finally {
    await chromium.close();
    await server.close();
}

console.log(`page: ${figures.files.join(", ")}`);
console.log(`transfer: ${mb(figures.transferBytes)} (gzipped by a server: ${mb(figures.transferGzipBytes)}); ` +
            `wasm ${mb(figures.wasmBytes)}, gzipped ${mb(figures.wasmGzipBytes)}`);
console.log(`navigation to the first intro frame on a phone's viewport: median ${median(figures.firstFrameMs)} ms ` +
            `(${figures.firstFrameMs.join(", ")} ms)`);
console.log(`first touch to the sound starting: median ${median(figures.touchToSoundMs)} ms ` +
            `(${figures.touchToSoundMs.join(", ")} ms)`);
const b = figures.battlefield;
console.log(`crowded battlefield (${b.actors} actors): ${b.framesPerSecond.toFixed(1)} frames/s, ` +
            `the game's own share ${b.gameMillisPerFrame.toFixed(2)} ms a frame; chromium's processor time ` +
            `${(figures.battlefieldCpuMillis / b.frames).toFixed(1)} ms a frame (load average ${figures.load.toFixed(1)})`);
