#include "app/config_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

static void copyName(char (&buffer)[NAME_BUFFER_SIZE], const std::string& word)
{
    // Longer names are cut, never written past the buffer.
    std::strncpy(buffer, word.c_str(), NAME_BUFFER_SIZE - 1);
    buffer[NAME_BUFFER_SIZE - 1] = '\0';
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

GameConfig readConfig(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return parseConfig("");
    std::ostringstream text;
    text << file.rdbuf();
    return parseConfig(text.str());
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

// Writes text to a new file; returns the errno of the first step that failed,
// 0 when all went well. Sets created once the file exists on disk.
static int writeNewFile(const std::string& name, const std::string& text, bool& created)
{
    FILE* file = std::fopen(name.c_str(), "wb");
    if (!file)
        return errno;
    created = true;
    int error = 0;
    // Steps keep running after a failure so that the file is always closed.
    const auto step = [&error](bool succeeded) {
        if (!succeeded && error == 0)
            error = errno != 0 ? errno : EIO;
    };
    errno = 0;
    step(std::fwrite(text.data(), 1, text.size(), file) == text.size());
    step(std::fflush(file) == 0);
    step(fsync(fileno(file)) == 0);
    step(std::fclose(file) == 0);
    return error;
}

bool writeConfig(const std::string& path, const GameConfig& config)
{
    const std::string temporary = path + ".tmp";
    bool created = false;
    int error = writeNewFile(temporary, formatConfig(config), created);
    // Only a complete file replaces the old settings.
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error == 0)
        return true;
    if (created)
        std::remove(temporary.c_str());
    // The players' choices are lost this time: they should at least hear why.
    std::fprintf(stderr, "zentavor: cannot save %s: %s\n", path.c_str(), std::strerror(error));
    return false;
}

GameConfig configOf(const MatchState& m)
{
    GameConfig config;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        copyName(config.names[p], m.nameBuffers[p]);
        config.shipIndex[p] = m.players[p].shipIndex;
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            config.weapons[p][slot] = m.players[p].weapons[slot].weaponIndex;
    }
    config.mapIndex = m.currentMapIndex;
    config.lives = m.livesSetting;
    return config;
}
