// config.cfg for the run: few lives while the soak plays, the player's file back afterwards.
#pragma once
#include <string>

struct SavedConfig {
    bool existed = false;
    std::string text; // the file as it was
};

// Reads the file as it is (refusing what is not a small regular file), then
// writes it back with the lives per match set. Returns false (with error
// set) when it cannot be read or written.
bool setConfigLives(const std::string& path, int lives, SavedConfig& saved, std::string& error);
// Puts the file back as setConfigLives found it (removes it if there was none).
bool restoreConfig(const std::string& path, const SavedConfig& saved);
