// Which keys fly each player and work the menus: the built-in ones, changed
// by the player's optional keys.cfg, which the game only ever reads.
#pragma once
#include <SDL/SDL_keysym.h>
#include <string>
#include <vector>
#include "sim/player.h"

constexpr const char* KEYS_FILE = "keys.cfg";

// A player's own keys; fine turns, forward boost, weapon changes and reload
// are combinations of them.
enum PlayerAction { TURN_LEFT, TURN_RIGHT, THRUST, BACKWARD, FIRE, MANOEUVRE, WEAPON, PLAYER_ACTIONS };
// The menu keys; MENU_ESCAPE also opens the menu from a match.
enum MenuAction { MENU_UP, MENU_DOWN, MENU_LEFT, MENU_RIGHT, MENU_ENTER, MENU_ESCAPE, MENU_ACTIONS };

// SDLK_UNKNOWN: the action has no key.
struct KeyBindings {
    SDLKey players[PLAYER_COUNT][PLAYER_ACTIONS];
    SDLKey menu[MENU_ACTIONS];
};

// The keys every player knows: player 1 on the left of the keyboard, player 2
// on the arrows with i, o and p.
inline constexpr KeyBindings DEFAULT_KEY_BINDINGS = {
    {{SDLK_d, SDLK_g, SDLK_r, SDLK_f, SDLK_1, SDLK_2, SDLK_3},
     {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_i, SDLK_o, SDLK_p}},
    {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_ESCAPE},
};

// The key SDL_GetKeyName calls `name` (in any letter case), or SDLK_UNKNOWN.
// SDL names keys only once its video is up.
SDLKey keyNamed(const std::string& name);
// The default bindings changed by the lines of a keys.cfg text: "action = key",
// blank lines and lines starting with '#' skipped. A line that cannot be used
// is ignored and adds "line N ignored: what is wrong" to `problems`; an
// action left without a key adds "line N: ..." naming the line that took it.
KeyBindings parseKeyBindings(const std::string& text, std::vector<std::string>& problems);
// The bindings of the keys file at `path`; its problems are printed on stderr.
// A missing file gives the defaults without a word.
KeyBindings readKeyBindings(const char* path);
