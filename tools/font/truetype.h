// Writes a TrueType file whose glyphs are pixel pictures: every size we draw
// is stored as an embedded bitmap strike (EBLC/EBDT), which FreeType uses
// as it is at exactly that size, and one strike also becomes the outlines,
// square by square, for any other size.
#pragma once
#include <string>
#include <vector>

// A glyph's pixels at one size, one byte per pixel (0 or 1), top row first.
struct PixelGlyph {
    int width = 0;
    int height = 0;
    int left = 0;    // pixels from the pen to the first column, may be negative
    int top = 0;     // rows above the baseline of the first row
    int advance = 0; // pixels the pen moves on
    std::vector<unsigned char> ink;
};

bool inked(const PixelGlyph& glyph, int x, int y);

// One size: glyph 0 is drawn for what the font lacks, glyph i + 1 shows
// FontDescription::codes[i].
struct Strike {
    int ppem = 0;
    std::vector<PixelGlyph> glyphs;
};

struct FontDescription {
    std::string family;
    std::string style;     // "Bold" sets the bold flags
    std::string version;   // "Version 1.000"
    std::string copyright;
    std::string licence;   // short notice for the name table
    int unitsPerEm = 0;
    int ascender = 0;      // font units
    int descender = 0;     // font units, negative below the baseline
    std::vector<char32_t> codes; // ascending
    std::vector<Strike> strikes;
    int outlineStrike = 0; // index into strikes; unitsPerEm must be a multiple of its ppem
};

// The rows above the baseline at a size: the ascender rounded up to whole
// pixels, as SDL_ttf rounds it.
int pixelAscent(const FontDescription& font, int ppem);
std::vector<unsigned char> buildTrueType(const FontDescription& font);
bool writeTrueType(const FontDescription& font, const std::string& path);
