// Kills, crashes, rammings, the message banner and new matches.
#pragma once
#include "sim/match_state.h"

// A crash is announced as the victim's name followed by this.
constexpr const char* CRASH_TEXT = " tries to land";
constexpr const char* RAMMING_TEXT = "Ouch! Thats gotta hurt";

void showMessage(MatchState& m, const char* text);
void announceKill(MatchState& m, int killer, int victim);
void announceCrash(MatchState& m, int victim);
void announceRamming(MatchState& m);
void notifyLivesChanged(MatchState& m, int player);
void notifyKillsChanged(MatchState& m, int player);
void notifyWeaponChanged(MatchState& m, int player);
// Both players restored and placed apart, lives reset, kills 0, slot 0, all shots freed,
// every label rendered again.
void startNewMatch(MatchState& m);
bool matchLost(const MatchState& m);
