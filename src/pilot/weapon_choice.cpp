#include "pilot/weapon_choice.h"

#include <algorithm>
#include <cmath>

#include "pilot/aim.h"
#include "sim/match_setup.h"

namespace {

// Shots slower than this are pushed well aside by a full shield bubble.
constexpr double SHIELD_BEATING_SPEED = 1200000000.0;    // world units per second
constexpr double DODGE_SHARE = 0.35;                      // how much of its engine a target spends evading
constexpr double RANGES_PX[] = {35.0, 70.0, 130.0, 200.0, 280.0, 380.0};
constexpr double TURN_ROUND_SHARE = 0.5;                  // of a gun's value while the target is behind

double middle(double lo, double hi) { return (lo + hi) / 2.0; }

// The share of a volley's shots that can meet a target of that angular size.
double shareOnTarget(const ShotModel& shot, double angularSize)
{
    if (shot.spreadRad <= angularSize)
        return 1.0;
    return angularSize / shot.spreadRad;
}

// How far a shot gets in its lifetime, engine included.
double reachOf(const ShotModel& shot)
{
    const double t = shot.lifetimeS;
    return shot.muzzleDistance + shot.speed * t + 0.5 * shot.engineAcc * t * t;
}

// The time a shot needs to cover a distance, engine included.
double flightTimeTo(const ShotModel& shot, double distance)
{
    const double d = std::max(distance - shot.muzzleDistance, 0.0);
    if (shot.engineAcc <= 0.0)
        return d / shot.speed;
    const double a = shot.engineAcc;
    return (-shot.speed + std::sqrt(shot.speed * shot.speed + 2.0 * a * d)) / a;
}

} // namespace

double slotValue(const MatchContent& c, const Player& shooter, int slot, const FightView& view)
{
    const WeaponType& w = weaponInSlot(c, shooter, slot);
    const FireState& s = shooter.fireStates[slot];
    const ShotModel shot = shotModelOf(c, shooter, slot);
    const double d = view.distance;
    if (shot.speed <= 0.0 || d > reachOf(shot) * 0.9)
        return 0.0;
    // Mines are for a chaser; a gun needs the ship turned round first.
    const bool dropsBehind = std::cos(shot.muzzleAngle) < 0.0;
    if (dropsBehind && !view.targetBehind)
        return 0.0;
    const double turning = !dropsBehind && view.targetBehind ? TURN_ROUND_SHARE : 1.0;
    const double count = middle(s.countMin, s.countMax);
    const double angularSize = 2.0 * std::atan2(view.targetRadius, std::max(d, view.targetRadius));
    const double perShot = middle(w.hullDamageMin, w.hullDamageMax) + 0.5 * middle(w.blastDamageMin, w.blastDamageMax);
    const double volley = perShot * count * shareOnTarget(shot, std::min(angularSize, RING_SPREAD_RAD));
    // A magazine emptied at full rate, then its reload.
    const double magazineS = (s.clipSize * (s.interval + 1.0) + s.reloadTime) / MS_PER_S;
    const double perSecond = volley * s.clipSize / magazineS;
    // The target moves aside while the shot flies.
    const double t = flightTimeTo(shot, d);
    const double sidestep = 0.5 * view.targetAgility * DODGE_SHARE * t * t;
    double landing = view.targetRadius / (view.targetRadius + sidestep);
    // A slow shot that feels gravity is bent away by a shield, unless fired from inside the bubbles.
    if (shot.feelsGravity && d > 2.0 * pixels(SHIELD_BUBBLE_RANGE_PX)) {
        const double speedShare = std::min(1.0, (shot.speed + shot.engineAcc * t) / SHIELD_BEATING_SPEED);
        landing *= 1.0 - view.targetShield * (1.0 - speedShare) * 0.8;
    }
    // An empty magazine reloads only while selected.
    const double waiting = s.ammoLeft > 0 ? 0.0 : s.reloadLeft / MS_PER_S;
    return turning * perSecond * landing / (1.0 + waiting);
}

double bestRangeOf(const MatchContent& c, const Player& shooter, int slot, const FightView& view)
{
    // Farther is safer: the longest range that keeps most of the best value.
    constexpr double GOOD_ENOUGH = 0.75;
    constexpr int TRIED = sizeof RANGES_PX / sizeof RANGES_PX[0];
    FightView at = view;
    double values[TRIED];
    double best = 0.0;
    for (int i = 0; i < TRIED; ++i) {
        at.distance = pixels(RANGES_PX[i]);
        values[i] = slotValue(c, shooter, slot, at);
        best = std::max(best, values[i]);
    }
    for (int i = TRIED - 1; i >= 0; --i)
        if (values[i] > 0.0 && values[i] >= GOOD_ENOUGH * best)
            return pixels(RANGES_PX[i]);
    return pixels(RANGES_PX[TRIED / 2]);
}
