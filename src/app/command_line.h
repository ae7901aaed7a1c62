// The command-line options: window size, windowed mode, music and tint.
#pragma once
#include "gfx/texture.h"

struct Settings {
    int screenWidth = 1024;
    int screenHeight = 768;
    bool fullScreen = true;
    bool musicOn = true;
    Colour baseColour{255, 255, 255, 255};
};

// Starts from the defaults and applies argv[0] .. argv[argc - 1] in order.
Settings parseCommandLine(int argc, const char* const* argv);
