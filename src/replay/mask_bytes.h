// A mask table as bytes, for sending it to a machine whose graphics driver
// draws the ship masks otherwise, and for reading it back there.
//
// Layout (integers little-endian): the 4 bytes "ZMSK", a uint16 version, then
// every mask in a fixed order (the blast discs, each map's planet slots, each
// ship type's turned masks), each as int32 width, height, offset x, offset y
// and its width * height cells (none when either side is 0 or less), one byte
// each; then the 8-byte mask checksum of the whole table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "sim/match_content.h"

constexpr uint16_t MASK_BYTES_VERSION = 1;
constexpr int32_t MASK_MAX_SIDE_PX = 1024; // larger than any picture of the game

// Every ship type's masks must have been made.
std::vector<uint8_t> maskTableBytes(const MatchContent& c);
// Takes the table from bytes into the content, whole or not at all. On
// damage, or a checksum that does not match the masks, returns false with one line.
bool readMaskTable(const std::vector<uint8_t>& bytes, MatchContent& c, std::string& error);
