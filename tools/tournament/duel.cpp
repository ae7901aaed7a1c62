#include "duel.h"

#include <cstring>
#include <memory>

#include "../sim_runner/headless_match.h"
#include "pilot/pilot.h"
#include "sim/match_rules.h"

namespace {

// What the match announced during one frame.
struct FrameNews {
    const MatchState* match = nullptr;
    bool crashed[PLAYER_COUNT] = {};
    bool rammed = false;
};

bool endsWith(const char* text, const char* ending)
{
    const size_t n = std::strlen(text), k = std::strlen(ending);
    return n >= k && std::strcmp(text + n - k, ending) == 0;
}

void noteMessage(void* context, const char* text)
{
    FrameNews& news = *static_cast<FrameNews*>(context);
    if (std::strcmp(text, RAMMING_TEXT) == 0)
        news.rammed = true;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const char* name = news.match->players[p].name;
        if (endsWith(text, CRASH_TEXT) && std::strncmp(text, name, std::strlen(name)) == 0)
            news.crashed[p] = true;
    }
}

DeathCause causeOf(const FrameNews& news, int player, bool otherScored)
{
    if (news.crashed[player])
        return PLANET;
    if (otherScored)
        return KILLED;
    return news.rammed ? RAMMED : OWN_SHOT;
}

} // namespace

DuelResult playDuel(const DuelSetUp& setUp)
{
    RunnerSetUp runner;
    runner.seed = setUp.seed;
    runner.mapIndex = setUp.mapIndex;
    runner.lives = setUp.lives;
    auto m = std::make_unique<MatchState>();
    buildHeadlessMatch(*m, runner);
    FrameNews news;
    news.match = m.get();
    m->events.context = &news;
    m->events.messageShown = noteMessage;
    auto seats = std::make_unique<PilotSeats>();
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (setUp.seats[p].piloted)
            seatPilot(*seats, p, setUp.seats[p].level, setUp.seed);
    DuelResult result;
    int32_t now = 0;
    while (now < setUp.limitMs && !matchLost(*m)) {
        int32_t lifeBefore[PLAYER_COUNT], killsBefore[PLAYER_COUNT];
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            lifeBefore[p] = m->players[p].lifeState;
            killsBefore[p] = m->players[p].kills;
            if (lifeBefore[p] == ALIVE)
                result.aliveMs[p] += setUp.frameMs;
        }
        news = FrameNews{m.get()};
        ControlState controls;
        flyPilots(*seats, *m, controls);
        now += setUp.frameMs;
        runHeadlessFrame(*m, controls, setUp.frameMs, now);
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if (lifeBefore[p] == ALIVE && m->players[p].lifeState == EXPLODING)
                ++result.deaths[p][causeOf(news, p, m->players[1 - p].kills > killsBefore[1 - p])];
    }
    result.lengthMs = now;
    if (matchLost(*m) && (m->players[0].lives == 0) != (m->players[1].lives == 0))
        result.winner = m->players[0].lives == 0 ? 1 : 0;
    return result;
}
