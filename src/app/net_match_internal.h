// What the network match's source files share; the game uses net_match.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "app/net_match.h"

// Milliseconds on the steady clock: whole for the session, fine for pacing.
int64_t clockMs();
double preciseClockMs();

// Every event but Paused (the frame loop's) and Resumed (the pause's).
void handleNetEvent(NetMatch& n, const NetEvent& e);
// Both menus, this side's player's visit sent, and the wait for the other
// side's; returns once the match goes on or is over.
void runNetPause(NetMatch& n, Game& game, const NetEvent& paused);

// Screens, drawn into the back buffer; the caller presents.
void drawConnectScreen(NetMatch& n, const Game& game, const std::vector<std::string>& addresses);
// Over the match frame: waiting for the other side, a desync or a mend, the statistics.
void drawMatchOverlays(NetMatch& n, const Game& game, int64_t nowMs);
// Over the match frame as it stopped: lines centred in the playfield.
void drawCentredNotice(NetMatch& n, const Game& game, const char* first, const char* second);
