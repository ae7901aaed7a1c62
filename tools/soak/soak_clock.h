// The game's clock with a count of its readings. Every frame reads the clock,
// the menus' frames included, so the count tells the key presser whether the
// game has looked at the keyboard since its last key.
#pragma once
#include <cstdint>

// A tick source for setTickSource: SDL's milliseconds, counted.
int32_t countedTicks();
// Readings so far; safe to call from any thread.
uint64_t tickReadings();
