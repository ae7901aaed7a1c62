#include <algorithm>
#include <numeric>
#include <random>
#include <vector>
#include "draw/sprite_batch.h"
#include "sim/geometry.h"
#include "support/gl_window.h"

namespace {

// The back buffer, bottom-up RGBA.
std::vector<uint8_t> grabScreen()
{
    std::vector<uint8_t> rgba(PLAYFIELD_WIDTH * PLAYFIELD_HEIGHT * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

int textureChanges(const std::vector<QueuedSprite>& queue, const std::vector<int>& order)
{
    int changes = 0;
    for (size_t i = 1; i < order.size(); ++i)
        changes += queue[order[i]].sprite->texture != queue[order[i - 1]].sprite->texture ? 1 : 0;
    return changes;
}

int positionIn(const std::vector<int>& order, int index)
{
    return static_cast<int>(std::find(order.begin(), order.end(), index) - order.begin());
}

class SpriteBatchTest : public GlWindow {
protected:
    void SetUp() override
    {
        GlWindow::SetUp();
        sprites.reserve(MAX_SPRITES); // queues point into it
    }
    void TearDown() override
    {
        for (Sprite& s : sprites)
            clearSprite(s);
    }

    Sprite& makeSprite(int width, int height, const Colour& c)
    {
        EXPECT_LT(sprites.size(), static_cast<size_t>(MAX_SPRITES));
        sprites.emplace_back();
        setSprite(sprites.back(), solidTexture(width, height, c));
        return sprites.back();
    }

    void drawInQueuedOrder(const std::vector<QueuedSprite>& queue)
    {
        for (const QueuedSprite& q : queue)
            q.rotated ? drawSpriteRotated(*q.sprite, q.x, q.y, degreesOf(q.angle)) : drawSprite(*q.sprite, q.x, q.y);
    }

    static constexpr int MAX_SPRITES = 8;
    std::vector<Sprite> sprites;
};

TEST_F(SpriteBatchTest, SpritesApartAreGroupedByTextureInQueuedOrder)
{
    const Sprite& a = makeSprite(8, 8, makeColour(255, 0, 0, 255));
    const Sprite& b = makeSprite(8, 8, makeColour(0, 255, 0, 255));
    const Sprite empty;
    SpriteBatch batch;
    std::vector<QueuedSprite>& queue = batch.sprites;
    for (int i = 0; i < 6; ++i)
        queueSprite(batch, i % 2 ? b : a, 100 + 40 * i, 100);
    queueSprite(batch, empty, 500, 100);
    queueSpriteRotated(batch, empty, 500, 100, 1.0);
    ASSERT_EQ(queue.size(), 6u) << "empty sprites are left out";

    const std::vector<int> order = textureGroupedOrder(batch);
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(textureChanges(queue, order), 1);
    for (int i = 0; i + 2 < 6; ++i)
        EXPECT_LT(positionIn(order, i), positionIn(order, i + 2)) << "one texture keeps its queued order";
}

TEST_F(SpriteBatchTest, OverlappingSpritesKeepTheirQueuedOrder)
{
    const Sprite& a = makeSprite(10, 10, makeColour(255, 0, 0, 255));
    const Sprite& b = makeSprite(10, 10, makeColour(0, 255, 0, 255));
    const Sprite& square = makeSprite(20, 20, makeColour(0, 0, 255, 255));
    const Sprite& dot = makeSprite(2, 2, makeColour(255, 255, 0, 255));
    SpriteBatch batch;
    queueSprite(batch, a, 100, 100); // 0
    queueSprite(batch, b, 106, 100); // 1 over 0
    queueSprite(batch, a, 112, 100); // 2 over 1
    queueSprite(batch, a, 600, 600); // 3 apart from all
    queueSprite(batch, dot, 314, 300); // 4: only a corner of the turned square reaches it
    queueSpriteRotated(batch, square, 300, 300, PI / 4); // 5
    queueSprite(batch, b, 700, 100); // 6 apart

    const std::vector<int> order = textureGroupedOrder(batch);
    EXPECT_LT(positionIn(order, 0), positionIn(order, 1));
    EXPECT_LT(positionIn(order, 1), positionIn(order, 2));
    EXPECT_LT(positionIn(order, 4), positionIn(order, 5));
    EXPECT_LT(positionIn(order, 3), positionIn(order, 1)) << "the lone sprite joins the first group of its texture";
    EXPECT_LT(positionIn(order, 6), positionIn(order, 2));
}

// Crowded, half-transparent and partly turned sprites: any pair drawn in the
// wrong order would change a pixel.
TEST_F(SpriteBatchTest, GroupedDrawingLooksExactlyLikeQueuedOrder)
{
    const Sprite* kinds[3] = {&makeSprite(6, 6, makeColour(255, 40, 0, 140)),
                              &makeSprite(18, 8, makeColour(0, 200, 255, 120)),
                              &makeSprite(11, 17, makeColour(90, 255, 60, 160))};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> place(0, 240);
    std::uniform_real_distribution<double> turn(0.0, 2 * PI);
    SpriteBatch batch;
    std::vector<QueuedSprite>& queue = batch.sprites;
    for (int i = 0; i < 600; ++i) {
        const Sprite& s = *kinds[i % 3];
        if (i % 2)
            queueSpriteRotated(batch, s, 300 + place(random), 200 + place(random), turn(random));
        else
            queueSprite(batch, s, 300 + place(random), 200 + place(random));
    }

    clearScreen();
    drawInQueuedOrder(queue);
    const std::vector<uint8_t> queued = grabScreen();
    clearScreen();
    const std::vector<QueuedSprite> queuedCopy = queue;
    drawBatch(batch);
    EXPECT_TRUE(queue.empty()) << "a drawn batch starts the next frame empty";
    queue = queuedCopy;
    const std::vector<uint8_t> grouped = grabScreen();
    EXPECT_TRUE(queued == grouped);

    // The scene is one where order shows: sorted by texture alone, it differs.
    std::vector<QueuedSprite> byTexture = queue;
    std::stable_sort(byTexture.begin(), byTexture.end(), [](const QueuedSprite& x, const QueuedSprite& y) {
        return x.sprite->texture->slot < y.sprite->texture->slot;
    });
    clearScreen();
    drawInQueuedOrder(byTexture);
    EXPECT_FALSE(queued == grabScreen());
    std::vector<int> inOrder(queue.size());
    std::iota(inOrder.begin(), inOrder.end(), 0);
    EXPECT_LT(textureChanges(queue, textureGroupedOrder(batch)), textureChanges(queue, inOrder));
}

} // namespace
