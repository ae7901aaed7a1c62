#include "sim/match_state.h"

#include <cassert>

namespace {

constexpr double HUD_STRIP_PX = 45.0;
constexpr double PLAYFIELD_WIDTH_PX = 1024.0;
constexpr double PLAYFIELD_HEIGHT_PX = 768.0;

} // namespace

WorldRect makeArenaRect()
{
    return WorldRect{0.0, pixels(HUD_STRIP_PX), pixels(PLAYFIELD_WIDTH_PX),
                     pixels(PLAYFIELD_HEIGHT_PX - HUD_STRIP_PX)};
}

const GameMap& currentMap(const MatchState& m, const MatchContent& c)
{
    assert(m.currentMapIndex >= 0 && m.currentMapIndex < MAP_COUNT);
    return c.maps[m.currentMapIndex];
}

const WeaponType& weaponInSlot(const MatchContent& c, const Player& p, int slot)
{
    assert(slot >= 0 && slot < WEAPON_SLOTS);
    const int row = p.weaponRows[slot];
    assert(row >= 0 && row < WEAPON_COUNT);
    return c.weapons[row];
}

const WeaponType& selectedWeapon(const MatchContent& c, const Player& p) { return weaponInSlot(c, p, p.currentSlot); }

const CollisionMask& currentMask(const MatchContent& c, const Player& p)
{
    return shipMask(c.masks, p.shipIndex, p.rotationFrame);
}
