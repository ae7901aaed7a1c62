// Aiming with lead: where to point so that a shot, with its speed, its
// engine and the planets' pull, meets the target where the target will be.
#pragma once
#include "pilot/forecast.h"

constexpr int AIM_STRIDE = 2; // forecast steps per aim step
constexpr int AIM_MAX_POINTS = FORECAST_MAX_STEPS / AIM_STRIDE;
constexpr double AIM_STEP_S = FORECAST_STEP_S * AIM_STRIDE;

// How one weapon slot's shots leave the ship, from the slot's own values.
struct ShotModel {
    double muzzleDistance = 0.0; // world units from the ship's centre
    double muzzleAngle = 0.0;    // radians from the heading; PI: dropped behind
    double speed = 0.0;          // world units per second, added to the ship's velocity
    double engineAcc = 0.0;      // world units per second squared, along the launch direction
    bool feelsGravity = true;
    double lifetimeS = 0.0;
    double spreadRad = 0.0;      // width of a volley
};

ShotModel shotModelOf(const MatchContent& c, const Player& p, int slot);

// A volley at least this wide (radians) surrounds the ship.
constexpr double RING_SPREAD_RAD = 6.0;

// A coasting target's places every AIM_STEP_S from now (point 0 is now).
struct TargetPath {
    int points = 0;
    Vec2 position[AIM_MAX_POINTS + 1];
};
void forecastTarget(const PlanetForecast& f, Vec2 position, Vec2 velocity, double horizonS, TargetPath& path);

struct AimSolution {
    bool valid = false;       // a direction was found within the shot's reach
    double direction = 0.0;   // radians, the shot's launch direction
    double flightS = 0.0;     // until the closest approach
    double miss = NEVER_S;    // world units at the closest approach; NEVER_S when not measured
    bool blocked = false;     // a planet or the arena edge takes the shot first
};

// The lead for a target on its path. Without refinements the target is
// taken to fly straight and the shot to keep its launch speed; each
// refinement flies the shot through the forecast and shifts the aim point by
// the miss. With refinements the last flight also measures the miss.
AimSolution solveAim(const PlanetForecast& f, const TargetPath& target, const Vec2& shooter, const Vec2& shooterVelocity,
                     const ShotModel& shot, int refinements, const WorldRect& arena);
