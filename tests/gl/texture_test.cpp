#include <SDL/SDL.h>
#include <cstdio>
#include <string>
#include <unistd.h>
#include "support/gl_window.h"

using TextureTest = GlWindow;

TEST_F(TextureTest, PadsToPowersOfTwoAndHalvesByShifting)
{
    Texture* wide = createTexture(100, 50);
    Texture* odd = createTexture(33, 33);
    ASSERT_TRUE(wide && odd);
    EXPECT_EQ(wide->textureWidth, 128);
    EXPECT_EQ(wide->textureHeight, 64);
    Sprite s;
    setSprite(s, wide);
    EXPECT_EQ(s.halfWidth, 50u);
    EXPECT_EQ(s.halfHeight, 25u);
    setSprite(s, odd);
    EXPECT_EQ(s.halfWidth, 16u);
    EXPECT_EQ(nextPowerOfTwo(0), 1);
    EXPECT_EQ(nextPowerOfTwo(64), 64);
    EXPECT_EQ(nextPowerOfTwo(65), 128);
    freeTexture(wide);
    freeTexture(odd);
}

TEST_F(TextureTest, SlotsRunOutAtTwoHundredFiftySixAndFreedSlotIsReusedFirst)
{
    const int before = liveTextureCount();
    std::vector<Texture*> made;
    for (Texture* t = createTexture(4, 4); t; t = createTexture(4, 4))
        made.push_back(t);
    EXPECT_EQ(liveTextureCount(), TEXTURE_SLOTS);
    EXPECT_EQ(static_cast<int>(made.size()), TEXTURE_SLOTS - before);
    EXPECT_EQ(createTexture(4, 4), nullptr);

    const int freedSlot = made[made.size() / 2]->slot;
    freeTexture(made[made.size() / 2]);
    made.erase(made.begin() + made.size() / 2);
    Texture* again = createTexture(8, 8);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->slot, freedSlot);
    made.push_back(again);
    for (Texture* t : made)
        freeTexture(t);
    EXPECT_EQ(liveTextureCount(), before);
}

TEST_F(TextureTest, ColourKeyReplacesOnlyExactMatches)
{
    Texture* t = solidTexture(3, 1, makeColour(255, 0, 255, 255));
    selectPixelTexture(t);
    setPixel(1, 0, makeColour(254, 0, 255, 255));
    uploadTexture();
    replaceColour(t, makeColour(255, 0, 255, 255), makeColour(0, 0, 0, 0));
    selectPixelTexture(t);
    EXPECT_TRUE(sameColour(getPixel(0, 0, t), makeColour(0, 0, 0, 0)));
    EXPECT_TRUE(sameColour(getPixel(1, 0, t), makeColour(254, 0, 255, 255)));
    EXPECT_TRUE(sameColour(getPixel(2, 0, t), makeColour(0, 0, 0, 0)));
    uploadTexture();
    freeTexture(t);
}

TEST_F(TextureTest, BmpLoadsOpaqueWithRowsTopDown)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 255));
    SDL_Rect topLeft{0, 0, 1, 1};
    SDL_FillRect(surface, &topLeft, SDL_MapRGB(surface->format, 255, 0, 255));
    const std::string path = "/tmp/zentavor-texture-test-" + std::to_string(getpid()) + ".bmp";
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);

    Texture* t = loadBmpTexture(path.c_str());
    std::remove(path.c_str());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->width, 2u);
    selectPixelTexture(t);
    EXPECT_TRUE(sameColour(getPixel(0, 0, t), makeColour(255, 0, 255, 255)));
    EXPECT_TRUE(sameColour(getPixel(1, 1, t), makeColour(0, 0, 255, 255)));
    uploadTexture();
    freeTexture(t);
    EXPECT_EQ(loadBmpTexture("/tmp/no-such-zentavor-image.bmp"), nullptr);
}

TEST_F(TextureTest, CaptureTurnsBottomUpRowsAround)
{
    Texture* red = solidTexture(1, 1, makeColour(255, 0, 0, 255));
    drawTexture(red, 0, 0);
    Texture* shot = captureScreen(0, 0, 4, 4);
    ASSERT_NE(shot, nullptr);
    selectPixelTexture(shot);
    EXPECT_TRUE(sameColour(getPixel(0, 0, shot), makeColour(255, 0, 0, 255)));
    EXPECT_TRUE(sameColour(getPixel(1, 1, shot), makeColour(0, 0, 0, 255)));
    EXPECT_TRUE(sameColour(getPixel(0, 3, shot), makeColour(0, 0, 0, 255)));
    uploadTexture();
    freeTexture(shot);
    freeTexture(red);
}
