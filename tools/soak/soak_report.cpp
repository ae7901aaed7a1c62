#include "soak_report.h"

#include <cstdio>

namespace {

constexpr int WARMUP_DIVISOR = 3; // by default the first third of a run is warm-up

#if defined(__SANITIZE_ADDRESS__)
constexpr bool MEMORY_IS_JUDGED = false;
#else
constexpr bool MEMORY_IS_JUDGED = true;
#endif

void printTrack(const char* label, const MemoryTrack& t, int warmupSeconds, const char* verdict)
{
    std::printf("  %-16s %ld kB at %d s (warm-up high %ld kB), %ld kB at the end (%+.2f %%%s), peak %ld kB\n", label,
                t.atWarmupEndKb, warmupSeconds, t.warmupHighKb, t.endKb, growthPercent(t), verdict, t.peakKb);
}

void printMemory(const SoakFigures& f)
{
    char limit[64];
    std::snprintf(limit, sizeof limit, ", limit %.0f %%", MAX_MEMORY_GROWTH_PERCENT);
    const char* judged = MEMORY_IS_JUDGED ? limit : ", not judged under AddressSanitizer";
    printTrack("resident memory", f.resident, f.warmupSeconds, judged);
    printTrack("anonymous memory", f.anonymous, f.warmupSeconds, ", not judged");
}

void printMatches(const MatchTally& t)
{
    std::printf("  texture slots    %d at the first match start, %d at the last match end\n",
                t.firstStartTextures, t.lastEndTextures);
    std::printf("  matches          %d finished, %d abandoned for a new one\n", t.finished, t.abandoned);
    std::printf("  changes          %d maps, %d ships, %d weapon slots\n", t.mapChanges, t.shipChanges,
                t.weaponChanges);
}

} // namespace

int warmupSecondsFor(const SoakOptions& options)
{
    return options.warmupSeconds >= 0 ? options.warmupSeconds : options.seconds / WARMUP_DIVISOR;
}

void noteMemory(SoakFigures& f, const MemoryReading& reading)
{
    const bool warmupEnds = f.elapsedSeconds >= f.warmupSeconds && f.resident.atWarmupEndKb < 0;
    noteReading(f.resident, reading.residentKb, warmupEnds);
    noteReading(f.anonymous, reading.anonymousKb, warmupEnds);
}

void checkMemoryGrowth(SoakFigures& f)
{
    const MemoryTrack& t = f.resident;
    if (t.warmupHighKb <= 0 || t.endKb <= 0) {
        f.failures.emplace_back("memory could not be read from /proc/self/status");
        return;
    }
    if (!MEMORY_IS_JUDGED || growthPercent(t) < MAX_MEMORY_GROWTH_PERCENT)
        return;
    char text[160];
    std::snprintf(text, sizeof text, "resident memory grew from %ld kB to %ld kB (%+.2f %%) after the warm-up",
                  t.warmupHighKb, t.endKb, growthPercent(t));
    f.failures.emplace_back(text);
}

void printProgress(const SoakFigures& f, const MemoryReading& reading, int textures)
{
    const MatchTally& t = f.tally;
    std::printf("soak %5d s  rss %ld kB (anon %ld kB)  textures %d  matches %d  map changes %d  restarts %d\n",
                f.elapsedSeconds, reading.residentKb, reading.anonymousKb, textures, t.finished, t.mapChanges,
                f.restarts);
    std::fflush(stdout);
}

void printSummary(const SoakOptions& options, const SoakFigures& f)
{
    std::printf("soak summary\n");
    std::printf("  played           %d s (seed %u, %d lives per match)\n", f.elapsedSeconds, options.seed,
                options.lives);
    printMemory(f);
    printMatches(f.tally);
    std::printf("  menu visits      %llu, keys pressed %llu\n", static_cast<unsigned long long>(f.menuVisits),
                static_cast<unsigned long long>(f.keysPressed));
    std::printf("  restarts         %d\n", f.restarts);
    for (const std::string& failure : f.failures)
        std::printf("soak FAILED: %s\n", failure.c_str());
    if (f.failures.empty())
        std::printf("soak passed\n");
    std::fflush(stdout);
}
