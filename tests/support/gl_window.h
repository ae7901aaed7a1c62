// A real window with an OpenGL context for graphics tests (run under Xvfb).
#pragma once
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <vector>
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "gfx/video.h"

class GlWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(initVideoWithRetries(), 0) << SDL_GetError();
        ASSERT_EQ(setVideoMode(windowWidth, windowHeight, 32, false, "Zentavor test"), 0) << SDL_GetError();
        showPlayfield();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    // The X server on the test machines refuses a connection now and then
    // (EAGAIN); a few tries ride it out.
    static int initVideoWithRetries()
    {
        constexpr int TRIES = 10;
        constexpr int PAUSE_MS = 50;
        int result = -1;
        for (int i = 0; i < TRIES && result != 0; ++i) {
            if (i > 0)
                SDL_Delay(PAUSE_MS);
            result = SDL_Init(SDL_INIT_VIDEO);
        }
        return result;
    }
    void SetUp() override
    {
        clearScreen();
        setDrawColour(makeColour(255, 255, 255, 255));
    }

    // The back buffer's pixel at window (x, y), top-left origin.
    static Colour readPixel(int x, int y)
    {
        uint8_t p[4] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(x, graphics.windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return Colour{p[0], p[1], p[2], p[3]};
    }

    // A texture filled with one colour.
    static Texture* solidTexture(int width, int height, const Colour& c)
    {
        Texture* t = createTexture(width, height);
        selectPixelTexture(t);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                setPixel(x, y, c);
        uploadTexture();
        return t;
    }

    static int windowWidth;
    static int windowHeight;
};

inline int GlWindow::windowWidth = 1024;
inline int GlWindow::windowHeight = 768;
