#include "replay/match_checksum.h"

#include <cassert>
#include <cstring>

namespace {

// FNV-1a over the bit patterns of the values: any change of any bit shows.
struct Hash {
    uint64_t value = 14695981039346656037ull;

    void bytes(const void* data, size_t size)
    {
        const auto* b = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            value ^= b[i];
            value *= 1099511628211ull;
        }
    }
    void add(double x) { bytes(&x, sizeof x); }
    void add(int32_t x) { bytes(&x, sizeof x); }
    void add(uint32_t x) { bytes(&x, sizeof x); }
    void add(bool x) { add(static_cast<int32_t>(x)); }
    void add(const Vec2& v)
    {
        add(v.x);
        add(v.y);
    }
};

void addPlayer(Hash& h, const Player& p)
{
    h.add(p.body.position);
    h.add(p.body.velocity.length);
    h.add(p.body.velocity.angle);
    h.add(p.body.heading.angle);
    h.add(p.hull);
    h.add(p.shield);
    h.add(p.energy);
    h.add(p.lifeState);
    h.add(p.lives);
    h.add(p.kills);
    h.add(p.shipIndex);
    h.add(p.currentSlot);
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot) {
        h.add(p.weaponRows[slot]);
        h.add(p.fireStates[slot].ammoLeft);
        h.add(p.fireStates[slot].reloadLeft);
    }
}

void addShot(Hash& h, int index, const Projectile& shot, const Explosion& e)
{
    h.add(static_cast<int32_t>(index));
    h.add(shot.position);
    h.add(shot.velocity);
    h.add(shot.age);
    h.add(e.exploding);
}

void addMask(Hash& h, const CollisionMask& mask)
{
    h.add(mask.width);
    h.add(mask.height);
    h.add(mask.offsetX);
    h.add(mask.offsetY);
    h.bytes(mask.cells.data(), mask.cells.size());
}

} // namespace

uint64_t matchChecksum(const MatchState& m)
{
    Hash h;
    for (const Player& p : m.players)
        addPlayer(h, p);
    h.add(m.currentMapIndex);
    for (int i = 0; i < m.planetCount; ++i)
        h.add(m.planetBodies[i].position);
    for (int i = 0; i < SHOT_POOL_SIZE; ++i)
        if (m.projectiles[i].active)
            addShot(h, i, m.projectiles[i], m.explosions[i]);
    h.add(m.random.state);
    return h.value;
}

uint64_t maskChecksum(const MatchContent& c)
{
    Hash h;
    for (int map = 0; map < MAP_COUNT; ++map)
        for (int i = 0; i < c.maps[map].planetCount; ++i)
            addMask(h, c.masks.planets[map][i]);
    for (const CollisionMask& blast : c.masks.blasts)
        addMask(h, blast);
    for (int ship = 0; ship < SHIP_COUNT; ++ship) {
        assert(c.masks.shipMade[ship]);
        for (const CollisionMask& mask : c.masks.ships[ship])
            addMask(h, mask);
    }
    return h.value;
}
