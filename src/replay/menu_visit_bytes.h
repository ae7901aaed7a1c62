// A menu visit as bytes, the same in a recording and in the message a
// network match sends the other side when its player leaves the menu:
// a varint count of changes, each a kind byte and its values a byte each
// (ships: one per player; weapons: player 1's five slots, then player 2's;
// map: one), then a flags byte (1 a new match, 2 quit).
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "replay/byte_coding.h"
#include "sim/menu_outcome.h"

constexpr uint8_t MENU_NEW_MATCH = 1;
constexpr uint8_t MENU_QUIT = 2;
constexpr uint64_t MAX_MENU_CHANGES = 1u << 16; // a sub-screen left every second for 18 hours
// The longest change: its kind and both players' weapon slots.
constexpr size_t MENU_CHANGE_MAX_BYTES = 1 + PLAYER_COUNT * WEAPON_SLOTS;

enum class MenuVisitRead { WHOLE, TRUNCATED, DAMAGED };

// The visit's bytes after those already in out.
void putMenuVisit(std::vector<uint8_t>& out, const MenuOutcome& visit);
// A visit from in, every ship, weapon and map in range; DAMAGED with what is
// wrong in what, TRUNCATED when the bytes end first.
MenuVisitRead getMenuVisit(ByteReader& in, MenuOutcome& visit, std::string& what);
// count values of a byte each, each below limit; false when the bytes end first.
bool getIndices(ByteReader& in, int32_t* values, int count, int limit, bool& inRange);
