#include <SDL/SDL.h>
#include <algorithm>
#include <cstdint>
#include <limits>
#include "app/game.h"
#include "draw/scene.h"
#include "gfx/clock.h"
#include "sim/frame_step.h"
#include "ui/controls.h"

// How late a replay may run before it simulates frames without drawing them
// to catch up with the recorded pace.
constexpr int32_t CATCH_UP_MS = 100;
// The longest a pass catches up or sleeps before the keys are read again:
// Escape ends any replay within a tenth of a second.
constexpr int32_t REPLAY_STEP_MS = 50;

// The recorded frame in r.next, drawn or only simulated, and what follows it.
static void playRecordedFrame(Game& game, bool drawn)
{
    GameReplay& r = game.replay;
    MatchState& m = *game.match;
    const RecordedFrame frame = r.next.frame;
    r.shownMs += frame.frameTime;
    const StepEvents events = stepMatch(m, *game.content, frame.controls, frame.frameTime, frame.nowMs);
    if (drawn) {
        drawGameFrame(game, frame.nowMs);
        presentFrame();
        showFrameEvents(game, events);
    }
    game.quitRequested = takeEventsAfterFrame(r, m, *game.content);
}

// Milliseconds the next recorded frame is overdue; negative while it is early.
static int32_t lateness(const GameReplay& r)
{
    const int64_t dueAt = r.startTicks + r.shownMs + r.next.frame.frameTime;
    // Days early or late stay so, rather than wrap around an int.
    return static_cast<int32_t>(std::clamp<int64_t>(ticksNow() - dueAt, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void runReplayPass(Game& game)
{
    GameReplay& r = game.replay;
    // The players' keys do nothing; Escape ends the replay.
    MenuInput keys;
    readMenuInput(keys);
    if (keys.escape || r.next.kind != ReplayEventKind::FRAME) {
        game.quitRequested = true;
        return;
    }
    const int32_t stepEnds = ticksNow() + REPLAY_STEP_MS;
    while (lateness(r) > CATCH_UP_MS && !game.quitRequested) {
        playRecordedFrame(game, false);
        if (ticksNow() >= stepEnds)
            return;
    }
    if (game.quitRequested)
        return;
    const int32_t early = -lateness(r);
    if (early > 0) {
        SDL_Delay(static_cast<Uint32>(std::min(early, REPLAY_STEP_MS)));
        if (early > REPLAY_STEP_MS)
            return;
    }
    playRecordedFrame(game, true);
}
