// The benchmarks' "Twin stars" match: disc pictures for ships and stars,
// both ships in place and every shot of the pool in flight.
#pragma once
#include <memory>

#include "bench/full_shot_pool.h"
#include "sim/match_setup.h"
#include "sim/orbits.h"
#include "support/disc_picture.h"

inline void setUpBenchPlayers(MatchState& m, const DiscPicture& shipDisc)
{
    const RotatedPictureSource turned = [&shipDisc](int, double) { return RotatedPicture{shipDisc.picture, nullptr}; };
    setUpShieldBubbles(m);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        setUpPlayer(m, i, i, BENCH_WEAPONS, turned);
    placeBenchShips(m);
}

inline std::unique_ptr<MatchState> makeTwinStarsMatch(const DiscPicture& shipDisc, const DiscPicture& planetDisc)
{
    auto m = std::make_unique<MatchState>();
    fillKillMessages(*m);
    buildTables(*m, [&planetDisc](int) { return planetDisc.picture; });
    putMapInPlay(*m, TWIN_STARS);
    moveOrbits(m->currentMap, m->planetBodies, 0);
    m->arenaRect = makeArenaRect();
    buildBlastMasks(m->blastMasks);
    setUpBenchPlayers(*m, shipDisc);
    seedRandom(1);
    fillShotPool(*m);
    return m;
}
