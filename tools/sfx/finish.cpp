#include "finish.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float LIMIT_KNEE = 0.6f * PEAK_CEILING; // samples below it are left as they are
constexpr int NORMALISE_ROUNDS = 8;               // scaling and limiting settle well within these

float peakOf(const Sound& sound)
{
    float peak = 0.0f;
    for (const float s : sound)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

// Bends samples above the knee smoothly towards the ceiling, never past it.
void limit(Sound& sound)
{
    const float room = PEAK_CEILING - LIMIT_KNEE;
    for (float& s : sound) {
        const float size = std::fabs(s);
        if (size > LIMIT_KNEE)
            s = std::copysign(LIMIT_KNEE + room * std::tanh((size - LIMIT_KNEE) / room), s);
    }
}

void scale(Sound& sound, double gain)
{
    for (float& s : sound)
        s = static_cast<float>(s * gain);
}

// Raised-cosine fades: the first and last samples are silent.
void fadeEnds(Sound& sound)
{
    const size_t in = std::min(framesOf(FADE_IN_SECONDS), sound.size() / 2);
    const size_t out = std::min(framesOf(FADE_OUT_SECONDS), sound.size() / 2);
    for (size_t i = 0; i < in; ++i)
        sound[i] *= static_cast<float>(0.5 - 0.5 * std::cos(TWO_PI * 0.5 * i / in));
    for (size_t i = 0; i < out; ++i)
        sound[sound.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(TWO_PI * 0.5 * i / out));
}

void normalise(Sound& sound)
{
    for (int round = 0; round < NORMALISE_ROUNDS; ++round) {
        const double level = loudness(sound);
        if (level <= 0.0)
            return;
        scale(sound, LOUDNESS_RMS / level);
        if (peakOf(sound) <= PEAK_CEILING)
            return;
        limit(sound);
    }
}

} // namespace

double loudness(const Sound& sound)
{
    const size_t window = std::min(framesOf(LOUDNESS_WINDOW_SECONDS), sound.size());
    if (window == 0)
        return 0.0;
    double sum = 0.0, loudest = 0.0;
    for (size_t i = 0; i < sound.size(); ++i) {
        sum += static_cast<double>(sound[i]) * sound[i];
        if (i >= window)
            sum -= static_cast<double>(sound[i - window]) * sound[i - window];
        if (i + 1 >= window)
            loudest = std::max(loudest, sum);
    }
    return std::sqrt(std::max(loudest, 0.0) / window);
}

void finishOneShot(Sound& sound)
{
    fadeEnds(sound);
    normalise(sound);
}

void finishLoop(Sound& sound) { normalise(sound); }
