#include "match_watch.h"

#include <cstdio>
#include "gfx/texture.h"
#include "sim/match_rules.h"

namespace {

MatchWatch& watchOf(void* context) { return *static_cast<MatchWatch*>(context); }

void onLivesChanged(void* context, int player)
{
    MatchWatch& w = watchOf(context);
    if (w.gameEvents.livesChanged)
        w.gameEvents.livesChanged(w.gameEvents.context, player);
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

void onKillsChanged(void* context, int player)
{
    const MatchWatch& w = watchOf(context);
    if (w.gameEvents.killsChanged)
        w.gameEvents.killsChanged(w.gameEvents.context, player);
}

void onWeaponChanged(void* context, int player)
{
    const MatchWatch& w = watchOf(context);
    if (w.gameEvents.weaponChanged)
        w.gameEvents.weaponChanged(w.gameEvents.context, player);
}

void onMessageShown(void* context, const char* text)
{
    const MatchWatch& w = watchOf(context);
    if (w.gameEvents.messageShown)
        w.gameEvents.messageShown(w.gameEvents.context, text);
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
            w.weapons[p][slot] = m.players[p].weapons[slot].weaponIndex;
    }
}

void countChoiceChanges(const MatchWatch& w, MatchTally& tally)
{
    const MatchState& m = *w.match;
    tally.mapChanges += m.currentMapIndex != w.mapIndex;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        tally.shipChanges += m.players[p].shipIndex != w.ships[p];
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            tally.weaponChanges += m.players[p].weapons[slot].weaponIndex != w.weapons[p][slot];
    }
}

} // namespace

void watchMatch(MatchWatch& watch, Game& game, std::atomic<uint64_t>& lostSignal)
{
    MatchState& m = *game.match;
    watch.match = &m;
    watch.lostSignal = &lostSignal;
    watch.gameEvents = m.events;
    m.events.context = &watch;
    m.events.livesChanged = onLivesChanged;
    m.events.killsChanged = onKillsChanged;
    m.events.weaponChanged = onWeaponChanged;
    m.events.messageShown = onMessageShown;
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
