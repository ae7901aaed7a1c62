// A match set up in memory for simulation tests: the real content tables,
// ships and planets whose pictures are filled discs, and no window.
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include "sim/frame_step.h"
#include "support/disc_picture.h"
#include "sim/hits.h"
#include "sim/match_rules.h"
#include "sim/orbits.h"
#include "sim/random.h"
#include "sim/weapons.h"

constexpr int TEST_SHIP_RADIUS_PX = 10;
constexpr int TEST_PLANET_RADIUS_PX = 20;
constexpr int32_t TEST_START_MS = 1000;

// The tables are built once per test program: their animation frames come
// from a fixed arena that lives for the run.
struct SimTables {
    WeaponType weapons[WEAPON_COUNT];
    FireState fireStates[WEAPON_COUNT];
    GameMap maps[MAP_COUNT];
    ShipType ships[SHIP_COUNT];
    std::vector<Planet> pristinePlanets[MAP_COUNT]; // orbit angles as built

    SimTables()
    {
        const DiscPicture planetDisc(TEST_PLANET_RADIUS_PX);
        buildWeaponTable(weapons, fireStates);
        buildMapTable(maps, [&planetDisc](int) { return planetDisc.picture; });
        buildShipTable(ships);
        for (int i = 0; i < MAP_COUNT; ++i)
            pristinePlanets[i].assign(maps[i].planets, maps[i].planets + maps[i].planetCount);
    }

    // Orbit angles advance in the shared rows; every test starts from the built ones.
    void restorePlanets()
    {
        for (int i = 0; i < MAP_COUNT; ++i)
            std::copy(pristinePlanets[i].begin(), pristinePlanets[i].end(), maps[i].planets);
    }
};

// Built on first use, not during static start-up: the map table fills arrays
// that are themselves constructed at start-up, in an order no header controls.
inline SimTables& simTables()
{
    static SimTables tables;
    return tables;
}

// Ship pictures turned by any angle are the same disc.
inline RotatedPictureSource discShipPictures(const DiscPicture& disc)
{
    return [&disc](int, double) { return RotatedPicture{disc.picture, nullptr}; };
}

// Counts the simulation's requests to the presentation.
struct EventLog {
    int livesChanged[PLAYER_COUNT] = {};
    int killsChanged[PLAYER_COUNT] = {};
    int weaponChanged[PLAYER_COUNT] = {};
    std::vector<std::string> messages;
};

class SimMatch : public ::testing::Test {
protected:
    void SetUp() override { setUpMatch(2, 0, 1); }

    void setUpMatch(int mapIndex, int ship1, int ship2)
    {
        SimTables& tables = simTables();
        tables.restorePlanets();
        match = std::make_unique<MatchState>();
        MatchState& m = *match;
        fillKillMessages(m);
        std::copy(tables.weapons, tables.weapons + WEAPON_COUNT, m.weaponTable);
        std::copy(tables.fireStates, tables.fireStates + WEAPON_COUNT, m.fireStateTable);
        std::copy(tables.maps, tables.maps + MAP_COUNT, m.mapTable);
        std::copy(tables.ships, tables.ships + SHIP_COUNT, m.shipTable);
        m.currentMapIndex = m.selectedMapIndex = mapIndex;
        m.currentMap = m.mapTable[mapIndex];
        buildPlanetBodies(m);
        moveOrbits(m.currentMap, m.planetBodies, 0);
        m.arenaRect = makeArenaRect();
        buildBlastMasks(m.blastMasks);
        setUpShieldBubbles();
        std::snprintf(m.nameBuffers[0], NAME_BUFFER_SIZE, "Alice");
        std::snprintf(m.nameBuffers[1], NAME_BUFFER_SIZE, "Bob");
        const int ships[PLAYER_COUNT] = {ship1, ship2};
        for (int i = 0; i < PLAYER_COUNT; ++i)
            setUpPlayer(i, ships[i]);
        connectEvents();
        seedRandom(12345);
    }

    void setUpShieldBubbles()
    {
        for (Body& bubble : match->shieldBodies) {
            bubble.attracts = false;
            bubble.gravityRange = pixels(30);
        }
    }

    void setUpPlayer(int i, int ship)
    {
        MatchState& m = *match;
        Player& p = m.players[i];
        p.name = m.nameBuffers[i];
        setUpFromShipType(p, m.shipTable[ship], ship, discShipPictures(shipDisc));
        resetForLife(p);
        const int weapons[WEAPON_SLOTS] = {0, 1, 2, 3, 4};
        equipWeapons(p, i, weapons, m.fireStateTable, m.weaponTable);
        p.index = i;
        p.kills = 0;
        p.lives = m.livesSetting;
    }

    void connectEvents()
    {
        MatchEvents& e = match->events;
        e.context = &log;
        e.livesChanged = [](void* c, int p) { ++static_cast<EventLog*>(c)->livesChanged[p]; };
        e.killsChanged = [](void* c, int p) { ++static_cast<EventLog*>(c)->killsChanged[p]; };
        e.weaponChanged = [](void* c, int p) { ++static_cast<EventLog*>(c)->weaponChanged[p]; };
        e.messageShown = [](void* c, const char* text) { static_cast<EventLog*>(c)->messages.push_back(text); };
    }

    // Puts a player at a pixel position, at rest, facing the given angle.
    void place(int i, double xPx, double yPx, double heading = 0.0)
    {
        ShipBody& body = match->players[i].body;
        body.position = Vec2{pixels(xPx), pixels(yPx)};
        body.velocity = PolarVec{};
        body.heading = PolarVec{1.0, heading};
        body.insideArena = insideRect(match->arenaRect, body.position);
        updateShieldBubbles(match->players, match->shieldBodies);
    }

    void equip(int i, std::initializer_list<int> weaponList)
    {
        int weapons[WEAPON_SLOTS] = {};
        int slot = 0;
        for (int w : weaponList)
            weapons[slot++] = w;
        equipWeapons(match->players[i], i, weapons, match->fireStateTable, match->weaponTable);
    }

    int activeShots() const
    {
        int n = 0;
        for (const Projectile& shot : match->projectiles)
            n += shot.active ? 1 : 0;
        return n;
    }

    Player& player(int i) { return match->players[i]; }

    DiscPicture shipDisc{TEST_SHIP_RADIUS_PX};
    std::unique_ptr<MatchState> match;
    EventLog log;
};
