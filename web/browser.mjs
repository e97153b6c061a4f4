// What the browser test and the figures share: a static server for the page on 127.0.0.1, Debian's
// chromium headless through puppeteer-core, polled waits and reads of the game's pixels.
import {createServer} from "node:http";
import {mkdtempSync, readFileSync, rmSync, statSync} from "node:fs";
import {tmpdir} from "node:os";
import {extname, join, normalize, resolve, sep} from "node:path";
import puppeteer from "puppeteer-core";

const contentTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".png": "image/png",
};

// Serves the files of root as any static server would; the port is a free one. Set `offline` on the
// answer and every request fails as with no network. Set `answer` to a function of the path to answer
// otherwise: it returns {status, body, type} to send, "hang" to leave the request unanswered, or
// nothing for the file (`file(path)` is the file's own answer, to send changed).
export async function serve(root) {
    root = resolve(root);
    const sent = [];
    const control = {offline: false, answer: null};
    const file = (path) => {
        let name = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
        if (name !== root && !name.startsWith(root + sep)) name = "";
        try {
            if (!name || !statSync(name).isFile()) throw new Error("not a file");
            return {status: 200, body: readFileSync(name), type: contentTypes[extname(name)]};
        } catch {
            return {status: 404, body: ""};
        }
    };
    const server = createServer((request, response) => {
        if (control.offline) {
            request.socket.destroy();
            return;
        }
        const path = decodeURIComponent(new URL(request.url, "http://host").pathname);
        const answer = (control.answer && control.answer(path)) || file(path);
        sent.push({path, status: answer.status, bytes: answer.body?.length});
        if (answer === "hang") return; // closed with the server
        response.writeHead(answer.status, {"Content-Type": answer.type || "application/octet-stream",
                                           "Cache-Control": "no-store"});
        response.end(answer.body);
    });
    await new Promise((ready) => server.listen(0, "127.0.0.1", ready));
    return Object.assign(control, {
        url: `http://127.0.0.1:${server.address().port}/`,
        sent,
        file,
        close: () => new Promise((done) => {
            server.closeAllConnections();
            server.close(done);
        }),
    });
}

// Debian's chromium, headless, with a fresh profile and none of its calls home. WebGL runs on the
// software rasteriser: the machines here have no GPU.
export async function launchChromium() {
    const profile = mkdtempSync(join(tmpdir(), "vevu-chromium-"));
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
        headless: true,
        userDataDir: profile,
        protocolTimeout: 120000,
        args: [
            "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--no-first-run", "--no-default-browser-check", "--disable-default-apps",
            "--autoplay-policy=user-gesture-required",
            // The page speaks the browser's language: English here, whatever the machine's locale.
            "--lang=en-US",
        ],
    });
    return {
        browser,
        close: async () => {
            await browser.close();
            rmSync(profile, {recursive: true, force: true});
        },
    };
}

// Polls condition (an async function returning a truthy value when met) until it holds or the limit
// passes; returns its value or throws with what was awaited.
export async function until(what, condition, limitMs = 30000, everyMs = 50) {
    const end = Date.now() + limitMs;
    for (;;) {
        const value = await condition();
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out after ${limitMs} ms waiting for ${what}`);
        await new Promise((wake) => setTimeout(wake, everyMs));
    }
}

// Installed before the page's own scripts: WebGL keeps its last frame so the test can read the game's
// 640 x 480 pixels at any time (the picture drawn is the same).
export function keepDrawingBuffer() {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, attributes) {
        if (kind === "webgl" || kind === "webgl2" || kind === "experimental-webgl")
            attributes = Object.assign({}, attributes, {preserveDrawingBuffer: true});
        return getContext.call(this, kind, attributes);
    };
    // The game's pixels in game coordinates, RGBA rows.
    window.vevuPixels = (x, y, width, height) => {
        const game = document.getElementById("canvas");
        const copy = document.createElement("canvas");
        copy.width = game.width;
        copy.height = game.height;
        const context = copy.getContext("2d", {willReadFrequently: true});
        context.drawImage(game, 0, 0);
        return context.getImageData(x, y, width, height).data;
    };
}
