// The ten firing sounds. Each weapon has its own kind of sound, so that a
// player hears which one the other fired: a zap, a tick, a hiss, a roar, a
// boom, a beam, a wobble, a bark, a drop, and a charge ending in a blast.
#include <cmath>

#include "recipes.h"

Sound render(double seconds, const std::function<double(double t, size_t frame)>& voice)
{
    Sound sound(framesOf(seconds), 0.0f);
    for (size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<float>(voice(timeOf(i), i));
    return sound;
}

// A crackling electric discharge: a buzzing saw falling in pitch, chopped
// at 90 Hz, with sparks of bright noise.
Sound fireCoronaDevice()
{
    Phase carrier, chop;
    OnePole sparkFilter, tone;
    return render(0.36, [&](double t, size_t i) {
        const double hz = sweep(t, 0.3, 1400.0, 180.0);
        const double buzz = saw(advance(carrier, hz), hz) * (0.55 + 0.45 * pulse(advance(chop, 90.0), 90.0, 0.5));
        const bool spark = noiseAt(i / 300, 11) > 0.35f; // bursts about 7 ms long
        const double sparks = spark ? highPass(sparkFilter, noiseAt(i, 12), 3000.0) : 0.0;
        return (lowPass(tone, buzz, 5000.0) * 0.8 + sparks * 0.6) * fall(t, 9.0);
    });
}

// One short, bright tick with a little body; fired again and again it rattles.
Sound fireMinigun()
{
    Phase body, thump;
    OnePole crack;
    return render(0.09, [&](double t, size_t i) {
        const double snap = highPass(crack, noiseAt(i, 21), 2500.0) * fall(t, 90.0);
        const double hz = sweep(t, 0.02, 900.0, 300.0);
        return snap + 0.5 * sine(advance(body, hz)) * fall(t, 60.0) + 0.3 * sine(advance(thump, 160.0)) * fall(t, 40.0);
    });
}

// Three rockets leaving one after the other: a pop and a hiss rising in pitch each.
Sound fireRocketSwarm()
{
    constexpr double ROCKET_STARTS[] = {0.0, 0.045, 0.095};
    Sound sound = silence(0.6);
    for (int r = 0; r < 3; ++r) {
        BandPass hiss, pop;
        Phase whistle;
        const uint32_t seed = 31 + r;
        const Sound rocket = render(0.5, [&](double t, size_t i) {
            const double ignition = bandPass(pop, noiseAt(i, seed), 1500.0, 1.0) * fall(t, 60.0);
            const double rush = bandPass(hiss, noiseAt(i, seed + 10), sweep(t, 0.4, 1500.0, 7000.0), 2.0);
            const double envelope = rise(t, 0.0, 0.02) * fall(t, 4.5);
            return ignition * 1.5 + rush * 2.0 * envelope + 0.12 * sine(advance(whistle, sweep(t, 0.4, 1800.0, 3200.0))) * envelope;
        });
        mixInto(sound, rocket, ROCKET_STARTS[r], 0.6f);
    }
    return sound;
}

// One heavy missile: a deep thump, then a low roar that darkens as it goes.
Sound fireDoomsday()
{
    Phase thump, drone;
    OnePole roarFilter, droneFilter;
    BandPass rumble;
    return render(0.8, [&](double t, size_t i) {
        const double kick = sine(advance(thump, sweep(t, 0.15, 110.0, 40.0))) * fall(t, 7.0);
        const double roar = lowPass(roarFilter, noiseAt(i, 41), sweep(t, 0.7, 800.0, 200.0)) * rise(t, 0.0, 0.03);
        const double low = bandPass(rumble, noiseAt(i, 42), 180.0, 1.5);
        const double growl = lowPass(droneFilter, saw(advance(drone, 73.0), 73.0), 400.0);
        return kick + (roar * 1.6 + low * 1.2 + growl * 0.4) * fall(t, 3.0);
    });
}

// A cannon: a sharp crack over a falling boom, and the barrel ringing after.
Sound fireAlphaCannon()
{
    Phase boom, ringLow, ringHigh;
    OnePole crackFilter;
    return render(0.5, [&](double t, size_t i) {
        const double crack = highPass(crackFilter, noiseAt(i, 51), 1200.0) * fall(t, 120.0);
        const double body = sine(advance(boom, sweep(t, 0.12, 260.0, 90.0))) * fall(t, 9.0);
        const double ring = (sine(advance(ringLow, 620.0)) + 0.7 * sine(advance(ringHigh, 1470.0))) * fall(t, 14.0);
        return crack * 1.4 + body + ring * 0.45;
    });
}

// Three beams, one after another: detuned pulses diving in pitch.
Sound fireHydraLaser()
{
    constexpr double HEAD_STARTS[] = {0.0, 0.025, 0.05};
    constexpr double HEAD_DETUNE[] = {1.0, 1.06, 0.94};
    Sound sound = silence(0.32);
    for (int h = 0; h < 3; ++h) {
        Phase beam;
        OnePole tone;
        const Sound head = render(0.26, [&](double t, size_t) {
            const double hz = sweep(t, 0.2, 1800.0, 500.0) * HEAD_DETUNE[h];
            return lowPass(tone, pulse(advance(beam, hz), hz, 0.3), 4000.0) * fall(t, 12.0);
        });
        mixInto(sound, head, HEAD_STARTS[h], 0.5f);
    }
    return sound;
}

// A bubbling wobble: a saw bent by a fast vibrato through a resonant filter
// that closes as the ball of plasma leaves.
Sound firePlasma()
{
    Phase wobble, body;
    BandPass wah;
    return render(0.45, [&](double t, size_t) {
        const double hz = 220.0 * (1.0 + 0.35 * sine(advance(wobble, 18.0)));
        const double raw = saw(advance(body, hz), hz);
        return bandPass(wah, raw, sweep(t, 0.35, 2400.0, 400.0), 4.0) * 1.6 * rise(t, 0.0, 0.005) * fall(t, 6.0);
    });
}

// A heavy, lower bark than the minigun's, with a metal clack as the next round comes in.
Sound fireChaingun()
{
    Phase body, metal;
    BandPass bark;
    OnePole clackFilter;
    return render(0.14, [&](double t, size_t i) {
        const double shot = bandPass(bark, noiseAt(i, 71), 1600.0, 1.2) * fall(t, 45.0);
        const double thud = sine(advance(body, 150.0)) * fall(t, 30.0);
        const double ring = sine(advance(metal, 2300.0)) * fall(t, 60.0);
        const double clack = t > 0.06 ? highPass(clackFilter, noiseAt(i, 72), 4000.0) * fall(t - 0.06, 200.0) : 0.0;
        return shot * 1.8 + thud * 0.3 + ring * 0.2 + clack * 0.4;
    });
}

// A mine let go: a clunk, a falling bloop, and a short beep as it arms.
Sound fireMines()
{
    Phase clunkTone, bloop, beep;
    OnePole clunkFilter, beepFilter;
    return render(0.4, [&](double t, size_t i) {
        const double clunk = lowPass(clunkFilter, noiseAt(i, 81), 700.0) * 2.0 * fall(t, 50.0)
                             + sine(advance(clunkTone, 240.0)) * fall(t, 35.0) * 0.6;
        const double drop = t > 0.02 ? sine(advance(bloop, sweep(t - 0.02, 0.18, 620.0, 160.0))) * fall(t - 0.02, 8.0) : 0.0;
        const double armed = rise(t, 0.28, 0.003) * (1.0 - rise(t, 0.337, 0.003));
        const double chirp = lowPass(beepFilter, pulse(advance(beep, 1760.0), 1760.0, 0.5), 5000.0) * armed;
        return clunk + drop * 0.8 + chirp * 0.35;
    });
}

// The great weapon: a whine charging up, then a deep launch and its roar.
Sound fireArmageddon()
{
    constexpr double CHARGE_SECONDS = 0.3;
    Phase charge, boom;
    OnePole chargeFilter, roarFilter, crackleFilter;
    return render(1.25, [&](double t, size_t i) {
        const double hz = sweep(t, CHARGE_SECONDS, 200.0, 2400.0);
        const double whine = lowPass(chargeFilter, saw(advance(charge, hz), hz), 6000.0)
                             * glide(t, CHARGE_SECONDS, 0.2, 1.0) * (1.0 - rise(t, CHARGE_SECONDS, 0.02));
        const double after = t - CHARGE_SECONDS;
        if (after <= 0.0)
            return whine;
        const double body = sine(advance(boom, sweep(after, 0.4, 90.0, 30.0))) * fall(after, 2.5);
        const double roar = lowPass(roarFilter, noiseAt(i, 91), sweep(after, 0.8, 2000.0, 200.0)) * 2.2 * fall(after, 2.2);
        const double crackle = noiseAt(i / 200, 92) > 0.5f ? highPass(crackleFilter, noiseAt(i, 93), 2000.0) * fall(after, 4.0) : 0.0;
        return whine + (body + roar + crackle * 0.4) * rise(after, 0.0, 0.002);
    });
}
