// A match set up as the game's start-up does, minus fonts, music and the
// configuration file, with the same content and masks.
#pragma once
#include <cstdint>
#include "script.h"
#include "sim/match_setup.h"

// The set-up lines' values before any: those of the game's default configuration.
MatchChoices runnerDefaults();
void applySetUp(MatchChoices& setUp, const Command& c);
// The window and the texture catalogue the ship masks are drawn with. On
// failure prints one line, starting with the tool's name, and returns false.
bool openHeadlessDisplay(const char* tool);
void closeHeadlessDisplay();
// Needs the window and the texture catalogue: ship masks are made from
// rotated copies drawn through OpenGL, exactly as in the game.
void buildHeadlessMatch(MatchState& m, MatchContent& c, const MatchChoices& setUp);
// The masks of ships a menu change brings in, drawn as the game's ship yard would.
void makeMasksOfChange(MatchContent& c, const MenuChange& change);
// x, y in pixels; the ship's arena flag and mask follow the new place and heading.
void placePlayer(MatchState& m, int player, const double place[5]);
// The control flags the game's keyboard reader would give for these keys.
ControlState controlsFor(const RunKeys& keys, bool firstFrame);
