// Reads a recording. The whole file is checked when it is loaded, so a replay
// never meets a damaged record half-way.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "replay/byte_coding.h"
#include "replay/replay_format.h"
#include "sim/menu_outcome.h"

struct Replay {
    std::string path; // the file's name as it may be shown on a terminal
    ReplayHeader header;
    std::vector<uint8_t> bytes; // the whole file
    int64_t frames = 0;         // from the end record, or to the last checkpoint when cut
    int64_t playMs = 0;
    bool cut = false;           // stopped without its end: read up to its last checkpoint
};

enum class ReplayEventKind { FRAME, MENU, CHECKPOINT, END };

struct ReplayEvent {
    ReplayEventKind kind = ReplayEventKind::END;
    RecordedFrame frame;   // FRAME
    MenuOutcome visit;       // MENU
    int64_t second = 0;    // CHECKPOINT: of play
    int64_t frames = 0;    // CHECKPOINT, END: frames played before it
    uint64_t checksum = 0; // CHECKPOINT
    int64_t playMs = 0;    // END: milliseconds of play
};

// Where a replay stands in its file.
struct ReplayCursor {
    ByteReader in;
    RecordedFrame last;      // the previous frame
    int64_t repeatsLeft = 0; // of the last frame
    int64_t frames = 0;
    int64_t playMs = 0;
    bool ended = false;
};

// Reads and checks the whole file against the rules of replay_format.h. On
// failure returns false with one line naming the file and what is wrong with
// it; a file cut short after a checkpoint is read up to it, with cut set.
bool loadReplay(const std::string& path, Replay& replay, std::string& error);
// The same checks on bytes already in memory; the path only names them.
bool parseReplay(const std::string& path, std::vector<uint8_t> bytes, Replay& replay, std::string& error);
ReplayCursor startReplay(const Replay& replay);
// The next event of a loaded replay; false once the end has been given.
bool nextReplayEvent(ReplayCursor& cursor, ReplayEvent& event);
