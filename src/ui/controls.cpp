#include "ui/controls.h"

#include <SDL/SDL.h>

// One player's keys: three movement keys with key-down detection, the
// backward boost, fire and the two modifiers.
struct PlayerKeys {
    SDLKey left, right, up, down, fire, manoeuvre, weapon;
};

static const PlayerKeys PLAYER_KEYS[2] = {
    {SDLK_d, SDLK_g, SDLK_r, SDLK_f, SDLK_1, SDLK_2, SDLK_3},
    {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_i, SDLK_o, SDLK_p},
};

static void playerFromKeys(const unsigned char* held, const PlayerKeys& k, bool pressedLeft, bool pressedRight,
                           bool pressedUp, PlayerControls& c, WeaponCycling& cycling)
{
    // The manoeuvre modifier wins over the weapon modifier for the movement keys.
    if (held[k.manoeuvre]) {
        c.fineLeft = held[k.left];
        c.fineRight = held[k.right];
        c.boostForward = held[k.up];
        c.boostBackward = held[k.down];
    } else if (held[k.weapon]) {
        c.weaponModifier = true;
        cycling.previousWeapon = pressedLeft;
        cycling.nextWeapon = pressedRight;
    } else {
        c.turnLeft = held[k.left];
        c.turnRight = held[k.right];
        c.thrust = held[k.up];
        c.boostBackward = held[k.down];
        c.thrustPressed = pressedUp;
    }
    // Fire or reload depends on the weapon modifier alone.
    if (held[k.weapon])
        c.reload = held[k.fire];
    else
        c.fire = held[k.fire];
}

void controlsFromKeys(const KeySnapshot& keys, ControlState& controls)
{
    controls = ControlState{};
    playerFromKeys(keys.held, PLAYER_KEYS[0], keys.pressedD, keys.pressedG, keys.pressedR, controls.players[0],
                   controls.cycling[0]);
    playerFromKeys(keys.held, PLAYER_KEYS[1], keys.pressedLeft, keys.pressedRight, keys.pressedUp,
                   controls.players[1], controls.cycling[1]);
    controls.escape = keys.pressedEscape;
}

static void notePressed(SDLKey key, KeySnapshot& keys)
{
    switch (key) {
    case SDLK_d: keys.pressedD = true; break;
    case SDLK_g: keys.pressedG = true; break;
    case SDLK_r: keys.pressedR = true; break;
    case SDLK_LEFT: keys.pressedLeft = true; break;
    case SDLK_RIGHT: keys.pressedRight = true; break;
    case SDLK_UP: keys.pressedUp = true; break;
    case SDLK_ESCAPE: keys.pressedEscape = true; break;
    default: break;
    }
}

void readGameControls(ControlState& controls)
{
    KeySnapshot keys;
    SDL_Event event;
    // Every other event, the window's close request included, is dropped.
    while (SDL_PollEvent(&event))
        if (event.type == SDL_KEYDOWN)
            notePressed(event.key.keysym.sym, keys);
    keys.held = SDL_GetKeyState(nullptr);
    controlsFromKeys(keys, controls);
}

void readMenuInput(MenuInput& input)
{
    input = MenuInput{};
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type != SDL_KEYDOWN)
            continue;
        switch (event.key.keysym.sym) {
        case SDLK_UP: input.up = true; break;
        case SDLK_DOWN: input.down = true; break;
        case SDLK_LEFT: input.left = true; break;
        case SDLK_RIGHT: input.right = true; break;
        case SDLK_RETURN: input.enter = true; break;
        case SDLK_ESCAPE: input.escape = true; break;
        default: break;
        }
    }
}
