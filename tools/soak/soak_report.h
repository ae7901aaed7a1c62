// What the soak measured, the lines it prints while it runs and at the end,
// and the memory check.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "match_watch.h"
#include "soak_options.h"

constexpr double MAX_MEMORY_GROWTH_PERCENT = 5.0;

struct SoakFigures {
    int elapsedSeconds = 0;
    int warmupSeconds = 0;   // resident memory is compared from here on
    long warmupRssKb = -1;   // at the end of the warm-up; -1: not measured yet
    // The highest reading during the warm-up: the baseline, since a reading
    // just after a restart or a menu lies well below the level of play.
    long warmupPeakRssKb = 0;
    long endRssKb = -1;
    long peakRssKb = 0;
    int restarts = 0;        // the game quit through its menu and was started again
    uint64_t keysPressed = 0;
    uint64_t menuVisits = 0;
    MatchTally tally;
    std::vector<std::string> failures;
};

// VmRSS of this process in kB; -1 when /proc cannot be read.
long residentKilobytes();
// How long the warm-up lasts for a run of the given length.
int warmupSecondsFor(int runSeconds);
// Takes one reading of resident memory into the figures.
void noteResidentMemory(SoakFigures& figures, long rssKb);
// Adds a failure when memory at the end lies the limit or more above the
// warm-up's highest reading. Under AddressSanitizer the figures are only
// reported: its quarantine of freed memory grows by design, and its leak
// checker at exit takes over.
void checkMemoryGrowth(SoakFigures& figures);
void printProgress(const SoakFigures& figures, long rssKb, int textures);
void printSummary(const SoakOptions& options, const SoakFigures& figures);
