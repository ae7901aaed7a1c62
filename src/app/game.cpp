#include "app/game.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <malloc.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include "app/config_file.h"
#include "app/frame_cap.h"
#include "app/match_sounds.h"
#include "app/net_match.h"
#include "draw/scene.h"
#include "draw/catalogue_pictures.h"
#include "gfx/clock.h"
#include "gfx/sprite.h"
#include "sim/frame_step.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "sim/ticks.h"
#include "sound/effects.h"
#include "ui/controls.h"
#include "ui/menu.h"
#include "ui/stop_signals.h"

static bool fail(const char* what, const char* detail)
{
    std::fprintf(stderr, "zentavor: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
    return false;
}

static WindowRequest windowRequestOf(const Settings& s)
{
    WindowRequest request;
    request.width = s.screenWidth;
    request.height = s.screenHeight;
    request.fullScreen = s.fullScreen;
    request.desktopSize = s.desktopSize;
    request.sizeWithinScreen = s.sizeWithinScreen;
    request.vsync = s.vsync;
    return request;
}

// Options that cannot be followed and unreadable recordings stop the game
// before its window opens.
static bool readReplayOptions(Game& game)
{
    const Settings& s = game.settings;
    std::string error = s.problem;
    if (error.empty() && !s.replayFile.empty())
        game.replay.playing = loadReplay(s.replayFile, game.replay.replay, error);
    if (error.empty() && !s.recordFile.empty())
        openGameRecording(game.replay, s.recordFile, error);
    if (error.empty())
        return true;
    game.exitStatus = EXIT_BAD_OPTIONS;
    return fail(error.c_str(), nullptr);
}

// A file the game needs that is not there usually means it was started from
// another folder, as all its paths are relative to the working folder.
static bool failToLoad(const char* path, const char* reason)
{
    const bool missing = access(path, F_OK) != 0 && errno == ENOENT;
    std::fprintf(stderr, "zentavor: cannot load %s: %s%s\n", path, reason,
                 missing ? "; run the game from its folder, e.g. build/game, or use the installed launcher" : "");
    return false;
}

static bool startDisplay(Game& game, int argc, const char* const* argv)
{
    game.settings = parseCommandLine(argc, argv);
    if (!readReplayOptions(game))
        return false;
    const Settings& s = game.settings;
    if (!initVideo(windowRequestOf(s)))
        return fail("cannot open a window", SDL_GetError());
    catchStopSignals();
    const char* missing = nullptr;
    if (!loadTextureCatalogue(&missing))
        return failToLoad(missing, SDL_GetError());
    chooseSeed(game.replay);
    if (!openFonts(game.fonts))
        return failToLoad(FONT_FILE, TTF_GetError());
    return true;
}

static void readSettingsAndMusic(Game& game, GameConfig& config)
{
    game.quitRequested = false;
    const Settings& s = game.settings;
    soundInit(MUSIC_MIX_RATE, MUSIC_CHANNELS, 0, s.effectsOn ? EFFECTS_BUFFER_FRAMES : MUSIC_BUFFER_FRAMES);
    std::string problem;
    if (s.effectsOn && !loadEffects(problem))
        std::fprintf(stderr, "zentavor: no sound effects: %s\n", problem.c_str());
    // Watching a recording changes nobody's settings, and a refused
    // config.cfg is left as it is.
    const ConfigRead read = game.replay.playing ? ConfigRead{recordedConfig(game.replay.replay.header), false}
                                                : readConfig(CONFIG_FILE);
    config = read.config;
    game.config = read.config;
    game.saveConfigAtQuit = read.saveAtQuit;
    setUpInput(readKeyBindings(KEYS_FILE), game.settings.padsSwapped);
    if (game.settings.musicOn) {
        game.music = streamOpen(MUSIC_FILE, MUSIC_LOOP_NORMAL, 0, 0);
        streamPlay(MUSIC_FREE_CHANNEL, game.music);
    }
}

static void buildMatch(Game& game, const GameConfig& config)
{
    MatchContent& c = *game.content;
    buildContent(c, cataloguePictures());
    makeMasksOfShips(c, config.shipIndex, PLAYER_COUNT, rotatedCataloguePictures());
    MatchChoices choices;
    copyMatchChoices(config, choices);
    choices.seed = game.replay.seed;
    setUpMatch(*game.match, c, choices);
    game.texts.fonts = &game.fonts;
    refreshMatchTexts(game.texts, *game.match, c);
    baseColour = game.settings.baseColour;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (game.settings.cpu[p].on)
            seatPilot(*game.pilots, p, game.settings.cpu[p].level, game.replay.seed);
    setDrawColour(baseColour);
    game.lastTicks = ticksNow();
}

// Blocks from this size up are mapped on their own and returned when freed.
constexpr int LARGE_BLOCK_BYTES = 256 * 1024;

bool startUp(Game& game, int argc, const char* const* argv)
{
    // Every menu takes and frees pictures of several megabytes (the captured
    // frame, its texture and the driver's copy). By default the C library
    // raises its threshold after the first such free and keeps later ones in
    // the heap, where they fragment it and lift resident memory from menu to
    // menu; a fixed threshold gives them back to the system each time.
    mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES);
    game.exitStatus = EXIT_START_FAILED;
    if (!startDisplay(game, argc, argv))
        return false;
    GameConfig config;
    readSettingsAndMusic(game, config);
    buildMatch(game, config);
    std::string error;
    if (!startGameReplay(game.replay, game.settings.recordFile, *game.content, config, error)) {
        game.exitStatus = game.replay.playing ? EXIT_BAD_OPTIONS : EXIT_START_FAILED;
        return fail(error.c_str(), nullptr);
    }
    // Making the masks for a recording took a while; it is not the first frame's time.
    game.lastTicks = game.replay.startTicks = ticksNow();
    if (game.replay.playing)
        game.quitRequested = takeEventsAfterFrame(game.replay, *game.match, *game.content);
    game.exitStatus = 0;
    return true;
}

// The menu over the finished frame; afterwards what it changed takes effect,
// and the tick reference leaves the menu's time out.
void showFrameEvents(const Game& game, const StepEvents& events)
{
    const MatchState& m = *game.match;
    EngineInfo engines[PLAYER_COUNT];
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const Player& player = m.players[p];
        const PlayerControls& c = m.controls.players[p];
        engines[p].alive = player.lifeState == ALIVE;
        engines[p].thrusting = engines[p].alive && (c.thrust || c.boostForward);
        engines[p].x = player.body.position.x;
    }
    playStepSounds(events, engines);
    if (game.observer.eventsShown)
        game.observer.eventsShown(game.observer.context, events);
}

static void openMenu(Game& game)
{
    MatchState& m = *game.match;
    const MenuOutcome visit = runMenu(m, *game.content, game.fonts);
    showFrameEvents(game, finishMenuVisit(m, *game.content, visit));
    game.quitRequested = visit.quit;
    recordMenuOutcome(game.replay, visit);
    game.lastTicks = ticksNow();
}

void drawGameFrame(Game& game, int32_t nowMs)
{
    refreshMatchTexts(game.texts, *game.match, *game.content);
    drawMatchFrame(*game.match, *game.content, game.texts, nowMs);
}

void runPass(Game& game)
{
    ControlState controls;
    readGameControls(controls);
    // The one place where a computer player's flags replace its keys, so that
    // whatever reads the controls after this sees what the simulation does.
    flyPilots(*game.pilots, *game.match, *game.content, controls);
    runPassFromControls(game, controls);
}

void runPassFromControls(Game& game, const ControlState& controls)
{
    MatchState& m = *game.match;
    const int32_t now = ticksNow();
    const int32_t frameTime = ticksBetween(game.lastTicks, now);
    game.lastTicks = ticksNow();
    recordFrame(game.replay, m, RecordedFrame{controls, frameTime, now});
    const StepEvents events = stepMatch(m, *game.content, controls, frameTime, now);
    drawGameFrame(game, now);
    showFrameEvents(game, events);
    if (controls.escape || matchLost(m))
        openMenu(game);
    else
        waitForNextFrame(game.cap);
    presentFrame();
}

void runFrameLoop(Game& game)
{
    if (game.settings.net.mode != NetMode::NONE) {
        game.exitStatus = runNetMatch(game);
        return;
    }
    game.cap = makeFrameCap(game.settings.frameCap);
    while (!game.quitRequested) {
        // A stop asked by the system ends the run as the menu's quit does.
        if (stopRequested()) {
            game.quitRequested = true;
            break;
        }
        if (game.replay.playing) {
            runReplayPass(game);
            continue;
        }
        runPass(game);
    }
}

void shutDown(Game& game)
{
    finishGameReplay(game.replay, *game.match);
    if (game.saveConfigAtQuit)
        writeConfig(CONFIG_FILE, configOf(*game.match));
    releaseGame(game);
}

void releaseGame(Game& game)
{
    abandonReplayWriter(game.replay.writer);
    freeMatchTexts(game.texts);
    freeTextureCatalogue();
    closeFonts(game.fonts);
    releaseEffects();
    soundShutdown(game.music);
    SDL_Quit();
}
