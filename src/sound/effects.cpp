#include "sound/effects.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include "files/whole_file.h"

namespace {

constexpr int BYTES_PER_STEREO_FRAME = 4;
constexpr int OUTPUT_CHANNELS = 2;

struct LoadedEffects {
    bool on = false;
    Mix_Chunk* chunks[SOUND_EFFECT_COUNT] = {};
    EffectMixer mixer;
};

// The audio thread reads it while the mixer runs; the game changes it only
// under SDL_LockAudio.
LoadedEffects loaded;

// SDL_mixer's last step, after the music and its own channels: the effects go on top.
void mixAfterMusic(void* data, Uint8* stream, int bytes)
{
    mixEffects(*static_cast<EffectMixer*>(data), reinterpret_cast<int16_t*>(stream), bytes / BYTES_PER_STEREO_FRAME);
}

void freeChunks()
{
    for (Mix_Chunk*& chunk : loaded.chunks) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

bool loadChunks(std::string& problem)
{
    for (int k = 0; k < SOUND_EFFECT_COUNT; ++k) {
        const std::string path = std::string(SOUND_EFFECT_FOLDER) + "/" + SOUND_EFFECT_NAMES[k] + ".wav";
        // The mixer would wait for ever on a named pipe in the file's place.
        const std::string notAFile = whyNotARegularFile(path.c_str());
        if (!notAFile.empty()) {
            problem = path + ": " + notAFile;
            return false;
        }
        loaded.chunks[k] = Mix_LoadWAV(path.c_str());
        if (!loaded.chunks[k]) {
            problem = path + ": " + Mix_GetError();
            return false;
        }
        // Loaded in the device's format: interleaved 16-bit stereo, the first channel read.
        const Mix_Chunk& chunk = *loaded.chunks[k];
        loaded.mixer.samples[k] = EffectSamples{reinterpret_cast<const int16_t*>(chunk.abuf),
                                                static_cast<int32_t>(chunk.alen / BYTES_PER_STEREO_FRAME), 2};
    }
    return true;
}

} // namespace

bool loadEffects(std::string& problem)
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (loaded.on)
        return true;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) {
        problem = "no audio device";
        return false;
    }
    if (format != AUDIO_S16SYS || channels != OUTPUT_CHANNELS) {
        problem = "the audio device is not 16-bit stereo";
        return false;
    }
    loaded.mixer = EffectMixer{};
    loaded.mixer.rate = rate;
    if (!loadChunks(problem)) {
        freeChunks();
        return false;
    }
    Mix_VolumeMusic(MUSIC_VOLUME_WITH_EFFECTS);
    Mix_SetPostMix(mixAfterMusic, &loaded.mixer);
    loaded.on = true;
    return true;
}

bool effectsLoaded() { return loaded.on; }

void playEffect(SoundEffect effect, float pan, float volume)
{
    if (!loaded.on)
        return;
    SDL_LockAudio();
    startEffect(loaded.mixer, effect, pan, volume);
    SDL_UnlockAudio();
}

void playEffects(const EffectRequest* requests, int count, const EngineRequest engines[ENGINE_VOICES])
{
    if (!loaded.on)
        return;
    SDL_LockAudio();
    for (int i = 0; i < count; ++i)
        startEffect(loaded.mixer, requests[i].effect, requests[i].pan, requests[i].volume);
    for (int p = 0; p < ENGINE_VOICES; ++p)
        steerEngine(loaded.mixer, p, engines[p].running, engines[p].pan, engines[p].volume);
    SDL_UnlockAudio();
}

void releaseEffects()
{
    if (!loaded.on)
        return;
    // Takes the audio lock itself: the effects are out of the mix once it returns.
    Mix_SetPostMix(nullptr, nullptr);
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    freeChunks();
    loaded.on = false;
}
