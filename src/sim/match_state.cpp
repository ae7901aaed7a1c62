#include "sim/match_state.h"

#include <cassert>
#include <cstdio>

namespace {

constexpr double HUD_STRIP_PX = 45.0;
constexpr double PLAYFIELD_WIDTH_PX = 1024.0;
constexpr double PLAYFIELD_HEIGHT_PX = 768.0;

constexpr const char* KILL_VERBS[KILL_MESSAGE_COUNT] = {" shows ", " teaches ", " beats ", " owns "};
constexpr const char* KILL_PHRASES[KILL_MESSAGE_COUNT] = {" how it's done.", " some manners.",
                                                          " with an ugly-stick.", " all days of the week."};

} // namespace

WorldRect makeArenaRect()
{
    return WorldRect{0.0, pixels(HUD_STRIP_PX), pixels(PLAYFIELD_WIDTH_PX),
                     pixels(PLAYFIELD_HEIGHT_PX - HUD_STRIP_PX)};
}

void fillKillMessages(MatchState& m)
{
    for (int i = 0; i < KILL_MESSAGE_COUNT; ++i) {
        std::snprintf(m.killMessages[i].verb, sizeof m.killMessages[i].verb, "%s", KILL_VERBS[i]);
        std::snprintf(m.killMessages[i].phrase, sizeof m.killMessages[i].phrase, "%s", KILL_PHRASES[i]);
    }
    m.killMessageCount = KILL_MESSAGE_COUNT;
}

void buildPlanetBodies(MatchState& m)
{
    const int count = m.currentMap.planetCount;
    m.planetBodies.assign(count, Body{});
    for (int i = 0; i < count; ++i) {
        const Planet& planet = m.currentMap.planets[i];
        assert(planet.bodySlot >= 0 && planet.bodySlot < count);
        Body& body = m.planetBodies[planet.bodySlot];
        body.mass = planet.mass;
        body.attracts = true;
        body.gravityRange = 0.0;
        body.radius = 0.0;
        body.position = Vec2{};
    }
}
