#include <SDL/SDL_ttf.h>
#include <climits>
#include "gfx/text.h"
#include "support/gl_window.h"

class TextTest : public GlWindow {
protected:
    static void SetUpTestSuite()
    {
        GlWindow::SetUpTestSuite();
        ASSERT_TRUE(openFonts(fonts)) << "font.ttf must be in the working folder";
    }
    static void TearDownTestSuite()
    {
        closeFonts(fonts);
        GlWindow::TearDownTestSuite();
    }
    static int widthOf(const char* text)
    {
        int w = 0, h = 0;
        TTF_SizeText(fonts.hudFont, text, &w, &h);
        return w;
    }
    static Fonts fonts;
};
Fonts TextTest::fonts;

TEST_F(TextTest, NumbersRenderAllTheirCharacters)
{
    for (const int value : {0, -5, 1234567, INT_MAX, INT_MIN}) {
        char buffer[16];
        formatNumber(value, buffer);
        EXPECT_EQ(std::to_string(value), buffer);
        Sprite s;
        renderNumber(s, value, fonts.hudFont);
        ASSERT_NE(s.texture, nullptr) << value;
        EXPECT_EQ(static_cast<int>(s.texture->width), widthOf(buffer)) << value;
        clearSprite(s);
    }
}

TEST_F(TextTest, PlainTextIsTransparentBetweenLettersAndOpaqueTextSitsOnBlack)
{
    Sprite plain, boxed;
    renderText(plain, "Hull", fonts.messageFont);
    renderTextOpaque(boxed, "Hull", fonts.messageFont);
    ASSERT_TRUE(plain.texture && boxed.texture);
    int clear = 0, white = 0, blackOpaque = 0;
    selectPixelTexture(plain.texture);
    for (uint32_t y = 0; y < plain.texture->height; ++y)
        for (uint32_t x = 0; x < plain.texture->width; ++x) {
            const Colour c = getPixel(x, y, plain.texture);
            clear += c.alpha == 0;
            white += c.alpha == 255 && c.red == 255;
        }
    uploadTexture();
    selectPixelTexture(boxed.texture);
    for (uint32_t y = 0; y < boxed.texture->height; ++y)
        for (uint32_t x = 0; x < boxed.texture->width; ++x)
            blackOpaque += sameColour(getPixel(x, y, boxed.texture), makeColour(0, 0, 0, 255));
    uploadTexture();
    EXPECT_GT(clear, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(clear + white, static_cast<int>(plain.texture->width * plain.texture->height));
    EXPECT_GT(blackOpaque, 0);
    clearSprite(plain);
    clearSprite(boxed);
}

TEST_F(TextTest, RerenderingWithOldTextureFreedKeepsTextureCount)
{
    Sprite s;
    renderText(s, "Minigun", fonts.hudFont);
    const int live = liveTextureCount();
    for (int i = 0; i < 500; ++i) {
        clearSprite(s);
        renderNumber(s, i, fonts.hudFont);
    }
    EXPECT_EQ(liveTextureCount(), live);
    clearSprite(s);
}

TEST_F(TextTest, EmptyTextLeavesAnEmptySpriteThatDrawsNothing)
{
    Sprite s;
    const int live = liveTextureCount();
    renderText(s, "", fonts.hudFont);
    EXPECT_EQ(s.texture, nullptr);
    EXPECT_EQ(liveTextureCount(), live);
    drawSprite(s, 10, 10);
}

// Names come from config.cfg as typed: UTF-8 is drawn as such, and a byte
// outside it (a Latin-1 name) as the replacement character, never as a pair
// of other letters.
TEST_F(TextTest, NamesAreDrawnAsUtf8)
{
    const char* const zoe = "Zo\xC3\xAB";
    int utf8Width = 0, latin1Width = 0, replacedWidth = 0, height = 0;
    TTF_SizeUTF8(fonts.hudFont, zoe, &utf8Width, &height);
    TTF_SizeText(fonts.hudFont, zoe, &latin1Width, &height);
    TTF_SizeUTF8(fonts.hudFont, "Ren\xEF\xBF\xBD" "e", &replacedWidth, &height);
    ASSERT_NE(utf8Width, latin1Width) << "four Latin-1 letters as wide as three";
    Sprite name, latin1;
    renderText(name, zoe, fonts.hudFont);
    renderText(latin1, "Ren\xE9" "e", fonts.hudFont);
    ASSERT_TRUE(name.texture && latin1.texture);
    EXPECT_EQ(static_cast<int>(name.texture->width), utf8Width);
    EXPECT_EQ(static_cast<int>(latin1.texture->width), replacedWidth);
    clearSprite(name);
    clearSprite(latin1);
}
