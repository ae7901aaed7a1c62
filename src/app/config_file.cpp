#include "app/config_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include "files/whole_file.h"
#include "gfx/utf8.h"

static void copyName(char (&buffer)[NAME_BUFFER_SIZE], const std::string& word)
{
    // Longer names are cut between two characters, so a UTF-8 name never
    // ends in half of one; the buffer holds NAME_CHARACTERS of the longest.
    const std::string name = word.substr(0, word.find('\0'));
    const size_t bytes = bytesOfCharacters(name, NAME_CHARACTERS);
    name.copy(buffer, bytes);
    buffer[bytes] = '\0';
}

// A word that starts with a zero byte would make an empty name, saved as an
// empty line that shifts every later value on the next read.
static bool usableName(const std::string& word) { return !word.empty() && word[0] != '\0'; }

// A whole token as a decimal int; anything else (garbage, overflow) is unreadable.
static bool parseInt(const std::string& token, int& out)
{
    if (token.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(token.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}

// Out of range, negative included, means the first row.
static int validIndex(int value, int count) { return value >= 0 && value < count ? value : 0; }

GameConfig parseConfig(const std::string& text)
{
    GameConfig config;
    for (int* w : {config.weapons[0], config.weapons[1]})
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            w[slot] = 0;
    std::istringstream in(text);
    std::string token;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (in >> token && usableName(token))
            copyName(config.names[p], token);
    if (in >> token)
        parseInt(token, config.mapIndex);
    if (in >> token)
        parseInt(token, config.lives);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (in >> token)
            parseInt(token, config.shipIndex[p]);
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            if (in >> token)
                parseInt(token, config.weapons[p][slot]);
    }
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            config.weapons[p][slot] = validIndex(config.weapons[p][slot], WEAPON_COUNT);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        config.shipIndex[p] = validIndex(config.shipIndex[p], SHIP_COUNT);
    config.mapIndex = validIndex(config.mapIndex, MAP_COUNT);
    return config;
}

ConfigRead readConfig(const std::string& path)
{
    const WholeFile file = readWholeFile(path, CONFIG_MAX_BYTES);
    ConfigRead read;
    read.config = parseConfig(file.text);
    if (file.result == ReadResult::Refused) {
        read.saveAtQuit = false;
        std::fprintf(stderr, "zentavor: cannot read %s: %s; playing with the default settings, and %s is left as it is\n",
                     path.c_str(), file.reason.c_str(), path.c_str());
    }
    return read;
}

std::string formatConfig(const GameConfig& config)
{
    std::ostringstream out;
    out << config.names[0] << '\n' << config.names[1] << '\n' << config.mapIndex << '\n' << config.lives;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        out << '\n' << config.shipIndex[p];
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            out << '\n' << config.weapons[p][slot];
    }
    return out.str();
}

bool writeConfig(const std::string& path, const GameConfig& config)
{
    const FileReplacement saved = replaceFile(path, formatConfig(config));
    if (saved.error == 0)
        return true;
    // The players' choices are lost this time: they should at least hear why.
    std::fprintf(stderr, "zentavor: cannot save %s: %s\n", printableOnTerminal(saved.target).c_str(),
                 std::strerror(saved.error));
    return false;
}

GameConfig configOf(const MatchState& m)
{
    GameConfig config;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        copyName(config.names[p], m.nameBuffers[p]);
        config.shipIndex[p] = m.players[p].shipIndex;
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            config.weapons[p][slot] = m.players[p].weaponRows[slot];
    }
    config.mapIndex = m.currentMapIndex;
    config.lives = m.livesSetting;
    return config;
}
