// The looping music, on SDL_mixer. Stands where the game once called FMOD:
// the same three operations, and no failure ever stops the game.
#pragma once

constexpr int MUSIC_MIX_RATE = 44100;
constexpr int MUSIC_CHANNELS = 64;
constexpr int MUSIC_LOOP_NORMAL = 2;
constexpr int MUSIC_FREE_CHANNEL = -1;
constexpr int MUSIC_BUFFER_FRAMES = 4096; // 93 ms at 44.1 kHz: plenty for music alone

struct MusicStream;

// Opens the audio device, mixing bufferFrames at a time; without one the game stays silent.
bool soundInit(int mixRate, int channels, unsigned flags, int bufferFrames);
// nullptr when there is no device or the file cannot be read.
MusicStream* streamOpen(const char* path, int mode, int offset, int length);
// Plays the stream from its start, looping for ever with no further calls.
bool streamPlay(int channel, MusicStream* stream);
void soundShutdown(MusicStream* stream);
