// The two input readers, keyboard and pads together: the match's control
// flags and the menus' keys.
#pragma once
#include <SDL/SDL_keysym.h>
#include "sim/match_controls.h"
#include "ui/key_bindings.h"
#include "ui/menu_input.h"

// Held keys by SDL 1.2 key symbol, and the keys pressed this frame.
struct KeySnapshot {
    const unsigned char* held = nullptr; // indexed by SDL key symbol
    bool pressed[SDLK_LAST] = {};        // a key-down event arrived this frame
};

// Maps a snapshot of the keyboard to control flags (pure: tests call it directly).
void controlsFromKeys(const KeySnapshot& keys, const KeyBindings& bindings, ControlState& controls);
// The menu keys pressed in a snapshot.
MenuInput menuInputFromKeys(const KeySnapshot& keys, const KeyBindings& bindings);
// The keys both readers use from now on, and the pads: the first flies
// player 1 and the second player 2, or the other way round when swapped.
// Without a pad, or without SDL's joystick support, the keyboard plays alone.
void setUpInput(const KeyBindings& bindings, bool padsSwapped);
// Both read the pads' state from the devices (SDL_JoystickUpdate and the
// getters) after their events, so that a lost event leaves nothing held.
void readGameControls(ControlState& controls);
void readMenuInput(MenuInput& input);
// Brings the open pads' state and events up to date; nothing without a pad.
void updatePads();
// Whether the events the last read drained held a key-down of key: for keys
// that are nobody's control, such as the network overlay's.
bool pressedInLastRead(SDLKey key);
