#include "content/ship_table.h"

namespace {

// The columns that are plain numbers, one row per ship. Lengths in pixels.
struct ShipValues {
    double mass;
    double turnRate; // radians per second
    double thrustForce;
    double boostForce;
    double hitRadiusPx;
    double maxHull;
    double maxShield;
    double shieldRegenRate;
    double shieldRepulsion;
    double maxEnergy;
    double energyRegenRate;
    double muzzleDistancePx[MUZZLE_COUNT];
    int32_t firstTexture;    // the rest picture, then its second frame and the two thrust pictures
    int32_t deathFrameMs;
};

// Muzzle 1 points backwards: weapons launched from it drop their shots behind the ship.
constexpr double MUZZLE_ANGLES[MUZZLE_COUNT] = {0.0, PI, 0.0};

constexpr ShipValues SHIP_VALUES[SHIP_COUNT] = {
    {350000.0, TWO_PI / 1.3, 120000000000000.0, 240000000000000.0, 12.0, 60.0, 8.0, 1.7, -3.5e29, 500.0,
     220.0, {13.0, 17.0, 15.0}, 5, 20},
    {250000.0, TWO_PI, 60000000000000.0, 220000000000000.0, 12.0, 100.0, 12.0, 2.0, -3.5e29, 300.0, 200.0,
     {12.0, 9.0, 20.0}, 9, 20},
    {920000.0, PI, 120000000000000.0, 300000000000000.0, 18.0, 140.0, 16.0, 2.5, -3.5e29, 700.0, 250.0,
     {14.0, 14.0, 20.0}, 13, 35},
    {120000.0, TWO_PI / 0.9, 32000000000000.0, 100000000000000.0, 8.0, 50.0, 7.0, 1.5, -3.5e29, 310.0, 120.0,
     {11.0, 12.0, 12.0}, 17, 20},
};

constexpr int SHIP_FRAME_MS = 200;
constexpr int THRUST_FRAME_MS = 100;
constexpr int BLANK_TEXTURE = 89;
constexpr int BLANK_AFTER_DEATH_MS = 500;

// The explosion pictures 36 down to 29, then the blank picture before respawn is possible.
Animation deathAnim(AnimationFrames& frames, int32_t frameMs)
{
    constexpr int EXPLOSION_FIRST_TEXTURE = 36;
    constexpr int EXPLOSION_FRAMES = 8;
    Animation a = makeAnimation(frames, EXPLOSION_FRAMES + 1, false);
    for (int i = 0; i < EXPLOSION_FRAMES; ++i)
        setFrame(frames, a, i, EXPLOSION_FIRST_TEXTURE - i, frameMs);
    setFrame(frames, a, EXPLOSION_FRAMES, BLANK_TEXTURE, BLANK_AFTER_DEATH_MS);
    return a;
}

ShipType shipFromRow(const ShipValues& v, AnimationFrames& frames)
{
    ShipType s;
    s.mass = v.mass;
    s.turnRate = v.turnRate;
    s.thrustForce = v.thrustForce;
    s.boostForce = v.boostForce;
    s.shipSprite = makeAnimation(frames, {{v.firstTexture, SHIP_FRAME_MS}, {v.firstTexture + 1, SHIP_FRAME_MS}}, true);
    s.thrustAnim =
        makeAnimation(frames, {{v.firstTexture + 2, THRUST_FRAME_MS}, {v.firstTexture + 3, THRUST_FRAME_MS}}, true);
    s.deathAnim = deathAnim(frames, v.deathFrameMs);
    s.hitRadius = pixels(v.hitRadiusPx);
    s.maxHull = v.maxHull;
    s.maxShield = v.maxShield;
    s.shieldRegenRate = v.shieldRegenRate;
    s.shieldRepulsion = v.shieldRepulsion;
    for (int m = 0; m < MUZZLE_COUNT; ++m)
        s.muzzles[m] = PolarVec{pixels(v.muzzleDistancePx[m]), MUZZLE_ANGLES[m]};
    s.maxEnergy = v.maxEnergy;
    s.energyRegenRate = v.energyRegenRate;
    return s;
}

} // namespace

void buildShipTable(ShipType ships[SHIP_COUNT], AnimationFrames& frames)
{
    for (int i = 0; i < SHIP_COUNT; ++i)
        ships[i] = shipFromRow(SHIP_VALUES[i], frames);
}
