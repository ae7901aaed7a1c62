// The optional cap on match frames (-fps): the loop sleeps until each pass is
// due, and the frame time measured afterwards includes the sleep.
#pragma once
#include <cstdint>

struct FrameCap {
    double periodMs = 0.0; // between pass starts; 0 uncapped
    double dueMs = 0.0;    // tick at which the next pass may start
};

FrameCap makeFrameCap(int32_t framesPerSecond);
// The due time after one at dueMs: a period later, or now when the pass ran
// past it (a menu, a stall), so that lost time is not made up by a burst.
double nextFrameDue(double dueMs, int32_t nowMs, double periodMs);
// Sleeps until the next pass is due; returns at once when uncapped.
void waitForNextFrame(FrameCap& cap);
