// One whole step of the match on "Twin stars" with both ships alive and all
// 1024 shots in flight, and what a rollback costs: a snapshot and a restore
// of the match, and a restore followed by twelve steps.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "bench/twin_stars_match.h"
#include "sim/frame_step.h"

namespace {

constexpr int FRAME_MS = 16;
constexpr int ROLLBACK_FRAMES = 12;

BenchMatch benchMatch()
{
    const DiscPicture shipDisc(12);
    const DiscPicture planetDisc(25);
    return makeTwinStarsMatch(shipDisc, planetDisc);
}

bool poolIsFull(benchmark::State& state, const MatchState& m)
{
    if (countActiveShots(m) == SHOT_POOL_SIZE)
        return true;
    state.SkipWithError("the shot pool is not full");
    return false;
}

void BM_StepTwinStarsFullPool(benchmark::State& state)
{
    const BenchMatch b = benchMatch();
    const auto m = std::make_unique<MatchState>(*b.match);
    if (!poolIsFull(state, *m))
        return;
    const ControlState controls;
    int32_t now = BENCH_START_MS;
    for (auto _ : state) {
        // Shots drift apart over many frames; each timed frame starts from the
        // same full pool, restored outside the clock.
        *m = *b.match;
        now += FRAME_MS;
        const auto begin = std::chrono::steady_clock::now();
        const StepEvents events = stepMatch(*m, *b.content, controls, FRAME_MS, now);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(events.count);
        benchmark::DoNotOptimize(m->projectiles[SHOT_POOL_SIZE - 1].position);
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["shotsAfterFrame"] = countActiveShots(*m);
}
BENCHMARK(BM_StepTwinStarsFullPool)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_SnapshotAndRestore(benchmark::State& state)
{
    const BenchMatch b = benchMatch();
    const auto saved = std::make_unique<MatchState>();
    for (auto _ : state) {
        *saved = *b.match;
        *b.match = *saved;
        benchmark::ClobberMemory();
    }
    state.counters["stateBytes"] = sizeof(MatchState);
}
BENCHMARK(BM_SnapshotAndRestore)->Unit(benchmark::kMicrosecond);

void BM_RollbackOfTwelveFrames(benchmark::State& state)
{
    const BenchMatch b = benchMatch();
    const auto m = std::make_unique<MatchState>();
    if (!poolIsFull(state, *b.match))
        return;
    const ControlState controls;
    for (auto _ : state) {
        *m = *b.match;
        int32_t now = BENCH_START_MS;
        for (int i = 0; i < ROLLBACK_FRAMES; ++i)
            benchmark::DoNotOptimize(stepMatch(*m, *b.content, controls, FRAME_MS, now += FRAME_MS).count);
    }
}
BENCHMARK(BM_RollbackOfTwelveFrames)->Unit(benchmark::kMicrosecond);

} // namespace
