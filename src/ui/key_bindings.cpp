#include "ui/key_bindings.h"

#include <SDL/SDL_keyboard.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>
#include "files/whole_file.h"
#include "gfx/utf8.h"

namespace {

// Each player, then the menu, owns its keys: no two actions of one group
// may share a key, actions of different groups may.
constexpr int GROUPS = PLAYER_COUNT + 1;
constexpr int MENU_GROUP = PLAYER_COUNT;
constexpr int MOST_ACTIONS = PLAYER_ACTIONS;
static_assert(MENU_ACTIONS <= MOST_ACTIONS);

const char* const GROUP_NAMES[GROUPS] = {"p1", "p2", "menu"};
const char* const PLAYER_ACTION_NAMES[PLAYER_ACTIONS] = {"left",  "right",     "thrust", "backward",
                                                         "fire", "manoeuvre", "weapon"};
const char* const MENU_ACTION_NAMES[MENU_ACTIONS] = {"up", "down", "left", "right", "enter", "escape"};

constexpr const char* BYTE_ORDER_MARK = "\xEF\xBB\xBF";

struct Action {
    int group = -1; // -1: no such action
    int index = 0;
};

int actionCount(int group) { return group == MENU_GROUP ? int{MENU_ACTIONS} : int{PLAYER_ACTIONS}; }

std::string nameOf(Action a)
{
    const char* action = a.group == MENU_GROUP ? MENU_ACTION_NAMES[a.index] : PLAYER_ACTION_NAMES[a.index];
    return std::string(GROUP_NAMES[a.group]) + "." + action;
}

SDLKey& keyOf(KeyBindings& b, Action a)
{
    return a.group == MENU_GROUP ? b.menu[a.index] : b.players[a.group][a.index];
}

Action actionNamed(const std::string& name)
{
    for (int group = 0; group < GROUPS; ++group)
        for (int index = 0; index < actionCount(group); ++index)
            if (nameOf({group, index}) == name)
                return {group, index};
    return {};
}

std::string trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string lowerCase(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// What the file did to each action so far: the line that gave it a key, or
// the line that took its built-in key for another action (0: none).
struct LineMarks {
    int setAt[GROUPS][MOST_ACTIONS] = {};
    int takenAt[GROUPS][MOST_ACTIONS] = {};
    Action takenFor[GROUPS][MOST_ACTIONS];
};

// Gives `a` the key unless an action of its group has it from an earlier
// line; one that has it built in loses it.
void bind(KeyBindings& b, LineMarks& marks, Action a, SDLKey key, int line, std::vector<std::string>& problems)
{
    for (int index = 0; index < actionCount(a.group); ++index) {
        const Action other{a.group, index};
        if (index == a.index || keyOf(b, other) != key || marks.setAt[a.group][index] == 0)
            continue;
        problems.push_back("line " + std::to_string(line) + " ignored: " + nameOf(a) + " and " + nameOf(other) +
                           " (line " + std::to_string(marks.setAt[a.group][index]) + ") on one key, " +
                           quoted(SDL_GetKeyName(key)));
        return;
    }
    // Whatever the file says, some key opens the menu from a match.
    const Action escape{MENU_GROUP, MENU_ESCAPE};
    if (a.group == MENU_GROUP && a.index != MENU_ESCAPE && keyOf(b, escape) == key) {
        problems.push_back("line " + std::to_string(line) + " ignored: it takes " + quoted(SDL_GetKeyName(key)) +
                           " from " + nameOf(escape) + ", which would leave no key to open the menu");
        return;
    }
    for (int index = 0; index < actionCount(a.group); ++index)
        if (index != a.index && keyOf(b, {a.group, index}) == key) {
            keyOf(b, {a.group, index}) = SDLK_UNKNOWN;
            marks.takenAt[a.group][index] = line;
            marks.takenFor[a.group][index] = a;
        }
    keyOf(b, a) = key;
    marks.setAt[a.group][a.index] = line;
}

void parseLine(const std::string& raw, int line, KeyBindings& b, LineMarks& marks, std::vector<std::string>& problems)
{
    const std::string text = trimmed(raw);
    if (text.empty() || text[0] == '#')
        return;
    const std::string ignored = "line " + std::to_string(line) + " ignored: ";
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        problems.push_back(ignored + quoted(text) + " is not \"action = key\"");
        return;
    }
    const std::string actionText = trimmed(text.substr(0, equals));
    const std::string keyText = trimmed(text.substr(equals + 1));
    const Action action = actionNamed(lowerCase(actionText));
    if (action.group < 0) {
        problems.push_back(ignored + "unknown action " + quoted(actionText));
        return;
    }
    const SDLKey key = keyNamed(keyText);
    if (key == SDLK_UNKNOWN) {
        problems.push_back(ignored + "unknown key " + quoted(keyText) + " for " + nameOf(action));
        return;
    }
    bind(b, marks, action, key, line, problems);
}

// SDL names the keys beyond ASCII "world 0" to "world 95" after their Latin-1
// code; a player writes the character itself ("é", saved as UTF-8). Keys are
// named by their small letter, so a capital ("É") names the same key, as
// "D" does "d".
SDLKey latin1Key(const std::string& name)
{
    constexpr int FIRST_WORLD_CODE = 0xA0;
    constexpr int FIRST_CAPITAL = 0xC0, LAST_CAPITAL = 0xDE, TIMES_SIGN = 0xD7;
    constexpr int SMALL_LETTER_STEP = 0x20;
    if (name.size() != 2)
        return SDLK_UNKNOWN;
    const int lead = static_cast<unsigned char>(name[0]), trail = static_cast<unsigned char>(name[1]);
    if ((lead != 0xC2 && lead != 0xC3) || (trail & 0xC0) != 0x80)
        return SDLK_UNKNOWN;
    int code = ((lead & 0x1F) << 6) | (trail & 0x3F);
    if (code >= FIRST_CAPITAL && code <= LAST_CAPITAL && code != TIMES_SIGN)
        code += SMALL_LETTER_STEP;
    return code < FIRST_WORLD_CODE ? SDLK_UNKNOWN : static_cast<SDLKey>(SDLK_WORLD_0 + code - FIRST_WORLD_CODE);
}

SDLKey keyNamedBySdl(const std::string& wanted)
{
    for (int k = SDLK_FIRST + 1; k < SDLK_LAST; ++k)
        if (wanted == lowerCase(SDL_GetKeyName(static_cast<SDLKey>(k))))
            return static_cast<SDLKey>(k);
    return SDLK_UNKNOWN;
}

} // namespace

SDLKey keyNamed(const std::string& name)
{
    const std::string unnamed = SDL_GetKeyName(SDLK_UNKNOWN);
    const std::string wanted = lowerCase(name);
    if (wanted == unnamed)
        return SDLK_UNKNOWN;
    if (const SDLKey key = latin1Key(name); key != SDLK_UNKNOWN)
        return key;
    // SDL calls the keypad's keys "[8]", "[+]"; "keypad 8" is what a player writes.
    const std::string keypad = "keypad ";
    if (wanted.rfind(keypad, 0) == 0 && wanted.size() > keypad.size()) {
        const std::string key = wanted.substr(keypad.size());
        const SDLKey bracketed = keyNamedBySdl("[" + key + "]");
        // The two keypad keys SDL names without brackets.
        const bool plainName = key == "enter" || key == "equals";
        return bracketed != SDLK_UNKNOWN || !plainName ? bracketed : keyNamedBySdl(key);
    }
    return keyNamedBySdl(wanted);
}

KeyBindings parseKeyBindings(const std::string& text, std::vector<std::string>& problems)
{
    KeyBindings b = DEFAULT_KEY_BINDINGS;
    LineMarks marks;
    std::istringstream in(text.rfind(BYTE_ORDER_MARK, 0) == 0 ? text.substr(std::strlen(BYTE_ORDER_MARK)) : text);
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line)
        parseLine(raw, line, b, marks, problems);
    for (int group = 0; group < GROUPS; ++group)
        for (int index = 0; index < actionCount(group); ++index)
            if (keyOf(b, {group, index}) == SDLK_UNKNOWN)
                problems.push_back("line " + std::to_string(marks.takenAt[group][index]) + ": " +
                                   nameOf({group, index}) + " has no key: its key went to " +
                                   nameOf(marks.takenFor[group][index]));
    return b;
}

// Far more than a keys.cfg that binds every action takes.
constexpr size_t KEYS_FILE_MAX_BYTES = 64 * 1024;

KeyBindings readKeyBindings(const char* path)
{
    // Only a small regular file: a named pipe would keep the game waiting,
    // a device would feed it without end.
    const WholeFile file = readWholeFile(path, KEYS_FILE_MAX_BYTES);
    if (file.result != ReadResult::Read) {
        if (file.result == ReadResult::Refused)
            std::fprintf(stderr, "zentavor: cannot read %s: %s\n", printableOnTerminal(path).c_str(),
                         file.reason.c_str());
        return DEFAULT_KEY_BINDINGS;
    }
    std::vector<std::string> problems;
    const KeyBindings bindings = parseKeyBindings(file.text, problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "zentavor: %s %s\n", printableOnTerminal(path).c_str(),
                     printableOnTerminal(problem).c_str());
    return bindings;
}
