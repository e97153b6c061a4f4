#pragma once
// Engine-internal: the web page around the game in the WebAssembly build. The browser runs nothing
// while the game's code runs, so the game hands control back at every Flip and every sleep.
#ifdef __EMSCRIPTEN__

namespace engine_detail {

// Returns at the page's next frame (in a hidden tab, which draws no frames, after a short timer, so
// the game still reads the events that pause it).
void WaitForBrowserFrame();
// Waits ms milliseconds while the page runs on.
void SleepInBrowser(int ms);
// Milliseconds spent in the two waits above since the start: what the game left to the browser.
double BrowserWaitMillis();
// Asks the page whether the game may end (the player pressed Esc); the game stands still meanwhile.
bool AskInBrowserToEnd();
// Milliseconds the game stood still while the page asked: the clock leaves them out.
double BrowserHeldMillis();
// Tells the page that the game has ended and suspends the game for good: the page offers a new one.
[[noreturn]] void EndInBrowser();

} // namespace engine_detail

#endif
