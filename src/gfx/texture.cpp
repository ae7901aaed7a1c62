#include "gfx/texture.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <cstring>
#include <new>
#include "files/whole_file.h"

Sprite catalogue[CATALOGUE_SIZE];

const char* const CATALOGUE_FILES[CATALOGUE_SIZE] = {
    "img/bg.bmp", "img/earth.bmp", "img/moon.bmp", "img/satelite1.bmp", "img/satelite2.bmp",
    "img/speeder0.bmp", "img/speeder1.bmp", "img/speeder2.bmp", "img/speeder3.bmp",
    "img/wasp0.bmp", "img/wasp1.bmp", "img/wasp2.bmp", "img/wasp3.bmp",
    "img/gunship0.bmp", "img/gunship1.bmp", "img/gunship2.bmp", "img/gunship3.bmp",
    "img/scout0.bmp", "img/scout1.bmp", "img/scout2.bmp", "img/scout3.bmp",
    "img/blueTL.bmp", "img/blueTR.bmp", "img/blueBL.bmp", "img/blueBR.bmp",
    "img/redTL.bmp", "img/redTR.bmp", "img/redBL.bmp", "img/redBR.bmp",
    "img/explosion1.bmp", "img/explosion2.bmp", "img/explosion3.bmp", "img/explosion4.bmp",
    "img/explosion5.bmp", "img/explosion6.bmp", "img/explosion7.bmp", "img/explosion8.bmp",
    "img/bullet0.bmp", "img/bullet1.bmp", "img/small rocket0.bmp", "img/small rocket1.bmp",
    "img/marker green.bmp", "img/marker yellow.bmp", "img/marker red.bmp",
    "img/marker blue0.bmp", "img/marker blue1.bmp", "img/marker blue2.bmp", "img/marker blue3.bmp",
    "img/marker blue4.bmp", "img/marker weapon.bmp", "img/gui.bmp",
    "img/minigun big.bmp", "img/minigun small.bmp", "img/corona big.bmp", "img/corona small.bmp",
    "img/sting big.bmp", "img/sting small.bmp", "img/doomsday big.bmp", "img/doomsday small.bmp",
    "img/flamer big.bmp", "img/flamer small.bmp", "img/gun big.bmp", "img/gun small.bmp",
    "img/bullet2.bmp", "img/laser green.bmp", "img/chaingun big.bmp", "img/chaingun small.bmp",
    "img/aim blue.bmp", "img/aim red.bmp",
    "img/marker green small.bmp", "img/marker yellow small.bmp", "img/marker red small.bmp",
    "img/marker blue0 small.bmp", "img/marker blue1 small.bmp", "img/marker blue2 small.bmp",
    "img/marker blue3 small.bmp", "img/marker blue4 small.bmp", "img/marker weapon.bmp",
    "img/hull marker.bmp", "img/shield marker.bmp",
    "img/green explosion1.bmp", "img/green explosion2.bmp", "img/green explosion3.bmp",
    "img/laser green big.bmp", "img/laser green small.bmp", "img/mine big.bmp", "img/mine small.bmp",
    "img/frame.bmp", "img/frame small.bmp", "img/blank.bmp",
    "img/armageddon1.bmp", "img/armageddon2.bmp", "img/armageddon big.bmp", "img/armageddon small.bmp",
    "img/star1.bmp", "img/star2.bmp",
};

Colour makeColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return Colour{r, g, b, a}; }

bool sameColour(const Colour& a, const Colour& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

int32_t nextPowerOfTwo(uint32_t n)
{
    for (uint64_t p = 1; p <= (1ull << 31); p <<= 1)
        if (p >= n)
            return static_cast<int32_t>(p);
    return 0;
}

int findFreeSlot()
{
    for (int i = 0; i < TEXTURE_SLOTS; ++i)
        if (!graphics.slotInUse[i])
            return i;
    return -1;
}

int liveTextureCount()
{
    int count = 0;
    for (bool inUse : graphics.slotInUse)
        count += inUse ? 1 : 0;
    return count;
}

Texture* createTexture(uint32_t width, uint32_t height)
{
    Texture* t = new (std::nothrow) Texture;
    if (!t)
        return nullptr;
    t->width = width;
    t->height = height;
    t->textureWidth = nextPowerOfTwo(width);
    t->textureHeight = nextPowerOfTwo(height);
    // Padding texels are never written; clearing them keeps edges of linear filtering clean.
    t->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(t->textureWidth) * t->textureHeight, 4));
    const int slot = findFreeSlot();
    if (!t->pixels || slot < 0) {
        std::free(t->pixels);
        delete t;
        return nullptr;
    }
    t->slot = slot;
    graphics.slotInUse[slot] = true;
    return t;
}

void freeTexture(Texture* t)
{
    if (!t)
        return;
    if (graphics.pixelTexture == t)
        graphics.pixelTexture = nullptr;
    std::free(t->pixels);
    graphics.slotInUse[t->slot] = false;
    delete t;
}

void selectPixelTexture(Texture* t) { graphics.pixelTexture = t; }

void setPixel(int x, int y, const Colour& c)
{
    Texture* t = graphics.pixelTexture;
    uint8_t* texel = t->pixels + (static_cast<size_t>(x) + static_cast<size_t>(y) * t->textureWidth) * 4;
    texel[0] = c.red;
    texel[1] = c.green;
    texel[2] = c.blue;
    texel[3] = c.alpha;
}

Colour getPixel(int x, int y, const Texture* t)
{
    const uint8_t* texel =
        graphics.pixelTexture->pixels + (static_cast<size_t>(x) + static_cast<size_t>(y) * t->textureWidth) * 4;
    return Colour{texel[0], texel[1], texel[2], texel[3]};
}

void uploadTexture()
{
    Texture* t = graphics.pixelTexture;
    glBindTexture(GL_TEXTURE_2D, graphics.names[t->slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, t->textureWidth, t->textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 t->pixels);
    graphics.pixelTexture = nullptr;
}

void replaceColour(Texture* t, const Colour& from, const Colour& to)
{
    selectPixelTexture(t);
    for (uint32_t y = 0; y < t->height; ++y)
        for (uint32_t x = 0; x < t->width; ++x)
            if (sameColour(getPixel(x, y, t), from))
                setPixel(x, y, to);
    uploadTexture();
}

Colour getSurfacePixel(SDL_Surface* surface, int x, int y)
{
    const int bytesPerPixel = surface->format->BytesPerPixel;
    const uint8_t* source = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * bytesPerPixel;
    Uint32 value = 0;
    for (int i = 0; i < bytesPerPixel; ++i)
        value |= static_cast<Uint32>(source[i]) << (8 * i);
    Colour c;
    SDL_GetRGBA(value, surface->format, &c.red, &c.green, &c.blue, &c.alpha);
    return c;
}

// Image files carry no transparency of their own: the colour key adds it later.
static void copySurfaceOpaque(SDL_Surface* surface, Texture* t)
{
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    selectPixelTexture(t);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            Colour c = getSurfacePixel(surface, x, y);
            c.alpha = 255;
            setPixel(x, y, c);
        }
    uploadTexture();
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
}

Texture* loadBmpTexture(const char* path)
{
    // SDL would wait for ever on a named pipe; the reason goes where SDL's own would.
    const std::string problem = whyNotARegularFile(path);
    if (!problem.empty()) {
        SDL_SetError("%s", problem.c_str());
        return nullptr;
    }
    SDL_Surface* surface = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
    if (!surface)
        return nullptr;
    Texture* t = createTexture(surface->w, surface->h);
    if (t)
        copySurfaceOpaque(surface, t);
    SDL_FreeSurface(surface);
    return t;
}

Texture* textureFromSurface(SDL_Surface* surface)
{
    if (!surface)
        return nullptr;
    Texture* t = createTexture(surface->w, surface->h);
    if (!t) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    copySurfaceOpaque(surface, t);
    return t;
}

Texture* captureScreen(int x, int y, int width, int height)
{
    // Zeroed: rows outside the window are not read back and stay black.
    uint8_t* rows = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * height, 4));
    Texture* t = createTexture(width, height);
    if (!rows || !t) {
        std::free(rows);
        freeTexture(t);
        return nullptr;
    }
    glReadBuffer(GL_BACK);
    glFlush();
    glReadPixels(x, graphics.windowHeight - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows);
    selectPixelTexture(t);
    // OpenGL reads bottom-up; texture rows run top-down.
    for (int i = 0; i < height; ++i)
        for (int column = 0; column < width; ++column) {
            const uint8_t* p = rows + (static_cast<size_t>(i) * width + column) * 4;
            setPixel(column, height - 1 - i, Colour{p[0], p[1], p[2], 255});
        }
    uploadTexture();
    std::free(rows);
    return t;
}

void setSprite(Sprite& s, Texture* t)
{
    s.texture = t;
    s.halfWidth = t ? t->width >> 1 : 0;
    s.halfHeight = t ? t->height >> 1 : 0;
}

void clearSprite(Sprite& s)
{
    freeTexture(s.texture);
    setSprite(s, nullptr);
}

bool loadTextureCatalogue(const char** failedPath)
{
    for (int i = 0; i < CATALOGUE_SIZE; ++i) {
        Texture* t = loadBmpTexture(CATALOGUE_FILES[i]);
        if (!t) {
            *failedPath = CATALOGUE_FILES[i];
            return false;
        }
        setSprite(catalogue[i], t);
    }
    const Colour magenta = makeColour(255, 0, 255, 255);
    const Colour transparent = makeColour(0, 0, 0, 0);
    for (Sprite& s : catalogue)
        replaceColour(s.texture, magenta, transparent);
    return true;
}

void freeTextureCatalogue()
{
    for (Sprite& s : catalogue)
        clearSprite(s);
}

