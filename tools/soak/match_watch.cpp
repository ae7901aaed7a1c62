#include "match_watch.h"

#include <cstdio>
#include "gfx/texture.h"
#include "sim/match_rules.h"

namespace {

// The lives of a player changed: a match ends, or one begins.
void noteLives(MatchWatch& w, int player)
{
    const MatchState& m = *w.match;
    if (matchLost(m)) {
        w.endSeen = true;
        w.endTextures = liveTextureCount();
        w.lostSignal->fetch_add(1);
    } else if (m.players[player].lives == m.livesSetting) {
        // Play only takes lives away: this is a new match.
        w.startPending = true;
    }
}

void fail(std::vector<std::string>& failures, const char* format, int a, int b, int c)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    failures.emplace_back(text);
}

void settleEnd(MatchWatch& w, MatchTally& tally, std::vector<std::string>& failures)
{
    if (!w.endSeen)
        return;
    w.endSeen = false;
    w.inPlay = false;
    tally.finished += 1;
    tally.lastEndTextures = w.endTextures;
    if (w.endTextures != w.startTextures)
        fail(failures, "match %d ended with %d texture slots in use but started with %d", tally.finished,
             w.endTextures, w.startTextures);
}

void settleStart(MatchWatch& w, MatchTally& tally, std::vector<std::string>& failures)
{
    if (!w.startPending)
        return;
    w.startPending = false;
    if (w.inPlay)
        tally.abandoned += 1;
    w.inPlay = true;
    w.startTextures = liveTextureCount();
    if (tally.firstStartTextures < 0)
        tally.firstStartTextures = w.startTextures;
    else if (w.startTextures != tally.firstStartTextures)
        fail(failures, "match %d started with %d texture slots in use, the first with %d",
             tally.finished + tally.abandoned + 1, w.startTextures, tally.firstStartTextures);
}

void rememberChoices(MatchWatch& w)
{
    const MatchState& m = *w.match;
    w.mapIndex = m.currentMapIndex;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        w.ships[p] = m.players[p].shipIndex;
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            w.weapons[p][slot] = m.players[p].weaponRows[slot];
    }
}

void countChoiceChanges(const MatchWatch& w, MatchTally& tally)
{
    const MatchState& m = *w.match;
    tally.mapChanges += m.currentMapIndex != w.mapIndex;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        tally.shipChanges += m.players[p].shipIndex != w.ships[p];
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            tally.weaponChanges += m.players[p].weaponRows[slot] != w.weapons[p][slot];
    }
}

} // namespace

void noteEvents(MatchWatch& watch, const StepEvents& events)
{
    for (int i = 0; i < events.count; ++i)
        if (events.events[i].kind == MatchEventKind::LIVES_CHANGED)
            noteLives(watch, events.events[i].player);
}

void watchMatch(MatchWatch& watch, Game& game, std::atomic<uint64_t>& lostSignal)
{
    watch.match = game.match.get();
    watch.lostSignal = &lostSignal;
    game.observer.context = &watch;
    game.observer.eventsShown = [](void* w, const StepEvents& events) {
        noteEvents(*static_cast<MatchWatch*>(w), events);
    };
    watch.startPending = true;
    watch.endSeen = false;
    rememberChoices(watch);
}

void notePass(MatchWatch& watch, MatchTally& tally, std::vector<std::string>& failures)
{
    settleEnd(watch, tally, failures);
    settleStart(watch, tally, failures);
    countChoiceChanges(watch, tally);
    rememberChoices(watch);
}
