#include "pilot/forecast.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "pilot/plane.h"

constexpr double NEGLIGIBLE_MASS_SHARE = 1e-9;

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
static double contactReachOf(const Planet& planet, const CollisionMask& mask)
{
    const double maskPx = maskReachPx(mask);
    return maskPx > 0.0 ? pixels(maskPx) : planet.radius;
}

void measureContactReaches(const MatchState& m, const MatchContent& c, double shipReach, ContactReaches& reaches)
{
    reaches = ContactReaches{};
    const GameMap& map = currentMap(m, c);
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        if (planet.bodySlot >= FORECAST_MAX_PLANETS)
            continue;
        const double reach = contactReachOf(planet, c.masks.planets[m.currentMapIndex][i]);
        reaches.reach[planet.bodySlot] = reach > 0.0 ? reach + shipReach : 0.0;
    }
}

void forecastPlanets(const MatchState& m, const MatchContent& c, int steps, const ContactReaches& reaches,
                     PlanetForecast& f)
{
    const GameMap& map = currentMap(m, c);
    const int count = std::min(m.planetCount, FORECAST_MAX_PLANETS);
    f.bodyCount = count;
    f.steps = std::min(steps, FORECAST_MAX_STEPS);
    double heaviest = 0.0;
    for (int slot = 0; slot < count; ++slot)
        heaviest = std::max(heaviest, std::fabs(m.planetBodies[slot].mass));
    for (int slot = 0; slot < count; ++slot) {
        const Body& body = m.planetBodies[slot];
        f.mass[slot] = body.mass;
        // The invisible centre of "Twin stars" pulls 28 orders of magnitude less than the stars.
        f.pullsShots[slot] = std::fabs(body.mass) > NEGLIGIBLE_MASS_SHARE * heaviest;
        f.pullsShips[slot] = f.pullsShots[slot] && body.attracts;
        f.contactReach[slot] = reaches.reach[slot];
        f.shotReach[slot] = 0.0;
        for (int k = 0; k <= f.steps; ++k)
            f.position[k][slot] = m.planetBodies[slot].position;
    }
    for (int i = 0; i < map.planetCount; ++i) {
        const Planet& planet = map.planets[i];
        const int slot = planet.bodySlot;
        if (slot >= count)
            continue;
        f.shotReach[slot] = planet.radius;
        if (planet.orbitRadius == NO_ORBIT || planet.orbitParent >= count)
            continue;
        // Turned step by step by a fixed rotation instead of a sine and cosine each.
        const double turn = planet.orbitSpeed * FORECAST_STEP_S;
        const double cosTurn = std::cos(turn), sinTurn = std::sin(turn);
        const double angle = m.orbitAngles[m.currentMapIndex][i];
        Vec2 arm{planet.orbitRadius * std::cos(angle), planet.orbitRadius * std::sin(angle)};
        for (int k = 1; k <= f.steps; ++k) {
            arm = Vec2{arm.x * cosTurn - arm.y * sinTurn, arm.x * sinTurn + arm.y * cosTurn};
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
        if (!(isShip ? f.pullsShips[slot] : f.pullsShots[slot]))
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
                           int burnCount, double horizonS, double margin, const WorldRect& arena)
{
    constexpr double STEP_S = FORECAST_STEP_S * PATH_STRIDE;
    PathOutcome out{NEVER_S, NEVER_S, NEVER_S, NEVER_S, position, velocity};
    const int steps = std::min(static_cast<int>(horizonS / STEP_S + 0.5), f.steps / PATH_STRIDE);
    for (int k = 0; k < steps; ++k) {
        const double t = k * STEP_S;
        const Vec2 acc = plus(gravityAt(f, k * PATH_STRIDE, position, true), engineAt(burns, burnCount, t));
        velocity = plus(velocity, times(acc, STEP_S));
        position = plus(position, times(velocity, STEP_S));
        const double tEnd = t + STEP_S;
        out.endClearance = NEVER_S;
        for (int slot = 0; slot < f.bodyCount; ++slot) {
            if (f.contactReach[slot] <= 0.0)
                continue;
            const double gap = lengthOf(minus(position, f.position[(k + 1) * PATH_STRIDE][slot])) - f.contactReach[slot];
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
