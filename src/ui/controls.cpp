#include "ui/controls.h"

#include <SDL/SDL.h>
#include <algorithm>
#include "ui/pad.h"
#include "ui/stop_signals.h"

namespace {

// What the readers keep between calls: the keys, the pads opened (by pad
// number) and each player's pad as its events and readings left it (SDL
// keeps the keyboard's held keys itself).
struct InputDevices {
    KeyBindings bindings = DEFAULT_KEY_BINDINGS;
    bool padsSwapped = false;
    SDL_Joystick* joysticks[PLAYER_COUNT] = {};
    PadState pads[PLAYER_COUNT];
    bool lastPressed[SDLK_LAST] = {}; // of the last read
};

// The buttons a pad reading holds: those PadState keeps.
constexpr int READ_BUTTONS = 32;

InputDevices devices;

// An action without a key is never held or pressed, whatever SDL files
// under SDLK_UNKNOWN.
bool held(const KeySnapshot& keys, SDLKey key) { return key != SDLK_UNKNOWN && keys.held[key]; }
bool pressed(const KeySnapshot& keys, SDLKey key) { return key != SDLK_UNKNOWN && keys.pressed[key]; }

void playerFromKeys(const KeySnapshot& keys, const SDLKey (&k)[PLAYER_ACTIONS], PlayerControls& c,
                    WeaponCycling& cycling)
{
    // The manoeuvre modifier wins over the weapon modifier for the movement keys.
    if (held(keys, k[MANOEUVRE])) {
        c.fineLeft = held(keys, k[TURN_LEFT]);
        c.fineRight = held(keys, k[TURN_RIGHT]);
        c.boostForward = held(keys, k[THRUST]);
        c.boostBackward = held(keys, k[BACKWARD]);
    } else if (held(keys, k[WEAPON])) {
        c.weaponModifier = true;
        cycling.previousWeapon = pressed(keys, k[TURN_LEFT]);
        cycling.nextWeapon = pressed(keys, k[TURN_RIGHT]);
    } else {
        c.turnLeft = held(keys, k[TURN_LEFT]);
        c.turnRight = held(keys, k[TURN_RIGHT]);
        c.thrust = held(keys, k[THRUST]);
        c.boostBackward = held(keys, k[BACKWARD]);
        c.thrustPressed = pressed(keys, k[THRUST]);
    }
    // Fire or reload depends on the weapon modifier alone.
    if (held(keys, k[WEAPON]))
        c.reload = held(keys, k[FIRE]);
    else
        c.fire = held(keys, k[FIRE]);
}

int padOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_JOYAXISMOTION: return event.jaxis.which;
    case SDL_JOYHATMOTION: return event.jhat.which;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: return event.jbutton.which;
    default: return -1;
    }
}

// Drains SDL's queue: key-downs into the snapshot, pad events into their
// player's pad. Every other event, the window's close request included, is dropped.
void drainEvents(KeySnapshot& keys)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym < SDLK_LAST) {
            keys.pressed[event.key.keysym.sym] = true;
            continue;
        }
        const int player = padPlayer(padOf(event), devices.padsSwapped);
        if (player >= 0)
            notePadEvent(devices.pads[player], event);
    }
    std::copy(keys.pressed, keys.pressed + SDLK_LAST, devices.lastPressed);
}

bool anyPadOpen()
{
    for (SDL_Joystick* j : devices.joysticks)
        if (j)
            return true;
    return false;
}

PadReading readingOf(SDL_Joystick* j)
{
    PadReading r;
    const int axes = SDL_JoystickNumAxes(j);
    r.stickX = axes > 0 ? SDL_JoystickGetAxis(j, 0) : 0;
    r.stickY = axes > 1 ? SDL_JoystickGetAxis(j, 1) : 0;
    r.hat = SDL_JoystickNumHats(j) > 0 ? SDL_JoystickGetHat(j, 0) : 0;
    const int buttons = std::min(SDL_JoystickNumButtons(j), READ_BUTTONS);
    for (int b = 0; b < buttons; ++b)
        if (SDL_JoystickGetButton(j, b))
            r.buttons |= uint32_t{1} << b;
    return r;
}

// After the events: what every open pad holds now.
void readPadDevices()
{
    for (int which = 0; which < PLAYER_COUNT; ++which) {
        const int player = padPlayer(which, devices.padsSwapped);
        if (devices.joysticks[which] && player >= 0)
            notePadReading(devices.pads[player], readingOf(devices.joysticks[which]));
    }
}

} // namespace

void updatePads()
{
    // SDL_JoystickUpdate walks SDL's list of pads, which exists only once its
    // joystick support has started; with no pad open there is nothing to update.
    if (anyPadOpen())
        SDL_JoystickUpdate();
}

void controlsFromKeys(const KeySnapshot& keys, const KeyBindings& bindings, ControlState& controls)
{
    controls = ControlState{};
    for (int p = 0; p < PLAYER_COUNT; ++p)
        playerFromKeys(keys, bindings.players[p], controls.players[p], controls.cycling[p]);
    controls.escape = pressed(keys, bindings.menu[MENU_ESCAPE]);
}

MenuInput menuInputFromKeys(const KeySnapshot& keys, const KeyBindings& bindings)
{
    const SDLKey* k = bindings.menu;
    MenuInput input;
    input.up = pressed(keys, k[MENU_UP]);
    input.down = pressed(keys, k[MENU_DOWN]);
    input.left = pressed(keys, k[MENU_LEFT]);
    input.right = pressed(keys, k[MENU_RIGHT]);
    input.enter = pressed(keys, k[MENU_ENTER]);
    input.escape = pressed(keys, k[MENU_ESCAPE]);
    return input;
}

void setUpInput(const KeyBindings& bindings, bool padsSwapped)
{
    devices = InputDevices{};
    devices.bindings = bindings;
    devices.padsSwapped = padsSwapped;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return;
    // Opened pads report through the event queue, and are read each frame,
    // until SDL_Quit closes them.
    const int count = std::min(SDL_NumJoysticks(), PLAYER_COUNT);
    for (int i = 0; i < count; ++i)
        devices.joysticks[i] = SDL_JoystickOpen(i);
    SDL_JoystickEventState(SDL_ENABLE);
}

void readGameControls(ControlState& controls)
{
    KeySnapshot keys;
    updatePads();
    drainEvents(keys);
    readPadDevices();
    keys.held = SDL_GetKeyState(nullptr);
    controlsFromKeys(keys, devices.bindings, controls);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        addPadControls(devices.pads[p], controls.players[p], controls.cycling[p], controls.escape);
        clearPadPresses(devices.pads[p]);
    }
}

bool pressedInLastRead(SDLKey key) { return key > SDLK_UNKNOWN && key < SDLK_LAST && devices.lastPressed[key]; }

void readMenuInput(MenuInput& input)
{
    KeySnapshot keys;
    updatePads();
    drainEvents(keys);
    readPadDevices();
    input = menuInputFromKeys(keys, devices.bindings);
    input.stop = stopRequested();
    for (PadState& pad : devices.pads) {
        addPadMenuInput(pad, input);
        clearPadPresses(pad);
    }
}
