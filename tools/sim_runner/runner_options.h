// The runner's command line.
#pragma once
#include <string>

struct RunnerOptions {
    std::string script;     // run a script; - reads standard input
    std::string recordFile; // with a script: also write the match as a recording
    std::string replayFile; // instead of a script: play a recording and check it
    int every = 1;          // with --replay: print the line of every Kth frame
};

constexpr const char* RUNNER_USAGE =
    "usage: zentavor-sim [--record FILE] SCRIPT   (- reads the script from standard input)\n"
    "       zentavor-sim --replay FILE [--every K]";

// Returns false with one line naming the fault.
bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, std::string& error);
