// Writes a recording as the match is played.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "replay/replay_format.h"
#include "sim/menu_outcome.h"

struct ReplayWriter {
    std::FILE* file = nullptr;
    std::string path;
    RecordedFrame last;             // the previous frame written
    int64_t pendingRepeats = 0;     // frames equal to last, not yet written
    int64_t frames = 0;
    int64_t playMs = 0;             // the frame times added up
    int64_t checkedSecond = -1;     // of the last checkpoint
};

// Creates the file and writes the header. On failure returns false with one
// line naming the file and the reason.
bool openReplayWriter(ReplayWriter& w, const std::string& path, const ReplayHeader& header, std::string& error);
// Starts an open file over with another header and nothing after it: a
// network match knows how its match is set up only once both sides agree.
bool restartReplayWriter(ReplayWriter& w, const ReplayHeader& header, std::string& error);
// The frame about to be played on match m. When play has entered a new second
// since the last checkpoint (and before the first frame), a checkpoint of the
// match as it stands comes first.
void writeFrame(ReplayWriter& w, const MatchState& m, const RecordedFrame& frame);
void writeMenuOutcome(ReplayWriter& w, const MenuOutcome& visit);
// The last checkpoint and the end, and closes the file. Returns false with
// one line naming the file and the reason when anything could not be written.
bool closeReplayWriter(ReplayWriter& w, const MatchState& m, std::string& error);
