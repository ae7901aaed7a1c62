// Key sequences through the in-game menu, from the top page as it opens
// (first item selected) back to the match: a map, ship or weapon change, the
// credits, a plain resume, or a few random keys whose end nobody knows.
#pragma once
#include <random>
#include <vector>

enum class MenuKey { UP, DOWN, LEFT, RIGHT, ENTER, ESCAPE };

using MenuKeys = std::vector<MenuKey>;

enum class MenuVisit { MAP, SHIPS, WEAPONS, CREDITS, RESUME, WANDER };

// Visits are dealt from a shuffled bag, so that every kind comes round within
// a few visits however the draws fall: even a short run changes the map.
struct VisitBag {
    std::vector<MenuVisit> left{MenuVisit::MAP}; // a run starts with a map change
};

MenuVisit pickMenuVisit(VisitBag& bag, std::mt19937& random);
// currentMap: the map in play, which the map screen opens on.
MenuKeys planMenuVisit(MenuVisit visit, std::mt19937& random, int currentMap);
MenuKey randomMenuKey(std::mt19937& random);
