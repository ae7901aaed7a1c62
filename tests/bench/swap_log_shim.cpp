// Preloaded into the game (LD_PRELOAD) to time its frames: every buffer swap
// appends the monotonic time just after it, in milliseconds, as one line of
// the file named by ZENTAVOR_SWAP_LOG.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using Swap = void (*)();

Swap realSwap = nullptr;
int logFile = -1;

} // namespace

extern "C" void SDL_GL_SwapBuffers(void)
{
    if (!realSwap) {
        realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
        const char* path = std::getenv("ZENTAVOR_SWAP_LOG");
        logFile = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    }
    if (realSwap)
        realSwap();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%.3f\n", now.tv_sec * 1e3 + now.tv_nsec / 1e6);
    if (logFile >= 0 && write(logFile, line, length) != length)
        logFile = -1;
}
