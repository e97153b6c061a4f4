#include <cstring>
#include <ctime>
#include <limits>

#include "engine/platform.h"
#include "engine_test_support.h"

namespace {
void sendKey(Uint32 type, SDL_Keycode code, bool repeat = false, SDL_Scancode place = SDL_SCANCODE_UNKNOWN,
             Uint16 modifiers = 0) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = type;
    event.key.keysym.sym = code;
    event.key.keysym.scancode = place;
    event.key.keysym.mod = modifiers;
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

// Characters come from the keys (SDL's text input is off): the layout's character, repeats included.
TEST_F(Keyboard, TypedCharactersQueueInOrder) {
    sendKey(SDL_KEYDOWN, SDLK_h, false, SDL_SCANCODE_H, KMOD_LSHIFT);
    sendKey(SDL_KEYDOWN, SDLK_i, false, SDL_SCANCODE_I, KMOD_CAPS | KMOD_RSHIFT);
    sendKey(SDL_KEYDOWN, SDLK_i, true, SDL_SCANCODE_I);
    sendText("text events are ignored");
    sendKey(SDL_KEYDOWN, SDLK_RETURN);
    sendKey(SDL_KEYDOWN, SDLK_ESCAPE);
    sendKey(SDL_KEYDOWN, SDLK_BACKSPACE);
    sendKey(SDL_KEYDOWN, SDLK_TAB);
    sendKey(SDL_KEYDOWN, SDLK_LEFT);   // arrows, Delete and the function keys type nothing
    sendKey(SDL_KEYDOWN, SDLK_DELETE); // (Delete's code is 127, a control character)
    sendKey(SDL_KEYDOWN, SDLK_F5);
    sendKey(SDL_KEYDOWN, 0xE9, false, SDL_SCANCODE_2);  // é on a French layout's 2
    sendKey(SDL_KEYDOWN, 0x44F, false, SDL_SCANCODE_Z); // я on a Russian layout's Z
    for (int expected : {int('H'), int('i'), int('i'), 13, 27, 8, 9, 0xE9, 0x44F})
        EXPECT_EQ(NextChar(), expected);
    EXPECT_EQ(NextChar(), 0);
    ClearKeys();
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

// A key whose code is a Latin letter, a digit or a named key is that key wherever it sits (Z on a German
// layout sits where Y does on an English one); any other key is the key at its place, so Z, X, C and P
// keep their places on Cyrillic, Greek or Hebrew layouts. Up is mapped as down, so nothing sticks.
TEST_F(Keyboard, KeysAreTheirLatinCodeOrTheirPlace) {
    sendKey(SDL_KEYDOWN, SDLK_z, false, SDL_SCANCODE_Y); // German Z
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    EXPECT_EQ(KeyPressCount(KEY_Y), 0);
    sendKey(SDL_KEYUP, SDLK_z, false, SDL_SCANCODE_Y);
    const struct {
        SDL_Keycode code;
        SDL_Scancode place;
        int key;
    } foreign[] = {{0x44F, SDL_SCANCODE_Z, KEY_Z}, // Russian я
                   {0x3C7, SDL_SCANCODE_X, KEY_X}, // Greek χ
                   {0x5D1, SDL_SCANCODE_C, KEY_C}, // Hebrew ב
                   {0x437, SDL_SCANCODE_P, KEY_P}, // Russian з
                   {'&', SDL_SCANCODE_1, KEY_1},   // French 1
                   {0x451, SDL_SCANCODE_GRAVE, KEY_TILDE}};
    for (const auto& k : foreign) {
        sendKey(SDL_KEYDOWN, k.code, false, k.place);
        EXPECT_TRUE(KeyHeld(k.key)) << k.code;
        EXPECT_EQ(KeyPressCount(k.key), 1) << k.code;
        sendKey(SDL_KEYUP, k.code, false, k.place);
        EXPECT_FALSE(KeyHeld(k.key)) << k.code;
    }
    sendKey(SDL_KEYDOWN, SDLK_AUDIOPLAY, false, SDL_SCANCODE_AUDIOPLAY); // no game key by code or place
    for (int key = 1; key < 256; ++key)
        ASSERT_FALSE(KeyHeld(key)) << key;
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

// A pass that waited beyond what a recording keeps (a stopped process) moves the game's clock only as far
// as its recording says; the passes after it move as they went.
TEST_F(Keyboard, ALongPassMovesTheRecordedGameAsFarAsItsRecording) {
    std::vector<int> recorded;
    RecordPasses([&](const PassRecord& pass) { recorded.push_back(pass.frameMs); });
    BeginPass();
    const int start = Millis();
    AdvanceMillis(5 * 60 * 1000);
    BeginPass();
    EXPECT_EQ(MillisBetween(start, Millis()), kLongestPassMs);
    AdvanceMillis(12);
    SleepMillis(3);
    BeginPass();
    EXPECT_EQ(MillisBetween(start, Millis()), kLongestPassMs + 15);
    RecordPasses(nullptr);
    EXPECT_EQ(recorded, (std::vector<int>{0, kLongestPassMs, 12}));
}

// A recording holds the game's keys after the player's mapping, and the key on the keyboard the options
// may bind (KeyChosen), so that a session watched binds what was bound even for a key that holds none.
// While a replay plays, the viewer's own keys bind nothing.
TEST_F(Keyboard, RecordingsHoldMappedKeysAndTheKeyChosen) {
    MapKey(KEY_J, KEY_Z);
    MapKey(KEY_Q, 0);
    std::vector<InputEvent> log;
    engine_detail::LogInputTo(&log);
    sendKey(SDL_KEYDOWN, SDLK_j);
    sendKey(SDL_KEYUP, SDLK_j);
    sendKey(SDL_KEYDOWN, SDLK_q);
    engine_detail::LogInputTo(nullptr);
    EXPECT_EQ(log, (std::vector<InputEvent>{{InputEvent::KeyChosen, KEY_J},
                                            {InputEvent::Press, KEY_Z},
                                            {InputEvent::Char, 'j'},
                                            {InputEvent::Up, KEY_Z},
                                            {InputEvent::KeyChosen, KEY_Q},
                                            {InputEvent::Char, 'q'}}));
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    EXPECT_EQ(TakeKeyPressed(), KEY_Q);
    ApplyInputEvent({InputEvent::KeyChosen, KEY_Q});
    EXPECT_EQ(TakeKeyPressed(), KEY_Q);

    engine_detail::SendDeviceInputToPlayer(true);
    sendKey(SDL_KEYDOWN, SDLK_a);
    EXPECT_EQ(TakeKeyPressed(), 0);
    EXPECT_EQ(PlayerKeyPressCount(KEY_A), 1);
    engine_detail::SendDeviceInputToPlayer(false);
    ResetKeyMap();
}
