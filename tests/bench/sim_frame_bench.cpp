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
#include "sim/orbits.h"
#include "sim/random.h"
#include "bench/twin_stars_match.h"

namespace {

constexpr int FRAME_MS = 16;

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

void BM_SimulateFrameTwinStarsFullPool(benchmark::State& state)
{
    const DiscPicture shipDisc(12);
    const DiscPicture planetDisc(25);
    const auto start = makeTwinStarsMatch(shipDisc, planetDisc);
    const auto m = std::make_unique<MatchState>(*start);
    if (countActiveShots(*m) != SHOT_POOL_SIZE) {
        state.SkipWithError("the shot pool is not full");
        return;
    }
    int32_t now = BENCH_START_MS;
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
    state.counters["shotsAfterFrame"] = countActiveShots(*m);
}
BENCHMARK(BM_SimulateFrameTwinStarsFullPool)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
