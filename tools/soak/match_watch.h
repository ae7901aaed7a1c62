// Watches the matches of a running game: when each starts and ends, the
// texture slots in use at both moments, and the changes of map, ships and
// weapons that the menus make.
//
// A match ends in the frame where a player loses the last life; the count is
// taken right there, when the game shows that frame's lives event, after it has
// re-rendered its lives label and before the menu of the lost match opens. A
// match starts when the lives are reset (a new game from the menu, or start-up);
// its count is taken after that frame, once the menu has released its texts.
// Every start must show the count of the very first one, and every end the
// count of its start: a texture kept by the menu, a label or a ship change
// would raise one of them.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>
#include "app/game.h"

struct MatchTally {
    int finished = 0;       // matches played until a player had no lives
    int abandoned = 0;      // replaced by a new match from the menu before that
    int mapChanges = 0;
    int shipChanges = 0;    // per player
    int weaponChanges = 0;  // per slot
    int firstStartTextures = -1; // -1: no match started yet
    int lastEndTextures = -1;    // -1: no match finished yet
};

struct MatchWatch {
    const MatchState* match = nullptr;
    std::atomic<uint64_t>* lostSignal = nullptr; // raised when a match is lost
    bool startPending = false;
    bool inPlay = false;   // a match has started and not yet ended
    bool endSeen = false;
    int endTextures = 0;
    int startTextures = -1; // of the match in play
    int32_t mapIndex = 0;
    int32_t ships[PLAYER_COUNT] = {};
    int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {};
};

// Makes the watch the game's observer. Called after every start-up; the match
// in play counts as just started.
void watchMatch(MatchWatch& watch, Game& game, std::atomic<uint64_t>& lostSignal);
// What the game shows the watch of one step or menu visit.
void noteEvents(MatchWatch& watch, const StepEvents& events);
// After each pass of the frame loop: settles the matches that ended or started in it.
// A texture count that differs is added to failures.
void notePass(MatchWatch& watch, MatchTally& tally, std::vector<std::string>& failures);
