// What every effect goes through before it is written: short fades at both
// ends, so that nothing clicks, and one common loudness, so that the game
// sets the balance between effects with its own volumes alone.
#pragma once
#include "synth.h"

constexpr float PEAK_CEILING = 0.891f;  // -1 dBFS: no sample is louder
constexpr float LOUDNESS_RMS = 0.2f;    // -14 dBFS: the RMS of the loudest window
constexpr double LOUDNESS_WINDOW_SECONDS = 0.05;
constexpr double FADE_IN_SECONDS = 0.002;
constexpr double FADE_OUT_SECONDS = 0.012;

// The RMS of the loudest LOUDNESS_WINDOW_SECONDS of the sound (of all of it when shorter).
double loudness(const Sound& sound);
// A one-shot effect: faded in and out, then brought to the common loudness
// under the peak ceiling.
void finishOneShot(Sound& sound);
// A loop: brought to the common loudness without fades, so that its end
// still joins its start.
void finishLoop(Sound& sound);
