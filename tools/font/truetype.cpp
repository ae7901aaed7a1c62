#include "truetype.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>

namespace {

constexpr uint32_t SFNT_VERSION = 0x00010000;
constexpr uint32_t CHECKSUM_MAGIC = 0xB1B0AFBA;
constexpr uint32_t HEAD_MAGIC = 0x5F0F3CF5;
constexpr int HEAD_CHECKSUM_AT = 8; // byte offset of checkSumAdjustment in 'head'
constexpr uint16_t WINDOWS_PLATFORM = 3;
constexpr uint16_t WINDOWS_UNICODE_BMP = 1;
constexpr uint16_t WINDOWS_ENGLISH_US = 0x409;
constexpr uint8_t ON_CURVE = 0x01;
constexpr int BOLD_WEIGHT = 700;
constexpr int REGULAR_WEIGHT = 400;

// Big-endian bytes, as every sfnt table is written.
struct Bytes {
    std::vector<unsigned char> data;
    void u8(unsigned value) { data.push_back(static_cast<unsigned char>(value)); }
    void u16(unsigned value)
    {
        u8(value >> 8);
        u8(value);
    }
    void u32(uint32_t value)
    {
        u16(value >> 16);
        u16(value & 0xFFFF);
    }
    void i16(int value) { u16(static_cast<uint16_t>(value)); }
    void zeros(size_t count) { data.insert(data.end(), count, 0); }
    void append(const Bytes& other) { data.insert(data.end(), other.data.begin(), other.data.end()); }
    void pad4()
    {
        while (data.size() % 4)
            u8(0);
    }
    size_t size() const { return data.size(); }
    void putU32(size_t at, uint32_t value)
    {
        for (int k = 0; k < 4; ++k)
            data[at + k] = static_cast<unsigned char>(value >> (24 - 8 * k));
    }
};

uint32_t checksum(const std::vector<unsigned char>& data)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < data.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < data.size() ? data[i + k] : 0);
        sum += word;
    }
    return sum;
}

// The largest power of two not above n, and its exponent: the binary-search
// hints of the table directory and of cmap format 4.
struct SearchHints {
    unsigned range = 1;
    unsigned selector = 0;
};
SearchHints searchHints(unsigned n)
{
    SearchHints hints;
    while (hints.range * 2 <= n) {
        hints.range *= 2;
        ++hints.selector;
    }
    return hints;
}

bool isBold(const FontDescription& font) { return font.style == "Bold"; }

struct Box {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

Box enclosing(const Box& a, const Box& b)
{
    return {std::min(a.xMin, b.xMin), std::min(a.yMin, b.yMin), std::max(a.xMax, b.xMax), std::max(a.yMax, b.yMax)};
}

// An outline as squares of pixels in font units: one rectangle per run of
// ink in a row, grown downwards while the rows below repeat the run.
struct Outline {
    std::vector<Box> rectangles;
    Box bounds;
    int advance = 0;
};

Outline outlineOf(const PixelGlyph& glyph, int unitsPerPixel)
{
    Outline outline;
    outline.advance = glyph.advance * unitsPerPixel;
    std::vector<unsigned char> taken(glyph.ink.size(), 0);
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            if (!inked(glyph, x, y) || taken[y * glyph.width + x])
                continue;
            int end = x;
            while (end < glyph.width && inked(glyph, end, y))
                ++end;
            auto sameRun = [&](int row) {
                for (int k = x; k < end; ++k)
                    if (!inked(glyph, k, row) || taken[row * glyph.width + k])
                        return false;
                return (x == 0 || !inked(glyph, x - 1, row)) && (end == glyph.width || !inked(glyph, end, row));
            };
            int bottom = y + 1;
            while (bottom < glyph.height && sameRun(bottom))
                ++bottom;
            for (int row = y; row < bottom; ++row)
                for (int k = x; k < end; ++k)
                    taken[row * glyph.width + k] = 1;
            const Box box = {(glyph.left + x) * unitsPerPixel, (glyph.top - bottom) * unitsPerPixel,
                             (glyph.left + end) * unitsPerPixel, (glyph.top - y) * unitsPerPixel};
            outline.rectangles.push_back(box);
            x = end - 1;
        }
    for (size_t k = 0; k < outline.rectangles.size(); ++k) {
        const Box& r = outline.rectangles[k];
        outline.bounds = k == 0 ? r : enclosing(outline.bounds, r);
    }
    return outline;
}

// A simple glyph: each rectangle one clockwise contour of four on-curve points.
Bytes glyfEntry(const Outline& outline)
{
    Bytes b;
    if (outline.rectangles.empty())
        return b;
    b.i16(static_cast<int>(outline.rectangles.size()));
    b.i16(outline.bounds.xMin);
    b.i16(outline.bounds.yMin);
    b.i16(outline.bounds.xMax);
    b.i16(outline.bounds.yMax);
    for (size_t k = 0; k < outline.rectangles.size(); ++k)
        b.u16(static_cast<unsigned>(4 * k + 3));
    b.u16(0); // no instructions
    std::vector<int> xs, ys;
    for (const Box& r : outline.rectangles) {
        xs.insert(xs.end(), {r.xMin, r.xMin, r.xMax, r.xMax});
        ys.insert(ys.end(), {r.yMin, r.yMax, r.yMax, r.yMin});
    }
    for (size_t k = 0; k < xs.size(); ++k)
        b.u8(ON_CURVE);
    int last = 0;
    for (const int x : xs) {
        b.i16(x - last);
        last = x;
    }
    last = 0;
    for (const int y : ys) {
        b.i16(y - last);
        last = y;
    }
    b.pad4();
    return b;
}

struct GlyphTables {
    Bytes glyf, loca, hmtx;
    Box bounds;
    int maxPoints = 0, maxContours = 0, maxAdvance = 0, minLeft = 0, minRight = 0, maxExtent = 0;
};

GlyphTables glyphTables(const FontDescription& font)
{
    GlyphTables t;
    const Strike& strike = font.strikes[font.outlineStrike];
    const int unitsPerPixel = font.unitsPerEm / strike.ppem;
    bool first = true;
    for (const PixelGlyph& glyph : strike.glyphs) {
        const Outline outline = outlineOf(glyph, unitsPerPixel);
        t.loca.u32(static_cast<uint32_t>(t.glyf.size()));
        t.glyf.append(glyfEntry(outline));
        const bool empty = outline.rectangles.empty();
        const Box& b = outline.bounds;
        t.hmtx.u16(static_cast<unsigned>(outline.advance));
        t.hmtx.i16(empty ? 0 : b.xMin);
        t.maxAdvance = std::max(t.maxAdvance, outline.advance);
        t.maxPoints = std::max(t.maxPoints, static_cast<int>(4 * outline.rectangles.size()));
        t.maxContours = std::max(t.maxContours, static_cast<int>(outline.rectangles.size()));
        if (empty)
            continue;
        if (first) {
            t.bounds = b;
            t.minLeft = b.xMin;
            t.minRight = outline.advance - b.xMax;
            t.maxExtent = b.xMax;
            first = false;
        }
        t.bounds = enclosing(t.bounds, b);
        t.minLeft = std::min(t.minLeft, b.xMin);
        t.minRight = std::min(t.minRight, outline.advance - b.xMax);
        t.maxExtent = std::max(t.maxExtent, b.xMax);
    }
    t.loca.u32(static_cast<uint32_t>(t.glyf.size()));
    return t;
}

Bytes headTable(const FontDescription& font, const Box& bounds)
{
    Bytes b;
    b.u32(0x00010000);
    b.u32(0x00010000); // font revision 1.0
    b.u32(0);          // checkSumAdjustment, filled in last
    b.u32(HEAD_MAGIC);
    b.u16(0x000B); // baseline at y 0, left side bearing at x 0, integer scaling
    b.u16(static_cast<unsigned>(font.unitsPerEm));
    b.zeros(16); // created and modified: none, so that every build gives the same file
    b.i16(bounds.xMin);
    b.i16(bounds.yMin);
    b.i16(bounds.xMax);
    b.i16(bounds.yMax);
    b.u16(isBold(font) ? 1 : 0); // macStyle
    b.u16(static_cast<unsigned>(font.strikes.front().ppem)); // lowestRecPPEM
    b.i16(2); // fontDirectionHint: left to right and neutral
    b.i16(1); // indexToLocFormat: 32-bit offsets
    b.i16(0);
    return b;
}

Bytes hheaTable(const FontDescription& font, const GlyphTables& t, size_t glyphCount)
{
    Bytes b;
    b.u32(0x00010000);
    b.i16(font.ascender);
    b.i16(font.descender);
    b.i16(0); // line gap
    b.u16(static_cast<unsigned>(t.maxAdvance));
    b.i16(t.minLeft);
    b.i16(t.minRight);
    b.i16(t.maxExtent);
    b.i16(1); // caret slope: upright
    b.i16(0);
    b.i16(0);
    b.zeros(8);
    b.i16(0);
    b.u16(static_cast<unsigned>(glyphCount));
    return b;
}

// Version 1.0, 32 bytes exactly: readers refuse a table of another length.
Bytes maxpTable(const GlyphTables& t, size_t glyphCount)
{
    Bytes b;
    b.u32(0x00010000);
    b.u16(static_cast<unsigned>(glyphCount));
    b.u16(static_cast<unsigned>(t.maxPoints));
    b.u16(static_cast<unsigned>(t.maxContours));
    b.u16(0); // composite points
    b.u16(0); // composite contours
    b.u16(2); // zones
    b.zeros(2 * 6); // twilight points, storage, function defs, instruction defs, stack, instruction bytes
    b.u16(0); // component elements
    b.u16(0); // component depth
    return b;
}

Bytes os2Table(const FontDescription& font, const GlyphTables& t)
{
    const int em = font.unitsPerEm;
    Bytes b;
    b.u16(4);
    b.i16(t.maxAdvance / 2); // xAvgCharWidth: a fair guess is all any reader needs
    b.u16(isBold(font) ? BOLD_WEIGHT : REGULAR_WEIGHT);
    b.u16(5); // normal width
    b.u16(0); // installable: no embedding restrictions
    for (const int value : {em * 2 / 3, em * 2 / 3, 0, em / 7, em * 2 / 3, em * 2 / 3, 0, em / 2})
        b.i16(value); // sub- and superscript sizes and offsets
    b.i16(em / 12);   // strikeout size
    b.i16(em / 4);    // strikeout position
    b.i16(0);         // family class
    b.zeros(10);      // PANOSE: any
    b.u32(0x00000003); // Unicode ranges: Basic Latin, Latin-1 Supplement
    b.u32(0);
    b.u32(0);
    b.u32(0);
    b.u8('Z');
    b.u8('N');
    b.u8('T');
    b.u8('V');
    b.u16(isBold(font) ? 0x0020 : 0x0040); // fsSelection: bold or regular
    b.u16(static_cast<unsigned>(std::min<char32_t>(font.codes.front(), 0xFFFF)));
    b.u16(static_cast<unsigned>(std::min<char32_t>(font.codes.back(), 0xFFFF)));
    b.i16(font.ascender);
    b.i16(font.descender);
    b.i16(0);
    b.u16(static_cast<unsigned>(std::max(font.ascender, t.bounds.yMax)));
    b.u16(static_cast<unsigned>(std::max(-font.descender, -t.bounds.yMin)));
    b.u32(0x00000001); // code page: Latin 1
    b.u32(0);
    b.i16(em / 2); // x height, roughly
    b.i16(em * 3 / 4);
    b.u16(0);   // default character: .notdef
    b.u16(' '); // break character
    b.u16(1);   // no contextual lookups
    return b;
}

// Format 4 over the Basic Multilingual Plane: one segment per run of
// consecutive codes, each mapped by a constant delta to consecutive glyphs.
Bytes cmapTable(const FontDescription& font)
{
    struct Segment {
        unsigned start, end, firstGlyph;
    };
    std::vector<Segment> segments;
    for (size_t k = 0; k < font.codes.size(); ++k) {
        const unsigned code = static_cast<unsigned>(font.codes[k]);
        if (!segments.empty() && segments.back().end + 1 == code)
            segments.back().end = code;
        else
            segments.push_back({code, code, static_cast<unsigned>(k + 1)});
    }
    segments.push_back({0xFFFF, 0xFFFF, 0});
    const unsigned count = static_cast<unsigned>(segments.size());
    const SearchHints hints = searchHints(count);
    Bytes sub;
    sub.u16(4);
    sub.u16(16 + 8 * count);
    sub.u16(0); // language
    sub.u16(2 * count);
    sub.u16(2 * hints.range);
    sub.u16(hints.selector);
    sub.u16(2 * count - 2 * hints.range);
    for (const Segment& s : segments)
        sub.u16(s.end);
    sub.u16(0);
    for (const Segment& s : segments)
        sub.u16(s.start);
    for (const Segment& s : segments)
        sub.u16((s.start == 0xFFFF ? 1u : s.firstGlyph - s.start) & 0xFFFF);
    for (size_t k = 0; k < segments.size(); ++k)
        sub.u16(0);
    Bytes b;
    b.u16(0);
    b.u16(1);
    b.u16(WINDOWS_PLATFORM);
    b.u16(WINDOWS_UNICODE_BMP);
    b.u32(12);
    b.append(sub);
    return b;
}

Bytes nameTable(const FontDescription& font)
{
    const std::string postscript = [&] {
        std::string name;
        for (const char c : font.family + "-" + font.style)
            if (c != ' ')
                name += c;
        return name;
    }();
    const std::map<int, std::string> names = {
        {0, font.copyright}, {1, font.family}, {2, font.style}, {3, font.family + " " + font.style + " " + font.version},
        {4, font.family + " " + font.style}, {5, font.version}, {6, postscript}, {13, font.licence}};
    Bytes records, strings;
    for (const auto& [id, text] : names) {
        records.u16(WINDOWS_PLATFORM);
        records.u16(WINDOWS_UNICODE_BMP);
        records.u16(WINDOWS_ENGLISH_US);
        records.u16(static_cast<unsigned>(id));
        records.u16(static_cast<unsigned>(2 * text.size()));
        records.u16(static_cast<unsigned>(strings.size()));
        for (const unsigned char c : text)
            strings.u16(c); // the texts are ASCII
    }
    Bytes b;
    b.u16(0);
    b.u16(static_cast<unsigned>(names.size()));
    b.u16(static_cast<unsigned>(6 + records.size()));
    b.append(records);
    b.append(strings);
    return b;
}

Bytes postTable(const FontDescription& font)
{
    Bytes b;
    b.u32(0x00030000); // no glyph names
    b.u32(0);          // upright
    b.i16(-font.unitsPerEm / 10);
    b.i16(font.unitsPerEm / 12);
    b.u32(0); // proportional
    b.zeros(16);
    return b;
}

// Line metrics of a strike in pixels, as EBLC keeps them for each direction.
void lineMetrics(Bytes& b, const FontDescription& font, const Strike& strike)
{
    int widthMax = 0;
    for (const PixelGlyph& g : strike.glyphs)
        widthMax = std::max(widthMax, g.width);
    const int descender = font.descender * strike.ppem / font.unitsPerEm;
    b.u8(static_cast<uint8_t>(pixelAscent(font, strike.ppem)));
    b.u8(static_cast<uint8_t>(descender));
    b.u8(static_cast<uint8_t>(widthMax));
    b.u8(1); // caret slope: upright
    b.u8(0);
    b.zeros(7);
}

// Glyph image format 1: small metrics, then rows padded to whole bytes.
void appendImage(Bytes& ebdt, const PixelGlyph& g)
{
    ebdt.u8(static_cast<unsigned>(g.height));
    ebdt.u8(static_cast<unsigned>(g.width));
    ebdt.u8(static_cast<uint8_t>(g.left));
    ebdt.u8(static_cast<uint8_t>(g.top));
    ebdt.u8(static_cast<unsigned>(g.advance));
    for (int y = 0; y < g.height; ++y)
        for (int x0 = 0; x0 < g.width; x0 += 8) {
            unsigned byte = 0;
            for (int k = 0; k < 8; ++k)
                if (x0 + k < g.width && inked(g, x0 + k, y))
                    byte |= 0x80u >> k;
            ebdt.u8(byte);
        }
}

// Every strike holds every glyph, in one index subtable of format 1
// (a 32-bit offset per glyph into EBDT).
void bitmapTables(const FontDescription& font, Bytes& eblc, Bytes& ebdt)
{
    constexpr unsigned HEADER_BYTES = 8, SIZE_RECORD_BYTES = 48, ARRAY_ENTRY_BYTES = 8, SUBTABLE_HEADER_BYTES = 8;
    const size_t glyphCount = font.codes.size() + 1;
    const uint32_t indexBytes = ARRAY_ENTRY_BYTES + SUBTABLE_HEADER_BYTES + 4 * static_cast<uint32_t>(glyphCount + 1);
    ebdt.u32(0x00020000);
    eblc.u32(0x00020000);
    eblc.u32(static_cast<uint32_t>(font.strikes.size()));
    Bytes indexes;
    for (const Strike& strike : font.strikes) {
        eblc.u32(HEADER_BYTES + SIZE_RECORD_BYTES * static_cast<uint32_t>(font.strikes.size()) +
                 static_cast<uint32_t>(indexes.size()));
        eblc.u32(indexBytes);
        eblc.u32(1);
        eblc.u32(0);
        lineMetrics(eblc, font, strike);
        lineMetrics(eblc, font, strike);
        eblc.u16(0);
        eblc.u16(static_cast<unsigned>(glyphCount - 1));
        eblc.u8(static_cast<unsigned>(strike.ppem));
        eblc.u8(static_cast<unsigned>(strike.ppem));
        eblc.u8(1);    // one bit per pixel
        eblc.u8(0x01); // horizontal metrics
        indexes.u16(0);
        indexes.u16(static_cast<unsigned>(glyphCount - 1));
        indexes.u32(ARRAY_ENTRY_BYTES);
        indexes.u16(1); // index format
        indexes.u16(1); // image format
        const size_t imageStart = ebdt.size();
        indexes.u32(static_cast<uint32_t>(imageStart));
        for (const PixelGlyph& g : strike.glyphs) {
            indexes.u32(static_cast<uint32_t>(ebdt.size() - imageStart));
            appendImage(ebdt, g);
        }
        indexes.u32(static_cast<uint32_t>(ebdt.size() - imageStart));
    }
    eblc.append(indexes);
}

} // namespace

bool inked(const PixelGlyph& glyph, int x, int y)
{
    return x >= 0 && y >= 0 && x < glyph.width && y < glyph.height && glyph.ink[y * glyph.width + x];
}

int pixelAscent(const FontDescription& font, int ppem)
{
    return (font.ascender * ppem + font.unitsPerEm - 1) / font.unitsPerEm;
}

std::vector<unsigned char> buildTrueType(const FontDescription& font)
{
    const size_t glyphCount = font.codes.size() + 1;
    const GlyphTables glyphs = glyphTables(font);
    Bytes eblc, ebdt;
    bitmapTables(font, eblc, ebdt);
    const std::map<std::string, Bytes> tables = {
        {"EBDT", ebdt},
        {"EBLC", eblc},
        {"OS/2", os2Table(font, glyphs)},
        {"cmap", cmapTable(font)},
        {"glyf", glyphs.glyf},
        {"head", headTable(font, glyphs.bounds)},
        {"hhea", hheaTable(font, glyphs, glyphCount)},
        {"hmtx", glyphs.hmtx},
        {"loca", glyphs.loca},
        {"maxp", maxpTable(glyphs, glyphCount)},
        {"name", nameTable(font)},
        {"post", postTable(font)},
    }; // std::map keeps the tags in the ascending order the directory needs
    const unsigned count = static_cast<unsigned>(tables.size());
    const SearchHints hints = searchHints(count);
    Bytes file;
    file.u32(SFNT_VERSION);
    file.u16(count);
    file.u16(16 * hints.range);
    file.u16(hints.selector);
    file.u16(16 * count - 16 * hints.range);
    uint32_t offset = 12 + 16 * count;
    size_t headAt = 0;
    for (const auto& [tag, table] : tables) {
        for (const char c : tag)
            file.u8(static_cast<unsigned char>(c));
        file.u32(checksum(table.data));
        file.u32(offset);
        file.u32(static_cast<uint32_t>(table.size()));
        if (tag == "head")
            headAt = offset;
        offset += static_cast<uint32_t>((table.size() + 3) / 4 * 4);
    }
    for (const auto& [tag, table] : tables) {
        file.append(table);
        file.pad4();
    }
    file.putU32(headAt + HEAD_CHECKSUM_AT, CHECKSUM_MAGIC - checksum(file.data));
    return file.data;
}

bool writeTrueType(const FontDescription& font, const std::string& path)
{
    const std::vector<unsigned char> bytes = buildTrueType(font);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}
