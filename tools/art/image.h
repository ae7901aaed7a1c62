// An RGB picture with per-pixel coverage, written as a 24-bit BMP whose
// uncovered pixels become the game's one transparent colour, magenta.
#pragma once
#include <string>
#include <vector>

struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0; // 0..255, may overshoot before writing
};

Rgb operator+(const Rgb& a, const Rgb& b);
Rgb operator*(const Rgb& c, double k);
Rgb mix(const Rgb& a, const Rgb& b, double t); // t 0 gives a, 1 gives b
Rgb lighten(const Rgb& base, const Rgb& light, double amount); // additive light

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> colour;    // row by row, top row first
    std::vector<double> cover;  // 0 transparent .. 1 solid; solid from 0.5 on
};

Image makeImage(int width, int height);
bool inside(const Image& image, int x, int y);
bool isSolid(const Image& image, int x, int y);
Rgb colourAt(const Image& image, int x, int y);
// Lays colour over a pixel with the given coverage (0..1), like paint.
void paint(Image& image, int x, int y, const Rgb& c, double amount);
// Adds light to a pixel; a transparent pixel gains coverage with it.
void glow(Image& image, int x, int y, const Rgb& light, double amount);
// Keeps the picture's solid pixels and clears the rest.
void clearPixel(Image& image, int x, int y);
// Copies src onto dst with src's top-left corner at (x, y).
void blit(Image& dst, const Image& src, int x, int y);
// Raises every solid pixel to at least this brightness of its brightest
// channel, so that no solid pixel reads as (near) black.
void liftDarkPixels(Image& image, double minChannel);

// The 8-bit colour a pixel is written with; magenta only where not solid.
struct Bgr8 {
    unsigned char b = 0, g = 0, r = 0;
};
Bgr8 finalPixel(const Image& image, int x, int y);
bool writeBmp(const Image& image, const std::string& path);
