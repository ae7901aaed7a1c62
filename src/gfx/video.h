// The window, the OpenGL 2-D state and the 1024 x 768 playfield projection,
// letterboxed when the window is not 4:3.
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

// What the player asked for on the command line.
struct WindowRequest {
    int32_t width = PLAYFIELD_WIDTH;
    int32_t height = PLAYFIELD_HEIGHT;
    bool fullScreen = true;
    bool desktopSize = false;      // the desktop's current resolution replaces width and height
    bool sizeWithinScreen = false; // a size larger than the desktop is refused
    bool vsync = false;            // ask the driver to sync buffer swaps to the screen
};

struct GraphicsState {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    PixelRect playfieldViewport; // window pixels, top-left origin: the letterboxed playfield
    GLenum target = GL_TEXTURE_2D;
    GLuint names[TEXTURE_SLOTS] = {};
    bool slotInUse[TEXTURE_SLOTS] = {};
    Texture* pixelTexture = nullptr; // the texture setPixel/getPixel address
};

extern GraphicsState graphics;

PixelRect makePixelRect(int x, int y, int width, int height);
// SDL video, the mode, projection and hidden cursor. Returns false when the
// mode could not be set (the caller stops the game); SDL_GetError says why.
bool initVideo(const WindowRequest& request);
// A window or full screen of exactly this size.
bool initVideo(int width, int height, bool fullScreen);
int setVideoMode(int width, int height, int bitsPerPixel, bool fullScreen, const char* caption);
void initGraphicsState(int windowWidth, int windowHeight);
// The largest 4:3 rectangle centred in the window, in window pixels with a
// top-left origin; the whole window when the window is 4:3.
PixelRect letterboxOf(int windowWidth, int windowHeight);
void setProjection(const PixelRect& r);
// Drawing in playfield pixels onto the letterboxed playfield.
void showPlayfield();
// Drawing in window pixels over the whole window, one unit a pixel.
void showWindowPixels();
void clearScreen();
// Waits until the frame drawn so far is rendered.
void finishDrawing();
void presentFrame();
