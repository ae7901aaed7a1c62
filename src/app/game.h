// The game's start-up, frame loop and shutdown.
#pragma once
#include <memory>
#include "app/command_line.h"
#include "app/config_file.h"
#include "app/frame_cap.h"
#include "app/game_replay.h"
#include "draw/match_texts.h"
#include "gfx/text.h"
#include "pilot/pilot.h"
#include "sim/match_state.h"
#include "sim/step_events.h"
#include "sound/music.h"

constexpr const char* CONFIG_FILE = "config.cfg";
constexpr const char* MUSIC_FILE = "sound/zentavor.ogg";
constexpr int EXIT_START_FAILED = 1;
constexpr int EXIT_BAD_OPTIONS = 2; // options that cannot be followed, or a recording that cannot be replayed

// Told what each step and each menu visit reported, once the frame is drawn
// and before a menu opens: tools watch the game through this.
struct GameObserver {
    void* context = nullptr;
    void (*eventsShown)(void* context, const StepEvents& events) = nullptr;
};

struct Game {
    Settings settings;
    GameConfig config; // as read at start-up
    std::unique_ptr<MatchContent> content = std::make_unique<MatchContent>();
    std::unique_ptr<MatchState> match = std::make_unique<MatchState>();
    bool quitRequested = false;
    int32_t lastTicks = 0; // ms: the tick the last frame was measured from
    Fonts fonts;
    MatchTexts texts;
    MusicStream* music = nullptr;
    GameReplay replay;
    int exitStatus = 0; // what main returns
    std::unique_ptr<PilotSeats> pilots = std::make_unique<PilotSeats>();
    FrameCap cap; // -fps; uncapped unless the frame loop sets it
    bool saveConfigAtQuit = true; // false when config.cfg was refused at start-up, or a recording is watched
    GameObserver observer;
};

// Everything up to the first frame. On a failure that leaves the game unable
// to run, prints one line naming it to stderr and returns false.
bool startUp(Game& game, int argc, const char* const* argv);
// One pass of the frame loop.
void runPass(Game& game);
// The pass after the keyboard has been read into the controls: tests set the
// control flags themselves and call this.
void runPassFromControls(Game& game, const ControlState& controls);
// The match as it stands, its texts brought up to date, into the back buffer.
void drawGameFrame(Game& game, int32_t nowMs);
// What a shown frame (or the end of a menu visit) reported, to the sound
// effects and the observer; frames stepped but never shown are not heard.
void showFrameEvents(const Game& game, const StepEvents& events);
// One pass of a recording shown at its recorded pace (-replay).
void runReplayPass(Game& game);
// The frames until the players quit; a network match (-host, -join) instead
// when one was asked for, which sets the exit status.
void runFrameLoop(Game& game);
// Saves the settings (unless config.cfg was refused) and releases everything.
void shutDown(Game& game);
// Releases whatever start-up made, however far it got, without saving.
void releaseGame(Game& game);
