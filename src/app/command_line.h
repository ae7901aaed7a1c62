// The command-line options: window size and mode, music and sound effects,
// tint, frame pacing, pads, recording or replaying a run, computer players,
// and the help and version requests.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "gfx/texture.h"
#include "pilot/pilot_skill.h"

// A player handed to the computer pilot.
struct CpuSeat {
    bool on = false;
    PilotLevel level = PilotLevel::Normal;
};

enum class InfoRequest { NONE, HELP, VERSION };

struct Settings {
    int screenWidth = 1024;
    int screenHeight = 768;
    bool fullScreen = true;
    bool musicOn = true;
    bool effectsOn = false; // -sfx
    Colour baseColour{255, 255, 255, 255};
    bool desktopSize = false;    // -desktop: the desktop's resolution replaces the size
    bool sizeWithinScreen = false; // -size: refused when larger than the screen
    int32_t frameCap = 0;        // -fps: match passes a second at most; 0 uncapped
    bool vsync = false;
    InfoRequest info = InfoRequest::NONE;
    std::string recordFile; // -record FILE; empty: not recording
    std::string replayFile; // -replay FILE; empty: not replaying
    std::string problem;    // one line on options that cannot be followed; empty when none
    CpuSeat cpu[2];
    bool padsSwapped = false; // -pad2: the first pad flies player 2
};

// Starts from the defaults and applies argv[0] .. argv[argc - 1] in order.
Settings parseCommandLine(int argc, const char* const* argv);
// Prints the help or the version asked for; false when none was asked.
bool answerInfoRequest(const Settings& s, FILE* out);
// Whether everything printed to out reached it; when not, says why on stderr.
bool answerWritten(FILE* out);
