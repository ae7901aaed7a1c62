#include "runner_options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

static bool readEvery(const std::string& text, int& every)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > INT_MAX)
        return false;
    every = static_cast<int>(value);
    return true;
}

bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, std::string& error)
{
    options = RunnerOptions{};
    bool everyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool takesValue = a == "--record" || a == "--replay" || a == "--every";
        if (takesValue && i + 1 == argc) {
            error = a + " needs a value";
            return false;
        }
        if (a == "--record") {
            options.recordFile = argv[++i];
        } else if (a == "--replay") {
            options.replayFile = argv[++i];
        } else if (a == "--every") {
            everyGiven = true;
            if (!readEvery(argv[++i], options.every)) {
                error = std::string("--every needs a whole number from 1, not '") + argv[i] + "'";
                return false;
            }
        } else if (options.script.empty() && (a == "-" || a.rfind("--", 0) != 0)) {
            options.script = a;
        } else {
            error = "unexpected argument '" + a + "'";
            return false;
        }
    }
    const bool replaying = !options.replayFile.empty();
    if (replaying == !options.script.empty())
        error = "give a script or --replay FILE";
    else if (replaying && !options.recordFile.empty())
        error = "--record goes with a script, not with --replay";
    else if (everyGiven && !replaying)
        error = "--every goes with --replay";
    return error.empty();
}
