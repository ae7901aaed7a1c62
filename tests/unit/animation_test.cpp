#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include "sim/animation.h"

namespace {

// Room for every animation of this file.
AnimationFrames arena;

Animation twoShortFrames(bool loop) { return makeAnimation(arena, {{36, 20}, {35, 20}}, loop); }

TEST(Animation, FramesStepByTheirDurations)
{
    Animation a = twoShortFrames(false);
    startAnimation(a, 1000);
    EXPECT_EQ(currentTexture(a, arena, 1020), 36) << "a frame shows up to and including start + duration";
    EXPECT_EQ(currentTexture(a, arena, 1020), 36) << "asking twice changes nothing";
    EXPECT_EQ(currentTexture(a, arena, 1021), 35);
    EXPECT_TRUE(isRunning(a));
    EXPECT_EQ(currentTexture(a, arena, 1041), 35);
    EXPECT_FALSE(isRunning(a)) << "a non-looping animation finishes on its last frame";
    EXPECT_EQ(currentTexture(a, arena, 5000), 35);
}

TEST(Animation, LoopingStartsOverWithoutDrift)
{
    Animation a = twoShortFrames(true);
    startAnimation(a, 1000);
    EXPECT_EQ(currentTexture(a, arena, 1041), 36);
    EXPECT_EQ(a.frameStart, 1040);
    EXPECT_TRUE(isRunning(a));

    Animation b = makeAnimation(arena, {{1, 100}, {2, 100}}, true);
    startAnimation(b, 0);
    EXPECT_EQ(currentTexture(b, arena, 450), 1) << "a late call catches up four frames";
    EXPECT_EQ(b.frameStart, 400) << "the start moves by whole durations, not to now";
    EXPECT_EQ(currentTexture(b, arena, 501), 2);
}

TEST(Animation, DaysLateOrAcrossTheTickWrapALoopEndsWhereSteppingWould)
{
    constexpr int32_t HIGHEST = std::numeric_limits<int32_t>::max();
    constexpr int32_t LOWEST = std::numeric_limits<int32_t>::min();
    const struct {
        int32_t startMs, nowMs;
        int texture;
        int32_t frameStart;
    } cases[] = {
        {0, 450, 1, 400},                           // four frames late, as stepped one by one
        {0, 2000000050, 1, 2000000000},             // twenty million frames late, at once
        {0, 2000000150, 2, 2000000100},
        {HIGHEST - 49, LOWEST + 100, 2, LOWEST + 50}, // 150 ms on, across the tick's wrap
    };
    for (const auto& c : cases) {
        Animation a = makeAnimation(arena, {{1, 100}, {2, 100}}, true);
        startAnimation(a, c.startMs);
        EXPECT_EQ(textureAt(a, arena, c.nowMs), c.texture) << "drawing reads what stepping will give";
        EXPECT_EQ(currentTexture(a, arena, c.nowMs), c.texture) << c.nowMs;
        EXPECT_EQ(a.frameStart, c.frameStart) << c.nowMs;
    }
}

TEST(Animation, OneFrameNeedsNoStart)
{
    Animation a = makeAnimation(arena, {{89, 500}}, false);
    EXPECT_EQ(currentTexture(a, arena, 100000), 89);
    EXPECT_FALSE(isRunning(a));
}

TEST(Animation, NeverStartedShowsItsCurrentFrame)
{
    Animation a = twoShortFrames(true);
    EXPECT_EQ(currentTexture(a, arena, 100000), 36);
    setCurrentFrame(a, 1);
    EXPECT_EQ(currentTexture(a, arena, 200000), 35);
    setCurrentFrame(a, 2);
    EXPECT_EQ(a.current, 1) << "an index past the end is ignored";
}

TEST(Animation, RestartingAFinishedAnimationShowsTheLastFrameOnce)
{
    Animation a = twoShortFrames(false);
    startAnimation(a, 0);
    EXPECT_EQ(currentTexture(a, arena, 1000), 35);
    ASSERT_FALSE(isRunning(a));

    startAnimation(a, 2000);
    EXPECT_EQ(currentTexture(a, arena, 2020), 35);
    EXPECT_TRUE(isRunning(a));
    EXPECT_EQ(currentTexture(a, arena, 2021), 35);
    EXPECT_FALSE(isRunning(a));

    setCurrentFrame(a, 0);
    startAnimation(a, 3000);
    EXPECT_EQ(currentTexture(a, arena, 3010), 36) << "only going back to frame 0 replays it";
}

TEST(Animation, CopiesShareFramesButKeepTheirOwnTime)
{
    Animation table = makeAnimation(arena, {{5, 200}, {6, 200}}, true);
    Animation copy = table;
    startAnimation(copy, 0);
    EXPECT_EQ(currentTexture(copy, arena, 250), 6);
    EXPECT_EQ(table.current, 0);
    setFrame(arena, table, 1, 7, 200);
    EXPECT_EQ(frameTexture(arena, copy, 1), 7);
    setFrame(arena, table, 5, 9, 200);
    EXPECT_EQ(frameTexture(arena, table, 0), 5) << "an index past the end is ignored";
}

} // namespace
