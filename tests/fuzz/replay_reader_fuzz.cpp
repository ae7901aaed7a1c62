// Any bytes as a recording: refused in one line naming the file, or read and
// then replayed event by event to its end, frame for frame as loading found
// them, every value within the rules, in bounded time and memory.
#include <cstdint>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "replay/menu_visit_bytes.h"
#include "replay/replay_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Replay replay;
    std::string error;
    if (!parseReplay("fuzz", std::vector<uint8_t>(data, data + size), replay, error)) {
        FUZZ_CHECK(error.rfind("fuzz: ", 0) == 0 && error.find('\n') == std::string::npos);
        return 0;
    }
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    int64_t frames = 0, playMs = 0, checkpoints = 0;
    bool ended = false;
    while (nextReplayEvent(cursor, e)) {
        FUZZ_CHECK(!ended);
        switch (e.kind) {
        case ReplayEventKind::FRAME:
            FUZZ_CHECK(e.frame.frameTime >= 0 && e.frame.frameTime <= MAX_FRAME_MS);
            ++frames;
            playMs += e.frame.frameTime;
            break;
        case ReplayEventKind::MENU: FUZZ_CHECK(e.visit.changes.size() <= MAX_MENU_CHANGES); break;
        case ReplayEventKind::CHECKPOINT:
            FUZZ_CHECK(e.frames == frames && e.second == playMs / MS_PER_CHECKPOINT);
            ++checkpoints;
            break;
        case ReplayEventKind::END: ended = true; break;
        }
    }
    FUZZ_CHECK(ended && frames == replay.frames && playMs == replay.playMs);
    // Nothing is replayed unchecked: a recording read holds a checkpoint.
    FUZZ_CHECK(checkpoints > 0);
    return 0;
}
