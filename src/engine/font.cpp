#include "engine/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>

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

// One code point at s[i], advancing i; malformed bytes give U+FFFD.
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
    char32_t c = 0;
    return DecodeUtf8(s, i, c) ? c : 0xFFFD;
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
    // a masked text image has no dark fringe.
    if (index == 0 || FT_Load_Glyph(_face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        _missing[character] = true;
        return nullptr;
    }
    const FT_GlyphSlot slot = _face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = _ascent - slot->bitmap_top;
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

std::shared_ptr<TFont> LoadFont(const std::string& path, int size, int style) {
    return TFont::Load(path, size, style);
}

void DrawString(const std::string& text, float x, float y) {
    TFont* font = GetDrawingState().image_font.get();
    if (!font) return;
    int pen = 0;
    for (std::size_t i = 0; i < text.size();) {
        const TFont::Glyph* glyph = font->GetGlyph(nextCodePoint(text, i));
        if (!glyph) continue; // the font lacks it: skipped, no gap
        if (glyph->image) {
            engine_detail::DrawImageFrame(*glyph->image, 0, x, y, static_cast<float>(pen + glyph->left),
                                          static_cast<float>(glyph->top));
        }
        pen += glyph->advance;
    }
}

int StringWidth(const std::string& text) {
    TFont* font = GetDrawingState().image_font.get();
    if (!font) return 0;
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const TFont::Glyph* glyph = font->GetGlyph(nextCodePoint(text, i))) width += glyph->advance;
    }
    return width;
}

std::vector<std::string> WrapString(const std::string& text, int width) {
    TFont* font = GetDrawingState().image_font.get();
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    std::size_t space = std::string::npos;  // the last space on the line
    int lineWidth = 0, widthAfterSpace = 0; // the line's width, and the part after its last space
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const TFont::Glyph* glyph = font ? font->GetGlyph(nextCodePoint(text, i)) : nullptr;
        const int advance = glyph ? glyph->advance : 0;
        if (text[at] == ' ' && lineWidth + advance > width && at > lineStart) { // a space past the end
            lines.push_back(text.substr(lineStart, at - lineStart));
            lineStart = i;
            lineWidth = 0;
            space = std::string::npos;
            continue;
        }
        while (lineWidth + advance > width && at > lineStart) {
            if (space != std::string::npos) { // at the space: the next line starts after it
                lines.push_back(text.substr(lineStart, space - lineStart));
                lineStart = space + 1;
                lineWidth = widthAfterSpace;
                space = std::string::npos;
            } else { // a word wider than the line: cut before this character
                lines.push_back(text.substr(lineStart, at - lineStart));
                lineStart = at;
                lineWidth = 0;
            }
        }
        if (text[at] == ' ' && at > lineStart) {
            space = at;
            widthAfterSpace = 0;
        } else {
            widthAfterSpace += advance;
        }
        lineWidth += advance;
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
