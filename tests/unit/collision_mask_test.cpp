#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>
#include "sim/collision_mask.h"

namespace {

// A picture drawn from text rows: '#' opaque, anything else transparent.
// Rows may be padded beyond the picture width, as texture rows are.
struct TextPicture {
    std::vector<uint8_t> rgba;
    Picture picture;
};

TextPicture pictureOf(const std::vector<std::string>& rows, int rowTexels)
{
    TextPicture t;
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    t.rgba.assign(static_cast<size_t>(rowTexels) * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < rowTexels; ++x) {
            uint8_t* texel = &t.rgba[(x + y * rowTexels) * 4];
            // Padding texels are opaque: a mask must never read them.
            const bool solid = x >= width || rows[y][x] == '#';
            texel[0] = texel[1] = texel[2] = 200;
            texel[3] = solid ? 255 : 0;
        }
    t.picture = Picture{width, height, rowTexels, t.rgba.data()};
    return t;
}

std::string rowOf(const CollisionMask& m, int y)
{
    std::string row;
    for (int x = 0; x < m.width; ++x)
        row += m.cells[x + y * m.width] ? '#' : '.';
    return row;
}

int solidCount(const CollisionMask& m)
{
    int n = 0;
    for (uint8_t c : m.cells)
        n += c;
    return n;
}

TEST(CollisionMask, BuildingTrimsEmptyEdgesAndKeepsTheCentre)
{
    const TextPicture t = pictureOf({"........",
                                     "...#....",
                                     "..###...",
                                     "...#.#..",
                                     "........",
                                     "........"},
                                    16);
    const CollisionMask m = buildMask(t.picture);
    ASSERT_EQ(m.width, 4);
    ASSERT_EQ(m.height, 3);
    EXPECT_EQ(m.offsetX, 8 / 2 - 2);
    EXPECT_EQ(m.offsetY, 6 / 2 - 1);
    EXPECT_EQ(rowOf(m, 0), ".#..");
    EXPECT_EQ(rowOf(m, 1), "###.");
    EXPECT_EQ(rowOf(m, 2), ".#.#");

    // The mask placed on the picture's centre covers the same pixels as the picture.
    const Vec2 centre{100.0, 50.0};
    const int left = 100 - 8 / 2, top = 50 - 6 / 2;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool solid = t.rgba[(x + y * 16) * 4 + 3] != 0;
            EXPECT_EQ(pointInMask(centre, m, Vec2{left + x + 0.5, top + y + 0.5}), solid) << x << "," << y;
        }
}

TEST(CollisionMask, ASolidCornerKeepsOddSizes)
{
    const TextPicture t = pictureOf({"#..", "...", "..#"}, 3);
    const CollisionMask m = buildMask(t.picture);
    EXPECT_EQ(m.width, 3);
    EXPECT_EQ(m.height, 3);
    EXPECT_EQ(m.offsetX, 1);
    EXPECT_EQ(m.offsetY, 1);
    EXPECT_EQ(solidCount(m), 2);
}

TEST(CollisionMask, AnEmptyPictureIsNeverSolid)
{
    const TextPicture t = pictureOf({"....", "....", "...."}, 4);
    const CollisionMask m = buildMask(t.picture);
    EXPECT_LE(m.width, 0);
    EXPECT_LE(m.height, 0);
    const CollisionMask disc = [] {
        CollisionMask masks[BLAST_MASK_COUNT];
        buildBlastMasks(masks);
        return masks[4];
    }();
    for (int y = -10; y <= 10; ++y)
        for (int x = -10; x <= 10; ++x)
            ASSERT_FALSE(pointInMask(Vec2{5.0, 5.0}, m, Vec2{5.0 + x, 5.0 + y}));
    EXPECT_FALSE(masksOverlap(Vec2{5.0, 5.0}, m, Vec2{5.0, 5.0}, disc));
    EXPECT_FALSE(masksOverlap(Vec2{5.0, 5.0}, disc, Vec2{5.0, 5.0}, m));

    const CollisionMask none = buildMask(Picture{});
    EXPECT_FALSE(pointInMask(Vec2{}, none, Vec2{}));
}

TEST(CollisionMask, TheEmptyMaskTouchesNothing)
{
    const CollisionMask m = emptyMask();
    EXPECT_EQ(m.width, 1);
    EXPECT_EQ(m.height, 1);
    EXPECT_EQ(m.offsetX, 0);
    EXPECT_EQ(m.offsetY, 0);
    ASSERT_EQ(m.cells.size(), 1u);
    EXPECT_FALSE(pointInMask(Vec2{500.0, 400.0}, m, Vec2{500.0, 400.0}));
    EXPECT_FALSE(pointInMask(Vec2{500.0, 400.0}, m, Vec2{500.5, 400.5}));
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    EXPECT_FALSE(masksOverlap(Vec2{500.0, 400.0}, m, Vec2{500.0, 400.0}, masks[4]));
}

TEST(CollisionMask, BlastDiscsAreRoundAndGrow)
{
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    const int sizes[BLAST_MASK_COUNT] = {3, 5, 7, 9, 11};
    const int offsets[BLAST_MASK_COUNT] = {2, 3, 4, 5, 6};
    const int solids[BLAST_MASK_COUNT] = {5, 21, 37, 61, 97};
    for (int i = 0; i < BLAST_MASK_COUNT; ++i) {
        const CollisionMask& m = masks[i];
        ASSERT_EQ(m.width, sizes[i]);
        ASSERT_EQ(m.height, sizes[i]);
        EXPECT_EQ(m.offsetX, offsets[i]);
        EXPECT_EQ(m.offsetY, offsets[i]);
        ASSERT_EQ(m.cells.size(), static_cast<size_t>(sizes[i] * sizes[i]));
        EXPECT_EQ(solidCount(m), solids[i]) << "disc " << i;
        const int last = sizes[i] - 1;
        for (int y = 0; y < sizes[i]; ++y)
            for (int x = 0; x < sizes[i]; ++x) {
                const uint8_t c = m.cells[x + y * m.width];
                ASSERT_EQ(c, m.cells[(last - x) + y * m.width]) << "mirrored left to right";
                ASSERT_EQ(c, m.cells[x + (last - y) * m.width]) << "mirrored top to bottom";
                ASSERT_EQ(c, m.cells[y + x * m.width]) << "mirrored on the diagonal";
            }
    }
    EXPECT_EQ(rowOf(masks[3], 0), "...###...");
    EXPECT_EQ(rowOf(masks[3], 1), ".#######.");
    EXPECT_EQ(rowOf(masks[4], 1), "..#######..");
}

TEST(CollisionMask, PointsAreTestedAgainstTheTruncatedCorner)
{
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    const CollisionMask& small = masks[0];
    const Vec2 centre{10.0, 10.0}; // corner at (8, 8)
    EXPECT_TRUE(pointInMask(centre, small, Vec2{9.0, 9.0})) << "the solid middle is up and left of the centre";
    EXPECT_TRUE(pointInMask(centre, small, Vec2{9.9, 8.0}));
    EXPECT_FALSE(pointInMask(centre, small, Vec2{8.0, 8.0})) << "a corner of the disc is empty";
    EXPECT_FALSE(pointInMask(centre, small, Vec2{10.0, 10.0}));
    EXPECT_FALSE(pointInMask(centre, small, Vec2{7.99, 9.0}));
    EXPECT_FALSE(pointInMask(centre, small, Vec2{11.0, 9.0})) << "the right edge is outside";
    EXPECT_FALSE(pointInMask(centre, small, Vec2{9.0, 11.0})) << "the bottom edge is outside";

    const CollisionMask& big = masks[4];
    EXPECT_TRUE(pointInMask(Vec2{10.7, 10.7}, big, Vec2{14.9, 9.0})) << "corner (4, 4): cell (10, 5)";
    EXPECT_FALSE(pointInMask(Vec2{10.7, 10.7}, big, Vec2{15.0, 9.0}));
}

TEST(CollisionMask, MasksOverlapOnlyWhereBothAreSolid)
{
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    const CollisionMask& disc = masks[2]; // 7 x 7, offset 4
    EXPECT_TRUE(masksOverlap(Vec2{20.0, 20.0}, disc, Vec2{26.0, 20.0}, disc));
    EXPECT_FALSE(masksOverlap(Vec2{20.0, 20.0}, disc, Vec2{27.0, 20.0}, disc))
        << "rectangles that only touch along an edge do not overlap";
    EXPECT_FALSE(masksOverlap(Vec2{20.0, 20.0}, disc, Vec2{26.0, 26.0}, disc))
        << "the rectangles overlap by one corner pixel, which is empty in both discs";
    EXPECT_TRUE(masksOverlap(Vec2{20.0, 20.0}, disc, Vec2{24.0, 24.0}, disc));

    const TextPicture ring = pictureOf({"#####", "#...#", "#...#", "#...#", "#####"}, 5);
    const CollisionMask ringMask = buildMask(ring.picture);
    EXPECT_FALSE(masksOverlap(Vec2{50.0, 50.0}, ringMask, Vec2{51.0, 51.0}, masks[0]))
        << "a small disc inside the ring's hole touches nothing";
    EXPECT_TRUE(masksOverlap(Vec2{50.0, 50.0}, ringMask, Vec2{52.0, 51.0}, masks[0]));
    EXPECT_TRUE(masksOverlap(Vec2{52.0, 51.0}, masks[0], Vec2{50.0, 50.0}, ringMask)) << "either order";
}

TEST(CollisionMask, FractionalCentresStayWithinTheCells)
{
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    // Sweep one disc past another on fractional and negative positions: the answer
    // does not depend on the order of the masks and follows the discs' distance.
    const CollisionMask& a = masks[4];
    const CollisionMask& b = masks[1];
    for (double dx = -14.0; dx <= 14.0; dx += 0.35) {
        const Vec2 ca{-3.3, 7.6};
        const Vec2 cb{ca.x + dx, ca.y + 2.45};
        const bool overlap = masksOverlap(ca, a, cb, b);
        EXPECT_EQ(overlap, masksOverlap(cb, b, ca, a)) << dx;
        if (std::abs(dx) > 10.0) {
            EXPECT_FALSE(overlap) << dx;
        }
        if (std::abs(dx) < 3.0) {
            EXPECT_TRUE(overlap) << dx;
        }
    }
}

TEST(CollisionMask, FarBeyondEveryMapNothingTouches)
{
    CollisionMask masks[BLAST_MASK_COUNT];
    buildBlastMasks(masks);
    const CollisionMask& disc = masks[4];
    const double nan = std::nan("");
    const struct {
        Vec2 a, b;
        bool overlap;
    } cases[] = {
        {{1e6 + 0.5, -1e6}, {1e6 + 2.5, -1e6}, true}, // a million pixels out: still pixel-exact
        {{1e15, 1e15}, {1e15 + 1.0, 1e15}, false},     // both flung by a frame of days
        {{20.0, 20.0}, {20.0, 1e15}, false},
        {{-3e9, 20.0}, {-3e9, 20.0}, false},           // past an int's range
        {{20.0, 20.0}, {nan, 20.0}, false},
        {{1e300, -1e300}, {20.0, 20.0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(masksOverlap(c.a, disc, c.b, disc), c.overlap) << c.a.x << " " << c.b.x << " " << c.b.y;
        EXPECT_EQ(masksOverlap(c.b, disc, c.a, disc), c.overlap) << c.a.x << " " << c.b.x << " " << c.b.y;
        EXPECT_EQ(pointInMask(c.a, disc, c.b), c.overlap) << c.a.x << " " << c.b.x << " " << c.b.y;
    }
}

TEST(CollisionMask, RangeIncludesItsEdge)
{
    EXPECT_TRUE(withinRange(Vec2{0.0, 0.0}, Vec2{3.0, 4.0}, 5.0));
    EXPECT_FALSE(withinRange(Vec2{0.0, 0.0}, Vec2{3.0, 4.0}, 4.999));
}

} // namespace
