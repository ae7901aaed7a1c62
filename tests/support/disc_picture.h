// A filled disc picture, standing in for ship and planet images in tests
// and benchmarks that run without a window.
#pragma once
#include <cstdint>
#include <vector>
#include "sim/collision_mask.h"

// An opaque disc on a transparent square picture of side 2 * radius + 1.
struct DiscPicture {
    std::vector<uint8_t> rgba;
    Picture picture;

    explicit DiscPicture(int radius)
    {
        const int side = 2 * radius + 1;
        rgba.assign(static_cast<size_t>(side) * side * 4, 0);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int dx = x - radius;
                const int dy = y - radius;
                if (dx * dx + dy * dy <= radius * radius)
                    rgba[(x + y * side) * 4 + 3] = 255;
            }
        picture = Picture{side, side, side, rgba.data()};
    }
};
