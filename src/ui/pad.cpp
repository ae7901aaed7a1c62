#include "ui/pad.h"

#include <SDL/SDL_joystick.h>
#include "sim/player.h"

namespace {

constexpr uint8_t STICK_X_AXIS = 0, STICK_Y_AXIS = 1; // the left stick on common pads
constexpr uint8_t FIRST_HAT = 0;
constexpr uint8_t BUTTON_BITS = 32;

// Stick deflections out of 32767. Within the dead zone a stick rests; up to
// the full-turn mark it turns finely, beyond it fully. A direction (thrust,
// backward boost, a menu step) is taken half way out and let go only back in
// the dead zone, so a stick trembling at the mark does not tap it again.
constexpr int STICK_DEAD_ZONE = 8000;
constexpr int STICK_FULL_TURN = 24000;
constexpr int STICK_DIRECTION = 16000;

constexpr uint8_t ALL_DIRECTIONS = SDL_HAT_UP | SDL_HAT_RIGHT | SDL_HAT_DOWN | SDL_HAT_LEFT;

// Button numbers as common pads lay them out (A, B, X, Y, shoulders, Start).
constexpr uint8_t FIRE_BUTTON = 0;
constexpr uint8_t BOOST_BUTTON = 1;
constexpr uint8_t RELOAD_BUTTON = 2;
constexpr uint8_t WEAPON_NAME_BUTTON = 3;
constexpr uint8_t PREVIOUS_WEAPON_BUTTON = 4;
constexpr uint8_t NEXT_WEAPON_BUTTON = 5;
constexpr uint8_t MENU_BUTTON = 7;
constexpr uint8_t CONFIRM_BUTTON = 0;
constexpr uint8_t BACK_BUTTON = 1;

constexpr uint32_t bit(uint8_t button) { return uint32_t{1} << button; }

// One axis of the stick: the direction it holds on its own side, with the
// hysteresis between the dead zone and the direction mark.
uint8_t followAxis(uint8_t held, int value, uint8_t negative, uint8_t positive)
{
    if (value <= -STICK_DIRECTION)
        return static_cast<uint8_t>((held & ~positive) | negative);
    if (value >= STICK_DIRECTION)
        return static_cast<uint8_t>((held & ~negative) | positive);
    if (value >= -STICK_DEAD_ZONE && value <= STICK_DEAD_ZONE)
        return static_cast<uint8_t>(held & ~(negative | positive));
    return static_cast<uint8_t>(held & ~(value < 0 ? positive : negative));
}

void noteAxis(PadState& pad, uint8_t axis, int16_t value)
{
    if (axis == STICK_X_AXIS) {
        pad.stickX = value;
        pad.stickDirections = followAxis(pad.stickDirections, value, SDL_HAT_LEFT, SDL_HAT_RIGHT);
    } else if (axis == STICK_Y_AXIS) {
        pad.stickDirections = followAxis(pad.stickDirections, value, SDL_HAT_UP, SDL_HAT_DOWN);
    }
}

void noteButton(PadState& pad, uint8_t button, bool down)
{
    if (button >= BUTTON_BITS)
        return;
    if (down) {
        pad.buttons |= bit(button);
        pad.pressedButtons |= bit(button);
    } else {
        pad.buttons &= ~bit(button);
    }
}

bool held(const PadState& pad, uint8_t button) { return pad.buttons & bit(button); }
bool pressed(const PadState& pad, uint8_t button) { return pad.pressedButtons & bit(button); }

} // namespace

int padPlayer(int which, bool swapped)
{
    if (which < 0 || which >= PLAYER_COUNT)
        return -1;
    return swapped ? PLAYER_COUNT - 1 - which : which;
}

void notePadEvent(PadState& pad, const SDL_Event& event)
{
    const uint8_t before = pad.hat | pad.stickDirections;
    switch (event.type) {
    case SDL_JOYAXISMOTION: noteAxis(pad, event.jaxis.axis, event.jaxis.value); break;
    case SDL_JOYHATMOTION:
        if (event.jhat.hat == FIRST_HAT)
            pad.hat = event.jhat.value & ALL_DIRECTIONS;
        break;
    case SDL_JOYBUTTONDOWN: noteButton(pad, event.jbutton.button, true); break;
    case SDL_JOYBUTTONUP: noteButton(pad, event.jbutton.button, false); break;
    default: break;
    }
    pad.pressedDirections |= (pad.hat | pad.stickDirections) & ~before;
}

void notePadReading(PadState& pad, const PadReading& reading)
{
    const uint8_t before = pad.hat | pad.stickDirections;
    pad.stickX = reading.stickX;
    pad.stickDirections = followAxis(pad.stickDirections, reading.stickX, SDL_HAT_LEFT, SDL_HAT_RIGHT);
    pad.stickDirections = followAxis(pad.stickDirections, reading.stickY, SDL_HAT_UP, SDL_HAT_DOWN);
    pad.hat = reading.hat & ALL_DIRECTIONS;
    pad.pressedDirections |= (pad.hat | pad.stickDirections) & ~before;
    pad.pressedButtons |= reading.buttons & ~pad.buttons;
    pad.buttons = reading.buttons;
}

void addPadControls(const PadState& pad, PlayerControls& controls, WeaponCycling& cycling, bool& escape)
{
    const uint8_t directions = pad.hat | pad.stickDirections;
    controls.turnLeft |= (pad.hat & SDL_HAT_LEFT) || pad.stickX <= -STICK_FULL_TURN;
    controls.turnRight |= (pad.hat & SDL_HAT_RIGHT) || pad.stickX >= STICK_FULL_TURN;
    controls.fineLeft |= pad.stickX < -STICK_DEAD_ZONE;
    controls.fineRight |= pad.stickX > STICK_DEAD_ZONE;
    // A full turn is never topped up by a fine one, whichever device gave which.
    controls.fineLeft = controls.fineLeft && !controls.turnLeft;
    controls.fineRight = controls.fineRight && !controls.turnRight;
    controls.thrust |= (directions & SDL_HAT_UP) != 0;
    controls.thrustPressed |= (pad.pressedDirections & SDL_HAT_UP) != 0;
    controls.boostBackward |= (directions & SDL_HAT_DOWN) != 0;
    controls.fire |= held(pad, FIRE_BUTTON);
    controls.boostForward |= held(pad, BOOST_BUTTON);
    controls.reload |= held(pad, RELOAD_BUTTON);
    controls.weaponModifier |= held(pad, WEAPON_NAME_BUTTON);
    cycling.previousWeapon |= pressed(pad, PREVIOUS_WEAPON_BUTTON);
    cycling.nextWeapon |= pressed(pad, NEXT_WEAPON_BUTTON);
    escape |= pressed(pad, MENU_BUTTON);
}

void addPadMenuInput(const PadState& pad, MenuInput& input)
{
    input.up |= (pad.pressedDirections & SDL_HAT_UP) != 0;
    input.down |= (pad.pressedDirections & SDL_HAT_DOWN) != 0;
    input.left |= (pad.pressedDirections & SDL_HAT_LEFT) != 0;
    input.right |= (pad.pressedDirections & SDL_HAT_RIGHT) != 0;
    input.enter |= pressed(pad, CONFIRM_BUTTON);
    input.escape |= pressed(pad, BACK_BUTTON);
}

void clearPadPresses(PadState& pad)
{
    pad.pressedDirections = 0;
    pad.pressedButtons = 0;
}
