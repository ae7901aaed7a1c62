#include "gfx/video.h"

#include <SDL/SDL.h>
#include <csignal>

GraphicsState graphics;

PixelRect makePixelRect(int x, int y, int width, int height) { return PixelRect{x, y, width, height}; }

bool initVideo(int width, int height, bool fullScreen)
{
    // Without video or a mode there is no context to draw with: the caller stops.
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return false;
    if (setVideoMode(width, height, 32, fullScreen, "Zentavor") != 0)
        return false;
    setProjection(makePixelRect(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT));
    SDL_ShowCursor(0);
    // SDL turns these signals into quit events, which the game ignores; the
    // system must still be able to stop it.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return true;
}

int setVideoMode(int width, int height, int bitsPerPixel, bool fullScreen, const char* caption)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    Uint32 flags = SDL_OPENGL;
    if (fullScreen)
        flags |= SDL_FULLSCREEN;
    if (!SDL_SetVideoMode(width, height, bitsPerPixel, flags))
        return -1;
    SDL_WM_SetCaption(caption, nullptr);
    initGraphicsState(width, height);
    return 0;
}

void initGraphicsState(int windowWidth, int windowHeight)
{
    graphics.windowWidth = windowWidth;
    graphics.windowHeight = windowHeight;
    for (int i = 0; i < TEXTURE_SLOTS; ++i) {
        graphics.names[i] = 0;
        graphics.slotInUse[i] = false;
    }
    graphics.target = GL_TEXTURE_2D;
    glGenTextures(TEXTURE_SLOTS, graphics.names);
    graphics.pixelTexture = nullptr;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
}

void setProjection(const PixelRect& r)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Top and bottom swapped so that y grows downwards, as on the screen.
    glOrtho(r.x, r.x + r.width, r.y + r.height, r.y, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void clearScreen()
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void presentFrame() { SDL_GL_SwapBuffers(); }
