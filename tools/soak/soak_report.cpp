#include "soak_report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int FULL_WARMUP_SECONDS = 60;
constexpr int SHORT_RUN_WARMUP_DIVISOR = 3; // shorter runs warm up for a third of their time

#if defined(__SANITIZE_ADDRESS__)
constexpr bool MEMORY_IS_JUDGED = false;
#else
constexpr bool MEMORY_IS_JUDGED = true;
#endif

double growthPercent(const SoakFigures& f)
{
    const long base = f.warmupPeakRssKb;
    return base > 0 ? 100.0 * static_cast<double>(f.endRssKb - base) / static_cast<double>(base) : 0.0;
}

void printMemory(const SoakFigures& f)
{
    std::printf("  resident memory  %ld kB at %d s (warm-up high %ld kB), %ld kB at the end, peak %ld kB\n",
                f.warmupRssKb, f.warmupSeconds, f.warmupPeakRssKb, f.endRssKb, f.peakRssKb);
    std::printf("  memory growth    %+.2f %% over the warm-up high (limit %.0f %%%s)\n", growthPercent(f),
                MAX_MEMORY_GROWTH_PERCENT, MEMORY_IS_JUDGED ? "" : ", not judged under AddressSanitizer");
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

long residentKilobytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    long kb = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1)
            break;
    std::fclose(status);
    return kb;
}

int warmupSecondsFor(int runSeconds)
{
    return std::min(FULL_WARMUP_SECONDS, runSeconds / SHORT_RUN_WARMUP_DIVISOR);
}

void noteResidentMemory(SoakFigures& f, long rssKb)
{
    f.peakRssKb = std::max(f.peakRssKb, rssKb);
    if (f.warmupRssKb >= 0)
        return;
    f.warmupPeakRssKb = std::max(f.warmupPeakRssKb, rssKb);
    if (f.elapsedSeconds >= f.warmupSeconds)
        f.warmupRssKb = rssKb;
}

void checkMemoryGrowth(SoakFigures& f)
{
    char text[160];
    if (f.warmupPeakRssKb <= 0 || f.endRssKb <= 0) {
        f.failures.emplace_back("resident memory could not be read from /proc/self/status");
        return;
    }
    if (!MEMORY_IS_JUDGED || growthPercent(f) < MAX_MEMORY_GROWTH_PERCENT)
        return;
    std::snprintf(text, sizeof text, "resident memory grew from %ld kB to %ld kB (%+.2f %%) after the warm-up",
                  f.warmupPeakRssKb, f.endRssKb, growthPercent(f));
    f.failures.emplace_back(text);
}

void printProgress(const SoakFigures& f, long rssKb, int textures)
{
    const MatchTally& t = f.tally;
    std::printf("soak %5d s  rss %ld kB  textures %d  matches %d  map changes %d  restarts %d\n",
                f.elapsedSeconds, rssKb, textures, t.finished, t.mapChanges, f.restarts);
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
