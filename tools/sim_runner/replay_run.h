// Recordings in the runner: a script's match written as the game writes one
// (--record), and a recording played as fast as it goes and checked (--replay).
#pragma once
#include <string>
#include "headless_match.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "script.h"

constexpr int EXIT_DIVERGED = 1;
constexpr int EXIT_CANNOT_REPLAY = 2;

// Writes the header of the recording of a match just built from setUp with
// content c into the file already opened.
bool startRunnerRecording(ReplayWriter& w, const MatchChoices& setUp, MatchContent& c, std::string& error);

// A visit to the menu as a script's menu lines give it: each line leaves one
// sub-screen with its choices, the others' staying as they were in play.
struct ScriptedMenu {
    bool open = false;
    MenuOutcome visit;
    int32_t ships[PLAYER_COUNT] = {};
    int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {};
};

void addMenuLine(ScriptedMenu& menu, const MatchState& m, const Command& c);
// Makes the visit on the match as the game does, and returns it for a recording.
MenuOutcome makeScriptedOutcome(ScriptedMenu& menu, MatchState& m, MatchContent& c);

// Plays a loaded recording from its header on: the frame line of every Kth
// frame, then one verdict line ("cut":true for a recording cut short).
// Returns 0 when every checkpoint matched, EXIT_DIVERGED at the first that
// did not, EXIT_CANNOT_REPLAY when the masks differ.
int playReplay(const Replay& replay, int every);
// Plays a loaded recording stepping ahead, back and again at every frame
// (syncTest), then one verdict line. Returns 0 when every frame stepped again
// gave the same, EXIT_DIVERGED at the first that did not, EXIT_CANNOT_REPLAY
// when the masks differ.
int syncTestRecording(const Replay& replay, int depth);
