#include "draw/sprite_batch.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>

constexpr int GRID_CELL_PX = 32;
constexpr int GRID_COLUMNS = PLAYFIELD_WIDTH / GRID_CELL_PX;
constexpr int GRID_ROWS = PLAYFIELD_HEIGHT / GRID_CELL_PX;
constexpr int BOX_MARGIN_PX = 1; // rounding of turned corners
constexpr uint64_t INDEX_MASK = (1u << 20) - 1; // queue positions in a sort key

void queueSprite(std::vector<QueuedSprite>& queue, const Sprite& s, int x, int y)
{
    if (s.texture)
        queue.push_back(QueuedSprite{&s, x, y, 0.0, false});
}

void queueSpriteRotated(std::vector<QueuedSprite>& queue, const Sprite& s, int x, int y, double angle)
{
    if (s.texture)
        queue.push_back(QueuedSprite{&s, x, y, angle, true});
}

// Pixels a sprite may touch, inclusive, with a margin.
struct PixelBox {
    int left, top, right, bottom;
};

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

// Earlier sprites filed under each grid cell their box touches, as linked
// lists in one array, so the overlap search looks only near each sprite.
struct SpriteGrid {
    struct Entry {
        int sprite, next;
    };
    std::vector<int> head = std::vector<int>(GRID_COLUMNS * GRID_ROWS, -1);
    std::vector<Entry> entries;
};

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
// textures never overlap.
static std::vector<int> layersOf(const std::vector<QueuedSprite>& queue)
{
    const int n = static_cast<int>(queue.size());
    std::vector<PixelBox> boxes(n);
    std::vector<int> layers(n, 0);
    SpriteGrid grid;
    grid.entries.reserve(queue.size() * 2);
    for (int i = 0; i < n; ++i) {
        boxes[i] = boxOf(queue[i]);
        forEachCell(boxes[i], [&](int cell) {
            for (int e = grid.head[cell]; e != -1; e = grid.entries[e].next) {
                const int j = grid.entries[e].sprite;
                if (!overlap(boxes[i], boxes[j]))
                    continue;
                const bool sameTexture = queue[j].sprite->texture == queue[i].sprite->texture;
                layers[i] = std::max(layers[i], layers[j] + (sameTexture ? 0 : 1));
            }
        });
        forEachCell(boxes[i], [&](int cell) {
            grid.entries.push_back(SpriteGrid::Entry{i, grid.head[cell]});
            grid.head[cell] = static_cast<int>(grid.entries.size()) - 1;
        });
    }
    return layers;
}

std::vector<int> textureGroupedOrder(const std::vector<QueuedSprite>& queue)
{
    assert(queue.size() <= INDEX_MASK);
    const std::vector<int> layers = layersOf(queue);
    // Layer, then texture slot, then queued order, so overlapping sprites of
    // one texture keep theirs; packed in one number, as sorting is per frame.
    std::vector<uint64_t> keys(queue.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = static_cast<uint64_t>(layers[i]) << 40 |
                  static_cast<uint64_t>(queue[i].sprite->texture->slot) << 20 | i;
    std::sort(keys.begin(), keys.end());
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        order[i] = static_cast<int>(keys[i] & INDEX_MASK);
    return order;
}

void drawQueue(const std::vector<QueuedSprite>& queue)
{
    for (const int i : textureGroupedOrder(queue)) {
        const QueuedSprite& q = queue[i];
        assert(q.sprite && q.sprite->texture);
        if (q.rotated)
            drawSpriteRotated(*q.sprite, q.x, q.y, q.angle);
        else
            drawSprite(*q.sprite, q.x, q.y);
    }
}
