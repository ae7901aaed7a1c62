// What hits make heard: a shield that rings and holds, one that shatters,
// a hull that clanks, blasts, ships blowing up, crashing into a planet and
// ramming each other.
#include <cmath>

#include "recipes.h"

namespace {

// A struck piece of metal: inharmonic partials, the higher ones dying sooner.
Sound clank(const double (&partialsHz)[3], double seconds, double decayRate)
{
    Phase partials[3];
    return render(seconds, [&](double t, size_t) {
        double sum = 0.0;
        for (int k = 0; k < 3; ++k)
            sum += sine(advance(partials[k], partialsHz[k])) * fall(t, decayRate * (1.0 + 0.4 * k)) / (1.0 + k);
        return sum;
    });
}

// Noise whose brightness falls as the blast spreads, over a falling thump.
Sound explosion(double seconds, double brightHz, double darkHz, double decayRate, uint32_t seed)
{
    Phase thump;
    OnePole filter, second;
    return render(seconds, [&](double t, size_t i) {
        const double cutoff = sweep(t, seconds * 0.7, brightHz, darkHz);
        const double rumble = lowPass(second, lowPass(filter, noiseAt(i, seed), cutoff), cutoff * 1.5);
        const double kick = sine(advance(thump, sweep(t, 0.2, 80.0, 35.0))) * fall(t, 8.0);
        return (rumble * 2.5 * fall(t, decayRate) + kick * 0.9) * rise(t, 0.0, 0.003);
    });
}

} // namespace

// The bubble rings like glass struck softly, wavering, and stays whole.
Sound shieldHolds()
{
    constexpr double PARTIALS_HZ[] = {1180.0, 1770.0, 2950.0};
    Phase partials[3], waver;
    BandPass tick;
    return render(0.35, [&](double t, size_t i) {
        const double bend = 1.0 + 0.01 * sine(advance(waver, 7.0));
        double ring = 0.0;
        for (int k = 0; k < 3; ++k)
            ring += sine(advance(partials[k], PARTIALS_HZ[k] * bend)) * fall(t, 10.0 + 6.0 * k) / (1.0 + 0.5 * k);
        return ring * 0.6 + bandPass(tick, noiseAt(i, 101), 3000.0, 2.0) * fall(t, 150.0) * 1.5;
    });
}

// The bubble shatters: bright shards at scattered moments, a hiss of
// splinters, and its hum dying away.
Sound shieldBreaks()
{
    constexpr int SHARDS = 12;
    Sound sound = silence(0.7);
    for (int s = 0; s < SHARDS; ++s) {
        const double hz = 2000.0 + 6000.0 * (0.5 + 0.5 * noiseAt(s, 111));
        const double start = 0.15 * (0.5 + 0.5 * noiseAt(s, 112));
        Phase shard;
        mixInto(sound, render(0.3, [&](double t, size_t) { return sine(advance(shard, hz)) * fall(t, 18.0); }), start, 0.18f);
    }
    OnePole splinters;
    Phase hum;
    const Sound rest = render(0.7, [&](double t, size_t i) {
        return highPass(splinters, noiseAt(i, 113), 2500.0) * fall(t, 7.0) * 0.7
               + sine(advance(hum, sweep(t, 0.4, 1200.0, 300.0))) * fall(t, 5.0) * 0.3;
    });
    mixInto(sound, rest, 0.0, 1.0f);
    return sound;
}

// A dull thud with the hull's metal ringing over it.
Sound hullHit()
{
    constexpr double PARTIALS_HZ[] = {523.0, 1311.0, 2087.0};
    Sound sound = clank(PARTIALS_HZ, 0.3, 18.0);
    Phase thud;
    BandPass knock;
    mixInto(sound, render(0.3, [&](double t, size_t i) {
        return sine(advance(thud, 140.0)) * fall(t, 25.0) * 0.9 + bandPass(knock, noiseAt(i, 121), 900.0, 1.0) * fall(t, 80.0) * 1.5;
    }), 0.0, 1.0f);
    return sound;
}

Sound blast() { return explosion(0.9, 4000.0, 250.0, 4.5, 131); }

// A ship blowing up: a big blast, two more going off inside it, and a long rumble.
Sound shipDestroyed()
{
    Sound sound = explosion(1.7, 6000.0, 200.0, 3.0, 141);
    mixInto(sound, explosion(0.6, 3000.0, 400.0, 9.0, 142), 0.25, 0.6f);
    mixInto(sound, explosion(0.6, 2500.0, 300.0, 9.0, 143), 0.5, 0.5f);
    OnePole tail;
    mixInto(sound, render(1.7, [&](double t, size_t i) {
        return lowPass(tail, noiseAt(i, 144), 150.0) * 3.0 * rise(t, 0.0, 0.2) * fall(t, 2.0);
    }), 0.0, 1.0f);
    return sound;
}

// A ship against rock: a heavy, low thud, gravel crunching, then rumble.
Sound planetCrash()
{
    Phase thud;
    OnePole gravelFilter, rumbleFilter;
    return render(1.4, [&](double t, size_t i) {
        const double body = sine(advance(thud, sweep(t, 0.3, 65.0, 28.0))) * fall(t, 4.0);
        const bool grain = noiseAt(i / 180, 151) > 0.2f; // grains of about 4 ms
        const double gravel = grain ? lowPass(gravelFilter, noiseAt(i, 152), 900.0) * 2.0 * fall(t, 5.0) : 0.0;
        const double rumble = lowPass(rumbleFilter, noiseAt(i, 153), 200.0) * 3.0 * fall(t, 2.5);
        return (body * 1.1 + gravel + rumble) * rise(t, 0.0, 0.003);
    });
}

// Two hulls meeting: two clanks, metal scraping, and a small blast.
Sound ramming()
{
    constexpr double FIRST_HZ[] = {311.0, 877.0, 1630.0};
    constexpr double SECOND_HZ[] = {389.0, 1043.0, 1979.0};
    Sound sound = clank(FIRST_HZ, 0.4, 10.0);
    mixInto(sound, clank(SECOND_HZ, 0.4, 10.0), 0.07, 0.9f);
    BandPass scrape;
    Phase wobble;
    mixInto(sound, render(1.1, [&](double t, size_t i) {
        const double hz = 1700.0 * (1.0 + 0.15 * sine(advance(wobble, 11.0)));
        return bandPass(scrape, noiseAt(i, 161), hz, 8.0) * 2.5 * fall(t, 3.0);
    }), 0.02, 1.0f);
    mixInto(sound, explosion(0.9, 2500.0, 200.0, 5.0, 162), 0.1, 0.6f);
    return sound;
}
