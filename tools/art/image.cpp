#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double SOLID_FROM = 0.5;

unsigned char toByte(double v)
{
    return static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L));
}

void putLe16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void putLe32(std::vector<unsigned char>& out, unsigned v)
{
    putLe16(out, v & 0xffff);
    putLe16(out, v >> 16);
}

} // namespace

Rgb operator+(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb mix(const Rgb& a, const Rgb& b, double t) { return a * (1.0 - t) + b * t; }
Rgb lighten(const Rgb& base, const Rgb& light, double amount) { return base + light * amount; }

Image makeImage(int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    image.colour.assign(static_cast<size_t>(width) * height, Rgb{});
    image.cover.assign(static_cast<size_t>(width) * height, 0.0);
    return image;
}

bool inside(const Image& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

bool isSolid(const Image& image, int x, int y)
{
    return inside(image, x, y) && image.cover[y * image.width + x] >= SOLID_FROM;
}

Rgb colourAt(const Image& image, int x, int y)
{
    return image.colour[y * image.width + x];
}

void paint(Image& image, int x, int y, const Rgb& c, double amount)
{
    if (!inside(image, x, y) || amount <= 0.0)
        return;
    amount = std::min(amount, 1.0);
    const size_t i = static_cast<size_t>(y) * image.width + x;
    const double old = image.cover[i];
    // Over an empty pixel the colour is taken whole: coverage alone decides
    // whether it shows, since the file has no partial transparency.
    image.colour[i] = old <= 0.0 ? c : mix(image.colour[i], c, amount);
    image.cover[i] = old + amount * (1.0 - old);
}

void glow(Image& image, int x, int y, const Rgb& light, double amount)
{
    if (!inside(image, x, y) || amount <= 0.0)
        return;
    const size_t i = static_cast<size_t>(y) * image.width + x;
    image.colour[i] = image.colour[i] + light * amount;
    image.cover[i] = std::min(1.0, image.cover[i] + amount);
}

void clearPixel(Image& image, int x, int y)
{
    if (!inside(image, x, y))
        return;
    const size_t i = static_cast<size_t>(y) * image.width + x;
    image.colour[i] = Rgb{};
    image.cover[i] = 0.0;
}

void blit(Image& dst, const Image& src, int x, int y)
{
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            const size_t i = static_cast<size_t>(sy) * src.width + sx;
            paint(dst, x + sx, y + sy, src.colour[i], src.cover[i]);
        }
}

void liftDarkPixels(Image& image, double minChannel)
{
    for (size_t i = 0; i < image.colour.size(); ++i) {
        if (image.cover[i] < SOLID_FROM)
            continue;
        Rgb& c = image.colour[i];
        const double top = std::max({c.r, c.g, c.b});
        if (top < minChannel)
            c = top <= 0.0 ? Rgb{minChannel, minChannel, minChannel}
                           : c * (minChannel / top);
    }
}

Bgr8 finalPixel(const Image& image, int x, int y)
{
    if (!isSolid(image, x, y))
        return {255, 0, 255};
    const Rgb& c = colourAt(image, x, y);
    Bgr8 out{toByte(c.b), toByte(c.g), toByte(c.r)};
    // A solid pixel must never read as the transparent colour.
    if (out.r == 255 && out.g == 0 && out.b == 255)
        out.r = 254;
    return out;
}

bool writeBmp(const Image& image, const std::string& path)
{
    const unsigned rowBytes = (image.width * 3 + 3) & ~3u;
    const unsigned dataBytes = rowBytes * image.height;
    const unsigned headerBytes = 14 + 40;
    std::vector<unsigned char> out;
    out.reserve(headerBytes + dataBytes);
    out.push_back('B');
    out.push_back('M');
    putLe32(out, headerBytes + dataBytes);
    putLe32(out, 0);
    putLe32(out, headerBytes);
    putLe32(out, 40);
    putLe32(out, image.width);
    putLe32(out, image.height); // positive: rows stored bottom-up
    putLe16(out, 1);
    putLe16(out, 24);
    putLe32(out, 0); // no compression
    putLe32(out, dataBytes);
    putLe32(out, 2835); // 72 dpi
    putLe32(out, 2835);
    putLe32(out, 0);
    putLe32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Bgr8 p = finalPixel(image, x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (unsigned pad = image.width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
