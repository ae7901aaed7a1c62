// Pixel-exact collision masks and the five blast discs.
#pragma once
#include <cstdint>
#include <vector>
#include "sim/geometry.h"

// An RGBA picture in memory (a texture's CPU copy); alpha 0 is transparent.
struct Picture {
    int width = 0;
    int height = 0;
    int rowTexels = 0; // texels per row in rgba (a texture's padded width)
    const uint8_t* rgba = nullptr;
};

struct CollisionMask {
    int32_t width = 0;   // trimmed size in pixels; 0 or less = never solid
    int32_t height = 0;
    int32_t offsetX = 0; // from the mask's left/top edge to its placement point
    int32_t offsetY = 0;
    std::vector<uint8_t> cells; // width * height, 1 = solid
};

constexpr int BLAST_MASK_COUNT = 5;

CollisionMask buildMask(const Picture& picture);
CollisionMask emptyMask();
void buildBlastMasks(CollisionMask masks[BLAST_MASK_COUNT]);
// Centres and points in pixels.
bool pointInMask(const Vec2& centre, const CollisionMask& mask, const Vec2& point);
bool masksOverlap(const Vec2& centreA, const CollisionMask& a, const Vec2& centreB, const CollisionMask& b);
bool withinRange(const Vec2& a, const Vec2& b, double reach);
