// The instruments of the piece. Each plays one note into a mix; times are
// in frames, pitches in MIDI note numbers (69 = A 440 Hz).
#pragma once
#include <cstddef>
#include "mix.h"

struct NoteEvent {
    size_t start = 0;  // frame
    size_t length = 0; // frames the key is held
    double pitch = 0.0;
    float velocity = 1.0f; // 0..1
};

double frequencyOf(double pitch);

void playBass(Mix& mix, const NoteEvent& note);
void playLead(Mix& mix, const NoteEvent& note);
void playPluck(Mix& mix, const NoteEvent& note, float pan);
void playPad(Mix& mix, const NoteEvent& note, float pan);
void playKick(Mix& mix, size_t frame, float velocity);
void playSnare(Mix& mix, size_t frame, float velocity);
void playHat(Mix& mix, size_t frame, float velocity, bool open);
void playTom(Mix& mix, size_t frame, double pitch, float velocity);
