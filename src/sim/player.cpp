#include "sim/player.h"

#include <cassert>
#include <cmath>

namespace {

constexpr double RETURN_MAX_BRAKE_SPEED = 500000000.0; // world units per second
constexpr double RETURN_CRUISE_SPEED = 200000000.0;    // world units per second

double secondsOf(int dtMs) { return dtMs / 1000.0; }

void brake(Player& p, const Vec2& returnPoint, double step)
{
    ShipBody& ship = p.body;
    p.returnDistance = distance(ship.position, returnPoint);
    double speed = std::fmin(ship.velocity.length, RETURN_MAX_BRAKE_SPEED);
    if (speed - step <= 0.0) {
        speed = 0.0;
        p.returnPhase = 1;
    } else {
        speed -= step;
    }
    ship.velocity.length = speed;
    setAngle(ship.velocity, ship.velocity.angle);
}

void aim(Player& p, const Vec2& returnPoint)
{
    ShipBody& ship = p.body;
    const double towardsReturn = polarFromPoints(ship.position, returnPoint).angle;
    ship.velocity = PolarVec{0.0, towardsReturn};
    setAngle(ship.heading, towardsReturn);
    p.returnPhase = 2;
}

void accelerate(Player& p, double step)
{
    PolarVec& velocity = p.body.velocity;
    if (velocity.length + step >= RETURN_CRUISE_SPEED) {
        velocity.length = RETURN_CRUISE_SPEED;
        p.returnPhase = 3;
    } else {
        velocity.length += step;
    }
}

} // namespace

Body bodyOf(const ShipBody& ship)
{
    Body b;
    b.mass = ship.mass;
    b.attracts = ship.attracts;
    b.gravityRange = ship.gravityRange;
    b.radius = ship.radius;
    b.position = ship.position;
    return b;
}

void setUpFromShipType(Player& p, const ShipType& type, int shipIndex)
{
    ShipBody& body = p.body;
    body.mass = type.mass;
    body.turnRate = type.turnRate;
    body.thrustForce = type.thrustForce;
    body.boostForce = type.boostForce;
    body.position = Vec2{};
    body.velocity = PolarVec{};
    body.heading = PolarVec{1.0, 0.0};
    body.attracts = true;
    body.gravityRange = 0.0;
    body.radius = 0.0;

    p.shipSprite = type.shipSprite;
    p.thrustAnim = type.thrustAnim;
    p.deathAnim = type.deathAnim;
    p.hitRadius = type.hitRadius;
    p.maxHull = type.maxHull;
    p.maxShield = type.maxShield;
    p.shieldRegenRate = type.shieldRegenRate;
    p.shieldRepulsion = type.shieldRepulsion;
    for (int m = 0; m < MUZZLE_COUNT; ++m)
        p.muzzles[m] = type.muzzles[m];
    p.maxEnergy = type.maxEnergy;
    p.energyRegenRate = type.energyRegenRate;
    p.currentSlot = 0;
    p.shipIndex = shipIndex;
}

void resetForLife(Player& p)
{
    p.lifeState = ALIVE;
    p.returnPhase = 0;
    p.boosting = false;
    p.boostDirection = 0;
    p.energy = p.maxEnergy;
    p.hull = p.maxHull;
    p.shield = p.maxShield;
    p.shieldRegenDelay = 0;
    p.hullBarTimer = 0;
    p.shieldBarTimer = 0;
    p.weaponLabelTimer = 0;
    p.canCollide = true;
}

// One semi-implicit Euler step: the new velocity moves the ship.
void fly(ShipBody& ship, const Body* planets, int planetCount, int dtMs, bool thrustInput,
         int boostDirection, double turnInput, const WorldRect& arena)
{
    const double dt = secondsOf(dtMs);
    rotate(ship.heading, dt * ship.turnRate * turnInput);

    PolarVec acc;
    const Body self = bodyOf(ship);
    for (int i = 0; i < planetCount; ++i)
        if (planets[i].attracts)
            acc = add(acc, divide(pullOf(planets[i], self), ship.mass));
    if (boostDirection == 1 || boostDirection == -1) {
        const double direction = ship.heading.angle + (boostDirection == -1 ? PI : 0.0);
        acc = add(acc, divide(PolarVec{ship.boostForce, direction}, ship.mass));
    }
    if (thrustInput)
        acc = add(acc, divide(scale(ship.heading, ship.thrustForce), ship.mass));

    ship.velocity = add(ship.velocity, scale(acc, dt));
    const PolarVec travelled = scale(ship.velocity, dt);
    ship.position.x += xOf(travelled);
    ship.position.y += yOf(travelled);
    ship.insideArena = insideRect(arena, ship.position);
}

void updateShieldBubbles(Player players[PLAYER_COUNT], Body shieldBodies[PLAYER_COUNT])
{
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        const Player& p = players[i];
        assert(p.index >= 0 && p.index < PLAYER_COUNT);
        Body& bubble = shieldBodies[p.index];
        bubble.position = p.body.position;
        // A player without any shield (never set up) has no bubble rather than a NaN one.
        if (p.shield >= 0.0)
            bubble.mass = p.maxShield > 0.0 ? p.shield / p.maxShield * p.shieldRepulsion : 0.0;
    }
}

bool updateBoostAndEnergy(Player& p, int boostRequest, int dtMs)
{
    const bool requested = boostRequest == 1 || boostRequest == -1;
    if (p.boosting) {
        if (requested && p.energy > 0.0 && p.body.insideArena) {
            p.energy -= dtMs;
        } else {
            // However early the boost is let go, the bar is spent.
            p.energy = 0.0;
            p.boosting = false;
            p.boostDirection = 0;
        }
        return false;
    }
    if (requested && p.energy == p.maxEnergy && p.body.insideArena) {
        p.boosting = true;
        p.boostDirection = boostRequest;
        return false;
    }
    regenerateEnergy(p, dtMs);
    return boostRequest == 1;
}

void regenerateEnergy(Player& p, int dtMs)
{
    p.energy += secondsOf(dtMs) * p.energyRegenRate;
    if (p.energy > p.maxEnergy)
        p.energy = p.maxEnergy;
}

void regenerateShields(Player players[PLAYER_COUNT], int dtMs)
{
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        Player& p = players[i];
        if (p.shieldRegenDelay > 0) {
            p.shieldRegenDelay -= dtMs;
            continue;
        }
        p.shield += secondsOf(dtMs) * p.shieldRegenRate;
        if (p.shield > p.maxShield)
            p.shield = p.maxShield;
    }
}

// Brings a ship that has left the arena back: brake, aim, accelerate, coast.
void returnManoeuvre(Player& p, const Vec2& returnPoint, int dtMs)
{
    if (p.body.insideArena) {
        p.returnPhase = 0;
        return;
    }
    const double step = p.body.thrustForce / p.body.mass * secondsOf(dtMs);
    if (p.returnPhase == 0) {
        brake(p, returnPoint, step);
        return;
    }
    if (p.returnPhase == 1)
        aim(p, returnPoint);
    if (p.returnPhase == 2)
        accelerate(p, step);
    const double away = distance(p.body.position, returnPoint);
    if (away > p.returnDistance) {
        // Overshot or drifted away: brake and aim again.
        p.returnDistance = away;
        p.returnPhase = 0;
    }
}

int rotationFrameOf(double headingAngle)
{
    const int frame = static_cast<int>(normaliseAngle(headingAngle) / TWO_PI * ROTATION_MASKS + 0.5);
    return frame == ROTATION_MASKS ? 0 : frame;
}
