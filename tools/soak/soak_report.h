// What the soak measured, the lines it prints while it runs and at the end,
// and the memory check.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "match_watch.h"
#include "resident_memory.h"
#include "soak_options.h"

constexpr double MAX_MEMORY_GROWTH_PERCENT = 5.0;

struct SoakFigures {
    int elapsedSeconds = 0;
    int warmupSeconds = 0;   // memory is compared from here on
    MemoryTrack resident;
    MemoryTrack anonymous;
    int restarts = 0;        // the game quit through its menu and was started again
    uint64_t keysPressed = 0;
    uint64_t menuVisits = 0;
    MatchTally tally;
    std::vector<std::string> failures;
};

// How long the warm-up lasts: as asked, or a third of the run. First uses
// (a weapon's effect, a ship, a map, the first restart) raise the memory in
// steps that random play keeps meeting well after the first minute; a third
// of the run lets most of them happen first.
int warmupSecondsFor(const SoakOptions& options);
// Takes one reading into the figures, at figures.elapsedSeconds.
void noteMemory(SoakFigures& figures, const MemoryReading& reading);
// Adds a failure when resident memory (VmRSS) at the end of play (the last
// reading before the deadline) lies the limit or more above the warm-up's high. The anonymous part (heap and private
// mappings) is only reported, to tell a leak from library pages. Under
// AddressSanitizer nothing is judged: its quarantine of freed memory grows
// by design, and its leak checker at exit takes over.
void checkMemoryGrowth(SoakFigures& figures);
void printProgress(const SoakFigures& figures, const MemoryReading& reading, int textures);
void printSummary(const SoakOptions& options, const SoakFigures& figures);
