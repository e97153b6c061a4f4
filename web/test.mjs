// The game's web page in Debian's headless chromium, played as a person would: the intro draws, a key
// skips it, the map ship is steered onto "Infantry Staging Zone" by reading the canvas, Z starts the
// mission, ten seconds of held keys, a tab put in the background pauses play as P does, Esc ends the
// game. Then the bad cases: no WebAssembly, no WebGL, a 300 x 200 page. No console error anywhere.
// Usage: node test.mjs [build/web] [screenshot folder]
import {mkdirSync} from "node:fs";
import {join, resolve} from "node:path";
import {keepDrawingBuffer, launchChromium, serve, until} from "./browser.mjs";

const root = resolve(process.argv[2] || new URL("../build/web", import.meta.url).pathname);
const shots = resolve(process.argv[3] || join(root, "..", "web-test"));
mkdirSync(shots, {recursive: true});

const W = 640, H = 480;
const shipHull = [0x7a, 0x4e, 0xa8]; // the map ship's hull
const shipStart = {x: 320, y: 80};
const node0 = {x: 286, y: 240}; // "Infantry Staging Zone": the ship must come within 7 px on both axes

const problems = [];
function watch(page, name) {
    page.on("console", (message) => {
        if (message.type() === "error") problems.push(`${name}: console error: ${message.text()}`);
    });
    page.on("pageerror", (error) => problems.push(`${name}: page error: ${error.message}`));
    page.on("requestfailed", (request) => problems.push(`${name}: request failed: ${request.url()}`));
    page.on("response", (response) => {
        if (response.status() >= 400) problems.push(`${name}: HTTP ${response.status()} for ${response.url()}`);
    });
}
function step(text) {
    console.log(`web test: ${text}`);
}
function check(condition, text) {
    if (!condition) throw new Error(text);
}

// Counts of the game's pixels inside a box that pass a test, computed in the page.
function countPixels(page, box, test) {
    return page.evaluate((box, test) => {
        const pass = new Function("r", "g", "b", `return ${test};`);
        const data = window.vevuPixels(box.x, box.y, box.w, box.h);
        let count = 0;
        for (let i = 0; i < data.length; i += 4)
            if (pass(data[i], data[i + 1], data[i + 2])) ++count;
        return count;
    }, box, test);
}
// The box around every pixel of exactly one colour, or null.
function colourBox(page, rgb) {
    return page.evaluate((rgb, W, H) => {
        const data = window.vevuPixels(0, 0, W, H);
        let left = W, top = H, right = -1, bottom = -1;
        for (let y = 0; y < H; ++y)
            for (let x = 0; x < W; ++x) {
                const i = (y * W + x) * 4;
                if (data[i] === rgb[0] && data[i + 1] === rgb[1] && data[i + 2] === rgb[2]) {
                    left = Math.min(left, x);
                    right = Math.max(right, x);
                    top = Math.min(top, y);
                    bottom = Math.max(bottom, y);
                }
            }
        return right < 0 ? null : {x: left, y: top, w: right - left + 1, h: bottom - top + 1};
    }, rgb, W, H);
}
// A digest of the whole picture: equal digests, equal frames.
function frameDigest(page) {
    return page.evaluate((W, H) => {
        const data = window.vevuPixels(0, 0, W, H);
        let hash = 2166136261;
        for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619);
        return hash >>> 0;
    }, W, H);
}
// The different pictures among twelve taken six frames apart.
async function distinctFrames(page) {
    const seen = new Set();
    for (let i = 0; i < 12; ++i) {
        await frames(page, 6);
        seen.add(await frameDigest(page));
    }
    return seen;
}
// Waits for the page's next few painted frames.
function frames(page, count) {
    return page.evaluate((count) => new Promise((done) => {
        const next = () => (--count <= 0 ? done() : requestAnimationFrame(next));
        requestAnimationFrame(next);
    }), count);
}
const titleBox = {x: 120, y: 300, w: 400, h: 100};          // the title, centred at (320, 352)
const labelBox = {x: 206, y: 190, w: 160, h: 48};           // node 0's green name above it
const hudBoxes = [{x: 10, y: 404, w: 40, h: 24}, {x: 590, y: 404, w: 40, h: 24}]; // the panels' faces
const menuBorder = {x: 76, y: 60, w: 2, h: 200};           // the upgrade menu's left edge
const bright = "Math.max(r, g, b) > 100";
const menuPink = "r === 138 && g === 42 && b === 106";
const green = "g > 180 && r < 90 && b < 90";
const panel = "Math.abs(r - 184) < 16 && Math.abs(g - 176) < 16 && Math.abs(b - 160) < 16";

async function shipPosition(page, offset) {
    const box = await colourBox(page, shipHull);
    return box && {x: box.x - offset.x, y: box.y - offset.y, box};
}
// The ship's place once two reads a few frames apart agree (it has stopped or the map has settled).
async function settledShip(page, offset) {
    let previous = null;
    return until("the map ship to stand still", async () => {
        const now = await shipPosition(page, offset);
        await frames(page, 3);
        const same = now && previous && now.x === previous.x && now.y === previous.y;
        previous = now;
        return same ? now : null;
    }, 20000);
}

// Brings the ship within 3 px of node 0 along each axis in turn. The ship flies 120 px/s, about 2 px a
// frame: each hold lasts the page's frames for a little over half the distance left, then the ship's new
// place is read, so the holds shrink as it nears and the reads' and keys' delays cannot make it swing.
async function steerOntoNode(page, offset) {
    for (let attempt = 0; attempt < 40; ++attempt) {
        const ship = await settledShip(page, offset);
        const dx = node0.x - ship.x, dy = node0.y - ship.y;
        step(`map ship at ${ship.x},${ship.y}`);
        if (Math.abs(dx) <= 3 && Math.abs(dy) <= 3) return;
        const vertical = Math.abs(dy) > 3;
        const key = vertical ? (dy > 0 ? "ArrowDown" : "ArrowUp") : (dx > 0 ? "ArrowRight" : "ArrowLeft");
        const distance = Math.abs(vertical ? dy : dx);
        await page.keyboard.down(key);
        try {
            await frames(page, Math.max(1, Math.round(distance * 0.6 / 2)));
        } finally {
            await page.keyboard.up(key);
        }
    }
    throw new Error("could not bring the map ship onto node 0");
}

async function playThrough(browser, url) {
    const page = await browser.newPage();
    watch(page, "game");
    await page.setViewport({width: 1280, height: 1024});
    await page.evaluateOnNewDocument(keepDrawingBuffer);
    // Headless chromium lets any page play sound; a browser on a desktop holds it until a gesture.
    await page.evaluateOnNewDocument(() => {
        const Original = window.AudioContext;
        window.AudioContext = class extends Original {
            constructor(...options) {
                super(...options);
                this.suspend();
            }
        };
    });
    await page.goto(url);

    check((await page.title()) === "The Vevu Zudevur", `the page's title is "${await page.title()}"`);
    await until("the canvas to show", () => page.$eval("#canvas", (c) => !c.hidden));
    const layout = await page.$eval("#canvas", (c) => {
        const r = c.getBoundingClientRect();
        return {x: r.x, y: r.y, w: r.width, h: r.height, focused: document.activeElement === c,
                rendering: getComputedStyle(c).imageRendering};
    });
    check(layout.w === 1280 && layout.h === 960, `canvas shown ${layout.w}x${layout.h}, not at scale 2 (1280x960)`);
    check(layout.x === 0 && layout.y === 32, `canvas at ${layout.x},${layout.y}, not centred`);
    check(layout.focused, "the canvas does not have the keyboard focus on load");
    check(layout.rendering === "pixelated", `the canvas is drawn ${layout.rendering}, not pixelated`);
    await until("the line that says the sound starts with a key", () => page.$eval("#sound-line", (e) => !e.hidden));

    // The button shows the game fullscreen at the same scaling; F11 leaves, and the keys still go to the game.
    await page.click("#fullscreen");
    await until("fullscreen", () => page.evaluate(() => document.fullscreenElement === document.getElementById("stage")));
    const screen = await page.evaluate(() => ({w: window.innerWidth, h: window.innerHeight}));
    const scale = Math.min(Math.floor(screen.w / W), Math.floor(screen.h / H)) || Math.min(screen.w / W, screen.h / H);
    await until(`the canvas at scale ${scale} on the ${screen.w}x${screen.h} screen`, () => page.$eval("#canvas",
        (c, w) => c.getBoundingClientRect().width === w, W * scale));
    await page.keyboard.press("F11");
    await until("the window again", () => page.evaluate(() => document.fullscreenElement === null));
    check(await page.$eval("#canvas", (c) => document.activeElement === c), "the canvas lost the focus to the button");
    step(`fullscreen at scale ${scale} and back`);

    await until("the intro's title", async () => (await countPixels(page, titleBox, bright)) > 3000, 40000);
    await page.screenshot({path: join(shots, "intro.png")});
    step("the intro draws its title");

    // Every key the page leaves to the browser is noted, after the page and the game have seen it.
    await page.evaluate(() => {
        window.vevuKeysLeftToTheBrowser = new Set();
        window.addEventListener("keydown", (event) => {
            if (!event.defaultPrevented) window.vevuKeysLeftToTheBrowser.add(event.key);
        });
    });
    await page.keyboard.press("Space");
    await until("the map's green node name", async () => (await countPixels(page, labelBox, green)) > 40, 30000);
    await until("the sound to start", () => page.evaluate(
        () => Module.SDL2.audioContext.state === "running" && document.getElementById("sound-line").hidden));
    step("a key skipped the intro; the map shows");

    // The map fades in from black: the ship's first steady place gives the offset of its hull colour.
    const first = await settledShip(page, {x: 0, y: 0});
    const offset = {x: first.x - shipStart.x, y: first.y - shipStart.y};
    await steerOntoNode(page, offset);
    await page.screenshot({path: join(shots, "map.png")});

    await page.keyboard.press("z");
    const hud = async () => {
        for (const box of hudBoxes)
            if ((await countPixels(page, box, panel)) < box.w * box.h / 2) return false;
        return true;
    };
    await until("the battlefield's HUD panels", hud, 30000);
    step("Z started the mission");

    // Ten seconds of play with the arrows, Z and X held in turn and together, drifting right, away from
    // the homebase (X held beside it opens the upgrade menu, which Esc then closes).
    const holds = [["ArrowRight", "z"], ["ArrowUp", "x"], ["ArrowRight", "x"], ["ArrowLeft", "z"],
                   ["ArrowRight", "ArrowDown", "z", "x", "Enter"]];
    const end = Date.now() + 10000;
    for (let i = 0; Date.now() < end; ++i) {
        const keys = holds[i % holds.length];
        for (const key of keys) await page.keyboard.down(key);
        await frames(page, keys.includes("ArrowLeft") ? 10 : 25);
        for (const key of keys) await page.keyboard.up(key);
    }
    await page.screenshot({path: join(shots, "battlefield.png")});
    check(problems.length === 0, "errors while playing");
    step("ten seconds of held arrows, Z and X");
    if ((await countPixels(page, menuBorder, menuPink)) > menuBorder.h) {
        await page.keyboard.press("Escape");
        await until("the upgrade menu to close", async () => (await countPixels(page, menuBorder, menuPink)) === 0);
        step("the upgrade menu opened beside the homebase; Esc closed it");
    }

    // Another tab in front: the game's tab is hidden and loses the focus, and play pauses as with P.
    // A paused battlefield stands still but for what blinks (key hints, warnings): a few pictures in
    // turn, where a running one shows a new picture every time.
    const running = await distinctFrames(page);
    check(running.size >= 8, `the running battlefield showed only ${running.size} different pictures`);
    const other = await browser.newPage();
    await other.bringToFront();
    await until("the game's tab to be hidden", () => page.evaluate(() => document.visibilityState === "hidden"));
    await page.bringToFront();
    await other.close();
    await until("the game's tab to show again", () => page.evaluate(() => document.visibilityState === "visible"));
    await frames(page, 30); // the camera comes to rest
    const paused = await distinctFrames(page);
    check(paused.size <= 4, `the game went on in a tab put in the background (${paused.size} different pictures)`);
    await page.screenshot({path: join(shots, "paused.png")});
    await page.keyboard.press("p");
    await until("P to resume play", async () => !paused.has(await frameDigest(page)), 10000);
    step(`a tab put in the background paused the game (${paused.size} pictures in turn, ${running.size} while ` +
         "running); P resumed it");

    await page.keyboard.press("Escape");
    await until("the end line", () => page.$eval("#message", (e) => !e.hidden && e.textContent), 10000)
        .then((text) => check(text === "The game has ended.", `the page says "${text}" at the end`));
    check(await page.$eval("#new-game", (b) => !b.hidden), "no button to start a new game");
    await page.screenshot({path: join(shots, "ended.png")});
    step("Esc ended the game; the page offers a new one");
    const leftToTheBrowser = await page.evaluate(() => [...window.vevuKeysLeftToTheBrowser]);
    for (const key of ["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Enter", "Escape"])
        check(!leftToTheBrowser.includes(key), `${key} was left to the browser, which may scroll or navigate`);
    await page.close();
}

async function badInput(browser, url) {
    for (const [name, takeAway, expected] of [
        ["no WebAssembly", () => { delete window.WebAssembly; }, "The game needs WebAssembly"],
        ["no WebGL", () => {
            const getContext = HTMLCanvasElement.prototype.getContext;
            HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
                return /webgl/.test(kind) ? null : getContext.call(this, kind, ...rest);
            };
        }, "The game needs WebGL"],
    ]) {
        const page = await browser.newPage();
        watch(page, name);
        await page.evaluateOnNewDocument(takeAway);
        await page.goto(url);
        const text = await until(`the sentence for ${name}`,
                                 () => page.$eval("#message", (e) => !e.hidden && e.textContent), 10000);
        check(text.startsWith(expected), `${name}: the page says "${text}"`);
        check(await page.$eval("#canvas", (c) => c.hidden), `${name}: the canvas still shows`);
        await page.screenshot({path: join(shots, `${name.replace(/ /g, "-")}.png`)});
        await page.close();
        step(`${name}: "${text}"`);
    }

    // A page smaller than the picture scales it down, whole and centred; a larger one at whole numbers.
    const page = await browser.newPage();
    watch(page, "small page");
    await page.setViewport({width: 300, height: 200});
    await page.goto(url);
    await until("the canvas to show", () => page.$eval("#canvas", (c) => !c.hidden));
    const sizeAt = () => page.$eval("#canvas", (c) => {
        const r = c.getBoundingClientRect();
        return {x: r.x, y: r.y, w: r.width, h: r.height};
    });
    let box = await sizeAt();
    check(Math.abs(box.w - 800 / 3) < 1 && Math.abs(box.h - 200) < 1 && Math.abs(box.x - (300 - box.w) / 2) < 1,
          `300x200 page: canvas ${JSON.stringify(box)}, not 266.7x200 centred`);
    await page.screenshot({path: join(shots, "small-page.png")});
    await page.setViewport({width: 1000, height: 1000});
    box = await until("the canvas to refit", async () => {
        const now = await sizeAt();
        return now.w === 640 ? now : null;
    }, 10000);
    check(box.h === 480 && box.x === 180 && box.y === 260, `1000x1000 page: canvas ${JSON.stringify(box)}`);
    await page.close();
    step("300x200 scales the picture down; 1000x1000 shows it at scale 1, centred");
}

const server = await serve(root);
const chromium = await launchChromium();
let failure = null;
try {
    await playThrough(chromium.browser, server.url);
    await badInput(chromium.browser, server.url);
} catch (error) {
    failure = error;
} finally {
    await chromium.close();
    await server.close();
}
for (const problem of problems) console.error(`web test: ${problem}`);
if (failure) console.error(`web test: FAILED: ${failure.message}`);
if (failure || problems.length) process.exit(1);
console.log(`web test: passed; screenshots in ${shots}`);
