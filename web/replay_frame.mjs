// The frame a recorded replay draws in the page at a second of game clock, written as a PNG: the page's
// half of scripts/replay-frame.sh --page.
//
//   node web/replay_frame.mjs build/web/replay REPLAY-NAME SECONDS OUT.png
import {writeFileSync} from "node:fs";
import {launchChromium, serve, until} from "./browser.mjs";

const [folder, name, seconds, out] = process.argv.slice(2);
if (!out) {
    console.error("usage: node web/replay_frame.mjs REPLAY-PAGE-FOLDER REPLAY-NAME SECONDS OUT.png");
    process.exit(2);
}
const server = await serve(folder);
const chromium = await launchChromium();
let status = 1;
try {
    const page = await chromium.browser.newPage();
    const errors = [];
    page.on("console", (message) => { if (message.type() === "error") errors.push(message.text()); });
    await page.goto(`${server.url}?frame=${encodeURIComponent(name)},${encodeURIComponent(seconds)}`);
    const frame = await until("the page's frame", async () => {
        if (errors.length) return {error: errors.join("; ")};
        return page.evaluate(() => (window.vevuFrame === undefined ? null : {png: window.vevuFrame}));
    }, 600000, 250);
    if (frame.error !== undefined) {
        console.error(`the page: ${frame.error}`);
    } else if (!frame.png) {
        console.error(`${name}: no frame drawn at ${seconds} s in the page`);
    } else {
        writeFileSync(out, Buffer.from(frame.png, "base64"));
        console.log(out);
        status = 0;
    }
} finally {
    await chromium.close();
    await server.close();
}
process.exit(status);
