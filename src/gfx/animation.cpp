#include "gfx/animation.h"

#include <cassert>
#include <memory>
#include <vector>
#include "gfx/clock.h"

// Every animation frame of the content tables, made once and kept for the
// run; copies of an animation point into it.
constexpr int FRAME_ARENA_SIZE = 1024;
static AnimationFrame frameArena[FRAME_ARENA_SIZE];
static int framesUsed = 0;
// Tables built again and again (tests, tools) outgrow the arena; their frames
// are kept here for the run just the same.
static std::vector<std::unique_ptr<AnimationFrame[]>> overflowFrames;

Animation makeAnimation(int frameCount, bool loop)
{
    assert(frameCount > 0);
    Animation a;
    if (framesUsed + frameCount <= FRAME_ARENA_SIZE) {
        a.frames = frameArena + framesUsed;
        framesUsed += frameCount;
    } else {
        overflowFrames.push_back(std::make_unique<AnimationFrame[]>(frameCount));
        a.frames = overflowFrames.back().get();
    }
    a.frameCount = frameCount;
    a.loop = loop;
    return a;
}

Animation makeAnimation(std::initializer_list<AnimationFrame> frames, bool loop)
{
    Animation a = makeAnimation(static_cast<int>(frames.size()), loop);
    int i = 0;
    for (const AnimationFrame& f : frames)
        a.frames[i++] = f;
    return a;
}

void setFrame(Animation& a, int index, int textureIndex, int durationMs)
{
    if (index < 0 || index >= a.frameCount)
        return;
    a.frames[index] = AnimationFrame{textureIndex, durationMs};
}

void setCurrentFrame(Animation& a, int index)
{
    if (index < 0 || index >= a.frameCount)
        return;
    a.current = index;
}

int frameTexture(const Animation& a, int index) { return a.frames[index].textureIndex; }

void startAnimation(Animation& a, int32_t nowMs)
{
    a.running = true;
    a.frameStart = nowMs;
}

bool isRunning(const Animation& a) { return a.running; }

static int64_t cycleMs(const Animation& a)
{
    int64_t total = 0;
    for (int i = 0; i < a.frameCount; ++i)
        total += a.frames[i].durationMs;
    return total;
}

// A looping animation far behind skips the whole cycles it missed at once,
// ending exactly where stepping through them would (after a frame of days,
// stepping would take seconds for every shot).
static void skipWholeCycles(Animation& a, int32_t nowMs)
{
    const int64_t cycle = cycleMs(a);
    const int64_t behind = ticksBetween(a.frameStart, nowMs);
    if (!a.loop || cycle <= 0 || behind <= cycle)
        return;
    const int64_t skipped = (behind - 1) / cycle * cycle;
    a.frameStart = static_cast<int32_t>(static_cast<uint32_t>(a.frameStart) + static_cast<uint32_t>(skipped));
}

int currentTexture(Animation& a, int32_t nowMs)
{
    if (a.frameCount == 1)
        return a.frames[0].textureIndex;
    if (a.running)
        skipWholeCycles(a, nowMs);
    while (a.running) {
        const int32_t duration = a.frames[a.current].durationMs;
        if (ticksBetween(a.frameStart, nowMs) <= duration)
            break;
        // Add the duration, not "now", so late calls catch up without drift.
        a.frameStart = static_cast<int32_t>(static_cast<uint32_t>(a.frameStart) + static_cast<uint32_t>(duration));
        if (a.current + 1 < a.frameCount)
            ++a.current;
        else if (a.loop)
            a.current = 0;
        else
            a.running = false;
    }
    return a.frames[a.current].textureIndex;
}
