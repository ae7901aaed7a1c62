#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include "app/config_file.h"

static const char* const SAMPLE = "Ann\nBob\n2\n7\n3\n0\n1\n2\n3\n4\n1\n5\n6\n7\n8\n9";

static void expectInRange(const GameConfig& c)
{
    EXPECT_GE(c.mapIndex, 0);
    EXPECT_LT(c.mapIndex, MAP_COUNT);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        EXPECT_LE(std::strlen(c.names[p]), 15u);
        EXPECT_GE(c.shipIndex[p], 0);
        EXPECT_LT(c.shipIndex[p], SHIP_COUNT);
        for (int w : c.weapons[p]) {
            EXPECT_GE(w, 0);
            EXPECT_LT(w, WEAPON_COUNT);
        }
    }
}

TEST(ConfigFile, ReadsSixteenValuesAndWritesThemBackIdentically)
{
    const GameConfig c = parseConfig(SAMPLE);
    EXPECT_STREQ(c.names[0], "Ann");
    EXPECT_STREQ(c.names[1], "Bob");
    EXPECT_EQ(c.mapIndex, 2);
    EXPECT_EQ(c.lives, 7);
    EXPECT_EQ(c.shipIndex[0], 3);
    EXPECT_EQ(c.weapons[0][4], 4);
    EXPECT_EQ(c.shipIndex[1], 1);
    EXPECT_EQ(c.weapons[1][0], 5);
    EXPECT_EQ(formatConfig(c), SAMPLE);
}

TEST(ConfigFile, AnyWhitespaceSeparatesValues)
{
    const GameConfig c = parseConfig("Ann Bob\t2 7 3 0 1 2 3 4\r\n1 5 6 7 8 9");
    EXPECT_EQ(formatConfig(c), SAMPLE);
}

TEST(ConfigFile, OutOfRangeAndNegativeIndicesBecomeTheFirstRow)
{
    const GameConfig c = parseConfig("A B 3 0 4 0 1 10 3 -1 -2 5 6 12 8 9");
    EXPECT_EQ(c.mapIndex, 0);
    EXPECT_EQ(c.lives, 0);
    EXPECT_EQ(c.shipIndex[0], 0);
    EXPECT_EQ(c.weapons[0][2], 0);
    EXPECT_EQ(c.weapons[0][4], 0);
    EXPECT_EQ(c.shipIndex[1], 0);
    EXPECT_EQ(c.weapons[1][2], 0);
    EXPECT_EQ(c.weapons[1][3], 8);
}

TEST(ConfigFile, MissingValuesTakeDefaultsAndMissingWeaponsStayZero)
{
    const GameConfig defaults;
    const GameConfig none = parseConfig("");
    EXPECT_STREQ(none.names[0], defaults.names[0]);
    EXPECT_EQ(none.lives, DEFAULT_LIVES);
    EXPECT_EQ(none.shipIndex[1], defaults.shipIndex[1]);
    for (int w : none.weapons[1])
        EXPECT_EQ(w, 0);
    const GameConfig half = parseConfig("Ann Bob 1 oops 2 5");
    EXPECT_EQ(half.mapIndex, 1);
    EXPECT_EQ(half.lives, DEFAULT_LIVES);
    EXPECT_EQ(half.shipIndex[0], 2);
    EXPECT_EQ(half.weapons[0][0], 5);
    EXPECT_EQ(half.weapons[0][1], 0);
}

TEST(ConfigFile, NamesWithZeroBytesStillWriteSixteenValuesThatReadBackTheSame)
{
    const GameConfig c = parseConfig(std::string("\0Kirk Sp\0ock 2 3 1", 18));
    EXPECT_STREQ(c.names[0], GameConfig{}.names[0]);
    EXPECT_STREQ(c.names[1], "Sp");
    EXPECT_EQ(c.mapIndex, 2);
    EXPECT_EQ(c.lives, 3);
    EXPECT_EQ(c.shipIndex[0], 1);
    const std::string written = formatConfig(c);
    EXPECT_EQ(formatConfig(parseConfig(written)), written);
}

TEST(ConfigFile, LongNamesAreCutAndHugeNumbersAreRefused)
{
    const GameConfig c = parseConfig("AVeryLongPlayerNameIndeed B 99999999999999999999 2147483647 1 0 0 0 0 0 1");
    EXPECT_STREQ(c.names[0], "AVeryLongPlaye" "r");
    EXPECT_EQ(std::strlen(c.names[0]), 15u);
    EXPECT_EQ(c.mapIndex, 0);
    EXPECT_EQ(c.lives, 2147483647);
    expectInRange(c);
}

TEST(ConfigFile, RandomBytesNeverBreakTheReader)
{
    std::mt19937 generator(1234);
    for (int round = 0; round < 500; ++round) {
        std::string text(generator() % 200, '\0');
        for (char& ch : text)
            ch = static_cast<char>(generator() % 256);
        if (round % 3 == 0)
            for (char& ch : text)
                ch = "0123456789- \n"[generator() % 13];
        expectInRange(parseConfig(text));
    }
}

TEST(ConfigFile, WriteReplacesTheFileWholeAndLeavesNoTemporary)
{
    char folder[] = "/tmp/zentavor-config-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/config.cfg";
    {
        std::ofstream old(path);
        old << "old contents that are much longer than the new file will be, to catch leftovers";
    }
    ASSERT_TRUE(writeConfig(path, parseConfig(SAMPLE)));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), SAMPLE);
    EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0);
    EXPECT_EQ(formatConfig(readConfig(path)), SAMPLE);

    // A folder that cannot be written keeps the old file and says so.
    chmod(folder, 0500);
    const bool wrote = writeConfig(path, parseConfig("X Y 1 1 1"));
    chmod(folder, 0700);
    if (geteuid() != 0) {
        EXPECT_FALSE(wrote);
        EXPECT_EQ(formatConfig(readConfig(path)), SAMPLE);
    }
    std::remove(path.c_str());
    rmdir(folder);
}

static std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Works as root too: a full device, a missing folder and a folder in the way
// fail where permissions would not.
TEST(ConfigFile, AFailedSaveSaysWhyOnceKeepsTheOldFileAndLeavesNoTemporary)
{
    char folder[] = "/tmp/zentavor-config-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/config.cfg";
    const std::string temporary = path + ".tmp";
    ASSERT_TRUE(writeConfig(path, parseConfig(SAMPLE)));
    ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeConfig(path, parseConfig("X Y 1 1 1")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zentavor: cannot save " + path + ": " + std::strerror(ENOSPC) + "\n");
    EXPECT_EQ(contentsOf(path), SAMPLE);
    struct stat info;
    EXPECT_NE(lstat(temporary.c_str(), &info), 0) << "the temporary file was left behind";

    const std::string nowhere = std::string(folder) + "/missing/config.cfg";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeConfig(nowhere, parseConfig(SAMPLE)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zentavor: cannot save " + nowhere + ": " + std::strerror(ENOENT) + "\n");

    // A folder by the file's name: the complete temporary cannot be renamed over it.
    const std::string taken = std::string(folder) + "/taken";
    ASSERT_EQ(mkdir(taken.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((taken + "/inside").c_str(), 0700), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeConfig(taken, parseConfig(SAMPLE)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zentavor: cannot save " + taken + ": " + std::strerror(EISDIR) + "\n");
    EXPECT_NE(lstat((taken + ".tmp").c_str(), &info), 0) << "the complete temporary was left behind";

    rmdir((taken + "/inside").c_str());
    rmdir(taken.c_str());
    std::remove(path.c_str());
    rmdir(folder);
}
