// zentavor-soak: plays the real game in this folder for a while with random
// keys of both players and the menus, and checks that it keeps running, that
// its memory stays level and that matches give back their texture slots.
// When the random keys quit the game through its menu, the game is shut down
// and started again in the same process.
#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include "app/game.h"
#include "gfx/clock.h"
#include "gfx/texture.h"
#include "key_presser.h"
#include "match_watch.h"
#include "sim/random.h"
#include "ui/stop_signals.h"
#include "soak_clock.h"
#include "soak_config.h"
#include "soak_options.h"
#include "soak_report.h"

namespace {

constexpr std::chrono::seconds PROGRESS_EVERY{5};
const char* const GAME_ARGS[] = {"zentavor", "-w", "-nm"};
constexpr int GAME_ARG_COUNT = sizeof GAME_ARGS / sizeof GAME_ARGS[0];

struct SoakRun {
    SoakOptions options;
    SoakClock::time_point begun;
    SoakClock::time_point deadline;
    SoakClock::time_point nextProgress;
    PresserSignals signals;
    KeyPresser presser;
    std::unique_ptr<Game> game;
    MatchWatch watch;
    SoakFigures figures;
};

int secondsSince(SoakClock::time_point start)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(SoakClock::now() - start).count());
}

bool startGame(SoakRun& run)
{
    run.game = std::make_unique<Game>();
    if (!startUp(*run.game, GAME_ARG_COUNT, GAME_ARGS)) {
        const bool again = run.figures.restarts > 0;
        run.figures.failures.emplace_back(again ? "the game did not start again" : "the game did not start");
        releaseGame(*run.game);
        run.game.reset();
        return false;
    }
    // The game seeds from the calendar; a fixed seed makes its draws repeatable.
    seedRandom(run.game->match->random, run.options.seed + static_cast<uint32_t>(run.figures.restarts));
    watchMatch(run.watch, *run.game, run.signals.matchesLost);
    return true;
}

void endGame(SoakRun& run)
{
    shutDown(*run.game);
    run.game.reset();
    const int left = liveTextureCount();
    if (left != 0)
        run.figures.failures.emplace_back("shutDown left " + std::to_string(left) + " texture slots in use");
}

void sampleMemory(SoakRun& run)
{
    SoakFigures& f = run.figures;
    const MemoryReading reading = readResidentMemory();
    f.elapsedSeconds = secondsSince(run.begun);
    noteMemory(f, reading);
    if (SoakClock::now() < run.nextProgress)
        return;
    run.nextProgress += PROGRESS_EVERY;
    printProgress(f, reading, liveTextureCount());
}

void afterPass(SoakRun& run)
{
    run.signals.passes.fetch_add(1);
    run.signals.currentMap = run.game->match->currentMapIndex;
    notePass(run.watch, run.figures.tally, run.figures.failures);
    // Past the deadline the presser is leaving the menus, which is not play.
    if (SoakClock::now() < run.deadline)
        sampleMemory(run);
}

// Until the deadline, or a stop asked by the system (Ctrl+C, kill), which
// the game meets as it would alone: it leaves its menus and quits.
void playUntilDeadline(SoakRun& run)
{
    while (SoakClock::now() < run.deadline && !stopRequested()) {
        runPass(*run.game);
        afterPass(run);
        if (run.game->quitRequested && SoakClock::now() < run.deadline && !stopRequested()) {
            endGame(run);
            run.figures.restarts += 1;
            if (!startGame(run))
                return;
        }
    }
}

void finishRun(SoakRun& run)
{
    stopKeyPresser(run.presser, run.signals);
    SoakFigures& f = run.figures;
    f.elapsedSeconds = secondsSince(run.begun);
    f.keysPressed = run.signals.keysPressed.load();
    f.menuVisits = run.signals.menuVisits.load();
    if (run.game)
        endGame(run);
    checkMemoryGrowth(f);
}

// Plays for the time asked; false when the soak could not run at all.
bool soak(SoakRun& run)
{
    run.figures.warmupSeconds = warmupSecondsFor(run.options);
    setTickSource(countedTicks);
    if (!startGame(run))
        return false;
    run.begun = SoakClock::now();
    run.deadline = run.begun + std::chrono::seconds(run.options.seconds);
    run.nextProgress = run.begun + PROGRESS_EVERY;
    std::string error;
    if (!startKeyPresser(run.presser, run.signals, run.options.seed, run.deadline, error)) {
        run.figures.failures.push_back(error);
        endGame(run);
        return false;
    }
    playUntilDeadline(run);
    finishRun(run);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    prepareXForThreads();
    SoakRun run;
    std::string error;
    if (!parseSoakOptions(argc, argv, run.options, error)) {
        std::fprintf(stderr, "zentavor-soak: %s\n%s", error.c_str(), soakUsage());
        return 2;
    }
    if (run.options.showHelp) {
        std::printf("%s", soakUsage());
        return 0;
    }
    // No sound device is needed to play; the music is off anyway.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // From here on a stop asked by the system ends the soak in order, and
    // config.cfg gets its own lives back.
    catchStopSignals();
    SavedConfig saved;
    if (!setConfigLives(CONFIG_FILE, run.options.lives, saved, error)) {
        std::fprintf(stderr, "zentavor-soak: %s\n", error.c_str());
        return 2;
    }
    const bool ran = soak(run);
    restoreConfig(CONFIG_FILE, saved);
    if (stopRequested()) {
        std::fprintf(stderr, "zentavor-soak: stopped after %d s; config.cfg is as it was\n", run.figures.elapsedSeconds);
        return EXIT_FAILURE;
    }
    if (!ran) {
        for (const std::string& failure : run.figures.failures)
            std::fprintf(stderr, "soak FAILED: %s\n", failure.c_str());
        return 1;
    }
    printSummary(run.options, run.figures);
    return run.figures.failures.empty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
