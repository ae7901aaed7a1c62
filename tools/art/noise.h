// Deterministic value noise: the same numbers on every run and machine.
#pragma once
#include <cstdint>

// A well-mixed 32-bit hash of integers.
uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed);
// Uniform in [0, 1).
double unitHash(int32_t x, int32_t y, uint32_t seed);
double valueNoise2(double x, double y, uint32_t seed);           // 0..1
double valueNoise3(double x, double y, double z, uint32_t seed); // 0..1
double fractal2(double x, double y, int octaves, uint32_t seed);
double fractal3(double x, double y, double z, int octaves, uint32_t seed);

// A small counter-based random stream for scattering things.
struct Scatter {
    uint32_t seed = 1;
    uint32_t index = 0;
};
double nextUnit(Scatter& s);                          // [0, 1)
double nextRange(Scatter& s, double low, double high); // [low, high)
