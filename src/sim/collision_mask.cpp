#include "sim/collision_mask.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

namespace {

// The disc patterns of the blast masks, row after row; '#' is solid.
struct DiscPattern {
    int32_t size; // width and height
    int32_t offset;
    const char* rows;
};

constexpr DiscPattern BLAST_DISCS[BLAST_MASK_COUNT] = {
    {3, 2, ".#."
           "###"
           ".#."},
    {5, 3, ".###."
           "#####"
           "#####"
           "#####"
           ".###."},
    {7, 4, "..###.."
           ".#####."
           "#######"
           "#######"
           "#######"
           ".#####."
           "..###.."},
    {9, 5, "...###..."
           ".#######."
           ".#######."
           "#########"
           "#########"
           "#########"
           ".#######."
           ".#######."
           "...###..."},
    {11, 6, "...#####..."
            "..#######.."
            ".#########."
            "###########"
            "###########"
            "###########"
            "###########"
            "###########"
            ".#########."
            "..#######.."
            "...#####..."},
};

bool isSolid(const Picture& picture, int x, int y)
{
    const int stride = picture.rowTexels > 0 ? picture.rowTexels : picture.width;
    constexpr int ALPHA_BYTE = 3;
    return picture.rgba[(x + y * stride) * 4 + ALPHA_BYTE] != 0;
}

bool rowHasSolid(const Picture& picture, int y)
{
    for (int x = 0; x < picture.width; ++x)
        if (isSolid(picture, x, y))
            return true;
    return false;
}

bool columnHasSolid(const Picture& picture, int x)
{
    for (int y = 0; y < picture.height; ++y)
        if (isSolid(picture, x, y))
            return true;
    return false;
}

bool isNeverSolid(const CollisionMask& mask) { return mask.width <= 0 || mask.height <= 0; }

// Pixels from the playfield's origin beyond which a point is off every map
// by far (a frame of days flings ships there): nothing placed there touches
// anything, and every edge and cell below stays well inside an int.
constexpr double FAR_PIXELS = 1 << 24;

// False for NaN too.
bool isNear(const Vec2& p) { return std::fabs(p.x) < FAR_PIXELS && std::fabs(p.y) < FAR_PIXELS; }

// Top-left corner of a mask placed on a centre, in pixels.
int leftEdge(const Vec2& centre, const CollisionMask& mask) { return static_cast<int>(centre.x - mask.offsetX); }
int topEdge(const Vec2& centre, const CollisionMask& mask) { return static_cast<int>(centre.y - mask.offsetY); }

// Outside the mask nothing is solid.
bool cellAt(const CollisionMask& mask, int x, int y)
{
    if (x < 0 || x >= mask.width || y < 0 || y >= mask.height)
        return false;
    return mask.cells[x + y * mask.width] != 0;
}

} // namespace

CollisionMask buildMask(const Picture& picture)
{
    CollisionMask mask;
    if (picture.rgba == nullptr || picture.width <= 0 || picture.height <= 0)
        return mask;
    int top = 0;
    while (top < picture.height && !rowHasSolid(picture, top))
        ++top;
    int bottom = 0;
    while (bottom < picture.height && !rowHasSolid(picture, picture.height - 1 - bottom))
        ++bottom;
    int left = 0;
    while (left < picture.width && !columnHasSolid(picture, left))
        ++left;
    int right = 0;
    while (right < picture.width && !columnHasSolid(picture, picture.width - 1 - right))
        ++right;

    mask.width = picture.width - left - right;
    mask.height = picture.height - top - bottom;
    mask.offsetX = picture.width / 2 - left;
    mask.offsetY = picture.height / 2 - top;
    if (isNeverSolid(mask))
        return mask;
    mask.cells.resize(static_cast<size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            mask.cells[x + y * mask.width] = isSolid(picture, left + x, top + y) ? 1 : 0;
    return mask;
}

CollisionMask emptyMask()
{
    CollisionMask mask;
    mask.width = 1;
    mask.height = 1;
    mask.cells.assign(1, 0);
    return mask;
}

void buildBlastMasks(CollisionMask masks[BLAST_MASK_COUNT])
{
    for (int i = 0; i < BLAST_MASK_COUNT; ++i) {
        const DiscPattern& disc = BLAST_DISCS[i];
        assert(std::strlen(disc.rows) == static_cast<size_t>(disc.size * disc.size));
        CollisionMask& mask = masks[i];
        mask.width = mask.height = disc.size;
        mask.offsetX = mask.offsetY = disc.offset;
        mask.cells.resize(static_cast<size_t>(disc.size) * disc.size);
        for (size_t c = 0; c < mask.cells.size(); ++c)
            mask.cells[c] = disc.rows[c] == '#' ? 1 : 0;
    }
}

bool pointInMask(const Vec2& centre, const CollisionMask& mask, const Vec2& point)
{
    if (isNeverSolid(mask) || !isNear(centre) || !isNear(point))
        return false;
    const int rx = leftEdge(centre, mask);
    const int ry = topEdge(centre, mask);
    if (point.x < rx || point.x >= rx + mask.width || point.y < ry || point.y >= ry + mask.height)
        return false;
    return cellAt(mask, static_cast<int>(point.x - rx), static_cast<int>(point.y - ry));
}

bool masksOverlap(const Vec2& centreA, const CollisionMask& a, const Vec2& centreB, const CollisionMask& b)
{
    if (isNeverSolid(a) || isNeverSolid(b) || !isNear(centreA) || !isNear(centreB))
        return false;
    const int aLeft = leftEdge(centreA, a), aTop = topEdge(centreA, a);
    const int bLeft = leftEdge(centreB, b), bTop = topEdge(centreB, b);
    const int aRight = aLeft + a.width, aBottom = aTop + a.height;
    const int bRight = bLeft + b.width, bBottom = bTop + b.height;
    if (!(bRight > aLeft && bBottom > aTop && aRight > bLeft && aBottom > bTop))
        return false;

    const int x0 = std::max(aLeft, bLeft), y0 = std::max(aTop, bTop);
    const int x1 = std::min(aRight, bRight), y1 = std::min(aBottom, bBottom);
    // Cells are found from the untruncated corners, as the game always has.
    const int ax = static_cast<int>(x0 - (centreA.x - a.offsetX));
    const int ay = static_cast<int>(y0 - (centreA.y - a.offsetY));
    const int bx = static_cast<int>(x0 - (centreB.x - b.offsetX));
    const int by = static_cast<int>(y0 - (centreB.y - b.offsetY));
    for (int i = 0; i < x1 - x0; ++i)
        for (int j = 0; j < y1 - y0; ++j)
            if (cellAt(a, ax + i, ay + j) && cellAt(b, bx + i, by + j))
                return true;
    return false;
}

bool withinRange(const Vec2& a, const Vec2& b, double reach) { return distance(a, b) <= reach; }
