#include "draw/scene.h"

#include <cassert>
#include <cmath>
#include "draw/hud.h"
#include "draw/shots.h"
#include "gfx/sprite.h"

constexpr int PLAYFIELD_CENTRE_X = 512;
constexpr int PLAYFIELD_CENTRE_Y = 384;
constexpr int AIM_MARKER_TEXTURES[PLAYER_COUNT] = {67, 68}; // blue, red
constexpr int POINTER_FIRST_TEXTURES[PLAYER_COUNT] = {21, 25};
constexpr int POINTER_CORNER_GAP_PX = 10;
constexpr int POINTER_EDGE_GAP_PX = 4; // half the 8 px left open around the ship's coordinate

// The four pieces of each player's pointer, in catalogue order after the first.
enum PointerPiece { TOP_LEFT = 0, TOP_RIGHT = 1, BOTTOM_LEFT = 2, BOTTOM_RIGHT = 3 };

void drawMap(const GameMap& map, const AnimationFrames& frames, const Body bodies[], int32_t nowMs)
{
    drawSprite(catalogue[map.background], PLAYFIELD_CENTRE_X, PLAYFIELD_CENTRE_Y);
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        assert(planet.bodySlot >= 0 && planet.bodySlot < map.planetCount);
        const Vec2& at = bodies[planet.bodySlot].position;
        drawSprite(catalogue[textureAt(planet.anim, frames, nowMs)], worldToPixel(at.x), worldToPixel(at.y));
    }
}

// Edges included: a ship exactly on the view's border is still drawn as a ship.
static bool insideView(const WorldRect& view, const Vec2& p)
{
    return view.x <= p.x && p.x <= view.x + view.w && view.y <= p.y && p.y <= view.y + view.h;
}

// The view's edges in playfield pixels.
struct PixelEdges {
    int left, top, right, bottom;
};

static PixelEdges pixelEdgesOf(const WorldRect& view)
{
    return PixelEdges{worldToPixel(view.x), worldToPixel(view.y), worldToPixel(view.x + view.w),
                      worldToPixel(view.y + view.h)};
}

struct PlacedPiece {
    int piece;
    int x, y;
};

// The two pieces of the arrow at the edge nearest a ship outside the view: at
// a corner each sits against one edge, shifted along it; along an edge they
// flank the ship's coordinate.
static void placePointer(const Sprite pieces[4], const Vec2& p, const WorldRect& view, PlacedPiece placed[2])
{
    const PixelEdges e = pixelEdgesOf(view);
    const int sx = worldToPixel(p.x);
    const int sy = worldToPixel(p.y);
    const auto w = [&](int piece) { return static_cast<int>(pieces[piece].halfWidth); };
    const auto h = [&](int piece) { return static_cast<int>(pieces[piece].halfHeight); };
    const int gap = POINTER_CORNER_GAP_PX;
    const int edgeGap = POINTER_EDGE_GAP_PX;
    const bool left = p.x < view.x;
    const bool right = p.x > view.x + view.w;
    const bool above = p.y < view.y;
    const bool below = p.y > view.y + view.h;
    // Only this corner counts a ship lying exactly on the bottom edge as below.
    const bool belowOrOnEdge = p.y >= view.y + view.h;
    if (left && above) {
        placed[0] = {TOP_RIGHT, w(TOP_RIGHT) + gap, e.top + h(TOP_RIGHT)};
        placed[1] = {BOTTOM_LEFT, w(BOTTOM_LEFT), e.top + gap + h(BOTTOM_LEFT)};
    } else if (left && below) {
        placed[0] = {TOP_LEFT, w(TOP_LEFT), e.bottom - h(TOP_LEFT) - gap};
        placed[1] = {BOTTOM_RIGHT, w(BOTTOM_RIGHT) + gap, e.bottom - h(BOTTOM_RIGHT)};
    } else if (right && above) {
        placed[0] = {TOP_LEFT, e.right - w(TOP_LEFT) - gap, e.top + h(TOP_LEFT)};
        placed[1] = {BOTTOM_RIGHT, e.right - w(BOTTOM_RIGHT), e.top + gap + h(BOTTOM_RIGHT)};
    } else if (right && belowOrOnEdge) {
        placed[0] = {TOP_RIGHT, e.right - w(TOP_RIGHT), e.bottom - h(TOP_RIGHT) - gap};
        placed[1] = {BOTTOM_LEFT, e.right - w(BOTTOM_LEFT) - gap, e.bottom - h(BOTTOM_LEFT)};
    } else if (above) {
        placed[0] = {TOP_RIGHT, sx - w(TOP_RIGHT) - edgeGap, e.top + h(TOP_RIGHT)};
        placed[1] = {TOP_LEFT, sx + w(TOP_LEFT) + edgeGap, e.top + h(TOP_LEFT)};
    } else if (left) {
        placed[0] = {BOTTOM_LEFT, w(BOTTOM_LEFT), sy - h(BOTTOM_LEFT) - edgeGap};
        placed[1] = {TOP_LEFT, w(TOP_LEFT), sy + h(TOP_LEFT) + edgeGap};
    } else if (below) {
        placed[0] = {BOTTOM_RIGHT, sx - w(BOTTOM_RIGHT) - edgeGap, e.bottom - h(BOTTOM_RIGHT)};
        placed[1] = {BOTTOM_LEFT, sx + w(BOTTOM_LEFT) + edgeGap, e.bottom - h(BOTTOM_LEFT)};
    } else {
        placed[0] = {BOTTOM_RIGHT, e.right - w(BOTTOM_RIGHT), sy - h(BOTTOM_RIGHT) - edgeGap};
        placed[1] = {TOP_RIGHT, e.right - w(TOP_RIGHT), sy + h(TOP_RIGHT) + edgeGap};
    }
}

static void drawPointer(int playerIndex, const Vec2& position, const WorldRect& view)
{
    const Sprite* pieces = &catalogue[POINTER_FIRST_TEXTURES[playerIndex]];
    PlacedPiece placed[2];
    placePointer(pieces, position, view, placed);
    setDrawColour(makeColour(255, 255, 255, POINTER_ALPHA));
    for (const PlacedPiece& piece : placed)
        drawSprite(pieces[piece.piece], piece.x, piece.y);
    setDrawColour(baseColour);
}

static void drawAliveShip(const Player& p, int playerIndex, const PlayerControls& c, const AnimationFrames& frames,
                          int32_t nowMs, const WorldRect& view)
{
    const Vec2& at = p.body.position;
    if (!insideView(view, at)) {
        drawPointer(playerIndex, at, view);
        return;
    }
    const Animation& anim = (c.thrust || c.boostForward) ? p.thrustAnim : p.shipSprite;
    const double heading = p.body.heading.angle;
    drawSpriteRotated(catalogue[textureAt(anim, frames, nowMs)], worldToPixel(at.x), worldToPixel(at.y),
                      degreesOf(heading));
    const double aimX = at.x + AIM_MARKER_DISTANCE * std::cos(heading);
    const double aimY = at.y + AIM_MARKER_DISTANCE * std::sin(heading);
    drawSprite(catalogue[AIM_MARKER_TEXTURES[playerIndex]], worldToPixel(aimX), worldToPixel(aimY));
}

void drawShips(const Player players[], int count, const ControlState& controls, const AnimationFrames& frames,
               int32_t nowMs, const WorldRect& view)
{
    assert(count >= 0 && count <= PLAYER_COUNT);
    for (int i = 0; i < count; ++i) {
        const Player& p = players[i];
        if (p.lifeState == ALIVE) {
            drawAliveShip(p, i, controls.players[i], frames, nowMs, view);
        } else if (p.lifeState == EXPLODING) {
            const Vec2& at = p.body.position;
            drawSprite(catalogue[textureAt(p.deathAnim, frames, nowMs)], worldToPixel(at.x), worldToPixel(at.y));
        }
    }
}

void drawBanner(const Sprite& banner, int32_t bannerTimer)
{
    if (bannerTimer <= 0)
        return;
    const bool fading = bannerTimer < BANNER_FADE_MS;
    if (fading) {
        const auto alpha = static_cast<uint8_t>(static_cast<double>(bannerTimer) / BANNER_FADE_MS * 255.0);
        setDrawColour(makeColour(255, 255, 255, alpha));
    }
    drawSprite(banner, BANNER_X, BANNER_Y);
    if (fading)
        setDrawColour(baseColour);
}

void drawMatchFrame(const MatchState& m, const MatchContent& c, const MatchTexts& texts, int32_t nowMs)
{
    clearScreen();
    const GameMap& map = currentMap(m, c);
    drawMap(map, c.frames, m.planetBodies, nowMs);
    drawShips(m.players, PLAYER_COUNT, m.controls, c.frames, nowMs, m.arenaRect);
    drawShots(SHOT_POOL_SIZE, m.explosions, m.projectiles, m.planetBodies, map, m.players, c.frames, nowMs);
    drawBanner(texts.banner, m.bannerTimer);
    drawHud(m.players, texts);
}
