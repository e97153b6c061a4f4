#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/image.h"

struct FT_FaceRec_;

// A bitmap font rasterised from a TrueType file by FreeType at a pixel size. Each glyph is a white
// one-frame image that DrawString tints with the current colour. What the font lacks comes from its
// fallbacks, one after the other (the letters beyond ASCII, then the CJK font, twice its size, drawn at
// half scale so that one of its pixels is half of ours), and what none has is drawn as a replacement box.
class TFont {
  public:
    struct Glyph {
        std::shared_ptr<TImage> image; // null for glyphs without pixels (space)
        int advance = 0;               // pixels to the next glyph, in this font's pixels
        float left = 0;                // image offset from the pen position, in this font's pixels
        float top = 0;                 // image offset from the top of the line, in this font's pixels
        float texel = 1;               // one image pixel in this font's pixels (1/2 for the fallback's)
    };

    ~TFont();
    // Null when the path cannot be opened or is not a font FreeType can read, or size <= 0.
    static std::shared_ptr<TFont> Load(const std::string& path, int size, int style = 0);

    // The font's own glyph of a character, or null when the font lacks it.
    const Glyph* GetGlyph(char32_t character);
    // What DrawString draws for a character: the own glyph, the fallback's, or the replacement box; null
    // for the characters that are never drawn (control characters, zero-width marks).
    const Glyph* Draws(char32_t character);
    // Whether the font or a fallback has the character (or it is one that is never drawn).
    bool Covers(char32_t character);
    // Characters this font lacks are looked up here (and in its own fallbacks), centred on this font's
    // line. Null: none.
    void SetFallback(std::shared_ptr<TFont> fallback);
    const std::shared_ptr<TFont>& Fallback() const { return _fallback; }
    int Size() const { return _size; }
    int LineHeight() const { return _lineHeight; }
    int Ascent() const { return _ascent; }

  private:
    TFont() = default;
    const Glyph* fallbackGlyph(char32_t character);
    const Glyph& replacementBox();

    std::vector<unsigned char> _bytes; // FreeType reads the face from here
    FT_FaceRec_* _face = nullptr;
    int _size = 0;
    int _lineHeight = 0;
    int _ascent = 0;
    bool _hinted = true; // our own font is drawn as FreeType hints it; a fallback exactly as its outlines
    std::unordered_map<char32_t, Glyph> _glyphs;
    std::unordered_map<char32_t, bool> _missing;
    std::shared_ptr<TFont> _fallback;
    std::unordered_map<char32_t, Glyph> _borrowed; // the fallbacks' glyphs in this font's pixels
    std::unique_ptr<Glyph> _box;
};

std::shared_ptr<TFont> LoadFont(const std::string& path, int size, int style = 0);
// The first (path, pixel size) as the font, each further one the fallback of the one before. Null when the
// first cannot be loaded; a missing or damaged fallback is left out, so its characters are not covered.
std::shared_ptr<TFont> LoadFonts(const std::vector<std::pair<std::string, int>>& fonts);
// Whether the current font (with its fallbacks) draws every character of the UTF-8 text, so no
// replacement box would show: false for malformed UTF-8 and without a font. A language whose words are
// not covered (its font missing or damaged) is shown in English instead.
bool FontsCover(std::string_view text);
// Draws the text's glyphs left to right from (x, y), the top-left of the line, under the current colour,
// alpha and matrix with the current font. A character no font has (or malformed UTF-8) is drawn as a
// hollow replacement box; control characters take no room; no font draws nothing. The text is UTF-8.
void DrawString(const std::string& text, float x, float y);
// Sum of glyph advances, in unscaled pixels (0 without a font).
int StringWidth(const std::string& text);
// Height of one line, in unscaled pixels (0 without a font).
int StringHeight(const std::string& text);
// The text cut into lines no wider than width (unscaled pixels) in the current font: at the last place a
// line may end that fits. Lines end at a space (the space itself dropped) and between two characters
// where one of them is Chinese or Japanese (never before closing punctuation such as 。、」）！？ nor after
// opening punctuation such as 「（), or between any two characters where a word alone is wider. Each
// character is measured once, so a long text costs in proportion to its length: wrap once, draw often.
std::vector<std::string> WrapString(const std::string& text, int width);
std::string StringFromInt(int value);
