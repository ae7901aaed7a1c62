// RGBA textures with a CPU copy, the 256 slots, and the 96-image catalogue.
#pragma once
#include <cstdint>
#include "gfx/video.h"

struct SDL_Surface;

struct Colour {
    uint8_t red = 0, green = 0, blue = 0, alpha = 0;
};

struct Texture {
    uint32_t width = 0, height = 0;
    int32_t textureWidth = 0, textureHeight = 0; // padded to powers of two
    int32_t slot = 0;
    uint8_t* pixels = nullptr; // textureWidth * textureHeight * 4, rows top-down, RGBA
};

struct Sprite {
    Texture* texture = nullptr;
    uint32_t halfWidth = 0;  // width >> 1
    uint32_t halfHeight = 0;
};

constexpr int CATALOGUE_SIZE = 96;
extern Sprite catalogue[CATALOGUE_SIZE];
extern const char* const CATALOGUE_FILES[CATALOGUE_SIZE];

Colour makeColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
bool sameColour(const Colour& a, const Colour& b);
Texture* createTexture(uint32_t width, uint32_t height);
void freeTexture(Texture* t);
int32_t nextPowerOfTwo(uint32_t n);
int findFreeSlot();
int liveTextureCount();
void selectPixelTexture(Texture* t);
void setPixel(int x, int y, const Colour& c);
Colour getPixel(int x, int y, const Texture* t);
void uploadTexture();
void replaceColour(Texture* t, const Colour& from, const Colour& to);
Texture* loadBmpTexture(const char* path);
Texture* textureFromSurface(SDL_Surface* surface);
Colour getSurfacePixel(SDL_Surface* surface, int x, int y);
// A rectangle of the back buffer, in window pixels with a top-left origin.
Texture* captureScreen(int x, int y, int width, int height);
void setSprite(Sprite& s, Texture* t);
// Frees the sprite's texture (if any) and empties it.
void clearSprite(Sprite& s);
// Loads the 96 images and keys magenta out. On failure returns false and sets
// failedPath to the file that could not be loaded.
bool loadTextureCatalogue(const char** failedPath);
void freeTextureCatalogue();
