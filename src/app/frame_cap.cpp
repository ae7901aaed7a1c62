#include "app/frame_cap.h"

#include <SDL/SDL.h>
#include <algorithm>
#include <cmath>
#include "gfx/clock.h"
#include "gfx/video.h"
#include "ui/stop_signals.h"

// The longest sleep between two looks at a stop request, in ms.
constexpr int32_t STOP_CHECK_MS = 50;

FrameCap makeFrameCap(int32_t framesPerSecond)
{
    // Uncapped, the loop reads the clock no more often than it always has.
    FrameCap cap;
    if (framesPerSecond > 0) {
        cap.periodMs = 1000.0 / framesPerSecond;
        cap.dueMs = ticksNow();
    }
    return cap;
}

double nextFrameDue(double dueMs, int32_t nowMs, double periodMs)
{
    const double next = dueMs + periodMs;
    return next < nowMs ? nowMs : next;
}

void waitForNextFrame(FrameCap& cap)
{
    if (cap.periodMs <= 0.0)
        return;
    // The drawing is finished before the wait, so that the swap after it
    // comes on time however long the frame took to render.
    finishDrawing();
    cap.dueMs = nextFrameDue(cap.dueMs, ticksNow(), cap.periodMs);
    // Whole ticks: the fractions of a period add up over the passes. In
    // short sleeps, so that a stop asked meanwhile is seen at once.
    const auto due = static_cast<int32_t>(std::ceil(cap.dueMs));
    for (int32_t wait = due - ticksNow(); wait > 0 && !stopRequested(); wait = due - ticksNow())
        SDL_Delay(static_cast<Uint32>(std::min(wait, STOP_CHECK_MS)));
}
