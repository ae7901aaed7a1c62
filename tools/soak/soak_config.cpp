#include "soak_config.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include "app/config_file.h"

bool setConfigLives(const std::string& path, int lives, SavedConfig& saved, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    saved.existed = static_cast<bool>(in);
    std::ostringstream text;
    text << in.rdbuf();
    saved.text = saved.existed ? text.str() : std::string();
    GameConfig config = parseConfig(saved.text);
    config.lives = lives;
    if (writeConfig(path, config))
        return true;
    error = "cannot write " + path;
    return false;
}

bool restoreConfig(const std::string& path, const SavedConfig& saved)
{
    if (!saved.existed)
        return std::remove(path.c_str()) == 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << saved.text;
    return static_cast<bool>(out.flush());
}
