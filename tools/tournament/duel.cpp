#include "duel.h"

#include <memory>

#include "../sim_runner/headless_match.h"
#include "pilot/pilot.h"
#include "sim/frame_step.h"
#include "sim/match_rules.h"

// How a death counts in the table, from what the step reported.
static DuelDeath duelDeathOf(const MatchEvent& death)
{
    switch (death.detail) {
    case DEATH_BY_PLANET: return PLANET;
    case DEATH_BY_RAMMING: return RAMMED;
    default: return death.other >= 0 ? KILLED : OWN_SHOT;
    }
}

DuelResult playDuel(const DuelSetUp& setUp)
{
    MatchChoices runner = runnerDefaults();
    runner.seed = setUp.seed;
    runner.mapIndex = setUp.mapIndex;
    runner.lives = setUp.lives;
    auto m = std::make_unique<MatchState>();
    auto content = std::make_unique<MatchContent>();
    buildHeadlessMatch(*m, *content, runner);
    auto seats = std::make_unique<PilotSeats>();
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (setUp.seats[p].piloted)
            seatPilot(*seats, p, setUp.seats[p].level, setUp.seed);
    DuelResult result;
    int32_t now = 0;
    while (now < setUp.limitMs && !matchLost(*m)) {
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if (m->players[p].lifeState == ALIVE)
                result.aliveMs[p] += setUp.frameMs;
        ControlState controls;
        flyPilots(*seats, *m, *content, controls);
        now += setUp.frameMs;
        const StepEvents events = stepMatch(*m, *content, controls, setUp.frameMs, now);
        for (int i = 0; i < events.count; ++i)
            if (events.events[i].kind == MatchEventKind::SHIP_DESTROYED)
                ++result.deaths[events.events[i].player][duelDeathOf(events.events[i])];
    }
    result.lengthMs = now;
    if (matchLost(*m) && (m->players[0].lives == 0) != (m->players[1].lives == 0))
        result.winner = m->players[0].lives == 0 ? 1 : 0;
    return result;
}
