#include <gtest/gtest.h>
#include <memory>
#include "content/ship_table.h"
#include "ui/armory.h"
#include "ui/credits.h"
#include "ui/map_selection.h"
#include "ui/menu.h"
#include "ui/ship_yard.h"

namespace {

MenuInput key(bool MenuInput::*flag)
{
    MenuInput input;
    input.*flag = true;
    return input;
}

const MenuInput UP = key(&MenuInput::up);
const MenuInput DOWN = key(&MenuInput::down);
const MenuInput LEFT = key(&MenuInput::left);
const MenuInput RIGHT = key(&MenuInput::right);
const MenuInput ENTER = key(&MenuInput::enter);
const MenuInput ESCAPE = key(&MenuInput::escape);

} // namespace

TEST(MainMenuKeys, EscapesWalkFromResumeToTheQuit)
{
    MenuState state;
    bool quit = false;
    applyMenuKeys(state, ESCAPE, quit);
    EXPECT_EQ(state.page, TOP_PAGE);
    EXPECT_EQ(state.selection, 2); // "Exit"
    applyMenuKeys(state, ESCAPE, quit);
    EXPECT_EQ(state.page, QUIT_PAGE);
    EXPECT_EQ(state.selection, 0); // "You betcha!"
    EXPECT_FALSE(quit);
    applyMenuKeys(state, ESCAPE, quit);
    EXPECT_TRUE(quit);
    EXPECT_TRUE(state.leaveMenu);
    EXPECT_FALSE(state.submenuVisited);
}

TEST(MainMenuKeys, NoWayMisterReturnsWithTheMarkerOnMenu)
{
    MenuState state;
    bool quit = false;
    applyMenuKeys(state, DOWN, quit);
    applyMenuKeys(state, DOWN, quit);
    applyMenuKeys(state, ENTER, quit); // "Exit"
    applyMenuKeys(state, UP, quit);    // wraps to "No way mister!"
    EXPECT_EQ(state.selection, 1);
    applyMenuKeys(state, ESCAPE, quit); // only moves to "You betcha!"
    EXPECT_EQ(state.selection, 0);
    EXPECT_FALSE(quit);
    applyMenuKeys(state, DOWN, quit);
    applyMenuKeys(state, ENTER, quit);
    EXPECT_EQ(state.page, TOP_PAGE);
    EXPECT_EQ(state.selection, 1); // "Menu"
    EXPECT_FALSE(quit || state.leaveMenu);
}

TEST(MainMenuKeys, MainMenuPageOpensSubScreensAndMarksTheVisit)
{
    MenuState state;
    bool quit = false;
    applyMenuKeys(state, DOWN, quit);
    EXPECT_EQ(applyMenuKeys(state, ENTER, quit), SubScreen::NONE);
    EXPECT_EQ(state.page, MAIN_PAGE);
    EXPECT_FALSE(state.submenuVisited);
    const SubScreen expected[] = {SubScreen::SHIP_YARD, SubScreen::ARMORY, SubScreen::MAP_SELECTION,
                                  SubScreen::CREDITS};
    for (SubScreen screen : expected) {
        applyMenuKeys(state, DOWN, quit);
        EXPECT_EQ(applyMenuKeys(state, ENTER, quit), screen);
        EXPECT_EQ(state.page, MAIN_PAGE);
    }
    EXPECT_TRUE(state.submenuVisited);
    applyMenuKeys(state, LEFT, quit);
    applyMenuKeys(state, RIGHT, quit);
    EXPECT_EQ(state.selection, 4);
    applyMenuKeys(state, DOWN, quit); // wraps to "Back"
    EXPECT_EQ(state.selection, 0);
    applyMenuKeys(state, UP, quit);
    applyMenuKeys(state, ESCAPE, quit); // to "Back"
    EXPECT_EQ(state.page, MAIN_PAGE);
    applyMenuKeys(state, ESCAPE, quit);
    EXPECT_EQ(state.page, TOP_PAGE);
    EXPECT_EQ(state.selection, 0);
    applyMenuKeys(state, ENTER, quit);
    EXPECT_TRUE(state.leaveMenu);
    EXPECT_FALSE(quit);
}

TEST(MainMenuKeys, BackgroundTintStopsNearBlue)
{
    MenuState state;
    fadeMenuTint(state, 100);
    EXPECT_NEAR(state.backgroundTint, 217.5, 1e-9);
    for (int frame = 0; frame < 10; ++frame)
        fadeMenuTint(state, 100);
    EXPECT_NEAR(state.backgroundTint, 142.5, 1e-9); // the step that crossed 150 is kept
}

TEST(ShipYardKeys, ChoicesWrapAndRestartTheirPreview)
{
    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
    buildShipTable(ships, frames);
    Player players[PLAYER_COUNT];
    players[0].shipIndex = 0;
    players[1].shipIndex = 3;
    ShipYardState state = openShipYard(players, ships, 1000);
    state.previewAngles[0] = state.previewAngles[1] = 1.5;
    applyShipYardKeys(state, LEFT, ships, 2000);
    EXPECT_EQ(state.choices[0], 3);
    EXPECT_NEAR(state.previewAngles[0], 0.0, 1e-12);
    EXPECT_NEAR(state.previewAngles[1], 1.5, 1e-12);
    EXPECT_TRUE(state.previews[0].running);
    EXPECT_EQ(state.previews[0].frameStart, 2000);
    EXPECT_EQ(state.previews[0].firstFrame, ships[3].thrustAnim.firstFrame) << "the new ship's engine runs";
    EXPECT_FALSE(ships[3].thrustAnim.running) << "the table stays as it was built";
    applyShipYardKeys(state, DOWN, ships, 2000);
    applyShipYardKeys(state, RIGHT, ships, 2000);
    EXPECT_EQ(state.choices[1], 0);
    EXPECT_NEAR(state.previewAngles[1], 0.0, 1e-12);
    applyShipYardKeys(state, ENTER, ships, 2000); // nothing on a player's row
    EXPECT_FALSE(state.leave);
    applyShipYardKeys(state, ESCAPE, ships, 2000);
    EXPECT_EQ(state.selection, SHIP_YARD_RETURN);
    applyShipYardKeys(state, LEFT, ships, 2000); // nothing on "Return"
    EXPECT_EQ(state.choices[0], 3);
    EXPECT_EQ(state.choices[1], 0);
    EXPECT_FALSE(state.leave);
    applyShipYardKeys(state, ESCAPE, ships, 2000);
    EXPECT_TRUE(state.leave);
}

TEST(ShipYardKeys, ARowThatMayNotChangeStaysAsItIs)
{
    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
    buildShipTable(ships, frames);
    Player players[PLAYER_COUNT];
    ShipYardState state = openShipYard(players, ships, 1000);
    state.mayChange[0] = false;
    applyShipYardKeys(state, RIGHT, ships, 2000);
    EXPECT_EQ(state.choices[0], 0);
    applyShipYardKeys(state, DOWN, ships, 2000);
    applyShipYardKeys(state, RIGHT, ships, 2000);
    EXPECT_EQ(state.choices[1], 1);
    ArmoryState armory = openArmory(players);
    armory.mayChange[0] = false;
    EXPECT_EQ(applyArmoryKeys(armory, RIGHT), -1);
    EXPECT_EQ(armory.choices[0][0], 0);
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
        applyArmoryKeys(armory, DOWN);
    EXPECT_EQ(applyArmoryKeys(armory, RIGHT), WEAPON_SLOTS) << "player 2's first slot";
    EXPECT_EQ(armory.choices[1][0], 1);
}

TEST(ArmoryKeys, SlotsWrapThroughTheWeaponTable)
{
    Player players[PLAYER_COUNT];
    players[1].weaponRows[4] = 9;
    ArmoryState state = openArmory(players);
    EXPECT_EQ(applyArmoryKeys(state, LEFT), 0);
    EXPECT_EQ(state.choices[0][0], 9);
    applyArmoryKeys(state, UP); // from player 1's first slot to "Return"
    EXPECT_EQ(state.selection, ARMORY_RETURN);
    EXPECT_EQ(applyArmoryKeys(state, RIGHT), -1);
    applyArmoryKeys(state, UP);
    EXPECT_EQ(state.selection, 9); // player 2's fifth slot
    EXPECT_EQ(applyArmoryKeys(state, RIGHT), 9);
    EXPECT_EQ(state.choices[1][4], 0);
    applyArmoryKeys(state, ENTER);
    EXPECT_FALSE(state.leave);
    applyArmoryKeys(state, DOWN);
    applyArmoryKeys(state, DOWN); // wraps past "Return"
    EXPECT_EQ(state.selection, 0);
    applyArmoryKeys(state, ESCAPE);
    EXPECT_EQ(state.selection, ARMORY_RETURN);
    EXPECT_FALSE(state.leave);
    applyArmoryKeys(state, ENTER);
    EXPECT_TRUE(state.leave);
}

TEST(MapSelectionKeys, OnlyEnterChoosesAndOpeningDropsAnUnappliedChoice)
{
    GameMap inPlay;
    inPlay.index = 1;
    int32_t selected = 2; // chosen on an earlier visit, not yet applied
    MapSelectionState state = openMapSelection(inPlay, selected);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(state.selection, 1);
    applyMapSelectionKeys(state, DOWN, selected);
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(applyMapSelectionKeys(state, ENTER, selected));
    EXPECT_EQ(selected, 2);
    applyMapSelectionKeys(state, DOWN, selected);
    applyMapSelectionKeys(state, DOWN, selected); // past "Return" to the first map
    EXPECT_TRUE(applyMapSelectionKeys(state, ENTER, selected));
    EXPECT_EQ(selected, 0);
    applyMapSelectionKeys(state, UP, selected);
    EXPECT_EQ(state.selection, MAP_SELECTION_RETURN);
    EXPECT_FALSE(applyMapSelectionKeys(state, LEFT, selected));
    EXPECT_FALSE(applyMapSelectionKeys(state, ENTER, selected));
    EXPECT_TRUE(state.leave);
    EXPECT_EQ(selected, 0);
}

TEST(CreditsFade, LinesStartTwoHundredMillisecondsApart)
{
    CreditFades fades = startCreditFades();
    for (int ms = 0; ms < 1000; ++ms)
        stepCreditFades(fades, 1);
    EXPECT_NEAR(fades.alpha[0], 200.0, 0.5);
    EXPECT_NEAR(fades.alpha[4], 40.0, 0.5);   // line 3
    EXPECT_NEAR(fades.alpha[5], 0.0, 1e-12);  // line 4 has not started
    for (int ms = 1000; ms < 3675; ++ms)
        stepCreditFades(fades, 1);
    for (double alpha : fades.alpha)
        EXPECT_NEAR(alpha, 255.0, 1e-6);
}

TEST(CreditsFade, ALongFrameFadesByItsWholeLength)
{
    CreditFades fades = startCreditFades();
    stepCreditFades(fades, 250);
    EXPECT_NEAR(fades.alpha[0], 50.0, 1e-9);
    EXPECT_NEAR(fades.alpha[1], 50.0, 1e-9); // started 50 ms ago, still takes all 250
    EXPECT_NEAR(fades.alpha[2], 0.0, 1e-12);
    stepCreditFades(fades, 5000);
    EXPECT_NEAR(fades.alpha[CREDIT_TEXTS - 1], 255.0, 1e-9);
}

TEST(MainMenuKeys, FirstItemSaysNewGameOnceAPlayerHasNoLives)
{
    auto m = std::make_unique<MatchState>();
    m->players[0].lives = 3;
    m->players[1].lives = 1;
    EXPECT_STREQ(resumeItemText(*m), "Resume game");
    m->players[1].lives = 0;
    EXPECT_STREQ(resumeItemText(*m), "New Game");
}
