#include <fstream>
#include <sstream>

#include "engine_test_support.h"

namespace {
// The game's own font (ASCII) and its letters beyond ASCII, embedded like every asset, and the CJK font
// cut to the catalogues' characters.
const char* kGameFont = "incbin::Font\\super_effective.ttf";
const char* kLettersFont = "incbin::Locale\\Font\\super_effective_letters.ttf";
const char* kCjkFont = "incbin::Locale\\Font\\unifont.otf";

std::shared_ptr<TFont> testFont() {
    return LoadFont(kGameFont, 8, 0);
}

// The game's fonts as the game sets them up: what ASCII lacks comes from the letters, then the CJK font.
std::shared_ptr<TFont> gameFonts() {
    return LoadFonts({{kGameFont, 8}, {kLettersFont, 8}, {kCjkFont, 16}});
}

std::vector<unsigned char> gameFontBytes() {
    ResourceData data = OpenResource(kGameFont);
    return data ? std::vector<unsigned char>(data.bytes, data.bytes + data.size)
                : std::vector<unsigned char>{};
}

// Every translation (msgstr) of the catalogues and of the font's sample, read plainly: the strings only,
// and only the game's (an entry used in src/; the page's and the menu entry's words the browser and the
// desktop draw).
std::vector<std::string> catalogueTranslations() {
    std::vector<std::filesystem::path> files{std::filesystem::path(VEVU_SOURCE_DIR) /
                                             "tests/engine/font_sample.po"};
    const std::filesystem::path po = std::filesystem::path(VEVU_SOURCE_DIR) / "po";
    if (std::filesystem::is_directory(po)) {
        for (const auto& entry : std::filesystem::directory_iterator(po))
            if (entry.path().extension() == ".po") files.push_back(entry.path());
    }
    std::vector<std::string> texts;
    for (const auto& file : files) {
        std::ifstream in(file);
        std::string line;
        const bool sample = file.parent_path() != po;
        bool inTranslation = false, theGames = false;
        while (std::getline(in, line)) {
            if (line.empty()) theGames = false; // the next entry
            if (line.rfind("#:", 0) == 0 && line.find(" src/") != std::string::npos) theGames = true;
            if (line.rfind("msgstr", 0) == 0) {
                inTranslation = sample || theGames;
                if (!inTranslation) continue;
                texts.emplace_back();
            } else if (line.empty() || line[0] != '"') {
                inTranslation = false;
            }
            const std::size_t open = line.find('"'), close = line.rfind('"');
            if (inTranslation && open != std::string::npos && close > open)
                texts.back() += line.substr(open + 1, close - open - 1); // escapes are ASCII: covered anyway
        }
    }
    return texts;
}

bool startsWithAny(const std::string& line, std::initializer_list<const char*> marks) {
    for (const char* mark : marks)
        if (line.rfind(mark, 0) == 0) return true;
    return false;
}
} // namespace

using Font = HeadlessTest;

TEST_F(Font, MeasuresBoxesMissingCharactersAndSkipsControlOnes) {
    auto font = testFont();
    ASSERT_NE(font, nullptr) << "the game font could not be loaded";
    EXPECT_EQ(StringWidth("A"), 0); // no current font yet
    EXPECT_EQ(StringHeight("A"), 0);
    EXPECT_FALSE(FontsCover("A"));
    SetFont(font);
    EXPECT_GT(StringHeight("A"), 0);
    EXPECT_EQ(StringHeight("A"), StringHeight("Matter: 120"));
    EXPECT_EQ(StringWidth(""), 0);
    EXPECT_EQ(StringWidth("AB"), StringWidth("A") + StringWidth("B"));
    EXPECT_GT(StringWidth(" "), 0);
    // U+E000 (private use) is in no font the game uses: it takes a replacement box's room, as malformed
    // UTF-8 does; control characters and zero-width ones take none.
    const int box = StringWidth("A\xEE\x80\x80") - StringWidth("A");
    EXPECT_GE(box, 4);
    EXPECT_EQ(StringWidth("A\xFF"
                          "B"),
              StringWidth("AB") + box);
    EXPECT_EQ(StringWidth("A\n\t\r\xC2\xAD\xE2\x80\x8B\xEF\xBB\xBF"
                          "B"),
              StringWidth("AB"));
    EXPECT_TRUE(FontsCover("Matter: 120\n"));
    EXPECT_FALSE(FontsCover("\xC3\x89volution")); // É without the letters' font
    SetFont(gameFonts());
    EXPECT_TRUE(FontsCover("Matter: 120 \xC3\x89volution \xD0\x96 \xCE\xA9\n"));
    EXPECT_FALSE(FontsCover("A\xEE\x80\x80"));
    EXPECT_FALSE(FontsCover("A\xFF"));
    EXPECT_EQ(StringFromInt(-120), "-120");
    EXPECT_EQ(StringFromInt(0), "0");
}

// Every letter of the scripts the translations use is in our font, in its style: drawn within the line
// but for one row above it (a capital's mark), and the box for what no font has is hollow.
TEST_F(Font, EveryLetterOfLatinCyrillicAndGreekHasAGlyph) {
    auto font = LoadFont(kLettersFont, 8, 0);
    ASSERT_NE(font, nullptr);
    std::vector<char32_t> wanted;
    for (char32_t c = 0xA1; c <= 0x17F; ++c)
        wanted.push_back(c); // Latin-1 and Latin Extended-A
    for (char32_t c = 0x400; c <= 0x45F; ++c)
        wanted.push_back(c);                     // Cyrillic
    wanted.insert(wanted.end(), {0x490, 0x491}); // Ukrainian's Ґ ґ
    for (char32_t c = 0x386; c <= 0x3CE; ++c)    // Greek
        if (c != 0x3A2 && c != 0x38B && c != 0x38D) wanted.push_back(c);
    for (char32_t c : std::u32string_view(
             U"\u2013\u2014\u2018\u2019\u201A\u201C\u201D\u201E\u2026\u2039\u203A\u20AC\u02BC"))
        wanted.push_back(c);
    const auto inkOf = [](const TFont::Glyph& glyph) {
        int ink = 0;
        if (glyph.image)
            for (std::uint32_t p : glyph.image->pixmaps[0].pixels)
                ink += p != 0;
        return ink;
    };
    for (char32_t c : wanted) {
        const TFont::Glyph* glyph = font->GetGlyph(c);
        ASSERT_NE(glyph, nullptr) << "U+" << std::hex << static_cast<unsigned>(c);
        EXPECT_GT(glyph->advance, 0);
        const bool space = c == 0xA0; // the non-breaking space
        EXPECT_EQ(inkOf(*glyph) > 0, !space) << "U+" << std::hex << static_cast<unsigned>(c);
        if (!glyph->image) continue;
        EXPECT_GE(glyph->top, -1.0f) << "U+" << std::hex << static_cast<unsigned>(c);
        EXPECT_LE(glyph->top + static_cast<float>(glyph->image->height),
                  static_cast<float>(font->LineHeight()));
    }
    ASSERT_NE(font->GetGlyph(U'\u202F'), nullptr); // the narrow space French sets before ! ? : ;
    EXPECT_EQ(inkOf(*font->GetGlyph(U'\u202F')), 0);
    // The box: a ring of ink around a clear middle.
    const TFont::Glyph* box = font->Draws(0xE000);
    ASSERT_TRUE(box && box->image);
    const TPixmap& pixels = box->image->pixmaps[0];
    EXPECT_NE(pixels.ReadPixel(0, 0), 0u);
    EXPECT_NE(pixels.ReadPixel(pixels.width - 1, pixels.height - 1), 0u);
    EXPECT_EQ(pixels.ReadPixel(1, 1), 0u);
    EXPECT_EQ(font->Draws(U'\n'), nullptr);
}

// The CJK font holds every character the translations use, and its 16-pixel glyphs are drawn one of their
// pixels to one pixel of the picture where the text is drawn at scale 2, each in the Latin line's height.
TEST_F(Font, CjkGlyphsComeFromTheCutFontPixelForPixel) {
    auto font = gameFonts();
    ASSERT_TRUE(font && font->Fallback());
    const std::shared_ptr<TFont> letters = font->Fallback(), cjk = letters->Fallback();
    ASSERT_NE(cjk, nullptr) << "the CJK font could not be loaded";
    SetFont(font);
    for (const std::string& text : catalogueTranslations())
        EXPECT_TRUE(FontsCover(text)) << text;
    const std::string day = "\xE6\x97\xA5"; // 日
    EXPECT_EQ(StringWidth(day), 8);
    EXPECT_EQ(StringWidth("A" + day), StringWidth("A") + 8);
    const TFont::Glyph* own = cjk->GetGlyph(U'\u65E5');
    const TFont::Glyph* drawn = font->Draws(U'\u65E5');
    ASSERT_TRUE(own && own->image && drawn);
    EXPECT_EQ(drawn->texel, 0.5f);
    SetColor(255, 255, 255);
    SetDrawScale(2, 2);
    DrawString(day, 100, 50);
    int lit = 0, mismatched = 0, strays = 0;
    for (int y = 40; y < 80; ++y) {
        for (int x = 90; x < 130; ++x) {
            const bool on = (ReadBackBufferPixel(x, y) & 0xFFFFFF) != 0;
            const int u = x - 100 - static_cast<int>(own->left),
                      v = y - 50 - static_cast<int>(drawn->top * 2);
            const bool inGlyph = u >= 0 && v >= 0 && u < own->image->width && v < own->image->height &&
                                 own->image->pixmaps[0].ReadPixel(u, v) != 0;
            lit += on;
            mismatched += on != inGlyph;
            strays += on && (y < 50 || y >= 50 + 2 * font->LineHeight());
        }
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(mismatched, 0);
    EXPECT_EQ(strays, 0); // within the Latin line's height
    // A damaged CJK font is no font: its characters show as boxes, and the text is not covered.
    auto bytes = gameFontBytes();
    RegisterResource("Test\\cjk.otf", bytes.data(), 100);
    letters->SetFallback(LoadFont("incbin::Test\\cjk.otf", 16, 0));
    UnregisterResource("Test\\cjk.otf");
    font->SetFallback(letters); // forgets what it borrowed
    EXPECT_FALSE(FontsCover(day));
    EXPECT_EQ(StringWidth(day), font->Draws(0xE000)->advance);
}

// Chinese and Japanese break between characters, never before closing punctuation nor after opening
// punctuation; Korean, like the Latin scripts, between words.
TEST_F(Font, CjkLinesBreakBetweenCharactersKeepingPunctuationInPlace) {
    SetFont(gameFonts());
    // 言語日。本 in three characters' width: 。 may not start a line, so 日 goes down with it.
    const std::string say = "\xE8\xA8\x80", language = "\xE8\xAA\x9E", day = "\xE6\x97\xA5",
                      stop = "\xE3\x80\x82", root = "\xE6\x9C\xAC";
    ASSERT_EQ(StringWidth(say), 8);
    EXPECT_EQ(WrapString(say + language + day + stop + root, 24),
              (std::vector<std::string>{say + language, day + stop + root}));
    const std::string text = "\xE3\x80\x8C\xE5\xB9\xBC\xE8\x99\xAB\xE3\x80\x8D\xE3\x81\x8C\xE5\x8D\xB5"
                             "\xE3\x82\x92\xE5\xAE\x88\xE3\x82\x8B\xEF\xBC\x81\xEF\xBC\x88\xE6\xAF\x8D"
                             "\xE8\x88\xB9\xE3\x81\xB8\xE6\x88\xBB\xE3\x82\x8B\xEF\xBC\x89\xE3\x80\x81"
                             "\xE6\x80\xA5\xE3\x81\x84\xE3\x81\xA7\xEF\xBC\x9F";
    // 「幼虫」が卵を守る！（母船へ戻る）、急いで？ at widths of 3 to 7 characters (at 2, る）、 could only be
    // cut).
    for (int width : {24, 32, 40, 56}) {
        const std::vector<std::string> lines = WrapString(text, width);
        std::string joined;
        for (const std::string& line : lines) {
            EXPECT_LE(StringWidth(line), width) << line;
            EXPECT_FALSE(startsWithAny(line, {"\xE3\x80\x82", "\xE3\x80\x81", "\xE3\x80\x8D", "\xEF\xBC\x89",
                                              "\xEF\xBC\x81", "\xEF\xBC\x9F"}))
                << width << ": " << line;
            for (const char* opening : {"\xE3\x80\x8C", "\xEF\xBC\x88"})
                EXPECT_FALSE(line.size() > 3 && line.substr(line.size() - 3) == opening)
                    << width << ": " << line;
            joined += line;
        }
        EXPECT_GT(lines.size(), 1u);
        EXPECT_EQ(joined, text); // nothing lost, nothing split
    }
    // Korean words stay whole: 계속하려면 키를 누르세요.
    const std::string korean = "\xEA\xB3\x84\xEC\x86\x8D\xED\x95\x98\xEB\xA0\xA4\xEB\xA9\xB4 "
                               "\xED\x82\xA4\xEB\xA5\xBC \xEB\x88\x84\xEB\xA5\xB4\xEC\x84\xB8\xEC\x9A\x94.";
    EXPECT_EQ(WrapString(korean, 48).size(), 3u);
    EXPECT_EQ(WrapString(korean, 48)[1], "\xED\x82\xA4\xEB\xA5\xBC");
    // Latin next to CJK may break between them.
    EXPECT_EQ(WrapString("ABC\xE6\x97\xA5", StringWidth("ABC")),
              (std::vector<std::string>{"ABC", "\xE6\x97\xA5"}));
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
    // A chain whose first font is missing is no font; a missing fallback is left out of it.
    EXPECT_EQ(LoadFonts({{"incbin::Test\\absent.ttf", 8}, {"incbin::Test\\whole.ttf", 8}}), nullptr);
    SetFont(LoadFonts({{"incbin::Test\\whole.ttf", 8}, {"incbin::Test\\half.ttf", 8}, {kCjkFont, 16}}));
    EXPECT_TRUE(FontsCover("A\xE6\x97\xA5")); // A日
    for (const char* name : {"Test\\half.ttf", "Test\\head.ttf", "Test\\garbage.ttf", "Test\\whole.ttf"})
        UnregisterResource(name);
}
