// A clock for menu tests that also types. Every KEY_GAP_READINGS readings it
// pushes the next key of a script into SDL's queue as a real key-down event,
// so keys arrive between menu frames, one at a time, as a player's would. The
// gap keeps a key clear of the reading a sub-screen takes just before it drops
// the keys pressed earlier. When the script is out and the menu still runs, it
// types Escape, which leaves every screen and finally quits, so a path that
// went wrong ends instead of hanging; extraEscapes counts those.
#pragma once
#include <SDL/SDL.h>
#include <cstdint>
#include <vector>
#include "gfx/clock.h"

struct KeyScript {
    std::vector<SDLKey> keys;
    size_t next = 0;
    int32_t readings = 0;
    int32_t lastKeyReading = 0;
    int extraEscapes = 0;
};

inline KeyScript keyScript;

constexpr int KEY_GAP_READINGS = 8;
constexpr int IDLE_READINGS_BEFORE_ESCAPE = 400;
constexpr int MS_PER_READING = 4;

inline void pushKeyDown(SDLKey key)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

inline int32_t scriptedTicks()
{
    KeyScript& s = keyScript;
    ++s.readings;
    if (s.next < s.keys.size() && s.readings - s.lastKeyReading >= KEY_GAP_READINGS) {
        pushKeyDown(s.keys[s.next++]);
        s.lastKeyReading = s.readings;
    } else if (s.next == s.keys.size() && s.readings - s.lastKeyReading >= IDLE_READINGS_BEFORE_ESCAPE) {
        pushKeyDown(SDLK_ESCAPE);
        s.lastKeyReading = s.readings;
        ++s.extraEscapes;
    }
    return s.readings * MS_PER_READING;
}

// Installs the typing clock with a fresh script.
inline void typeKeys(std::vector<SDLKey> keys)
{
    keyScript = KeyScript{};
    keyScript.keys = std::move(keys);
    setTickSource(scriptedTicks);
}

// Key events still waiting in SDL's queue, which this drains.
inline int drainPendingKeys()
{
    int pending = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        pending += event.type == SDL_KEYDOWN;
    return pending;
}
