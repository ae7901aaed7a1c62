#include "sound/music.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include "files/whole_file.h"

struct MusicStream {
    Mix_Music* music = nullptr;
};

static bool audioOpen = false;

bool soundInit(int mixRate, int channels, unsigned /*flags*/, int bufferFrames)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_OGG);
    // Mix_OpenAudio's channel count is speakers (stereo); the mixing channels come after.
    if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, bufferFrames) != 0)
        return false;
    Mix_AllocateChannels(channels);
    audioOpen = true;
    return true;
}

MusicStream* streamOpen(const char* path, int /*mode*/, int /*offset*/, int /*length*/)
{
    // The mixer would wait for ever on a named pipe in the file's place.
    if (!audioOpen || !whyNotARegularFile(path).empty())
        return nullptr;
    Mix_Music* music = Mix_LoadMUS(path);
    if (!music)
        return nullptr;
    return new MusicStream{music};
}

bool streamPlay(int /*channel*/, MusicStream* stream)
{
    // -1 loops: the mixer starts the file again at its end, for ever.
    return stream && Mix_PlayMusic(stream->music, -1) == 0;
}

void soundShutdown(MusicStream* stream)
{
    if (stream) {
        Mix_HaltMusic();
        Mix_FreeMusic(stream->music);
        delete stream;
    }
    if (audioOpen)
        Mix_CloseAudio();
    audioOpen = false;
    // Mix_Quit frees its sound-font list without forgetting it; clearing the
    // list first lets the mixer be started again in the same process.
    Mix_SetSoundFonts(nullptr);
    Mix_Quit();
}
