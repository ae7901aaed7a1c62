// The runner's script: set-up lines, placements and runs of frames, read
// completely before anything is simulated.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class CommandKind { Seed, Map, Lives, Ship, Weapons, Place, Run, Menu, Match, Cpu, Report };

// Which sub-screen a menu line leaves; VISIT: only the main-menu page.
enum class MenuLine { VISIT, SHIPS, WEAPONS, MAP };

// The keys of a run by SDL 1.2 key symbol; pressed ones also get a key-down in the first frame.
struct RunKeys {
    std::vector<int> held;
    std::vector<int> pressed;
};

struct Command {
    CommandKind kind = CommandKind::Run;
    int line = 0;           // in the script, from 1
    int player = 0;         // 0 or 1, for ship, weapons, place and cpu
    int64_t value = 0;      // seed, map, lives, ship index, pilot level, report interval
    int weapons[5] = {};
    double place[5] = {};   // x px, y px, speed (world units/s), angle, heading (radians)
    int frames = 0;
    int frameMs = 0;
    RunKeys keys;
    MenuLine menu = MenuLine::VISIT;
    int ships[2] = {};      // menu ships
};

struct ScriptError {
    int line = 0; // 0: not tied to a line
    std::string message;
};

// Parses the whole script. Returns false and fills error on the first bad line.
bool parseScript(const std::string& text, std::vector<Command>& commands, ScriptError& error);
