// Resident memory of this process, and how it develops over a run.
#pragma once

struct MemoryReading {
    long residentKb = -1;  // VmRSS: all pages in RAM, shared library code included
    long anonymousKb = -1; // RssAnon: heap and private mappings, where a leak grows
};

// From /proc/self/status; -1 for a figure that cannot be read.
MemoryReading readResidentMemory();

// One figure followed over the run. The baseline is the highest reading of
// the warm-up: a reading just after a restart or a menu lies well below the
// level of play, and would make ordinary play look like growth.
struct MemoryTrack {
    long atWarmupEndKb = -1; // -1: the warm-up has not ended
    long warmupHighKb = 0;
    long endKb = -1;
    long peakKb = 0;
};

// warmupEnds: this reading is the last one of the warm-up.
void noteReading(MemoryTrack& track, long kb, bool warmupEnds);
// The end over the warm-up's high, in percent.
double growthPercent(const MemoryTrack& track);
