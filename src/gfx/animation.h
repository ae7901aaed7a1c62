// Frame animations stepped by wall-clock milliseconds. Free of SDL: the
// caller passes "now", so the simulation and tests drive time themselves.
#pragma once
#include <cstdint>
#include <initializer_list>

struct AnimationFrame {
    int32_t textureIndex = 0; // catalogue index
    int32_t durationMs = 0;
};

// Copies share the frame array, which lives for the whole run.
struct Animation {
    int32_t frameStart = 0; // ms tick at which the current frame began
    AnimationFrame* frames = nullptr;
    int32_t frameCount = 0;
    int32_t current = 0;
    bool running = false;
    bool loop = false;
};

// Allocates frameCount frames from a fixed arena that lives for the run.
Animation makeAnimation(int frameCount, bool loop);
Animation makeAnimation(std::initializer_list<AnimationFrame> frames, bool loop);
void setFrame(Animation& a, int index, int textureIndex, int durationMs);
void setCurrentFrame(Animation& a, int index);
int frameTexture(const Animation& a, int index);
// Runs from the current frame; callers wanting a replay set frame 0 first.
void startAnimation(Animation& a, int32_t nowMs);
bool isRunning(const Animation& a);
// The one operation that steps time; catches up without drift.
int currentTexture(Animation& a, int32_t nowMs);
