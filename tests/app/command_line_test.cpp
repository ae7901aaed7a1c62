#include <gtest/gtest.h>
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
}

TEST(CommandLine, LaterSizesWinAndEveryOptionApplies)
{
    const Settings s = parse({"-800", "-640", "-w"});
    EXPECT_EQ(s.screenWidth, 640);
    EXPECT_EQ(s.screenHeight, 480);
    EXPECT_FALSE(s.fullScreen);
    const Settings tiny = parse({"-window", "-320", "-t"});
    EXPECT_EQ(tiny.screenWidth, 320);
    EXPECT_EQ(tiny.screenHeight, 240);
    EXPECT_EQ(tiny.baseColour.green, 180);
    EXPECT_EQ(tiny.baseColour.blue, 180);
    EXPECT_EQ(parse({"-1024"}).screenHeight, 768);
}

TEST(CommandLine, AllFourMusicSwitchesSilenceTheMusic)
{
    for (const char* option : {"-nosound", "-ns", "-nomusic", "-nm"})
        EXPECT_FALSE(parse({option}).musicOn) << option;
}

TEST(CommandLine, MatchingIsExactAndCaseSensitive)
{
    const Settings s = parse({"-W", "--w", "w", "-Window", "-640x", "-NM", "+800"});
    EXPECT_TRUE(s.fullScreen);
    EXPECT_TRUE(s.musicOn);
    EXPECT_EQ(s.screenWidth, 1024);
}

TEST(CommandLine, ProgramPathIsComparedToo)
{
    const char* args[] = {"-w"};
    EXPECT_FALSE(parseCommandLine(1, args).fullScreen);
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
