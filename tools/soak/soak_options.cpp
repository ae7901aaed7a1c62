#include "soak_options.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long MAX_SECONDS = 7L * 24 * 3600;
constexpr long MAX_LIVES = 99;

// A whole decimal number in lo..hi, nothing else.
bool readNumber(const char* text, long lo, long hi, long& value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= lo && value <= hi;
}

bool readOption(const char* name, const char* text, SoakOptions& options, std::string& error)
{
    long value = 0;
    bool ok = false;
    if (std::strcmp(name, "--seconds") == 0 && (ok = readNumber(text, 1, MAX_SECONDS, value)))
        options.seconds = static_cast<int>(value);
    else if (std::strcmp(name, "--seed") == 0 && (ok = readNumber(text, 0, UINT32_MAX, value)))
        options.seed = static_cast<uint32_t>(value);
    else if (std::strcmp(name, "--lives") == 0 && (ok = readNumber(text, 1, MAX_LIVES, value)))
        options.lives = static_cast<int>(value);
    else if (std::strcmp(name, "--warmup") == 0 && (ok = readNumber(text, 0, MAX_SECONDS, value)))
        options.warmupSeconds = static_cast<int>(value);
    if (!ok)
        error = std::string("bad value for ") + name + ": " + (text ? text : "(missing)");
    return ok;
}

} // namespace

bool parseSoakOptions(int argc, const char* const* argv, SoakOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
            options.showHelp = true;
            continue;
        }
        if (std::strcmp(name, "--seconds") != 0 && std::strcmp(name, "--seed") != 0 &&
            std::strcmp(name, "--lives") != 0 && std::strcmp(name, "--warmup") != 0) {
            error = std::string("unknown option: ") + name;
            return false;
        }
        const char* text = i + 1 < argc ? argv[++i] : nullptr;
        if (!readOption(name, text, options, error))
            return false;
    }
    if (options.warmupSeconds >= options.seconds) {
        error = "the warm-up must end before the run does";
        return false;
    }
    return true;
}

const char* soakUsage()
{
    return "usage: zentavor-soak [--seconds N] [--seed N] [--lives N] [--warmup N]\n"
           "Plays the game in this folder with random keys of both players and the menus\n"
           "for N seconds (default 60) and checks that it keeps running, that its resident\n"
           "memory at the end lies less than 5 % above its highest reading during the\n"
           "warm-up (--warmup seconds, default a third of the run), and that matches give\n"
           "back the texture slots they take. --lives sets the lives per match in\n"
           "config.cfg for the run (default 2); the file is restored afterwards.\n";
}
