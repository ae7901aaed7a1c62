#include <cmath>
#include "support/gl_window.h"
#include "sim/geometry.h"

using SpriteTest = GlWindow;

static bool lit(const Colour& c) { return c.red > 128; }

TEST_F(SpriteTest, SpriteIsCentredOnItsPointWithTruncatedHalves)
{
    Texture* t = solidTexture(33, 21, makeColour(255, 255, 255, 255));
    Sprite s;
    setSprite(s, t);
    drawSprite(s, 100, 100);
    EXPECT_TRUE(lit(readPixel(84, 90)));
    EXPECT_TRUE(lit(readPixel(116, 110)));
    EXPECT_FALSE(lit(readPixel(83, 100)));
    EXPECT_FALSE(lit(readPixel(117, 100)));
    EXPECT_FALSE(lit(readPixel(100, 89)));
    EXPECT_FALSE(lit(readPixel(100, 111)));
    freeTexture(t);
}

TEST_F(SpriteTest, DrawColourMultipliesTexels)
{
    Texture* t = solidTexture(8, 8, makeColour(255, 255, 255, 255));
    Sprite s;
    setSprite(s, t);
    setDrawColour(makeColour(255, 0, 0, 255));
    drawSprite(s, 50, 50);
    const Colour c = readPixel(50, 50);
    EXPECT_GT(c.red, 200);
    EXPECT_LT(c.green, 20);
    freeTexture(t);
}

TEST_F(SpriteTest, PositiveAngleTurnsClockwiseOnScreen)
{
    // A 40 x 4 bar turned a quarter turn stands upright.
    Texture* t = solidTexture(40, 4, makeColour(255, 255, 255, 255));
    Sprite s;
    setSprite(s, t);
    drawSpriteRotated(s, 200, 200, degreesOf(PI / 2));
    EXPECT_TRUE(lit(readPixel(200, 215)));
    EXPECT_TRUE(lit(readPixel(200, 185)));
    EXPECT_FALSE(lit(readPixel(215, 200)));
    freeTexture(t);
}

TEST_F(SpriteTest, RotatedCopyDropsEdgesKeysBlackAndTurns)
{
    // 20 x 6 picture: white inside, a black hole in the middle, a red border
    // that the copy leaves out.
    Texture* t = solidTexture(20, 6, makeColour(255, 0, 0, 255));
    selectPixelTexture(t);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 19; ++x)
            setPixel(x, y, makeColour(255, 255, 255, 255));
    setPixel(10, 3, makeColour(0, 0, 0, 255));
    uploadTexture();
    Sprite source;
    setSprite(source, t);
    const int before = liveTextureCount();

    Sprite copy;
    makeRotatedCopy(copy, source, degreesOf(PI / 2));
    ASSERT_NE(copy.texture, nullptr);
    EXPECT_EQ(liveTextureCount(), before + 1);
    const int side = static_cast<int>(std::sqrt(20.0 * 20 + 6 * 6) + 10);
    EXPECT_EQ(static_cast<int>(copy.texture->width), side);

    int redTexels = 0, opaque = 0, minX = side, maxX = -1, minY = side, maxY = -1;
    selectPixelTexture(copy.texture);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Colour c = getPixel(x, y, copy.texture);
            if (c.alpha == 0)
                continue;
            ++opaque;
            if (c.red > 200 && c.green < 60)
                ++redTexels;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    uploadTexture();
    EXPECT_EQ(redTexels, 0);
    // Upright: taller than wide, centred on the square's middle.
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));
    EXPECT_NEAR((minY + maxY) / 2.0, side / 2, 2.0);
    EXPECT_LT(opaque, 18 * 4);
    EXPECT_GT(opaque, 18 * 4 - 8);
    freeTexture(copy.texture);
    freeTexture(t);
}
