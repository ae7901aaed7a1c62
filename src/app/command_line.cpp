#include "app/command_line.h"

#include <cstring>

Settings parseCommandLine(int argc, const char* const* argv)
{
    Settings s;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        const auto is = [a](const char* option) { return std::strcmp(a, option) == 0; };
        if (is("-1024")) {
            s.screenWidth = 1024;
            s.screenHeight = 768;
        }
        if (is("-800")) {
            s.screenWidth = 800;
            s.screenHeight = 600;
        }
        if (is("-640")) {
            s.screenWidth = 640;
            s.screenHeight = 480;
        }
        if (is("-320")) {
            s.screenWidth = 320;
            s.screenHeight = 240;
        }
        if (is("-nosound") || is("-ns") || is("-nomusic") || is("-nm"))
            s.musicOn = false;
        if (is("-window") || is("-w"))
            s.fullScreen = false;
        if (is("-tirel") || is("-t"))
            s.baseColour = Colour{255, 180, 180, 255};
    }
    return s;
}
