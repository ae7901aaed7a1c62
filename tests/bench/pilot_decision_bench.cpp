// One frame's decision of the hard computer pilot on "Twin stars" with every
// shot of the pool in flight (each one is looked at for dodging): in a fight,
// and falling towards a star, where it also searches for a way out.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/twin_stars_match.h"
#include "pilot/pilot.h"

namespace {

constexpr int FRAME_MS = 16;
constexpr uint32_t BENCH_SEED = 7;

void placeShip(MatchState& m, int player, double xPx, double yPx, double speedPx, double angle, double heading)
{
    ShipBody& body = m.players[player].body;
    body.position = Vec2{pixels(xPx), pixels(yPx)};
    body.velocity = PolarVec{pixels(speedPx), angle};
    body.heading = PolarVec{1.0, heading};
    body.insideArena = true;
}

void decide(benchmark::State& state, const BenchMatch& b)
{
    Pilot pilot;
    startPilot(pilot, 0, PilotLevel::Hard, BENCH_SEED);
    ControlState controls;
    for (auto _ : state) {
        pilotFrame(pilot, *b.match, *b.content, controls.players[0], controls.cycling[0]);
        benchmark::DoNotOptimize(controls);
    }
}

BenchMatch benchMatch()
{
    const DiscPicture shipDisc(12);
    const DiscPicture starDisc(25);
    BenchMatch b = makeTwinStarsMatch(shipDisc, starDisc);
    b.match->frameTime = FRAME_MS;
    return b;
}

void BM_HardPilotInAFight(benchmark::State& state)
{
    const BenchMatch b = benchMatch();
    placeShip(*b.match, 0, 330, 220, 60, 0.3, 0.2);
    placeShip(*b.match, 1, 600, 260, 80, 2.5, 3.3);
    decide(state, b);
}
BENCHMARK(BM_HardPilotInAFight)->Unit(benchmark::kMicrosecond);

void BM_HardPilotFallingTowardsAStar(benchmark::State& state)
{
    const BenchMatch b = benchMatch();
    // The star of angle PI stands at (190, 400); the ship falls on it from above.
    placeShip(*b.match, 0, 190, 300, 150, PI / 2, 0.0);
    placeShip(*b.match, 1, 600, 260, 80, 2.5, 3.3);
    decide(state, b);
}
BENCHMARK(BM_HardPilotFallingTowardsAStar)->Unit(benchmark::kMicrosecond);

} // namespace
