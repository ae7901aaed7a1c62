// Glyphs drawn as text, and how a design becomes the glyphs of one size:
// a design is drawn with one-pixel strokes (the skeleton) and a rectangular
// pen turns it into the weight of each size.
#pragma once
#include <vector>

#include "truetype.h"

// Rows of '#' (ink) and '.' (none), top row first, separated by '|'; the
// last `below` rows hang under the baseline. Leading and trailing empty rows
// only place the ink; the columns, empty ones included, give the width.
struct GlyphArt {
    char32_t code = 0;
    int below = 0;
    const char* rows = "";
};

// Diacritical marks, keyed by their combining code points: placed over (or,
// for the cedilla, under) a base letter to make the accented letters.
constexpr char32_t GRAVE = 0x300, ACUTE = 0x301, CIRCUMFLEX = 0x302, TILDE = 0x303, DOT_ABOVE = 0x307,
                   DIAERESIS = 0x308, RING = 0x30A, CEDILLA = 0x327;
// The bodies of i and j, which take their dots like any other mark.
constexpr char32_t DOTLESS_I = 0x131, DOTLESS_J = 0x237;
constexpr char32_t REPLACEMENT = 0xFFFD;

// One drawing of every character the font covers, at one height.
struct Design {
    int spaceWidth = 0; // skeleton pixels
    std::vector<GlyphArt> glyphs; // ASCII but i and j, the Latin-1 signs, the dotless bodies, U+FFFD, its own marks
};

const Design& smallDesign(); // capitals 7 pixels high
const Design& largeDesign(); // capitals 9 pixels high

// How a design is drawn at one size.
struct Pen {
    int width = 1;  // pixels each skeleton pixel covers to its right, itself included
    int height = 1; // and upwards
    int gap = 1;    // empty columns between one glyph's ink and the next
    int ascent = 0; // rows above the baseline that the size has room for
};

// Every character the font maps, ascending: printable ASCII, Latin-1 and U+FFFD.
std::vector<char32_t> fontCodes();
// The glyph of each code, preceded by glyph 0 (the missing-glyph box).
std::vector<PixelGlyph> drawGlyphs(const Design& design, const Pen& pen);
