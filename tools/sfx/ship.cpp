// The ship's own sounds: the boost's whoosh and the engine's loop.
#include <cmath>

#include "recipes.h"

// A jet's whoosh rising in pitch over a growing tone.
Sound boost()
{
    BandPass rush;
    Phase tone;
    OnePole toneFilter;
    return render(0.65, [&](double t, size_t i) {
        const double envelope = rise(t, 0.0, 0.05) * fall(t, 3.5);
        const double air = bandPass(rush, noiseAt(i, 201), sweep(t, 0.5, 400.0, 3000.0), 1.5) * 2.0;
        const double hz = sweep(t, 0.5, 110.0, 220.0);
        return (air + lowPass(toneFilter, saw(advance(tone, hz), hz), 800.0) * 0.5) * envelope;
    });
}

// A low rumble with a hum, fluttering a little. The noise repeats every
// loop and the filters run three loops before the last one is kept; every
// tone is a whole number of cycles long, so the end runs on into the start.
Sound engineLoop()
{
    constexpr double HUM_HZ = 55.0;    // whole cycles in ENGINE_LOOP_SECONDS
    constexpr double FLUTTER_HZ = 6.0; // likewise
    constexpr int WARM_UP_LOOPS = 2;
    const size_t loop = framesOf(ENGINE_LOOP_SECONDS);
    OnePole body, airy;
    Sound sound(loop, 0.0f);
    for (size_t i = 0; i < loop * (WARM_UP_LOOPS + 1); ++i) {
        const size_t at = i % loop;
        const double t = timeOf(at);
        const double rumble = lowPass(body, noiseAt(at, 211), 300.0) * 3.0;
        const double hiss = lowPass(airy, noiseAt(at, 212), 1500.0) * 0.3;
        const double hum = 0.5 * sine(HUM_HZ * t) + 0.25 * sine(2.0 * HUM_HZ * t);
        const double flutter = 0.85 + 0.15 * sine(FLUTTER_HZ * t);
        sound[at] = static_cast<float>((rumble + hiss + hum) * flutter);
    }
    return sound;
}
