// The benchmarks' "Twin stars" match: both ships in place and every shot of
// the pool in flight.
#pragma once
#include <cstdio>
#include <memory>

#include "bench/full_shot_pool.h"
#include "sim/match_setup.h"
#include "sim/orbits.h"
#include "support/disc_picture.h"

struct BenchMatch {
    std::unique_ptr<MatchContent> content = std::make_unique<MatchContent>();
    std::unique_ptr<MatchState> match = std::make_unique<MatchState>();
};

// Fixed names, ships, weapons and map; the content must hold both ships' masks.
inline void setUpBenchMatch(MatchState& m, const MatchContent& c)
{
    MatchChoices choices;
    std::snprintf(choices.names[0], NAME_BUFFER_SIZE, "Nova");
    std::snprintf(choices.names[1], NAME_BUFFER_SIZE, "Vega");
    choices.mapIndex = TWIN_STARS;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        std::copy(BENCH_WEAPONS, BENCH_WEAPONS + WEAPON_SLOTS, choices.weapons[p]);
    setUpMatch(m, c, choices);
    moveOrbits(currentMap(m, c), m.orbitAngles[TWIN_STARS], m.planetBodies, 0);
    placeBenchShips(m);
    seedRandom(m.random, 1);
    fillShotPool(m, c);
}

// With disc pictures for ships and stars: no window needed.
inline BenchMatch makeTwinStarsMatch(const DiscPicture& shipDisc, const DiscPicture& planetDisc)
{
    BenchMatch b;
    buildContent(*b.content, [&planetDisc](int) { return planetDisc.picture; });
    makeAllShipMasks(*b.content, [&shipDisc](int, double) { return RotatedPicture{shipDisc.picture, nullptr}; });
    setUpBenchMatch(*b.match, *b.content);
    return b;
}
