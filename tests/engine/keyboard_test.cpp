#include <cstring>
#include <ctime>
#include <limits>

#include "engine/platform.h"
#include "engine_test_support.h"

namespace {
void sendKey(Uint32 type, SDL_Keycode code, bool repeat = false) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = type;
    event.key.keysym.sym = code;
    event.key.repeat = repeat ? 1 : 0;
    engine_detail::HandleKeyboardEvent(event);
}

void sendText(const char* text) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text, sizeof(event.text.text) - 1);
    engine_detail::HandleKeyboardEvent(event);
}
} // namespace

using Keyboard = HeadlessTest;

TEST(KeyMapping, SdlKeycodesBecomeVirtualKeys) {
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_LEFT), KEY_LEFT);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_UP), 38);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_RIGHT), 39);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_DOWN), 40);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_z), KEY_Z);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_x), 88);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_c), 67);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_p), 80);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_a), 65);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_ESCAPE), 27);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_RETURN), 13);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_KP_ENTER), 13);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_0), 48);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_9), 57);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_F1), 112);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_F12), 123);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_KP_0), 96);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_KP_9), 105);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_RSHIFT), KEY_SHIFT);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_SPACE), 32);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromKeycode(SDLK_AUDIOPLAY), 0);
}

TEST_F(Keyboard, HeldStateAndPressCounts) {
    sendKey(SDL_KEYDOWN, SDLK_z);
    EXPECT_TRUE(KeyHeld(KEY_Z));
    sendKey(SDL_KEYDOWN, SDLK_z, true); // auto-repeat: still one press
    sendKey(SDL_KEYDOWN, SDLK_z, true);
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    EXPECT_EQ(KeyPressCount(KEY_Z), 0); // reading zeroes the count
    EXPECT_TRUE(KeyHeld(KEY_Z));
    sendKey(SDL_KEYUP, SDLK_z);
    EXPECT_FALSE(KeyHeld(KEY_Z));
    for (int i = 0; i < 3; ++i) {
        sendKey(SDL_KEYDOWN, SDLK_p);
        sendKey(SDL_KEYUP, SDLK_p);
    }
    EXPECT_EQ(KeyPressCount(KEY_P), 3);
    EXPECT_FALSE(KeyHeld(KEY_P));
    EXPECT_EQ(KeyPressCount(KEY_X), 0); // counts are per key
    // Keys outside the table are never held and never counted.
    EXPECT_FALSE(KeyHeld(0));
    EXPECT_FALSE(KeyHeld(256));
    EXPECT_FALSE(KeyHeld(-3));
    EXPECT_EQ(KeyPressCount(1000), 0);
    InjectKeyDown(KEY_LEFT);
    EXPECT_TRUE(KeyHeld(KEY_LEFT));
    ClearKeys();
    EXPECT_FALSE(KeyHeld(KEY_LEFT));
    EXPECT_EQ(KeyPressCount(KEY_LEFT), 0);
}

TEST_F(Keyboard, TypedCharactersQueueInOrder) {
    sendText("Hi");
    sendKey(SDL_KEYDOWN, SDLK_RETURN);
    sendKey(SDL_KEYDOWN, SDLK_ESCAPE);
    sendKey(SDL_KEYDOWN, SDLK_BACKSPACE);
    sendKey(SDL_KEYDOWN, SDLK_TAB);
    sendKey(SDL_KEYDOWN, SDLK_LEFT); // arrows type nothing
    sendText("\xC3\xA9");            // é arrives as one character
    for (int expected : {int('H'), int('i'), 13, 27, 8, 9, 0xE9})
        EXPECT_EQ(NextChar(), expected);
    EXPECT_EQ(NextChar(), 0);
    InjectKeyTap(KEY_Z);
    InjectKeyTap(KEY_ENTER);
    InjectChar('!');
    EXPECT_EQ(NextChar(), 'z');
    EXPECT_EQ(NextChar(), 13);
    EXPECT_EQ(NextChar(), '!');
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    // The queue holds 256 characters; more are dropped, the oldest are kept.
    for (int i = 0; i < 300; ++i)
        InjectChar('a' + i % 26);
    int read = 0;
    while (int c = NextChar()) {
        ASSERT_EQ(c, 'a' + read % 26);
        ++read;
    }
    EXPECT_EQ(read, 256);
    InjectChar('q');
    ClearKeys();
    EXPECT_EQ(NextChar(), 0);
}

// F11 and Alt+Enter switch the window to fullscreen and back; the game sees neither a press nor a character.
TEST_F(Keyboard, FullscreenKeysNeverReachTheGame) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    auto push = [](SDL_Keycode code, Uint16 modifiers) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = code;
        event.key.keysym.mod = modifiers;
        SDL_PushEvent(&event);
    };
    push(SDLK_F11, 0);
    push(SDLK_RETURN, KMOD_LALT);
    push(SDLK_KP_ENTER, KMOD_RALT);
    EXPECT_EQ(KeyPressCount(KEY_F1 + 10), 0);
    EXPECT_EQ(KeyPressCount(KEY_ENTER), 0);
    EXPECT_EQ(NextChar(), 0);
    push(SDLK_RETURN, KMOD_SHIFT);
    EXPECT_EQ(KeyPressCount(KEY_ENTER), 1);
    EXPECT_EQ(NextChar(), 13);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(Keyboard, ClockIsManualWhenHeadless) {
    EXPECT_TRUE(ManualClockActive());
    EXPECT_EQ(Millis(), 0);
    SleepMillis(10);
    EXPECT_EQ(Millis(), 10);
    AdvanceMillis(4);
    EXPECT_EQ(Millis(), 14);
    SleepMillis(-5);
    EXPECT_EQ(Millis(), 14);
    SetManualMillis(1000);
    EXPECT_EQ(Millis(), 1000);
    SetManualMillis(std::numeric_limits<int>::max());
    AdvanceMillis(2);
    EXPECT_EQ(Millis(), std::numeric_limits<int>::min() + 1) << "the counter wraps like the system's";

    // Off the manual clock it is the system's monotonic counter, the same in every process (so two
    // launches seed differently), not one that starts with the game.
    UseManualClock(false);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto system = static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    EXPECT_LE(std::abs(MillisBetween(static_cast<int>(static_cast<std::uint32_t>(system)), Millis())), 1000);
    UseManualClock(true);
}
