// The computer pilot flies the real match: only flags that keys can give,
// none of the match's random draws, and the right move where one is plain.
#include <SDL/SDL_keysym.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "../../tools/sim_runner/headless_match.h"
#include "pilot/pilot.h"
#include "support/sim_match.h"
#include "ui/controls.h"

namespace {

constexpr int FRAME_MS = 10;
constexpr uint32_t PILOT_SEED = 99;

int encode(const PlayerControls& c, const WeaponCycling& w)
{
    const bool bits[] = {c.turnLeft, c.turnRight, c.thrust,  c.fire,    c.weaponModifier,  c.boostForward, c.boostBackward,
                         c.thrustPressed, c.reload, c.fineLeft, c.fineRight, w.previousWeapon, w.nextWeapon};
    int code = 0;
    for (bool b : bits)
        code = code * 2 + (b ? 1 : 0);
    return code;
}

// Every flag combination player 1's seven keys can give, held or pressed in any way.
std::set<int> keyboardReachable()
{
    const int keys[] = {SDLK_d, SDLK_g, SDLK_r, SDLK_f, SDLK_1, SDLK_2, SDLK_3};
    std::set<int> reachable;
    std::vector<unsigned char> held(SDLK_LAST, 0);
    for (int heldBits = 0; heldBits < 1 << 7; ++heldBits)
        for (int pressedBits = 0; pressedBits < 1 << 3; ++pressedBits) {
            for (int k = 0; k < 7; ++k)
                held[keys[k]] = (heldBits >> k) & 1;
            KeySnapshot snapshot;
            snapshot.held = held.data();
            snapshot.pressed[SDLK_d] = pressedBits & 1;
            snapshot.pressed[SDLK_g] = pressedBits & 2;
            snapshot.pressed[SDLK_r] = pressedBits & 4;
            ControlState controls;
            controlsFromKeys(snapshot, DEFAULT_KEY_BINDINGS, controls);
            reachable.insert(encode(controls.players[0], controls.cycling[0]));
        }
    return reachable;
}

class PilotTest : public SimMatch {
protected:
    // One pass as the frame loop makes it: keys (none here), then the pilots, then the simulation.
    ControlState pass()
    {
        ControlState controls;
        flyPilots(seats, *match, content, controls);
        now += FRAME_MS;
        step(controls, FRAME_MS, now);
        return controls;
    }

    void setVelocity(int i, double speedPx, double angle) { player(i).body.velocity = PolarVec{pixels(speedPx), angle}; }

    PilotSeats seats;
    int32_t now = TEST_START_MS;
};

TEST_F(PilotTest, GivesOnlyFlagsThatKeysCanGive)
{
    const std::set<int> reachable = keyboardReachable();
    int fired = 0, turned = 0, thrust = 0, changedWeapon = 0;
    for (int map = 0; map < MAP_COUNT; ++map)
        for (PilotLevel level : {PilotLevel::Easy, PilotLevel::Hard}) {
            setUpMatch(map, 0, 1);
            placeBothPlayers(*match, content);
            seats = PilotSeats{};
            seatPilot(seats, 0, level, PILOT_SEED);
            seatPilot(seats, 1, PilotLevel::Hard, PILOT_SEED);
            for (int frame = 0; frame < 1500; ++frame) {
                const ControlState controls = pass();
                for (int p = 0; p < PLAYER_COUNT; ++p) {
                    const PlayerControls& c = controls.players[p];
                    ASSERT_TRUE(reachable.count(encode(c, controls.cycling[p])))
                        << "map " << map << " frame " << frame << " player " << p + 1;
                    fired += c.fire;
                    turned += c.turnLeft || c.turnRight || c.fineLeft || c.fineRight;
                    thrust += c.thrust;
                    changedWeapon += controls.cycling[p].previousWeapon || controls.cycling[p].nextWeapon;
                }
            }
        }
    EXPECT_GT(fired, 0);
    EXPECT_GT(turned, 0);
    EXPECT_GT(thrust, 0);
    EXPECT_GT(changedWeapon, 0);
}

// Player 1 fires a gun of random spread; player 2 idles or is flown without firing.
TEST_F(PilotTest, LeavesTheMatchRandomSequenceAlone)
{
    struct Run {
        std::vector<double> shots;
        int nextDraw = 0;
    };
    const auto play = [this](bool piloted) {
        setUpMatch(1, 0, 1);
        place(0, 300, 650, -PI / 2);
        place(1, 800, 300);
        player(0).currentSlot = 1;
        seats = PilotSeats{};
        if (piloted)
            seatPilot(seats, 1, PilotLevel::Hard, PILOT_SEED);
        for (int frame = 0; frame < 40; ++frame) {
            ControlState controls;
            controls.players[0].fire = true;
            flyPilots(seats, *match, content, controls);
            controls.players[1].fire = false;
            now += FRAME_MS;
            step(controls, FRAME_MS, now);
        }
        Run run;
        for (int i = 0; i < SHOT_POOL_SIZE; ++i)
            if (match->projectiles[i].active && match->explosions[i].ownerIndex == 0)
                run.shots.insert(run.shots.end(), {match->projectiles[i].velocity.x, match->projectiles[i].velocity.y,
                                                   static_cast<double>(match->explosions[i].lifetime)});
        run.nextDraw = randomDraw(match->random);
        return run;
    };
    const Run alone = play(false);
    const Run flown = play(true);
    EXPECT_GT(alone.shots.size(), 30u);
    EXPECT_EQ(alone.shots, flown.shots);
    EXPECT_EQ(alone.nextDraw, flown.nextDraw);
}

TEST_F(PilotTest, TurnsAwayFromAPlanetStraightAhead)
{
    const auto crashes = [this](bool piloted, PilotLevel level) {
        setUpMatch(0, 0, 1);
        // Falling into the earth at (500, 400) at speed, facing it.
        place(0, 250, 400, 0.0);
        setVelocity(0, 200, 0.0);
        place(1, 900, 700);
        seats = PilotSeats{};
        if (piloted)
            seatPilot(seats, 0, level, PILOT_SEED);
        for (int frame = 0; frame < 300 && player(0).lifeState == ALIVE; ++frame)
            pass();
        return player(0).lifeState != ALIVE;
    };
    EXPECT_TRUE(crashes(false, PilotLevel::Hard)) << "the unflown ship should crash";
    for (PilotLevel level : {PilotLevel::Easy, PilotLevel::Normal, PilotLevel::Hard})
        EXPECT_FALSE(crashes(true, level)) << pilotLevelName(level);
}

// Every level opens fire within a second; normal and hard also hit by then.
TEST_F(PilotTest, HitsAStillOpponentInFrontWithinASecond)
{
    for (PilotLevel level : {PilotLevel::Easy, PilotLevel::Normal, PilotLevel::Hard}) {
        setUpMatch(1, 0, 1);
        place(0, 300, 400, 0.0);
        place(1, 520, 400, PI);
        seats = PilotSeats{};
        seatPilot(seats, 0, level, PILOT_SEED);
        const Player& target = player(1);
        bool fired = false, hit = false;
        for (int frame = 0; frame < 100 && !hit; ++frame) {
            const bool firing = pass().players[0].fire;
            fired = fired || firing;
            hit = target.hull < target.maxHull || target.shield < target.maxShield;
        }
        EXPECT_TRUE(fired) << pilotLevelName(level) << " did not fire in a second";
        if (level != PilotLevel::Easy) {
            EXPECT_TRUE(hit) << pilotLevelName(level) << " did not hit in a second";
        }
    }
}

} // namespace
