// The game's one random source: a 15-bit generator seeded once.
#pragma once
#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// Seeds the generator (start-up passes the calendar time in seconds) and
// discards two draws.
void seedRandom(uint32_t seed);
// Where the sequence stands; equal states give equal draws from here on.
uint32_t randomPosition();
// A fresh draw in 0..RANDOM_MAX.
int randomDraw();
// a + (b - a) * r / 32767: both ends reachable.
double randomReal(double a, double b);
// 0..n-1
int randomBelow(int n);
// lo..hi
int randomInt(int lo, int hi);
double pickInRange(double lo, double hi);
int pickIntInRange(int lo, int hi);
