// What the music and the sound effects are both made of: white noise the
// same on every machine and run, and a band-limited sawtooth.
#pragma once
#include <cstddef>
#include <cstdint>

// White noise in -1..1, depending only on the frame and a seed.
inline float noiseAt(size_t frame, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(frame) * 0x9E3779B1u ^ seed * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h / 2147483648.0 - 1.0);
}

// A band-limited sawtooth (polyBLEP) for phase in 0..1 advanced by step a frame.
inline double sawtooth(double phase, double step)
{
    double value = 2.0 * phase - 1.0;
    if (phase < step) {
        const double t = phase / step;
        value -= t + t - t * t - 1.0;
    } else if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        value -= t * t + t + t + 1.0;
    }
    return value;
}
