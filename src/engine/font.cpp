#include "engine/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "engine/graphics.h"
#include "engine/platform.h"
#include "engine/resources.h"
#include "engine/utf8.h"

namespace {
FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

std::uint32_t be32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// A TrueType/OpenType file whose table directory points past its end is truncated: refuse it before
// FreeType reads it lazily glyph by glyph.
bool tablesWithinFile(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 12) return false;
    const std::size_t tables = (std::size_t{bytes[4]} << 8) | bytes[5];
    if (12 + tables * 16 > bytes.size()) return false;
    for (std::size_t i = 0; i < tables; ++i) {
        const unsigned char* record = bytes.data() + 12 + i * 16;
        const std::uint64_t offset = be32(record + 8), length = be32(record + 12);
        if (offset + length > bytes.size()) return false;
    }
    return true;
}

// One code point at s[i], advancing i; malformed bytes give U+FFFD, which no font draws (a box shows).
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
    char32_t c = 0;
    return DecodeUtf8(s, i, c) ? c : 0xFFFD;
}

// Characters that are never drawn and take no room: control characters, the soft hyphen, zero-width
// spaces and joiners, direction marks and the byte order mark.
bool neverDrawn(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF;
}

// Chinese and Japanese are written without spaces: a line may end between any two of these characters.
// Korean puts spaces between words and breaks there, like the Latin scripts.
bool breaksAnywhere(char32_t c) {
    return (c >= 0x2E80 && c <= 0x303F) || (c >= 0x3040 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF01 && c <= 0xFF9F) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool isOneOf(char32_t c, std::u32string_view set) {
    return set.find(c) != std::u32string_view::npos;
}

// Closing punctuation, small kana and the prolonged sound mark never begin a line.
bool neverStartsLine(char32_t c) {
    return isOneOf(c, U"、。，．：；？！）」』】〕〉》〙〗〟｝］｠｡｣､・ー〜ゝゞヽヾ々…‥"
                      U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
                      U")]}.,:;!?%\u2019\u201D\u00BB");
}

// Opening punctuation never ends a line.
bool neverEndsLine(char32_t c) {
    return isOneOf(c, U"（「『【〔〈《〘〖〝｛［｟｢([{\u2018\u201C\u00AB");
}

// Whether a line may end between two characters that are not spaces.
bool mayBreakBetween(char32_t before, char32_t after) {
    return (breaksAnywhere(before) || breaksAnywhere(after)) && !neverStartsLine(after) &&
           !neverEndsLine(before);
}

int advanceOf(TFont* font, char32_t c) {
    const TFont::Glyph* glyph = font ? font->Draws(c) : nullptr;
    return glyph ? glyph->advance : 0;
}

// Draws one glyph with the pen at `pen` (this font's pixels); a fallback's glyph is drawn at its own
// finer scale, so that at the game's text scale of 2 each of its pixels is one pixel of the picture.
void drawGlyph(const TFont::Glyph& glyph, float x, float y, int pen) {
    if (!glyph.image) return;
    if (glyph.texel == 1) {
        engine_detail::DrawImageFrame(*glyph.image, 0, x, y, static_cast<float>(pen) + glyph.left, glyph.top);
        return;
    }
    const float scaleX = GetDrawingState().tform_scale_x, scaleY = GetDrawingState().tform_scale_y;
    SetDrawScale(scaleX * glyph.texel, scaleY * glyph.texel);
    engine_detail::DrawImageFrame(*glyph.image, 0, x, y, (static_cast<float>(pen) + glyph.left) / glyph.texel,
                                  glyph.top / glyph.texel);
    SetDrawScale(scaleX, scaleY);
}
} // namespace

TFont::~TFont() {
    if (_face) FT_Done_Face(_face);
}

std::shared_ptr<TFont> TFont::Load(const std::string& path, int size, int style) {
    if (size <= 0 || !freetype()) return nullptr;
    ResourceData data = OpenResource(path);
    if (!data || data.size == 0) return nullptr;
    std::shared_ptr<TFont> font(new TFont);
    font->_bytes.assign(data.bytes, data.bytes + data.size);
    if (!tablesWithinFile(font->_bytes)) return nullptr;
    if (FT_New_Memory_Face(freetype(), font->_bytes.data(), static_cast<FT_Long>(font->_bytes.size()), 0,
                           &font->_face) != 0) {
        font->_face = nullptr;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(font->_face, 0, static_cast<FT_UInt>(size)) != 0) return nullptr;
    const FT_Size_Metrics& metrics = font->_face->size->metrics;
    font->_size = size;
    font->_ascent = static_cast<int>((metrics.ascender + 63) >> 6);
    font->_lineHeight = font->_ascent - static_cast<int>(metrics.descender >> 6);
    if (font->_lineHeight <= 0) font->_lineHeight = size;
    // Rasterise the printable ASCII the game writes now; a glyph that fails to load means a broken file.
    for (char32_t c = 32; c < 127; ++c) {
        if (FT_Get_Char_Index(font->_face, c) != 0 && !font->GetGlyph(c)) return nullptr;
    }
    return font;
}

const TFont::Glyph* TFont::GetGlyph(char32_t character) {
    if (auto found = _glyphs.find(character); found != _glyphs.end()) return &found->second;
    if (!_face || _missing.count(character)) return nullptr;
    const FT_UInt index = FT_Get_Char_Index(_face, character);
    // A pixel font: glyphs are rasterised without anti-aliasing so text stays crisp at scale 2 and
    // a masked text image has no dark fringe. A fallback's outlines already lie on its pixel grid: drawn
    // unhinted, every pixel stays where its designer put it.
    const FT_Int32 flags = _hinted ? FT_LOAD_RENDER | FT_LOAD_TARGET_MONO
                                   : FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_NO_HINTING;
    if (index == 0 || FT_Load_Glyph(_face, index, flags) != 0) {
        _missing[character] = true;
        return nullptr;
    }
    const FT_GlyphSlot slot = _face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = static_cast<float>(slot->bitmap_left);
    glyph.top = static_cast<float>(_ascent - slot->bitmap_top);
    if (bitmap.width > 0 && bitmap.rows > 0) {
        glyph.image = TImage::Create(static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), 1, 0);
        TPixmap& pixels = glyph.image->pixmaps[0];
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                              ? (line[col >> 3] & (0x80 >> (col & 7))) != 0
                              : line[col] >= 128;
                if (on) pixels.WritePixel(static_cast<int>(col), static_cast<int>(row), 0xFFFFFFFFu);
            }
        }
    }
    return &_glyphs.emplace(character, std::move(glyph)).first->second;
}

void TFont::SetFallback(std::shared_ptr<TFont> fallback) {
    _borrowed.clear();
    _fallback = std::move(fallback);
    if (!_fallback || _fallback.get() == this) {
        _fallback.reset();
        return;
    }
    // Its glyphs are drawn unhinted from now on: forget any it rasterised hinted.
    _fallback->_hinted = false;
    _fallback->_glyphs.clear();
    _fallback->_missing.clear();
}

// The glyph of the first font down the fallbacks that has it, placed in this font's pixels: scaled by the
// two sizes, that font's line centred on ours.
const TFont::Glyph* TFont::fallbackGlyph(char32_t character) {
    if (!_fallback) return nullptr;
    if (auto found = _borrowed.find(character); found != _borrowed.end()) return &found->second;
    const Glyph* theirs = nullptr;
    const TFont* owner = _fallback.get();
    for (int depth = 0; owner && depth < 8; ++depth, owner = owner->_fallback.get()) {
        if ((theirs = const_cast<TFont*>(owner)->GetGlyph(character))) break;
    }
    if (!theirs) return nullptr;
    Glyph glyph = *theirs;
    glyph.texel = static_cast<float>(_size) / static_cast<float>(owner->_size);
    glyph.advance = static_cast<int>(std::lround(static_cast<float>(theirs->advance) * glyph.texel));
    glyph.left = theirs->left * glyph.texel;
    glyph.top = (static_cast<float>(_lineHeight) - static_cast<float>(owner->_lineHeight) * glyph.texel) / 2 +
                theirs->top * glyph.texel;
    return &_borrowed.emplace(character, std::move(glyph)).first->second;
}

// A hollow box standing on the baseline, as tall as the capitals: a character no font has shows as one.
const TFont::Glyph& TFont::replacementBox() {
    if (_box) return *_box;
    _box = std::make_unique<Glyph>();
    const int width = std::max(3, (_size + 1) / 2), height = std::max(4, _size * 3 / 4);
    _box->image = TImage::Create(width, height, 1, 0);
    TPixmap& pixels = _box->image->pixmaps[0];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) pixels.WritePixel(x, y, 0xFFFFFFFFu);
        }
    }
    _box->advance = width + 1;
    _box->top = static_cast<float>(std::max(0, _ascent - height));
    return *_box;
}

const TFont::Glyph* TFont::Draws(char32_t character) {
    if (neverDrawn(character)) return nullptr;
    if (const Glyph* own = GetGlyph(character)) return own;
    if (const Glyph* borrowed = fallbackGlyph(character)) return borrowed;
    return &replacementBox();
}

bool TFont::Covers(char32_t character) {
    return character != 0xFFFD && (neverDrawn(character) || GetGlyph(character) || fallbackGlyph(character));
}

std::shared_ptr<TFont> LoadFont(const std::string& path, int size, int style) {
    return TFont::Load(path, size, style);
}

std::shared_ptr<TFont> LoadFonts(const std::vector<std::pair<std::string, int>>& fonts) {
    std::shared_ptr<TFont> first, last;
    for (const auto& [path, size] : fonts) {
        std::shared_ptr<TFont> font = LoadFont(path, size, 0);
        if (!font) {
            if (!first) return nullptr;
            continue;
        }
        if (last) last->SetFallback(font);
        if (!first) first = font;
        last = font;
    }
    return first;
}

bool FontsCover(std::string_view text) {
    TFont* font = GetDrawingState().image_font.get();
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        if (!font || !DecodeUtf8(text, i, c) || !font->Covers(c)) return false;
    }
    return true;
}

void DrawString(const std::string& text, float x, float y) {
    TFont* font = GetDrawingState().image_font.get();
    if (!font) return;
    int pen = 0;
    for (std::size_t i = 0; i < text.size();) {
        const TFont::Glyph* glyph = font->Draws(nextCodePoint(text, i));
        if (!glyph) continue; // never drawn: no room taken
        drawGlyph(*glyph, x, y, pen);
        pen += glyph->advance;
    }
}

int StringWidth(const std::string& text) {
    TFont* font = GetDrawingState().image_font.get();
    if (!font) return 0;
    int width = 0;
    for (std::size_t i = 0; i < text.size();)
        width += advanceOf(font, nextCodePoint(text, i));
    return width;
}

std::vector<std::string> WrapString(const std::string& text, int width) {
    TFont* font = GetDrawingState().image_font.get();
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    // The last place on the line where it may end: the line ends at breakEnd and the next one starts at
    // breakNext (past the space, if the break is at one); the characters from there on take widthAfterBreak.
    std::size_t breakEnd = std::string::npos, breakNext = 0;
    int lineWidth = 0, widthAfterBreak = 0;
    char32_t previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const char32_t c = nextCodePoint(text, i);
        const int advance = advanceOf(font, c);
        const bool space = c == ' ';
        if (space && lineWidth + advance > width && at > lineStart) { // a space past the end
            lines.push_back(text.substr(lineStart, at - lineStart));
            lineStart = i;
            lineWidth = 0;
            breakEnd = std::string::npos;
            previous = c;
            continue;
        }
        if (!space && at > lineStart && previous != ' ' && mayBreakBetween(previous, c)) {
            breakEnd = breakNext = at;
            widthAfterBreak = 0;
        }
        while (lineWidth + advance > width && at > lineStart) {
            if (breakEnd != std::string::npos) { // at the last break: the next line starts after it
                lines.push_back(text.substr(lineStart, breakEnd - lineStart));
                lineStart = breakNext;
                lineWidth = widthAfterBreak;
                breakEnd = std::string::npos;
            } else { // a word wider than the line: cut before this character
                lines.push_back(text.substr(lineStart, at - lineStart));
                lineStart = at;
                lineWidth = 0;
            }
        }
        if (space && at > lineStart) {
            breakEnd = at;
            breakNext = i;
            widthAfterBreak = 0;
        } else {
            widthAfterBreak += advance;
        }
        lineWidth += advance;
        previous = c;
    }
    if (lineStart < text.size() || lines.empty()) lines.push_back(text.substr(lineStart));
    return lines;
}

int StringHeight(const std::string& text) {
    TFont* font = GetDrawingState().image_font.get();
    return font ? font->LineHeight() : 0;
}

std::string StringFromInt(int value) {
    return std::to_string(value);
}
