#include "resident_memory.h"

#include <algorithm>
#include <cstdio>

MemoryReading readResidentMemory()
{
    MemoryReading reading;
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return reading;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        std::sscanf(line, "VmRSS: %ld", &reading.residentKb);
        std::sscanf(line, "RssAnon: %ld", &reading.anonymousKb);
    }
    std::fclose(status);
    return reading;
}

void noteReading(MemoryTrack& track, long kb, bool warmupEnds)
{
    track.peakKb = std::max(track.peakKb, kb);
    track.endKb = kb;
    if (track.atWarmupEndKb >= 0)
        return;
    track.warmupHighKb = std::max(track.warmupHighKb, kb);
    if (warmupEnds)
        track.atWarmupEndKb = kb;
}

double growthPercent(const MemoryTrack& track)
{
    const long base = track.warmupHighKb;
    if (base <= 0 || track.endKb < 0)
        return 0.0;
    return 100.0 * static_cast<double>(track.endKb - base) / static_cast<double>(base);
}
