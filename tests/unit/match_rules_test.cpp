#include "support/sim_match.h"

#include <set>
#include <string>

namespace {

constexpr int DEEP_SPACE = 1;

class MatchRules : public SimMatch {};

TEST_F(MatchRules, AMessageFillsTheBannerEvenWithoutAnyoneListening)
{
    match->events = MatchEvents{};
    showMessage(*match, "hello");
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS);
    notifyLivesChanged(*match, 0);
    notifyKillsChanged(*match, 1);
    notifyWeaponChanged(*match, 0);
    announceKill(*match, 0, 1);
    EXPECT_EQ(player(0).kills, 1);
}

TEST_F(MatchRules, EveryTauntJoinsKillerVerbVictimAndPhrase)
{
    const std::set<std::string> expected = {
        "Alice shows Bob how it's done.",
        "Alice teaches Bob some manners.",
        "Alice beats Bob with an ugly-stick.",
        "Alice owns Bob all days of the week.",
    };
    seedRandom(1);
    for (int kill = 0; kill < 64; ++kill)
        announceKill(*match, 0, 1);
    const std::set<std::string> shown(log.messages.begin(), log.messages.end());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(player(0).kills, 64);
    EXPECT_EQ(log.killsChanged[0], 64);
    EXPECT_EQ(player(1).kills, 0);

    announceKill(*match, 1, 0);
    EXPECT_EQ(log.messages.back().rfind("Bob ", 0), 0u) << log.messages.back();
    EXPECT_NE(log.messages.back().find(" Alice "), std::string::npos);
}

TEST_F(MatchRules, AKillerWhoIsTheVictimIsNeitherCreditedNorAnnounced)
{
    match->bannerTimer = 100;
    announceKill(*match, 1, 1);
    EXPECT_EQ(player(1).kills, 0);
    EXPECT_EQ(log.killsChanged[1], 0);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(match->bannerTimer, 100);
}

TEST_F(MatchRules, CrashesAndRammingsReplaceTheShowingMessageAtOnce)
{
    showMessage(*match, "something else");
    tickDisplayTimers(*match, 1000);
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS - 2000);
    announceCrash(*match, 1);
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS);
    announceRamming(*match);
    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_EQ(log.messages[1], "Bob tries to land");
    EXPECT_EQ(log.messages[2], "Ouch! Thats gotta hurt");
}

TEST_F(MatchRules, TheBannerDropsTwiceTheFrameTimeAndTimersStopAtZero)
{
    showMessage(*match, "x");
    player(0).hullBarTimer = 25;
    player(1).shieldBarTimer = 3200;
    player(1).weaponLabelTimer = 200;
    for (int pass = 0; pass < 159; ++pass)
        tickDisplayTimers(*match, 10);
    EXPECT_EQ(match->bannerTimer, 20);
    tickDisplayTimers(*match, 10);
    EXPECT_EQ(match->bannerTimer, 0);
    EXPECT_EQ(player(0).hullBarTimer, 0);
    EXPECT_EQ(player(1).shieldBarTimer, 1600);
    EXPECT_EQ(player(1).weaponLabelTimer, 0);
    tickDisplayTimers(*match, 10);
    EXPECT_EQ(match->bannerTimer, 0);
}

TEST_F(MatchRules, ANewMatchRestoresBothPlayersAndFreesEveryShot)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    match->livesSetting = 7;
    player(0).lives = 0;
    player(0).lifeState = EXPLODING;
    player(0).hull = -3.0;
    player(0).currentSlot = 3;
    player(1).kills = 4;
    player(1).lives = 2;
    player(1).currentSlot = 1;
    place(0, 300, 300);
    place(1, 301, 300);
    for (Projectile& shot : match->projectiles)
        shot.active = true;
    EXPECT_TRUE(matchLost(*match));

    startNewMatch(*match);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        EXPECT_EQ(player(i).lives, 7);
        EXPECT_EQ(player(i).kills, 0);
        EXPECT_EQ(player(i).currentSlot, 0);
        EXPECT_EQ(player(i).lifeState, ALIVE);
        EXPECT_DOUBLE_EQ(player(i).hull, player(i).maxHull);
        EXPECT_EQ(log.killsChanged[i], 1);
        EXPECT_EQ(log.livesChanged[i], 1);
        EXPECT_EQ(log.weaponChanged[i], 1);
    }
    EXPECT_GT(distance(player(0).body.position, player(1).body.position), SPAWN_MIN_DISTANCE);
    EXPECT_EQ(activeShots(), 0);
    EXPECT_FALSE(matchLost(*match));
    player(1).lives = 0;
    EXPECT_TRUE(matchLost(*match));
}

} // namespace
