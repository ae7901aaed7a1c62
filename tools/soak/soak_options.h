// The soak tool's command line.
#pragma once
#include <cstdint>
#include <string>

struct SoakOptions {
    int seconds = 60;        // how long the game is played
    uint32_t seed = 1;       // the key presser's draws and the game's own random source
    int lives = 2;           // lives per match: few, so that matches end often
    int warmupSeconds = -1;  // before memory is compared; -1: a third of the run
    bool showHelp = false;
};

// Fills options from argv; on a bad argument returns false and sets error.
bool parseSoakOptions(int argc, const char* const* argv, SoakOptions& options, std::string& error);
const char* soakUsage();
