#include <functional>
#include "replay/match_checksum.h"
#include "support/sim_match.h"

namespace {

using MatchChecksum = SimMatch;

// A replay proves itself only through what the checksum covers: each of these
// must change it.
TEST_F(MatchChecksum, EveryRecordedQuantityChangesTheChecksum)
{
    const std::pair<const char*, std::function<void(MatchState&)>> changes[] = {
        {"x", [](MatchState& m) { m.players[1].body.position.x += 1.0; }},
        {"speed", [](MatchState& m) { m.players[0].body.velocity.length += 1.0; }},
        {"velocity angle", [](MatchState& m) { m.players[0].body.velocity.angle += 0.001; }},
        {"heading", [](MatchState& m) { m.players[1].body.heading.angle += 0.001; }},
        {"hull", [](MatchState& m) { m.players[0].hull -= 0.5; }},
        {"shield", [](MatchState& m) { m.players[1].shield -= 0.5; }},
        {"energy", [](MatchState& m) { m.players[0].energy -= 1.0; }},
        {"life", [](MatchState& m) { m.players[0].lifeState = EXPLODING; }},
        {"lives", [](MatchState& m) { m.players[1].lives -= 1; }},
        {"kills", [](MatchState& m) { m.players[0].kills += 1; }},
        {"slot", [](MatchState& m) { m.players[1].currentSlot = 3; }},
        {"ammo", [](MatchState& m) { m.players[0].fireStates[4].ammoLeft -= 1; }},
        {"weapon", [](MatchState& m) { m.players[1].weaponRows[2] = 9; }},
        {"planet", [](MatchState& m) { m.planetBodies[0].position.y += 1.0; }},
        {"shot", [](MatchState& m) { m.projectiles[700].active = true; }},
        {"random", [](MatchState& m) { randomDraw(m.random); }},
    };
    const uint64_t before = matchChecksum(*match);
    EXPECT_EQ(matchChecksum(*match), before);
    for (const auto& change : changes) {
        change.second(*match);
        const uint64_t after = matchChecksum(*match);
        EXPECT_NE(after, before) << change.first;
        setUpMatch(2, 0, 1);
        EXPECT_EQ(matchChecksum(*match), before) << "after " << change.first;
    }
}

} // namespace
