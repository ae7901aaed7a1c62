// The game's desktop icon: two ships duelling over a planet, on a round
// badge of deep space. Drawn for any size from the same design.
#pragma once
#include <vector>
#include "image.h"

Image drawIcon(int size);
// Straight (not premultiplied) 8-bit RGBA, top row first; uncovered pixels
// are fully transparent.
std::vector<unsigned char> toRgba(const Image& image);
