// Sprites queued for drawing and drawn grouped by texture. Switching textures
// is what costs most per sprite in a software OpenGL (each switch copies the
// whole sampler state), so a screenful of shots drawn in pool order, where
// kinds alternate, costs several times more than the same shots grouped.
#pragma once
#include <cstdint>
#include <vector>
#include "gfx/sprite.h"

struct QueuedSprite {
    const Sprite* sprite = nullptr; // never one without a texture
    int x = 0, y = 0;               // centre, playfield pixels
    double angle = 0.0;             // radians, only when rotated
    bool rotated = false;
};

// Pixels a sprite may touch, inclusive.
struct PixelBox {
    int left, top, right, bottom;
};

// The queue and the working space for ordering it. Kept from frame to frame
// and only cleared, so once its vectors have grown drawing allocates nothing.
struct SpriteBatch {
    std::vector<QueuedSprite> sprites;
    std::vector<PixelBox> boxes;
    std::vector<int> layers;
    std::vector<int> cellHeads; // first grid entry per cell, -1 for none
    std::vector<int> entrySprites, entryNext; // grid entries as linked lists
    std::vector<uint64_t> keys;
    std::vector<int> order;
};

// Adds a sprite; an empty sprite draws nothing and is left out.
void queueSprite(SpriteBatch& batch, const Sprite& s, int x, int y);
void queueSpriteRotated(SpriteBatch& batch, const Sprite& s, int x, int y, double angle);
// Indices into batch.sprites in drawing order: sprites of one texture
// together, except that two sprites that may share a pixel keep their queued
// order, so the picture is exactly that of drawing the queue in order.
const std::vector<int>& textureGroupedOrder(SpriteBatch& batch);
// Draws the whole queue in textureGroupedOrder and empties it.
void drawBatch(SpriteBatch& batch);
