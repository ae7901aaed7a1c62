// Kills, crashes, rammings, the message banner and when a match is lost.
#pragma once
#include "sim/match_state.h"
#include "sim/step_events.h"

// A crash is announced as the victim's name followed by this.
constexpr const char* CRASH_TEXT = " tries to land";
constexpr const char* RAMMING_TEXT = "Ouch! Thats gotta hurt";
// Two of the longest names and the longest taunt fit.
constexpr int MESSAGE_BUFFER_SIZE = 2 * (NAME_BUFFER_SIZE - 1) + sizeof(KillMessage::verb) + sizeof(KillMessage::phrase);

// A kill by the other player's shot scores and draws a taunt; one's own shot scores nothing.
void announceKill(MatchState& m, const MatchContent& c, StepEvents& events, int killer, int victim);
void announceCrash(MatchState& m, StepEvents& events, int victim);
void announceRamming(MatchState& m, StepEvents& events);
// What the banner says, made from the match: a restored match shows its own.
void bannerText(const MatchState& m, const MatchContent& c, char (&text)[MESSAGE_BUFFER_SIZE]);
bool matchLost(const MatchState& m);
