// The runner's command line.
#pragma once
#include <string>
#include "replay/sync_test.h"

struct RunnerOptions {
    std::string script;     // run a script; - reads standard input
    std::string recordFile; // with a script: also write the match as a recording
    std::string replayFile; // instead of a script: play a recording and check it
    int every = 1;          // with --replay: print the line of every Kth frame
    bool synctest = false;  // with the recording: step ahead, back and again at every frame
    int depth = 0;          // with --synctest: frames stepped ahead; 0 takes 1 to 12 in turn
};

constexpr const char* RUNNER_USAGE =
    "usage: zentavor-sim [--record FILE] SCRIPT   (- reads the script from standard input)\n"
    "       zentavor-sim --replay FILE [--every K]\n"
    "       zentavor-sim --synctest FILE [--depth K]   (K from 1 to 12)";

// Returns false with one line naming the fault.
bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, std::string& error);
