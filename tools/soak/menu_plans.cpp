#include "menu_plans.h"

#include <algorithm>
#include <iterator>

#include "content/map_table.h"
#include "ui/armory.h"
#include "ui/map_selection.h"

namespace {

// Items of the main-menu page.
constexpr int SHIPS_ITEM = 1;
constexpr int WEAPONS_ITEM = 2;
constexpr int MAP_ITEM = 3;
constexpr int CREDITS_ITEM = 4;

constexpr int MAX_ROW_STEPS = 3;       // ship or weapon changes on one row
constexpr int MAX_WEAPON_ROWS = 3;     // rows of the armory visited in one go
constexpr int MIN_WANDER_KEYS = 3;
constexpr int MAX_WANDER_KEYS = 10;
constexpr int MENU_KEY_COUNT = static_cast<int>(MenuKey::ESCAPE) + 1;

// A full bag. Map changes are the rarest event otherwise, so they get the
// largest share.
const MenuVisit FULL_BAG[] = {MenuVisit::MAP,    MenuVisit::SHIPS,   MenuVisit::MAP,     MenuVisit::WEAPONS,
                              MenuVisit::RESUME, MenuVisit::CREDITS, MenuVisit::WANDER,  MenuVisit::MAP,
                              MenuVisit::SHIPS,  MenuVisit::WEAPONS};

int below(std::mt19937& random, int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

void append(MenuKeys& keys, MenuKey key, int times)
{
    for (int i = 0; i < times; ++i)
        keys.push_back(key);
}

// Top page -> "Menu" -> the main-menu item given.
MenuKeys openMainItem(int item)
{
    MenuKeys keys{MenuKey::DOWN, MenuKey::ENTER};
    append(keys, MenuKey::DOWN, item);
    keys.push_back(MenuKey::ENTER);
    return keys;
}

// From a sub-screen whose selection is not on "Return": out of it, to "Back",
// to the top page, and into the match.
void leaveSubScreen(MenuKeys& keys)
{
    append(keys, MenuKey::ESCAPE, 4);
    keys.push_back(MenuKey::ENTER);
}

void stepRow(MenuKeys& keys, std::mt19937& random)
{
    append(keys, below(random, 2) ? MenuKey::RIGHT : MenuKey::LEFT, 1 + below(random, MAX_ROW_STEPS));
}

MenuKeys planMapChange(std::mt19937& random, int currentMap)
{
    MenuKeys keys = openMainItem(MAP_ITEM);
    const int target = (currentMap + 1 + below(random, MAP_COUNT - 1)) % MAP_COUNT;
    const int entries = MAP_SELECTION_RETURN + 1;
    append(keys, MenuKey::DOWN, (target - currentMap + entries) % entries);
    keys.push_back(MenuKey::ENTER);
    leaveSubScreen(keys);
    return keys;
}

MenuKeys planShipChange(std::mt19937& random)
{
    MenuKeys keys = openMainItem(SHIPS_ITEM);
    stepRow(keys, random);
    keys.push_back(MenuKey::DOWN);
    stepRow(keys, random);
    leaveSubScreen(keys);
    return keys;
}

MenuKeys planWeaponChange(std::mt19937& random)
{
    MenuKeys keys = openMainItem(WEAPONS_ITEM);
    int selection = 0;
    const int rows = 1 + below(random, MAX_WEAPON_ROWS);
    for (int row = 0; row < rows; ++row) {
        // Never onto "Return", where the first Escape would already leave.
        const int step = below(random, ARMORY_RETURN - selection);
        append(keys, MenuKey::DOWN, step);
        selection += step;
        stepRow(keys, random);
    }
    leaveSubScreen(keys);
    return keys;
}

MenuKeys planCredits()
{
    MenuKeys keys = openMainItem(CREDITS_ITEM);
    // The credits leave on the first Escape; the main page then needs two more.
    append(keys, MenuKey::ESCAPE, 3);
    keys.push_back(MenuKey::ENTER);
    return keys;
}

MenuKeys planWander(std::mt19937& random)
{
    MenuKeys keys;
    const int count = MIN_WANDER_KEYS + below(random, MAX_WANDER_KEYS - MIN_WANDER_KEYS + 1);
    for (int i = 0; i < count; ++i)
        keys.push_back(randomMenuKey(random));
    return keys;
}

} // namespace

MenuVisit pickMenuVisit(VisitBag& bag, std::mt19937& random)
{
    if (bag.left.empty()) {
        bag.left.assign(std::begin(FULL_BAG), std::end(FULL_BAG));
        std::shuffle(bag.left.begin(), bag.left.end(), random);
    }
    const MenuVisit visit = bag.left.back();
    bag.left.pop_back();
    return visit;
}

MenuKeys planMenuVisit(MenuVisit visit, std::mt19937& random, int currentMap)
{
    switch (visit) {
    case MenuVisit::MAP: return planMapChange(random, currentMap);
    case MenuVisit::SHIPS: return planShipChange(random);
    case MenuVisit::WEAPONS: return planWeaponChange(random);
    case MenuVisit::CREDITS: return planCredits();
    case MenuVisit::RESUME: return {MenuKey::ENTER};
    case MenuVisit::WANDER: return planWander(random);
    }
    return {};
}

MenuKey randomMenuKey(std::mt19937& random) { return static_cast<MenuKey>(below(random, MENU_KEY_COUNT)); }
