#include "sim/match_rules.h"

#include <cassert>
#include <cstdio>

#include "sim/frame_step.h"
#include "sim/random.h"

// Two of the longest names and the longest taunt fit.
constexpr int MESSAGE_BUFFER_SIZE = 2 * (NAME_BUFFER_SIZE - 1) + sizeof(KillMessage::verb) + sizeof(KillMessage::phrase);

void showMessage(MatchState& m, const char* text)
{
    m.bannerTimer = BANNER_SHOW_MS;
    if (m.events.messageShown)
        m.events.messageShown(m.events.context, text);
}

void announceKill(MatchState& m, int killer, int victim)
{
    assert(killer >= 0 && killer < PLAYER_COUNT && victim >= 0 && victim < PLAYER_COUNT);
    // A player killed by their own shot loses the life, but nobody scores.
    if (killer == victim)
        return;
    const KillMessage& taunt = m.killMessages[randomInt(0, m.killMessageCount - 1)];
    Player& owner = m.players[killer];
    owner.kills += 1;
    notifyKillsChanged(m, killer);
    char text[MESSAGE_BUFFER_SIZE];
    std::snprintf(text, sizeof text, "%s%s%s%s", owner.name, taunt.verb, m.players[victim].name, taunt.phrase);
    showMessage(m, text);
}

void announceCrash(MatchState& m, int victim)
{
    char text[MESSAGE_BUFFER_SIZE];
    std::snprintf(text, sizeof text, "%s%s", m.players[victim].name, CRASH_TEXT);
    showMessage(m, text);
}

void announceRamming(MatchState& m) { showMessage(m, RAMMING_TEXT); }

void notifyLivesChanged(MatchState& m, int player)
{
    if (m.events.livesChanged)
        m.events.livesChanged(m.events.context, player);
}

void notifyKillsChanged(MatchState& m, int player)
{
    if (m.events.killsChanged)
        m.events.killsChanged(m.events.context, player);
}

void notifyWeaponChanged(MatchState& m, int player)
{
    if (m.events.weaponChanged)
        m.events.weaponChanged(m.events.context, player);
}

void startNewMatch(MatchState& m)
{
    for (Player& p : m.players)
        resetForLife(p);
    placeBothPlayers(m);
    for (Player& p : m.players) {
        p.lives = m.livesSetting;
        p.kills = 0;
        p.currentSlot = 0;
    }
    for (Projectile& shot : m.projectiles)
        retireShot(shot);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        notifyKillsChanged(m, i);
        notifyLivesChanged(m, i);
        notifyWeaponChanged(m, i);
    }
}

bool matchLost(const MatchState& m) { return m.players[0].lives == 0 || m.players[1].lives == 0; }
