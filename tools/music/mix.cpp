#include "mix.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

Mix makeMix(size_t frames)
{
    return {std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
}

size_t frameCount(const Mix& mix) { return mix.left.size(); }

void addSample(Mix& mix, size_t frame, float value, float pan)
{
    const size_t i = frame % frameCount(mix);
    // Constant-power panning.
    const float angle = (pan + 1.0f) * 0.785398163f;
    mix.left[i] += value * std::cos(angle);
    mix.right[i] += value * std::sin(angle);
}

void addInto(Mix& dst, const Mix& src, float gain)
{
    for (size_t i = 0; i < frameCount(dst); ++i) {
        dst.left[i] += gain * src.left[i];
        dst.right[i] += gain * src.right[i];
    }
}

void addEcho(Mix& mix, size_t delayFrames, float feedback, int taps)
{
    const Mix dry = mix;
    const size_t n = frameCount(mix);
    float gain = 1.0f;
    for (int tap = 1; tap <= taps; ++tap) {
        gain *= feedback;
        const size_t shift = (delayFrames * tap) % n;
        const bool swap = tap % 2 == 1; // ping-pong between the sides
        for (size_t i = 0; i < n; ++i) {
            const size_t from = (i + n - shift) % n;
            mix.left[i] += gain * (swap ? dry.right[from] : dry.left[from]);
            mix.right[i] += gain * (swap ? dry.left[from] : dry.right[from]);
        }
    }
}

void master(Mix& mix, float peak)
{
    float loudest = 0.0f;
    for (auto* channel : {&mix.left, &mix.right})
        for (float& s : *channel) {
            s = std::tanh(s);
            loudest = std::max(loudest, std::fabs(s));
        }
    if (loudest <= 0.0f)
        return;
    for (auto* channel : {&mix.left, &mix.right})
        for (float& s : *channel)
            s *= peak / loudest;
}
