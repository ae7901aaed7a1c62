#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include "net/endpoint.h"

#ifndef ZENTAVOR_VERSION
#error "the build gives the version (CMake's project VERSION)"
#endif

constexpr int MIN_WINDOW_WIDTH = 320; // pixels, the smallest -size
constexpr int MIN_WINDOW_HEIGHT = 240;
constexpr int MAX_FRAME_CAP = 1000;   // -fps: passes a second

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

// An option followed by its file name, which it takes as its own; an empty
// name is no name.
static void takeFileName(int argc, const char* const* argv, int& i, std::string& file, std::string& problem)
{
    const std::string option = argv[i];
    file = i + 1 < argc ? argv[++i] : "";
    if (file.empty())
        problem = option + " needs a file name";
}

struct OptionHelp {
    const char* usage;
    const char* effect;
};

static_assert(NET_DEFAULT_PORT == 29170 && NET_DEFAULT_INPUT_DELAY == 2 && NET_MAX_INPUT_DELAY == 8,
              "the help names the network defaults");

// One line of --help per option, in the order a player looks for them.
static const OptionHelp OPTION_HELP[] = {
    {"-1024, -800, -640, -320", "1024x768 (default), 800x600, 640x480 or 320x240"},
    {"-window, -w", "a window instead of full screen"},
    {"-desktop", "full screen at the desktop's size, 4:3 kept"},
    {"-size WxH", "a window from 320x240 up to the screen"},
    {"-nomusic, -nm", "no music"},
    {"-nosound, -ns", "no music and no sound effects"},
    {"-sfx", "sound effects"},
    {"-tirel, -t", "a pink tint over everything"},
    {"-fps N", "at most N match frames a second (1-1000)"},
    {"-vsync", "wait for the screen's refresh at each frame"},
    {"-pad2", "the first gamepad flies player 2"},
    {"-record FILE", "record the run into FILE"},
    {"-replay FILE", "show the run recorded in FILE, then quit"},
    {"-cpu1, -cpu2", "the computer flies player 1 or 2"},
    {"-cpu1=LEVEL, -cpu2=LEVEL", "the same at easy, normal (default) or hard"},
    {"-host [PORT]", "host a network match (UDP port 29170)"},
    {"-join ADDRESS[:PORT]", "play against the machine hosting at ADDRESS"},
    {"-delay N", "input delay in frames, 0 to 8 (default 2)"},
    {"--help, -h, -help", "this help"},
    {"--version", "the version"},
};

// A whole decimal number from text, with nothing after it.
static bool readWhole(const char* text, const char* end, long& value)
{
    if (text == end || *text < '0' || *text > '9')
        return false;
    char* stop = nullptr;
    value = std::strtol(text, &stop, 10);
    return stop == end && value <= 1000000;
}

static void reportValue(Settings& s, const char* option, const char* wanted, const char* value)
{
    if (value)
        s.problem = std::string(option) + " wants " + wanted + ", not \"" + value + "\"";
    else
        s.problem = std::string(option) + " wants " + wanted + " after it";
}

static void applySize(Settings& s, const char* value)
{
    const char* x = value ? std::strchr(value, 'x') : nullptr;
    long width = 0, height = 0;
    if (!x || !readWhole(value, x, width) || !readWhole(x + 1, x + std::strlen(x), height) ||
        width < MIN_WINDOW_WIDTH || height < MIN_WINDOW_HEIGHT) {
        char wanted[48];
        std::snprintf(wanted, sizeof wanted, "WIDTHxHEIGHT of at least %dx%d", MIN_WINDOW_WIDTH, MIN_WINDOW_HEIGHT);
        reportValue(s, "-size", wanted, value);
        return;
    }
    s.screenWidth = static_cast<int>(width);
    s.screenHeight = static_cast<int>(height);
    s.fullScreen = false;
    s.desktopSize = false;
    s.sizeWithinScreen = true;
}

static void applyFrameCap(Settings& s, const char* value)
{
    long cap = 0;
    if (!value || !readWhole(value, value + std::strlen(value), cap) || cap < 1 || cap > MAX_FRAME_CAP) {
        char wanted[48];
        std::snprintf(wanted, sizeof wanted, "frames a second from 1 to %d", MAX_FRAME_CAP);
        reportValue(s, "-fps", wanted, value);
        return;
    }
    s.frameCap = static_cast<int32_t>(cap);
}

// -cpu1, -cpu2, or either with =easy, =normal or =hard. Returns false for anything else.
static bool readCpuOption(const char* a, Settings& s)
{
    constexpr const char* CPU_OPTIONS[] = {"-cpu1", "-cpu2"};
    for (int p = 0; p < 2; ++p) {
        const size_t n = std::strlen(CPU_OPTIONS[p]);
        if (std::strncmp(a, CPU_OPTIONS[p], n) != 0 || (a[n] != '\0' && a[n] != '='))
            continue;
        PilotLevel level = PilotLevel::Normal;
        if (a[n] == '=' && !pilotLevelFromName(a + n + 1, level)) {
            reportValue(s, CPU_OPTIONS[p], "easy, normal or hard", a + n + 1);
            return false;
        }
        s.cpu[p] = CpuSeat{true, level};
        return true;
    }
    return false;
}

// -host with the port after it, if the next argument is one.
static void applyHost(Settings& s, const char* next, int& i)
{
    s.net.mode = NetMode::HOST;
    s.net.port = NET_DEFAULT_PORT;
    uint16_t port = 0;
    if (next && parsePort(next, port)) {
        s.net.port = port;
        ++i;
    }
}

static void applyJoin(Settings& s, const char* value)
{
    Endpoint endpoint;
    std::string why;
    if (!value || !parseEndpoint(value, NET_DEFAULT_PORT, endpoint, why)) {
        s.problem = "-join wants ADDRESS or ADDRESS:PORT" + (value ? ": " + why : std::string(" after it"));
        return;
    }
    s.net.mode = NetMode::JOIN;
    s.net.address = value;
}

// A whole number from lo to hi after option, into value.
static void applyNumber(Settings& s, const char* option, const char* text, long lo, long hi, int32_t& value)
{
    long number = 0;
    if (!text || !readWhole(text, text + std::strlen(text), number) || number < lo || number > hi) {
        char wanted[48];
        std::snprintf(wanted, sizeof wanted, "a whole number from %ld to %ld", lo, hi);
        reportValue(s, option, wanted, text);
        return;
    }
    value = static_cast<int32_t>(number);
}

// What cannot go together.
static void checkCombinations(Settings& s)
{
    if (!s.recordFile.empty() && !s.replayFile.empty())
        s.problem = "-record and -replay cannot be used together";
    if (s.net.mode != NetMode::NONE && !s.replayFile.empty())
        s.problem = "-replay cannot be used in a network match";
}

Settings parseCommandLine(int argc, const char* const* argv)
{
    Settings s;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto is = [a](const char* option) { return std::strcmp(a, option) == 0; };
        if (is("-record"))
            takeFileName(argc, argv, i, s.recordFile, s.problem);
        if (is("-replay"))
            takeFileName(argc, argv, i, s.replayFile, s.problem);
        for (const SizeOption& size : SIZE_OPTIONS)
            if (is(size.name)) {
                s.screenWidth = size.width;
                s.screenHeight = size.height;
                s.desktopSize = false;
                s.sizeWithinScreen = false;
            }
        if (is("-nosound") || is("-ns")) {
            s.musicOn = false;
            s.effectsOn = false;
        }
        if (is("-nomusic") || is("-nm"))
            s.musicOn = false;
        if (is("-sfx"))
            s.effectsOn = true;
        if (is("-window") || is("-w"))
            s.fullScreen = false;
        if (is("-tirel") || is("-t"))
            s.baseColour = Colour{255, 180, 180, 255};
        if (is("-desktop")) {
            s.desktopSize = true;
            s.fullScreen = true;
            s.sizeWithinScreen = false;
        }
        // Options with a value take the next argument, whatever it is.
        if (is("-size")) {
            applySize(s, next);
            ++i;
        }
        if (is("-fps")) {
            applyFrameCap(s, next);
            ++i;
        }
        if (is("-vsync"))
            s.vsync = true;
        if (is("--help") || is("-h") || is("-help"))
            s.info = InfoRequest::HELP;
        if (is("--version"))
            s.info = InfoRequest::VERSION;
        readCpuOption(a, s);
        if (is("-pad2"))
            s.padsSwapped = true;
        if (is("-host"))
            applyHost(s, next, i);
        if (is("-join")) {
            applyJoin(s, next);
            ++i;
        }
        if (is("-delay")) {
            applyNumber(s, "-delay", next, 0, NET_MAX_INPUT_DELAY, s.net.inputDelay);
            ++i;
        }
        // For the tests of the desync mending only; not in --help.
        if (is("-test-desync")) {
            applyNumber(s, "-test-desync", next, 0, 1000000, s.net.desyncTestFrame);
            ++i;
        }
    }
    checkCombinations(s);
    return s;
}

bool answerWritten(FILE* out)
{
    if (std::fflush(out) == 0 && !std::ferror(out))
        return true;
    std::fprintf(stderr, "zentavor: cannot write the answer: %s\n", std::strerror(errno));
    return false;
}

bool answerInfoRequest(const Settings& s, FILE* out)
{
    if (s.info == InfoRequest::VERSION) {
        std::fprintf(out, "zentavor %s\n", ZENTAVOR_VERSION);
        return true;
    }
    if (s.info != InfoRequest::HELP)
        return false;
    std::fprintf(out, "Usage: zentavor [OPTION]...\nTwo ships duel among planets, two players on one keyboard or two machines.\n\n");
    for (const OptionHelp& option : OPTION_HELP)
        std::fprintf(out, "  %-30s%s\n", option.usage, option.effect);
    std::fprintf(out, "\nOther arguments are ignored.\n");
    return true;
}

const char* gameVersion() { return ZENTAVOR_VERSION; }
