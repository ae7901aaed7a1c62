#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include "sim/match_validation.h"
#include "support/sim_match.h"

namespace {

class MatchValidation : public SimMatch {
protected:
    // A match in flight: both ships turning and firing, their first volleys out.
    void SetUp() override
    {
        SimMatch::SetUp();
        place(0, 300, 300);
        place(1, 700, 500, 3.0);
        ControlState controls;
        for (PlayerControls& p : controls.players) {
            p.fire = true;
            p.turnLeft = true;
        }
        for (int frame = 0; frame < 5; ++frame)
            step(controls, 16, TEST_START_MS + frame * 16);
        ASSERT_GT(activeShots(), 0);
    }

    int firstActiveShot() const
    {
        for (int i = 0; i < SHOT_POOL_SIZE; ++i)
            if (match->projectiles[i].active)
                return i;
        return -1;
    }
};

// A byte that is no bool, written as the peer's bytes would carry it.
void spoilFlag(bool& flag)
{
    const uint8_t two = 2;
    std::memcpy(&flag, &two, 1);
}

struct Damage {
    const char* name;
    std::function<void(MatchState&, int shot)> spoil;
};

TEST_F(MatchValidation, AStateTheRulesMadePassesAndEveryDamagedIndexCountOrNumberIsRefused)
{
    const char* why = nullptr;
    ASSERT_TRUE(validMatchState(*match, content, why)) << why;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Damage damages[] = {
        {"map", [](MatchState& m, int) { m.currentMapIndex = MAP_COUNT; }},
        {"map chosen", [](MatchState& m, int) { m.selectedMapIndex = -1; }},
        {"planet count", [](MatchState& m, int) { m.planetCount = MAX_PLANETS + 1; }},
        {"orbit angle", [nan](MatchState& m, int) { m.orbitAngles[1][0] = nan; }},
        {"ship type", [](MatchState& m, int) { m.players[1].shipIndex = SHIP_COUNT; }},
        {"player index", [](MatchState& m, int) { m.players[1].index = 0; }},
        {"weapon row", [](MatchState& m, int) { m.players[0].weaponRows[2] = WEAPON_COUNT; }},
        {"magazine", [](MatchState& m, int) { m.players[0].fireStates[1].clipSize = 1000; }},
        {"volley count", [](MatchState& m, int) { m.players[0].fireStates[1].countMax = 100000; }},
        {"slot", [](MatchState& m, int) { m.players[0].currentSlot = WEAPON_SLOTS; }},
        {"life state", [](MatchState& m, int) { m.players[1].lifeState = READY_TO_RESPAWN + 1; }},
        {"rotation frame", [](MatchState& m, int) { m.players[0].rotationFrame = ROTATION_MASKS; }},
        {"boost direction", [](MatchState& m, int) { m.players[0].boostDirection = 2; }},
        {"ship's place", [nan](MatchState& m, int) { m.players[0].body.position.x = nan; }},
        {"ship far away", [](MatchState& m, int) { m.players[0].body.position.y = pixels(2 * MAX_COORDINATE_PX); }},
        {"heading", [](MatchState& m, int) { m.players[1].body.heading.angle = 1e300; }},
        {"hull", [](MatchState& m, int) { m.players[1].hull = std::numeric_limits<double>::infinity(); }},
        {"ship's flag", [](MatchState& m, int) { spoilFlag(m.players[1].canCollide); }},
        {"ship animation", [](MatchState& m, int) { m.players[0].deathAnim.firstFrame = ANIMATION_FRAME_CAPACITY; }},
        {"animation frame", [](MatchState& m, int) { m.players[0].thrustAnim.current = 99; }},
        {"name", [](MatchState& m, int) { std::memset(m.nameBuffers[0], 'x', NAME_BUFFER_SIZE); }},
        {"shot's flag", [](MatchState& m, int) { spoilFlag(m.projectiles[SHOT_POOL_SIZE - 1].active); }},
        {"shot's place", [nan](MatchState& m, int i) { m.projectiles[i].position.y = nan; }},
        {"shot's hit test", [](MatchState& m, int i) { m.explosions[i].hitTest = 3; }},
        {"blast mask", [](MatchState& m, int i) { m.explosions[i].hitMaskIndex = BLAST_MASK_COUNT; }},
        {"hit player", [](MatchState& m, int i) { m.explosions[i].hitPlayer = PLAYER_COUNT; }},
        {"hit planet", [](MatchState& m, int i) { m.explosions[i].hitPlanet = m.planetCount; }},
        {"owner", [](MatchState& m, int i) { m.explosions[i].ownerIndex = -1; }},
        {"impact animation", [](MatchState& m, int i) { m.explosions[i].impactAnim.frameCount = 0; }},
        {"planet body", [nan](MatchState& m, int) { m.planetBodies[0].mass = nan; }},
        {"arena", [](MatchState& m, int) { m.arenaRect.w = 1.0; }},
        {"control flag", [](MatchState& m, int) { spoilFlag(m.controls.cycling[1].nextWeapon); }},
        {"banner kind", [](MatchState& m, int) { m.banner.kind = BANNER_RAMMING + 1; }},
        {"banner taunt", [](MatchState& m, int) { m.banner.taunt = KILL_MESSAGE_COUNT; }},
        {"banner victim", [](MatchState& m, int) { m.banner.victim = PLAYER_COUNT; }},
    };
    const int shot = firstActiveShot();
    for (const Damage& d : damages) {
        auto damaged = std::make_unique<MatchState>(*match);
        d.spoil(*damaged, shot);
        EXPECT_FALSE(validMatchState(*damaged, content, why)) << d.name;
        EXPECT_NE(why, nullptr) << d.name;
    }
}

} // namespace
