#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include "content/map_table.h"
#include "content/ship_table.h"
#include "content/weapon_table.h"
#include "sim/match_setup.h"

namespace {

// A fake catalogue: every texture is a solid 20 x 20 square; the requests are recorded.
struct FakeCatalogue {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(20 * 20 * 4, 255);
    std::vector<int> requested;
    PictureSource source()
    {
        return [this](int textureIndex) {
            requested.push_back(textureIndex);
            return Picture{20, 20, 20, rgba.data()};
        };
    }
};

// The content as the game builds it, over the fake catalogue.
class Content : public ::testing::Test {
protected:
    void SetUp() override { buildContent(*content, catalogue.source()); }

    AnimationFrame frameOf(const Animation& a, int i) const
    {
        return content->frames.frames[a.firstFrame + i];
    }
    void expectFrames(const Animation& a, const std::vector<AnimationFrame>& expected, bool loop) const
    {
        ASSERT_EQ(a.frameCount, static_cast<int>(expected.size()));
        EXPECT_EQ(a.loop, loop);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(frameOf(a, static_cast<int>(i)).textureIndex, expected[i].textureIndex) << "frame " << i;
            EXPECT_EQ(frameOf(a, static_cast<int>(i)).durationMs, expected[i].durationMs) << "frame " << i;
        }
    }

    FakeCatalogue catalogue;
    std::unique_ptr<MatchContent> content = std::make_unique<MatchContent>(); // large: kept off the stack
    const WeaponType* weapons = content->weapons;
    const FireState* fire = content->fireStates;
    const ShipType* ships = content->ships;
    const GameMap* maps = content->maps;
};

using WeaponTable = Content;
using ShipTable = Content;
using MapTable = Content;

TEST_F(WeaponTable, NamesAndIconsInTableOrder)
{
    const char* names[WEAPON_COUNT] = {"Corona Device", "Minigun",  "Rocket Swarm",    "Doomsday", "Alpha Cannon",
                                       "Hydra Laser",   "Plasma launcher", "Chaingun", "Mines",    "Armageddon Dildo"};
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        EXPECT_STREQ(weapons[i].name, names[i]);
        EXPECT_TRUE(weapons[i].flightAnim.loop) << i;
        EXPECT_FALSE(weapons[i].impactAnim.loop) << i;
        EXPECT_EQ(fire[i].ammoLeft, fire[i].clipSize) << i;
        EXPECT_EQ(fire[i].reloadLeft, 0);
        EXPECT_EQ(fire[i].sinceLastShot, 0);
    }
    EXPECT_EQ(weapons[5].iconSmall, 84);
    EXPECT_EQ(weapons[5].iconBig, 83);
    EXPECT_EQ(weapons[9].iconSmall, 93);
    EXPECT_TRUE(weapons[4].orientByVelocity);
    EXPECT_FALSE(weapons[3].orientByVelocity);
}

TEST_F(WeaponTable, CoronaFansAFullTurnOfShortLivedShots)
{
    const WeaponType& w = weapons[0];
    const FireState& f = fire[0];
    EXPECT_EQ(f.countMin, 77);
    EXPECT_EQ(f.countMax, 77);
    EXPECT_EQ(f.spreadMin, TWO_PI);
    EXPECT_TRUE(f.evenSpread);
    EXPECT_EQ(f.clipSize, 1);
    EXPECT_EQ(f.reloadTime, 2000);
    EXPECT_EQ(f.speedMin, 670000000.0);
    EXPECT_EQ(w.lifetimeMin, 65);
    EXPECT_EQ(w.lifetimeMax, 65);
    EXPECT_EQ(w.muzzleIndex, 2);
    EXPECT_TRUE(w.ignoresGravity);
    EXPECT_EQ(w.shotRadius, 0.0);
    EXPECT_EQ(w.blastRadiusMin, 15136718.75);
    EXPECT_EQ(w.blastDamageMax, 5.0);
    expectFrames(w.impactAnim, {{36, 20}, {35, 20}, {34, 20}, {33, 20}, {32, 20}, {31, 20}, {30, 20}, {29, 20}}, false);
}

TEST_F(WeaponTable, RangesWhereMinAndMaxDiffer)
{
    EXPECT_EQ(fire[6].speedMin, 180000000.0);
    EXPECT_EQ(fire[6].speedMax, 210000000.0);
    EXPECT_EQ(fire[6].spreadMin, 0.392699081625);
    EXPECT_EQ(fire[6].spreadMax, 0.44879895042857143);
    EXPECT_EQ(weapons[6].lifetimeMin, 510);
    EXPECT_EQ(weapons[6].lifetimeMax, 570);

    EXPECT_EQ(fire[8].countMin, 5);
    EXPECT_EQ(fire[8].countMax, 7);
    EXPECT_EQ(weapons[8].lifetimeMin, 2500);
    EXPECT_EQ(weapons[8].lifetimeMax, 3000);
    EXPECT_EQ(weapons[8].muzzleIndex, 1) << "mines drop behind the ship";
    EXPECT_EQ(fire[9].speedMax, 120000000.0);
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        EXPECT_EQ(weapons[i].hullDamageMin, weapons[i].hullDamageMax) << i;
        EXPECT_EQ(weapons[i].massMin, weapons[i].massMax) << i;
        EXPECT_EQ(weapons[i].blastRadiusMin, weapons[i].blastRadiusMax) << i;
    }
}

TEST_F(WeaponTable, ShotValuesOfTheHeavyWeapons)
{
    const WeaponType& rockets = weapons[2];
    EXPECT_EQ(rockets.shotRadius, 7324218.75);
    EXPECT_EQ(rockets.hitTest, 2);
    EXPECT_EQ(rockets.hitMaskIndex, 4);
    EXPECT_EQ(rockets.shotThrustMin, 240000000.0);
    EXPECT_EQ(rockets.orientByHeading, 1);
    EXPECT_EQ(fire[2].interval, 1000);
    EXPECT_TRUE(fire[2].evenSpread);
    expectFrames(rockets.flightAnim, {{39, 100}, {40, 100}}, true);

    const WeaponType& dildo = weapons[9];
    EXPECT_EQ(dildo.hullDamageMin, 130.0);
    EXPECT_EQ(dildo.shieldDamageMin, 50.0);
    EXPECT_EQ(dildo.blastDamageMin, 500.0);
    EXPECT_EQ(dildo.blastRadiusMax, 15136718.75);
    EXPECT_EQ(dildo.massMin, 8.0);
    EXPECT_EQ(dildo.shotThrustMax, 590000000.0);
    expectFrames(dildo.impactAnim, {{36, 35}, {35, 35}, {34, 35}, {33, 35}, {32, 35}, {31, 35}, {30, 35}, {29, 35}}, false);

    EXPECT_EQ(weapons[1].shotRadius, 488281.25);
    EXPECT_EQ(weapons[1].lifetimeMin, 135000);
    EXPECT_EQ(fire[1].clipSize, 40);
    EXPECT_EQ(weapons[5].hitMaskIndex, 2);
    EXPECT_TRUE(weapons[5].ignoresGravity);
    EXPECT_EQ(fire[5].reloadTime, 270);
    EXPECT_EQ(weapons[4].blastRadiusMax, 0.0);
    EXPECT_EQ(fire[4].speedMin, 1800000000.0);
    expectFrames(weapons[6].impactAnim, {{33, 30}, {32, 30}, {31, 30}, {30, 30}, {29, 30}}, false);
}

TEST_F(ShipTable, RowsOfMotionAndLife)
{
    const double turnRates[SHIP_COUNT] = {4.833219466153846, 6.283185306, 3.141592653, 6.981317006666666};
    const double hitRadii[SHIP_COUNT] = {11718750.0, 11718750.0, 17578125.0, 7812500.0};
    for (int i = 0; i < SHIP_COUNT; ++i) {
        EXPECT_NEAR(ships[i].turnRate, turnRates[i], 1e-12) << i;
        EXPECT_EQ(ships[i].hitRadius, hitRadii[i]) << i;
        EXPECT_EQ(ships[i].shieldRepulsion, -3.5e29);
        EXPECT_EQ(ships[i].muzzles[1].angle, PI) << "muzzle 1 points backwards";
        const Animation& death = ships[i].deathAnim;
        ASSERT_EQ(death.frameCount, 9);
        EXPECT_FALSE(death.loop);
        EXPECT_EQ(frameOf(death, 8).textureIndex, 89) << "every blast ends on the blank picture";
        EXPECT_EQ(frameOf(death, 8).durationMs, 500);
        EXPECT_TRUE(ships[i].shipSprite.loop);
        EXPECT_TRUE(ships[i].thrustAnim.loop);
    }
    EXPECT_EQ(ships[0].mass, 350000.0);
    EXPECT_EQ(ships[0].thrustForce, 120000000000000.0);
    EXPECT_EQ(ships[0].boostForce, 240000000000000.0);
    EXPECT_EQ(ships[0].maxEnergy, 500.0);
    EXPECT_EQ(ships[0].energyRegenRate, 220.0);
    EXPECT_EQ(ships[2].maxHull, 140.0);
    EXPECT_EQ(ships[2].maxShield, 16.0);
    EXPECT_EQ(ships[2].shieldRegenRate, 2.5);
    EXPECT_EQ(frameOf(ships[2].deathAnim, 0).durationMs, 35);
    EXPECT_EQ(ships[3].mass, 120000.0);
    EXPECT_EQ(ships[3].thrustForce, 32000000000000.0);
    EXPECT_EQ(ships[1].muzzles[2].length, pixels(20));
    EXPECT_EQ(ships[0].muzzles[1].length, pixels(17));
    expectFrames(ships[1].shipSprite, {{9, 200}, {10, 200}}, true);
    expectFrames(ships[3].thrustAnim, {{19, 100}, {20, 100}}, true);
    expectFrames(ships[0].deathAnim,
                 {{36, 20}, {35, 20}, {34, 20}, {33, 20}, {32, 20}, {31, 20}, {30, 20}, {29, 20}, {89, 500}}, false);
}

TEST_F(MapTable, ThreeMapsWithTheirPlanets)
{
    EXPECT_STREQ(maps[0].name, "New earth");
    EXPECT_STREQ(maps[1].name, "Deep space");
    EXPECT_STREQ(maps[2].name, "Twin stars");
    EXPECT_EQ(maps[0].planetCount, 2);
    EXPECT_EQ(maps[1].planetCount, 0);
    EXPECT_EQ(maps[2].planetCount, 3);
    for (int i = 0; i < MAP_COUNT; ++i) {
        EXPECT_EQ(maps[i].index, i);
        EXPECT_EQ(maps[i].returnPoint.x, 488281250.0);
        EXPECT_EQ(maps[i].returnPoint.y, 390625000.0);
        for (int p = 0; p < maps[i].planetCount; ++p)
            EXPECT_EQ(maps[i].planets[p].bodySlot, p);
    }
    const Planet& earth = maps[0].planets[0];
    EXPECT_EQ(earth.orbitRadius, -1.0);
    EXPECT_EQ(earth.radius, 50292968.75);
    EXPECT_EQ(earth.mass, 6e28);
    const Planet& moon = maps[0].planets[1];
    EXPECT_EQ(moon.orbitRadius, 273437500.0);
    EXPECT_EQ(moon.orbitAngle, 1.5707963265);
    EXPECT_EQ(moon.orbitSpeed, 0.130899693875);
    EXPECT_EQ(maps[2].planets[2].orbitAngle, PI);
    EXPECT_EQ(maps[2].planets[1].orbitRadius, 302734375.0);
    EXPECT_EQ(maps[2].planets[1].orbitSpeed, 0.09817477040625);
}

TEST_F(MapTable, PlanetMasksComeFromTheirPictures)
{
    EXPECT_EQ(catalogue.requested, (std::vector<int>{1, 2, 95, 94})) << "the invisible centre asks for no picture";
    const MaskTable& masks = content->masks;
    EXPECT_EQ(masks.planets[0][0].width, 20);
    EXPECT_EQ(masks.planets[0][0].offsetX, 10);
    const Planet& centre = maps[2].planets[0];
    EXPECT_EQ(centre.mass, 1.0);
    EXPECT_EQ(centre.radius, 0.0);
    EXPECT_EQ(centre.orbitRadius, -1.0);
    const CollisionMask& centreMask = masks.planets[2][0];
    EXPECT_EQ(centreMask.width, 1);
    EXPECT_EQ(centreMask.height, 1);
    ASSERT_EQ(centreMask.cells.size(), 1u);
    EXPECT_EQ(centreMask.cells[0], 0);
    EXPECT_EQ(frameTexture(content->frames, centre.anim, 0), 89);

    auto headless = std::make_unique<MatchContent>();
    buildContent(*headless, PictureSource{});
    EXPECT_LE(headless->masks.planets[0][0].cells.size(), 1u) << "without pictures nothing can be touched";
}

TEST_F(MapTable, EverySpawnPointIsInsideTheArena)
{
    const WorldRect arena = makeArenaRect();
    EXPECT_EQ(arena.x, 0.0);
    EXPECT_EQ(arena.y, 43945312.5);
    EXPECT_EQ(arena.w, 1000000000.0);
    EXPECT_EQ(arena.h, 706054687.5);
    const int spawnCounts[MAP_COUNT] = {9, 6, 6};
    for (int i = 0; i < MAP_COUNT; ++i) {
        ASSERT_EQ(maps[i].spawnCount, spawnCounts[i]);
        for (int s = 0; s < maps[i].spawnCount; ++s)
            EXPECT_TRUE(insideRect(arena, maps[i].spawnPositions[s])) << "map " << i << " spawn " << s;
    }
    EXPECT_EQ(maps[0].spawnPositions[8].x, 999023437.5);
    EXPECT_EQ(maps[0].spawnPositions[8].y, 749023437.5);
    EXPECT_EQ(maps[0].spawnVelocities[3].length, 50000000.0);
    EXPECT_NEAR(maps[0].spawnVelocities[3].angle, 2.6927937025714286, 1e-15);
    EXPECT_NEAR(maps[0].spawnVelocities[4].angle, 4.039190553857143, 1e-15);
    EXPECT_EQ(maps[0].spawnVelocities[7].angle, 5.49778714275);
    EXPECT_EQ(maps[2].spawnPositions[0].x, pixels(10));
    for (int s = 0; s < maps[1].spawnCount; ++s)
        EXPECT_EQ(maps[1].spawnVelocities[s].length, 0.0);
}

TEST_F(Content, KillMessagesAndPlanetBodies)
{
    EXPECT_EQ(content->killMessageCount, 4);
    EXPECT_STREQ(content->killMessages[0].verb, " shows ");
    EXPECT_STREQ(content->killMessages[2].phrase, " with an ugly-stick.");
    EXPECT_STREQ(content->killMessages[3].phrase, " all days of the week.");
    EXPECT_STREQ(content->killMessages[1].verb, " teaches ");

    const auto state = std::make_unique<MatchState>(); // large: kept off the stack
    MatchState& m = *state;
    putMapInPlay(m, maps[2]);
    ASSERT_EQ(m.planetCount, 3);
    EXPECT_EQ(m.planetBodies[0].mass, 1.0);
    EXPECT_EQ(m.planetBodies[1].mass, 5e28);
    EXPECT_TRUE(m.planetBodies[2].attracts);
    EXPECT_EQ(m.planetBodies[2].position.x, 0.0);
    putMapInPlay(m, maps[1]);
    EXPECT_EQ(m.planetCount, 0) << "deep space has no planets";
}

} // namespace
