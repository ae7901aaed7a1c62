// Preloaded into the game (LD_PRELOAD) to time its start-up: the first buffer
// swap writes the monotonic time after it, in seconds, to the file named by
// ZENTAVOR_FIRST_FRAME_FILE and ends the process on the spot, so nothing the
// game would do afterwards (saving the settings) happens.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_GL_SwapBuffers(void)
{
    using Swap = void (*)();
    const auto realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (realSwap)
        realSwap();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = std::getenv("ZENTAVOR_FIRST_FRAME_FILE");
    FILE* out = path ? std::fopen(path, "w") : nullptr;
    if (out) {
        std::fprintf(out, "%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fclose(out);
    }
    _exit(realSwap && out ? 0 : 1);
}
