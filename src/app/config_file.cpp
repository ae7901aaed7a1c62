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
        if (in >> token)
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

bool writeConfig(const std::string& path, const GameConfig& config)
{
    const std::string temporary = path + ".tmp";
    const std::string text = formatConfig(config);
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    // Only a complete file replaces the old settings.
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
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
