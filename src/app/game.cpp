#include "app/game.h"

#include <SDL/SDL.h>
#include <malloc.h>
#include <cstdio>
#include <ctime>
#include "app/config_file.h"
#include "app/frame_cap.h"
#include "draw/scene.h"
#include "gfx/catalogue_pictures.h"
#include "gfx/clock.h"
#include "gfx/sprite.h"
#include "sim/frame_step.h"
#include "sim/match_setup.h"
#include "sim/match_rules.h"
#include "sim/random.h"
#include "sim/weapons.h"
#include "ui/controls.h"
#include "ui/menu.h"

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

static bool startDisplay(Game& game, int argc, const char* const* argv)
{
    fillKillMessages(*game.match);
    game.settings = parseCommandLine(argc, argv);
    const Settings& s = game.settings;
    if (s.problem[0])
        return fail(s.problem, nullptr);
    if (!initVideo(windowRequestOf(s)))
        return fail("cannot open a window", SDL_GetError());
    const char* missing = nullptr;
    if (!loadTextureCatalogue(&missing))
        return fail("cannot load image", missing);
    seedRandom(static_cast<uint32_t>(std::time(nullptr)));
    if (!openFonts(game.fonts))
        return fail("cannot open font", "font.ttf");
    return true;
}

static void readSettingsAndMusic(Game& game, GameConfig& config)
{
    MatchState& m = *game.match;
    m.quitRequested = false;
    soundInit(MUSIC_MIX_RATE, MUSIC_CHANNELS, 0);
    config = readConfig(CONFIG_FILE);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        std::snprintf(m.nameBuffers[p], NAME_BUFFER_SIZE, "%s", config.names[p]);
    m.livesSetting = config.lives;
    if (game.settings.musicOn) {
        game.music = streamOpen(MUSIC_FILE, MUSIC_LOOP_NORMAL, 0, 0);
        streamPlay(MUSIC_FREE_CHANNEL, game.music);
    }
}

static void buildMatch(Game& game, const GameConfig& config, int argc, const char* const* argv)
{
    MatchState& m = *game.match;
    buildTables(m, cataloguePictures());
    putMapInPlay(m, config.mapIndex);
    connectMatchTexts(game.texts, m, game.fonts);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        m.players[p].name = m.nameBuffers[p];
    renderNameLabels(game.texts);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        setUpPlayer(m, p, config.shipIndex[p], config.weapons[p], rotatedCataloguePictures());
    setUpShieldBubbles(m);
    m.arenaRect = makeArenaRect();
    buildBlastMasks(m.blastMasks);
    game.settings = parseCommandLine(argc, argv);
    baseColour = game.settings.baseColour;
    m.controls = ControlState{};
    setDrawColour(baseColour);
    m.lastTicks = ticksNow();
    placeBothPlayers(m);
    m.bannerTimer = 0;
    renderMatchLabels(game.texts);
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
    if (!startDisplay(game, argc, argv))
        return false;
    GameConfig config;
    readSettingsAndMusic(game, config);
    buildMatch(game, config, argc, argv);
    return true;
}

void applySelectedMap(MatchState& m)
{
    if (m.selectedMapIndex == m.currentMapIndex)
        return;
    putMapInPlay(m, m.selectedMapIndex);
}

// The menu over the finished frame; afterwards the map chosen in it, a new
// match for a lost one, and a tick reference that leaves the menu's time out.
static void openMenu(Game& game)
{
    MatchState& m = *game.match;
    const int32_t mapBefore = m.currentMapIndex;
    runMenu(m, game.fonts);
    applySelectedMap(m);
    // The menu placed the ships on the old map's spawn points, which may lie
    // inside a planet of the new one; they start from the new map's instead.
    if (m.currentMapIndex != mapBefore)
        placeBothPlayers(m);
    if (matchLost(m))
        startNewMatch(m);
    m.lastTicks = ticksNow();
}

void runPass(Game& game)
{
    readGameControls(game.match->controls);
    runPassFromControls(game);
}

void runPassFromControls(Game& game)
{
    MatchState& m = *game.match;
    const int32_t now = ticksNow();
    m.frameTime = now - m.lastTicks;
    m.lastTicks = ticksNow();
    simulateFrame(m, m.frameTime, now);
    drawMatchFrame(m, game.texts, now);
    if (m.controls.escape || matchLost(m))
        openMenu(game);
    presentFrame();
}

void runFrameLoop(Game& game)
{
    FrameCap cap = makeFrameCap(game.settings.frameCap);
    while (!game.match->quitRequested) {
        runPass(game);
        waitForNextFrame(cap);
    }
}

void shutDown(Game& game)
{
    writeConfig(CONFIG_FILE, configOf(*game.match));
    freeMatchTexts(game.texts);
    freeTextureCatalogue();
    closeFonts(game.fonts);
    soundShutdown(game.music);
    SDL_Quit();
}
