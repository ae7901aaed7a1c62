// Frames per second of the full match frame ("Twin stars", both ships, all
// 1024 shots in flight, HUD) against the static scene (background, planets and
// the HUD panel) in one run, drawn with the game's own pictures and drawing
// code. Run in the game folder, under an X server.
//   draw_benchmark [frames per block] [rounds]
#include <SDL/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "bench/twin_stars_match.h"
#include "draw/hud.h"
#include "draw/match_texts.h"
#include "draw/scene.h"
#include "draw/catalogue_pictures.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/video.h"
#include "sim/match_setup.h"
#include "sim/orbits.h"

namespace {

constexpr int FRAME_MS = 16;
constexpr int DEFAULT_FRAMES_PER_BLOCK = 100;
constexpr int DEFAULT_ROUNDS = 5;
constexpr int WARM_UP_FRAMES = 30;

struct Bench {
    std::unique_ptr<MatchContent> content = std::make_unique<MatchContent>();
    std::unique_ptr<MatchState> match = std::make_unique<MatchState>();
    Fonts fonts;
    MatchTexts texts;
    int32_t nowMs = BENCH_START_MS;
};

bool startGraphics(Bench& b)
{
    if (!initVideo(PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, false)) {
        std::fprintf(stderr, "draw_benchmark: no window: %s\n", SDL_GetError());
        return false;
    }
    const char* missing = nullptr;
    if (!loadTextureCatalogue(&missing)) {
        std::fprintf(stderr, "draw_benchmark: cannot load %s (run it in the game folder)\n", missing);
        return false;
    }
    if (!openFonts(b.fonts)) {
        std::fprintf(stderr, "draw_benchmark: cannot open font.ttf\n");
        return false;
    }
    return true;
}

// The game's content with its own pictures, and the benchmarks' match.
void buildMatch(Bench& b)
{
    buildContent(*b.content, cataloguePictures());
    makeAllShipMasks(*b.content, rotatedCataloguePictures());
    setUpBenchMatch(*b.match, *b.content);
    b.texts.fonts = &b.fonts;
    refreshMatchTexts(b.texts, *b.match, *b.content);
    setDrawColour(baseColour);
    b.match->frameTime = FRAME_MS;
}

void drawFullFrame(Bench& b)
{
    refreshMatchTexts(b.texts, *b.match, *b.content);
    drawMatchFrame(*b.match, *b.content, b.texts, b.nowMs);
}

void drawStaticScene(Bench& b)
{
    const MatchState& m = *b.match;
    clearScreen();
    drawMap(currentMap(m, *b.content), b.content->frames, m.planetBodies, b.nowMs);
    drawHudPanel(m.players, b.texts);
}

// One block of frames, each presented and finished: frames per second of wall
// time, and milliseconds of processor time a frame over all of the process's
// threads (the renderer's included), which a busy machine disturbs much less.
struct BlockFigures {
    double fps = 0;
    double cpuMsPerFrame = 0;
};

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

BlockFigures timeBlock(Bench& b, const std::function<void(Bench&)>& draw, int frames)
{
    const double cpuBegin = processCpuSeconds();
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        b.nowMs += FRAME_MS;
        draw(b);
        presentFrame();
        glFinish();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;
    return BlockFigures{frames / elapsed.count(), (processCpuSeconds() - cpuBegin) * 1000.0 / frames};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct SceneFigures {
    std::vector<double> fps, cpuMs;
    void add(const BlockFigures& f)
    {
        fps.push_back(f.fps);
        cpuMs.push_back(f.cpuMsPerFrame);
    }
};

// Blocks of the two scenes take turns, so a busy spell of the machine falls on both.
int measure(Bench& b, int framesPerBlock, int rounds)
{
    timeBlock(b, drawFullFrame, WARM_UP_FRAMES);
    timeBlock(b, drawStaticScene, WARM_UP_FRAMES);
    SceneFigures full;
    SceneFigures still;
    for (int r = 0; r < rounds; ++r) {
        still.add(timeBlock(b, drawStaticScene, framesPerBlock));
        full.add(timeBlock(b, drawFullFrame, framesPerBlock));
        std::printf("round %d: static %.1f fps %.2f cpu ms, full %.1f fps %.2f cpu ms\n", r + 1, still.fps.back(),
                    still.cpuMs.back(), full.fps.back(), full.cpuMs.back());
    }
    const int shots = countActiveShots(*b.match);
    const bool shipsAlive = b.match->players[0].lifeState == ALIVE && b.match->players[1].lifeState == ALIVE;
    if (shots != SHOT_POOL_SIZE || !shipsAlive) {
        std::fprintf(stderr, "draw_benchmark: the scene changed: %d shots in flight, ships %s\n", shots,
                     shipsAlive ? "alive" : "not both alive");
        return 1;
    }
    const double fullFps = median(full.fps);
    const double staticFps = median(still.fps);
    std::printf("static scene: %.1f fps (%.2f ms a frame), %.2f ms processor time a frame\n", staticFps,
                1000.0 / staticFps, median(still.cpuMs));
    std::printf("full frame:   %.1f fps (%.2f ms a frame), %.2f ms processor time a frame, %d shots\n", fullFps,
                1000.0 / fullFps, median(full.cpuMs), shots);
    std::printf("full/static:  %.2fx by frame rate, %.2fx by processor time\n", staticFps / fullFps,
                median(full.cpuMs) / median(still.cpuMs));
    return 0;
}

int positiveArgument(int argc, char** argv, int index, int fallback)
{
    const int value = argc > index ? std::atoi(argv[index]) : fallback;
    return value > 0 ? value : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    const int framesPerBlock = positiveArgument(argc, argv, 1, DEFAULT_FRAMES_PER_BLOCK);
    const int rounds = positiveArgument(argc, argv, 2, DEFAULT_ROUNDS);
    Bench b;
    if (!startGraphics(b)) {
        SDL_Quit();
        return 1;
    }
    buildMatch(b);
    std::printf("%s, %s\n", glGetString(GL_RENDERER), glGetString(GL_VERSION));
    const int status = measure(b, framesPerBlock, rounds);
    freeMatchTexts(b.texts);
    freeTextureCatalogue();
    closeFonts(b.fonts);
    SDL_Quit();
    return status;
}
