// What the pilot foresees: where the planets will be over the next seconds,
// and where a ship or a shot flying under their pull will go.
#pragma once
#include "sim/match_state.h"

constexpr double MS_PER_S = 1000.0;
constexpr int FORECAST_MAX_PLANETS = 4; // the maps have at most 3
constexpr int FORECAST_MAX_STEPS = 96;
constexpr double FORECAST_STEP_S = 0.025;

struct PlanetForecast {
    int bodyCount = 0;
    int steps = 0;                        // positions exist for steps 0..steps
    double contactReach[FORECAST_MAX_PLANETS] = {}; // world units from the centre a ship's centre touches; 0: untouchable
    double shotReach[FORECAST_MAX_PLANETS] = {};    // world units from the centre at which a shot goes off
    double mass[FORECAST_MAX_PLANETS] = {};
    bool pullsShips[FORECAST_MAX_PLANETS] = {};
    bool pullsShots[FORECAST_MAX_PLANETS] = {}; // false also for a body too light to matter
    Vec2 position[FORECAST_MAX_STEPS + 1][FORECAST_MAX_PLANETS]; // by body slot
};

// How far a mask reaches from its placement point, in pixels; 0 when it has no solid cell.
double maskReachPx(const CollisionMask& mask);

// How far from each planet's centre (by body slot) a ship's centre touches
// it, in world units; 0: it cannot be touched. Measured once per map and ship.
struct ContactReaches {
    double reach[FORECAST_MAX_PLANETS] = {};
};
void measureContactReaches(const MatchState& m, const MatchContent& c, double shipReach, ContactReaches& reaches);

// Planet positions every FORECAST_STEP_S from now, for steps steps (at most FORECAST_MAX_STEPS).
void forecastPlanets(const MatchState& m, const MatchContent& c, int steps, const ContactReaches& reaches, PlanetForecast& f);
// Acceleration of a ship (attracting planets only) or a shot (all planets) at a forecast step.
Vec2 gravityAt(const PlanetForecast& f, int step, const Vec2& position, bool isShip);

// An engine acceleration held over [fromS, untilS).
struct EngineBurn {
    Vec2 acceleration; // world units per second squared
    double fromS = 0.0;
    double untilS = 0.0;
};

struct PathOutcome {
    double contactS;   // first touch of a planet (within the margin), or a large number
    double exitS;      // first time outside the arena shrunk by the margin, or a large number
    double clearance;  // smallest distance to a planet's contact reach, world units
    double endClearance; // the same at the end
    Vec2 position;     // at the end
    Vec2 velocity;
};
constexpr double NEVER_S = 1.0e9;

inline Vec2 velocityOf(const ShipBody& body) { return Vec2{xOf(body.velocity), yOf(body.velocity)}; }
inline double engineAccOf(const ShipBody& body) { return body.thrustForce / body.mass; }
inline double boostAccOf(const ShipBody& body) { return body.boostForce / body.mass; }

// Flies a ship for horizonS seconds in steps of PATH_STRIDE forecast steps,
// as the flight step does: gravity and engines change the velocity, which moves the ship.
constexpr int PATH_STRIDE = 2;
PathOutcome followShipPath(const PlanetForecast& f, Vec2 position, Vec2 velocity, const EngineBurn* burns,
                           int burnCount, double horizonS, double margin, const WorldRect& arena);
