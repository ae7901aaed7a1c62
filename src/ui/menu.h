// The in-game menu: resume or new game, the main-menu page with its four
// sub-screens, and the quit confirmation.
#pragma once
#include <cstdint>
#include "gfx/text.h"
#include "sim/match_state.h"
#include "ui/menu_input.h"
#include "sim/menu_outcome.h"

enum MenuPage : int32_t { TOP_PAGE = 0, QUIT_PAGE = 1, MAIN_PAGE = 2 };

// What enter on the main-menu page opens.
enum class SubScreen { NONE, SHIP_YARD, ARMORY, MAP_SELECTION, CREDITS };

// Who may change what in a visit: in a network match each side only its own
// player's ship and weapons, and only the host the map.
struct MenuRules {
    bool playerMayChange[PLAYER_COUNT] = {true, true};
    bool mapMayChange = true;
};

struct MenuState {
    int32_t page = TOP_PAGE;
    int32_t selection = 0;
    bool leaveMenu = false;
    bool submenuVisited = false; // leaving then starts a new match
    double backgroundTint = 255.0; // red and green of the background; falls to about 150
};

// Item 0 of the top page, decided when the menu opens.
const char* resumeItemText(const MatchState& m);
// The background turns blue: the tint drops by 0.375 per millisecond until it
// is at or below 150.
void fadeMenuTint(MenuState& state, int elapsedMs);
// One frame's keys on the page in view. Only the quit confirmation, and a
// stop asked by the system from any page, set quitRequested.
SubScreen applyMenuKeys(MenuState& state, const MenuInput& input, bool& quitRequested);
// Runs over the frame in the back buffer until the players leave, and returns
// what the visit changed, each change made as its sub-screen closed (a ship
// type flown for the first time gets its masks then). What ends the visit
// (finishMenuVisit) is the caller's.
MenuOutcome runMenu(MatchState& m, MatchContent& c, const Fonts& fonts, const MenuRules& rules = MenuRules{});
