// The sound effects' own mixer, free of SDL so that it can be tested: a
// fixed set of voices for each kind of effect, panned, and an engine loop per
// player, all added over the music already in the output, under a limiter
// that keeps every sample below full scale however many play at once.
#pragma once
#include <cstdint>
#include "sound/effect_kinds.h"

constexpr int MAX_VOICES_PER_KIND = 4;
constexpr int ENGINE_VOICES = 2; // one for each player
constexpr float OUTPUT_CEILING = 0.97f; // of full scale: the loudest the music and effects reach together
// Of full scale: however many effects play, together they peak no higher,
// below the music's own peaks, so that heavy fire never buries the music.
constexpr float EFFECTS_CEILING = 0.5f;

// One effect's samples: count frames, each a 16-bit sample of its first
// channel, stride samples apart (2 in the mixer's interleaved stereo).
struct EffectSamples {
    const int16_t* frames = nullptr;
    int32_t count = 0;
    int32_t stride = 1;
};

struct Voice {
    int32_t position = -1;     // the next frame to play; -1: silent
    float left = 0.0f;         // gains
    float right = 0.0f;
    uint32_t startOrder = 0;   // the mixer's count of starts when it began; the lowest is the oldest
    // A sound this voice was cut off from, faded out over a few milliseconds
    // so that the cut does not click.
    int32_t tailPosition = -1;
    float tailLeft = 0.0f;
    float tailRight = 0.0f;
    int32_t tailFrames = 0;    // left to fade
};

struct EngineVoice {
    int32_t position = 0;
    float left = 0.0f;         // gains now, gliding towards the targets
    float right = 0.0f;
    float targetLeft = 0.0f;
    float targetRight = 0.0f;
    int32_t holdFrames = 0;    // the loop falls silent when no word comes for this long
};

struct EffectMixer {
    int32_t rate = 44100; // output frames a second
    EffectSamples samples[SOUND_EFFECT_COUNT];
    Voice voices[SOUND_EFFECT_COUNT][MAX_VOICES_PER_KIND];
    EngineVoice engines[ENGINE_VOICES];
    uint32_t starts = 0;
    float limiterGain = 1.0f;
};

// Voices an effect of this kind may have at once; a new one replaces the oldest.
int voicesOf(SoundEffect effect);
// Plays an effect from its start, panned 0 (hard left) .. 1 (hard right), at
// volume 0..1. The engine loop has no voices here: steerEngine plays it.
void startEffect(EffectMixer& mixer, SoundEffect effect, float pan, float volume);
// A player's engine loop: running or not, where, how loud. It fades in and
// out, and falls silent by itself when no word comes for a quarter second,
// as while a menu is open.
void steerEngine(EffectMixer& mixer, int player, bool running, float pan, float volume);
// Adds the effects to frames of interleaved 16-bit stereo that already hold the music.
void mixEffects(EffectMixer& mixer, int16_t* stereo, int frames);
