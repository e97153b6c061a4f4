// The game's web page in Debian's headless chromium, played as a person would. On a desktop: the
// progress bar fills, Esc in fullscreen only leaves fullscreen, the intro draws, a key skips it, the map
// ship is steered onto "Infantry Staging Zone" by reading the canvas, Z starts the mission, ten seconds
// of held keys, a tab put in the background pauses play as P does, Esc asks before it ends the game.
// On a phone (390 x 844 at 3 device pixels a CSS pixel, touch, portrait and landscape): the touch
// controls show, a tap ends the intro and starts the sound, the direction pad steers the ship onto the
// node and Fire starts the mission, a direction held while Fire is tapped, Back asks, a key hides the
// controls. The page reloads from its service worker with no network, and the kept release answers a
// server's 503, a captive portal's page and silence; builds under /play/ and /beta/ keep their own
// releases; a release half deployed or no room keeps nothing and says so once. A page hidden and shown
// with no change of focus is heard again; without showModal Esc asks through the browser's confirm, and
// a question that fails leaves the game playing. The player's files: a saved campaign offered, the
// session reaching IndexedDB when the tab is hidden, kept through a closed tab and a reload, a second
// tab that says another holds the files and saves nothing, a storage that never answers; the last
// session saved as a file, opened and dropped on the page, and watched. Then the bad cases: no
// WebAssembly, no WebGL, no service worker, no IndexedDB, no keyboard, touch or fullscreen, a 300 x 200
// page. In German by the browser's language: the page's words, the line of keys after a key and a pad, the
// question. Last, the desktop's recorded replays played by the
// WebAssembly build with the same digests. No console error but the game's own for a case made.
// Usage: node test.mjs [build/web/page] [screenshot folder]
import {mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync} from "node:fs";
import {tmpdir} from "node:os";
import {join, resolve} from "node:path";
import {keepDrawingBuffer, launchChromium, serve, until} from "./browser.mjs";

const root = resolve(process.argv[2] || new URL("../build/web/page", import.meta.url).pathname);
const shots = resolve(process.argv[3] || join(root, "..", "..", "web-test"));
mkdirSync(shots, {recursive: true});

const W = 640, H = 480;
const shipHull = [0x7a, 0x4e, 0xa8]; // the map ship's hull

const shipStart = {x: 320, y: 80};
const node0 = {x: 286, y: 240}; // "Infantry Staging Zone": the ship must come within 7 px on both axes

const problems = [];
// Console errors matching `expected` are the game's own words for a case the test makes.
function watch(page, name, expected = null) {
    page.on("console", (message) => {
        if (message.type() === "error" && !(expected && expected.test(message.text())))
            problems.push(`${name}: console error: ${message.text()}`);
    });
    page.on("pageerror", (error) => problems.push(`${name}: page error: ${error.message}`));
    page.on("requestfailed", (request) =>
        problems.push(`${name}: request failed: ${request.url()} (${request.failure()?.errorText})`));
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
// The larva's battery bar, drawn over it while the battery is not full: a line two pixels high of the
// filled colour then the empty one, as long as the larva is wide. Null when there is none.
function batteryBar(page) {
    return page.evaluate((W) => {
        const H = 380; // above the HUD
        const data = window.vevuPixels(0, 0, W, H);
        const at = (x, y) => {
            const i = (y * W + x) * 4;
            if (data[i] === 110 && data[i + 1] === 240 && data[i + 2] === 255) return 1; // filled
            if (data[i] === 32 && data[i + 1] === 32 && data[i + 2] === 44) return 2;    // empty
            return 0;
        };
        for (let y = 1; y + 2 < H; ++y)
            for (let x = 0; x < W; ++x) {
                if (!at(x, y) || at(x, y) !== at(x, y + 1) || (x > 0 && at(x - 1, y))) continue;
                let end = x, empty = 0, edges = 0;
                for (; end < W && at(end, y) && at(end, y) === at(end, y + 1); ++end) {
                    if (at(end, y) === 2) ++empty;
                    else if (empty) break; // filled after empty: not the bar
                    if (at(end, y - 1) !== at(end, y) && at(end, y + 2) !== at(end, y)) ++edges;
                }
                const length = end - x;
                if (length >= 16 && length <= 64 && empty > 0 && edges === length) return {x, y, filled: length - empty};
            }
        return null;
    }, W);
}
// A digest of a box of the picture: equal digests, equal pictures.
function frameDigestOf(page, box) {
    return page.evaluate((box) => {
        const data = window.vevuPixels(box.x, box.y, box.w, box.h);
        let hash = 2166136261;
        for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619);
        return hash >>> 0;
    }, box);
}
function frameDigest(page) {
    return frameDigestOf(page, {x: 0, y: 0, w: W, h: H});
}
// The different pictures among twelve taken six frames apart, with a key held meanwhile if one is given:
// a battlefield where nothing on screen happens to move looks the same whether it runs or not, but one
// whose larva is steered scrolls.
async function distinctFrames(page, heldKey = null) {
    const seen = new Set();
    if (heldKey) await page.keyboard.down(heldKey);
    try {
        for (let i = 0; i < 12; ++i) {
            await frames(page, 6);
            seen.add(await frameDigest(page));
        }
    } finally {
        if (heldKey) await page.keyboard.up(heldKey);
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

// Holds an arrow key for the page's next frames.
function holdKey(page) {
    return async (key, count) => {
        await page.keyboard.down(key);
        try {
            await frames(page, count);
        } finally {
            await page.keyboard.up(key);
        }
    };
}

// Brings the ship within 3 px of node 0 along each axis in turn. The ship flies 120 px/s, about 2 px a
// frame when the page keeps up: each hold lasts the page's frames for a little over half the distance
// left, then the ship's new place is read, so the holds shrink as it nears. How far a frame's hold
// carries it is measured after every hold, so a loaded machine whose frames (and the keys' delays)
// carry it further is steered by what it does, not swung around the node.
async function steerOntoNode(page, offset, hold) {
    let perFrame = 2, last = null;
    for (let attempt = 0; attempt < 40; ++attempt) {
        const ship = await settledShip(page, offset);
        step(`map ship at ${ship.x},${ship.y}`);
        if (last) {
            const moved = Math.abs(last.vertical ? ship.y - last.ship.y : ship.x - last.ship.x);
            if (moved > 0) perFrame = Math.max(0.5, moved / last.count);
        }
        const dx = node0.x - ship.x, dy = node0.y - ship.y;
        if (Math.abs(dx) <= 3 && Math.abs(dy) <= 3) return;
        const vertical = Math.abs(dy) > 3;
        const key = vertical ? (dy > 0 ? "ArrowDown" : "ArrowUp") : (dx > 0 ? "ArrowRight" : "ArrowLeft");
        const distance = Math.abs(vertical ? dy : dx);
        const count = Math.max(1, Math.round(distance * 0.6 / perFrame));
        await hold(key, count);
        last = {ship, vertical, count};
    }
    throw new Error("could not bring the map ship onto node 0");
}

// Headless chromium lets any page play sound; a browser holds it until a gesture.
function holdSoundUntilAGesture() {
    const Original = window.AudioContext;
    window.AudioContext = class extends Original {
        constructor(...options) {
            super(...options);
            this.suspend();
        }
    };
}
// The game's end question, open or not, and whether the page still plays.
function question(page) {
    return page.$eval("#end-dialog", (d) => d.open && d.querySelector("p").textContent);
}
// Asks through Esc (or Back) and answers: the game stands still while the page asks.
async function askToEnd(page, ask, answer) {
    await ask();
    const text = await until("the question whether to end", () => question(page), 10000);
    check(text === "End the game? The mission in progress is lost.", `the page asks "${text}"`);
    const first = await frameDigest(page);
    await frames(page, 20);
    check((await frameDigest(page)) === first, "the game went on while the page asked");
    await answer();
    await until("the question to close", async () => !(await question(page)), 10000);
}

async function playThrough(browser, {url}) {
    const page = await browser.newPage();
    watch(page, "game");
    await page.setViewport({width: 1280, height: 1024});
    await page.evaluateOnNewDocument(keepDrawingBuffer);
    await page.evaluateOnNewDocument(holdSoundUntilAGesture);
    // A pad the page and the game both read (SDL lists it when it starts): its B answers the question.
    await page.evaluateOnNewDocument(() => {
        window.vevuPad = {id: "test pad", index: 0, connected: false, mapping: "standard", axes: [0, 0, 0, 0],
                          buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
        navigator.getGamepads = () => [window.vevuPad];
    });
    await page.goto(url);

    check((await page.title()) === "The Vevu Zudevur", `the page's title is "${await page.title()}"`);
    await until("the canvas to show", () => page.$eval("#canvas", (c) => !c.hidden));
    const loaded = await page.$eval("#progress", (p) => ({value: p.value, max: p.max}));
    check(loaded.max > 1e6 && loaded.value === loaded.max, `the progress bar stopped at ${loaded.value} of ${loaded.max}`);
    const layout = await page.$eval("#canvas", (c) => {
        const r = c.getBoundingClientRect();
        return {x: r.x, y: r.y, w: r.width, h: r.height, focused: document.activeElement === c,
                rendering: getComputedStyle(c).imageRendering,
                footer: document.querySelector("footer").getBoundingClientRect().top,
                stage: document.getElementById("stage").clientHeight,
                touch: !document.getElementById("touch").hidden};
    });
    check(layout.w === 1280 && layout.h === 960, `canvas shown ${layout.w}x${layout.h}, not at scale 2 (1280x960)`);
    check(layout.x === 0 && Math.abs(layout.y - (layout.stage - 960) / 2) < 1,
          `canvas at ${layout.x},${layout.y}, not centred in the ${layout.stage} px above the footer`);
    check(layout.y + layout.h <= layout.footer, "the footer covers the picture");
    check(!layout.touch, "touch controls on a desktop without a touch screen");
    check(layout.focused, "the canvas does not have the keyboard focus on load");
    check(layout.rendering === "pixelated", `the canvas is drawn ${layout.rendering}, not pixelated`);
    await until("the line that says the sound starts with a key, and the sound held", () => page.$eval("#sound-line",
        (e) => !e.hidden && window.Module?.SDL2?.audioContext?.state === "suspended"));

    // The button shows the game fullscreen at the same scaling; F11 leaves, and the keys still go to the game.
    // The press is the first gesture and starts the sound: the footer must not move before the button is let go.
    const button = await page.$eval("#fullscreen", (b) => {
        const r = b.getBoundingClientRect();
        return {x: r.x + r.width / 2, y: r.y + r.height / 2};
    });
    await page.mouse.move(button.x, button.y);
    await page.mouse.down();
    await until("the sound to start with the press", () => page.evaluate(() => Module.SDL2.audioContext.state === "running"));
    await frames(page, 30); // the page looks at the sound four times a second
    check(await page.evaluate(({x, y}) => document.elementFromPoint(x, y).id, button) === "fullscreen",
          "the footer moved under the held button when the sound started");
    await page.mouse.up();
    await until("fullscreen", () => page.evaluate(() => document.fullscreenElement === document.getElementById("stage")));
    const screen = await page.evaluate(() => ({w: window.innerWidth, h: window.innerHeight}));
    const scale = Math.min(Math.floor(screen.w / W), Math.floor(screen.h / H)) || Math.min(screen.w / W, screen.h / H);
    await until(`the canvas at scale ${scale} on the ${screen.w}x${screen.h} screen`, () => page.$eval("#canvas",
        (c, w) => c.getBoundingClientRect().width === w, W * scale));
    await page.keyboard.press("F11");
    await until("the window again", () => page.evaluate(() => document.fullscreenElement === null));
    check(await page.$eval("#canvas", (c) => document.activeElement === c), "the canvas lost the focus to the button");
    // Esc in fullscreen leaves it and does nothing else: no question, and the intro runs on (a key
    // reaching the game before the title shows would skip the title, awaited below).
    await page.click("#fullscreen");
    await until("fullscreen again", () => page.evaluate(() => document.fullscreenElement !== null));
    await page.keyboard.press("Escape");
    await until("Esc to leave fullscreen", () => page.evaluate(() => document.fullscreenElement === null));
    check(!(await question(page)), "Esc in fullscreen asked to end the game");
    step(`fullscreen at scale ${scale} and back with F11 and with Esc`);

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
    check(await page.$eval("#no-input-line", (e) => e.hidden), "the line about a missing keyboard outlived a key");
    step("a key skipped the intro; the map shows");

    // The map fades in from black: the ship's first steady place gives the offset of its hull colour.
    const first = await settledShip(page, {x: 0, y: 0});
    const offset = {x: first.x - shipStart.x, y: first.y - shipStart.y};
    await steerOntoNode(page, offset, holdKey(page));
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
    // turn, where a running one whose larva is steered shows a new picture every time.
    const running = await distinctFrames(page, "ArrowLeft");
    check(running.size >= 8, `the running battlefield showed only ${running.size} different pictures`);
    const other = await browser.newPage();
    await other.bringToFront();
    await until("the game's tab to be hidden", () => page.evaluate(() => document.visibilityState === "hidden"));
    await page.bringToFront();
    await other.close();
    await until("the game's tab to show again", () => page.evaluate(() => document.visibilityState === "visible"));
    // Paused, a larva steered stays put and only what blinks changes; the camera coming to rest and the
    // words that rise from a catch made just before the tab was hidden still move for a moment.
    let paused = new Set();
    await until("the game to stand still, the larva steered, once its tab was put in the background", async () => {
        paused = await distinctFrames(page, "ArrowLeft");
        return paused.size <= 4;
    }, 20000);
    await page.screenshot({path: join(shots, "paused.png")});
    await page.keyboard.press("p");
    // Resuming clears the keys, so each look steers anew: a resumed larva moves where nothing else may.
    await until("P to resume play", async () => {
        await page.keyboard.down("ArrowLeft");
        await frames(page, 3);
        await page.keyboard.up("ArrowLeft");
        return !paused.has(await frameDigest(page));
    }, 10000);
    step(`a tab put in the background paused the game (${paused.size} picture${paused.size === 1 ? "" : "s"} in ` +
         `turn, ${running.size} while running); P resumed it`);

    // Esc asks; "Keep playing" (here by a pad's B) goes on where the game stood, "End the game" ends it.
    await askToEnd(page, () => page.keyboard.press("Escape"), async () => {
        await page.evaluate(() => { window.vevuPad.buttons[1].pressed = true; });
        await until("the pad's answer", async () => !(await question(page)), 10000);
        await page.evaluate(() => { window.vevuPad.buttons[1].pressed = false; });
    });
    check((await distinctFrames(page, "ArrowRight")).size >= 8, "the battlefield stands still after Keep playing");
    await askToEnd(page, () => page.keyboard.press("Escape"), async () => {
        await page.screenshot({path: join(shots, "question.png")});
        await page.click("#end-confirm");
    });
    await until("the end line", () => page.$eval("#message", (e) => !e.hidden && e.textContent), 10000)
        .then((text) => check(text === "The game has ended.", `the page says "${text}" at the end`));
    check(await page.$eval("#new-game", (b) => !b.hidden), "no button to start a new game");
    await page.screenshot({path: join(shots, "ended.png")});
    step("Esc asked; a pad's B kept playing; End the game ended it and the page offers a new one");
    const leftToTheBrowser = await page.evaluate(() => [...window.vevuKeysLeftToTheBrowser]);
    for (const key of ["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Enter", "Escape"])
        check(!leftToTheBrowser.includes(key), `${key} was left to the browser, which may scroll or navigate`);
    await page.close();
}

// The boxes of the touch controls and the picture, in CSS pixels.
function touchBoxes(page) {
    return page.evaluate(() => {
        const box = (e) => {
            const r = e.getBoundingClientRect();
            return {x: r.x, y: r.y, w: r.width, h: r.height, cx: r.x + r.width / 2, cy: r.y + r.height / 2};
        };
        const controls = {};
        for (const [name, n] of [["pad", 1], ["fire", 2], ["beam", 3], ["select", 4], ["pause", 5], ["back", 6]])
            controls[name] = box(document.querySelector(`[data-touch="${n}"]`));
        return {controls, picture: box(document.getElementById("canvas")), shown: !document.getElementById("touch").hidden,
                footer: document.querySelector("footer").getBoundingClientRect().top,
                over: document.getElementById("touch").classList.contains("over"),
                view: {w: innerWidth, h: innerHeight}};
    });
}
function overlap(a, b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}
// Every control at least 9 mm (48 CSS px) and on the screen; beside or under the picture, never over it.
function checkControls(layout, name) {
    check(layout.shown, `${name}: no touch controls`);
    for (const [control, box] of Object.entries(layout.controls)) {
        check(box.w >= 48 && box.h >= 48, `${name}: ${control} is only ${box.w}x${box.h} px`);
        check(box.x >= 0 && box.y >= 0 && box.x + box.w <= layout.view.w && box.y + box.h <= layout.view.h,
              `${name}: ${control} is off the screen`);
        check(!overlap(box, layout.picture), `${name}: ${control} covers the picture`);
    }
    check(layout.picture.w >= layout.view.w * 0.55, `${name}: the picture is only ${layout.picture.w} px wide`);
    check(layout.picture.y + layout.picture.h <= layout.footer, `${name}: the footer (from ${layout.footer}) covers the picture ${JSON.stringify(layout.picture)}`);
}
// A finger on the direction pad, towards an arrow, for the page's next frames.
function holdTouch(page) {
    return async (key, count) => {
        const pad = (await touchBoxes(page)).controls.pad;
        const reach = pad.w * 0.35;
        const [dx, dy] = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]}[key];
        const finger = await page.touchscreen.touchStart(pad.cx + dx * reach, pad.cy + dy * reach);
        try {
            await frames(page, count);
        } finally {
            await finger.end();
        }
    };
}

async function phone(browser, {url}) {
    const page = await browser.newPage();
    watch(page, "phone");
    const portrait = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
    await page.setViewport(portrait);
    await page.evaluateOnNewDocument(keepDrawingBuffer);
    await page.evaluateOnNewDocument(holdSoundUntilAGesture);
    await page.goto(url);
    await until("the touch controls", async () => (await touchBoxes(page)).shown && await page.$eval("#canvas", (c) => !c.hidden));
    await until("the intro's first picture", async () => (await countPixels(page, {x: 0, y: 0, w: W, h: H}, bright)) > 0);
    checkControls(await touchBoxes(page), "portrait");
    check(await page.$eval("#touch-line", (e) => !e.hidden), "no line about the touch controls");
    // The touch line is the game's: the touch controls' names, never a key.
    const touchLine = await until("the game's touch line", () => page.$eval("#touch-line", (e) =>
        e.querySelectorAll("kbd").length === 2 && [...e.querySelectorAll("kbd")].map((k) => k.textContent).join()));
    check(touchLine === "Beam,Back", `the touch line names ${touchLine}`);
    await page.screenshot({path: join(shots, "phone-portrait.png")});
    step("phone, portrait: the controls under the picture");

    const picture = (await touchBoxes(page)).picture;
    await page.touchscreen.tap(picture.cx, picture.cy);
    await until("the map's green node name", async () => (await countPixels(page, labelBox, green)) > 40, 30000);
    await until("the sound to start", () => page.evaluate(() => Module.SDL2.audioContext.state === "running"));
    step("a tap on the picture ended the intro and started the sound");

    await page.setViewport({...portrait, width: 844, height: 390, isLandscape: true});
    await until("the landscape layout", async () => (await touchBoxes(page)).picture.h > 300);
    checkControls(await touchBoxes(page), "landscape");
    await page.screenshot({path: join(shots, "phone-landscape.png")});
    step("phone, landscape: the pad left of the picture, the buttons right of it");

    // A small phone: no room beside the picture, so the controls go over its edges, clear of the HUD
    // (the counters at the top and the panels and radar at the bottom).
    await page.setViewport({...portrait, width: 568, height: 320, isLandscape: true});
    const small = await until("the controls over the picture", async () => {
        const now = await touchBoxes(page);
        return now.over && now.picture.h > 250 ? now : null;
    });
    const p = small.picture, s = p.h / H;
    for (const [control, box] of Object.entries(small.controls)) {
        check(box.w >= 48 && box.y >= 0 && box.y + box.h <= small.view.h, `small phone: ${control} ${JSON.stringify(box)}`);
        for (const hud of [{x: p.x, y: p.y, w: p.w, h: 18 * s}, {x: p.x, y: p.y + 378 * s, w: p.w, h: 102 * s}])
            check(!overlap(box, hud), `small phone: ${control} covers the HUD`);
    }
    await page.screenshot({path: join(shots, "phone-small.png")});
    await page.setViewport({...portrait, width: 844, height: 390, isLandscape: true});
    step("a smaller phone: the controls over the picture's edges, clear of the HUD");

    const first = await settledShip(page, {x: 0, y: 0});
    await steerOntoNode(page, {x: first.x - shipStart.x, y: first.y - shipStart.y}, holdTouch(page));
    const fire = (await touchBoxes(page)).controls.fire;
    await page.touchscreen.tap(fire.cx, fire.cy);
    const hud = async () => (await countPixels(page, hudBoxes[0], panel)) > hudBoxes[0].w * hudBoxes[0].h / 2;
    await until("the battlefield's HUD panels", hud, 30000);
    step("the direction pad steered the ship onto the node; Fire started the mission");

    // Firing draws on the larva's battery, whose bar then shows over it (and stays while Fire is held:
    // no recharge then). One finger holds Right on the pad while another holds Fire, until the larva
    // has hatched and walked out from under the mothership: the bar shows (it fires) and the larva or
    // the view moves (it walks) at the same time.
    const control = async (name) => (await touchBoxes(page)).controls[name];
    const hills = {x: 0, y: 150, w: W, h: 100};
    const both = await until("the larva to walk and fire at once", async () => {
        const pad = await control("pad"), fire = await control("fire");
        const steer = await page.touchscreen.touchStart(pad.cx + pad.w * 0.35, pad.cy);
        try {
            await frames(page, 10);
            const shoot = await page.touchscreen.touchStart(fire.cx, fire.cy);
            try {
                await frames(page, 4);
                const before = {bar: await batteryBar(page), view: await frameDigestOf(page, hills)};
                await frames(page, 12);
                const after = {bar: await batteryBar(page), view: await frameDigestOf(page, hills)};
                const held = await page.evaluate(() => document.querySelectorAll("#touch .held").length);
                if (!before.bar || !after.bar || held !== 2) return null;
                return {moved: before.bar.x !== after.bar.x || before.view !== after.view};
            } finally {
                await shoot.end();
            }
        } finally {
            await steer.end();
        }
    }, 60000, 100);
    check(both.moved, "the larva fired but neither it nor the view moved while Right was held");
    await page.screenshot({path: join(shots, "phone-battlefield.png")});
    step("a finger on the pad and another on Fire: the larva walked and fired at once");

    // Back asks too; "Keep playing" by touch goes on.
    const back = await control("back");
    await askToEnd(page, () => page.touchscreen.tap(back.cx, back.cy), async () => {
        const keep = await page.$eval("#end-cancel", (b) => {
            const r = b.getBoundingClientRect();
            return {x: r.x + r.width / 2, y: r.y + r.height / 2};
        });
        await page.touchscreen.tap(keep.x, keep.y);
    });
    step("Back asked whether to end; Keep playing by touch closed the question");

    // A key hides the controls (the picture takes their room); the next touch shows them again.
    await page.keyboard.press("Shift");
    await until("a key to hide the touch controls", async () => !(await touchBoxes(page)).shown);
    const wide = (await touchBoxes(page)).picture;
    await page.touchscreen.tap(wide.cx, wide.cy);
    await until("a touch to show them again", async () => (await touchBoxes(page)).shown);
    step("a key hid the controls; a touch brought them back");
    await page.close();
}

async function offline(browser, server) {
    const page = await browser.newPage();
    watch(page, "offline");
    await page.goto(server.url);
    await until("the service worker to hold the page", () => page.evaluate(
        () => navigator.serviceWorker.ready.then(() => navigator.serviceWorker.controller !== null)), 30000);
    await until("the canvas to show", () => page.$eval("#canvas", (c) => !c.hidden));
    // A player who has played is asked before a reload loses the campaign; staying keeps the game.
    let leaving = null, stay = true;
    page.on("dialog", (dialog) => {
        leaving = dialog.type();
        if (stay) dialog.dismiss();
        else dialog.accept();
    });
    await page.keyboard.press("Space");
    page.evaluate(() => location.reload()).catch(() => {});
    await until("the browser's question before leaving", () => leaving, 10000);
    await frames(page, 10);
    check(await page.$eval("#canvas", (c) => !c.hidden), "staying on the page ended the game");
    stay = false;
    leaving = null;
    server.offline = true;
    await page.setOfflineMode(true);
    const before = server.sent.length;
    try {
        await page.reload();
        await until("the canvas to show offline", () => page.$eval("#canvas", (c) => !c.hidden), 30000);
        await until("the intro's first frame offline",
                    () => page.evaluate(() => performance.getEntriesByName("vevu-first-frame").length > 0), 30000);
    } finally {
        server.offline = false;
        await page.setOfflineMode(false);
    }
    check(server.sent.length === before, "the offline reload reached the server");
    check(leaving === "beforeunload", `the reload of a played game asked ${leaving}, not "leave this page?"`);
    await page.close();
    step("a reload asked \"leave this page?\" (staying kept the game); with no network the service worker served the page");
}

// The game's page has come and its runtime started (the canvas shows).
function started(page) {
    return until("the game to start", () => page.$eval("#canvas", (c) => !c.hidden), 60000);
}
// The page is in the hands of its service worker (installed, its files kept, active).
function keptByTheWorker(page) {
    return until("the service worker to hold the page", () => page.evaluate(
        () => navigator.serviceWorker.controller !== null), 30000);
}

// The player's folder as IndexedDB holds it (Emscripten's IDBFS: one entry a path): the paths, and
// writing one file.
function storedPaths() {
    return new Promise((done, fail) => {
        const open = indexedDB.open("/vevu");
        open.onerror = () => fail(open.error);
        open.onsuccess = () => {
            const db = open.result;
            if (!db.objectStoreNames.contains("FILE_DATA")) return done([]);
            const keys = db.transaction(["FILE_DATA"]).objectStore("FILE_DATA").getAllKeys();
            keys.onsuccess = () => { db.close(); done(keys.result); };
            keys.onerror = () => fail(keys.error);
        };
    });
}
// The bytes IndexedDB holds for each path (null for one it lacks).
function storedFiles(paths) {
    return Promise.all(paths.map((path) => new Promise((done, fail) => {
        const open = indexedDB.open("/vevu");
        open.onerror = () => fail(open.error);
        open.onsuccess = () => {
            const db = open.result;
            const read = db.transaction(["FILE_DATA"]).objectStore("FILE_DATA").get(path);
            read.onsuccess = () => { db.close(); done(read.result ? [...read.result.contents] : null); };
            read.onerror = () => { db.close(); fail(read.error); };
        };
    })));
}
function storeFile(path, bytes) {
    return new Promise((done, fail) => {
        const open = indexedDB.open("/vevu", 21);
        open.onupgradeneeded = () => open.result.createObjectStore("FILE_DATA").createIndex("timestamp", "timestamp");
        open.onerror = () => fail(open.error);
        open.onsuccess = () => {
            const write = open.result.transaction(["FILE_DATA"], "readwrite");
            write.objectStore("FILE_DATA").put({timestamp: new Date(), mode: 0o100666, contents: new Uint8Array(bytes)}, path);
            write.oncomplete = () => { open.result.close(); done(); };
            write.onerror = () => fail(write.error);
        };
    });
}
// Installed before the page's scripts: the asks to keep the site's data are counted, and IndexedDB's
// reads of what it holds can be made to hang (they never answer) by setting window.vevuHangStorage.
function watchStorage() {
    window.vevuPersistAsks = 0;
    const persist = StorageManager.prototype.persist;
    StorageManager.prototype.persist = function () {
        ++window.vevuPersistAsks;
        return persist.call(this);
    };
    const openKeyCursor = IDBIndex.prototype.openKeyCursor; // IDBFS lists what it holds with it
    IDBIndex.prototype.openKeyCursor = function (...values) {
        return window.vevuHangStorage ? {} : openKeyCursor.apply(this, values);
    };
}

// The player's files on an origin of their own: a saved campaign with a mission won (as the desktop
// game wrote it) is offered after the intro; a setting changed on the options screen is saved; the
// session recorded on the map reaches IndexedDB when the tab is hidden, and a tab closed as soon as it
// was saved keeps it; a reload keeps it all, and the game reads the setting back. The browser
// is asked once to keep the files; a storage that never answers is given up with a line on the page,
// which goes once a save succeeds.
async function playerFiles(browser) {
    const context = await browser.createBrowserContext();
    const server = await serve(root);
    const continueBox = {x: 260, y: 222, w: 120, h: 16}; // "> Continue <", picked
    try {
        const won = [...readFileSync(new URL("../tests/fuzz/seeds/progress/one-won.sav", import.meta.url))];
        const helper = await context.newPage();
        await helper.goto(`${server.url}icons/icon-192.png`);
        await helper.evaluate(storeFile, "/vevu/campaign.sav", won);
        await helper.close();

        const open = async (name, expected = null) => {
            const page = await context.newPage();
            watch(page, name, expected);
            await page.setViewport({width: 1280, height: 1024});
            await page.evaluateOnNewDocument(keepDrawingBuffer);
            await page.evaluateOnNewDocument(watchStorage);
            page.on("dialog", (dialog) => dialog.accept()); // leave the page played
            await page.goto(server.url);
            return page;
        };
        const continueCampaign = async (page) => {
            await until("the intro's title", async () => (await countPixels(page, titleBox, bright)) > 3000, 40000);
            await page.keyboard.press("Space");
            await until("the saved campaign offered", async () =>
                (await countPixels(page, continueBox, "r > 240 && g > 240 && b > 240")) > 100, 30000);
            // The question reads the keys once it has faded in; Z on the map far from a zone does nothing.
            await until("Z to continue the campaign onto the map", async () => {
                await page.keyboard.press("z");
                await frames(page, 10);
                return (await countPixels(page, labelBox, green)) > 40;
            }, 30000);
        };
        // The sessions IndexedDB holds and their sizes, once the campaign and the settings are found there as
        // they should be.
        const kept = async (page, music = null) => {
            const paths = (await page.evaluate(storedPaths)).filter((path) => /^\/vevu\/replays\/[^/]+\.vrp$/.test(path));
            const [campaign, settings, ...sessions] = await page.evaluate(storedFiles,
                                                                          ["/vevu/campaign.sav", "/vevu/settings.txt", ...paths]);
            check(campaign && campaign.join() === won.join(), "the saved campaign is gone or changed in IndexedDB");
            if (music !== null) {
                const text = settings ? Buffer.from(settings).toString() : "";
                check(text.includes(`\nmusic_volume = ${music}\n`), `the settings in IndexedDB: ${JSON.stringify(text)}`);
            }
            return Object.fromEntries(paths.map((path, i) => [path, sessions[i].length]));
        };
        // The options screen (P on the map): the music some steps quieter, then closed, which saves the settings.
        const optionsShown = async (page) => (await countPixels(page, {x: 38, y: 60, w: 2, h: 360},
                                                               "r === 224 && g === 78 && b === 168")) > 300;
        const setMusic = async (page, quieter, music) => {
            await until("the options screen", async () => {
                if (!(await optionsShown(page))) {
                    await page.keyboard.press("p");
                    await frames(page, 10);
                }
                return optionsShown(page);
            }, 20000);
            if (quieter > 0) await page.keyboard.press("ArrowDown"); // from the replays to the music
            for (let i = 0; i < quieter; ++i) await page.keyboard.press("ArrowLeft");
            await until("the options to close", async () => {
                if (await optionsShown(page)) {
                    await page.keyboard.press("p");
                    await frames(page, 10);
                }
                return !(await optionsShown(page));
            }, 20000);
            if (music === null) return; // a tab that saves nothing
            // The pass that closed the screen wrote the settings and asked for a copy; a copy already under way
            // then ends without them, so the wait is for the last one queued, not for the next to end.
            await until("the settings to be copied", () => page.evaluate(() => !Module.vevuFiles.busy), 20000);
            const [settings] = await page.evaluate(storedFiles, ["/vevu/settings.txt"]);
            const text = settings ? Buffer.from(settings).toString() : "";
            check(text.includes(`\nmusic_volume = ${music}\n`), `the settings in IndexedDB: ${JSON.stringify(text)}`);
        };
        // The page hidden behind another tab; resolves once its files are saved.
        const hide = async (page) => {
            const saved = await page.evaluate(() => Module.vevuFiles.saved + Module.vevuFiles.failed);
            const other = await context.newPage();
            await other.bringToFront();
            await until("the page's files to be saved", () => page.evaluate(
                (saved) => !Module.vevuFiles.busy && Module.vevuFiles.saved + Module.vevuFiles.failed > saved, saved), 30000);
            return other;
        };

        const first = await open("saved campaign");
        await continueCampaign(first);
        await setMusic(first, 1, 90); // the session so far is copied with the settings
        const before = await kept(first, 90);
        const [recorded] = Object.keys(before);
        // More of the session on the map reaches IndexedDB while the page is shown, as a crash would find it.
        await until("the session recorded so far copied while the page is shown", async () =>
            ((await kept(first, 90))[recorded] || 0) > before[recorded], 30000);
        await frames(first, 150); // and more, in memory only for now
        const other = await hide(first);
        await first.close();
        await other.close();
        step("the saved campaign was offered; the music set to 90 % was saved; hiding the page saved its session, " +
             "and the tab was closed");

        const second = await open("after the closed tab");
        await started(second);
        const sessions = await kept(second, 90);
        const [session] = Object.keys(before);
        check(Object.keys(sessions).length === 1 && sessions[session] > before[session],
              `IndexedDB held ${JSON.stringify(before)} before the tab was hidden and ${JSON.stringify(sessions)} after`);
        await continueCampaign(second);
        await second.reload();
        await continueCampaign(second);
        await setMusic(second, 0, 90); // saved as the game read it
        check((await kept(second, 90))[session] >= sessions[session], "the session was lost in the reload");
        await frames(second, 60);
        step(`the campaign, the music at 90 % and the session ${session} (${before[session]} bytes before the tab ` +
             `was hidden, ${sessions[session]} after) survived the closed tab and a reload`);

        // The page opened in a second tab while the first plays: the first keeps the folder, the second
        // says so once, plays, and writes nothing (its settings and its session stay out of IndexedDB).
        const elsewhere = "Another copy of the game is using the player's files: this one saves nothing";
        const heldBefore = await kept(second, 90);
        const secondTab = await open("a second tab", /another copy of the game is using the player.s files/i);
        const told = [];
        secondTab.on("console", (message) => message.text().includes(elsewhere) && told.push(message.text()));
        await started(secondTab);
        await until("the second tab to say another copy holds the files", () => told.length > 0, 30000);
        await continueCampaign(secondTab);
        await setMusic(secondTab, 1, null);
        await frames(secondTab, 60);
        // A tab that holds the folder starts its copy to IndexedDB in the pass that writes the settings.
        await until("the second tab's copies to settle", () => secondTab.evaluate(() => !Module.vevuFiles.busy), 20000);
        const copies = await secondTab.evaluate(() => Module.vevuFiles.saved + Module.vevuFiles.failed);
        check(copies === 0, `the second tab copied its files to IndexedDB ${copies} times`);
        await secondTab.close();
        await second.bringToFront();
        const heldAfter = await kept(second, 90); // the music still at 90 %, not the second tab's 80 %
        check(told.length === 1, `the second tab said ${told.length} times that another copy holds the files`);
        check(Object.keys(heldAfter).every((path) => path in heldBefore),
              `the second tab recorded a session: ${JSON.stringify(heldBefore)} before, ${JSON.stringify(heldAfter)} after`);
        step(`a second tab said "${elsewhere}" once and wrote neither its settings nor a session`);

        await second.evaluate(() => { window.vevuHangStorage = true; });
        const behind = await second.browserContext().newPage();
        await behind.bringToFront();
        const said = await until("the line about files not saved",
                                 () => second.$eval("#files-line", (e) => !e.hidden && e.textContent), 30000);
        check(said.includes("no answer"), `a storage that never answers: the page says "${said}"`);
        await second.bringToFront();
        await behind.close();
        await second.screenshot({path: join(shots, "files-not-saved.png")});
        await second.evaluate(() => { window.vevuHangStorage = false; });
        await hide(second).then((tab) => tab.close());
        await second.bringToFront();
        check(await second.$eval("#files-line", (e) => e.hidden), "the line about files not saved outlived a save");
        check((await second.evaluate(() => window.vevuPersistAsks)) === 1,
              `the page asked ${await second.evaluate(() => window.vevuPersistAsks)} times to keep its files, not once`);
        step(`a storage that never answered: "${said}"; the next save cleared it; the browser was asked once to keep the files`);

        // The last session saved as a file and opened again through the page's button: the viewer plays it
        // to its end (its line along the bottom then stops short of this box); Esc goes back, and the
        // file dropped on the page plays again.
        const downloads = mkdtempSync(join(tmpdir(), "vevu-downloads-"));
        try {
            const cdp = await second.createCDPSession();
            await cdp.send("Browser.setDownloadBehavior",
                           {behavior: "allow", downloadPath: downloads, browserContextId: context.id});
            await second.click("#save-session");
            const name = await until("the session saved as a file",
                                     () => readdirSync(downloads).find((file) => /^vevu-.+\.vrp$/.test(file)), 10000);
            const bytes = readFileSync(join(downloads, name));
            check(bytes.subarray(0, 14).toString() === "vevu replay 2\n", `${name} is no session file`);
            const band = {x: 260, y: 466, w: 200, h: 14}; // past "... ended  Esc back"
            const watching = () => countPixels(second, band, green);
            await (await second.$("#replay-file")).uploadFile(join(downloads, name));
            await until("the viewer to play the session opened", async () => (await watching()) > 20, 20000);
            await second.screenshot({path: join(shots, "replay.png")});
            await until("the session to play to its end", async () => (await watching()) === 0 &&
                        (await countPixels(second, {...band, x: 0}, green)) > 20, 60000);
            await second.keyboard.press("Escape");
            await until("the map again", async () => (await watching()) === 0 &&
                        (await countPixels(second, labelBox, green)) > 40, 20000);
            await second.evaluate((bytes, name) => {
                const data = new DataTransfer();
                data.items.add(new File([new Uint8Array(bytes)], name));
                document.getElementById("canvas").dispatchEvent(
                    new DragEvent("drop", {dataTransfer: data, bubbles: true, cancelable: true}));
            }, [...bytes], name);
            await until("the viewer to play the session dropped", async () => (await watching()) > 20, 20000);
            step(`the last session saved as ${name} (${bytes.length} bytes), opened and played to its end, dropped and played`);
        } finally {
            rmSync(downloads, {recursive: true, force: true});
        }
        await second.close();
    } catch (error) {
        for (const [n, page] of (await context.pages()).entries())
            await page.screenshot({path: join(shots, `failed-files-${n}.png`)}).catch(() => {});
        throw error;
    } finally {
        await context.close();
        await server.close();
    }
}

// The release the service worker keeps, each case on an origin of its own (a server of its own): it is
// served when the server answers 503, sends a captive portal's page or does not answer; two builds under
// /play/ and /beta/ of one origin keep their own caches; a worker whose page names other files than it
// keeps (a release half deployed) installs nothing and the page says so; a browser with no room says so
// once, and the next visit does not try again.
async function keptRelease(browser) {
    const context = await browser.createBrowserContext();
    const servers = [];
    const server = async () => {
        servers.push(await serve(root));
        return servers.at(-1);
    };
    try {
        const flaky = await server();
        const page = await context.newPage();
        watch(page, "kept release");
        await page.goto(flaky.url);
        await keptByTheWorker(page);
        await started(page);
        for (const [name, answer] of [
            ["a 503", {status: 503, body: "Service Unavailable", type: "text/plain"}],
            ["a captive portal's page", {status: 200, type: "text/html",
                                         body: "<!doctype html><title>Sign in</title><p>Sign in to use this network."}],
            ["no answer", "hang"],
        ]) {
            flaky.answer = (path) => (path === "/" ? answer : null);
            const asked = flaky.sent.length, start = Date.now();
            await page.reload();
            await started(page);
            check(flaky.sent.slice(asked).some((s) => s.path === "/"), `${name}: the page was not asked of the server`);
            step(`${name} for the page: the kept release plays (${Date.now() - start} ms)`);
        }
        await page.close();

        // Two builds side by side: /beta/'s worker keeps another release.
        const sideBySide = await server();
        sideBySide.answer = (path) => {
            const [, scope, rest] = /^\/(play|beta)(\/.*)$/.exec(path) || [];
            if (!scope) return {status: 404, body: ""};
            const answer = sideBySide.file(rest);
            if (scope === "beta" && rest === "/sw.js") answer.body = String(answer.body).replace('RELEASE = "', "$&beta-");
            return answer;
        };
        for (const scope of ["play", "beta"]) {
            const page = await context.newPage();
            watch(page, scope);
            await page.goto(`${sideBySide.url}${scope}/`);
            await keptByTheWorker(page);
            await started(page);
            await page.close();
        }
        sideBySide.offline = true;
        for (const scope of ["play", "beta"]) {
            const page = await context.newPage();
            await page.goto(`${sideBySide.url}${scope}/`);
            await started(page);
            const caches = await page.evaluate(() => caches.keys());
            check(caches.length === 2 && ["/play/", "/beta/"].every((s) => caches.some((c) => c.includes(s))),
                  `the caches of /play/ and /beta/ are ${JSON.stringify(caches)}`);
            await page.close();
        }
        step("/play/ and /beta/ of one origin keep their own releases; each plays with no network");

        // The worker of one release with the page of the next.
        const halfDeployed = await server();
        const script = readdirSync(root).find((name) => /^index\.\w+\.js$/.test(name));
        const older = "index.000000000000.js";
        halfDeployed.answer = (path) => {
            if (path === `/${older}`) return halfDeployed.file(`/${script}`);
            if (path !== "/sw.js") return null;
            const answer = halfDeployed.file(path);
            answer.body = String(answer.body).replaceAll(script, older);
            return answer;
        };
        const split = await context.newPage();
        watch(split, "half deployed");
        await split.goto(halfDeployed.url);
        await started(split);
        const said = await until("the line about offline play",
                                 () => split.$eval("#offline-line", (e) => !e.hidden && e.textContent), 30000);
        check(said.includes(older), `half deployed: the page says "${said}"`);
        await split.screenshot({path: join(shots, "offline-unavailable.png")});
        const kept = await split.evaluate(() => caches.keys());
        check(kept.length === 0 && !(await split.evaluate(() => navigator.serviceWorker.controller)),
              `half deployed: the worker installed, keeping ${JSON.stringify(kept)}`);
        await split.close();
        step(`a release half deployed: nothing kept, and the page says "${said}"`);

        // No room: the first visit says so; the next one does not try (nor say it) again.
        const full = await server();
        const crowded = await context.newPage();
        watch(crowded, "no room");
        const logged = [];
        crowded.on("console", (message) => logged.push(message.text()));
        const cdp = await crowded.createCDPSession();
        await cdp.send("Storage.overrideQuotaForOrigin", {origin: full.url.slice(0, -1), quotaSize: 1e6});
        await crowded.goto(full.url);
        await started(crowded);
        const noRoom = await until("the line about offline play",
                                   () => crowded.$eval("#offline-line", (e) => !e.hidden && e.textContent), 30000);
        check(noRoom.includes("no room"), `no room: the page says "${noRoom}"`);
        const asked = full.sent.length;
        await crowded.reload();
        await started(crowded);
        await until("the page to decide not to try", () => logged.some((text) => text.includes("had no room")), 10000);
        check(!full.sent.slice(asked).some((s) => s.path === "/sw.js"), "no room: the next visit tried to install again");
        check(await crowded.$eval("#offline-line", (e) => e.hidden), "no room: the next visit said it again");
        await crowded.close();
        step(`no room: "${noRoom}", once; the next visit did not try again`);
    } finally {
        await context.close();
        for (const each of servers) await each.close();
    }
}

// Replays recorded on the desktop (tests/replays) played by the WebAssembly build, in the page, and
// compared digest by digest with what the desktop recorded: every object's state, a hash of the frame
// drawn and the sounds started, each second of game clock (build/web/replay/, as vevu_replay does),
// all eight of them: scripts/replay-frame.sh --page pictures a frame that differs.
async function sameGame(browser) {
    const names = ["intro", "mission0", "mission1", "mission2", "mission3", "tasks", "outro", "campaign"];
    const server = await serve(join(root, "..", "replay"));
    const page = await browser.newPage();
    watch(page, "replays");
    const results = [];
    page.on("console", (message) => {
        if (/^(ok|FAILED) /.test(message.text())) results.push(message.text());
    });
    try {
        const start = Date.now();
        await page.goto(`${server.url}?replays=${names.join(",")}`);
        await until("every replay's verdict", () => results.length === names.length, 600000, 500);
        const failed = results.filter((line) => !line.startsWith("ok "));
        check(failed.length === 0, `in the page: ${failed.join("; ")}`);
        step(`the desktop's replays ${names.join(", ")} play in the page with the same digests ` +
             `(${((Date.now() - start) / 1000).toFixed(0)} s)`);
    } finally {
        await page.close();
        await server.close();
    }
}

// Sound heard from the game: the last times an audio buffer the game filled was audible and silent.
function listenToTheSound() {
    window.vevuSound = {heard: 0, silent: 0};
    const create = AudioContext.prototype.createScriptProcessor;
    AudioContext.prototype.createScriptProcessor = function (...options) {
        const node = create.apply(this, options);
        let fill = null;
        Object.defineProperty(node, "onaudioprocess", {get: () => fill, set: (handler) => { fill = handler; }});
        node.addEventListener("audioprocess", (event) => {
            if (fill) fill.call(node, event);
            const audible = event.outputBuffer.getChannelData(0).some((sample) => sample !== 0);
            window.vevuSound[audible ? "heard" : "silent"] = performance.now();
        });
        return node;
    };
}

// A phone's lock screen hides the page and shows it again without a change of focus: the sound comes
// back. A browser without the page's own question (no showModal) asks with its confirm; a question that
// fails leaves the game playing.
async function fallbacks(browser, {url}) {
    const page = await browser.newPage();
    watch(page, "fallbacks");
    await page.evaluateOnNewDocument(keepDrawingBuffer);
    await page.evaluateOnNewDocument(listenToTheSound);
    await page.evaluateOnNewDocument(() => { delete HTMLDialogElement.prototype.showModal; });
    await page.goto(url);
    await started(page);
    await page.click("footer"); // a gesture that starts the sound but is no key for the intro
    const heardSince = (time) => page.evaluate((time) => window.vevuSound.heard > time, time);
    await until("the intro's music", async () => heardSince(0), 20000);
    // The page hidden and shown as by a phone's lock screen: the focus stays where it was.
    const showPage = (shown) => page.evaluate((shown) => {
        Object.defineProperty(document, "hidden", {configurable: true, get: () => !shown});
        Object.defineProperty(document, "visibilityState", {configurable: true, get: () => (shown ? "visible" : "hidden")});
        document.dispatchEvent(new Event("visibilitychange"));
        return performance.now();
    }, shown);
    await showPage(false);
    await until("silence in the hidden page", () => page.evaluate(() => {
        const sound = window.vevuSound;
        return sound.silent > sound.heard + 500;
    }), 10000);
    const shown = await showPage(true);
    await until("the music again", async () => heardSince(shown), 10000);
    step("a page hidden and shown with no change of focus: silent, then heard again");

    await page.keyboard.press("Space");
    await until("the map's green node name", async () => (await countPixels(page, labelBox, green)) > 40, 30000);
    // The game runs when steering changes the picture (answering clears the keys, so each look steers anew).
    const runs = async (what) => {
        const before = await frameDigest(page);
        await until(what, async () => {
            await holdKey(page)("ArrowDown", 3);
            return (await frameDigest(page)) !== before;
        }, 10000);
    };
    const question = await page.$eval("#end-question", (e) => e.textContent);
    const answers = [];
    page.on("dialog", (dialog) => {
        answers.push(`${dialog.type()}: ${dialog.message()}`);
        if (answers.length === 1) dialog.dismiss();
        else dialog.accept();
    });
    await page.keyboard.press("Escape");
    await until("the browser's own question", () => answers.length === 1, 10000);
    check(answers[0] === `confirm: ${question}`, `the browser asked "${answers[0]}"`);
    await runs("the map to run after the browser's Cancel");
    step("without showModal Esc asked through the browser's confirm; Cancel kept playing");

    await page.evaluate(() => {
        window.vevuAsk = Module.confirmEnd;
        Module.confirmEnd = () => {
            window.vevuAsked = true;
            return Promise.reject(new Error("the test's question fails"));
        };
    });
    await page.keyboard.press("Escape");
    await until("the game to ask", () => page.evaluate(() => window.vevuAsked), 10000);
    await runs("the map to run after a question that failed");
    step("a question that failed left the game playing");

    await page.evaluate(() => { Module.confirmEnd = window.vevuAsk; });
    await page.keyboard.press("Escape");
    await until("the end line", () => page.$eval("#loading", (e) => !e.hidden && e.querySelector("#message").textContent),
                10000)
        .then((text) => check(text === "The game has ended.", `the page says "${text}" at the end`));
    check(answers.length === 2, `the browser asked ${answers.length} times`);
    await page.close();
    step("OK in the browser's question ended the game");
}

async function badInput(browser, {url}) {
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

    // No service worker (a private window, a browser without one): the page plays all the same. A device
    // with no touch screen and no pointer may have no keyboard: the page says what the game needs.
    const context = await browser.createBrowserContext();
    for (const [name, takeAway, ready, expected] of [
        ["no service worker", () => Object.defineProperty(Navigator.prototype, "serviceWorker", {get: () => undefined}),
         () => performance.getEntriesByName("vevu-first-frame").length > 0],
        // A television's browser, say: no pointer, no touch, and no fullscreen to offer either.
        ["no keyboard or touch", () => {
            const matchMedia = window.matchMedia;
            window.matchMedia = (query) => (query === "(any-pointer: none)" ? {matches: true} : matchMedia(query));
            Object.defineProperty(Document.prototype, "fullscreenEnabled", {get: () => false});
        }, () => !document.getElementById("no-input-line").hidden && !document.getElementById("canvas").hidden &&
                 document.getElementById("fullscreen").hidden],
        // A browser that keeps no site data: the game plays with its files in memory, and says so on the
        // page (and in the game, whose words go to the console as an error).
        ["no IndexedDB", () => { delete window.indexedDB; },
         () => performance.getEntriesByName("vevu-first-frame").length > 0 &&
               !document.getElementById("files-line").hidden, /^vevu: This browser keeps no files/],
    ]) {
        const page = await context.newPage();
        watch(page, name, expected);
        await page.evaluateOnNewDocument(takeAway);
        await page.goto(url);
        await until(name === "no keyboard or touch" ? "the line that says what the game needs" : "the intro's first frame",
                    () => page.evaluate(ready), 30000);
        if (expected) await page.screenshot({path: join(shots, `${name.replace(/ /g, "-")}.png`)});
        await page.close();
        step(`${name}: the page plays`);
    }
    await context.close();

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
    const room = await page.$eval("#stage", (s) => ({w: s.clientWidth, h: s.clientHeight}));
    const fits = Math.min(room.w / W, room.h / H);
    check(Math.abs(box.w - W * fits) < 1 && Math.abs(box.h - H * fits) < 1 && Math.abs(box.x - (room.w - box.w) / 2) < 1 &&
          Math.abs(box.y - (room.h - box.h) / 2) < 1, `300x200 page: canvas ${JSON.stringify(box)} in ${JSON.stringify(room)}`);
    await page.screenshot({path: join(shots, "small-page.png")});
    await page.setViewport({width: 1000, height: 1000});
    box = await until("the canvas to refit", async () => {
        const now = await sizeAt();
        return now.w === 640 ? now : null;
    }, 10000);
    check(box.h === 480 && box.x === 180 && Math.abs(box.y - (await page.$eval("#stage", (s) => s.clientHeight) - 480) / 2) < 1,
          `1000x1000 page: canvas ${JSON.stringify(box)}`);
    // A new pixel ratio (the window moved to another screen, a zoom) rescales the picture.
    await page.setViewport({width: 1000, height: 1000, deviceScaleFactor: 2});
    await until("the picture at 3 device pixels a game pixel", async () => (await sizeAt()).w === 960, 10000);
    await page.close();
    step("300x200 scales the picture down; 1000x1000 shows it at scale 1, centred; a pixel ratio of 2 rescales it");
}

// The page in the browser's language (German first among navigator.languages): its words from the
// catalogue from the first line on, the line of keys the game's in German, with key caps after a key and
// the pad's pictures after a pad's button, and the question and its keys in German too.
async function inGerman(browser, {url}) {
    const page = await browser.newPage();
    watch(page, "German");
    await page.setViewport({width: 1280, height: 1024});
    await page.evaluateOnNewDocument(keepDrawingBuffer);
    await page.evaluateOnNewDocument(() => {
        Object.defineProperty(navigator, "languages", {get: () => ["de-AT", "en-US"]});
        window.vevuPad = {id: "test pad", index: 0, connected: false, mapping: "standard", axes: [0, 0, 0, 0],
                          buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
        navigator.getGamepads = () => [window.vevuPad];
    });
    await page.goto(url);
    const first = await page.evaluate(() => ({lang: document.documentElement.lang,
                                              loading: document.getElementById("message").textContent}));
    check(first.lang === "de" && first.loading === "Das Spiel wird geladen\u2026", `the page loads in ${JSON.stringify(first)}`);
    await until("the canvas to show", () => page.$eval("#canvas", (c) => !c.hidden));
    const line = () => page.$eval("#keys-line", (e) => ({text: e.textContent, keys: e.querySelectorAll("kbd").length,
                                                         buttons: e.querySelectorAll(".button").length}));
    let keys = await until("the game's line of keys", async () => (await line()).keys > 0 && line());
    check(keys.text.includes("Z feuern") && keys.buttons === 0, `the line of keys reads "${keys.text}"`);
    const pad = (button, pressed) => page.evaluate((b, p) => { window.vevuPad.buttons[b].pressed = p; }, button, pressed);
    await pad(0, true);
    keys = await until("the pad's line of keys", async () => (await line()).buttons > 0 && line(), 10000);
    await pad(0, false);
    check(keys.keys === 0 && keys.text.includes("feuern"), `after a pad's button the line reads "${keys.text}" with ${keys.keys} key caps`);
    await page.keyboard.press("ArrowLeft");
    await until("the key caps again", async () => (await line()).keys > 0 && (await line()).buttons === 0, 10000);
    await until("the map's green node name", async () => (await countPixels(page, labelBox, green)) > 40, 30000);
    await page.keyboard.press("Escape");
    const asked = await until("the question", () => page.$eval("#end-dialog", (d) => d.open && {
        question: d.querySelector("p").textContent, keys: document.getElementById("end-keys").textContent,
        caps: document.querySelectorAll("#end-keys kbd").length}), 10000);
    check(asked.question === "Spiel beenden? Die laufende Mission geht verloren." && asked.caps === 3 &&
          asked.keys.includes("weiterspielen"), `the question reads ${JSON.stringify(asked)}`);
    await pad(15, true); // the d-pad moves between the answers: the question's keys become the pad's
    await until("the question's pad prompts", () => page.$eval("#end-keys", (e) => e.querySelectorAll(".button").length === 3), 10000);
    await pad(15, false);
    await page.screenshot({path: join(shots, "german.png")});
    await pad(1, true);
    await until("the question to close", () => page.$eval("#end-dialog", (d) => !d.open), 10000);
    await pad(1, false);
    step("in German by the browser's language: the page's words, the game's line of keys after a key and after a pad, the question");
    await page.close();
}

const server = await serve(root);
const chromium = await launchChromium();
let failure = null;
try {
    // VEVU_WEB_TEST_PARTS=phone,offline runs only those parts (while working on one).
    const parts = {desktop: playThrough, phone, offline, kept: keptRelease, files: playerFiles, fallbacks,
                   bad: badInput, same: sameGame, german: inGerman};
    for (const part of (process.env.VEVU_WEB_TEST_PARTS || Object.keys(parts).join(",")).split(","))
        await parts[part](chromium.browser, server);
} catch (error) {
    failure = error;
    for (const page of await chromium.browser.pages())
        await page.screenshot({path: join(shots, `failed-${(await chromium.browser.pages()).indexOf(page)}.png`)}).catch(() => {});
} finally {
    await chromium.close();
    await server.close();
}
for (const problem of problems) console.error(`web test: ${problem}`);
if (failure) console.error(`web test: FAILED: ${failure.message}`);
if (failure || problems.length) process.exit(1);
console.log(`web test: passed; screenshots in ${shots}`);
