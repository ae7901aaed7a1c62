// White noise for the sound generators, the same on every machine and run.
#pragma once
#include <cstddef>
#include <cstdint>

// In -1..1, depending only on the frame and a seed.
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
