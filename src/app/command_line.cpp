#include "app/command_line.h"

#include <cstring>

struct SizeOption {
    const char* name;
    int width, height;
};

static const SizeOption SIZE_OPTIONS[] = {
    {"-1024", 1024, 768},
    {"-800", 800, 600},
    {"-640", 640, 480},
    {"-320", 320, 240},
};

// An option followed by its file name, which it takes as its own.
static void takeFileName(int argc, const char* const* argv, int& i, std::string& file, std::string& problem)
{
    if (i + 1 < argc)
        file = argv[++i];
    else
        problem = std::string(argv[i]) + " needs a file name";
}

Settings parseCommandLine(int argc, const char* const* argv)
{
    Settings s;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        const auto is = [a](const char* option) { return std::strcmp(a, option) == 0; };
        if (is("-record"))
            takeFileName(argc, argv, i, s.recordFile, s.problem);
        if (is("-replay"))
            takeFileName(argc, argv, i, s.replayFile, s.problem);
        for (const SizeOption& size : SIZE_OPTIONS)
            if (is(size.name)) {
                s.screenWidth = size.width;
                s.screenHeight = size.height;
            }
        if (is("-nosound") || is("-ns") || is("-nomusic") || is("-nm"))
            s.musicOn = false;
        if (is("-window") || is("-w"))
            s.fullScreen = false;
        if (is("-tirel") || is("-t"))
            s.baseColour = Colour{255, 180, 180, 255};
    }
    if (!s.recordFile.empty() && !s.replayFile.empty())
        s.problem = "-record and -replay cannot be used together";
    return s;
}
