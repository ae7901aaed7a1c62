#include "draw/shots.h"

#include <cassert>
#include "draw/sprite_batch.h"

// Where an impact shows, in world units: on the planet or ship it hit (turning
// with the ship), or where the shot went off.
static Vec2 impactPosition(const Explosion& e, const Projectile& shot, const Body bodies[],
                           const GameMap& map, const Player players[])
{
    if (e.hitPlanet != -1) {
        assert(e.hitPlanet >= 0 && e.hitPlanet < map.planetCount);
        const Vec2& centre = bodies[map.planets[e.hitPlanet].bodySlot].position;
        return Vec2{centre.x + xOf(e.impactOffset), centre.y + yOf(e.impactOffset)};
    }
    if (e.hitPlayer != -1) {
        assert(e.hitPlayer >= 0 && e.hitPlayer < PLAYER_COUNT);
        const ShipBody& ship = players[e.hitPlayer].body;
        PolarVec offset{e.impactOffset.length, 0.0};
        setAngle(offset, ship.heading.angle + e.impactOffset.angle);
        return Vec2{ship.position.x + xOf(offset), ship.position.y + yOf(offset)};
    }
    return shot.position;
}

// Grows to the busiest frame's needs once and is reused by every later frame.
static SpriteBatch shotBatch;

static void queueInFlight(SpriteBatch& batch, const Explosion& e, const Projectile& shot, const AnimationFrames& frames,
                          int32_t nowMs)
{
    const Sprite& sprite = catalogue[textureAt(e.flightAnim, frames, nowMs)];
    const int x = worldToPixel(shot.position.x);
    const int y = worldToPixel(shot.position.y);
    if (shot.orientByHeading == 1)
        queueSpriteRotated(batch, sprite, x, y, shot.heading.angle);
    else if (e.orientByVelocity)
        queueSpriteRotated(batch, sprite, x, y, velocityOf(shot).angle);
    else
        queueSprite(batch, sprite, x, y);
}

void drawShots(int count, const Explosion explosions[], const Projectile projectiles[], const Body bodies[],
               const GameMap& map, const Player players[], const AnimationFrames& frames, int32_t nowMs)
{
    assert(count >= 0 && count <= SHOT_POOL_SIZE);
    for (int i = 0; i < count; ++i) {
        const Projectile& shot = projectiles[i];
        const Explosion& e = explosions[i];
        if (!shot.active)
            continue;
        if (!e.exploding) {
            queueInFlight(shotBatch, e, shot, frames, nowMs);
        } else {
            const Vec2 at = impactPosition(e, shot, bodies, map, players);
            queueSprite(shotBatch, catalogue[textureAt(e.impactAnim, frames, nowMs)], worldToPixel(at.x),
                        worldToPixel(at.y));
        }
    }
    drawBatch(shotBatch);
}
