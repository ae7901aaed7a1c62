// Reads the game's effect files (16-bit PCM WAV) and measures them: the
// loudest short window, and a spectrum in third-octave bands.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct WavSound {
    bool read = false;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<float> samples; // the first channel, in -1..1
};

inline uint32_t littleAt(const std::string& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The canonical 44-byte header, as our generator writes it, then the samples.
inline WavSound readWav(const std::string& path)
{
    constexpr size_t HEADER_BYTES = 44;
    WavSound sound;
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < HEADER_BYTES || bytes.compare(0, 4, "RIFF") || bytes.compare(8, 8, "WAVEfmt ")
        || bytes.compare(36, 4, "data") || littleAt(bytes, 20, 2) != 1)
        return sound;
    sound.channels = static_cast<int>(littleAt(bytes, 22, 2));
    sound.rate = static_cast<int>(littleAt(bytes, 24, 4));
    sound.bits = static_cast<int>(littleAt(bytes, 34, 2));
    const size_t end = std::min<size_t>(bytes.size(), HEADER_BYTES + littleAt(bytes, 40, 4));
    const size_t frameBytes = 2 * static_cast<size_t>(std::max(1, sound.channels));
    for (size_t f = HEADER_BYTES; f + frameBytes <= end && sound.bits == 16; f += frameBytes)
        sound.samples.push_back(static_cast<int16_t>(littleAt(bytes, f, 2)) / 32768.0f);
    sound.read = sound.bits == 16;
    return sound;
}

inline float peakOf(const std::vector<float>& samples, size_t from, size_t to)
{
    float peak = 0.0f;
    for (size_t i = from; i < std::min(to, samples.size()); ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

// The RMS of the loudest window of the given length (of the whole sound when shorter).
inline double loudestWindowRms(const std::vector<float>& samples, size_t window)
{
    window = std::min(window, samples.size());
    double best = 0.0;
    for (size_t start = 0; start + window <= samples.size(); start += std::max<size_t>(1, window / 8)) {
        double sum = 0.0;
        for (size_t i = start; i < start + window; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        best = std::max(best, sum);
    }
    return window ? std::sqrt(best / window) : 0.0;
}

constexpr int SPECTRUM_BANDS = 24;
constexpr double LOWEST_BAND_HZ = 63.0;
constexpr double BAND_STEP = 1.2599210498948732; // a third of an octave
constexpr double BAND_FLOOR_DB = -60.0;          // quieter bands count as this

// Each band's share of the sound's energy, in dB, through a bank of
// band-pass filters (RBJ, a third of an octave wide) from 63 Hz to 12.7 kHz.
inline std::vector<double> bandProfileDb(const std::vector<float>& samples, int rate)
{
    constexpr double Q = 4.32; // a third of an octave
    std::vector<double> energy(SPECTRUM_BANDS, 0.0);
    double total = 0.0;
    for (int b = 0; b < SPECTRUM_BANDS; ++b) {
        const double w = 2.0 * 3.141592653589793 * LOWEST_BAND_HZ * std::pow(BAND_STEP, b) / rate;
        const double alpha = std::sin(w) / (2.0 * Q), a0 = 1.0 + alpha;
        const double b0 = alpha / a0, a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
        for (const float x : samples) {
            const double y = b0 * x - b0 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            energy[b] += y * y;
        }
        total += energy[b];
    }
    std::vector<double> profile(SPECTRUM_BANDS, BAND_FLOOR_DB);
    for (int b = 0; b < SPECTRUM_BANDS && total > 0.0; ++b)
        if (energy[b] > 0.0)
            profile[b] = std::max(BAND_FLOOR_DB, 10.0 * std::log10(energy[b] / total));
    return profile;
}

// The RMS difference of two band profiles, in dB.
inline double spectralDistanceDb(const std::vector<double>& a, const std::vector<double>& b)
{
    double sum = 0.0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum / std::max<size_t>(1, a.size()));
}
