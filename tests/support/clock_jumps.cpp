// Preloaded into the game (LD_PRELOAD) to make its clock jump, as when a
// laptop resumes: SDL_GetTicks runs as SDL's, plus every jump of
// ZENTAVOR_CLOCK_JUMPS ("AT:BY,AT:BY,...", in ms of SDL's own ticks) whose
// moment has come. The sum wraps around 32 bits, as SDL's counter does.
#include <SDL/SDL.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int MOST_JUMPS = 8;

struct Jump {
    uint32_t atMs = 0;
    uint32_t byMs = 0;
};

Jump jumps[MOST_JUMPS];
int jumpCount = 0;
using GetTicks = Uint32 (*)();
GetTicks sdlGetTicks = nullptr;

__attribute__((constructor)) void readJumps()
{
    sdlGetTicks = reinterpret_cast<GetTicks>(dlsym(RTLD_NEXT, "SDL_GetTicks"));
    const char* text = std::getenv("ZENTAVOR_CLOCK_JUMPS");
    unsigned long at = 0, by = 0;
    int used = 0;
    while (text && jumpCount < MOST_JUMPS && std::sscanf(text, "%lu:%lu%n", &at, &by, &used) == 2) {
        jumps[jumpCount++] = Jump{static_cast<uint32_t>(at), static_cast<uint32_t>(by)};
        text += used;
        text += *text == ',' ? 1 : 0;
    }
}

} // namespace

extern "C" Uint32 SDL_GetTicks(void)
{
    const Uint32 real = sdlGetTicks();
    Uint32 ticks = real;
    for (int i = 0; i < jumpCount; ++i)
        if (real >= jumps[i].atMs)
            ticks += jumps[i].byMs;
    return ticks;
}
