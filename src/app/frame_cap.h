// The optional cap on match frames (-fps): each drawn frame is held until it
// is due and then shown, and the frame time measured by the next pass
// includes the sleep.
#pragma once
#include <cstdint>

struct FrameCap {
    double periodMs = 0.0; // between frames shown; 0 uncapped
    double dueMs = 0.0;    // tick at which the next frame is shown
};

FrameCap makeFrameCap(int32_t framesPerSecond);
// The due time after one at dueMs: a period later, or now when the pass ran
// past it (a menu, a stall), so that lost time is not made up by a burst.
double nextFrameDue(double dueMs, int32_t nowMs, double periodMs);
// Finishes the drawing and sleeps until the frame is due to be shown; returns
// at once when uncapped.
void waitForNextFrame(FrameCap& cap);
