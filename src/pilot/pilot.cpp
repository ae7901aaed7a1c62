#include "pilot/pilot.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "pilot/dodge.h"
#include "pilot/escape.h"
#include "pilot/plane.h"
#include "pilot/weapon_choice.h"

namespace {


// Course keeping, in pixels and seconds.
constexpr double CRUISE_SPEED_PX = 190.0;    // fastest it wants to fly
constexpr double RANGE_GAIN = 1.2;           // per second: closing speed per pixel off the preferred range
constexpr double FOLLOW_SHARE = 0.5;         // of the opponent's velocity it matches
constexpr double PLANET_KEEP_PX = 90.0;      // beyond a planet's reach, where it starts to keep away
constexpr double KEEP_PULL_SHARE = 0.12;     // or farther, where the pull is this share of its engine
constexpr double PLANET_AWAY_SPEED_PX = 220.0;
constexpr double EDGE_KEEP_PX = 90.0;
constexpr double EDGE_AWAY_SPEED_PX = 160.0;
constexpr double CORRECTION_TIME_S = 0.6;    // how soon a course error should be gone
constexpr double CORRECT_ABOVE_PX = 110.0;   // a velocity error that calls for a correction
constexpr double CORRECT_BELOW_PX = 45.0;    // and the one that ends it
constexpr double THRUST_CONE = 0.45;         // radians off the course where thrust still helps
constexpr double AIM_THRUST_SHARE = 0.8;     // aiming, it thrusts when the wanted push lies this close ahead
constexpr double THRUST_CHECK_S = 0.6;       // a thrust is checked this long for planets
constexpr double IDLE_RANGE_PX = 260.0;

// Aiming.
constexpr double AIM_HORIZON_SHARE = 2.0;    // the target is forecast for this many straight flight times
constexpr double AIM_HORIZON_EXTRA_S = 0.3;

// Trouble with planets.
constexpr double ESCAPE_SAFE_MARGIN = 1.6;   // an escape ends when the path clears by this many margins
constexpr double REACTION_ROOM_S = 0.6;      // beyond turning round, before a planet counts as trouble

// Weapons.
constexpr double SWITCH_GAIN = 1.3;          // a slot must be this much better to switch
constexpr double RELOAD_SHARE = 0.25;        // a magazine this empty is thrown away when it is quiet
constexpr int RELOAD_MIN_CLIP = 4;
constexpr double QUIET_RANGE_PX = 450.0;

Vec2 clampLength(const Vec2& v, double most)
{
    const double len = lengthOf(v);
    return len > most ? times(v, most / len) : v;
}

void measureReaches(Pilot& pilot, const MatchState& m, const MatchContent& c, const Player& self)
{
    if (pilot.shipIndex == self.shipIndex && pilot.mapIndex == m.currentMapIndex)
        return;
    double reachPx = 0.0;
    for (const CollisionMask& mask : c.masks.ships[self.shipIndex])
        reachPx = std::max(reachPx, maskReachPx(mask));
    // Without pictures (headless tests) the hit radius stands in.
    measureContactReaches(m, c, reachPx > 0.0 ? pixels(reachPx) : self.hitRadius, pilot.reaches);
    pilot.shipIndex = self.shipIndex;
    pilot.mapIndex = m.currentMapIndex;
}

bool fliesFreely(const Player& p) { return p.lifeState == ALIVE && p.body.insideArena; }

// A boost is held for the whole bar: letting go early would waste the rest of it.
void holdBoost(Pilot& pilot, const Player& self, int direction)
{
    if (direction == 0)
        return;
    pilot.boostDirection = direction;
    pilot.boostLeftMs = static_cast<int>(self.maxEnergy);
}

// ---- Fighting -----------------------------------------------------------------

// How close to a planet's centre the ship is no longer free to fight: where
// the pull takes a good share of its engine, and never within a margin of its reach.
double keepAwayDistance(const PlanetForecast& f, int slot, const Vec2& position, const ShipBody& body)
{
    Body planet;
    planet.mass = f.mass[slot];
    planet.position = f.position[0][slot];
    Body unit;
    unit.mass = 1.0;
    unit.position = position;
    const double d = std::max(lengthOf(minus(position, planet.position)), 1.0);
    const double pullTimesSquare = lengthOf(pullComponentsOf(planet, unit)) * d * d;
    return std::max(f.contactReach[slot] + pixels(PLANET_KEEP_PX),
                    std::sqrt(pullTimesSquare / (KEEP_PULL_SHARE * engineAccOf(body))));
}

// Away from a planet it is too close to; and round one that stands between
// it and the opponent, on the side where the line of fire passes, rather
// than straight at it.
Vec2 planetWays(const PlanetForecast& f, int slot, const ShipBody& body, const Player* enemy)
{
    const Vec2 position = body.position;
    const Vec2 planet = f.position[0][slot];
    const Vec2 away = minus(position, planet);
    const double d = std::max(lengthOf(away), 1.0);
    const double keep = keepAwayDistance(f, slot, position, body);
    Vec2 way;
    if (d < keep)
        way = times(away, pixels(PLANET_AWAY_SPEED_PX) * (keep - d) / std::max(keep - f.contactReach[slot], 1.0) / d);
    if (!enemy)
        return way;
    const Vec2 line = minus(enemy->body.position, position);
    const double length = std::max(lengthOf(line), 1.0);
    const Vec2 toPlanet = times(away, -1.0);
    const double along = dot(toPlanet, line) / length;
    const double aside = cross(line, toPlanet) / length;
    if (along <= 0.0 || along >= length || std::fabs(aside) >= keep)
        return way;
    // Perpendicular to the planet's direction, turning towards the side the line passes on.
    const double side = aside > 0.0 ? -1.0 : 1.0;
    const Vec2 round{-away.y / d * side, away.x / d * side};
    return plus(way, times(round, pixels(CRUISE_SPEED_PX) * (1.0 - std::fabs(aside) / keep)));
}

// The velocity it wants: the preferred range from the opponent, clear of
// planets and the arena's edge, never too fast.
Vec2 wantedVelocity(const Pilot& pilot, const MatchState& m, const Player& self, const Player* enemy)
{
    const Vec2 position = self.body.position;
    Vec2 wanted;
    if (enemy) {
        const Vec2 r = minus(enemy->body.position, position);
        const double d = std::max(lengthOf(r), 1.0);
        const double closing = std::clamp((d - pilot.preferredRange) * RANGE_GAIN, -pixels(CRUISE_SPEED_PX),
                                          pixels(CRUISE_SPEED_PX));
        wanted = plus(times(r, closing / d), times(velocityOf(enemy->body), FOLLOW_SHARE));
    }
    const PlanetForecast& f = pilot.forecast;
    for (int slot = 0; slot < f.bodyCount; ++slot)
        if (f.contactReach[slot] > 0.0)
            wanted = plus(wanted, planetWays(f, slot, self.body, enemy));
    const WorldRect& a = m.arenaRect;
    const double keep = pixels(EDGE_KEEP_PX);
    const double push = pixels(EDGE_AWAY_SPEED_PX);
    wanted.x += push * (std::max(0.0, keep - (position.x - a.x)) - std::max(0.0, keep - (a.x + a.w - position.x))) / keep;
    wanted.y += push * (std::max(0.0, keep - (position.y - a.y)) - std::max(0.0, keep - (a.y + a.h - position.y))) / keep;
    return clampLength(wanted, pixels(CRUISE_SPEED_PX));
}

// Whether thrusting along a course now keeps clear of the planets.
bool thrustIsSafe(const Pilot& pilot, const MatchState& m, const Player& self, double course, const PilotSkill& skill)
{
    const EngineBurn burn{times(unitAt(course), engineAccOf(self.body)), 0.0, THRUST_CHECK_S};
    const PathOutcome path = followShipPath(pilot.forecast, self.body.position, velocityOf(self.body), &burn, 1,
                                            skill.lookAheadS, pixels(skill.planetMarginPx), m.arenaRect);
    return path.contactS == NEVER_S;
}

FightView viewOf(const Player& self, const Player& enemy)
{
    FightView view;
    const Vec2 r = minus(enemy.body.position, self.body.position);
    view.distance = lengthOf(r);
    view.targetRadius = enemy.hitRadius;
    view.targetAgility = engineAccOf(enemy.body);
    view.targetShield = enemy.maxShield > 0.0 ? enemy.shield / enemy.maxShield : 0.0;
    view.targetBehind = std::cos(angleOf(r) - self.body.heading.angle) < -0.7;
    return view;
}

void weighWeapons(Pilot& pilot, const MatchContent& c, const Player& self, const Player& enemy)
{
    const FightView view = viewOf(self, enemy);
    int best = self.currentSlot;
    double bestValue = slotValue(c, self, best, view) * SWITCH_GAIN;
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot) {
        const double value = slotValue(c, self, slot, view);
        if (value > bestValue) {
            bestValue = value;
            best = slot;
        }
    }
    pilot.wantedSlot = best;
    pilot.preferredRange = bestRangeOf(c, self, best, view);
}

// Points the plan's aim at the lead of the opponent with the selected slot.
void planAim(Pilot& pilot, const MatchState& m, const MatchContent& c, const Player& self, const Player& enemy, const PilotSkill& skill)
{
    PilotPlan& plan = pilot.plan;
    const ShotModel shot = shotModelOf(c, self, self.currentSlot);
    const Vec2 r = minus(enemy.body.position, self.body.position);
    const double d = lengthOf(r);
    plan.aimHeading = angleOf(r) - shot.muzzleAngle;
    plan.fire = false;
    const FireState& state = self.fireStates[self.currentSlot];
    if (shot.spreadRad >= RING_SPREAD_RAD) {
        // A ring needs no aim, only the opponent inside it.
        plan.fire = state.ammoLeft > 0 && d < 0.8 * (shot.muzzleDistance + shot.speed * shot.lifetimeS);
        plan.fireCone = PI;
        return;
    }
    // Long enough for a shot that curves or speeds up on its way, no longer.
    const double horizonS = std::min(shot.lifetimeS, AIM_HORIZON_SHARE * d / shot.speed + AIM_HORIZON_EXTRA_S);
    forecastTarget(pilot.forecast, enemy.body.position, velocityOf(enemy.body), horizonS, pilot.targetPath);
    const AimSolution aim = solveAim(pilot.forecast, pilot.targetPath, self.body.position, velocityOf(self.body), shot,
                                     skill.leadRefinements, m.arenaRect);
    if (!aim.valid)
        return;
    plan.aimHeading = aim.direction - shot.muzzleAngle + pilot.aimError;
    const double targetRadius = enemy.hitRadius + selectedWeapon(c, self).shotRadius;
    const double reach = targetRadius * skill.fireTolerance + 0.5 * shot.spreadRad * d;
    plan.fireCone = std::atan2(reach, std::max(d, targetRadius));
    // Without refinements the miss is not measured: the straight-line lead is trusted.
    const bool closeEnough = aim.miss == NEVER_S || aim.miss < targetRadius * (1.0 + skill.fireTolerance);
    plan.fire = state.ammoLeft > 0 && !aim.blocked && closeEnough;
}

void planFight(Pilot& pilot, const MatchState& m, const MatchContent& c, const Player& self, const Player* enemy, const PilotSkill& skill)
{
    PilotPlan& plan = pilot.plan;
    const ShipBody& body = self.body;
    if (enemy && pilot.sinceWeaponThoughtMs >= skill.weaponThinkMs) {
        weighWeapons(pilot, c, self, *enemy);
        pilot.sinceWeaponThoughtMs = 0;
    }
    if (!enemy)
        pilot.preferredRange = pixels(IDLE_RANGE_PX);
    plan.fire = false;
    if (enemy)
        planAim(pilot, m, c, self, *enemy, skill);
    else
        plan.aimHeading = body.heading.angle;
    // The push it needs: the velocity error undone soon, gravity cancelled.
    const Vec2 velocity = velocityOf(body);
    const Vec2 error = minus(wantedVelocity(pilot, m, self, enemy), velocity);
    const Vec2 gravity = gravityAt(pilot.forecast, 0, body.position, true);
    const Vec2 push = minus(times(error, 1.0 / CORRECTION_TIME_S), gravity);
    const double errorSize = lengthOf(error);
    pilot.correcting = errorSize > pixels(CORRECT_ABOVE_PX) || (pilot.correcting && errorSize > pixels(CORRECT_BELOW_PX));
    if (pilot.correcting) {
        plan.course = angleOf(push);
        plan.thrust = true;
    } else {
        plan.course = plan.aimHeading;
        plan.thrust = dot(unitAt(plan.aimHeading), push) > AIM_THRUST_SHARE * lengthOf(push) &&
                      lengthOf(push) > 0.3 * engineAccOf(body);
    }
    plan.thrustCone = THRUST_CONE;
    if (plan.thrust && !thrustIsSafe(pilot, m, self, plan.course, skill))
        plan.thrust = false;
    // A partly used magazine is best thrown away while nothing is in reach.
    const FireState& state = self.fireStates[self.currentSlot];
    const bool quiet = !enemy || lengthOf(minus(enemy->body.position, body.position)) > pixels(QUIET_RANGE_PX);
    plan.reload = quiet && state.clipSize >= RELOAD_MIN_CLIP && state.ammoLeft > 0 &&
                  state.ammoLeft <= RELOAD_SHARE * state.clipSize;
}

void makePlan(Pilot& pilot, const MatchState& m, const MatchContent& c, const Player& self, const Player& other, const PilotSkill& skill)
{
    pilot.aimError = pilotUniform(pilot.random, -skill.aimErrorRad, skill.aimErrorRad);
    const int steps = std::max(static_cast<int>(skill.lookAheadS / FORECAST_STEP_S) + PATH_STRIDE, AIM_MAX_POINTS * AIM_STRIDE);
    forecastPlanets(m, c, steps, pilot.reaches, pilot.forecast);
    // Trouble is a planet or the arena's edge reached sooner than the ship can
    // turn round and thrust away; farther off, flying the fight keeps it clear.
    const double troubleS = std::min(skill.lookAheadS, PI / self.body.turnRate + REACTION_ROOM_S);
    const double margin = pixels(skill.planetMarginPx);
    const PathOutcome coast = followShipPath(pilot.forecast, self.body.position, velocityOf(self.body), nullptr, 0,
                                             troubleS, margin, m.arenaRect);
    pilot.escaping = coast.contactS < NEVER_S || coast.exitS < NEVER_S ||
                     (pilot.escaping && coast.clearance < ESCAPE_SAFE_MARGIN * margin);
    pilot.plan.reload = false;
    if (pilot.escaping) {
        // It still fires when the way out happens to point at the opponent.
        pilot.plan.fire = false;
        if (fliesFreely(other))
            planAim(pilot, m, c, self, other, skill);
        const Escape escape = findEscape(pilot.forecast, self, m.arenaRect, skill);
        pilot.plan.course = escape.course;
        pilot.plan.thrust = escape.boost == 0;
        pilot.plan.thrustCone = THRUST_CONE;
        holdBoost(pilot, self, escape.boost);
        return;
    }
    planFight(pilot, m, c, self, fliesFreely(other) ? &other : nullptr, skill);
}

// ---- The frame ------------------------------------------------------------------

int shorterWayTo(int from, int to)
{
    const int forward = (to - from + WEAPON_SLOTS) % WEAPON_SLOTS;
    if (forward == 0)
        return 0;
    return forward <= WEAPON_SLOTS / 2 ? 1 : -1;
}

PilotIntent intentOf(Pilot& pilot, const Player& self, bool flying)
{
    const PilotPlan& plan = pilot.plan;
    PilotIntent intent;
    if (flying) {
        const double heading = self.body.heading.angle;
        intent.heading = plan.course;
        intent.thrust = plan.thrust && std::fabs(turnBetween(heading, plan.course)) < plan.thrustCone;
        intent.fire = plan.fire && std::fabs(turnBetween(heading, plan.aimHeading)) < plan.fireCone;
        // A boost pushes along the heading: turning would bend it off the way it was chosen for.
        intent.steer = pilot.boostLeftMs <= 0;
        if (pilot.boostLeftMs > 0)
            intent.boost = pilot.boostDirection;
    }
    // Weapon keys take the flight keys' frame: not while escaping or boosting.
    if (!pilot.escaping && intent.boost == 0) {
        intent.cycle = shorterWayTo(self.currentSlot, pilot.wantedSlot);
        intent.reload = intent.cycle == 0 && plan.reload;
        if (intent.reload)
            pilot.plan.reload = false;
    }
    return intent;
}

} // namespace

void startPilot(Pilot& pilot, int player, PilotLevel level, uint32_t matchSeed)
{
    assert(player >= 0 && player < PLAYER_COUNT);
    pilot = Pilot{};
    pilot.player = player;
    pilot.level = level;
    pilot.random = makePilotRandom(matchSeed, player);
    pilot.preferredRange = pixels(IDLE_RANGE_PX);
    // The weapons are weighed at the first look at the fight.
    pilot.sinceWeaponThoughtMs = skillOf(level).weaponThinkMs;
}

void pilotFrame(Pilot& pilot, const MatchState& m, const MatchContent& c, PlayerControls& controls,
                WeaponCycling& cycling)
{
    const PilotSkill& skill = skillOf(pilot.level);
    const Player& self = m.players[pilot.player];
    const Player& other = m.players[1 - pilot.player];
    const int frameMs = std::max(m.frameTime, 0);
    pilot.sincePlanMs += frameMs;
    pilot.sinceWeaponThoughtMs += frameMs;
    pilot.boostLeftMs = self.boosting || pilot.boostLeftMs > 0 ? pilot.boostLeftMs - frameMs : 0;
    if (!self.boosting && pilot.boostLeftMs <= 0)
        pilot.boostDirection = 0;
    const bool flying = fliesFreely(self);
    if (flying) {
        measureReaches(pilot, m, c, self);
        if (!pilot.planned || pilot.sincePlanMs >= skill.reactionMs) {
            makePlan(pilot, m, c, self, other, skill);
            pilot.planned = true;
            pilot.sincePlanMs = 0;
            holdBoost(pilot, self, dodgeBoost(m, c, pilot.player, pilot.forecast, skill));
        }
    } else {
        pilot.planned = false;
        pilot.escaping = false;
        pilot.boostLeftMs = 0;
    }
    pressKeys(intentOf(pilot, self, flying), self, frameMs, pilot.held, controls, cycling);
}

void seatPilot(PilotSeats& seats, int player, PilotLevel level, uint32_t matchSeed)
{
    startPilot(seats.pilots[player], player, level, matchSeed);
    seats.flown[player] = true;
}

void flyPilots(PilotSeats& seats, const MatchState& m, const MatchContent& c, ControlState& controls)
{
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (seats.flown[p])
            pilotFrame(seats.pilots[p], m, c, controls.players[p], controls.cycling[p]);
}
