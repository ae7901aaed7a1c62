// The soak tool's key plans walked through the game's own menu key handling:
// each must come back to the match on its last key without ever quitting,
// and the map and ship plans must really change what they are meant to.
#include <gtest/gtest.h>
#include <random>
#include "content/ship_table.h"
#include "ui/armory.h"
#include "ui/map_selection.h"
#include "ui/menu.h"
#include "ui/ship_yard.h"
// The plans belong to the soak tool, which is no library; they are compiled in here.
#include "../../tools/soak/menu_plans.cpp"

namespace {

constexpr int SEEDS = 200;

// The menu with whichever sub-screen is open, as the menu loops would run it.
struct MenuWalk {
    MenuState menu;
    SubScreen screen = SubScreen::NONE;
    ShipYardState yard;
    ArmoryState armory;
    MapSelectionState maps;
    GameMap currentMap;
    int32_t selectedMap = 0;
    bool quit = false;
    Player players[PLAYER_COUNT];
    AnimationFrames frames;
    ShipType ships[SHIP_COUNT];
};

MenuInput inputOf(MenuKey key)
{
    MenuInput input;
    input.up = key == MenuKey::UP;
    input.down = key == MenuKey::DOWN;
    input.left = key == MenuKey::LEFT;
    input.right = key == MenuKey::RIGHT;
    input.enter = key == MenuKey::ENTER;
    input.escape = key == MenuKey::ESCAPE;
    return input;
}

void openScreen(MenuWalk& w)
{
    if (w.screen == SubScreen::SHIP_YARD)
        w.yard = openShipYard(w.players, w.ships, 0);
    else if (w.screen == SubScreen::ARMORY)
        w.armory = openArmory(w.players);
    else if (w.screen == SubScreen::MAP_SELECTION)
        w.maps = openMapSelection(w.currentMap, w.selectedMap);
}

void press(MenuWalk& w, MenuKey key)
{
    const MenuInput input = inputOf(key);
    bool left = false;
    switch (w.screen) {
    case SubScreen::NONE:
        w.screen = applyMenuKeys(w.menu, input, w.quit);
        openScreen(w);
        return;
    case SubScreen::SHIP_YARD:
        applyShipYardKeys(w.yard, input, w.ships, 0);
        left = w.yard.leave;
        break;
    case SubScreen::ARMORY:
        applyArmoryKeys(w.armory, input);
        left = w.armory.leave;
        break;
    case SubScreen::MAP_SELECTION:
        applyMapSelectionKeys(w.maps, input, w.selectedMap);
        left = w.maps.leave;
        break;
    case SubScreen::CREDITS: left = input.escape; break;
    }
    if (left)
        w.screen = SubScreen::NONE;
}

// Walks a plan from a freshly opened menu; false if the menu closed early,
// stayed open after the last key, or quit.
bool walk(MenuWalk& w, const MenuKeys& keys)
{
    buildShipTable(w.ships, w.frames);
    w.selectedMap = w.currentMap.index;
    for (MenuKey key : keys) {
        if (w.menu.leaveMenu)
            return false;
        press(w, key);
    }
    return w.menu.leaveMenu && !w.quit;
}

} // namespace

TEST(SoakMenuPlans, EveryPlanEndsBackInTheMatchWithoutQuitting)
{
    const MenuVisit visits[] = {MenuVisit::MAP, MenuVisit::SHIPS, MenuVisit::WEAPONS, MenuVisit::CREDITS,
                                MenuVisit::RESUME};
    for (MenuVisit visit : visits)
        for (int map = 0; map < MAP_COUNT; ++map)
            for (int seed = 0; seed < SEEDS; ++seed) {
                std::mt19937 random(seed);
                MenuWalk w;
                w.currentMap.index = map;
                ASSERT_TRUE(walk(w, planMenuVisit(visit, random, map)))
                    << "visit " << static_cast<int>(visit) << ", map " << map << ", seed " << seed;
                EXPECT_EQ(w.menu.submenuVisited, visit != MenuVisit::RESUME);
            }
}

TEST(SoakMenuPlans, MapAndShipPlansChangeTheirChoice)
{
    for (int map = 0; map < MAP_COUNT; ++map)
        for (int seed = 0; seed < SEEDS; ++seed) {
            std::mt19937 random(seed);
            MenuWalk maps;
            maps.currentMap.index = map;
            ASSERT_TRUE(walk(maps, planMenuVisit(MenuVisit::MAP, random, map)));
            EXPECT_NE(maps.selectedMap, map) << "seed " << seed;
            EXPECT_GE(maps.selectedMap, 0);
            EXPECT_LT(maps.selectedMap, MAP_COUNT);
            MenuWalk ships;
            ASSERT_TRUE(walk(ships, planMenuVisit(MenuVisit::SHIPS, random, map)));
            for (int p = 0; p < PLAYER_COUNT; ++p)
                EXPECT_NE(ships.yard.choices[p], ships.players[p].shipIndex) << "player " << p << ", seed " << seed;
        }
}

TEST(SoakMenuPlans, BagStartsWithAMapChangeAndDealsEveryKindInOneRound)
{
    std::mt19937 random(3);
    VisitBag bag;
    EXPECT_EQ(pickMenuVisit(bag, random), MenuVisit::MAP);
    const int roundSize = static_cast<int>(std::size(FULL_BAG));
    int seen[static_cast<int>(MenuVisit::WANDER) + 1] = {};
    for (int i = 0; i < roundSize; ++i)
        seen[static_cast<int>(pickMenuVisit(bag, random))] += 1;
    for (int kind = 0; kind <= static_cast<int>(MenuVisit::WANDER); ++kind)
        EXPECT_GE(seen[kind], 1) << "kind " << kind;
    EXPECT_EQ(seen[static_cast<int>(MenuVisit::MAP)], 3);
}
