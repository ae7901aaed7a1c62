// The match as a network session's game: the saved states, a step from both
// players' inputs at the agreed frame time, the checksum, the state as bytes
// (checked before it counts), and a second copy of the match that only
// confirmed frames step, from which the recording takes its checkpoints.
#pragma once
#include <cstdint>
#include <memory>
#include "app/game_replay.h"
#include "net/session.h"
#include "sim/match_state.h"
#include "sim/step_events.h"

// The tick of frame 0 of a network match; frame f is stepped at this plus f
// frame times. Both sides count from it, whatever their clocks say.
constexpr int32_t NET_FIRST_TICK_MS = 1000;

// One player's input, as the session carries it: that player's control
// flags, weapon cycling and Escape.
uint32_t packPlayerInput(const PlayerControls& controls, const WeaponCycling& cycling, bool escape);
// The flags a guess of the peer's input repeats: those held down, not the
// key-down edges (thrust pressed, weapon cycling, Escape).
uint32_t heldInputMask();
// Both players' inputs as the controls of a step; Escape when either pressed it.
ControlState controlsOfInputs(const uint32_t inputs[PLAYER_COUNT]);
// Whether player's input of a frame pressed Escape.
bool inputEscapes(uint32_t input);
int32_t tickOfFrame(int32_t frame, int32_t frameMs);

struct NetMatchGame {
    MatchState* live = nullptr;           // the match shown: guesses included
    const MatchContent* content = nullptr;
    std::unique_ptr<MatchState[]> slots;  // NET_SAVE_SLOTS
    std::unique_ptr<MatchState> confirmed;
    std::unique_ptr<MatchState> incoming; // the peer's bytes, until they pass the checks
    int32_t frameMs = NET_DEFAULT_FRAME_MS;
    GameReplay* recording = nullptr;      // takes the confirmed frames; nullptr: none
    int32_t desyncTestFrame = -1;         // this frame's steps nudge the shown match; -1 never
    // Told what the first step of each frame did; steps made again after a
    // rollback are not told, so nothing is shown or heard twice.
    void* context = nullptr;
    void (*firstStepShown)(void* context, const StepEvents& events) = nullptr;
    int64_t framesConfirmed = 0;
    // Confirmed frames after which the copy's checksum differed from the
    // shown match's: 0 unless a rollback went wrong or the match was nudged.
    int64_t confirmedDiffering = 0;
};

// Allocates the states, once, for a match held in live and played with content.
void prepareNetMatchGame(NetMatchGame& g, MatchState& live, const MatchContent& content);
// The copy starts as the match stands, after it was set up.
void beginConfirmedCopy(NetMatchGame& g);
NetGame netGameOf(NetMatchGame& g);
// Both sides' visit of a pause (mergeMenuVisits) made on the match and its
// copy, and recorded; returns what it did to the match.
StepEvents makeNetMenuVisit(NetMatchGame& g, const MenuOutcome& merged);
// After a mend the host's state is the match: the copy takes it too.
void takeMendedMatch(NetMatchGame& g);
