#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include "app/config_file.h"
#include "gfx/utf8.h"

static const char* const SAMPLE = "Ann\nBob\n2\n7\n3\n0\n1\n2\n3\n4\n1\n5\n6\n7\n8\n9";

static void expectInRange(const GameConfig& c)
{
    EXPECT_GE(c.mapIndex, 0);
    EXPECT_LT(c.mapIndex, MAP_COUNT);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        EXPECT_EQ(bytesOfCharacters(c.names[p], NAME_CHARACTERS), std::strlen(c.names[p])) << "over 15 characters";
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

TEST(ConfigFile, UnicodeNamesAreCutBetweenCharactersAndLatin1NamesKeptAsTheyAre)
{
    std::string fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen += "\xC3\x84"; // a two-byte letter
    // Sixteen letters, then a Latin-1 name that is no UTF-8 at all.
    const GameConfig c = parseConfig(fifteen + "\xC3\x84 Ren\xE9" "e 1 3");
    EXPECT_EQ(c.names[0], fifteen);
    EXPECT_STREQ(c.names[1], "Ren\xE9" "e");
    const std::string written = formatConfig(c);
    EXPECT_EQ(formatConfig(parseConfig(written)), written);
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

// The names in a folder, without "." and "..".
static std::set<std::string> filesIn(const std::string& folder)
{
    std::set<std::string> names;
    DIR* d = opendir(folder.c_str());
    while (const dirent* entry = d ? readdir(d) : nullptr)
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, ".."))
            names.insert(entry->d_name);
    if (d)
        closedir(d);
    return names;
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
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"config.cfg"});
    EXPECT_EQ(formatConfig(readConfig(path).config), SAMPLE);

    // A folder that cannot be written keeps the old file and says so.
    chmod(folder, 0500);
    const bool wrote = writeConfig(path, parseConfig("X Y 1 1 1"));
    chmod(folder, 0700);
    if (geteuid() != 0) {
        EXPECT_FALSE(wrote);
        EXPECT_EQ(formatConfig(readConfig(path).config), SAMPLE);
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
    ASSERT_TRUE(writeConfig(path, parseConfig(SAMPLE)));

    // A write that fails half way, as on a full disk (here, over the limit on
    // file sizes): the message goes to a file under the same limit, so only
    // the outcome is checked.
    struct rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit tiny{4, limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool wrote = writeConfig(path, parseConfig("X Y 1 1 1"));
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(contentsOf(path), SAMPLE);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"config.cfg"}) << "the temporary file was left behind";

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
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"config.cfg", "taken"})) << "the complete temporary was left behind";

    rmdir((taken + "/inside").c_str());
    rmdir(taken.c_str());
    std::remove(path.c_str());
    rmdir(folder);
}

static void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Settings kept elsewhere (a dotfiles repository) through links: they stay,
// what they lead to is replaced, with its owner and permissions. (The game's
// own test saves through a dangling link and past a leftover temporary link.)
TEST(ConfigFile, SavingThroughLinksKeepsThemAndKeepsPermissions)
{
    char folder[] = "/tmp/zentavor-config-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = std::string(folder) + "/";
    ASSERT_EQ(mkdir((base + "dots").c_str(), 0700), 0);
    writeFile(base + "dots/zentavor.cfg", "Kirk Spock");
    ASSERT_EQ(chmod((base + "dots/zentavor.cfg").c_str(), 0600), 0);
    // Root saving a player's file leaves it theirs.
    constexpr uid_t PLAYER = 65534;
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown((base + "dots/zentavor.cfg").c_str(), PLAYER, PLAYER), 0);
    }
    ASSERT_EQ(symlink("dots/zentavor.cfg", (base + "config.cfg").c_str()), 0);
    ASSERT_EQ(symlink("config.cfg", (base + "second-link.cfg").c_str()), 0);
    ASSERT_EQ(symlink("loop-b", (base + "loop-a").c_str()), 0);
    ASSERT_EQ(symlink("loop-a", (base + "loop-b").c_str()), 0);

    ASSERT_TRUE(writeConfig(base + "second-link.cfg", parseConfig(SAMPLE)));
    char link[64] = {};
    ASSERT_GT(readlink((base + "config.cfg").c_str(), link, sizeof link - 1), 0);
    EXPECT_STREQ(link, "dots/zentavor.cfg");
    EXPECT_EQ(contentsOf(base + "dots/zentavor.cfg"), SAMPLE);
    struct stat info;
    ASSERT_EQ(stat((base + "dots/zentavor.cfg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(info.st_uid, PLAYER);
    }

    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeConfig(base + "loop-a", parseConfig(SAMPLE)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zentavor: cannot save " + base + "loop-a: " + std::strerror(ELOOP) + "\n");

    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"config.cfg", "second-link.cfg", "loop-a", "loop-b", "dots"}));
    EXPECT_EQ(filesIn(base + "dots"), std::set<std::string>{"zentavor.cfg"});
    for (const char* name : {"config.cfg", "second-link.cfg", "loop-a", "loop-b", "dots/zentavor.cfg"})
        std::remove((base + name).c_str());
    rmdir((base + "dots").c_str());
    rmdir(folder);
}

// Two games quitting at once in one folder: every reader, at any moment, finds
// one whole file, and the last save wins.
TEST(ConfigFile, GamesSavingAtTheSameTimeNeverMixTheirFiles)
{
    char folder[] = "/tmp/zentavor-config-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/config.cfg";
    const char* const versions[] = {"Ann Bob 1 3 1 1 1 1 1 1 2 2 2 2 2 2", "Christopher Dorothea 2 99 3 9 8 7 6 5 3 4 5 6 7 8"};
    std::set<std::string> whole;
    for (const char* v : versions)
        whole.insert(formatConfig(parseConfig(v)));
    ASSERT_TRUE(writeConfig(path, parseConfig(versions[0])));
    constexpr int SAVES = 100;
    pid_t savers[2];
    for (int i = 0; i < 2; ++i) {
        savers[i] = fork();
        ASSERT_GE(savers[i], 0);
        if (savers[i] == 0) {
            bool allSaved = true;
            for (int n = 0; n < SAVES; ++n)
                allSaved = writeConfig(path, parseConfig(versions[i])) && allSaved;
            _exit(allSaved ? 0 : 1);
        }
    }
    int mixed = 0;
    int statuses[2] = {-1, -1};
    while (statuses[0] == -1 || statuses[1] == -1) {
        mixed += whole.count(contentsOf(path)) == 0;
        for (int i = 0; i < 2; ++i)
            if (statuses[i] == -1 && waitpid(savers[i], &statuses[i], WNOHANG) == 0)
                statuses[i] = -1;
    }
    for (const int status : statuses)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(whole.count(contentsOf(path)), 1u);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"config.cfg"});
    std::remove(path.c_str());
    rmdir(folder);
}
