// The building blocks every effect is made of: mono sample buffers,
// oscillators, noise, filters and envelopes. Times are in seconds,
// frequencies in hertz, samples in -1..1.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "../common/oscillators.h"

constexpr int SAMPLE_RATE = 44100;
constexpr double TWO_PI = 6.283185307179586;

using Sound = std::vector<float>;

size_t framesOf(double seconds);
double timeOf(size_t frame);
Sound silence(double seconds);
// Adds src, scaled by gain, into dst from atSeconds on; dst grows to fit.
void mixInto(Sound& dst, const Sound& src, double atSeconds, float gain);

// A phase in 0..1 advanced by a frequency that may change every frame.
struct Phase {
    double value = 0.0;
};
// The phase before this frame's step, then stepped by hz.
double advance(Phase& phase, double hz);
double sine(double phase);
// A band-limited sawtooth (polyBLEP) at phase, stepping hz per frame.
double saw(double phase, double hz);
// A band-limited square of duty 0..1.
double pulse(double phase, double hz, double duty);

// One-pole filters: smooth, 6 dB an octave.
struct OnePole {
    double state = 0.0;
};
double lowPass(OnePole& f, double input, double cutoffHz);
double highPass(OnePole& f, double input, double cutoffHz);

// A two-pole resonant band-pass whose centre (up to 10 kHz) may move every
// frame; q from 1 (wide) up.
struct BandPass {
    double low = 0.0;
    double band = 0.0;
};
double bandPass(BandPass& f, double input, double centreHz, double q);

// exp(-t * rate): 1 at t = 0, falling by e every 1 / rate seconds.
double fall(double t, double rate);
// 0 before start, rising over attack, then 1.
double rise(double t, double start, double attack);
// Linear from a to b as t runs from 0 to length, held after.
double glide(double t, double length, double a, double b);
// Exponential from a to b (both > 0) as t runs from 0 to length, held after.
double sweep(double t, double length, double a, double b);
