// Control flags read from the keyboard once per frame; plain data the
// simulation reads without knowing about SDL.
#pragma once

struct PlayerControls {
    bool turnLeft = false;
    bool turnRight = false;
    bool thrust = false;
    bool fire = false;
    bool weaponModifier = false;
    bool boostForward = false;
    bool boostBackward = false;
    bool thrustPressed = false; // key-down this frame
    bool reload = false;
    bool fineLeft = false;
    bool fineRight = false;
};

struct WeaponCycling {
    bool previousWeapon = false; // key-down this frame
    bool nextWeapon = false;
};

struct ControlState {
    PlayerControls players[2];
    bool escape = false; // key-down this frame
    WeaponCycling cycling[2];
};

struct MenuInput {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool enter = false;
    bool escape = false;
    bool stop = false; // the system asked the game to stop: every screen leaves as the quit does
};

// Commands of one player's flight step, derived from its flags.
struct FlightCommands {
    double turnInput = 0.0; // -1, -0.25, 0, 0.25, 1 (negative turns left)
    bool thrustInput = false;
    int boostRequest = 0;   // +1 forward, -1 backward, 0 none
};

FlightCommands flightCommandsFrom(const PlayerControls& c);
