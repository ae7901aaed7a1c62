// Gamepads and joysticks: what each pad's events leave held and pressed, and
// how that becomes the same control flags and menu keys the keyboard gives.
#pragma once
#include <SDL/SDL_events.h>
#include <cstdint>
#include "sim/match_controls.h"
#include "ui/menu_input.h"

// The pad's left stick, its first hat and its buttons; pads report the d-pad
// as one or the other.
struct PadState {
    int16_t stickX = 0;           // -32768 (left) .. 32767 (right)
    uint8_t hat = 0;              // SDL_HAT_* bits of the first hat
    uint8_t stickDirections = 0;  // SDL_HAT_* bits the stick holds, with hysteresis
    uint8_t pressedDirections = 0; // directions newly held since the last reading
    uint32_t buttons = 0;         // held, bit n for button n (buttons 32 and up are ignored)
    uint32_t pressedButtons = 0;  // button-down events since the last reading
};

// A pad's state as the device reports it now.
struct PadReading {
    int16_t stickX = 0;
    int16_t stickY = 0;
    uint8_t hat = 0;      // SDL_HAT_* bits of the first hat
    uint32_t buttons = 0; // held, bit n for button n
};

// Which player pad number `which` flies: the first pad player 1 and the second
// player 2, or the other way round when swapped; -1 for any further pad.
int padPlayer(int which, bool swapped);
// Applies one joystick event of this pad (axis, hat or button); other events
// are left alone.
void notePadEvent(PadState& pad, const SDL_Event& event);
// Takes what the device holds now over what its events left held: an event
// lost with SDL's queue full leaves nothing held or let go. What is held now
// and was not at the last reading counts as pressed, as its lost event would.
void notePadReading(PadState& pad, const PadReading& reading);
// Adds what the pad holds and pressed to a player's flags and to the shared
// escape flag; flags already set stay set.
void addPadControls(const PadState& pad, PlayerControls& controls, WeaponCycling& cycling, bool& escape);
// Adds the pad's presses to the menu keys.
void addPadMenuInput(const PadState& pad, MenuInput& input);
// Forgets the presses once a reader has seen them.
void clearPadPresses(PadState& pad);
