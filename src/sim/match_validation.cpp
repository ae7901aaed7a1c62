#include "sim/match_validation.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

// Far beyond any angle the rules make (they keep headings within a turn or
// two), and small enough that a sixteenth of a turn of it fits an int.
constexpr double MAX_ANGLE = 1.0e6; // radians
constexpr int RETURN_PHASES = 4;

// The first thing found wrong.
struct Check {
    const char* why = nullptr;
    void require(bool ok, const char* what)
    {
        if (!ok && !why)
            why = what;
    }
};

// A bool's byte read as a byte: any other value than 0 or 1 is no flag.
bool isFlag(const bool& flag)
{
    uint8_t byte = 0;
    std::memcpy(&byte, &flag, 1);
    return byte <= 1;
}

bool allFlags(std::initializer_list<const bool*> flags)
{
    for (const bool* flag : flags)
        if (!isFlag(*flag))
            return false;
    return true;
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

bool within(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

bool inReach(const Vec2& p)
{
    const double reach = pixels(MAX_COORDINATE_PX);
    return allFinite({p.x, p.y}) && std::fabs(p.x) <= reach && std::fabs(p.y) <= reach;
}

bool polarOk(const PolarVec& v) { return allFinite({v.length, v.angle}) && std::fabs(v.angle) <= MAX_ANGLE; }

void checkAnimation(Check& k, const Animation& a, const AnimationFrames& frames, bool inUse)
{
    k.require(allFlags({&a.running, &a.loop}), "an animation's flags are not flags");
    const bool inArena = a.firstFrame >= 0 && a.firstFrame <= frames.used && a.frameCount >= (inUse ? 1 : 0) &&
                         a.frameCount <= frames.used - a.firstFrame;
    k.require(inArena && within(a.current, 0, a.frameCount > 0 ? a.frameCount - 1 : 0),
              "an animation's frames lie outside the content's");
}

void checkBody(Check& k, const Body& b)
{
    k.require(isFlag(b.attracts) && allFinite({b.mass, b.gravityRange, b.radius}) && inReach(b.position),
              "a planet or shield body is out of range");
}

void checkControls(Check& k, const ControlState& controls)
{
    bool ok = allFlags({&controls.escape});
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerControls& c = controls.players[p];
        ok = ok && allFlags({&c.turnLeft, &c.turnRight, &c.thrust, &c.fire, &c.weaponModifier, &c.boostForward,
                             &c.boostBackward, &c.thrustPressed, &c.reload, &c.fineLeft, &c.fineRight,
                             &controls.cycling[p].previousWeapon, &controls.cycling[p].nextWeapon});
    }
    k.require(ok, "a control flag is not a flag");
}

// Only the magazine's count and the timers change as a weapon is used; the
// rest must be the weapon's own.
bool sameWeapon(const FireState& f, const FireState& weapon)
{
    return isFlag(f.evenSpread) && f.clipSize == weapon.clipSize && f.reloadTime == weapon.reloadTime &&
           f.spreadMin == weapon.spreadMin && f.spreadMax == weapon.spreadMax &&
           f.evenSpread == weapon.evenSpread && f.interval == weapon.interval && f.countMin == weapon.countMin &&
           f.countMax == weapon.countMax && f.speedMin == weapon.speedMin && f.speedMax == weapon.speedMax &&
           f.ammoLeft <= f.clipSize;
}

void checkShipBody(Check& k, const ShipBody& b)
{
    k.require(allFlags({&b.attracts, &b.insideArena}) &&
                  allFinite({b.mass, b.gravityRange, b.radius, b.thrustForce, b.boostForce, b.turnRate}) &&
                  inReach(b.position) && polarOk(b.velocity) && polarOk(b.heading),
              "a ship's flight is out of range");
}

void checkPlayer(Check& k, const Player& p, int index, const MatchContent& c)
{
    k.require(p.index == index && within(p.shipIndex, 0, SHIP_COUNT - 1), "a ship type is out of range");
    checkShipBody(k, p.body);
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot) {
        const bool row = within(p.weaponRows[slot], 0, WEAPON_COUNT - 1);
        k.require(row && sameWeapon(p.fireStates[slot], c.fireStates[p.weaponRows[slot]]),
                  "a weapon slot does not hold a weapon of the table");
    }
    k.require(within(p.currentSlot, 0, WEAPON_SLOTS - 1), "the selected slot is out of range");
    for (const Animation* a : {&p.shipSprite, &p.thrustAnim, &p.deathAnim})
        checkAnimation(k, *a, c.frames, true);
    bool muzzles = true;
    for (const PolarVec& muzzle : p.muzzles)
        muzzles = muzzles && polarOk(muzzle);
    k.require(muzzles && allFinite({p.returnDistance, p.hull, p.maxHull, p.shield, p.maxShield, p.shieldRegenRate,
                                    p.shieldRepulsion, p.hitRadius, p.maxEnergy, p.energy, p.energyRegenRate}),
              "a ship's figures are not finite");
    k.require(within(p.returnPhase, 0, RETURN_PHASES - 1) && within(p.rotationFrame, 0, ROTATION_MASKS - 1) &&
                  within(p.boostDirection, -1, 1) && within(p.lifeState, ALIVE, READY_TO_RESPAWN) &&
                  allFlags({&p.boosting, &p.canCollide}),
              "a ship's state is out of range");
}

void checkShot(Check& k, const Projectile& shot, const Explosion& e, const MatchState& m, const MatchContent& c)
{
    k.require(allFlags({&shot.active, &shot.attracts, &shot.bubbleImmune, &shot.mayHitShield, &shot.ignoresGravity,
                        &e.orientByVelocity, &e.exploding, &e.detonated}),
              "a shot's flag is not a flag");
    if (k.why)
        return;
    k.require(allFinite({shot.mass, shot.gravityRange, shot.radius, shot.engineForce, shot.velocity.x,
                         shot.velocity.y, shot.headingComponents.x, shot.headingComponents.y, e.shotRadius,
                         e.blastRadius, e.hullDamage, e.shieldDamage, e.blastDamage}) &&
                  inReach(shot.position) && polarOk(shot.heading) && polarOk(e.impactOffset),
              "a shot's figures are out of range");
    checkAnimation(k, e.flightAnim, c.frames, shot.active);
    checkAnimation(k, e.impactAnim, c.frames, shot.active);
    const int planets = shot.active ? m.planetCount : MAX_PLANETS;
    k.require(within(e.hitTest, 0, 2) && within(e.hitMaskIndex, 0, BLAST_MASK_COUNT - 1) &&
                  within(e.hitPlayer, -1, PLAYER_COUNT - 1) && within(e.hitPlanet, -1, planets - 1) &&
                  within(e.ownerIndex, 0, PLAYER_COUNT - 1),
              "a shot's hit is out of range");
}

void checkBanner(Check& k, const Banner& b, const MatchContent& c)
{
    k.require(within(b.kind, BANNER_NONE, BANNER_RAMMING) && within(b.killer, 0, PLAYER_COUNT - 1) &&
                  within(b.victim, 0, PLAYER_COUNT - 1) && within(b.taunt, 0, c.killMessageCount - 1),
              "the banner is out of range");
}

bool sameRect(const WorldRect& a, const WorldRect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

} // namespace

bool validMatchState(const MatchState& m, const MatchContent& c, const char*& why)
{
    Check k;
    k.require(within(m.currentMapIndex, 0, MAP_COUNT - 1) && within(m.selectedMapIndex, 0, MAP_COUNT - 1),
              "the map is out of range");
    if (!k.why)
        k.require(m.planetCount == c.maps[m.currentMapIndex].planetCount, "the planet count is not the map's");
    for (const auto& angles : m.orbitAngles)
        for (double angle : angles)
            k.require(std::isfinite(angle), "an orbit angle is not finite");
    for (const Body& body : m.planetBodies)
        checkBody(k, body);
    for (const Body& body : m.shieldBodies)
        checkBody(k, body);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        checkPlayer(k, m.players[p], p, c);
        k.require(std::memchr(m.nameBuffers[p], '\0', NAME_BUFFER_SIZE) != nullptr, "a name is not terminated");
    }
    for (int i = 0; i < SHOT_POOL_SIZE && !k.why; ++i)
        checkShot(k, m.projectiles[i], m.explosions[i], m, c);
    k.require(sameRect(m.arenaRect, makeArenaRect()), "the arena is not the playfield's");
    checkControls(k, m.controls);
    checkBanner(k, m.banner, c);
    why = k.why;
    return why == nullptr;
}
