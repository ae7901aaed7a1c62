// zentavor-tournament: plays the computer pilot against itself and against
// a ship left alone, headless, and prints how each pairing fares.
//
//   zentavor-tournament [--seeds N] [--first-seed S] [--frame-ms DT] [--minutes M]
//                       [--pairings LIST] [--maps LIST] [--each]
//
// LIST is comma-separated: pairings from hard-still, hard-easy, normal-easy,
// hard-hard, easy-still; maps from 0, 1, 2. Each pairing plays every seed on
// every map, 3 lives, default ships and weapons; the first-named pilot flies
// player 1 on odd seeds and player 2 on even ones. Runs in the game folder
// and needs a display, as the ship masks are drawn through OpenGL. --each
// also prints one line per match, to find a match worth replaying.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../sim_runner/headless_match.h"
#include "duel.h"
#include "tally.h"

namespace {

constexpr int EXIT_BAD_ARGUMENTS = 2;
constexpr int EXIT_NO_DISPLAY = 3;

struct Options {
    int seeds = 20;
    uint32_t firstSeed = 1;
    int frameMs = 10;
    int minutes = 5;
    std::vector<Pairing> pairings;
    std::vector<int> maps;
    bool each = false;
};

bool readCount(const char* text, int lo, int hi, int& out)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < lo || value > hi)
        return false;
    out = static_cast<int>(value);
    return true;
}

std::vector<std::string> split(const std::string& list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        parts.push_back(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return parts;
}

bool readPairings(const char* text, std::vector<Pairing>& out)
{
    for (const std::string& name : split(text)) {
        Pairing pairing;
        if (!pairingFromName(name, pairing))
            return false;
        out.push_back(pairing);
    }
    return true;
}

bool readMaps(const char* text, std::vector<int>& out)
{
    for (const std::string& name : split(text)) {
        int map = 0;
        if (!readCount(name.c_str(), 0, MAP_COUNT - 1, map))
            return false;
        out.push_back(map);
    }
    return true;
}

bool readOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--each") {
            o.each = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        int seed = 0;
        bool ok = false;
        if (option == "--seeds")
            ok = readCount(value, 1, 100000, o.seeds);
        else if (option == "--first-seed") {
            ok = readCount(value, 0, 1 << 30, seed);
            o.firstSeed = static_cast<uint32_t>(seed);
        } else if (option == "--frame-ms")
            ok = readCount(value, 1, 100, o.frameMs);
        else if (option == "--minutes")
            ok = readCount(value, 1, 60, o.minutes);
        else if (option == "--pairings")
            ok = readPairings(value, o.pairings);
        else if (option == "--maps")
            ok = readMaps(value, o.maps);
        if (!ok)
            return false;
    }
    if (o.pairings.empty())
        readPairings("hard-still,hard-easy,normal-easy,hard-hard", o.pairings);
    if (o.maps.empty())
        o.maps = {0, 1, 2};
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: zentavor-tournament [--seeds N] [--first-seed S] [--frame-ms DT] [--minutes M] "
                             "[--pairings hard-still,hard-easy,normal-easy,hard-hard,easy-still] [--maps 0,1,2] [--each]\n");
        return EXIT_BAD_ARGUMENTS;
    }
    if (!openHeadlessDisplay("zentavor-tournament"))
        return EXIT_NO_DISPLAY;
    Tally tally;
    for (const Pairing& pairing : options.pairings)
        for (int map : options.maps)
            for (int i = 0; i < options.seeds; ++i) {
                DuelSetUp setUp;
                setUp.seed = options.firstSeed + static_cast<uint32_t>(i);
                setUp.mapIndex = map;
                setUp.frameMs = options.frameMs;
                setUp.limitMs = options.minutes * 60 * 1000;
                const int sideOfFirst = setUp.seed % 2 == 1 ? 0 : 1;
                setUp.seats[sideOfFirst] = pairing.first;
                setUp.seats[1 - sideOfFirst] = pairing.second;
                const DuelResult result = playDuel(setUp);
                if (options.each)
                    printDuel(stdout, pairing, setUp, sideOfFirst, result);
                addDuel(tally, pairing, map, sideOfFirst, result);
            }
    printTally(stdout, tally, options.minutes);
    closeHeadlessDisplay();
    return 0;
}
