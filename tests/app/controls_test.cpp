#include <SDL/SDL_keysym.h>
#include <gtest/gtest.h>
#include "ui/controls.h"

class KeyMapping : public ::testing::Test {
protected:
    ControlState read()
    {
        keys.held = held;
        ControlState c;
        controlsFromKeys(keys, DEFAULT_KEY_BINDINGS, c);
        return c;
    }
    unsigned char held[SDLK_LAST] = {};
    KeySnapshot keys;
};

TEST_F(KeyMapping, PlainKeysFlyAndFire)
{
    held[SDLK_d] = held[SDLK_r] = held[SDLK_1] = held[SDLK_f] = 1;
    held[SDLK_RIGHT] = held[SDLK_UP] = held[SDLK_i] = 1;
    const ControlState c = read();
    EXPECT_TRUE(c.players[0].turnLeft && c.players[0].thrust && c.players[0].fire && c.players[0].boostBackward);
    EXPECT_FALSE(c.players[0].turnRight || c.players[0].reload || c.players[0].weaponModifier);
    EXPECT_TRUE(c.players[1].turnRight && c.players[1].thrust && c.players[1].fire);
    EXPECT_FALSE(c.players[1].turnLeft);
}

TEST_F(KeyMapping, ManoeuvreModifierGivesFineTurnsAndBoosts)
{
    held[SDLK_2] = held[SDLK_d] = held[SDLK_g] = held[SDLK_r] = 1;
    keys.pressed[SDLK_r] = true;
    const ControlState c = read();
    const PlayerControls& p = c.players[0];
    EXPECT_TRUE(p.fineLeft && p.fineRight && p.boostForward);
    EXPECT_FALSE(p.turnLeft || p.turnRight || p.thrust || p.thrustPressed);
    const FlightCommands f = flightCommandsFrom(p);
    EXPECT_DOUBLE_EQ(f.turnInput, 0.0);
    EXPECT_EQ(f.boostRequest, 1);
}

TEST_F(KeyMapping, WeaponModifierHidesFlightAndTurnsFireIntoReload)
{
    held[SDLK_p] = held[SDLK_LEFT] = held[SDLK_UP] = held[SDLK_DOWN] = held[SDLK_i] = 1;
    keys.pressed[SDLK_LEFT] = true;
    const ControlState c = read();
    const PlayerControls& p = c.players[1];
    EXPECT_TRUE(p.weaponModifier && p.reload);
    EXPECT_FALSE(p.fire || p.turnLeft || p.thrust || p.boostBackward);
    EXPECT_TRUE(c.cycling[1].previousWeapon);
    EXPECT_FALSE(c.cycling[1].nextWeapon);
    EXPECT_FALSE(c.cycling[0].previousWeapon);
}

TEST_F(KeyMapping, BothModifiersFineTurnAndReload)
{
    held[SDLK_o] = held[SDLK_p] = held[SDLK_LEFT] = held[SDLK_i] = 1;
    const ControlState c = read();
    const PlayerControls& p = c.players[1];
    EXPECT_TRUE(p.fineLeft && p.reload);
    EXPECT_FALSE(p.weaponModifier || p.fire);
}

TEST_F(KeyMapping, PressedFlagsNeedAKeyDownAndLastOneFrame)
{
    keys.pressed[SDLK_r] = true;
    keys.pressed[SDLK_ESCAPE] = true;
    ControlState c = read();
    EXPECT_TRUE(c.players[0].thrustPressed);
    EXPECT_FALSE(c.players[0].thrust);
    EXPECT_TRUE(c.escape);
    keys = KeySnapshot{};
    c = read();
    EXPECT_FALSE(c.players[0].thrustPressed || c.escape);
}

TEST_F(KeyMapping, OppositeTurnsCancelAndBackwardBoostWins)
{
    PlayerControls p;
    p.turnLeft = p.turnRight = true;
    EXPECT_DOUBLE_EQ(flightCommandsFrom(p).turnInput, 0.0);
    p = PlayerControls{};
    p.fineLeft = true;
    EXPECT_DOUBLE_EQ(flightCommandsFrom(p).turnInput, -0.25);
    p.boostForward = p.boostBackward = true;
    EXPECT_EQ(flightCommandsFrom(p).boostRequest, -1);
}
