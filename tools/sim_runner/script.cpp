#include "script.h"

#include <SDL/SDL_keysym.h>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "pilot/pilot_skill.h"

namespace {

constexpr int MAP_ROWS = 3;
constexpr int SHIP_ROWS = 4;
constexpr int WEAPON_ROWS = 10;
constexpr int SLOT_COUNT = 5;

struct KeyName {
    const char* name;
    int symbol;
};

// Player 1's keys, then player 2's.
constexpr KeyName KEY_NAMES[] = {
    {"d", SDLK_d},       {"g", SDLK_g},         {"r", SDLK_r},   {"f", SDLK_f},       {"1", SDLK_1},
    {"2", SDLK_2},       {"3", SDLK_3},         {"left", SDLK_LEFT}, {"right", SDLK_RIGHT}, {"up", SDLK_UP},
    {"down", SDLK_DOWN}, {"i", SDLK_i},         {"o", SDLK_o},   {"p", SDLK_p},
};

// One line being read: its tokens, and the error it reports.
struct Line {
    int number = 0;
    std::vector<std::string> tokens;
    ScriptError* error = nullptr;

    bool fail(const std::string& message) const
    {
        *error = ScriptError{number, message};
        return false;
    }
};

std::vector<std::string> tokensOf(const std::string& text)
{
    const std::string withoutComment = text.substr(0, text.find('#'));
    std::istringstream in(withoutComment);
    std::vector<std::string> tokens;
    std::string token;
    while (in >> token)
        tokens.push_back(token);
    return tokens;
}

bool readInteger(const Line& line, size_t index, const char* what, int64_t lo, int64_t hi, int64_t& out)
{
    const std::string& token = line.tokens[index];
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(token.c_str(), &end, 10);
    if (token.empty() || *end != '\0' || errno == ERANGE)
        return line.fail(std::string(what) + " must be a whole number, not '" + token + "'");
    if (value < lo || value > hi)
        return line.fail(std::string(what) + " must be from " + std::to_string(lo) + " to " + std::to_string(hi) +
                         ", not " + token);
    out = value;
    return true;
}

bool readNumber(const Line& line, size_t index, const char* what, double& out)
{
    const std::string& token = line.tokens[index];
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    if (token.empty() || *end != '\0' || !std::isfinite(value))
        return line.fail(std::string(what) + " must be a finite number, not '" + token + "'");
    out = value;
    return true;
}

bool expectCount(const Line& line, size_t count, const char* usage)
{
    if (line.tokens.size() != count)
        return line.fail(std::string("expected '") + usage + "'");
    return true;
}

bool readPlayer(const Line& line, size_t index, Command& c)
{
    int64_t p = 0;
    if (!readInteger(line, index, "player", 1, 2, p))
        return false;
    c.player = static_cast<int>(p) - 1;
    return true;
}

// A weapon for every slot, from token first on.
bool readWeapons(const Line& line, size_t first, Command& c)
{
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        int64_t w = 0;
        if (!readInteger(line, first + slot, "weapon", 0, WEAPON_ROWS - 1, w))
            return false;
        c.weapons[slot] = static_cast<int>(w);
    }
    return true;
}

bool readKey(const Line& line, const std::string& token, RunKeys& keys)
{
    const bool pressed = token[0] == '+';
    const std::string name = pressed ? token.substr(1) : token;
    for (const KeyName& k : KEY_NAMES)
        if (name == k.name) {
            keys.held.push_back(k.symbol);
            if (pressed)
                keys.pressed.push_back(k.symbol);
            return true;
        }
    return line.fail("unknown key '" + token + "' (keys: d g r f 1 2 3 left right up down i o p, '+' for a key-down)");
}

bool parseSetUp(const Line& line, const std::string& word, Command& c)
{
    const int32_t maxInt = std::numeric_limits<int32_t>::max();
    if (word == "seed") {
        c.kind = CommandKind::Seed;
        return expectCount(line, 2, "seed N") &&
               readInteger(line, 1, "seed", 0, std::numeric_limits<uint32_t>::max(), c.value);
    }
    if (word == "map") {
        c.kind = CommandKind::Map;
        return expectCount(line, 2, "map N") && readInteger(line, 1, "map", 0, MAP_ROWS - 1, c.value);
    }
    if (word == "lives") {
        c.kind = CommandKind::Lives;
        return expectCount(line, 2, "lives N") && readInteger(line, 1, "lives", 0, maxInt, c.value);
    }
    if (word == "ship") {
        c.kind = CommandKind::Ship;
        return expectCount(line, 3, "ship P N") && readPlayer(line, 1, c) &&
               readInteger(line, 2, "ship", 0, SHIP_ROWS - 1, c.value);
    }
    c.kind = CommandKind::Weapons;
    return expectCount(line, 2 + SLOT_COUNT, "weapons P w0 w1 w2 w3 w4") && readPlayer(line, 1, c) &&
           readWeapons(line, 2, c);
}

bool parsePlace(const Line& line, Command& c)
{
    static_assert(sizeof c.place / sizeof c.place[0] == 5, "x, y, speed, angle, heading");
    const char* names[] = {"x", "y", "speed", "angle", "heading"};
    c.kind = CommandKind::Place;
    if (!expectCount(line, 7, "place P x y speed angle heading") || !readPlayer(line, 1, c))
        return false;
    for (int i = 0; i < 5; ++i)
        if (!readNumber(line, 2 + i, names[i], c.place[i]))
            return false;
    return true;
}

bool parseRun(const Line& line, Command& c)
{
    const bool match = line.tokens[0] == "match";
    c.kind = match ? CommandKind::Match : CommandKind::Run;
    if (line.tokens.size() < 3)
        return line.fail(match ? "expected 'match N DT KEY...'" : "expected 'run N DT KEY...'");
    int64_t frames = 0, frameMs = 0;
    const int32_t maxInt = std::numeric_limits<int32_t>::max();
    if (!readInteger(line, 1, "frame count", 0, maxInt, frames) ||
        !readInteger(line, 2, "frame time", 0, maxInt, frameMs))
        return false;
    c.frames = static_cast<int>(frames);
    c.frameMs = static_cast<int>(frameMs);
    for (size_t i = 3; i < line.tokens.size(); ++i)
        if (!readKey(line, line.tokens[i], c.keys))
            return false;
    return true;
}

// menu | menu ships S1 S2 | menu weapons P w0..w4 | menu map N
bool parseMenu(const Line& line, Command& c)
{
    c.kind = CommandKind::Menu;
    if (line.tokens.size() == 1)
        return true;
    const std::string& screen = line.tokens[1];
    if (screen == "ships") {
        c.menu = MenuLine::SHIPS;
        if (!expectCount(line, 4, "menu ships S1 S2"))
            return false;
        for (int p = 0; p < 2; ++p) {
            int64_t value = 0;
            if (!readInteger(line, 2 + p, "ship", 0, SHIP_ROWS - 1, value))
                return false;
            c.ships[p] = static_cast<int>(value);
        }
        return true;
    }
    if (screen == "map") {
        c.menu = MenuLine::MAP;
        return expectCount(line, 3, "menu map N") && readInteger(line, 2, "map", 0, MAP_ROWS - 1, c.value);
    }
    if (screen != "weapons")
        return line.fail("unknown menu screen '" + screen + "' (ships, weapons, map)");
    c.menu = MenuLine::WEAPONS;
    return expectCount(line, 3 + SLOT_COUNT, "menu weapons P w0 w1 w2 w3 w4") && readPlayer(line, 2, c) &&
           readWeapons(line, 3, c);
}

bool parseCpu(const Line& line, Command& c)
{
    c.kind = CommandKind::Cpu;
    if (!expectCount(line, 3, "cpu P LEVEL") || !readPlayer(line, 1, c))
        return false;
    PilotLevel level = PilotLevel::Normal;
    if (!pilotLevelFromName(line.tokens[2].c_str(), level))
        return line.fail("the level must be easy, normal or hard, not '" + line.tokens[2] + "'");
    c.value = static_cast<int64_t>(level);
    return true;
}

bool parseReport(const Line& line, Command& c)
{
    c.kind = CommandKind::Report;
    return expectCount(line, 2, "report K") &&
           readInteger(line, 1, "report interval", 0, std::numeric_limits<int32_t>::max(), c.value);
}

bool isSetUp(const std::string& word)
{
    return word == "seed" || word == "map" || word == "lives" || word == "ship" || word == "weapons";
}

} // namespace

bool parseScript(const std::string& text, std::vector<Command>& commands, ScriptError& error)
{
    std::istringstream in(text);
    std::string raw;
    bool runSeen = false;
    for (int number = 1; std::getline(in, raw); ++number) {
        const Line line{number, tokensOf(raw), &error};
        if (line.tokens.empty())
            continue;
        const std::string& word = line.tokens[0];
        Command c;
        c.line = number;
        bool ok = false;
        if (isSetUp(word)) {
            if (runSeen)
                return line.fail("'" + word + "' is set-up and must come before the first run");
            ok = parseSetUp(line, word, c);
        } else if (word == "place") {
            ok = parsePlace(line, c);
        } else if (word == "run" || word == "match") {
            ok = parseRun(line, c);
            runSeen = true;
        } else if (word == "menu") {
            ok = parseMenu(line, c);
            runSeen = true;
        } else if (word == "cpu") {
            ok = parseCpu(line, c);
        } else if (word == "report") {
            ok = parseReport(line, c);
        } else {
            return line.fail("unknown command '" + word +
                             "' (commands: seed map lives ship weapons place run match menu cpu report)");
        }
        if (!ok)
            return false;
        commands.push_back(c);
    }
    return true;
}
