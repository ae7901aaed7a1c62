// The keys of one menu frame, read once as plain flags.
#pragma once

struct MenuInput {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool enter = false;
    bool escape = false;
    bool stop = false; // the system asked the game to stop: every screen leaves as the quit does
};
