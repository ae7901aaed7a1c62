#include "pixel_art.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr char32_t FIRST_ASCII = 0x20, LAST_ASCII = 0x7E, FIRST_LATIN1 = 0xA0, LAST_LATIN1 = 0xFF;
constexpr char32_t NO_BREAK_SPACE = 0xA0, SOFT_HYPHEN = 0xAD;
constexpr int MARK_GAP = 1; // rows between a letter and its accent, where the size has room

struct Accented {
    char32_t code;
    char32_t base;
    char32_t mark;
};

const Accented ACCENTED[] = {
    {0xC0, 'A', GRAVE},     {0xC1, 'A', ACUTE},     {0xC2, 'A', CIRCUMFLEX}, {0xC3, 'A', TILDE},
    {0xC4, 'A', DIAERESIS}, {0xC5, 'A', RING},      {0xC7, 'C', CEDILLA},    {0xC8, 'E', GRAVE},
    {0xC9, 'E', ACUTE},     {0xCA, 'E', CIRCUMFLEX}, {0xCB, 'E', DIAERESIS}, {0xCC, 'I', GRAVE},
    {0xCD, 'I', ACUTE},     {0xCE, 'I', CIRCUMFLEX}, {0xCF, 'I', DIAERESIS}, {0xD1, 'N', TILDE},
    {0xD2, 'O', GRAVE},     {0xD3, 'O', ACUTE},     {0xD4, 'O', CIRCUMFLEX}, {0xD5, 'O', TILDE},
    {0xD6, 'O', DIAERESIS}, {0xD9, 'U', GRAVE},     {0xDA, 'U', ACUTE},      {0xDB, 'U', CIRCUMFLEX},
    {0xDC, 'U', DIAERESIS}, {0xDD, 'Y', ACUTE},     {0xE0, 'a', GRAVE},      {0xE1, 'a', ACUTE},
    {0xE2, 'a', CIRCUMFLEX}, {0xE3, 'a', TILDE},    {0xE4, 'a', DIAERESIS},  {0xE5, 'a', RING},
    {0xE7, 'c', CEDILLA},   {0xE8, 'e', GRAVE},     {0xE9, 'e', ACUTE},      {0xEA, 'e', CIRCUMFLEX},
    {0xEB, 'e', DIAERESIS}, {0xEC, DOTLESS_I, GRAVE}, {0xED, DOTLESS_I, ACUTE}, {0xEE, DOTLESS_I, CIRCUMFLEX},
    {0xEF, DOTLESS_I, DIAERESIS}, {0xF1, 'n', TILDE}, {0xF2, 'o', GRAVE},    {0xF3, 'o', ACUTE},
    {0xF4, 'o', CIRCUMFLEX}, {0xF5, 'o', TILDE},    {0xF6, 'o', DIAERESIS},  {0xF9, 'u', GRAVE},
    {0xFA, 'u', ACUTE},     {0xFB, 'u', CIRCUMFLEX}, {0xFC, 'u', DIAERESIS}, {0xFD, 'y', ACUTE},
    {0xFF, 'y', DIAERESIS}, {'i', DOTLESS_I, DOT_ABOVE}, {'j', DOTLESS_J, DOT_ABOVE},
};

// Marks that both designs draw alike; a design may draw its own instead.
const GlyphArt SHARED_MARKS[] = {
    {GRAVE, 0, "#.|.#"},         {ACUTE, 0, ".#|#."}, {CIRCUMFLEX, 0, ".##.|#..#"}, {DOT_ABOVE, 0, "#"},
    {RING, 0, ".##.|#..#|.##."}, {CEDILLA, 0, ".#|##"},
};

[[noreturn]] void badArt(char32_t code, const char* why)
{
    std::fprintf(stderr, "zentavor-font: glyph U+%04X: %s\n", static_cast<unsigned>(code), why);
    std::exit(1);
}

PixelGlyph blank(int width, int height, int top)
{
    PixelGlyph g;
    g.width = width;
    g.height = height;
    g.top = top;
    g.ink.assign(static_cast<size_t>(width * height), 0);
    return g;
}

void setInk(PixelGlyph& g, int x, int y)
{
    if (x >= 0 && y >= 0 && x < g.width && y < g.height)
        g.ink[y * g.width + x] = 1;
}

// The art's rows without the empty ones above and below the ink.
PixelGlyph parseArt(const GlyphArt& art)
{
    std::vector<std::string> rows(1);
    for (const char* c = art.rows; *c; ++c) {
        if (*c == '|')
            rows.emplace_back();
        else if (*c == '#' || *c == '.')
            rows.back() += *c;
        else
            badArt(art.code, "only '#', '.' and '|' may draw a glyph");
    }
    const int width = static_cast<int>(rows.front().size());
    for (const std::string& row : rows)
        if (static_cast<int>(row.size()) != width)
            badArt(art.code, "rows of different widths");
    const int height = static_cast<int>(rows.size());
    int first = 0, last = height - 1;
    while (first < height && rows[first].find('#') == std::string::npos)
        ++first;
    while (last >= first && rows[last].find('#') == std::string::npos)
        --last;
    if (first > last)
        return blank(width, 0, 0);
    PixelGlyph g = blank(width, last - first + 1, height - art.below - first);
    for (int y = first; y <= last; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#')
                setInk(g, x, y - first);
    return g;
}

// Each skeleton pixel inks a pen-sized block reaching right and up, so the
// baseline and the left edge stay where the skeleton has them.
PixelGlyph applyPen(const PixelGlyph& skeleton, const Pen& pen)
{
    const int grow = pen.height - 1;
    PixelGlyph g = blank(skeleton.width + pen.width - 1, skeleton.height + grow, skeleton.top + grow);
    for (int y = 0; y < skeleton.height; ++y)
        for (int x = 0; x < skeleton.width; ++x)
            if (inked(skeleton, x, y))
                for (int dy = 0; dy < pen.height; ++dy)
                    for (int dx = 0; dx < pen.width; ++dx)
                        setInk(g, x + dx, y + grow - dy);
    g.left = skeleton.left;
    return g;
}

// Lays b onto a at b's own place relative to a's baseline and left edge.
PixelGlyph overlay(const PixelGlyph& a, const PixelGlyph& b, int bx)
{
    const int left = std::min(0, bx);
    const int right = std::max(a.width, bx + b.width);
    const int top = std::max(a.top, b.top);
    const int bottom = std::min(a.top - a.height, b.top - b.height);
    PixelGlyph g = blank(right - left, top - bottom, top);
    for (const auto& [part, x0] : {std::pair<const PixelGlyph*, int>{&a, 0}, {&b, bx}})
        for (int y = 0; y < part->height; ++y)
            for (int x = 0; x < part->width; ++x)
                if (inked(*part, x, y))
                    setInk(g, x + x0 - left, y + top - part->top);
    return g;
}

// The middle of a row's ink, rounded down: where a mark next to that row goes.
int centreOfRow(const PixelGlyph& g, int y)
{
    int first = g.width, last = -1;
    for (int x = 0; x < g.width; ++x)
        if (inked(g, x, y)) {
            first = std::min(first, x);
            last = x;
        }
    return last < 0 ? g.width / 2 : (first + last + 1) / 2;
}

// Puts the mark over the letter, one row apart where the size has room for
// that, closer where it has not: the capital with a ring or tilde at the
// smallest size keeps its accent whole by touching it.
PixelGlyph addMark(const PixelGlyph& base, PixelGlyph mark, bool under, int roomAbove)
{
    const int x = centreOfRow(base, under ? base.height - 1 : 0) - mark.width / 2;
    if (under) {
        mark.top = 0;
        return overlay(base, mark, x);
    }
    int gap = MARK_GAP;
    while (gap > -1 && base.top + gap + mark.height > roomAbove)
        --gap;
    mark.top = base.top + gap + mark.height;
    return overlay(base, mark, x);
}

// Ink drawn with the size's pen, before spacing. Accents go on after the pen
// so that the row between letter and accent stays open at every weight.
struct Drawn {
    std::map<char32_t, PixelGlyph> byCode;
    const PixelGlyph& at(char32_t code) const
    {
        const auto found = byCode.find(code);
        if (found == byCode.end())
            badArt(code, "the design has no such glyph");
        return found->second;
    }
};

Drawn drawDesign(const Design& design, const Pen& pen)
{
    Drawn d;
    for (const GlyphArt& art : design.glyphs)
        if (!d.byCode.emplace(art.code, applyPen(parseArt(art), pen)).second)
            badArt(art.code, "drawn twice");
    for (const GlyphArt& art : SHARED_MARKS)
        d.byCode.emplace(art.code, applyPen(parseArt(art), pen));
    const PixelGlyph space = blank(design.spaceWidth + pen.width - 1, 0, 0);
    d.byCode[' '] = space;
    d.byCode[NO_BREAK_SPACE] = space;
    d.byCode[SOFT_HYPHEN] = d.at('-');
    for (const Accented& a : ACCENTED)
        d.byCode[a.code] = addMark(d.at(a.base), d.at(a.mark), a.mark == CEDILLA, pen.ascent);
    return d;
}

// A box as wide and high as a capital, for codes the font lacks.
PixelGlyph missingBox(const Drawn& d)
{
    const PixelGlyph& capital = d.at('H');
    PixelGlyph g = blank(capital.width, capital.height, capital.top);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (y == 0 || x == 0 || y == g.height - 1 || x == g.width - 1)
                setInk(g, x, y);
    return g;
}

// The glyph with its spacing: ink from the left edge on, the gap after it.
PixelGlyph finish(PixelGlyph g, const Pen& pen)
{
    g.advance = g.width + pen.gap;
    if (g.height > 0)
        return g;
    PixelGlyph empty = blank(1, 1, 0); // FreeType takes an image of no pixels for a missing one
    empty.advance = g.advance;
    return empty;
}

} // namespace

std::vector<char32_t> fontCodes()
{
    std::vector<char32_t> codes;
    for (char32_t c = FIRST_ASCII; c <= LAST_ASCII; ++c)
        codes.push_back(c);
    for (char32_t c = FIRST_LATIN1; c <= LAST_LATIN1; ++c)
        codes.push_back(c);
    codes.push_back(REPLACEMENT);
    return codes;
}

std::vector<PixelGlyph> drawGlyphs(const Design& design, const Pen& pen)
{
    const Drawn d = drawDesign(design, pen);
    std::vector<PixelGlyph> glyphs = {finish(missingBox(d), pen)};
    for (const char32_t code : fontCodes())
        glyphs.push_back(finish(d.at(code), pen));
    return glyphs;
}
