#include "support/gl_window.h"

// A window of the given size, the playfield scaled and letterboxed onto it.
template <int WIDTH, int HEIGHT>
class SizedWindow : public GlWindow {
protected:
    static void SetUpTestSuite()
    {
        windowWidth = WIDTH;
        windowHeight = HEIGHT;
        GlWindow::SetUpTestSuite();
    }

    // A rotated copy is made in window pixels whatever the window: the inner
    // 10 x 10 square of a 12 x 12 picture keeps its size, and the playfield
    // projection comes back afterwards.
    static void expectUnscaledRotatedCopy()
    {
        Texture* t = solidTexture(12, 12, makeColour(255, 255, 255, 255));
        Sprite source, copy;
        setSprite(source, t);
        makeRotatedCopy(copy, source, 0.0f);
        ASSERT_NE(copy.texture, nullptr);
        int opaque = 0;
        selectPixelTexture(copy.texture);
        for (uint32_t y = 0; y < copy.texture->height; ++y)
            for (uint32_t x = 0; x < copy.texture->width; ++x)
                opaque += getPixel(x, y, copy.texture).alpha != 0;
        uploadTexture();
        EXPECT_EQ(opaque, 100);
        freeTexture(copy.texture);
        freeTexture(t);
    }

    // Playfield pixel (x, y) lands on window pixel (windowX, windowY).
    static void expectPlayfieldPixelAt(int x, int y, int windowX, int windowY)
    {
        clearScreen();
        Texture* dot = solidTexture(2, 2, makeColour(0, 255, 0, 255));
        drawTexture(dot, x, y);
        EXPECT_GT(readPixel(windowX, windowY).green, 128) << x << "," << y;
        freeTexture(dot);
    }
};

using SmallWindow = SizedWindow<640, 480>;
using WideWindow = SizedWindow<1000, 600>; // playfield 800 x 600 from x 100

TEST(Letterbox, TheLargestCentredFourByThreeRectangle)
{
    struct Case {
        int width, height;
        PixelRect expected;
    };
    const Case cases[] = {
        {1024, 768, {0, 0, 1024, 768}}, {320, 240, {0, 0, 320, 240}},     {1600, 900, {200, 0, 1200, 900}},
        {1280, 1024, {0, 32, 1280, 960}}, {1366, 768, {171, 0, 1024, 768}}, {1000, 601, {99, 0, 801, 601}},
    };
    for (const Case& c : cases) {
        const PixelRect r = letterboxOf(c.width, c.height);
        EXPECT_EQ(r.x, c.expected.x) << c.width << "x" << c.height;
        EXPECT_EQ(r.y, c.expected.y) << c.width << "x" << c.height;
        EXPECT_EQ(r.width, c.expected.width) << c.width << "x" << c.height;
        EXPECT_EQ(r.height, c.expected.height) << c.width << "x" << c.height;
    }
}

TEST_F(SmallWindow, PlayfieldCornerLandsInWindowCorner)
{
    expectPlayfieldPixelAt(1022, 766, 639, 479);
    EXPECT_LT(readPixel(630, 470).green, 20);
    expectPlayfieldPixelAt(0, 0, 0, 0);
}

TEST_F(SmallWindow, RotatedCopyWorksInWindowPixelsAndRestoresTheProjection)
{
    expectUnscaledRotatedCopy();
    expectPlayfieldPixelAt(1022, 766, 639, 479);
}

TEST_F(WideWindow, PlayfieldSitsBetweenBlackBarsAndRotatedCopiesStayUnscaled)
{
    expectUnscaledRotatedCopy();
    expectPlayfieldPixelAt(0, 0, 100, 0);
    expectPlayfieldPixelAt(1022, 766, 899, 599);
    // A quad over more than the playfield stops at its edges.
    Texture* wide = solidTexture(4, 4, makeColour(0, 255, 0, 255));
    drawTexturedQuad(wide, makePixelRect(0, 0, 4, 4), makePixelRect(-200, -200, 1500, 1200));
    EXPECT_GT(readPixel(100, 300).green, 128);
    for (int x : {0, 99, 900, 999})
        EXPECT_EQ(readPixel(x, 300).green, 0) << x;
    freeTexture(wide);
}
