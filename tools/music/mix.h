// A stereo buffer that wraps around: whatever sounds past its end is heard
// at its start, so the piece loops without a seam.
#pragma once
#include <cstddef>
#include <vector>

constexpr int SAMPLE_RATE = 44100;

struct Mix {
    std::vector<float> left;
    std::vector<float> right;
};

Mix makeMix(size_t frames);
size_t frameCount(const Mix& mix);
// Adds one sample at a frame that may lie past the end, panned -1 left .. 1 right.
void addSample(Mix& mix, size_t frame, float value, float pan);
// Adds src, scaled by gain, into dst of the same length.
void addInto(Mix& dst, const Mix& src, float gain);
// Echoes the whole buffer into itself, around the loop: taps at multiples
// of delayFrames, each feedback times quieter, panned alternately.
void addEcho(Mix& mix, size_t delayFrames, float feedback, int taps);
// Soft-limits and scales the buffer so that its loudest sample is peak.
void master(Mix& mix, float peak);
