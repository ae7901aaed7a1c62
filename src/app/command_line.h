// The command-line options: window size, windowed mode, music, tint, and
// recording or replaying a run.
#pragma once
#include <string>
#include "gfx/texture.h"

struct Settings {
    int screenWidth = 1024;
    int screenHeight = 768;
    bool fullScreen = true;
    bool musicOn = true;
    Colour baseColour{255, 255, 255, 255};
    std::string recordFile; // -record FILE; empty: not recording
    std::string replayFile; // -replay FILE; empty: not replaying
    std::string problem;    // one line on options that cannot be followed; empty when none
};

// Starts from the defaults and applies argv[0] .. argv[argc - 1] in order.
Settings parseCommandLine(int argc, const char* const* argv);
