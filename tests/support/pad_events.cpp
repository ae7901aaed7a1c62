// Preloaded into the game (LD_PRELOAD) to stand in for gamepads: a thread
// reads lines from the pipe named by ZENTAVOR_PAD_EVENTS and pushes each as a
// joystick event into SDL's queue, where the game reads it as it would a real
// pad's. Lines: "axis PAD AXIS VALUE", "hat PAD HAT VALUE",
// "button PAD BUTTON down|up". A line it cannot read ends the process with
// status 3, so a typing mistake fails the test instead of passing unseen.
#include <SDL/SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int BAD_LINE_STATUS = 3;
constexpr useconds_t VIDEO_WAIT_US = 10000;

bool eventOf(const char* line, SDL_Event& e)
{
    int pad = 0, number = 0, value = 0;
    char state[8] = {};
    e = SDL_Event{};
    if (std::sscanf(line, "axis %d %d %d", &pad, &number, &value) == 3) {
        e.jaxis = SDL_JoyAxisEvent{SDL_JOYAXISMOTION, Uint8(pad), Uint8(number), Sint16(value)};
        return true;
    }
    if (std::sscanf(line, "hat %d %d %d", &pad, &number, &value) == 3) {
        e.jhat = SDL_JoyHatEvent{SDL_JOYHATMOTION, Uint8(pad), Uint8(number), Uint8(value)};
        return true;
    }
    if (std::sscanf(line, "button %d %d %7s", &pad, &number, state) == 3 &&
        (!std::strcmp(state, "down") || !std::strcmp(state, "up"))) {
        const bool down = !std::strcmp(state, "down");
        e.jbutton = SDL_JoyButtonEvent{Uint8(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), Uint8(pad), Uint8(number),
                                       Uint8(down ? SDL_PRESSED : SDL_RELEASED)};
        return true;
    }
    return false;
}

void* pushEvents(void* path)
{
    // Opened for writing too, the pipe never reports an end, whether the
    // test holds it open at the moment or not.
    std::FILE* in = std::fopen(static_cast<const char*>(path), "r+");
    if (!in)
        _exit(BAD_LINE_STATUS);
    char line[128];
    while (std::fgets(line, sizeof line, in)) {
        SDL_Event e;
        if (!eventOf(line, e)) {
            std::fprintf(stderr, "pad events: cannot read %s", line);
            _exit(BAD_LINE_STATUS);
        }
        // SDL's queue exists once its video is up.
        while (!SDL_WasInit(SDL_INIT_VIDEO))
            usleep(VIDEO_WAIT_US);
        SDL_PushEvent(&e);
    }
    return nullptr;
}

__attribute__((constructor)) void startPushing()
{
    const char* path = std::getenv("ZENTAVOR_PAD_EVENTS");
    pthread_t thread;
    if (path && pthread_create(&thread, nullptr, pushEvents, const_cast<char*>(path)) == 0)
        pthread_detach(thread);
}

} // namespace
