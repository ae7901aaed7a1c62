// zentavor-font <file.ttf>: writes the game's pixel font, drawn at each size
// the game opens it at (8, 10, 12 and 14 points, which SDL_ttf asks FreeType
// for as pixels per em), so every letter sits on whole pixels and every gap
// between letters is the one drawn here.
#include <cstdio>

#include "pixel_art.h"

namespace {

constexpr int UNITS_PER_EM = 1200; // 100 units per pixel of the 12-pixel drawing, which the outlines follow
constexpr int OUTLINE_PPEM = 12;
// Above the baseline: room for an accent over a capital at every size
// (SDL_ttf rounds ascent and descent up to whole pixels).
constexpr int ASCENDER = 1260;
constexpr int DESCENDER = -240;

struct Size {
    int ppem;
    const Design& design;
    int penWidth;
    int penHeight;
    int gap;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavor-font <file.ttf>\n");
        return 2;
    }
    const Size sizes[] = {
        {8, smallDesign(), 1, 1, 1},
        {10, smallDesign(), 2, 1, 1},
        {OUTLINE_PPEM, largeDesign(), 2, 1, 2},
        {14, largeDesign(), 2, 2, 2},
    };
    FontDescription font;
    font.family = "Zentavor Pixel";
    font.style = "Bold";
    font.version = "Version 1.000";
    font.copyright = "Copyright the Zentavor team";
    font.licence = "Free to use, change and share with its notice; see font-licence.txt";
    font.unitsPerEm = UNITS_PER_EM;
    font.ascender = ASCENDER;
    font.descender = DESCENDER;
    font.codes = fontCodes();
    for (const Size& size : sizes) {
        const Pen pen = {size.penWidth, size.penHeight, size.gap, pixelAscent(font, size.ppem)};
        font.strikes.push_back({size.ppem, drawGlyphs(size.design, pen)});
        if (size.ppem == OUTLINE_PPEM)
            font.outlineStrike = static_cast<int>(font.strikes.size()) - 1;
    }
    if (!writeTrueType(font, argv[1])) {
        std::fprintf(stderr, "zentavor-font: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
