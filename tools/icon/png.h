// A minimal PNG writer: 8-bit RGBA, one image, no compression (stored
// deflate blocks), so that the icon needs no library beyond our own code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The CRC-32 that guards each PNG chunk (ISO 3309 polynomial, reflected).
uint32_t pngCrc32(const std::vector<unsigned char>& bytes);
// The Adler-32 that closes a zlib stream.
uint32_t adler32(const std::vector<unsigned char>& bytes);
// A zlib stream holding the bytes in stored (uncompressed) deflate blocks.
std::vector<unsigned char> zlibStored(const std::vector<unsigned char>& raw);

// rgba: width * height * 4 bytes, row by row, top row first, alpha not
// premultiplied. Returns false when the file cannot be written.
bool writePng(int width, int height, const std::vector<unsigned char>& rgba, const std::string& path);
