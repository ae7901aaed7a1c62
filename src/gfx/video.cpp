#include "gfx/video.h"

#include <SDL/SDL.h>
#include <csignal>
#include <cstdlib>

GraphicsState graphics;

PixelRect makePixelRect(int x, int y, int width, int height) { return PixelRect{x, y, width, height}; }

// Only SDL's X11 driver gives an OpenGL context. Left to choose, SDL would
// try the drivers that draw in the terminal next, scribbling over it before
// failing; a driver the user names is still theirs.
static bool startVideoDriver()
{
    if (std::getenv("SDL_VIDEODRIVER"))
        return SDL_Init(SDL_INIT_VIDEO) == 0;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        SDL_SetError("no display: set DISPLAY or run under a desktop");
        return false;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (SDL_Init(SDL_INIT_VIDEO) == 0)
        return true;
    SDL_SetError("cannot connect to the display %s", display);
    return false;
}

bool initVideo(const WindowRequest& request)
{
    // Without video or a mode there is no context to draw with: the caller stops.
    if (!startVideoDriver())
        return false;
    // Asked before any mode is set, the video info holds the desktop's resolution.
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    int width = request.width;
    int height = request.height;
    if (request.desktopSize) {
        width = desktop->current_w;
        height = desktop->current_h;
    }
    if (request.sizeWithinScreen && (width > desktop->current_w || height > desktop->current_h)) {
        SDL_SetError("%dx%d is larger than the screen, %dx%d", width, height, desktop->current_w,
                     desktop->current_h);
        return false;
    }
    if (request.vsync)
        SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    if (setVideoMode(width, height, 32, request.fullScreen, "Zentavor") != 0)
        return false;
    showPlayfield();
    SDL_ShowCursor(0);
    // SDL turns these signals into quit events, which the game ignores; the
    // system must still be able to stop it.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return true;
}

bool initVideo(int width, int height, bool fullScreen)
{
    WindowRequest request;
    request.width = width;
    request.height = height;
    request.fullScreen = fullScreen;
    return initVideo(request);
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
    graphics.playfieldViewport = letterboxOf(windowWidth, windowHeight);
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

PixelRect letterboxOf(int windowWidth, int windowHeight)
{
    // Wider than 4:3: bars left and right; taller: bars above and below.
    if (windowWidth * PLAYFIELD_HEIGHT > windowHeight * PLAYFIELD_WIDTH) {
        const int width = windowHeight * PLAYFIELD_WIDTH / PLAYFIELD_HEIGHT;
        return makePixelRect((windowWidth - width) / 2, 0, width, windowHeight);
    }
    const int height = windowWidth * PLAYFIELD_HEIGHT / PLAYFIELD_WIDTH;
    return makePixelRect(0, (windowHeight - height) / 2, windowWidth, height);
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

// OpenGL counts viewport rows from the bottom of the window.
static void setViewport(const PixelRect& r)
{
    glViewport(r.x, graphics.windowHeight - r.y - r.height, r.width, r.height);
}

void showPlayfield()
{
    setViewport(graphics.playfieldViewport);
    setProjection(makePixelRect(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT));
}

void showWindowPixels()
{
    const PixelRect window = makePixelRect(0, 0, graphics.windowWidth, graphics.windowHeight);
    setViewport(window);
    setProjection(window);
}

void clearScreen()
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void finishDrawing() { glFinish(); }

void presentFrame() { SDL_GL_SwapBuffers(); }
