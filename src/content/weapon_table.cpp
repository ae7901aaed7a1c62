#include "content/weapon_table.h"

#include "sim/geometry.h"

namespace {

// The table columns that are plain numbers, one row per weapon. Lengths in pixels.
struct WeaponLook {
    const char* name;
    int32_t muzzleIndex;
    bool orientByVelocity;
    int32_t iconSmall;
    int32_t iconBig;
};

struct ShotValues {
    double shotRadiusPx;
    int32_t hitTest;
    int32_t hitMaskIndex;
    double hullDamage;
    double shieldDamage;
    double blastRadiusPx;
    double blastDamage;
    int32_t lifetimeMinMs, lifetimeMaxMs;
    int32_t orientByHeading;
    double mass;
    double shotThrust;
    bool ignoresGravity;
};

constexpr WeaponLook WEAPON_LOOKS[WEAPON_COUNT] = {
    {"Corona Device", 2, false, 54, 53},
    {"Minigun", 0, false, 52, 51},
    {"Rocket Swarm", 0, false, 56, 55},
    {"Doomsday", 0, false, 58, 57},
    {"Alpha Cannon", 0, true, 62, 61},
    {"Hydra Laser", 0, false, 84, 83},
    {"Plasma launcher", 0, false, 60, 59},
    {"Chaingun", 0, false, 66, 65},
    {"Mines", 1, false, 86, 85},
    {"Armageddon Dildo", 0, false, 93, 92},
};

constexpr ShotValues SHOT_VALUES[WEAPON_COUNT] = {
    {0.0, 0, 0, 5.0, 0.0, 15.5, 5.0, 65, 65, 0, 1.0, 0.0, true},
    {0.5, 0, 0, 2.0, 1.0, 0.5, 0.0, 135000, 135000, 0, 1.0, 0.0, false},
    {7.5, 2, 4, 5.0, 2.0, 5.5, 0.0, 135000, 135000, 1, 1.0, 240000000.0, false},
    {3.5, 2, 2, 3.0, 3.0, 5.5, 10.0, 135000, 135000, 1, 1.0, 290000000.0, false},
    {5.5, 2, 4, 6.5, 5.0, 0.0, 0.0, 5000, 5000, 0, 1.0, 0.0, false},
    {3.5, 2, 2, 10.0, 10.0, 0.0, 0.0, 10000, 10000, 1, 1.0, 0.0, true},
    {5.5, 2, 4, 1.0, 1.0, 5.5, 0.0, 510, 570, 0, 1.0, 0.0, false},
    {0.5, 0, 0, 7.0, 4.0, 5.5, 0.0, 10000, 10000, 0, 1.0, 0.0, false},
    {0.5, 0, 0, 2.0, 5.0, 5.5, 5.0, 2500, 3000, 0, 1.0, 0.0, false},
    {5.5, 2, 4, 130.0, 50.0, 15.5, 500.0, 10000, 10000, 1, 8.0, 590000000.0, false},
};

// The eight explosion pictures (textures 36 down to 29), each shown for frameMs.
Animation explosionAnim(AnimationFrames& frames, int32_t frameMs)
{
    constexpr int EXPLOSION_FIRST_TEXTURE = 36;
    constexpr int EXPLOSION_FRAMES = 8;
    Animation a = makeAnimation(frames, EXPLOSION_FRAMES, false);
    for (int i = 0; i < EXPLOSION_FRAMES; ++i)
        setFrame(frames, a, i, EXPLOSION_FIRST_TEXTURE - i, frameMs);
    return a;
}

// The small blast shared by the bullets and rockets.
Animation smallImpactAnim(AnimationFrames& frames) { return makeAnimation(frames, {{31, 70}, {30, 70}, {29, 50}}, false); }

void buildAnimations(WeaponType weapons[WEAPON_COUNT], AnimationFrames& frames)
{
    weapons[0].flightAnim = makeAnimation(frames, {{37, 100}}, true);
    weapons[0].impactAnim = explosionAnim(frames, 20);
    weapons[1].flightAnim = makeAnimation(frames, {{37, 200}}, true);
    weapons[1].impactAnim = smallImpactAnim(frames);
    weapons[2].flightAnim = makeAnimation(frames, {{39, 100}, {40, 100}}, true);
    weapons[2].impactAnim = smallImpactAnim(frames);
    weapons[3].flightAnim = makeAnimation(frames, {{39, 100}, {40, 100}}, true);
    weapons[3].impactAnim = smallImpactAnim(frames);
    weapons[4].flightAnim = makeAnimation(frames, {{63, 200}}, true);
    weapons[4].impactAnim = makeAnimation(frames, {{32, 50}, {31, 50}, {30, 50}, {29, 50}}, false);
    weapons[5].flightAnim = makeAnimation(frames, {{64, 200}}, true);
    weapons[5].impactAnim = makeAnimation(frames, {{82, 30}, {81, 30}, {80, 30}}, false);
    weapons[6].flightAnim = makeAnimation(frames, {{32, 1000}}, true);
    weapons[6].impactAnim = makeAnimation(frames, {{33, 30}, {32, 30}, {31, 30}, {30, 30}, {29, 30}}, false);
    weapons[7].flightAnim = makeAnimation(frames, {{37, 200}}, true);
    weapons[7].impactAnim = smallImpactAnim(frames);
    weapons[8].flightAnim = makeAnimation(frames, {{37, 200}}, true);
    weapons[8].impactAnim = smallImpactAnim(frames);
    weapons[9].flightAnim = makeAnimation(frames, {{90, 120}, {91, 120}}, true);
    weapons[9].impactAnim = explosionAnim(frames, 35);
}

WeaponType weaponFromRow(const WeaponLook& look, const ShotValues& shot)
{
    WeaponType w;
    w.name = look.name;
    w.shotRadius = pixels(shot.shotRadiusPx);
    w.muzzleIndex = look.muzzleIndex;
    w.blastRadiusMin = w.blastRadiusMax = pixels(shot.blastRadiusPx);
    w.orientByVelocity = look.orientByVelocity;
    w.hullDamageMin = w.hullDamageMax = shot.hullDamage;
    w.shieldDamageMin = w.shieldDamageMax = shot.shieldDamage;
    w.blastDamageMin = w.blastDamageMax = shot.blastDamage;
    w.hitTest = shot.hitTest;
    w.hitMaskIndex = shot.hitMaskIndex;
    w.lifetimeMin = shot.lifetimeMinMs;
    w.lifetimeMax = shot.lifetimeMaxMs;
    w.orientByHeading = shot.orientByHeading;
    w.massMin = w.massMax = shot.mass;
    w.shotThrustMin = w.shotThrustMax = shot.shotThrust;
    w.ignoresGravity = shot.ignoresGravity;
    w.iconSmall = look.iconSmall;
    w.iconBig = look.iconBig;
    return w;
}

void buildFireStates(FireState f[WEAPON_COUNT])
{
    f[0] = makeFireState(1, 2000, 10, 77, 77, 670000000.0, 670000000.0, TWO_PI, TWO_PI, true);
    f[1] = makeFireState(40, 1000, 15, 1, 1, 620000000.0, 620000000.0, 0.0245436926015625,
                         0.0245436926015625, false);
    f[2] = makeFireState(3, 1500, 1000, 11, 11, 220000000.0, 220000000.0, 0.08975979008571429,
                         0.08975979008571429, true);
    f[3] = makeFireState(8, 1000, 110, 5, 5, 320000000.0, 320000000.0, 0.12566370612, 0.12566370612, false);
    f[4] = makeFireState(1, 1500, 10, 6, 6, 1800000000.0, 1800000000.0, 0.0, 0.0, false);
    f[5] = makeFireState(1, 270, 10, 1, 1, 300000000.0, 300000000.0, 0.03141592653, 0.03141592653, false);
    f[6] = makeFireState(110, 1000, 30, 3, 3, 180000000.0, 210000000.0, 0.392699081625,
                         0.44879895042857143, false);
    f[7] = makeFireState(50, 1500, 75, 1, 1, 420000000.0, 420000000.0, 0.0245436926015625,
                         0.0245436926015625, false);
    f[8] = makeFireState(10, 1500, 20, 5, 7, 100000000.0, 120000000.0, 0.5235987755, 0.5235987755, false);
    f[9] = makeFireState(1, 2500, 10, 1, 1, 100000000.0, 120000000.0, 0.0, 0.0, false);
}

} // namespace

FireState makeFireState(int clipSize, int reloadTime, int interval, int countMin, int countMax,
                        double speedMin, double speedMax, double spreadMin, double spreadMax,
                        bool evenSpread)
{
    FireState f;
    f.clipSize = clipSize;
    f.ammoLeft = clipSize;
    f.reloadLeft = 0;
    f.reloadTime = reloadTime;
    f.spreadMin = spreadMin;
    f.spreadMax = spreadMax;
    f.evenSpread = evenSpread;
    f.interval = interval;
    f.countMin = countMin;
    f.countMax = countMax;
    f.speedMin = speedMin;
    f.speedMax = speedMax;
    f.sinceLastShot = 0;
    return f;
}

void buildWeaponTable(WeaponType weapons[WEAPON_COUNT], FireState fireStates[WEAPON_COUNT], AnimationFrames& frames)
{
    for (int i = 0; i < WEAPON_COUNT; ++i)
        weapons[i] = weaponFromRow(WEAPON_LOOKS[i], SHOT_VALUES[i]);
    buildAnimations(weapons, frames);
    buildFireStates(fireStates);
}
