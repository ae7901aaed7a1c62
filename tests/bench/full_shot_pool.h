// A "Twin stars" match with both ships in place and all 1024 shots in flight,
// shared by the simulation and drawing benchmarks.
#pragma once
#include <cstdint>

#include "sim/geometry.h"
#include "sim/match_state.h"
#include "sim/random.h"
#include "sim/weapons.h"

constexpr int TWIN_STARS = 2;
constexpr int32_t BENCH_START_MS = 1000;
constexpr double SHOT_CLEARANCE_PX = 45.0; // shots start clear of ships and stars
constexpr double SLOW_SHOT_SPEED = 20000000.0;
constexpr int32_t BENCH_WEAPONS[WEAPON_SLOTS] = {1, 2, 3, 7, 8};
constexpr double BENCH_SHIP_PLACES_PX[PLAYER_COUNT][2] = {{150, 150}, {870, 650}};

// Both ships alive at fixed places inside the arena.
inline void placeBenchShips(MatchState& m)
{
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        ShipBody& body = m.players[i].body;
        body.position = Vec2{pixels(BENCH_SHIP_PLACES_PX[i][0]), pixels(BENCH_SHIP_PLACES_PX[i][1])};
        body.insideArena = true;
    }
}

inline bool clearOfShipsAndPlanets(const MatchState& m, const Vec2& at)
{
    for (const Player& p : m.players)
        if (distance(p.body.position, at) < pixels(SHOT_CLEARANCE_PX))
            return false;
    for (int i = 0; i < m.planetCount; ++i)
        if (distance(m.planetBodies[i].position, at) < pixels(SHOT_CLEARANCE_PX))
            return false;
    return true;
}

// Slow shots of gun, rocket and doomsday kinds spread over the arena, so none
// leaves it or hits anything for many frames.
inline void fillShotPool(MatchState& m, const MatchContent& c)
{
    int launched = 0;
    for (double y = 60; y < 760 && launched < SHOT_POOL_SIZE; y += 17)
        for (double x = 10; x < 1014 && launched < SHOT_POOL_SIZE; x += 21) {
            const Vec2 at{pixels(x), pixels(y)};
            if (!clearOfShipsAndPlanets(m, at))
                continue;
            const int owner = launched % PLAYER_COUNT;
            const WeaponType& weapon = weaponInSlot(c, m.players[owner], (launched / PLAYER_COUNT) % 4);
            spawnVolley(at, PolarVec{}, 0.0, SLOW_SHOT_SPEED, randomReal(m.random, 0.0, TWO_PI), 0.0, 1, true,
                        Volley{&weapon, owner}, ShotPools{m.projectiles, m.explosions}, m.random, BENCH_START_MS);
            ++launched;
        }
}

inline int countActiveShots(const MatchState& m)
{
    int n = 0;
    for (const Projectile& shot : m.projectiles)
        n += shot.active ? 1 : 0;
    return n;
}
