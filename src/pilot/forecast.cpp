#include "pilot/forecast.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "pilot/plane.h"

double maskReachPx(const CollisionMask& mask)
{
    double farthest = 0.0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (!mask.cells[static_cast<size_t>(y) * mask.width + x])
                continue;
            // The far corner of the cell from the placement point.
            const double dx = std::max(std::fabs(x - mask.offsetX), std::fabs(x + 1.0 - mask.offsetX));
            const double dy = std::max(std::fabs(y - mask.offsetY), std::fabs(y + 1.0 - mask.offsetY));
            farthest = std::max(farthest, std::sqrt(dx * dx + dy * dy));
        }
    return farthest;
}

// A planet with a picture is touched by its mask; one without (headless
// tests) by its shot radius; the invisible centre of mass by nothing.
static double contactReachOf(const Planet& planet)
{
    const double maskPx = maskReachPx(planet.mask);
    return maskPx > 0.0 ? pixels(maskPx) : planet.radius;
}

void forecastPlanets(const MatchState& m, int steps, double shipReach, PlanetForecast& f)
{
    const GameMap& map = m.currentMap;
    const int count = std::min(static_cast<int>(m.planetBodies.size()), FORECAST_MAX_PLANETS);
    f.bodyCount = count;
    f.steps = std::min(steps, FORECAST_MAX_STEPS);
    for (int slot = 0; slot < count; ++slot) {
        f.mass[slot] = m.planetBodies[slot].mass;
        f.attracts[slot] = m.planetBodies[slot].attracts;
        f.contactReach[slot] = 0.0;
        f.shotReach[slot] = 0.0;
        for (int k = 0; k <= f.steps; ++k)
            f.position[k][slot] = m.planetBodies[slot].position;
    }
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        const int slot = planet.bodySlot;
        if (slot >= count)
            continue;
        const double reach = contactReachOf(planet);
        f.contactReach[slot] = reach > 0.0 ? reach + shipReach : 0.0;
        f.shotReach[slot] = planet.radius;
        if (planet.orbitRadius == NO_ORBIT || planet.orbitParent >= count)
            continue;
        // Turned step by step by a fixed rotation instead of a sine and cosine each.
        const double turn = planet.orbitSpeed * FORECAST_STEP_S;
        const double c = std::cos(turn), s = std::sin(turn);
        Vec2 arm{planet.orbitRadius * std::cos(planet.orbitAngle), planet.orbitRadius * std::sin(planet.orbitAngle)};
        for (int k = 1; k <= f.steps; ++k) {
            arm = Vec2{arm.x * c - arm.y * s, arm.x * s + arm.y * c};
            f.position[k][slot] = plus(f.position[k][planet.orbitParent], arm);
        }
    }
}

Vec2 gravityAt(const PlanetForecast& f, int step, const Vec2& position, bool isShip)
{
    assert(step >= 0 && step <= f.steps);
    Body unit;
    unit.mass = 1.0;
    unit.position = position;
    Vec2 acc;
    for (int slot = 0; slot < f.bodyCount; ++slot) {
        if (isShip && !f.attracts[slot])
            continue;
        Body planet;
        planet.mass = f.mass[slot];
        planet.position = f.position[step][slot];
        acc = plus(acc, pullComponentsOf(planet, unit));
    }
    return acc;
}

static Vec2 engineAt(const EngineBurn* burns, int burnCount, double t)
{
    Vec2 acc;
    for (int i = 0; i < burnCount; ++i)
        if (t >= burns[i].fromS && t < burns[i].untilS)
            acc = plus(acc, burns[i].acceleration);
    return acc;
}

static bool outsideShrunk(const WorldRect& arena, const Vec2& p, double margin)
{
    return p.x < arena.x + margin || p.x > arena.x + arena.w - margin || p.y < arena.y + margin ||
           p.y > arena.y + arena.h - margin;
}

PathOutcome followShipPath(const PlanetForecast& f, Vec2 position, Vec2 velocity, const EngineBurn* burns,
                           int burnCount, int steps, double margin, const WorldRect& arena)
{
    PathOutcome out{NEVER_S, NEVER_S, NEVER_S, NEVER_S, position, velocity};
    steps = std::min(steps, f.steps);
    for (int k = 0; k < steps; ++k) {
        const double t = k * FORECAST_STEP_S;
        const Vec2 acc = plus(gravityAt(f, k, position, true), engineAt(burns, burnCount, t));
        velocity = plus(velocity, times(acc, FORECAST_STEP_S));
        position = plus(position, times(velocity, FORECAST_STEP_S));
        const double tEnd = t + FORECAST_STEP_S;
        out.endClearance = NEVER_S;
        for (int slot = 0; slot < f.bodyCount; ++slot) {
            if (f.contactReach[slot] <= 0.0)
                continue;
            const double gap = lengthOf(minus(position, f.position[k + 1][slot])) - f.contactReach[slot];
            out.clearance = std::min(out.clearance, gap);
            out.endClearance = std::min(out.endClearance, gap);
            if (gap < margin && out.contactS == NEVER_S)
                out.contactS = tEnd;
        }
        if (out.exitS == NEVER_S && outsideShrunk(arena, position, margin * 0.5))
            out.exitS = tEnd;
        if (out.contactS != NEVER_S)
            break;
    }
    out.position = position;
    out.velocity = velocity;
    return out;
}
