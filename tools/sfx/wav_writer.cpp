#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int BYTES_PER_SAMPLE = 2;
constexpr int CHANNELS = 1;
constexpr int FORMAT_CHUNK_BYTES = 16;
constexpr int PCM_FORMAT = 1;
constexpr int HEADER_BYTES_AFTER_SIZE = 36; // the RIFF size counts these and the data

void putLittle(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

bool writeWav(const Sound& sound, const std::string& path)
{
    const uint32_t dataBytes = static_cast<uint32_t>(sound.size() * BYTES_PER_SAMPLE);
    std::string bytes = "RIFF";
    putLittle(bytes, HEADER_BYTES_AFTER_SIZE + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLittle(bytes, FORMAT_CHUNK_BYTES, 4);
    putLittle(bytes, PCM_FORMAT, 2);
    putLittle(bytes, CHANNELS, 2);
    putLittle(bytes, SAMPLE_RATE, 4);
    putLittle(bytes, SAMPLE_RATE * CHANNELS * BYTES_PER_SAMPLE, 4);
    putLittle(bytes, CHANNELS * BYTES_PER_SAMPLE, 2);
    putLittle(bytes, 8 * BYTES_PER_SAMPLE, 2);
    bytes += "data";
    putLittle(bytes, dataBytes, 4);
    for (const float s : sound) {
        const long value = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        putLittle(bytes, static_cast<uint32_t>(static_cast<int16_t>(value)), 2);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
