// The window, the OpenGL 2-D state and the 1024 x 768 playfield projection.
#pragma once
#include <cstdint>
#include <GL/gl.h>

constexpr int PLAYFIELD_WIDTH = 1024;
constexpr int PLAYFIELD_HEIGHT = 768;
constexpr int TEXTURE_SLOTS = 256;

struct PixelRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

struct Texture;

struct GraphicsState {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    GLenum target = GL_TEXTURE_2D;
    GLuint names[TEXTURE_SLOTS] = {};
    bool slotInUse[TEXTURE_SLOTS] = {};
    Texture* pixelTexture = nullptr; // the texture setPixel/getPixel address
};

extern GraphicsState graphics;

PixelRect makePixelRect(int x, int y, int width, int height);
// SDL video, the mode, projection and hidden cursor. Returns false when the
// mode could not be set (the caller stops the game).
bool initVideo(int width, int height, bool fullScreen);
int setVideoMode(int width, int height, int bitsPerPixel, bool fullScreen, const char* caption);
void initGraphicsState(int windowWidth, int windowHeight);
void setProjection(const PixelRect& r);
void clearScreen();
void presentFrame();
