#include "settings/prompts.h"

#include <SDL.h>

#include <algorithm>

#include "engine/engine.h"
#include "engine/words.h"
#include "game/program.h"

namespace {

// The prompts sheet's frames (tools/assetgen/prompts.py paints them in this order).
constexpr int kFacesFrame = 0;      // four per style: south, east, west, north
constexpr int kDpadFrame = 16;      // up, down, left, right, vertical, horizontal, the whole pad
constexpr int kShouldersFrame = 23; // four per style: left and right shoulder, left and right trigger
constexpr int kStartBackFrame = 39; // two per style: Start, Back
constexpr int kSticksFrame = 47;    // left click, right click, right stick left, right, up, down, left
constexpr int kPaddlesFrame = 54;   // paddles 1 to 4, Misc, the touchpad
constexpr int kPromptFrames = 60;
constexpr int kCellWidth = 14, kCellHeight = 10;

int styleIndex(PadStyle style) {
    return static_cast<int>(style);
}

// The frame's inked columns: round buttons and rings are 10 wide in the middle of their cell, pills 12.
struct Ink {
    int left, width;
};
Ink inkOf(int frame) {
    if (frame < kDpadFrame + 7 || (frame >= kSticksFrame && frame < kPaddlesFrame)) return {2, 10};
    if ((frame >= kStartBackFrame && frame < kSticksFrame) || frame >= kPaddlesFrame + 4) return {1, 12};
    return {0, kCellWidth};
}

const std::shared_ptr<TImage>& sheet() {
    static const std::shared_ptr<TImage> prompts =
        TImage::LoadAnim("incbin::Gfx\\prompts.png", kCellWidth, kCellHeight, 0, kPromptFrames, 0);
    return prompts;
}

const std::shared_ptr<TImage>& whitePixel() {
    static const std::shared_ptr<TImage> pixel = TImage::Load("incbin::whitePixel.png", 0);
    return pixel;
}

void fill(float x, float y, float width, float height) {
    const std::shared_ptr<TImage>& pixel = whitePixel();
    if (!pixel || pixel->width <= 0 || pixel->height <= 0) return;
    SetDrawTransform(0, width / static_cast<float>(pixel->width), height / static_cast<float>(pixel->height));
    DrawFrame(pixel, x, y, 0);
}

// A light cap with the key's name in our font, its outline the palette's darkest ink.
void drawKeyCap(const std::string& name, float x, float y, bool lit) {
    const float width = static_cast<float>(StringWidth(name) + 6) * 2, height = PROMPT_HEIGHT;
    SetColor(20, 16, 28);
    fill(x, y, width, height);
    if (lit) {
        SetColor(184, 255, 128);
    } else {
        SetColor(220, 212, 192);
    }
    fill(x + 2, y + 2, width - 4, height - 4);
    SetColor(20, 16, 28);
    SetDrawTransform(0, 2, 2);
    DrawString(name, x + 6, y + 2);
}

// The words a touch control shows: the page's buttons are named for what they do, the pad for its arms.
std::string touchWords(Action action) {
    return ActionName(action);
}

bool viewersPrompts = false; // the replay viewer's own line is drawn: the viewer's keys, not the session's

// A session watched shows what its player had: its keys, for nobody knows which pad they held.
bool watchedGame() {
    return !viewersPrompts && theProgram && theProgram->watched && theProgram->settings;
}

constexpr int kGap = 2;      // between two prompts of one hint
constexpr int kWordsGap = 6; // between the prompts and their words
constexpr int kHintGap = 20; // between two hints

std::vector<tPrompt> hintPrompts(const tHint& hint) {
    std::vector<tPrompt> prompts;
    for (Action action : hint.actions)
        prompts.push_back(PromptFor(action));
    // The four arms of the d-pad are one picture of it, the four arrows one cap.
    if (prompts.size() == 4) {
        std::vector<int> codes;
        bool buttons = true, keys = true;
        for (const tPrompt& prompt : prompts) {
            codes.push_back(prompt.code);
            buttons = buttons && prompt.kind == tPrompt::Kind::Button;
            keys = keys && prompt.kind == tPrompt::Kind::Key;
        }
        std::sort(codes.begin(), codes.end());
        const std::vector<int> arms = {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                       SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
        const std::vector<int> arrows = {KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN};
        const std::vector<int> wasd = {KEY_A, KEY_D, KEY_S, KEY_W};
        if ((buttons && codes == arms) || (keys && (codes == arrows || codes == wasd))) {
            prompts.resize(1);
            if (buttons) {
                prompts[0].picture = kDpadFrame + 6;
            } else {
                prompts[0].words = codes == wasd ? "WASD" : PromptWords(TrMark("Arrows"));
            }
        }
    }
    if (prompts.size() == 2 && prompts[0].kind == tPrompt::Kind::Button &&
        prompts[1].kind == tPrompt::Kind::Button) {
        const int pair = PadPairPicture(prompts[0].code, prompts[1].code);
        if (pair >= 0) {
            prompts.resize(1);
            prompts[0].picture = pair;
        }
    }
    return prompts;
}

int promptsWidth(const std::vector<tPrompt>& prompts) {
    int width = 0;
    for (const tPrompt& prompt : prompts)
        width += PromptWidth(prompt) + (width > 0 ? kGap : 0);
    return width;
}

int hintWidth(const tHint& hint, const std::vector<tPrompt>& prompts) {
    const std::string words = PromptWords(hint.words);
    return promptsWidth(prompts) + (words.empty() ? 0 : kWordsGap + StringWidth(words) * 2);
}

} // namespace

std::string PromptWords(std::string_view english) {
    return Tr(english);
}

int PadButtonPicture(int button, PadStyle style) {
    const int s = styleIndex(style);
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_X:
    case SDL_CONTROLLER_BUTTON_Y:
        // SDL reads the buttons by place (south, east, west, north), so does the sheet.
        return kFacesFrame + s * 4 + button;
    case SDL_CONTROLLER_BUTTON_START:
        return kStartBackFrame + s * 2;
    case SDL_CONTROLLER_BUTTON_BACK:
        return kStartBackFrame + s * 2 + 1;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return kShouldersFrame + s * 4;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return kShouldersFrame + s * 4 + 1;
    case PAD_LEFT_TRIGGER:
        return kShouldersFrame + s * 4 + 2;
    case PAD_RIGHT_TRIGGER:
        return kShouldersFrame + s * 4 + 3;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kDpadFrame + (button - SDL_CONTROLLER_BUTTON_DPAD_UP);
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        return kSticksFrame;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        return kSticksFrame + 1;
    case PAD_RIGHT_STICK_LEFT:
    case PAD_RIGHT_STICK_RIGHT:
    case PAD_RIGHT_STICK_UP:
    case PAD_RIGHT_STICK_DOWN:
        return kSticksFrame + 2 + (button - PAD_RIGHT_STICK_LEFT);
    case SDL_CONTROLLER_BUTTON_PADDLE1:
    case SDL_CONTROLLER_BUTTON_PADDLE2:
    case SDL_CONTROLLER_BUTTON_PADDLE3:
    case SDL_CONTROLLER_BUTTON_PADDLE4:
        return kPaddlesFrame + (button - SDL_CONTROLLER_BUTTON_PADDLE1);
    case SDL_CONTROLLER_BUTTON_MISC1:
    case SDL_CONTROLLER_BUTTON_GUIDE:
        return kPaddlesFrame + 4;
    case SDL_CONTROLLER_BUTTON_TOUCHPAD:
        return kPaddlesFrame + 5;
    default:
        return -1;
    }
}

int PadPairPicture(int first, int second) {
    const auto pairOf = [first, second](int a, int b) {
        return (first == a && second == b) || (first == b && second == a);
    };
    if (pairOf(SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) return kDpadFrame + 4;
    if (pairOf(SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) return kDpadFrame + 5;
    return -1;
}

tPrompt PromptFor(const tSettings& settings, Action action, InputDevice device, PadStyle style) {
    tPrompt prompt;
    switch (device) {
    case InputDevice::Pad:
        prompt.code = settings.padButton(action);
        prompt.picture = PadButtonPicture(prompt.code, style);
        prompt.kind = prompt.picture >= 0 ? tPrompt::Kind::Button : tPrompt::Kind::None;
        break;
    case InputDevice::Touch:
        prompt.kind = tPrompt::Kind::Touch;
        prompt.words = PromptWords(touchWords(action));
        break;
    default:
        prompt.code = settings.key(action);
        prompt.words = PromptWords(KeyName(prompt.code));
        prompt.kind = prompt.words.empty() ? tPrompt::Kind::None : tPrompt::Kind::Key;
        break;
    }
    return prompt;
}

tPrompt PromptFor(Action action) {
    if (watchedGame()) return PromptFor(*theProgram->settings, action, InputDevice::Keyboard, PadStyle::Xbox);
    // The keys and buttons as the engine holds them now: the player's bindings once applied.
    const int gameKey = ActionGameKey(action);
    tPrompt prompt;
    switch (LastInputDevice()) {
    case InputDevice::Pad:
        prompt.code = PadButtonHolding(gameKey);
        prompt.picture = PadButtonPicture(prompt.code, LastPadStyle());
        prompt.kind = prompt.picture >= 0 ? tPrompt::Kind::Button : tPrompt::Kind::None;
        return prompt;
    case InputDevice::Touch:
        prompt.kind = tPrompt::Kind::Touch;
        prompt.words = PromptWords(touchWords(action));
        return prompt;
    default:
        prompt.code = KeyHolding(gameKey);
        prompt.words = PromptWords(KeyName(prompt.code));
        prompt.kind = prompt.words.empty() ? tPrompt::Kind::None : tPrompt::Kind::Key;
        return prompt;
    }
}

bool PromptIsGameKey(Action action) {
    const tPrompt prompt = PromptFor(action);
    return prompt.kind == tPrompt::Kind::Key && prompt.code == ActionGameKey(action);
}

bool ActionOfGameKey(int gameKey, Action& action) {
    for (int a = 0; a < kActionCount; ++a) {
        if (ActionGameKey(static_cast<Action>(a)) != gameKey) continue;
        action = static_cast<Action>(a);
        return true;
    }
    return false;
}

void DrawViewersHintLine(const std::vector<tHint>& hints, float x, float y) {
    viewersPrompts = true;
    DrawHintLine(hints, x, y);
    viewersPrompts = false;
}

int PromptWidth(const tPrompt& prompt) {
    switch (prompt.kind) {
    case tPrompt::Kind::Key:
    case tPrompt::Kind::Touch:
        return (StringWidth(prompt.words) + 6) * 2;
    case tPrompt::Kind::Button:
        return prompt.picture >= 0 && prompt.picture < kPromptFrames ? inkOf(prompt.picture).width * 2 : 0;
    default:
        return 0;
    }
}

void DrawPrompt(const tPrompt& prompt, float x, float y, bool lit) {
    int r = 0, g = 0, b = 0;
    ReadColor(r, g, b);
    const float alpha = GetAlpha();
    SetAlpha(1);
    if (prompt.kind == tPrompt::Kind::Key || prompt.kind == tPrompt::Kind::Touch) {
        drawKeyCap(prompt.words, x, y, lit);
    } else if (prompt.kind == tPrompt::Kind::Button && prompt.picture >= 0 &&
               prompt.picture < kPromptFrames && sheet()) {
        SetColor(lit ? 184 : 255, 255, lit ? 128 : 255);
        SetDrawTransform(0, 2, 2);
        DrawFrame(sheet(), x - static_cast<float>(inkOf(prompt.picture).left * 2), y, prompt.picture);
    }
    SetColor(r, g, b);
    SetAlpha(alpha);
}

int HintLineWidth(const std::vector<tHint>& hints) {
    int width = 0;
    for (const tHint& hint : hints)
        width += hintWidth(hint, hintPrompts(hint)) + (width > 0 ? kHintGap : 0);
    return width;
}

int DrawHintLine(const std::vector<tHint>& hints, float x, float y, bool centred) {
    const int width = HintLineWidth(hints);
    float pen = centred ? x - static_cast<float>(width / 2) : x;
    for (const tHint& hint : hints) {
        const std::vector<tPrompt> prompts = hintPrompts(hint);
        for (const tPrompt& prompt : prompts) {
            DrawPrompt(prompt, pen, y);
            pen += static_cast<float>(PromptWidth(prompt) + kGap);
        }
        pen -= kGap;
        const std::string words = PromptWords(hint.words);
        if (!words.empty()) {
            pen += kWordsGap;
            SetDrawTransform(0, 2, 2);
            DrawString(words, pen, y + 2);
            pen += static_cast<float>(StringWidth(words) * 2);
        }
        pen += kHintGap;
    }
    return width;
}
