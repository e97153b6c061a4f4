#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/image.h"

struct FT_FaceRec_;

// A bitmap font rasterised from a TrueType file by FreeType at a pixel size. Each glyph is a white
// one-frame image that DrawString tints with the current colour.
class TFont {
  public:
    struct Glyph {
        std::shared_ptr<TImage> image; // null for glyphs without pixels (space)
        int advance = 0;               // pixels to the next glyph
        int left = 0;                  // image offset from the pen position
        int top = 0;                   // image offset from the top of the line
    };

    ~TFont();
    // Null when the path cannot be opened or is not a font FreeType can read, or size <= 0.
    static std::shared_ptr<TFont> Load(const std::string& path, int size, int style = 0);

    // The glyph of a character, or null when the font lacks it.
    const Glyph* GetGlyph(char32_t character);
    int Size() const { return _size; }
    int LineHeight() const { return _lineHeight; }
    int Ascent() const { return _ascent; }

  private:
    TFont() = default;
    std::vector<unsigned char> _bytes; // FreeType reads the face from here
    FT_FaceRec_* _face = nullptr;
    int _size = 0;
    int _lineHeight = 0;
    int _ascent = 0;
    std::unordered_map<char32_t, Glyph> _glyphs;
    std::unordered_map<char32_t, bool> _missing;
};

std::shared_ptr<TFont> LoadFont(const std::string& path, int size, int style = 0);
// Draws the text's glyphs left to right from (x, y), the top-left of the line, under the current colour,
// alpha and matrix with the current font. Characters the font lacks are skipped; no font draws nothing.
// The text is UTF-8.
void DrawString(const std::string& text, float x, float y);
// Sum of glyph advances, in unscaled pixels (0 without a font).
int StringWidth(const std::string& text);
// Height of one line, in unscaled pixels (0 without a font).
int StringHeight(const std::string& text);
// The text cut into lines no wider than width (unscaled pixels) in the current font: at the last space
// that fits (the space itself dropped), or between two characters where a word alone is wider. Each
// character is measured once, so a long text costs in proportion to its length: wrap once, draw often.
std::vector<std::string> WrapString(const std::string& text, int width);
std::string StringFromInt(int value);
