// Any bytes as keys.cfg: every problem names its line, no action of a player
// or of the menu shares its key with another of the same, and some key still
// opens the menu.
#include <SDL/SDL.h>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "ui/key_bindings.h"

// SDL names its keys once video is up; the dummy driver needs no display.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    FUZZ_CHECK(SDL_Init(SDL_INIT_VIDEO) == 0);
    return 0;
}

static void checkGroup(const SDLKey* keys, int count)
{
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(keys[i] >= SDLK_UNKNOWN && keys[i] < SDLK_LAST);
        for (int j = i + 1; j < count; ++j)
            FUZZ_CHECK(keys[i] == SDLK_UNKNOWN || keys[i] != keys[j]);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> problems;
    const KeyBindings b = parseKeyBindings(std::string(reinterpret_cast<const char*>(data), size), problems);
    for (const std::string& problem : problems)
        FUZZ_CHECK(problem.rfind("line ", 0) == 0);
    for (const auto& player : b.players)
        checkGroup(player, PLAYER_ACTIONS);
    checkGroup(b.menu, MENU_ACTIONS);
    FUZZ_CHECK(b.menu[MENU_ESCAPE] != SDLK_UNKNOWN);
    return 0;
}
