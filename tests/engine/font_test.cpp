#include "engine_test_support.h"

namespace {
// The game's own font, embedded like every asset.
const char* kGameFont = "incbin::Font\\super_effective.ttf";

std::shared_ptr<TFont> testFont() {
    return LoadFont(kGameFont, 8, 0);
}

std::vector<unsigned char> gameFontBytes() {
    ResourceData data = OpenResource(kGameFont);
    return data ? std::vector<unsigned char>(data.bytes, data.bytes + data.size)
                : std::vector<unsigned char>{};
}
} // namespace

using Font = HeadlessTest;

TEST_F(Font, MeasuresAndSkipsMissingGlyphs) {
    auto font = testFont();
    ASSERT_NE(font, nullptr) << "the game font could not be loaded";
    EXPECT_EQ(StringWidth("A"), 0); // no current font yet
    EXPECT_EQ(StringHeight("A"), 0);
    SetFont(font);
    EXPECT_GT(StringHeight("A"), 0);
    EXPECT_EQ(StringHeight("A"), StringHeight("Matter: 120"));
    EXPECT_EQ(StringWidth(""), 0);
    EXPECT_EQ(StringWidth("AB"), StringWidth("A") + StringWidth("B"));
    EXPECT_GT(StringWidth(" "), 0);
    // U+E000 (private use) is in no font the game uses: it takes no room and draws nothing.
    EXPECT_EQ(StringWidth("A\xEE\x80\x80"
                          "B"),
              StringWidth("AB"));
    EXPECT_EQ(StringWidth("A\xFF"
                          "B"),
              StringWidth("AB")); // malformed UTF-8 is skipped too
    EXPECT_EQ(StringFromInt(-120), "-120");
    EXPECT_EQ(StringFromInt(0), "0");
}

// A line as long as a damaged file may hold (a path, a version without end) wraps once into lines that fit:
// at spaces, and within a word too wide for a line, never splitting a character.
TEST_F(Font, LongTextWrapsIntoLinesThatFit) {
    SetFont(testFont());
    const int width = 200;
    const std::string word(8000, 'W');
    const std::string text = "This replay cannot be played: " + word + " \xD0\xB6\xD0\xB6 end";
    const std::vector<std::string> lines = WrapString(text, width);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(StringWidth(line), width);
        EXPECT_FALSE(line.empty() || line.front() == ' ');
        joined += line;
    }
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(text[lines.front().size()], ' '); // broken at a space
    EXPECT_EQ(lines.back().substr(lines.back().size() - 8), "\xD0\xB6\xD0\xB6 end");
    // Only the spaces where lines break are gone; no character is split.
    std::string unbroken = text;
    std::erase(unbroken, ' ');
    std::erase(joined, ' ');
    EXPECT_TRUE(joined == unbroken);
    EXPECT_EQ(WrapString("short", width), std::vector<std::string>{"short"});
}

TEST_F(Font, DrawStringStaysInsideItsLineInTheCurrentColour) {
    auto font = testFont();
    ASSERT_NE(font, nullptr);
    SetFont(font);
    SetBlend(BLEND_ALPHA);
    SetColor(0, 255, 0);
    const std::string text = "Hello 42\xEE\x80\x80";
    DrawString(text, 100, 50);
    const int width = StringWidth(text), height = StringHeight(text);
    int lit = 0, strays = 0;
    for (int y = 40; y < 70; ++y) {
        for (int x = 90; x < 200; ++x) {
            std::uint32_t p = ReadBackBufferPixel(x, y);
            if ((p & 0xFFFFFF) == 0) continue;
            const bool inside = x >= 100 && x < 100 + width + 1 && y >= 50 && y < 50 + height;
            if (!inside) ++strays;
            EXPECT_EQ(p & 0xFFFFFF, 0x00FF00u) << x << "," << y; // glyphs are solid: no anti-aliased fringe
            ++lit;
        }
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(strays, 0);
    SetFont(nullptr);
    Cls();
    DrawString("nothing", 100, 50); // without a font: nothing, no crash
    EXPECT_EQ(ReadBackBufferPixel(102, 54) & 0xFFFFFF, 0u);
}

TEST_F(Font, MaskedGrabbedTextImageIsTransparentWhereBlack) {
    auto font = testFont();
    ASSERT_NE(font, nullptr);
    SetFont(font);
    // The way the game renders a text into an image: clear, draw at scale, grab masked.
    SetColor(0, 255, 0);
    Cls();
    SetDrawScale(2, 2);
    DrawString("Abducted!", 0, 0);
    const int width = StringWidth("Abducted!") * 2, height = StringHeight("Abducted!") * 2;
    auto image = TImage::Create(width, height, 1, IMAGE_MASKED | IMAGE_DYNAMIC);
    GrabFrame(image, 0, 0, 0);
    int green = 0, clear = 0;
    for (std::uint32_t p : image->Lock(0)->pixels) {
        if (p == 0) {
            ++clear;
        } else {
            EXPECT_EQ(p, 0xFF00FF00u);
            ++green;
        }
    }
    EXPECT_GT(green, 30);
    EXPECT_GT(clear, green);
    // Drawn over a red screen, the transparent part shows red and the letters green.
    SetClsColor(255, 0, 0);
    Cls();
    SetColor(255, 255, 255);
    SetDrawScale(1, 1);
    DrawFrame(image, 0, 0, 0);
    int red = 0, letters = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = ReadBackBufferPixel(x, y) & 0xFFFFFF;
            red += p == 0xFF0000;
            letters += p == 0x00FF00;
        }
    }
    EXPECT_EQ(red, clear);
    EXPECT_EQ(letters, green);
}

TEST_F(Font, MissingTruncatedOrGarbageFontGivesNull) {
    auto bytes = gameFontBytes();
    ASSERT_GT(bytes.size(), 1000u);
    std::vector<unsigned char> half(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    std::vector<unsigned char> head(bytes.begin(), bytes.begin() + 200);
    std::vector<unsigned char> garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    RegisterResource("Test\\half.ttf", half.data(), half.size());
    RegisterResource("Test\\head.ttf", head.data(), head.size());
    RegisterResource("Test\\garbage.ttf", garbage.data(), garbage.size());
    RegisterResource("Test\\whole.ttf", bytes.data(), bytes.size());
    for (const char* path : {"incbin::Test\\half.ttf", "incbin::Test\\head.ttf", "incbin::Test\\garbage.ttf",
                             "incbin::Test\\absent.ttf", "/no/such/font.ttf"}) {
        EXPECT_EQ(LoadFont(path, 8, 0), nullptr) << path;
    }
    EXPECT_NE(LoadFont("incbin::Test\\whole.ttf", 8, 0), nullptr);
    EXPECT_EQ(LoadFont("incbin::Test\\whole.ttf", 0, 0), nullptr);
    for (const char* name : {"Test\\half.ttf", "Test\\head.ttf", "Test\\garbage.ttf", "Test\\whole.ttf"})
        UnregisterResource(name);
}
