#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double HIGHEST_CUTOFF_HZ = 18000.0; // below half the sample rate, where the filters stay stable
// The band-pass below is stable while 2 sin(pi f / 2 rate) < 2 - 1 / q; up
// to 10 kHz that holds for every q from 1 on.
constexpr double HIGHEST_BAND_HZ = 10000.0;
constexpr double LOWEST_BAND_Q = 1.0;
}

size_t framesOf(double seconds) { return static_cast<size_t>(std::lround(seconds * SAMPLE_RATE)); }

double timeOf(size_t frame) { return static_cast<double>(frame) / SAMPLE_RATE; }

Sound silence(double seconds) { return Sound(framesOf(seconds), 0.0f); }

void mixInto(Sound& dst, const Sound& src, double atSeconds, float gain)
{
    const size_t at = framesOf(atSeconds);
    if (dst.size() < at + src.size())
        dst.resize(at + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i)
        dst[at + i] += gain * src[i];
}

double advance(Phase& phase, double hz)
{
    const double now = phase.value;
    phase.value += hz / SAMPLE_RATE;
    phase.value -= std::floor(phase.value);
    return now;
}

double sine(double phase) { return std::sin(TWO_PI * phase); }

double saw(double phase, double hz) { return sawtooth(phase, std::max(hz / SAMPLE_RATE, 1e-9)); }

double pulse(double phase, double hz, double duty)
{
    double shifted = phase + duty;
    shifted -= std::floor(shifted);
    return 0.5 * (saw(phase, hz) - saw(shifted, hz));
}

double lowPass(OnePole& f, double input, double cutoffHz)
{
    const double k = 1.0 - std::exp(-TWO_PI * std::clamp(cutoffHz, 1.0, HIGHEST_CUTOFF_HZ) / SAMPLE_RATE);
    f.state += k * (input - f.state);
    return f.state;
}

double highPass(OnePole& f, double input, double cutoffHz) { return input - lowPass(f, input, cutoffHz); }

// A Chamberlin state-variable filter run twice per frame; its band output,
// scaled by 1 / q, passes the centre at about unit gain.
double bandPass(BandPass& f, double input, double centreHz, double q)
{
    const double hz = std::clamp(centreHz, 20.0, HIGHEST_BAND_HZ);
    const double k = 2.0 * std::sin(TWO_PI * hz / (4.0 * SAMPLE_RATE));
    const double damping = 1.0 / std::max(q, LOWEST_BAND_Q);
    for (int pass = 0; pass < 2; ++pass) {
        f.low += k * f.band;
        const double high = input - f.low - damping * f.band;
        f.band += k * high;
    }
    return f.band * damping;
}

double fall(double t, double rate) { return std::exp(-t * rate); }

double rise(double t, double start, double attack)
{
    if (t <= start)
        return 0.0;
    return std::min(1.0, (t - start) / attack);
}

double glide(double t, double length, double a, double b) { return a + (b - a) * std::clamp(t / length, 0.0, 1.0); }

double sweep(double t, double length, double a, double b)
{
    return a * std::pow(b / a, std::clamp(t / length, 0.0, 1.0));
}
