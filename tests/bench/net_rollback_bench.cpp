// A twelve-frame rollback as a network match makes it, through its game's
// callbacks on "Twin stars" with every shot of the pool in flight: the state
// restored, then each frame saved, stepped and checksummed again.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/net_match_game.h"
#include "bench/twin_stars_match.h"

namespace {

constexpr int ROLLBACK_FRAMES = 12;

void BM_NetRollbackOfTwelveFrames(benchmark::State& state)
{
    const DiscPicture shipDisc(12);
    const DiscPicture planetDisc(25);
    const BenchMatch b = makeTwinStarsMatch(shipDisc, planetDisc);
    const auto live = std::make_unique<MatchState>(*b.match);
    NetMatchGame g;
    prepareNetMatchGame(g, *live, *b.content);
    const NetGame net = netGameOf(g);
    net.saveState(net.context, 0);
    const uint32_t inputs[PLAYER_COUNT] = {};
    for (auto _ : state) {
        net.loadState(net.context, 0);
        for (int32_t f = 0; f < ROLLBACK_FRAMES; ++f) {
            if (f > 0)
                net.saveState(net.context, f);
            net.stepFrame(net.context, inputs, f, true);
            benchmark::DoNotOptimize(net.checksum(net.context));
        }
    }
    state.counters["shotsAtStart"] = countActiveShots(g.slots[0]);
}
BENCHMARK(BM_NetRollbackOfTwelveFrames)->Unit(benchmark::kMicrosecond);

} // namespace
