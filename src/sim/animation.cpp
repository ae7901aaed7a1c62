#include "sim/animation.h"

#include <cassert>
#include "sim/ticks.h"

Animation makeAnimation(AnimationFrames& arena, int frameCount, bool loop)
{
    assert(frameCount > 0 && arena.used + frameCount <= ANIMATION_FRAME_CAPACITY);
    Animation a;
    a.firstFrame = arena.used;
    arena.used += frameCount;
    a.frameCount = frameCount;
    a.loop = loop;
    return a;
}

Animation makeAnimation(AnimationFrames& arena, std::initializer_list<AnimationFrame> frames, bool loop)
{
    Animation a = makeAnimation(arena, static_cast<int>(frames.size()), loop);
    int i = 0;
    for (const AnimationFrame& f : frames)
        arena.frames[a.firstFrame + i++] = f;
    return a;
}

void setFrame(AnimationFrames& arena, const Animation& a, int index, int textureIndex, int durationMs)
{
    if (index < 0 || index >= a.frameCount)
        return;
    arena.frames[a.firstFrame + index] = AnimationFrame{textureIndex, durationMs};
}

void setCurrentFrame(Animation& a, int index)
{
    if (index < 0 || index >= a.frameCount)
        return;
    a.current = index;
}

static const AnimationFrame& frameOf(const AnimationFrames& arena, const Animation& a, int index)
{
    assert(index >= 0 && index < a.frameCount && a.firstFrame + index < arena.used);
    return arena.frames[a.firstFrame + index];
}

int frameTexture(const AnimationFrames& arena, const Animation& a, int index)
{
    return frameOf(arena, a, index).textureIndex;
}

void startAnimation(Animation& a, int32_t nowMs)
{
    a.running = true;
    a.frameStart = nowMs;
}

bool isRunning(const Animation& a) { return a.running; }

static int64_t cycleMs(const AnimationFrames& arena, const Animation& a)
{
    int64_t total = 0;
    for (int i = 0; i < a.frameCount; ++i)
        total += frameOf(arena, a, i).durationMs;
    return total;
}

// A looping animation far behind skips the whole cycles it missed at once,
// ending exactly where stepping through them would (after a frame of days,
// stepping would take seconds for every shot).
static void skipWholeCycles(Animation& a, const AnimationFrames& arena, int32_t nowMs)
{
    const int64_t cycle = cycleMs(arena, a);
    const int64_t behind = ticksBetween(a.frameStart, nowMs);
    if (!a.loop || cycle <= 0 || behind <= cycle)
        return;
    const int64_t skipped = (behind - 1) / cycle * cycle;
    a.frameStart = static_cast<int32_t>(static_cast<uint32_t>(a.frameStart) + static_cast<uint32_t>(skipped));
}

int currentTexture(Animation& a, const AnimationFrames& arena, int32_t nowMs)
{
    if (a.frameCount == 1)
        return frameOf(arena, a, 0).textureIndex;
    if (a.running)
        skipWholeCycles(a, arena, nowMs);
    while (a.running) {
        const int32_t duration = frameOf(arena, a, a.current).durationMs;
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
    return frameOf(arena, a, a.current).textureIndex;
}

int textureAt(const Animation& a, const AnimationFrames& arena, int32_t nowMs)
{
    Animation copy = a;
    return currentTexture(copy, arena, nowMs);
}
