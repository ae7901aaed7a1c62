#include "support/gl_window.h"

// The playfield is scaled onto a smaller window.
class SmallWindow : public GlWindow {
protected:
    static void SetUpTestSuite()
    {
        windowWidth = 640;
        windowHeight = 480;
        GlWindow::SetUpTestSuite();
    }
};

TEST_F(SmallWindow, PlayfieldCornerLandsInWindowCorner)
{
    Texture* dot = solidTexture(2, 2, makeColour(0, 255, 0, 255));
    drawTexture(dot, 1022, 766);
    EXPECT_GT(readPixel(639, 479).green, 128);
    EXPECT_LT(readPixel(630, 470).green, 20);
    drawTexture(dot, 0, 0);
    EXPECT_GT(readPixel(0, 0).green, 128);
    freeTexture(dot);
}

TEST_F(SmallWindow, RotatedCopyWorksInWindowPixelsAndRestoresTheProjection)
{
    Texture* t = solidTexture(12, 12, makeColour(255, 255, 255, 255));
    Sprite source, copy;
    setSprite(source, t);
    makeRotatedCopy(copy, source, 0.0);
    ASSERT_NE(copy.texture, nullptr);
    // Unscaled: the 10 x 10 inner square keeps its size in the copy.
    int opaque = 0;
    selectPixelTexture(copy.texture);
    for (uint32_t y = 0; y < copy.texture->height; ++y)
        for (uint32_t x = 0; x < copy.texture->width; ++x)
            opaque += getPixel(x, y, copy.texture).alpha != 0;
    uploadTexture();
    EXPECT_EQ(opaque, 100);
    clearScreen();
    Texture* dot = solidTexture(2, 2, makeColour(0, 255, 0, 255));
    drawTexture(dot, 1022, 766);
    EXPECT_GT(readPixel(639, 479).green, 128);
    freeTexture(dot);
    freeTexture(copy.texture);
    freeTexture(t);
}
