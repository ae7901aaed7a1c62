// The sound effects on SDL_mixer: loaded from the game folder only when
// asked for, mixed over the music by their own mixer, played by kind. Knows
// nothing of the match: callers say what to play, where and how loud. Until
// the effects are loaded every call here does nothing.
#pragma once
#include <string>
#include "sound/effect_kinds.h"
#include "sound/effect_mixer.h"

// Frames of each audio buffer with effects on: 11.6 ms at 44.1 kHz, so that
// an effect asked for in one frame is heard within two buffers.
constexpr int EFFECTS_BUFFER_FRAMES = 512;
// Of SDL_mixer's 128: the music steps back to leave the effects room.
constexpr int MUSIC_VOLUME_WITH_EFFECTS = 96;

struct EffectRequest {
    SoundEffect effect = SoundEffect::MENU_MOVE;
    float pan = 0.5f;    // 0 hard left .. 1 hard right
    float volume = 1.0f; // 0..1
};

struct EngineRequest {
    bool running = false;
    float pan = 0.5f;
    float volume = 1.0f;
};

// Loads every effect from SOUND_EFFECT_FOLDER and starts mixing them in.
// Refuses, with a reason and nothing loaded, when the audio device is not
// open or not 16-bit stereo, or when a file cannot be read.
bool loadEffects(std::string& problem);
bool effectsLoaded();
void playEffect(SoundEffect effect, float pan, float volume);
// A step's effects and both engines together, under one lock of the audio thread.
void playEffects(const EffectRequest* requests, int count, const EngineRequest engines[ENGINE_VOICES]);
// Stops mixing and frees the effects; the music plays on at its own volume.
void releaseEffects();
