#include "replay/sync_test.h"

#include <memory>
#include <vector>
#include "replay/match_checksum.h"
#include "sim/frame_step.h"
#include "sim/match_setup.h"

namespace {

// What the recording feeds the match between two checks: a frame, or a menu visit after one.
struct Input {
    bool isVisit = false;
    RecordedFrame frame;
    MenuOutcome visit;
};

std::vector<Input> inputsOf(const Replay& replay)
{
    std::vector<Input> inputs;
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    while (nextReplayEvent(cursor, e)) {
        if (e.kind == ReplayEventKind::FRAME)
            inputs.push_back(Input{false, e.frame, {}});
        else if (e.kind == ReplayEventKind::MENU)
            inputs.push_back(Input{true, {}, e.visit});
    }
    return inputs;
}

bool sameEvent(const MatchEvent& a, const MatchEvent& b)
{
    return a.kind == b.kind && a.player == b.player && a.other == b.other && a.detail == b.detail &&
           a.position.x == b.position.x && a.position.y == b.position.y;
}

bool sameEvents(const StepEvents& a, const StepEvents& b)
{
    if (a.count != b.count || a.dropped != b.dropped)
        return false;
    for (int i = 0; i < a.count; ++i)
        if (!sameEvent(a.events[i], b.events[i]))
            return false;
    return true;
}

// What one frame left behind.
struct FrameTrace {
    uint64_t checksum = 0;
    StepEvents events;
};

// Plays inputs from `at` until `frames` frames have been stepped (menu visits
// on the way included); returns where it stopped.
size_t playAhead(MatchState& m, const MatchContent& c, const std::vector<Input>& inputs, size_t at, int frames,
                 std::vector<FrameTrace>& trace)
{
    trace.clear();
    while (at < inputs.size() && static_cast<int>(trace.size()) < frames) {
        const Input& in = inputs[at++];
        if (in.isVisit) {
            replayMenuVisit(m, c, in.visit);
            continue;
        }
        FrameTrace t;
        t.events = stepMatch(m, c, in.frame.controls, in.frame.frameTime, in.frame.nowMs);
        t.checksum = matchChecksum(m);
        trace.push_back(t);
    }
    return at;
}

bool sameTraces(const std::vector<FrameTrace>& a, const std::vector<FrameTrace>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].checksum != b[i].checksum || !sameEvents(a[i].events, b[i].events))
            return false;
    return true;
}

} // namespace

SyncTestOutcome syncTest(const Replay& replay, MatchState& m, const MatchContent& c, int depth)
{
    const std::vector<Input> inputs = inputsOf(replay);
    const auto saved = std::make_unique<MatchState>();
    std::vector<FrameTrace> first, second;
    SyncTestOutcome outcome;
    size_t at = 0;
    while (at < inputs.size()) {
        const int ahead = depth > 0 ? depth : 1 + static_cast<int>(outcome.frames % MAX_ROLLBACK_FRAMES);
        *saved = m;
        playAhead(m, c, inputs, at, ahead, first);
        m = *saved;
        playAhead(m, c, inputs, at, ahead, second);
        if (!sameTraces(first, second)) {
            outcome.passed = false;
            outcome.failedFrame = outcome.frames;
            return outcome;
        }
        // On by one frame from the saved match, as a rollback that resumes does.
        m = *saved;
        at = playAhead(m, c, inputs, at, 1, first);
        outcome.frames += static_cast<int64_t>(first.size());
    }
    return outcome;
}
