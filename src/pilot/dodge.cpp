#include "pilot/dodge.h"

#include <algorithm>
#include <cmath>

#include "pilot/plane.h"

namespace {

constexpr int MAX_THREATS = 8;
constexpr double DODGE_HORIZON_S = 0.55;
constexpr double OWN_SHOT_GRACE_MS = 400.0;  // its own fresh shots are leaving it
constexpr double THREAT_MARGIN_PX = 5.0;
constexpr double DODGE_WORTH_DAMAGE = 5.0;   // hull points a dodge must save
constexpr double BUBBLE_BEATING_SPEED_PX = 900.0; // slower shots that feel gravity are pushed off by a shield
constexpr double BENT_SHARE = 0.3;           // of such a shot's damage that is still feared

struct Threat {
    Vec2 gap;      // shot minus ship, now
    Vec2 closing;  // shot velocity minus ship velocity
    double timeS;  // of the closest approach
    double reach;  // world units that make a hit
};

// The shots that would hit it if nothing changes, and the hull points at stake.
int findThreats(const MatchState& m, const MatchContent& c, const Player& self, int player, Threat* threats,
                double& damage)
{
    int count = 0;
    damage = 0.0;
    const Vec2 velocity = velocityOf(self.body);
    // The pool is scanned on the shots' motion alone; only close passes look at what a shot carries.
    double widestShot = 0.0;
    for (const WeaponType& w : c.weapons)
        widestShot = std::max(widestShot, w.shotRadius + w.blastRadiusMax);
    const double widestReach = self.hitRadius + widestShot + pixels(THREAT_MARGIN_PX);
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
            hurt *= BENT_SHARE;
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

} // namespace

bool mayBoost(const Player& self, const PilotSkill& skill)
{
    return skill.dodges && !self.boosting && self.energy == self.maxEnergy;
}

int dodgeBoost(const MatchState& m, const MatchContent& c, int player, const PlanetForecast& f, const PilotSkill& skill)
{
    const Player& self = m.players[player];
    if (!mayBoost(self, skill))
        return 0;
    Threat threats[MAX_THREATS];
    double damage = 0.0;
    const int count = findThreats(m, c, self, player, threats, damage);
    if (count == 0 || damage < DODGE_WORTH_DAMAGE)
        return 0;
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
        const PathOutcome path = followShipPath(f, self.body.position, velocityOf(self.body), &burn, 1,
                                                skill.lookAheadS, pixels(skill.planetMarginPx), m.arenaRect);
        // Outside the arena the ship would be flown back blind, maybe across a planet's way.
        if (path.contactS == NEVER_S && path.exitS == NEVER_S) {
            best = miss;
            bestDirection = direction;
        }
    }
    return bestDirection;
}
