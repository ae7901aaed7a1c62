// Frame animations stepped by wall-clock milliseconds. Free of SDL: the
// caller passes "now", so the simulation and tests drive time themselves.
#pragma once
#include <cstdint>
#include <initializer_list>

struct AnimationFrame {
    int32_t textureIndex = 0; // catalogue index
    int32_t durationMs = 0;
};

// Every frame of the content's animations, made once with the content. An
// animation refers to its frames by place, so a match that holds animations
// is plain data that can be copied, compared or sent.
constexpr int ANIMATION_FRAME_CAPACITY = 256;

struct AnimationFrames {
    AnimationFrame frames[ANIMATION_FRAME_CAPACITY];
    int32_t used = 0;
};

struct Animation {
    int32_t frameStart = 0; // ms tick at which the current frame began
    int32_t firstFrame = 0; // into AnimationFrames
    int32_t frameCount = 0;
    int32_t current = 0;
    bool running = false;
    bool loop = false;
};

// Takes frameCount frames from the arena, which must have room for them.
Animation makeAnimation(AnimationFrames& arena, int frameCount, bool loop);
Animation makeAnimation(AnimationFrames& arena, std::initializer_list<AnimationFrame> frames, bool loop);
void setFrame(AnimationFrames& arena, const Animation& a, int index, int textureIndex, int durationMs);
void setCurrentFrame(Animation& a, int index);
int frameTexture(const AnimationFrames& arena, const Animation& a, int index);
// Runs from the current frame; callers wanting a replay set frame 0 first.
void startAnimation(Animation& a, int32_t nowMs);
bool isRunning(const Animation& a);
// The one operation that steps time; catches up without drift.
int currentTexture(Animation& a, const AnimationFrames& arena, int32_t nowMs);
// The texture currentTexture would show at nowMs, leaving the animation as it
// is: drawing reads the match without changing it.
int textureAt(const Animation& a, const AnimationFrames& arena, int32_t nowMs);
