// One full simulated frame on "Twin stars" with both ships alive and all 1024
// shots in flight.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/frame_step.h"
#include "sim/match_setup.h"
#include "support/disc_picture.h"
#include "sim/orbits.h"
#include "sim/random.h"
#include "sim/weapons.h"

namespace {

constexpr int TWIN_STARS = 2;
constexpr int FRAME_MS = 16;
constexpr int32_t START_MS = 1000;
constexpr double CLEARANCE_PX = 45.0; // shots start clear of ships and stars

void setUpPlayers(MatchState& m, const DiscPicture& shipDisc)
{
    const RotatedPictureSource turned = [&shipDisc](int, double) { return RotatedPicture{shipDisc.picture, nullptr}; };
    const int weapons[WEAPON_SLOTS] = {1, 2, 3, 7, 8};
    const double where[PLAYER_COUNT][2] = {{150, 150}, {870, 650}};
    setUpShieldBubbles(m);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        setUpPlayer(m, i, i, weapons, turned);
        ShipBody& body = m.players[i].body;
        body.position = Vec2{pixels(where[i][0]), pixels(where[i][1])};
        body.insideArena = true;
    }
}

bool clearOfShipsAndPlanets(const MatchState& m, const Vec2& at)
{
    for (const Player& p : m.players)
        if (distance(p.body.position, at) < pixels(CLEARANCE_PX))
            return false;
    for (const Body& planet : m.planetBodies)
        if (distance(planet.position, at) < pixels(CLEARANCE_PX))
            return false;
    return true;
}

// Slow shots of gun, rocket and doomsday kinds spread over the arena, so none
// leaves it or hits anything for many frames.
void fillShotPool(MatchState& m)
{
    int launched = 0;
    for (double y = 60; y < 760 && launched < SHOT_POOL_SIZE; y += 17)
        for (double x = 10; x < 1014 && launched < SHOT_POOL_SIZE; x += 21) {
            const Vec2 at{pixels(x), pixels(y)};
            if (!clearOfShipsAndPlanets(m, at))
                continue;
            const Player& owner = m.players[launched % PLAYER_COUNT];
            const WeaponType& weapon = owner.weapons[(launched / PLAYER_COUNT) % 4];
            spawnVolley(at, PolarVec{}, 0.0, 20000000.0, randomReal(0.0, TWO_PI), 0.0, 1, true, weapon,
                        ShotPools{m.projectiles, m.explosions}, START_MS);
            ++launched;
        }
}

std::unique_ptr<MatchState> makeTwinStarsMatch(const DiscPicture& shipDisc, const DiscPicture& planetDisc)
{
    auto m = std::make_unique<MatchState>();
    fillKillMessages(*m);
    buildTables(*m, [&planetDisc](int) { return planetDisc.picture; });
    putMapInPlay(*m, TWIN_STARS);
    moveOrbits(m->currentMap, m->planetBodies, 0);
    m->arenaRect = makeArenaRect();
    buildBlastMasks(m->blastMasks);
    setUpPlayers(*m, shipDisc);
    seedRandom(1);
    fillShotPool(*m);
    return m;
}

// The running state of a player; its masks never change, so they are not copied.
void restorePlayer(Player& p, const Player& from)
{
    p.body = from.body;
    std::copy(from.fireStates, from.fireStates + WEAPON_SLOTS, p.fireStates);
    p.hull = from.hull;
    p.shield = from.shield;
    p.energy = from.energy;
    p.lifeState = from.lifeState;
    p.boosting = from.boosting;
    p.shieldRegenDelay = from.shieldRegenDelay;
    p.canCollide = from.canCollide;
}

int countActive(const MatchState& m)
{
    int n = 0;
    for (const Projectile& shot : m.projectiles)
        n += shot.active ? 1 : 0;
    return n;
}

void BM_SimulateFrameTwinStarsFullPool(benchmark::State& state)
{
    const DiscPicture shipDisc(12);
    const DiscPicture planetDisc(25);
    const auto start = makeTwinStarsMatch(shipDisc, planetDisc);
    const auto m = std::make_unique<MatchState>(*start);
    if (countActive(*m) != SHOT_POOL_SIZE) {
        state.SkipWithError("the shot pool is not full");
        return;
    }
    int32_t now = START_MS;
    for (auto _ : state) {
        // Shots drift apart over many frames; each timed frame starts from the
        // same full pool. The restore is left out of the clock by timing the
        // frame alone (pausing the benchmark's own timer costs more than a frame).
        std::copy(start->projectiles, start->projectiles + SHOT_POOL_SIZE, m->projectiles);
        std::copy(start->explosions, start->explosions + SHOT_POOL_SIZE, m->explosions);
        for (int i = 0; i < PLAYER_COUNT; ++i)
            restorePlayer(m->players[i], start->players[i]);
        now += FRAME_MS;
        const auto begin = std::chrono::steady_clock::now();
        simulateFrame(*m, FRAME_MS, now);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(m->projectiles[SHOT_POOL_SIZE - 1].position);
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["shotsAfterFrame"] = countActive(*m);
}
BENCHMARK(BM_SimulateFrameTwinStarsFullPool)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
