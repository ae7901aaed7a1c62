#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include "ui/controls.h"

// SDL names its keys once video is up; the dummy driver needs no display.
class KeysFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    KeyBindings parse(const std::string& text)
    {
        problems.clear();
        return parseKeyBindings(text, problems);
    }
    std::vector<std::string> problems;
};

TEST_F(KeysFile, RemapsActionsByKeyNameAndKeepsTheRest)
{
    const KeyBindings b = parse("# AZERTY: the digit row gives & \xc3\xa9 \" unshifted\n"
                                "\n"
                                "p1.fire = &\r\n"
                                "  P1.Manoeuvre =   WORLD 73  \n"
                                "p1.weapon = \"\n"
                                "p2.thrust = [8]\n"
                                "p2.fire = left shift\n"
                                "menu.enter = enter\n"
                                "p1.fire = =\n");
    EXPECT_TRUE(problems.empty()) << problems.front();
    const struct {
        const char* name;
        SDLKey key;
    } aliases[] = {{"\xc3\xa9", SDLK_WORLD_73}, {"\xc3\x89", SDLK_WORLD_73}, {"\xc3\x87", SDLK_WORLD_71},
                   {"\xc3\x97", SDLK_WORLD_55}, {"\xc3\x9f", SDLK_WORLD_63}, {"Keypad 8", SDLK_KP8},
                   {"keypad +", SDLK_KP_PLUS}, {"keypad enter", SDLK_KP_ENTER}, {"\xc2\x9f", SDLK_UNKNOWN},
                   {"keypad ", SDLK_UNKNOWN}, {"keypad q", SDLK_UNKNOWN}, {"\xe9", SDLK_UNKNOWN}};
    for (const auto& alias : aliases)
        EXPECT_EQ(keyNamed(alias.name), alias.key) << alias.name;
    KeyBindings expected = DEFAULT_KEY_BINDINGS;
    expected.players[0][FIRE] = SDLK_EQUALS; // the later line wins
    expected.players[0][MANOEUVRE] = SDLK_WORLD_73;
    expected.players[0][WEAPON] = SDLK_QUOTEDBL;
    expected.players[1][THRUST] = SDLK_KP8;
    expected.players[1][FIRE] = SDLK_LSHIFT;
    expected.menu[MENU_ENTER] = SDLK_KP_ENTER;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int a = 0; a < PLAYER_ACTIONS; ++a)
            EXPECT_EQ(b.players[p][a], expected.players[p][a]) << "player " << p + 1 << " action " << a;
    for (int a = 0; a < MENU_ACTIONS; ++a)
        EXPECT_EQ(b.menu[a], expected.menu[a]) << "menu action " << a;
}

TEST_F(KeysFile, UnusableLinesAreReportedByNumberAndIgnored)
{
    const KeyBindings b = parse("p1.fier = space\n"     // 1
                                "p1.fire = spcae\n"     // 2
                                "fire space\n"          // 3
                                "p1.fire = space\n"     // 4
                                "p1.left = space\n"     // 5: fire has it from line 4
                                "p2.fire = space\n"     // 6: another player may share it
                                "p1.thrust = g\n"       // 7: takes the built-in key of p1.right
                                "menu.up = unknown key\n"  // 8
                                "menu.enter = escape\n");  // 9: nothing would open the menu
    const std::vector<std::string> expected = {
        "line 1 ignored: unknown action \"p1.fier\"",
        "line 2 ignored: unknown key \"spcae\" for p1.fire",
        "line 3 ignored: \"fire space\" is not \"action = key\"",
        "line 5 ignored: p1.left and p1.fire (line 4) on one key, \"space\"",
        "line 8 ignored: unknown key \"unknown key\" for menu.up",
        "line 9 ignored: it takes \"escape\" from menu.escape, which would leave no key to open the menu",
        "line 7: p1.right has no key: its key went to p1.thrust",
    };
    EXPECT_EQ(problems, expected);
    EXPECT_EQ(b.players[0][FIRE], SDLK_SPACE);
    EXPECT_EQ(b.players[0][TURN_LEFT], SDLK_d);
    EXPECT_EQ(b.players[1][FIRE], SDLK_SPACE);
    EXPECT_EQ(b.players[0][THRUST], SDLK_g);
    EXPECT_EQ(b.players[0][TURN_RIGHT], SDLK_UNKNOWN);
    EXPECT_EQ(b.menu[MENU_UP], SDLK_UP);
    EXPECT_EQ(b.menu[MENU_ESCAPE], SDLK_ESCAPE);
}

TEST_F(KeysFile, SwappedKeysAndRemappedMenuKeysAreTheOnesRead)
{
    const KeyBindings b = parse("p1.left = 1\np1.fire = d\nmenu.enter = space\nmenu.escape = q\n");
    EXPECT_TRUE(problems.empty()) << problems.front();
    unsigned char held[SDLK_LAST] = {};
    held[SDLK_d] = 1;
    KeySnapshot keys;
    keys.held = held;
    keys.pressed[SDLK_SPACE] = keys.pressed[SDLK_RETURN] = keys.pressed[SDLK_ESCAPE] = true;
    ControlState c;
    controlsFromKeys(keys, b, c);
    EXPECT_TRUE(c.players[0].fire);
    EXPECT_FALSE(c.players[0].turnLeft || c.escape);
    const MenuInput menu = menuInputFromKeys(keys, b);
    EXPECT_TRUE(menu.enter);
    EXPECT_FALSE(menu.escape);
    held[SDLK_UNKNOWN] = 1; // what SDL holds for a key it has no symbol for
    keys.pressed[SDLK_UNKNOWN] = true;
    controlsFromKeys(keys, parse("p1.thrust = g\n"), c);
    EXPECT_FALSE(c.players[0].turnRight || c.players[0].thrust);
}
