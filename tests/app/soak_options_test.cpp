// The soak tool's command line: whole numbers in range only, and a warm-up
// that ends before the run does.
#include <gtest/gtest.h>
#include <string>
#include <vector>
// The options belong to the soak tool, which is no library; they are compiled in here.
#include "../../tools/soak/soak_options.cpp"

namespace {

bool parse(std::vector<const char*> args, SoakOptions& options, std::string& error)
{
    args.insert(args.begin(), "zentavor-soak");
    return parseSoakOptions(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(SoakOptions, TakesEveryOptionAndKeepsDefaultsForTheRest)
{
    SoakOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--seconds", "600", "--seed", "4294967295", "--warmup", "60"}, options, error)) << error;
    EXPECT_EQ(options.seconds, 600);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.warmupSeconds, 60);
    EXPECT_EQ(options.lives, 2);
    EXPECT_FALSE(options.showHelp);
}

TEST(SoakOptions, RefusesWhatIsNotAWholeNumberInRange)
{
    const std::vector<std::vector<const char*>> refused = {
        {"--seconds", "0"},  {"--seconds", "10x"}, {"--seconds", ""},   {"--seconds"},
        {"--seed", "-1"},    {"--seed", "4294967296"}, {"--lives", "0"}, {"--lives", "100"},
        {"--warmup", "-5"},  {"--seconds", "30", "--warmup", "30"},     {"--speed", "3"},
    };
    for (const auto& args : refused) {
        SoakOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}
