// Preloaded into the game (LD_PRELOAD) to stand in for two gamepads: it
// answers SDL's joystick calls for them, and a thread reads lines from the
// pipe named by ZENTAVOR_PAD_EVENTS. Each line changes a pad's state at the
// game's next SDL_JoystickUpdate, which also pushes its event into SDL's
// queue, as SDL does for a real pad. Lines: "axis PAD AXIS VALUE",
// "hat PAD HAT VALUE", "button PAD BUTTON down|up"; "lost LINE" changes the
// state without the event, as when SDL's queue is full. A line it cannot read
// ends the process with status 3, so a typing mistake fails the test instead
// of passing unseen.
#include <SDL/SDL.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

namespace {

constexpr int BAD_LINE_STATUS = 3;
constexpr int PADS = 2;
constexpr int AXES = 8;
constexpr int HATS = 1;
constexpr int BUTTONS = 16;

struct PadChange {
    SDL_Event event;
    bool lost = false; // the state changes, the event never comes
};

struct Pad {
    Sint16 axes[AXES] = {};
    Uint8 hats[HATS] = {};
    Uint8 buttons[BUTTONS] = {};
};

// Read and written by the game's thread alone, in the calls below.
Pad pads[PADS];
// Lines read but not yet applied.
std::mutex pendingLock;
std::deque<PadChange> pending;

bool eventOf(const char* line, SDL_Event& e)
{
    int pad = 0, number = 0, value = 0;
    char state[8] = {};
    e = SDL_Event{};
    if (std::sscanf(line, "axis %d %d %d", &pad, &number, &value) == 3 && number < AXES) {
        e.jaxis = SDL_JoyAxisEvent{SDL_JOYAXISMOTION, Uint8(pad), Uint8(number), Sint16(value)};
        return pad < PADS;
    }
    if (std::sscanf(line, "hat %d %d %d", &pad, &number, &value) == 3 && number < HATS) {
        e.jhat = SDL_JoyHatEvent{SDL_JOYHATMOTION, Uint8(pad), Uint8(number), Uint8(value)};
        return pad < PADS;
    }
    if (std::sscanf(line, "button %d %d %7s", &pad, &number, state) == 3 && number < BUTTONS &&
        (!std::strcmp(state, "down") || !std::strcmp(state, "up"))) {
        const bool down = !std::strcmp(state, "down");
        e.jbutton = SDL_JoyButtonEvent{Uint8(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), Uint8(pad), Uint8(number),
                                       Uint8(down ? SDL_PRESSED : SDL_RELEASED)};
        return pad < PADS;
    }
    return false;
}

void apply(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_JOYAXISMOTION: pads[e.jaxis.which].axes[e.jaxis.axis] = e.jaxis.value; break;
    case SDL_JOYHATMOTION: pads[e.jhat.which].hats[e.jhat.hat] = e.jhat.value; break;
    default: pads[e.jbutton.which].buttons[e.jbutton.button] = e.jbutton.state; break;
    }
}

void* readLines(void* path)
{
    // Opened for writing too, the pipe never reports an end, whether the
    // test holds it open at the moment or not.
    std::FILE* in = std::fopen(static_cast<const char*>(path), "r+");
    if (!in)
        _exit(BAD_LINE_STATUS);
    char line[128];
    while (std::fgets(line, sizeof line, in)) {
        PadChange change;
        const char* text = line;
        if (std::strncmp(text, "lost ", 5) == 0) {
            change.lost = true;
            text += 5;
        }
        if (!eventOf(text, change.event)) {
            std::fprintf(stderr, "pad events: cannot read %s", line);
            _exit(BAD_LINE_STATUS);
        }
        const std::lock_guard<std::mutex> hold(pendingLock);
        pending.push_back(change);
    }
    return nullptr;
}

__attribute__((constructor)) void startReading()
{
    const char* path = std::getenv("ZENTAVOR_PAD_EVENTS");
    pthread_t thread;
    if (path && pthread_create(&thread, nullptr, readLines, const_cast<char*>(path)) == 0)
        pthread_detach(thread);
}

Pad& padOf(SDL_Joystick* j) { return pads[reinterpret_cast<Pad*>(j) - pads]; }

} // namespace

// SDL's joystick calls, answered for the two stand-in pads.
extern "C" {

int SDL_NumJoysticks(void) { return PADS; }

SDL_Joystick* SDL_JoystickOpen(int index)
{
    return index >= 0 && index < PADS ? reinterpret_cast<SDL_Joystick*>(&pads[index]) : nullptr;
}

void SDL_JoystickClose(SDL_Joystick*) {}

int SDL_JoystickNumAxes(SDL_Joystick*) { return AXES; }
int SDL_JoystickNumHats(SDL_Joystick*) { return HATS; }
int SDL_JoystickNumButtons(SDL_Joystick*) { return BUTTONS; }
Sint16 SDL_JoystickGetAxis(SDL_Joystick* j, int axis) { return axis < AXES ? padOf(j).axes[axis] : 0; }
Uint8 SDL_JoystickGetHat(SDL_Joystick* j, int hat) { return hat < HATS ? padOf(j).hats[hat] : 0; }
Uint8 SDL_JoystickGetButton(SDL_Joystick* j, int button) { return button < BUTTONS ? padOf(j).buttons[button] : 0; }

void SDL_JoystickUpdate(void)
{
    std::deque<PadChange> changes;
    {
        const std::lock_guard<std::mutex> hold(pendingLock);
        changes.swap(pending);
    }
    for (PadChange& change : changes) {
        apply(change.event);
        if (!change.lost)
            SDL_PushEvent(&change.event);
    }
}

} // extern "C"
