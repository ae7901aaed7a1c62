// A match set up in memory for simulation tests: the real content tables,
// ships and planets whose pictures are filled discs, and no window.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <memory>
#include <string>
#include "sim/frame_step.h"
#include "sim/hits.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "sim/orbits.h"
#include "sim/random.h"
#include "sim/weapons.h"
#include "support/disc_picture.h"

constexpr int TEST_SHIP_RADIUS_PX = 10;
constexpr int TEST_PLANET_RADIUS_PX = 20;
constexpr int32_t TEST_START_MS = 1000;

// Ship pictures turned by any angle are the same disc.
inline RotatedPictureSource discShipPictures(const DiscPicture& disc)
{
    return [&disc](int, double) { return RotatedPicture{disc.picture, nullptr}; };
}

// The content with disc masks, built once per test program.
inline const MatchContent& simContent()
{
    static const std::unique_ptr<MatchContent> content = [] {
        auto c = std::make_unique<MatchContent>();
        const DiscPicture planetDisc(TEST_PLANET_RADIUS_PX);
        const DiscPicture shipDisc(TEST_SHIP_RADIUS_PX);
        buildContent(*c, [&planetDisc](int) { return planetDisc.picture; });
        makeAllShipMasks(*c, discShipPictures(shipDisc));
        return c;
    }();
    return *content;
}

class SimMatch : public ::testing::Test {
protected:
    void SetUp() override { setUpMatch(2, 0, 1); }

    void setUpMatch(int mapIndex, int ship1, int ship2)
    {
        MatchChoices choices;
        std::snprintf(choices.names[0], NAME_BUFFER_SIZE, "Alice");
        std::snprintf(choices.names[1], NAME_BUFFER_SIZE, "Bob");
        choices.mapIndex = mapIndex;
        choices.shipIndex[0] = ship1;
        choices.shipIndex[1] = ship2;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
                choices.weapons[p][slot] = slot;
        match = std::make_unique<MatchState>();
        ::setUpMatch(*match, content, choices);
        moveOrbits(currentMap(*match, content), match->orbitAngles[mapIndex], match->planetBodies, 0);
        seedRandom(match->random, 12345);
        events = StepEvents{};
    }

    // Puts a player at a pixel position, at rest, facing the given angle.
    void place(int i, double xPx, double yPx, double heading = 0.0)
    {
        ShipBody& body = match->players[i].body;
        body.position = Vec2{pixels(xPx), pixels(yPx)};
        body.velocity = PolarVec{};
        body.heading = PolarVec{1.0, heading};
        body.insideArena = insideRect(match->arenaRect, body.position);
        updateShieldBubbles(match->players, match->shieldBodies);
    }

    void equip(int i, std::initializer_list<int> weaponList)
    {
        int32_t weapons[WEAPON_SLOTS] = {};
        int slot = 0;
        for (int w : weaponList)
            weapons[slot++] = w;
        equipWeapons(match->players[i], weapons, content.fireStates);
    }

    int activeShots() const
    {
        int n = 0;
        for (const Projectile& shot : match->projectiles)
            n += shot.active ? 1 : 0;
        return n;
    }

    // Events of a kind reported so far, for one player or (-1) any.
    int reported(MatchEventKind kind, int player = -1) const
    {
        int n = 0;
        for (int i = 0; i < events.count; ++i)
            n += events.events[i].kind == kind && (player < 0 || events.events[i].player == player);
        return n;
    }

    std::string bannerShown() const
    {
        char text[MESSAGE_BUFFER_SIZE];
        bannerText(*match, content, text);
        return text;
    }

    // One frame of the match, its events added to those so far.
    void step(const ControlState& controls, int dtMs, int32_t nowMs)
    {
        const StepEvents frame = stepMatch(*match, content, controls, dtMs, nowMs);
        for (int i = 0; i < frame.count; ++i)
            report(events, frame.events[i]);
    }

    Player& player(int i) { return match->players[i]; }

    // A copy of its own, so that a test may change a weapon or a planet.
    std::unique_ptr<MatchContent> ownContent = std::make_unique<MatchContent>(simContent());
    MatchContent& content = *ownContent;
    std::unique_ptr<MatchState> match;
    StepEvents events;
};
