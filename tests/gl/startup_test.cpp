#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include "app/game.h"
#include "gfx/texture.h"

// Starts the real game in the game folder with the given options, then shuts it
// down without touching the saved settings.
class StartedGame : public ::testing::Test {
protected:
    bool start(std::vector<const char*> args)
    {
        args.insert(args.begin(), "zentavor");
        return startUp(game, static_cast<int>(args.size()), args.data());
    }
    void TearDown() override { releaseGame(game); }
    Game game;
};

TEST_F(StartedGame, LoadsTheCatalogueTextsAndMusic)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(start({"-w"}));
    // 96 pictures, then per player name, kills, lives and weapon name, and the banner.
    EXPECT_EQ(liveTextureCount(), CATALOGUE_SIZE + 4 * PLAYER_COUNT + 1);
    for (int i = 0; i < CATALOGUE_SIZE; ++i)
        EXPECT_NE(catalogue[i].texture, nullptr) << CATALOGUE_FILES[i];
    EXPECT_EQ(catalogue[49].texture->width, catalogue[77].texture->width);
    EXPECT_NE(catalogue[49].texture, catalogue[77].texture);
    ASSERT_NE(game.music, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    const MatchState& m = *game.match;
    EXPECT_EQ(m.players[0].lives, m.livesSetting);
    EXPECT_EQ(m.players[0].index, 0);
    EXPECT_EQ(m.players[1].index, 1);
    EXPECT_GT(distance(m.players[0].body.position, m.players[1].body.position), 0.0);
    EXPECT_EQ(m.planetCount, currentMap(m, *game.content).planetCount);
}

TEST_F(StartedGame, MusicSwitchOpensNoStream)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(start({"-w", "-nm"}));
    EXPECT_EQ(game.music, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(StartedGame, NoSoundDeviceStaysSilentAndRuns)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ASSERT_TRUE(start({"-w"}));
    EXPECT_EQ(game.music, nullptr);
    runPass(game);
}
