#include "sim/match_setup.h"

#include "sim/frame_step.h"
#include "sim/match_rules.h"
#include "sim/weapons.h"

void buildTables(MatchState& m, const PictureSource& pictures)
{
    buildWeaponTable(m.weaponTable, m.fireStateTable);
    buildMapTable(m.mapTable, pictures);
    buildShipTable(m.shipTable);
}

void putMapInPlay(MatchState& m, int mapIndex)
{
    m.currentMapIndex = m.selectedMapIndex = mapIndex;
    m.currentMap = m.mapTable[mapIndex];
    buildPlanetBodies(m);
}

void setUpPlayer(MatchState& m, int p, int shipIndex, const int weapons[WEAPON_SLOTS],
                 const RotatedPictureSource& rotated)
{
    Player& player = m.players[p];
    player.name = m.nameBuffers[p];
    setUpFromShipType(player, m.shipTable[shipIndex], shipIndex, rotated);
    resetForLife(player);
    equipWeapons(player, p, weapons, m.fireStateTable, m.weaponTable);
    player.index = p;
    player.kills = 0;
    player.lives = m.livesSetting;
}

void setUpShieldBubbles(MatchState& m)
{
    for (Body& bubble : m.shieldBodies) {
        bubble.attracts = false;
        bubble.gravityRange = pixels(SHIELD_BUBBLE_RANGE_PX);
        bubble.radius = 0.0;
        bubble.position = Vec2{};
    }
}

void applySelectedMap(MatchState& m)
{
    if (m.selectedMapIndex == m.currentMapIndex)
        return;
    putMapInPlay(m, m.selectedMapIndex);
}

void settleAfterMenu(MatchState& m)
{
    const int32_t mapBefore = m.currentMapIndex;
    applySelectedMap(m);
    // The menu placed the ships on the old map's spawn points, which may lie
    // inside a planet of the new one; they start from the new map's instead.
    if (m.currentMapIndex != mapBefore)
        placeBothPlayers(m);
    if (matchLost(m))
        startNewMatch(m);
}
