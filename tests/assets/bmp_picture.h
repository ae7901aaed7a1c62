// A catalogue BMP read straight from the game folder with SDL_LoadBMP, as
// plain RGB values, for checking the generated pictures.
#pragma once
#include <SDL/SDL.h>
#include <cmath>
#include <string>
#include <vector>

struct Rgb8 {
    uint8_t r = 0, g = 0, b = 0;
};

struct BmpPicture {
    bool loaded = false;
    int bitsPerPixel = 0;
    int width = 0, height = 0;
    std::vector<Rgb8> pixels; // row by row, top row first

    const Rgb8& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool transparent(int x, int y) const
    {
        const Rgb8& p = at(x, y);
        return p.r == 255 && p.g == 0 && p.b == 255;
    }
    bool solid(int x, int y) const { return !transparent(x, y); }
    // Distance of a pixel's centre from the picture's centre, where the game
    // places the picture (the halves truncated, as for a sprite).
    double distanceFromCentre(int x, int y) const
    {
        return std::hypot(x + 0.5 - width / 2, y + 0.5 - height / 2);
    }
};

inline BmpPicture loadBmpPicture(const std::string& path)
{
    BmpPicture picture;
    SDL_Surface* surface = SDL_LoadBMP(path.c_str());
    if (!surface)
        return picture;
    picture.loaded = true;
    picture.bitsPerPixel = surface->format->BitsPerPixel;
    picture.width = surface->w;
    picture.height = surface->h;
    SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            const uint8_t* p = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * bytes;
            Uint32 value = 0;
            for (int i = 0; i < bytes; ++i)
                value |= static_cast<Uint32>(p[i]) << (8 * i);
            Rgb8 c;
            SDL_GetRGB(value, surface->format, &c.r, &c.g, &c.b);
            picture.pixels.push_back(c);
        }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return picture;
}
