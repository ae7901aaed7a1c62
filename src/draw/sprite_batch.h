// Sprites queued for drawing and drawn grouped by texture. Switching textures
// is what costs most per sprite in a software OpenGL (each switch copies the
// whole sampler state), so a screenful of shots drawn in pool order, where
// kinds alternate, costs several times more than the same shots grouped.
#pragma once
#include <vector>
#include "gfx/sprite.h"

struct QueuedSprite {
    const Sprite* sprite = nullptr; // never one without a texture
    int x = 0, y = 0;               // centre, playfield pixels
    double angle = 0.0;             // radians, only when rotated
    bool rotated = false;
};

// Adds a sprite; an empty sprite draws nothing and is left out.
void queueSprite(std::vector<QueuedSprite>& queue, const Sprite& s, int x, int y);
void queueSpriteRotated(std::vector<QueuedSprite>& queue, const Sprite& s, int x, int y, double angle);
// Indices into the queue in drawing order: sprites of one texture together,
// except that two sprites that may share a pixel keep their queued order, so
// the picture is exactly that of drawing the queue in order.
std::vector<int> textureGroupedOrder(const std::vector<QueuedSprite>& queue);
// Draws the whole queue in textureGroupedOrder.
void drawQueue(const std::vector<QueuedSprite>& queue);
