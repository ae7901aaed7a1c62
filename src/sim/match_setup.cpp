#include "sim/match_setup.h"

#include <cassert>
#include <cstdio>

#include "sim/hits.h"
#include "sim/match_rules.h"
#include "sim/random.h"
#include "sim/weapons.h"

void putMapInPlay(MatchState& m, const GameMap& map)
{
    m.currentMapIndex = m.selectedMapIndex = map.index;
    m.planetCount = map.planetCount;
    for (int i = 0; i < MAX_PLANETS; ++i)
        m.planetBodies[i] = Body{};
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        assert(planet.bodySlot >= 0 && planet.bodySlot < map.planetCount);
        Body& body = m.planetBodies[planet.bodySlot];
        body.mass = planet.mass;
        body.attracts = true;
    }
}

// Ship, a fresh life, the five weapons, index, kills and lives of player p.
static void setUpPlayer(MatchState& m, const MatchContent& c, int p, int shipIndex,
                        const int32_t weapons[WEAPON_SLOTS])
{
    assert(shipIndex >= 0 && shipIndex < SHIP_COUNT && c.masks.shipMade[shipIndex]);
    Player& player = m.players[p];
    setUpFromShipType(player, c.ships[shipIndex], shipIndex);
    resetForLife(player);
    equipWeapons(player, weapons, c.fireStates);
    player.index = p;
    player.kills = 0;
    player.lives = m.livesSetting;
}

// The two bubbles follow the ships; their mass is set every frame.
static void setUpShieldBubbles(MatchState& m)
{
    for (Body& bubble : m.shieldBodies) {
        bubble.attracts = false;
        bubble.gravityRange = pixels(SHIELD_BUBBLE_RANGE_PX);
        bubble.radius = 0.0;
        bubble.position = Vec2{};
    }
}

void setUpMatch(MatchState& m, const MatchContent& c, const MatchChoices& choices)
{
    m = MatchState{};
    seedRandom(m.random, choices.seed);
    for (int map = 0; map < MAP_COUNT; ++map)
        for (int i = 0; i < c.maps[map].planetCount; ++i)
            m.orbitAngles[map][i] = c.maps[map].planets[i].orbitAngle;
    assert(choices.mapIndex >= 0 && choices.mapIndex < MAP_COUNT);
    putMapInPlay(m, c.maps[choices.mapIndex]);
    m.livesSetting = choices.lives;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        std::snprintf(m.nameBuffers[p], NAME_BUFFER_SIZE, "%s", choices.names[p]);
        setUpPlayer(m, c, p, choices.shipIndex[p], choices.weapons[p]);
    }
    setUpShieldBubbles(m);
    m.arenaRect = makeArenaRect();
    placeBothPlayers(m, c);
}

// New ships start a fresh life away from the other player.
static void changeShips(MatchState& m, const MatchContent& c, const int32_t ships[PLAYER_COUNT])
{
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const int ship = ships[p];
        assert(ship >= 0 && ship < SHIP_COUNT && c.masks.shipMade[ship]);
        setUpFromShipType(m.players[p], c.ships[ship], ship);
        resetForLife(m.players[p]);
        respawnAway(m.players[p], m.players[1 - p].body.position, currentMap(m, c), m.random);
    }
}

void applyMenuChange(MatchState& m, const MatchContent& c, const MenuChange& change)
{
    switch (change.kind) {
    case MenuChangeKind::SHIPS: changeShips(m, c, change.ships); break;
    case MenuChangeKind::WEAPONS:
        for (int p = 0; p < PLAYER_COUNT; ++p)
            equipWeapons(m.players[p], change.weapons[p], c.fireStates);
        break;
    case MenuChangeKind::MAP: m.selectedMapIndex = change.map; break;
    }
}

StepEvents finishMenuVisit(MatchState& m, const MatchContent& c, const MenuOutcome& visit)
{
    StepEvents events;
    if (visit.newMatch)
        startNewMatch(m, c, events);
    const int32_t mapBefore = m.currentMapIndex;
    if (m.selectedMapIndex != m.currentMapIndex)
        putMapInPlay(m, c.maps[m.selectedMapIndex]);
    // The menu placed the ships on the old map's spawn points, which may lie
    // inside a planet of the new one; they start from the new map's instead.
    if (m.currentMapIndex != mapBefore)
        placeBothPlayers(m, c);
    if (matchLost(m))
        startNewMatch(m, c, events);
    return events;
}

StepEvents replayMenuVisit(MatchState& m, const MatchContent& c, const MenuOutcome& visit)
{
    for (const MenuChange& change : visit.changes)
        applyMenuChange(m, c, change);
    return finishMenuVisit(m, c, visit);
}

void startNewMatch(MatchState& m, const MatchContent& c, StepEvents& events)
{
    for (Player& p : m.players)
        resetForLife(p);
    placeBothPlayers(m, c);
    for (Player& p : m.players) {
        p.lives = m.livesSetting;
        p.kills = 0;
        p.currentSlot = 0;
    }
    for (Projectile& shot : m.projectiles)
        retireShot(shot);
    report(events, MatchEventKind::NEW_MATCH, -1);
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        report(events, MatchEventKind::KILLS_CHANGED, i);
        report(events, MatchEventKind::LIVES_CHANGED, i);
        report(events, MatchEventKind::WEAPON_CHANGED, i);
    }
}
