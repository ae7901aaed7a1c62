// The command-line options: window size and mode, music and sound effects,
// tint, frame pacing, pads, recording or replaying a run, computer players,
// a network match, and the help and version requests.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "gfx/texture.h"
#include "net/net_limits.h"
#include "pilot/pilot_skill.h"

// A player handed to the computer pilot.
struct CpuSeat {
    bool on = false;
    PilotLevel level = PilotLevel::Normal;
};

enum class InfoRequest { NONE, HELP, VERSION };

enum class NetMode { NONE, HOST, JOIN };

// A match against another machine: -host [PORT], -join ADDRESS[:PORT], -delay N.
struct NetOptions {
    NetMode mode = NetMode::NONE;
    uint16_t port = NET_DEFAULT_PORT;             // -host
    std::string address;                          // -join: "NAME", "A.B.C.D", either with ":PORT"
    int32_t inputDelay = NET_DEFAULT_INPUT_DELAY; // frames
    int32_t desyncTestFrame = -1;                 // -test-desync FRAME: this side's match is nudged once there
};

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
    NetOptions net;
};

// Starts from the defaults and applies argv[0] .. argv[argc - 1] in order.
Settings parseCommandLine(int argc, const char* const* argv);
// Prints the help or the version asked for; false when none was asked.
bool answerInfoRequest(const Settings& s, FILE* out);
// Whether everything printed to out reached it; when not, says why on stderr.
bool answerWritten(FILE* out);
// The game's version, as --version prints it and a network match compares it.
const char* gameVersion();
