// Turns what the pilot wants this frame into the control flags that a
// player's keys would give: the same three branches of the modifiers, one
// weapon change per key-down, fire and reload on the same key.
#pragma once
#include "sim/player.h"
#include "sim/match_controls.h"

struct PilotIntent {
    bool steer = false;        // turn towards heading
    double heading = 0.0;      // radians
    bool thrust = false;
    int boost = 0;             // +1 forward, -1 backward, 0 none
    bool fire = false;
    int cycle = 0;             // -1 previous weapon, +1 next
    bool reload = false;
};

// The keys held in the previous frame, for key-downs.
struct HeldKeys {
    bool up = false;
};

void pressKeys(const PilotIntent& intent, const Player& self, int frameMs, HeldKeys& held, PlayerControls& controls,
               WeaponCycling& cycling);
