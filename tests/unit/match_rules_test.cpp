#include "support/sim_match.h"

#include <set>
#include <string>

namespace {

constexpr int DEEP_SPACE = 1;

class MatchRules : public SimMatch {};

TEST_F(MatchRules, EveryTauntJoinsKillerVerbVictimAndPhrase)
{
    const std::set<std::string> expected = {
        "Alice shows Bob how it's done.",
        "Alice teaches Bob some manners.",
        "Alice beats Bob with an ugly-stick.",
        "Alice owns Bob all days of the week.",
    };
    seedRandom(match->random, 1);
    std::set<std::string> shown;
    for (int kill = 0; kill < 64; ++kill) {
        announceKill(*match, content, events, 0, 1);
        shown.insert(bannerShown());
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(player(0).kills, 64);
    EXPECT_EQ(reported(MatchEventKind::KILLS_CHANGED, 0), 64);
    EXPECT_EQ(player(1).kills, 0);

    announceKill(*match, content, events, 1, 0);
    EXPECT_EQ(bannerShown().rfind("Bob ", 0), 0u) << bannerShown();
    EXPECT_NE(bannerShown().find(" Alice "), std::string::npos);
}

TEST_F(MatchRules, AKillerWhoIsTheVictimIsNeitherCreditedNorAnnounced)
{
    match->bannerTimer = 100;
    announceKill(*match, content, events, 1, 1);
    EXPECT_EQ(player(1).kills, 0);
    EXPECT_EQ(events.count, 0);
    EXPECT_EQ(match->bannerTimer, 100);
    EXPECT_EQ(bannerShown(), " ") << "no banner was ever shown";
}

TEST_F(MatchRules, CrashesAndRammingsReplaceTheShowingMessageAtOnce)
{
    place(0, 100, 100);
    place(1, 900, 700);
    announceKill(*match, content, events, 0, 1);
    step(match->controls, 1000, TEST_START_MS);
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS - 2000);
    announceCrash(*match, events, 1);
    EXPECT_EQ(match->bannerTimer, BANNER_SHOW_MS);
    EXPECT_EQ(bannerShown(), "Bob tries to land");
    announceRamming(*match, events);
    EXPECT_EQ(reported(MatchEventKind::BANNER_SHOWN), 3);
    EXPECT_EQ(bannerShown(), "Ouch! Thats gotta hurt");
}

TEST_F(MatchRules, TheBannerDropsTwiceTheFrameTimeAndTimersStopAtZero)
{
    setUpMatch(DEEP_SPACE, 0, 1);
    place(0, 100, 100);
    place(1, 900, 700);
    announceRamming(*match, events);
    player(0).hullBarTimer = 25;
    player(1).shieldBarTimer = 3200;
    player(1).weaponLabelTimer = 200;
    int32_t now = TEST_START_MS;
    for (int pass = 0; pass < 159; ++pass)
        step(match->controls, 10, now += 10);
    EXPECT_EQ(match->bannerTimer, 20);
    step(match->controls, 10, now += 10);
    EXPECT_EQ(match->bannerTimer, 0);
    EXPECT_EQ(player(0).hullBarTimer, 0);
    EXPECT_EQ(player(1).shieldBarTimer, 1600);
    EXPECT_EQ(player(1).weaponLabelTimer, 0);
    step(match->controls, 10, now += 10);
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

    startNewMatch(*match, content, events);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        EXPECT_EQ(player(i).lives, 7);
        EXPECT_EQ(player(i).kills, 0);
        EXPECT_EQ(player(i).currentSlot, 0);
        EXPECT_EQ(player(i).lifeState, ALIVE);
        EXPECT_DOUBLE_EQ(player(i).hull, player(i).maxHull);
        EXPECT_EQ(reported(MatchEventKind::KILLS_CHANGED, i), 1);
        EXPECT_EQ(reported(MatchEventKind::LIVES_CHANGED, i), 1);
        EXPECT_EQ(reported(MatchEventKind::WEAPON_CHANGED, i), 1);
    }
    EXPECT_GT(distance(player(0).body.position, player(1).body.position), SPAWN_MIN_DISTANCE);
    EXPECT_EQ(activeShots(), 0);
    EXPECT_FALSE(matchLost(*match));
    player(1).lives = 0;
    EXPECT_TRUE(matchLost(*match));
}

} // namespace
