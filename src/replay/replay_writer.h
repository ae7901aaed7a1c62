// Writes a recording as the match is played.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "replay/replay_format.h"
#include "sim/menu_outcome.h"

struct ReplayWriter {
    std::FILE* file = nullptr;
    std::string path;               // as it may be shown on a terminal
    int writeError = 0;             // errno of the first write that failed; nothing is written after it
    RecordedFrame last;             // the previous frame written
    int64_t pendingRepeats = 0;     // frames equal to last, not yet written
    int64_t frames = 0;
    int64_t playMs = 0;             // the frame times added up
    int64_t checkedSecond = -1;     // of the last checkpoint
};

// Creates the file, or empties it, without waiting: a named pipe with no
// reader, a folder or an empty name is refused at once. On failure returns
// false with one line naming the file and the reason.
bool openReplayFile(ReplayWriter& w, const std::string& path, std::string& error);
// Writes the header into the file just opened; false, with one line, when it cannot.
bool writeReplayHeader(ReplayWriter& w, const ReplayHeader& header, std::string& error);
// Both of the above.
bool openReplayWriter(ReplayWriter& w, const std::string& path, const ReplayHeader& header, std::string& error);
// Starts an open file over with another header and nothing after it: a
// network match knows how its match is set up only once both sides agree.
bool restartReplayWriter(ReplayWriter& w, const ReplayHeader& header, std::string& error);
// The frame about to be played on match m. When play has entered a new second
// since the last checkpoint (and before the first frame), a checkpoint of the
// match as it stands comes first, and everything before it is handed to the
// system: a run that dies loses its last second at most. A write that fails
// sets writeError; the writer then writes nothing more.
void writeFrame(ReplayWriter& w, const MatchState& m, const RecordedFrame& frame);
void writeMenuOutcome(ReplayWriter& w, const MenuOutcome& visit);
// One line naming the file and why writing it failed.
std::string replayWriteFailure(const ReplayWriter& w);
// Closes the file at once, as it stands (after a write error).
void abandonReplayWriter(ReplayWriter& w);
// The last checkpoint and the end, and closes the file. Returns false with
// one line naming the file and the reason when anything could not be written.
bool closeReplayWriter(ReplayWriter& w, const MatchState& m, std::string& error);
