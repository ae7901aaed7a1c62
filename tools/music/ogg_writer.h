// Encodes a stereo mix as Ogg Vorbis with libvorbisenc.
#pragma once
#include <string>
#include "mix.h"

bool writeOgg(const Mix& mix, const std::string& path, float quality);
