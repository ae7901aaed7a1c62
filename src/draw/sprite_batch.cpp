#include "draw/sprite_batch.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include "sim/geometry.h"

constexpr int GRID_CELL_PX = 32;
constexpr int GRID_COLUMNS = PLAYFIELD_WIDTH / GRID_CELL_PX;
constexpr int GRID_ROWS = PLAYFIELD_HEIGHT / GRID_CELL_PX;
constexpr int BOX_MARGIN_PX = 1; // rounding of turned corners
constexpr uint64_t INDEX_MASK = (1u << 20) - 1; // queue positions in a sort key

void queueSprite(SpriteBatch& batch, const Sprite& s, int x, int y)
{
    if (s.texture)
        batch.sprites.push_back(QueuedSprite{&s, x, y, 0.0, false});
}

void queueSpriteRotated(SpriteBatch& batch, const Sprite& s, int x, int y, double angle)
{
    if (s.texture)
        batch.sprites.push_back(QueuedSprite{&s, x, y, angle, true});
}

// With a margin for the rounding of turned corners.
static PixelBox boxOf(const QueuedSprite& q)
{
    const Sprite& s = *q.sprite;
    const int left = q.x - static_cast<int>(s.halfWidth);
    const int top = q.y - static_cast<int>(s.halfHeight);
    const int width = static_cast<int>(s.texture->width);
    const int height = static_cast<int>(s.texture->height);
    if (!q.rotated)
        return PixelBox{left - BOX_MARGIN_PX, top - BOX_MARGIN_PX, left + width + BOX_MARGIN_PX,
                        top + height + BOX_MARGIN_PX};
    // Turned about its centre, no corner lies farther than the farthest unturned one.
    const double dx = std::max<double>(s.halfWidth, width - static_cast<int>(s.halfWidth));
    const double dy = std::max<double>(s.halfHeight, height - static_cast<int>(s.halfHeight));
    const int reach = static_cast<int>(std::ceil(std::sqrt(dx * dx + dy * dy))) + BOX_MARGIN_PX;
    return PixelBox{q.x - reach, q.y - reach, q.x + reach, q.y + reach};
}

static bool overlap(const PixelBox& a, const PixelBox& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

static int clampedCell(int px, int cells) { return std::clamp(px / GRID_CELL_PX, 0, cells - 1); }

template <typename Visit>
static void forEachCell(const PixelBox& b, Visit visit)
{
    // Boxes off the playfield fall into the border cells, which keeps overlapping boxes in a shared cell.
    for (int row = clampedCell(b.top, GRID_ROWS); row <= clampedCell(b.bottom, GRID_ROWS); ++row)
        for (int column = clampedCell(b.left, GRID_COLUMNS); column <= clampedCell(b.right, GRID_COLUMNS); ++column)
            visit(row * GRID_COLUMNS + column);
}

// A sprite's layer: not below that of any earlier sprite it may overlap, and
// above it when their textures differ. Within a layer, sprites of different
// textures never overlap. Earlier sprites are filed under each grid cell their
// box touches, so the overlap search looks only near each sprite.
static void assignLayers(SpriteBatch& b)
{
    const int n = static_cast<int>(b.sprites.size());
    b.boxes.resize(n);
    b.layers.assign(n, 0);
    b.cellHeads.assign(GRID_COLUMNS * GRID_ROWS, -1);
    b.entrySprites.clear();
    b.entryNext.clear();
    for (int i = 0; i < n; ++i) {
        b.boxes[i] = boxOf(b.sprites[i]);
        forEachCell(b.boxes[i], [&b, i](int cell) {
            for (int e = b.cellHeads[cell]; e != -1; e = b.entryNext[e]) {
                const int j = b.entrySprites[e];
                if (!overlap(b.boxes[i], b.boxes[j]))
                    continue;
                const bool sameTexture = b.sprites[j].sprite->texture == b.sprites[i].sprite->texture;
                b.layers[i] = std::max(b.layers[i], b.layers[j] + (sameTexture ? 0 : 1));
            }
        });
        forEachCell(b.boxes[i], [&b, i](int cell) {
            b.entrySprites.push_back(i);
            b.entryNext.push_back(b.cellHeads[cell]);
            b.cellHeads[cell] = static_cast<int>(b.entrySprites.size()) - 1;
        });
    }
}

const std::vector<int>& textureGroupedOrder(SpriteBatch& b)
{
    assert(b.sprites.size() <= INDEX_MASK);
    assignLayers(b);
    // Layer, then texture slot, then queued order, so overlapping sprites of
    // one texture keep theirs; packed in one number, as sorting is per frame.
    const size_t n = b.sprites.size();
    b.keys.resize(n);
    for (size_t i = 0; i < n; ++i)
        b.keys[i] = static_cast<uint64_t>(b.layers[i]) << 40 |
                    static_cast<uint64_t>(b.sprites[i].sprite->texture->slot) << 20 | i;
    std::sort(b.keys.begin(), b.keys.end());
    b.order.resize(n);
    for (size_t i = 0; i < n; ++i)
        b.order[i] = static_cast<int>(b.keys[i] & INDEX_MASK);
    return b.order;
}

void drawBatch(SpriteBatch& b)
{
    for (const int i : textureGroupedOrder(b)) {
        const QueuedSprite& q = b.sprites[i];
        assert(q.sprite && q.sprite->texture);
        if (q.rotated)
            drawSpriteRotated(*q.sprite, q.x, q.y, degreesOf(q.angle));
        else
            drawSprite(*q.sprite, q.x, q.y);
    }
    b.sprites.clear();
}
