// The soak tool's match watch, shown the lives events a match reports, with
// the texture slots set by hand: a slot kept during a match or between
// matches must be reported, clean matches must not be.
#include <gtest/gtest.h>
#include <atomic>
#include "gfx/texture.h"
// The watch belongs to the soak tool, which is no library; it is compiled in here.
#include "../../tools/soak/match_watch.cpp"

namespace {

constexpr int GAME_SLOTS = 105; // the catalogue and the match's labels
constexpr int SPARE_SLOT = 200;
constexpr int LIVES = 2;

class WatchedMatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < TEXTURE_SLOTS; ++i)
            graphics.slotInUse[i] = i < GAME_SLOTS;
        MatchState& m = *game.match;
        m.livesSetting = LIVES;
        for (Player& p : m.players)
            p.lives = LIVES;
        watchMatch(watch, game, lost);
        notePass(watch, tally, failures);
    }
    void TearDown() override
    {
        for (bool& inUse : graphics.slotInUse)
            inUse = false;
    }
    // As the game shows a step's or a visit's events to its observer.
    void show(const StepEvents& events) { game.observer.eventsShown(game.observer.context, events); }
    void loseLife(int player)
    {
        game.match->players[player].lives -= 1;
        StepEvents events;
        report(events, MatchEventKind::LIVES_CHANGED, player);
        show(events);
    }
    // As a new game from the menu does it: lives back for both players.
    void startAgain()
    {
        StepEvents events;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            game.match->players[p].lives = LIVES;
            report(events, MatchEventKind::LIVES_CHANGED, p);
        }
        show(events);
    }
    void finishMatch()
    {
        for (int life = 0; life < LIVES; ++life)
            loseLife(1);
    }

    Game game;
    MatchWatch watch;
    MatchTally tally;
    std::vector<std::string> failures;
    std::atomic<uint64_t> lost{0};
};

} // namespace

TEST_F(WatchedMatch, CleanMatchesAreCountedWithoutFailures)
{
    loseLife(0);
    notePass(watch, tally, failures);
    finishMatch();
    EXPECT_EQ(lost.load(), 1u) << "the presser hears of the lost match before the menu opens";
    startAgain();
    game.match->currentMapIndex = 2;
    notePass(watch, tally, failures);
    startAgain(); // a new game from the menu while the second match runs
    notePass(watch, tally, failures);
    EXPECT_TRUE(failures.empty()) << failures.front();
    EXPECT_EQ(tally.finished, 1);
    EXPECT_EQ(tally.abandoned, 1);
    EXPECT_EQ(tally.mapChanges, 1);
    EXPECT_EQ(tally.firstStartTextures, GAME_SLOTS);
    EXPECT_EQ(tally.lastEndTextures, GAME_SLOTS);
}

TEST_F(WatchedMatch, ASlotKeptDuringAMatchShowsAtItsEnd)
{
    graphics.slotInUse[SPARE_SLOT] = true;
    finishMatch();
    notePass(watch, tally, failures);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("ended with 106 texture slots in use but started with 105"), std::string::npos)
        << failures[0];
}

TEST_F(WatchedMatch, ASlotKeptBetweenMatchesShowsAtTheNextStart)
{
    finishMatch();
    graphics.slotInUse[SPARE_SLOT] = true;
    startAgain();
    notePass(watch, tally, failures);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("started with 106 texture slots in use, the first with 105"), std::string::npos)
        << failures[0];
}
