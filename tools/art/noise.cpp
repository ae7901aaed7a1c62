#include "noise.h"

#include <cmath>
#include <initializer_list>

namespace {

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }
double lerp(double a, double b, double t) { return a + (b - a) * t; }

} // namespace

uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u;
    for (const uint32_t v : {static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(z)}) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
    }
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

double unitHash(int32_t x, int32_t y, uint32_t seed)
{
    return hash3(x, y, 0, seed) / 4294967296.0;
}

double valueNoise2(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const double a = unitHash(ix, iy, seed), b = unitHash(ix + 1, iy, seed);
    const double c = unitHash(ix, iy + 1, seed), d = unitHash(ix + 1, iy + 1, seed);
    return lerp(lerp(a, b, tx), lerp(c, d, tx), ty);
}

double valueNoise3(double x, double y, double z, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy), iz = static_cast<int32_t>(fz);
    const double tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
    double layer[2];
    for (int k = 0; k < 2; ++k) {
        const auto at = [&](int dx, int dy) { return hash3(ix + dx, iy + dy, iz + k, seed) / 4294967296.0; };
        layer[k] = lerp(lerp(at(0, 0), at(1, 0), tx), lerp(at(0, 1), at(1, 1), tx), ty);
    }
    return lerp(layer[0], layer[1], tz);
}

double fractal2(double x, double y, int octaves, uint32_t seed)
{
    double sum = 0.0, weight = 1.0, total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise2(x, y, seed + i) * weight;
        total += weight;
        weight *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / total;
}

double fractal3(double x, double y, double z, int octaves, uint32_t seed)
{
    double sum = 0.0, weight = 1.0, total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise3(x, y, z, seed + i) * weight;
        total += weight;
        weight *= 0.5;
        x *= 2.03;
        y *= 2.03;
        z *= 2.03;
    }
    return sum / total;
}

double nextUnit(Scatter& s)
{
    return hash3(static_cast<int32_t>(s.index++), 0, 0, s.seed) / 4294967296.0;
}

double nextRange(Scatter& s, double low, double high)
{
    return low + (high - low) * nextUnit(s);
}
