// The match's random source: a 15-bit generator whose state is part of the
// match, so a copy of the match draws what the original would.
#pragma once
#include <cstdint>

constexpr int RANDOM_MAX = 32767;

struct Random {
    uint32_t state = 1;
};

// Seeds the generator (start-up passes the calendar time in seconds) and
// discards two draws.
void seedRandom(Random& r, uint32_t seed);
// A fresh draw in 0..RANDOM_MAX.
int randomDraw(Random& r);
// a + (b - a) * r / 32767: both ends reachable.
double randomReal(Random& r, double a, double b);
// 0..n-1
int randomBelow(Random& r, int n);
// lo..hi
int randomInt(Random& r, int lo, int hi);
double pickInRange(Random& r, double lo, double hi);
int pickIntInRange(Random& r, int lo, int hi);
