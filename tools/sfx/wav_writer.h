// Mono 16-bit PCM WAV files, the format SDL_mixer loads without a decoder.
#pragma once
#include <string>
#include "synth.h"

bool writeWav(const Sound& sound, const std::string& path);
