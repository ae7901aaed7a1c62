// A match set up as the game's start-up does, minus fonts, music and the
// configuration file, and stepped as the frame loop does, minus drawing and
// the menu.
#pragma once
#include <cstdint>
#include "script.h"
#include "sim/match_state.h"

// The set-up lines' values; the defaults are those of the game's default configuration.
struct RunnerSetUp {
    char names[PLAYER_COUNT][NAME_BUFFER_SIZE] = {"Nova", "Vega"};
    uint32_t seed = 1;
    int mapIndex = 0;
    int lives = DEFAULT_LIVES;
    int shipIndex[PLAYER_COUNT] = {0, 1};
    int weapons[PLAYER_COUNT][WEAPON_SLOTS] = {{1, 3, 5, 8, 0}, {7, 2, 4, 6, 9}};
};

void applySetUp(RunnerSetUp& setUp, const Command& c);
// The window and the texture catalogue the ship masks are drawn with. On
// failure prints one line, starting with the tool's name, and returns false.
bool openHeadlessDisplay(const char* tool);
void closeHeadlessDisplay();
// Needs the window and the texture catalogue: ship masks are made from
// rotated copies drawn through OpenGL, exactly as in the game.
void buildHeadlessMatch(MatchState& m, const RunnerSetUp& setUp);
// x, y in pixels; the ship's arena flag and mask follow the new place and heading.
void placePlayer(MatchState& m, int player, const double place[5]);
// The control flags the game's keyboard reader would give for these keys.
ControlState controlsFor(const RunKeys& keys, bool firstFrame);
// One pass of the frame loop at time nowMs; the two state changes that
// drawing makes (an ended explosion, an ended impact) happen as they would there.
void runHeadlessFrame(MatchState& m, const ControlState& controls, int dtMs, int32_t nowMs);
