#include <gtest/gtest.h>

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

TEST(Animation, DrawingSeesWhatSteppingWouldShowWithoutStepping)
{
    const Animation loop = makeAnimation(arena, {{1, 30}, {2, 50}, {3, 20}}, true);
    const Animation once = makeAnimation(arena, {{4, 30}, {5, 30}}, false);
    for (const Animation& made : {loop, once}) {
        for (int32_t now : {0, 29, 30, 31, 100, 101, 199, 200, 201, 12345, 100000007}) {
            for (int startFrame : {0, 1}) {
                Animation a = made;
                setCurrentFrame(a, startFrame);
                startAnimation(a, 7);
                const Animation before = a;
                Animation stepped = a;
                EXPECT_EQ(textureAt(a, arena, now), currentTexture(stepped, arena, now)) << "at " << now;
                EXPECT_EQ(a.frameStart, before.frameStart) << "reading leaves the animation as it was";
                EXPECT_EQ(a.current, before.current);
            }
        }
    }
}

} // namespace
