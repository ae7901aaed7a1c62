#include "runner_options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

static bool readWhole(const std::string& text, long most, int& number)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > most)
        return false;
    number = static_cast<int>(value);
    return true;
}

bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, std::string& error)
{
    options = RunnerOptions{};
    bool everyGiven = false;
    bool depthGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool takesValue =
            a == "--record" || a == "--replay" || a == "--every" || a == "--synctest" || a == "--depth";
        if (takesValue && i + 1 == argc) {
            error = a + " needs a value";
            return false;
        }
        if (a == "--record") {
            options.recordFile = argv[++i];
        } else if (a == "--replay" || a == "--synctest") {
            options.replayFile = argv[++i];
            options.synctest = a == "--synctest";
        } else if (a == "--every") {
            everyGiven = true;
            if (!readWhole(argv[++i], INT_MAX, options.every)) {
                error = std::string("--every needs a whole number from 1, not '") + argv[i] + "'";
                return false;
            }
        } else if (a == "--depth") {
            depthGiven = true;
            if (!readWhole(argv[++i], MAX_ROLLBACK_FRAMES, options.depth)) {
                error = std::string("--depth needs a whole number from 1 to 12, not '") + argv[i] + "'";
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
        error = "give a script, --replay FILE or --synctest FILE";
    else if (replaying && !options.recordFile.empty())
        error = std::string("--record goes with a script, not with ") + (options.synctest ? "--synctest" : "--replay");
    else if (everyGiven && (!replaying || options.synctest))
        error = "--every goes with --replay";
    else if (depthGiven && !options.synctest)
        error = "--depth goes with --synctest";
    return error.empty();
}
