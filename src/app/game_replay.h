// The game's side of recordings: writing one while the players play
// (-record FILE), and showing one at its recorded pace (-replay FILE).
#pragma once
#include <cstdint>
#include <string>
#include "app/config_file.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"

struct GameReplay {
    bool recording = false;
    ReplayWriter writer;
    bool playing = false;
    Replay replay;
    ReplayCursor cursor;
    ReplayEvent next;        // read ahead: the event the next pass starts from
    uint32_t seed = 0;       // the game's random seed
    int32_t startTicks = 0;  // wall clock when the replay started
    int64_t shownMs = 0;     // recorded play time replayed so far
    bool diverged = false;
};

// The seed of the run: the recording's when replaying, else the calendar time.
uint32_t chooseSeed(GameReplay& r);
// The settings a recorded match started from.
GameConfig recordedConfig(const ReplayHeader& h);
// -record FILE, before the window opens: the file is created (see
// openReplayFile). On failure returns false with one line.
bool openGameRecording(GameReplay& r, const std::string& recordFile, std::string& error);
// Once the match is built: the recording's masks compared with ours, or the
// new recording's header written; either way every ship type's masks are
// made, as the checksum covers them all. On failure returns false with one line.
bool startGameReplay(GameReplay& r, const std::string& recordFile, MatchContent& c, const GameConfig& config,
                     std::string& error);
// The frame about to be played on match m, with the controls as the simulation
// reads them. A recording that cannot be written stops, said in one line on
// stderr, and the match goes on.
void recordFrame(GameReplay& r, const MatchState& m, const RecordedFrame& frame);
void recordMenuOutcome(GameReplay& r, const MenuOutcome& visit);
// Ends the recording at shutdown; a failure is said in one line on stderr.
void finishGameReplay(GameReplay& r, const MatchState& m);
// What the recording holds after the frame just played: menu visits are made
// again and checkpoints compared. Returns true at the recording's end.
bool takeEventsAfterFrame(GameReplay& r, MatchState& m, const MatchContent& c);
