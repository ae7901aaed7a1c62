#include "sim/match_rules.h"

#include <cassert>
#include <cstdio>

#include "sim/random.h"

static void showBanner(MatchState& m, StepEvents& events, const Banner& banner)
{
    m.banner = banner;
    m.bannerTimer = BANNER_SHOW_MS;
    report(events, MatchEventKind::BANNER_SHOWN, -1, Vec2{}, banner.kind);
}

void announceKill(MatchState& m, const MatchContent& c, StepEvents& events, int killer, int victim)
{
    assert(killer >= 0 && killer < PLAYER_COUNT && victim >= 0 && victim < PLAYER_COUNT);
    if (killer == victim)
        return;
    const int taunt = randomInt(m.random, 0, c.killMessageCount - 1);
    m.players[killer].kills += 1;
    report(events, MatchEventKind::KILLS_CHANGED, killer);
    showBanner(m, events, Banner{BANNER_KILL, killer, victim, taunt});
}

void announceCrash(MatchState& m, StepEvents& events, int victim)
{
    showBanner(m, events, Banner{BANNER_CRASH, 0, victim, 0});
}

void announceRamming(MatchState& m, StepEvents& events) { showBanner(m, events, Banner{BANNER_RAMMING, 0, 0, 0}); }

void bannerText(const MatchState& m, const MatchContent& c, char (&text)[MESSAGE_BUFFER_SIZE])
{
    const Banner& b = m.banner;
    switch (b.kind) {
    case BANNER_KILL: {
        assert(b.taunt >= 0 && b.taunt < c.killMessageCount);
        const KillMessage& taunt = c.killMessages[b.taunt];
        std::snprintf(text, sizeof text, "%s%s%s%s", m.nameBuffers[b.killer], taunt.verb, m.nameBuffers[b.victim],
                      taunt.phrase);
        return;
    }
    case BANNER_CRASH: std::snprintf(text, sizeof text, "%s%s", m.nameBuffers[b.victim], CRASH_TEXT); return;
    case BANNER_RAMMING: std::snprintf(text, sizeof text, "%s", RAMMING_TEXT); return;
    default: std::snprintf(text, sizeof text, " "); return;
    }
}

bool matchLost(const MatchState& m) { return m.players[0].lives == 0 || m.players[1].lives == 0; }
