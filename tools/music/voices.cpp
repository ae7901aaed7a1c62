#include "voices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include "../common/oscillators.h"

namespace {

constexpr double TWO_PI = 6.283185307179586;

double seconds(size_t frames) { return static_cast<double>(frames) / SAMPLE_RATE; }
size_t frames(double secondsLong) { return static_cast<size_t>(secondsLong * SAMPLE_RATE); }

double wrap(double phase) { return phase - std::floor(phase); }

// Attack-decay-sustain-release level at time t of a note held for hold seconds.
double adsr(double t, double hold, double attack, double decay, double sustain, double release)
{
    auto held = [&](double u) {
        if (u < attack)
            return u / attack;
        if (u < attack + decay)
            return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < hold)
        return held(t);
    const double r = (t - hold) / release;
    return r >= 1.0 ? 0.0 : held(hold) * (1.0 - r);
}

// A one-pole low-pass filter.
struct LowPass {
    double state = 0.0;
};

double lowPass(LowPass& f, double input, double cutoffHz)
{
    const double k = 1.0 - std::exp(-TWO_PI * std::min(cutoffHz, 18000.0) / SAMPLE_RATE);
    f.state += k * (input - f.state);
    return f.state;
}

} // namespace

double frequencyOf(double pitch) { return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0); }

void playBass(Mix& mix, const NoteEvent& note)
{
    const double hz = frequencyOf(note.pitch), release = 0.04;
    const size_t total = note.length + frames(release);
    double p1 = 0.0, p2 = 0.0, sub = 0.0;
    LowPass f1, f2;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        const double step1 = hz * 1.003 / SAMPLE_RATE, step2 = hz * 0.997 / SAMPLE_RATE;
        const double raw = 0.5 * (sawtooth(p1, step1) + sawtooth(p2, step2));
        const double cutoff = 260.0 + 1500.0 * std::exp(-t * 14.0) * note.velocity;
        const double filtered = lowPass(f2, lowPass(f1, raw, cutoff), cutoff);
        const double body = filtered + 0.55 * std::sin(TWO_PI * sub);
        const double level = adsr(t, seconds(note.length), 0.003, 0.12, 0.75, release);
        addSample(mix, note.start + i, static_cast<float>(body * level * 0.55 * note.velocity), 0.0f);
        p1 = wrap(p1 + step1);
        p2 = wrap(p2 + step2);
        sub = wrap(sub + hz / SAMPLE_RATE);
    }
}

void playLead(Mix& mix, const NoteEvent& note)
{
    const double hz = frequencyOf(note.pitch), release = 0.12;
    const size_t total = note.length + frames(release);
    double p1 = 0.0, p2 = 0.0;
    LowPass f;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        // Vibrato creeps in on held notes.
        const double vibrato = 1.0 + 0.0045 * std::min(1.0, std::max(0.0, (t - 0.18) * 3.0)) * std::sin(TWO_PI * 5.5 * t);
        const double step1 = hz * vibrato / SAMPLE_RATE, step2 = hz * vibrato * 1.006 / SAMPLE_RATE;
        const double pulse = sawtooth(p1, step1) - sawtooth(wrap(p1 + 0.38), step1);
        const double raw = 0.55 * pulse + 0.45 * sawtooth(p2, step2);
        const double filtered = lowPass(f, raw, 1800.0 + 2600.0 * std::exp(-t * 5.0));
        const double level = adsr(t, seconds(note.length), 0.012, 0.25, 0.7, release);
        addSample(mix, note.start + i, static_cast<float>(filtered * level * 0.32 * note.velocity), 0.18f);
        p1 = wrap(p1 + step1);
        p2 = wrap(p2 + step2);
    }
}

void playPluck(Mix& mix, const NoteEvent& note, float pan)
{
    const double hz = frequencyOf(note.pitch), release = 0.05;
    const size_t total = note.length + frames(release);
    double p = 0.0;
    LowPass f;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        const double step = hz / SAMPLE_RATE;
        const double square = sawtooth(p, step) - sawtooth(wrap(p + 0.5), step);
        const double filtered = lowPass(f, square, 900.0 + 4000.0 * std::exp(-t * 30.0));
        const double level = adsr(t, seconds(note.length), 0.002, 0.14, 0.0, release);
        addSample(mix, note.start + i, static_cast<float>(filtered * level * 0.2 * note.velocity), pan);
        p = wrap(p + step);
    }
}

void playPad(Mix& mix, const NoteEvent& note, float pan)
{
    const double hz = frequencyOf(note.pitch), release = 0.7;
    const size_t total = note.length + frames(release);
    const double detune[3] = {0.994, 1.0, 1.0065};
    double phase[3] = {0.0, 0.31, 0.67};
    LowPass f;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        double raw = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double step = hz * detune[k] / SAMPLE_RATE;
            raw += sawtooth(phase[k], step) / 3.0;
            phase[k] = wrap(phase[k] + step);
        }
        const double filtered = lowPass(f, raw, 700.0 + 250.0 * std::sin(TWO_PI * 0.15 * t));
        const double level = adsr(t, seconds(note.length), 0.45, 0.5, 0.8, release);
        addSample(mix, note.start + i, static_cast<float>(filtered * level * 0.2 * note.velocity), pan);
    }
}

void playKick(Mix& mix, size_t frame, float velocity)
{
    const size_t total = frames(0.35);
    double phase = 0.0;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        const double hz = 46.0 + 110.0 * std::exp(-t * 28.0);
        phase += hz / SAMPLE_RATE;
        const double body = std::sin(TWO_PI * phase) * std::exp(-t * 9.0);
        const double click = noiseAt(i, 1) * std::exp(-t * 400.0) * 0.3;
        addSample(mix, frame + i, static_cast<float>((body + click) * 0.9 * velocity), 0.0f);
    }
}

void playSnare(Mix& mix, size_t frame, float velocity)
{
    const size_t total = frames(0.22);
    LowPass f;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        const double raw = noiseAt(frame + i, 2);
        const double bright = raw - lowPass(f, raw, 1200.0); // keep the crack, lose the rumble
        const double tone = std::sin(TWO_PI * 185.0 * t) * std::exp(-t * 30.0);
        const double level = std::exp(-t * 18.0);
        addSample(mix, frame + i, static_cast<float>((bright * level * 0.45 + tone * 0.35) * velocity), -0.05f);
    }
}

void playHat(Mix& mix, size_t frame, float velocity, bool open)
{
    const size_t total = frames(open ? 0.25 : 0.06);
    LowPass f;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        const double raw = noiseAt(frame + i, 3);
        const double hiss = raw - lowPass(f, raw, 7000.0);
        const double level = std::exp(-t * (open ? 14.0 : 70.0));
        addSample(mix, frame + i, static_cast<float>(hiss * level * 0.16 * velocity), 0.3f);
    }
}

void playTom(Mix& mix, size_t frame, double pitch, float velocity)
{
    const size_t total = frames(0.3);
    double phase = 0.0;
    for (size_t i = 0; i < total; ++i) {
        const double t = seconds(i);
        phase += frequencyOf(pitch) * (1.0 + 0.5 * std::exp(-t * 30.0)) / SAMPLE_RATE;
        const double level = std::exp(-t * 11.0);
        addSample(mix, frame + i, static_cast<float>(std::sin(TWO_PI * phase) * level * 0.5 * velocity), -0.2f);
    }
}
