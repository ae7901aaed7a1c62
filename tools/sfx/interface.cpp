// The match's announcements and the menus' clicks: short musical figures
// and blips, each direction of the menus with its own.
#include <cmath>

#include "recipes.h"

namespace {

double noteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// A bell: a sine with the bell's inharmonic partials, dying slowly.
Sound bell(double hz, double seconds)
{
    Phase partials[3];
    return render(seconds, [&](double t, size_t) {
        return (sine(advance(partials[0], hz)) + 0.4 * sine(advance(partials[1], hz * 2.76)) * fall(t, 6.0)
                + 0.2 * sine(advance(partials[2], hz * 5.4)) * fall(t, 12.0))
               * fall(t, 4.0) * rise(t, 0.0, 0.002);
    });
}

// A brassy note: a saw that opens with its attack and swells a little.
Sound brass(double hz, double seconds)
{
    Phase a, b;
    OnePole filter;
    return render(seconds, [&](double t, size_t) {
        const double raw = saw(advance(a, hz), hz) + saw(advance(b, hz * 1.004), hz * 1.004);
        const double cutoff = 600.0 + 2400.0 * rise(t, 0.0, 0.04) * fall(t, 3.0);
        return lowPass(filter, raw, cutoff) * rise(t, 0.0, 0.015) * (1.0 - 0.6 * rise(t, seconds * 0.6, seconds * 0.4));
    });
}

// One short blip sliding from fromHz to toHz.
Sound blip(double fromHz, double toHz, double seconds, double decayRate)
{
    Phase tone;
    return render(seconds, [&](double t, size_t) {
        const double hz = sweep(t, seconds * 0.5, fromHz, toHz);
        const double phase = advance(tone, hz);
        return (sine(phase) + 0.25 * sine(2.0 * phase)) * fall(t, decayRate);
    });
}

} // namespace

// A kill: a quick rising arpeggio of bells, E minor up to the octave.
Sound killSting()
{
    constexpr double NOTES[] = {76.0, 79.0, 83.0, 88.0};
    Sound sound = silence(1.1);
    for (int n = 0; n < 4; ++n)
        mixInto(sound, bell(noteHz(NOTES[n]), 0.8), 0.09 * n, 0.3f);
    return sound;
}

// A new match: three brass chords, the last held (IV, V, I in A).
Sound newMatch()
{
    constexpr double CHORDS[3][3] = {{62.0, 66.0, 69.0}, {64.0, 68.0, 71.0}, {69.0, 73.0, 76.0}};
    constexpr double STARTS[] = {0.0, 0.22, 0.44};
    constexpr double LENGTHS[] = {0.2, 0.2, 1.0};
    Sound sound = silence(1.5);
    for (int c = 0; c < 3; ++c)
        for (const double note : CHORDS[c])
            mixInto(sound, brass(noteHz(note), LENGTHS[c]), STARTS[c], 0.2f);
    return sound;
}

Sound menuMove() { return blip(1500.0, 1500.0, 0.06, 70.0); }

// Up a fifth for going on, down a fifth for going back.
Sound menuConfirm()
{
    Sound sound = blip(880.0, 880.0, 0.08, 35.0);
    mixInto(sound, blip(1320.0, 1320.0, 0.1, 35.0), 0.06, 1.0f);
    return sound;
}

Sound menuBack()
{
    Sound sound = blip(990.0, 990.0, 0.08, 35.0);
    mixInto(sound, blip(660.0, 660.0, 0.1, 35.0), 0.06, 1.0f);
    return sound;
}

// A click that slides up: a choice turned to the next one.
Sound menuChange()
{
    Phase tone;
    OnePole filter;
    return render(0.08, [&](double t, size_t) {
        const double hz = sweep(t, 0.04, 700.0, 1100.0);
        return lowPass(filter, pulse(advance(tone, hz), hz, 0.25), 4000.0) * fall(t, 45.0);
    });
}
