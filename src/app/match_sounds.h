// What a step of the match sounds like: the events it reported and the
// engines, made into effects placed left or right by where they happened.
// The plan is pure and kept apart from playing it. Call it once for each
// frame shown, so that a step taken again is not heard twice.
#pragma once
#include "sim/player.h"
#include "sim/step_events.h"
#include "sound/effects.h"

struct EngineInfo {
    bool thrusting = false;
    double x = 0.0; // world units
    bool alive = false;
};

struct StepSounds {
    int count = 0;
    EffectRequest sounds[STEP_EVENT_CAPACITY];
    EngineRequest engines[PLAYER_COUNT];
};

// 0 at the arena's left edge .. 1 at its right edge, held there beyond them.
float panOf(double x);
// 1 inside the arena; off it quieter, the further the quieter.
float volumeAt(const Vec2& position);
// The effect an event calls for; false when it has none.
bool effectOf(const MatchEvent& event, SoundEffect& effect);
// Events of one kind from one player in one step make one sound, as loud as
// the loudest of them and placed at their mean; a ramming is one sound for
// both ships.
void planStepSounds(const StepEvents& events, const EngineInfo engines[PLAYER_COUNT], StepSounds& plan);
// Plans and plays one shown frame's sounds; nothing without sound effects.
void playStepSounds(const StepEvents& events, const EngineInfo engines[PLAYER_COUNT]);
