#include <gtest/gtest.h>
#include <cstdlib>
#include "app/config_file.h"
#include "app/game.h"
#include "gfx/texture.h"
#include "sim/frame_step.h"
#include "sim/hits.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "support/scripted_keys.h"
#include "ui/menu.h"

// The real game started once in the game folder (starting it twice in one
// process trips over the mixer's shutdown); the menus are driven by key events
// typed into SDL's queue while they run. The saved settings are never written.
class MenuPaths : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const char* args[] = {"zentavor", "-w", "-nm"};
        started = startUp(game, 3, args);
    }
    static void TearDownTestSuite()
    {
        freeMatchTexts(game.texts);
        freeTextureCatalogue();
        closeFonts(game.fonts);
        soundShutdown(game.music);
        SDL_Quit();
    }
    void SetUp() override
    {
        ASSERT_TRUE(started);
        drainPendingKeys();
        game.quitRequested = false;
        StepEvents events;
        startNewMatch(*game.match, *game.content, events);
    }
    void TearDown() override { setTickSource(nullptr); }

    // One pass of the frame loop with Escape pressed in it.
    void passWithEscape()
    {
        ControlState controls;
        controls.escape = true;
        runPassFromControls(game, controls);
    }

    // A visit to the menu and what ends it, as the frame loop makes them.
    MenuOutcome visitMenu()
    {
        const MenuOutcome visit = runMenu(*game.match, *game.content, game.fonts);
        finishMenuVisit(*game.match, *game.content, visit);
        return visit;
    }

    // Every key was read, and none was needed beyond the script.
    void expectScriptUsedUp()
    {
        EXPECT_EQ(keyScript.next, keyScript.keys.size());
        EXPECT_EQ(keyScript.extraEscapes, 0);
        EXPECT_EQ(drainPendingKeys(), 0);
    }

    void playOn(int mapIndex)
    {
        MatchState& m = *game.match;
        putMapInPlay(m, game.content->maps[mapIndex]);
        placeBothPlayers(m, *game.content);
    }

    // A match in progress: lives and kills spent, other slots selected, shots in flight.
    void playForAWhile()
    {
        MatchState& m = *game.match;
        m.players[0].lives = 3;
        m.players[1].lives = 1;
        m.players[0].kills = 4;
        m.players[1].kills = 2;
        m.players[0].currentSlot = 2;
        m.players[1].currentSlot = 4;
        m.players[0].hull = 1.0;
        m.projectiles[7].active = true;
        m.projectiles[300].active = true;
    }

    void expectFreshMatch()
    {
        const MatchState& m = *game.match;
        for (const Player& p : m.players) {
            EXPECT_EQ(p.lives, m.livesSetting);
            EXPECT_EQ(p.kills, 0);
            EXPECT_EQ(p.currentSlot, 0);
            EXPECT_NEAR(p.hull, p.maxHull, 1e-9);
        }
        for (const Projectile& shot : m.projectiles)
            EXPECT_FALSE(shot.active);
    }

    static inline Game game;
    static inline bool started = false;
};

static bool onSpawnPoint(const Vec2& position, const GameMap& map)
{
    for (int i = 0; i < map.spawnCount; ++i)
        if (std::abs(position.x - map.spawnPositions[i].x) < 1.0 &&
            std::abs(position.y - map.spawnPositions[i].y) < 1.0)
            return true;
    return false;
}

TEST_F(MenuPaths, FourEscapesFromPlayQuit)
{
    pushKeyDown(SDLK_ESCAPE); // read by the frame loop, which opens the menu
    typeKeys({SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE});
    runFrameLoop(game);
    EXPECT_TRUE(game.quitRequested);
    expectScriptUsedUp();
}

TEST_F(MenuPaths, ResumeStraightAwayLeavesTheMatchAsItWas)
{
    playForAWhile();
    const MatchState& m = *game.match;
    const Vec2 position = m.players[1].body.position;
    typeKeys({SDLK_RETURN});
    const MenuOutcome visit = visitMenu();
    expectScriptUsedUp();
    EXPECT_EQ(m.players[0].lives, 3);
    EXPECT_EQ(m.players[0].kills, 4);
    EXPECT_EQ(m.players[1].currentSlot, 4);
    EXPECT_TRUE(m.projectiles[7].active);
    EXPECT_NEAR(m.players[1].body.position.x, position.x, 1e-6);
    EXPECT_NEAR(m.players[1].body.position.y, position.y, 1e-6);
    EXPECT_FALSE(visit.quit);
}

TEST_F(MenuPaths, MenuBackResumeStartsANewMatch)
{
    playForAWhile();
    typeKeys({SDLK_DOWN, SDLK_RETURN, SDLK_RETURN, SDLK_RETURN});
    EXPECT_FALSE(visitMenu().quit);
    expectScriptUsedUp();
    expectFreshMatch();
}

TEST_F(MenuPaths, NoWayMisterComesBackOnMenu)
{
    playForAWhile();
    // Exit, quit confirmation, "No way mister!"; the next enter must land on
    // "Menu" (not leave from "Resume game"), then "Back" and "Resume game".
    typeKeys({SDLK_ESCAPE, SDLK_ESCAPE, SDLK_DOWN, SDLK_RETURN, SDLK_RETURN, SDLK_RETURN, SDLK_RETURN});
    EXPECT_FALSE(visitMenu().quit);
    expectScriptUsedUp();
    expectFreshMatch(); // the main-menu page was visited
}

TEST_F(MenuPaths, ALostMatchOpensTheMenuAndStartsANewOne)
{
    playForAWhile();
    game.match->players[1].lives = 0;
    typeKeys({SDLK_RETURN});
    runPassFromControls(game, ControlState{});
    expectScriptUsedUp();
    expectFreshMatch();
    // The time spent in the menu is left out of the next frame.
    EXPECT_EQ(game.lastTicks, keyScript.readings * MS_PER_READING);
}

TEST_F(MenuPaths, AChangedMapAppliesWhenTheMenuCloses)
{
    playOn(0);
    MatchState& m = *game.match;
    typeKeys({SDLK_DOWN, SDLK_RETURN,                            // main-menu page
              SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN,      // "Change map"
              SDLK_DOWN, SDLK_DOWN, SDLK_RETURN,                 // "Twin stars"
              SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_RETURN});
    passWithEscape();
    expectScriptUsedUp();
    EXPECT_EQ(m.currentMapIndex, 2);
    ASSERT_EQ(m.planetCount, game.content->maps[2].planetCount);
    for (const Player& p : m.players)
        EXPECT_TRUE(onSpawnPoint(p.body.position, game.content->maps[2]));
    expectFreshMatch();
}

TEST_F(MenuPaths, ChoosingTheMapInPlayChangesNothing)
{
    playOn(0);
    MatchState& m = *game.match;
    typeKeys({SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN,
              SDLK_DOWN, SDLK_DOWN, SDLK_RETURN,    // "Twin stars" chosen but not applied...
              SDLK_ESCAPE, SDLK_ESCAPE, SDLK_RETURN, // ...and dropped by the next visit,
              SDLK_RETURN,                          // where enter picks the map in play
              SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_RETURN});
    passWithEscape();
    expectScriptUsedUp();
    EXPECT_EQ(m.currentMapIndex, 0);
    EXPECT_EQ(m.selectedMapIndex, 0);
    ASSERT_EQ(m.planetCount, game.content->maps[0].planetCount);
    // Rebuilt bodies would stand at the origin until the next orbit step.
    EXPECT_GT(m.planetBodies[0].position.x, 0.0);
}

TEST_F(MenuPaths, ShipAndWeaponChoicesReachThePlayersAndEveryTextIsFreed)
{
    MatchState& m = *game.match;
    const int ship0 = m.players[0].shipIndex;
    const int ship1 = m.players[1].shipIndex;
    const int weapon0 = m.players[0].weaponRows[0];
    const int weapon5 = m.players[1].weaponRows[0];
    const int textures = liveTextureCount();
    std::vector<SDLKey> keys = {SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_RETURN, // "Ships"
                                SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT, SDLK_ESCAPE, SDLK_ESCAPE,
                                SDLK_DOWN, SDLK_RETURN};                       // "Weapons"
    keys.insert(keys.end(), WEAPON_COUNT + 1, SDLK_RIGHT); // round the table and one more
    keys.insert(keys.end(), {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_LEFT,
                             SDLK_ESCAPE, SDLK_ESCAPE,
                             SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE, SDLK_ESCAPE,       // "Change map"
                             SDLK_DOWN, SDLK_RETURN, SDLK_RETURN, SDLK_ESCAPE,       // "Credits"
                             SDLK_ESCAPE, SDLK_ESCAPE, SDLK_RETURN});
    typeKeys(keys);
    visitMenu();
    expectScriptUsedUp();
    EXPECT_EQ(m.players[0].shipIndex, (ship0 + 1) % SHIP_COUNT);
    EXPECT_EQ(m.players[1].shipIndex, (ship1 + SHIP_COUNT - 1) % SHIP_COUNT);
    EXPECT_EQ(m.players[0].weaponRows[0], (weapon0 + 1) % WEAPON_COUNT);
    EXPECT_EQ(m.players[1].weaponRows[0], (weapon5 + WEAPON_COUNT - 1) % WEAPON_COUNT);
    EXPECT_TRUE(game.content->masks.shipMade[m.players[0].shipIndex]) << "a ship chosen in the yard has its masks";
    const GameConfig saved = configOf(m);
    EXPECT_EQ(saved.shipIndex[0], m.players[0].shipIndex);
    EXPECT_EQ(saved.weapons[1][0], m.players[1].weaponRows[0]);
    expectFreshMatch();
    EXPECT_EQ(liveTextureCount(), textures);
}
