#include "pilot/aim.h"

#include <algorithm>
#include <cmath>

#include "pilot/plane.h"

namespace {


double middle(double lo, double hi) { return (lo + hi) / 2.0; }

// Smallest t > 0 with |r + w t| = m + s t (the shot's reach grows from the muzzle); 0 when none.
double interceptTime(const Vec2& r, const Vec2& w, double s, double m)
{
    const double a = dot(w, w) - s * s;
    const double b = 2.0 * (dot(r, w) - m * s);
    const double c = dot(r, r) - m * m;
    if (std::fabs(a) < 1e-9 * s * s)
        return b < 0.0 ? -c / b : 0.0;
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0)
        return 0.0;
    const double root = std::sqrt(disc);
    const double t1 = (-b - root) / (2.0 * a);
    const double t2 = (-b + root) / (2.0 * a);
    const double lo = std::min(t1, t2), hi = std::max(t1, t2);
    return lo > 0.0 ? lo : (hi > 0.0 ? hi : 0.0);
}

// Closest approach of two points moving straight over one step: the fraction in [0, 1] and the distance.
void closestOnStep(const Vec2& fromGap, const Vec2& toGap, double& fraction, double& gap)
{
    const Vec2 change = minus(toGap, fromGap);
    const double len2 = dot(change, change);
    fraction = len2 > 0.0 ? std::clamp(-dot(fromGap, change) / len2, 0.0, 1.0) : 0.0;
    gap = lengthOf(plus(fromGap, times(change, fraction)));
}

struct Flight {
    double miss = NEVER_S;
    double timeS = 0.0;
    Vec2 missVector;   // shot minus target at the closest approach
    bool blocked = false;
    bool reached = false; // the gap grew again before the shot's end
};

bool shotStopped(const PlanetForecast& f, int step, const Vec2& p, const WorldRect& arena)
{
    if (!insideRect(arena, p))
        return true;
    for (int slot = 0; slot < f.bodyCount; ++slot)
        if (f.shotReach[slot] > 0.0 && lengthOf(minus(p, f.position[step][slot])) <= f.shotReach[slot])
            return true;
    return false;
}

Flight flyShot(const PlanetForecast& f, const TargetPath& target, const Vec2& shooter, const Vec2& shooterVelocity,
               const ShotModel& shot, double direction, const WorldRect& arena)
{
    const Vec2 u = unitAt(direction);
    Vec2 position = plus(shooter, times(u, shot.muzzleDistance));
    Vec2 velocity = plus(shooterVelocity, times(u, shot.speed));
    const Vec2 engine = times(u, shot.engineAcc);
    const int points = std::min(target.points, static_cast<int>(shot.lifetimeS / AIM_STEP_S) + 1);
    Flight best;
    Vec2 gap = minus(position, target.position[0]);
    for (int k = 0; k < points; ++k) {
        Vec2 acc = engine;
        if (shot.feelsGravity)
            acc = plus(acc, gravityAt(f, k * AIM_STRIDE, position, false));
        velocity = plus(velocity, times(acc, AIM_STEP_S));
        position = plus(position, times(velocity, AIM_STEP_S));
        const Vec2 nextGap = minus(position, target.position[k + 1]);
        double fraction = 0.0, d = 0.0;
        closestOnStep(gap, nextGap, fraction, d);
        if (d < best.miss) {
            best.miss = d;
            best.timeS = (k + fraction) * AIM_STEP_S;
            best.missVector = plus(gap, times(minus(nextGap, gap), fraction));
        } else {
            best.reached = true;
            return best;
        }
        if (shotStopped(f, (k + 1) * AIM_STRIDE, position, arena)) {
            best.blocked = fraction >= 1.0;
            best.reached = !best.blocked;
            return best;
        }
        gap = nextGap;
    }
    return best;
}

// The aim as the shot's flight along it turned out.
void takeFlight(AimSolution& aim, const Flight& flight)
{
    aim.miss = flight.miss;
    aim.blocked = flight.blocked;
    aim.flightS = flight.timeS;
    aim.valid = flight.reached || flight.blocked;
}

} // namespace

ShotModel shotModelOf(const MatchContent& c, const Player& p, int slot)
{
    const WeaponType& w = weaponInSlot(c, p, slot);
    const FireState& s = p.fireStates[slot];
    const PolarVec& muzzle = p.muzzles[w.muzzleIndex];
    ShotModel shot;
    shot.muzzleDistance = muzzle.length + w.shotRadius;
    shot.muzzleAngle = muzzle.angle;
    shot.speed = middle(s.speedMin, s.speedMax);
    shot.engineAcc = middle(w.shotThrustMin, w.shotThrustMax) / middle(w.massMin, w.massMax);
    shot.feelsGravity = !w.ignoresGravity;
    shot.lifetimeS = middle(w.lifetimeMin, w.lifetimeMax) / MS_PER_S;
    shot.spreadRad = middle(s.spreadMin, s.spreadMax);
    return shot;
}

void forecastTarget(const PlanetForecast& f, Vec2 position, Vec2 velocity, double horizonS, TargetPath& path)
{
    path.points = std::min({f.steps / AIM_STRIDE, AIM_MAX_POINTS, static_cast<int>(horizonS / AIM_STEP_S) + 2});
    path.position[0] = position;
    for (int k = 0; k < path.points; ++k) {
        const Vec2 acc = gravityAt(f, k * AIM_STRIDE, position, true);
        velocity = plus(velocity, times(acc, AIM_STEP_S));
        position = plus(position, times(velocity, AIM_STEP_S));
        path.position[k + 1] = position;
    }
}

AimSolution solveAim(const PlanetForecast& f, const TargetPath& target, const Vec2& shooter, const Vec2& shooterVelocity,
                     const ShotModel& shot, int refinements, const WorldRect& arena)
{
    AimSolution aim;
    if (target.points == 0 || shot.speed <= 0.0)
        return aim;
    // The straight-line lead from the target's present velocity.
    const Vec2 targetVelocity = times(minus(target.position[1], target.position[0]), 1.0 / AIM_STEP_S);
    const Vec2 r = minus(target.position[0], shooter);
    const double t = interceptTime(r, minus(targetVelocity, shooterVelocity), shot.speed, shot.muzzleDistance);
    if (t <= 0.0 || t > shot.lifetimeS)
        return aim;
    Vec2 aimPoint = plus(target.position[0], times(minus(targetVelocity, shooterVelocity), t));
    aim.valid = true;
    aim.direction = angleOf(minus(aimPoint, shooter));
    aim.flightS = t;
    for (int i = 0; i < refinements; ++i) {
        const Flight flight = flyShot(f, target, shooter, shooterVelocity, shot, aim.direction, arena);
        takeFlight(aim, flight);
        if (!aim.valid || flight.blocked)
            return aim;
        aimPoint = minus(aimPoint, flight.missVector);
        aim.direction = angleOf(minus(aimPoint, shooter));
    }
    if (refinements > 0)
        takeFlight(aim, flyShot(f, target, shooter, shooterVelocity, shot, aim.direction, arena));
    return aim;
}
