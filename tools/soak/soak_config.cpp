#include "soak_config.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include "app/config_file.h"
#include "files/whole_file.h"
#include "gfx/utf8.h"

bool setConfigLives(const std::string& path, int lives, SavedConfig& saved, std::string& error)
{
    // The game's own bounded reader: a named pipe cannot keep the soak
    // waiting, nor a device feed it without end.
    const WholeFile file = readWholeFile(path, CONFIG_MAX_BYTES);
    if (file.result == ReadResult::Refused) {
        error = "cannot read " + printableOnTerminal(path) + ": " + file.reason;
        return false;
    }
    saved.existed = file.result == ReadResult::Read;
    saved.text = file.text;
    GameConfig config = parseConfig(saved.text);
    config.lives = lives;
    if (writeConfig(path, config))
        return true;
    error = "cannot write " + printableOnTerminal(path);
    return false;
}

bool restoreConfig(const std::string& path, const SavedConfig& saved)
{
    if (!saved.existed)
        return std::remove(path.c_str()) == 0;
    const FileReplacement restored = replaceFile(path, saved.text);
    if (restored.error == 0)
        return true;
    std::fprintf(stderr, "zentavor-soak: cannot restore %s: %s\n", printableOnTerminal(restored.target).c_str(),
                 std::strerror(restored.error));
    return false;
}
