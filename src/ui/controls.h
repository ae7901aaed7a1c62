// The two keyboard readers: the match's control flags and the menus' keys.
#pragma once
#include "ui/control_state.h"

// Held keys by SDL 1.2 key symbol; pressed[] marks key-downs of this frame.
struct KeySnapshot {
    const unsigned char* held = nullptr; // indexed by SDL key symbol
    bool pressedD = false, pressedG = false, pressedR = false;
    bool pressedLeft = false, pressedRight = false, pressedUp = false;
    bool pressedEscape = false;
};

// Maps a snapshot of the keyboard to control flags (pure: tests call it directly).
void controlsFromKeys(const KeySnapshot& keys, ControlState& controls);
void readGameControls(ControlState& controls);
void readMenuInput(MenuInput& input);
