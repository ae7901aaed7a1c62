#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/command_line.h"

static Settings parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "zentavor");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, DefaultsAreFullScreenPlayfieldSizeWithMusicAndWhite)
{
    const Settings s = parse({});
    EXPECT_EQ(s.screenWidth, 1024);
    EXPECT_EQ(s.screenHeight, 768);
    EXPECT_TRUE(s.fullScreen);
    EXPECT_TRUE(s.musicOn);
    EXPECT_EQ(s.baseColour.green, 255);
    EXPECT_FALSE(s.padsSwapped);
}

TEST(CommandLine, LaterSizesWinAndEveryOptionApplies)
{
    const Settings s = parse({"-800", "-640", "-w"});
    EXPECT_EQ(s.screenWidth, 640);
    EXPECT_EQ(s.screenHeight, 480);
    EXPECT_FALSE(s.fullScreen);
    const Settings tiny = parse({"-window", "-320", "-t", "-pad2"});
    EXPECT_EQ(tiny.screenWidth, 320);
    EXPECT_EQ(tiny.screenHeight, 240);
    EXPECT_EQ(tiny.baseColour.green, 180);
    EXPECT_EQ(tiny.baseColour.blue, 180);
    EXPECT_TRUE(tiny.padsSwapped);
    EXPECT_EQ(parse({"-1024"}).screenHeight, 768);
}

TEST(CommandLine, SoundSwitchesSetMusicAndEffectsAndTheLaterOneWins)
{
    struct Case {
        std::vector<const char*> args;
        bool music, effects;
    };
    const Case cases[] = {
        {{}, true, false},
        {{"-sfx"}, true, true},
        {{"-nomusic"}, false, false},
        {{"-nm", "-sfx"}, false, true},
        {{"-sfx", "-nm"}, false, true},
        {{"-nosound"}, false, false},
        {{"-sfx", "-ns"}, false, false},
        {{"-ns", "-sfx"}, false, true},
        {{"-sfx", "-nosound", "-sfx"}, false, true},
        {{"-SFX", "--sfx", "sfx", "-sfx2"}, true, false},
    };
    for (const Case& c : cases) {
        const Settings s = parse(c.args);
        std::string args;
        for (const char* a : c.args)
            args += std::string(a) + " ";
        EXPECT_EQ(s.musicOn, c.music) << args;
        EXPECT_EQ(s.effectsOn, c.effects) << args;
    }
}

TEST(CommandLine, MatchingIsExactAndCaseSensitive)
{
    const Settings s = parse({"-W", "--w", "w", "-Window", "-640x", "-NM", "+800", "-Pad2", "-pad"});
    EXPECT_TRUE(s.fullScreen);
    EXPECT_FALSE(s.padsSwapped);
    EXPECT_TRUE(s.musicOn);
    EXPECT_EQ(s.screenWidth, 1024);
}

TEST(CommandLine, ProgramPathIsComparedToo)
{
    const char* args[] = {"-w"};
    EXPECT_FALSE(parseCommandLine(1, args).fullScreen);
}

TEST(CommandLine, ScreenAndPacingOptionsFollowTheLaterOneWins)
{
    struct Case {
        std::vector<const char*> args;
        int width, height;
        bool fullScreen, desktop, withinScreen;
    };
    const Case cases[] = {
        {{"-desktop"}, 1024, 768, true, true, false},
        {{"-desktop", "-w"}, 1024, 768, false, true, false},
        {{"-desktop", "-800"}, 800, 600, true, false, false},
        {{"-size", "1600x900"}, 1600, 900, false, false, true},
        {{"-size", "320x240", "-640"}, 640, 480, false, false, false},
        {{"-size", "1600x900", "-desktop"}, 1600, 900, true, true, false},
        {{"-Size", "1600x900", "-DESKTOP", "--desktop"}, 1024, 768, true, false, false},
    };
    for (const Case& c : cases) {
        const Settings s = parse(c.args);
        const std::string what = c.args[0] + std::string(" ...");
        EXPECT_EQ(s.screenWidth, c.width) << what;
        EXPECT_EQ(s.screenHeight, c.height) << what;
        EXPECT_EQ(s.fullScreen, c.fullScreen) << what;
        EXPECT_EQ(s.desktopSize, c.desktop) << what;
        EXPECT_EQ(s.sizeWithinScreen, c.withinScreen) << what;
        EXPECT_EQ(s.problem, "") << what;
    }
    const Settings paced = parse({"-fps", "60", "-vsync", "-fps", "1000"});
    EXPECT_EQ(paced.frameCap, 1000);
    EXPECT_TRUE(paced.vsync);
    EXPECT_EQ(parse({}).frameCap, 0);
    EXPECT_FALSE(parse({"-Vsync", "-fps=60"}).vsync);
}

TEST(CommandLine, AValueThatCannotBeUsedIsReportedAndNotApplied)
{
    const std::vector<std::vector<const char*>> bad = {
        {"-size", "319x240"}, {"-size", "1600x"}, {"-size", "x900"}, {"-size", "+800x600"},
        {"-size", "1600X900"}, {"-size", "16OOx900"}, {"-size"}, {"-size", "-w"},
        {"-fps", "0"}, {"-fps", "1001"}, {"-fps", "6O"}, {"-fps", "-60"}, {"-fps"},
    };
    for (const auto& args : bad) {
        const Settings s = parse(args);
        const std::string what = args[0] + std::string(" ") + (args.size() > 1 ? args[1] : "");
        EXPECT_NE(s.problem, "") << what;
        EXPECT_NE(s.problem.find(args[0]), std::string::npos) << what << ": " << s.problem;
        EXPECT_EQ(s.screenWidth, 1024) << what;
        EXPECT_EQ(s.frameCap, 0) << what;
        EXPECT_TRUE(s.fullScreen) << what; // "-w" was the value, not an option
    }
}

TEST(CommandLine, HelpAndVersionAreAskedForByTheirExactNames)
{
    EXPECT_EQ(parse({"--help"}).info, InfoRequest::HELP);
    EXPECT_EQ(parse({"-h"}).info, InfoRequest::HELP);
    EXPECT_EQ(parse({"-w", "-help"}).info, InfoRequest::HELP);
    EXPECT_EQ(parse({"-help", "--version"}).info, InfoRequest::VERSION);
    EXPECT_EQ(parse({"-H", "--Help", "-version", "-v", "help"}).info, InfoRequest::NONE);
}

TEST(CommandLine, RecordAndReplayTakeTheNextArgumentAsTheirFile)
{
    const Settings s = parse({"-w", "-record", "-800", "-nm"});
    EXPECT_EQ(s.recordFile, "-800");
    EXPECT_EQ(s.screenWidth, 1024);
    EXPECT_FALSE(s.musicOn);
    EXPECT_TRUE(s.problem.empty());
    EXPECT_EQ(parse({"-replay", "match.zrec"}).replayFile, "match.zrec");
    EXPECT_EQ(parse({"-w", "-replay"}).problem, "-replay needs a file name");
    EXPECT_EQ(parse({"-record", "a", "-replay", "b"}).problem, "-record and -replay cannot be used together");
    EXPECT_TRUE(parse({"-w"}).recordFile.empty());
}

TEST(CommandLine, CpuOptionsHandPlayersToThePilotAtTheirLevel)
{
    struct Case {
        std::vector<const char*> args;
        bool on[2];
        PilotLevel level[2];
    };
    const PilotLevel E = PilotLevel::Easy, N = PilotLevel::Normal, H = PilotLevel::Hard;
    const Case cases[] = {
        {{}, {false, false}, {N, N}},
        {{"-cpu1"}, {true, false}, {N, N}},
        {{"-cpu2=easy"}, {false, true}, {N, E}},
        {{"-cpu1=hard", "-cpu2=normal"}, {true, true}, {H, N}},
        {{"-cpu1=easy", "-cpu1=hard"}, {true, false}, {H, N}}, // later ones win
        {{"-cpu1=hard", "-cpu1"}, {true, false}, {N, N}},
        {{"-CPU1", "-cpu3", "-cpu12", "-cpu2hard"}, {false, false}, {N, N}},
    };
    for (const Case& c : cases) {
        const Settings s = parse(c.args);
        EXPECT_EQ(s.problem, "") << "case " << &c - cases;
        for (int p = 0; p < 2; ++p) {
            EXPECT_EQ(s.cpu[p].on, c.on[p]) << "player " << p + 1 << " of case " << &c - cases;
            if (c.on[p]) {
                EXPECT_EQ(s.cpu[p].level, c.level[p]) << "player " << p + 1 << " of case " << &c - cases;
            }
        }
    }
    // A level it does not know is reported, and the player stays with its keys.
    for (const char* bad : {"-cpu1=Hard", "-cpu1=", "-cpu1=expert"}) {
        const Settings s = parse({bad});
        EXPECT_NE(s.problem.find("-cpu1 wants easy, normal or hard"), std::string::npos) << bad;
        EXPECT_FALSE(s.cpu[0].on) << bad;
    }
}

TEST(CommandLine, NetworkOptionsTakeTheirPortAddressAndDelay)
{
    struct Case {
        std::vector<const char*> args;
        NetMode mode;
        uint16_t port;
        const char* address;
        int32_t delay;
    };
    const Case cases[] = {
        {{"-host"}, NetMode::HOST, NET_DEFAULT_PORT, "", NET_DEFAULT_INPUT_DELAY},
        {{"-host", "4000", "-delay", "0"}, NetMode::HOST, 4000, "", 0},
        {{"-host", "-w"}, NetMode::HOST, NET_DEFAULT_PORT, "", NET_DEFAULT_INPUT_DELAY},
        {{"-join", "example.org", "-delay", "8"}, NetMode::JOIN, NET_DEFAULT_PORT, "example.org", 8},
        {{"-join", "127.0.0.1:4000", "-cpu2"}, NetMode::JOIN, NET_DEFAULT_PORT, "127.0.0.1:4000", 2},
    };
    for (const Case& c : cases) {
        const Settings s = parse(c.args);
        EXPECT_EQ(s.problem, "") << c.args[0];
        EXPECT_EQ(s.net.mode, c.mode) << c.args[0];
        EXPECT_EQ(s.net.port, c.port) << c.args[0];
        EXPECT_EQ(s.net.address, c.address) << c.args[0];
        EXPECT_EQ(s.net.inputDelay, c.delay) << c.args[0];
    }
    EXPECT_FALSE(parse({"-host", "-w"}).fullScreen) << "an option after -host is no port";
    EXPECT_EQ(parse({"-test-desync", "300"}).net.desyncTestFrame, 300);
    for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
             {"-join"}, {"-join", "::1"}, {"-join", "host:0"}, {"-delay", "9"}, {"-delay", "-1"},
             {"-host", "-replay", "a.zrec"}}) {
        const Settings s = parse(bad);
        EXPECT_NE(s.problem, "") << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
    }
}
