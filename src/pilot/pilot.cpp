#include "pilot/pilot.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "pilot/plane.h"
#include "pilot/weapon_choice.h"

namespace {

constexpr double MS_PER_S = 1000.0;

// Course keeping, in pixels and seconds.
constexpr double CRUISE_SPEED_PX = 190.0;    // fastest it wants to fly
constexpr double RANGE_GAIN = 1.2;           // per second: closing speed per pixel off the preferred range
constexpr double FOLLOW_SHARE = 0.5;         // of the opponent's velocity it matches
constexpr double PLANET_KEEP_PX = 90.0;      // beyond a planet's reach, where it starts to keep away
constexpr double KEEP_PULL_SHARE = 0.25;     // or farther, where the pull is this share of its engine
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

// Escapes from a planet.
constexpr int ESCAPE_DIRECTIONS = 12;
constexpr double ESCAPE_SAFE_MARGIN = 1.6;   // an escape ends when the path clears by this many margins
constexpr double REACTION_ROOM_S = 0.6;      // beyond turning round, before a planet counts as trouble
constexpr double ESCAPE_BURN_S = 0.9;        // an escape thrusts this long, then coasts
constexpr double ESCAPE_ROOM_PX = 200.0;     // room beyond which an escape is as good as another

// Dodging.
constexpr int MAX_THREATS = 8;
constexpr double DODGE_HORIZON_S = 0.55;
constexpr double OWN_SHOT_GRACE_MS = 400.0;  // its own fresh shots are leaving it
constexpr double THREAT_MARGIN_PX = 5.0;
constexpr double WIDEST_SHOT_REACH_PX = 24.0; // the largest shot radius plus blast radius of any weapon
constexpr double DODGE_WORTH_DAMAGE = 5.0;   // hull points a dodge must save
constexpr double BUBBLE_BEATING_SPEED_PX = 900.0; // slower shots that feel gravity are pushed off by a shield

// Weapons.
constexpr double SWITCH_GAIN = 1.3;          // a slot must be this much better to switch
constexpr double RELOAD_SHARE = 0.25;        // a magazine this empty is thrown away when it is quiet
constexpr int RELOAD_MIN_CLIP = 4;
constexpr double QUIET_RANGE_PX = 450.0;
constexpr double RING_SPREAD = 6.0;          // a volley all around the ship

Vec2 velocityOf(const ShipBody& body) { return componentsOf(body.velocity); }

Vec2 clampLength(const Vec2& v, double most)
{
    const double len = lengthOf(v);
    return len > most ? times(v, most / len) : v;
}

double engineAccOf(const ShipBody& body) { return body.thrustForce / body.mass; }
double boostAccOf(const ShipBody& body) { return body.boostForce / body.mass; }

void measureReaches(Pilot& pilot, const MatchState& m, const Player& self)
{
    if (pilot.shipIndex == self.shipIndex && pilot.mapIndex == m.currentMapIndex)
        return;
    double reachPx = 0.0;
    for (const CollisionMask& mask : self.rotationMasks)
        reachPx = std::max(reachPx, maskReachPx(mask));
    // Without pictures (headless tests) the hit radius stands in.
    measureContactReaches(m, reachPx > 0.0 ? pixels(reachPx) : self.hitRadius, pilot.reaches);
    pilot.shipIndex = self.shipIndex;
    pilot.mapIndex = m.currentMapIndex;
}

bool fliesFreely(const Player& p) { return p.lifeState == ALIVE && p.body.insideArena; }

// ---- Escaping planets -------------------------------------------------------

// Better: no contact, then a later one; then staying inside (outside, the
// ship is flown back blind, maybe across a planet's way), then a later exit;
// then more room at the end.
double pathScore(const PathOutcome& path)
{
    constexpr double CONTACT_COST = 100.0;
    constexpr double EXIT_COST = 10.0;
    double score = std::min(path.endClearance, pixels(ESCAPE_ROOM_PX)) / pixels(ESCAPE_ROOM_PX);
    if (path.contactS < NEVER_S)
        score -= CONTACT_COST - path.contactS;
    if (path.exitS < NEVER_S)
        score -= EXIT_COST - path.exitS;
    return score;
}

// Tries thrust in evenly spread directions (after the turn to each) and both
// boosts, and sets the plan to the course with the best path.
void planEscape(Pilot& pilot, const MatchState& m, const Player& self, const PilotSkill& skill)
{
    const ShipBody& body = self.body;
    const Vec2 position = body.position;
    const Vec2 velocity = velocityOf(body);
    const double margin = pixels(skill.planetMarginPx);
    double bestScore = -1e18, bestCourse = body.heading.angle;
    int bestBoost = 0;
    for (int i = 0; i < ESCAPE_DIRECTIONS; ++i) {
        const double course = i * TWO_PI / ESCAPE_DIRECTIONS;
        const double turnS = std::fabs(turnBetween(body.heading.angle, course)) / body.turnRate;
        const EngineBurn burn{times(unitAt(course), engineAccOf(body)), turnS, turnS + ESCAPE_BURN_S};
        const PathOutcome path = followShipPath(pilot.forecast, position, velocity, &burn, 1, skill.lookAheadS, margin, m.arenaRect);
        const double score = pathScore(path);
        if (score > bestScore) {
            bestScore = score;
            bestCourse = course;
            bestBoost = 0;
        }
    }
    if (skill.dodges && !self.boosting && self.energy == self.maxEnergy)
        for (int direction : {1, -1}) {
            const Vec2 push = times(unitAt(body.heading.angle), direction * boostAccOf(body));
            const EngineBurn burn{push, 0.0, self.maxEnergy / MS_PER_S};
            const PathOutcome path =
                followShipPath(pilot.forecast, position, velocity, &burn, 1, skill.lookAheadS, margin, m.arenaRect);
            // A boost spends the bar that dodging needs: only for a clearly better way out.
            const double score = pathScore(path) - 0.5;
            if (score > bestScore) {
                bestScore = score;
                bestBoost = direction;
            }
        }
    PilotPlan& plan = pilot.plan;
    plan.course = bestCourse;
    plan.thrust = bestBoost == 0;
    plan.thrustCone = THRUST_CONE;
    if (bestBoost != 0) {
        plan.course = body.heading.angle;
        pilot.boostDirection = bestBoost;
        pilot.boostLeftMs = static_cast<int>(self.maxEnergy);
    }
}

// ---- Fighting -----------------------------------------------------------------

// The velocity it wants: the preferred range from the opponent, away from
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
    Body unit;
    unit.mass = 1.0;
    unit.position = position;
    for (int slot = 0; slot < f.bodyCount; ++slot) {
        if (f.contactReach[slot] <= 0.0)
            continue;
        Body planet;
        planet.mass = f.mass[slot];
        planet.position = f.position[0][slot];
        const Vec2 away = minus(position, planet.position);
        const double d = std::max(lengthOf(away), 1.0);
        // Where the pull takes a good share of the engine, the ship is not free to fight.
        const double pullTimesSquare = lengthOf(pullComponentsOf(planet, unit)) * d * d;
        const double keep = std::max(f.contactReach[slot] + pixels(PLANET_KEEP_PX),
                                     std::sqrt(pullTimesSquare / (KEEP_PULL_SHARE * engineAccOf(self.body))));
        if (d < keep)
            wanted = plus(wanted, times(away, pixels(PLANET_AWAY_SPEED_PX) * (keep - d) /
                                                  std::max(keep - f.contactReach[slot], 1.0) / d));
    }
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

void weighWeapons(Pilot& pilot, const Player& self, const Player& enemy)
{
    const FightView view = viewOf(self, enemy);
    int best = self.currentSlot;
    double bestValue = slotValue(self, best, view) * SWITCH_GAIN;
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot) {
        const double value = slotValue(self, slot, view);
        if (value > bestValue) {
            bestValue = value;
            best = slot;
        }
    }
    pilot.wantedSlot = best;
    pilot.preferredRange = bestRangeOf(self, best, view);
}

// Points the plan's aim at the lead of the opponent with the selected slot.
void planAim(Pilot& pilot, const MatchState& m, const Player& self, const Player& enemy, const PilotSkill& skill)
{
    PilotPlan& plan = pilot.plan;
    const ShotSpec shot = shotSpecOf(self, self.currentSlot);
    const Vec2 r = minus(enemy.body.position, self.body.position);
    const double d = lengthOf(r);
    plan.aimHeading = angleOf(r) - shot.muzzleAngle;
    plan.fire = false;
    const FireState& state = self.fireStates[self.currentSlot];
    if (shot.spreadRad >= RING_SPREAD) {
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
    const double targetRadius = enemy.hitRadius + self.weapons[self.currentSlot].shotRadius;
    const double reach = targetRadius * skill.fireTolerance + 0.5 * shot.spreadRad * d;
    plan.fireCone = std::atan2(reach, std::max(d, targetRadius));
    plan.fire = state.ammoLeft > 0 && !aim.blocked && aim.miss < targetRadius * (1.0 + skill.fireTolerance);
}

void planFight(Pilot& pilot, const MatchState& m, const Player& self, const Player* enemy, const PilotSkill& skill)
{
    PilotPlan& plan = pilot.plan;
    const ShipBody& body = self.body;
    if (enemy && pilot.sinceWeaponThoughtMs >= skill.weaponThinkMs) {
        weighWeapons(pilot, self, *enemy);
        pilot.sinceWeaponThoughtMs = 0;
    }
    if (!enemy)
        pilot.preferredRange = pixels(IDLE_RANGE_PX);
    plan.fire = false;
    if (enemy)
        planAim(pilot, m, self, *enemy, skill);
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

void makePlan(Pilot& pilot, const MatchState& m, const Player& self, const Player& other, const PilotSkill& skill)
{
    pilot.aimError = pilotUniform(pilot.random, -skill.aimErrorRad, skill.aimErrorRad);
    const int steps = std::max(static_cast<int>(skill.lookAheadS / FORECAST_STEP_S) + PATH_STRIDE, AIM_MAX_POINTS * AIM_STRIDE);
    forecastPlanets(m, steps, pilot.reaches, pilot.forecast);
    // Trouble is a planet or the arena's edge reached sooner than the ship can
    // turn round and thrust away; farther off, flying the fight keeps it clear.
    const double troubleS = std::min(skill.lookAheadS, PI / self.body.turnRate + REACTION_ROOM_S);
    const PathOutcome coast =
        followShipPath(pilot.forecast, self.body.position, velocityOf(self.body), nullptr, 0, troubleS,
                       pixels(skill.planetMarginPx), m.arenaRect);
    const double margin = pixels(skill.planetMarginPx);
    pilot.escaping = coast.contactS < NEVER_S || coast.exitS < NEVER_S ||
                     (pilot.escaping && coast.clearance < ESCAPE_SAFE_MARGIN * margin);
    pilot.plan.reload = false;
    if (pilot.escaping) {
        pilot.plan.fire = false;
        planEscape(pilot, m, self, skill);
        return;
    }
    planFight(pilot, m, self, fliesFreely(other) ? &other : nullptr, skill);
}

// ---- Dodging --------------------------------------------------------------------

struct Threat {
    Vec2 gap;      // shot minus ship, now
    Vec2 closing;  // shot velocity minus ship velocity
    double timeS;  // of the closest approach
    double reach;  // world units that make a hit
};

// The shots that would hit it if nothing changes, and the hull points at stake.
int findThreats(const MatchState& m, const Player& self, int player, Threat* threats, double& damage)
{
    int count = 0;
    damage = 0.0;
    const Vec2 velocity = velocityOf(self.body);
    // The pool is scanned on the shots' motion alone; only close passes look at what a shot carries.
    const double widestReach = self.hitRadius + pixels(WIDEST_SHOT_REACH_PX + THREAT_MARGIN_PX);
    for (int i = 0; i < SHOT_POOL_SIZE && count < MAX_THREATS; ++i) {
        const Projectile& shot = m.projectiles[i];
        if (!shot.active)
            continue;
        const Vec2 gap = minus(shot.position, self.body.position);
        const Vec2 closing = minus(shot.velocity, velocity);
        const double speed2 = dot(closing, closing);
        const double along = -dot(gap, closing);
        if (along <= 0.0 || along > DODGE_HORIZON_S * speed2)
            continue;
        const double t = along / speed2;
        const Vec2 miss = plus(gap, times(closing, t));
        if (dot(miss, miss) > widestReach * widestReach)
            continue;
        const Explosion& e = m.explosions[i];
        if (e.exploding || (e.ownerIndex == player && shot.age < OWN_SHOT_GRACE_MS))
            continue;
        const double reach = self.hitRadius + e.shotRadius + e.blastRadius + pixels(THREAT_MARGIN_PX);
        if (lengthOf(miss) > reach)
            continue;
        double hurt = e.hullDamage + e.blastDamage;
        // The bubble bends slow shots that feel gravity away on its own.
        if (!shot.ignoresGravity && self.shield >= e.shieldDamage && self.shield > 0.0 &&
            std::sqrt(speed2) < pixels(BUBBLE_BEATING_SPEED_PX))
            hurt *= 0.3;
        damage += hurt;
        threats[count++] = Threat{gap, closing, t, reach};
    }
    return count;
}

// How far the ship has moved by a boost after t seconds, along the boost.
double boostTravel(double acc, double lastsS, double t)
{
    return t < lastsS ? 0.5 * acc * t * t : acc * lastsS * (t - 0.5 * lastsS);
}

// The smallest margin by which the threats miss after a boost (0: none).
double worstMiss(const Threat* threats, int count, const Vec2& along, double acc, double lastsS)
{
    double worst = NEVER_S;
    for (int i = 0; i < count; ++i) {
        const Threat& t = threats[i];
        const Vec2 moved = times(along, boostTravel(acc, lastsS, t.timeS));
        worst = std::min(worst, lengthOf(minus(plus(t.gap, times(t.closing, t.timeS)), moved)) - t.reach);
    }
    return worst;
}

void considerDodge(Pilot& pilot, const MatchState& m, const Player& self, const PilotSkill& skill)
{
    if (!skill.dodges || self.boosting || self.energy != self.maxEnergy)
        return;
    Threat threats[MAX_THREATS];
    double damage = 0.0;
    const int count = findThreats(m, self, pilot.player, threats, damage);
    if (count == 0 || damage < DODGE_WORTH_DAMAGE)
        return;
    const double acc = boostAccOf(self.body);
    const double lastsS = self.maxEnergy / MS_PER_S;
    const Vec2 ahead = unitAt(self.body.heading.angle);
    double best = worstMiss(threats, count, Vec2{}, acc, lastsS);
    int bestDirection = 0;
    for (int direction : {1, -1}) {
        const double miss = worstMiss(threats, count, times(ahead, direction), acc, lastsS);
        if (miss <= best)
            continue;
        const EngineBurn burn{times(ahead, direction * acc), 0.0, lastsS};
        const PathOutcome path = followShipPath(pilot.forecast, self.body.position, velocityOf(self.body), &burn, 1,
                                                skill.lookAheadS, pixels(skill.planetMarginPx), m.arenaRect);
        if (path.contactS == NEVER_S) {
            best = miss;
            bestDirection = direction;
        }
    }
    if (bestDirection != 0) {
        pilot.boostDirection = bestDirection;
        pilot.boostLeftMs = static_cast<int>(self.maxEnergy);
    }
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

void pilotFrame(Pilot& pilot, const MatchState& m, PlayerControls& controls, WeaponCycling& cycling)
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
        measureReaches(pilot, m, self);
        if (!pilot.planned || pilot.sincePlanMs >= skill.reactionMs) {
            makePlan(pilot, m, self, other, skill);
            pilot.planned = true;
            pilot.sincePlanMs = 0;
            considerDodge(pilot, m, self, skill);
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

void flyPilots(PilotSeats& seats, const MatchState& m, ControlState& controls)
{
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (seats.flown[p])
            pilotFrame(seats.pilots[p], m, controls.players[p], controls.cycling[p]);
}
