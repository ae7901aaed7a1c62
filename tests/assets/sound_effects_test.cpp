// The generated sound effects: each as long as its use allows, at the common
// loudness, without clicks, the engine looping seamlessly, the ten firing
// sounds apart in spectrum, and the whole set small.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "sound/effect_kinds.h"
#include "support/wav_sound.h"

namespace {

constexpr int RATE = 44100;
constexpr float PEAK_CEILING = 0.8913f; // -1 dBFS
constexpr float LOWEST_PEAK = 0.25f;    // an effect this quiet would be lost under the music
constexpr double LOUDNESS_RMS = 0.2;    // -14 dBFS over the loudest 50 ms
constexpr double LOUDNESS_TOLERANCE_DB = 1.0;
constexpr size_t LOUDNESS_WINDOW = RATE / 20;
constexpr size_t EDGE = RATE / 2000;       // 0.5 ms at the start, 1 ms at the end
constexpr float START_SHARE = 0.25f;       // of the effect's peak, at most, in its first 0.5 ms
constexpr float END_SHARE = 0.05f;         // in its last 1 ms
constexpr float SILENT_END = 2.0f / 32768; // the very first and last samples
constexpr double WEAPONS_APART_DB = 4.0;   // RMS difference of third-octave band profiles
constexpr long MAX_SET_BYTES = 2L * 1024 * 1024;

struct Bounds {
    SoundEffect effect;
    double shortestSeconds, longestSeconds;
};

// Rapid-fire shots and menu clicks must end before the next one; the rest
// may ring out, though no longer than the moment they belong to.
constexpr Bounds BOUNDS[SOUND_EFFECT_COUNT] = {
    {SoundEffect::FIRE_CORONA_DEVICE, 0.1, 1.0},   {SoundEffect::FIRE_MINIGUN, 0.04, 0.12},
    {SoundEffect::FIRE_ROCKET_SWARM, 0.2, 1.0},    {SoundEffect::FIRE_DOOMSDAY, 0.3, 1.2},
    {SoundEffect::FIRE_ALPHA_CANNON, 0.2, 1.0},    {SoundEffect::FIRE_HYDRA_LASER, 0.1, 0.6},
    {SoundEffect::FIRE_PLASMA_LAUNCHER, 0.1, 0.8}, {SoundEffect::FIRE_CHAINGUN, 0.05, 0.2},
    {SoundEffect::FIRE_MINES, 0.1, 0.8},           {SoundEffect::FIRE_ARMAGEDDON, 0.5, 1.6},
    {SoundEffect::SHIELD_HOLDS, 0.1, 0.5},         {SoundEffect::SHIELD_BREAKS, 0.3, 1.0},
    {SoundEffect::HULL_HIT, 0.1, 0.5},             {SoundEffect::BLAST, 0.4, 1.2},
    {SoundEffect::SHIP_DESTROYED, 0.8, 2.0},       {SoundEffect::PLANET_CRASH, 0.6, 2.0},
    {SoundEffect::RAMMING, 0.5, 1.6},              {SoundEffect::BOOST, 0.3, 1.0},
    {SoundEffect::ENGINE, 0.5, 2.0},               {SoundEffect::KILL_STING, 0.5, 1.5},
    {SoundEffect::NEW_MATCH, 0.8, 2.0},            {SoundEffect::MENU_MOVE, 0.03, 0.12},
    {SoundEffect::MENU_CONFIRM, 0.05, 0.25},       {SoundEffect::MENU_BACK, 0.05, 0.25},
    {SoundEffect::MENU_CHANGE, 0.03, 0.15},
};

std::string pathOf(SoundEffect effect)
{
    return std::string(SOUND_EFFECT_FOLDER) + "/" + SOUND_EFFECT_NAMES[indexOf(effect)] + ".wav";
}

double decibels(double level) { return 20.0 * std::log10(level); }

} // namespace

TEST(SoundEffects, EachIsMono16BitWithinItsLengthPeakAndLoudnessAndAllUnderTwoMegabytes)
{
    long bytes = 0;
    for (int k = 0; k < SOUND_EFFECT_COUNT; ++k) {
        const Bounds& row = BOUNDS[k];
        ASSERT_EQ(indexOf(row.effect), k) << "the bounds run in the order of the kinds";
        const WavSound sound = readWav(pathOf(row.effect));
        SCOPED_TRACE(pathOf(row.effect));
        ASSERT_TRUE(sound.read);
        EXPECT_EQ(sound.channels, 1);
        EXPECT_EQ(sound.rate, RATE);
        const double seconds = static_cast<double>(sound.samples.size()) / RATE;
        EXPECT_GE(seconds, row.shortestSeconds);
        EXPECT_LE(seconds, row.longestSeconds);
        const float peak = peakOf(sound.samples, 0, sound.samples.size());
        EXPECT_LE(peak, PEAK_CEILING);
        EXPECT_GE(peak, LOWEST_PEAK);
        EXPECT_NEAR(decibels(loudestWindowRms(sound.samples, LOUDNESS_WINDOW)), decibels(LOUDNESS_RMS),
                    LOUDNESS_TOLERANCE_DB);
        struct stat info {};
        ASSERT_EQ(stat(pathOf(row.effect).c_str(), &info), 0);
        bytes += info.st_size;
    }
    EXPECT_LE(bytes, MAX_SET_BYTES);
}

TEST(SoundEffects, OneShotsFadeInAndOutWithoutAClick)
{
    for (int k = 0; k < SOUND_EFFECT_COUNT; ++k) {
        if (k == indexOf(SoundEffect::ENGINE))
            continue;
        const std::vector<float> s = readWav(pathOf(BOUNDS[k].effect)).samples;
        SCOPED_TRACE(pathOf(BOUNDS[k].effect));
        ASSERT_GT(s.size(), 4 * EDGE);
        const float peak = peakOf(s, 0, s.size());
        EXPECT_LE(std::fabs(s.front()), SILENT_END);
        EXPECT_LE(std::fabs(s.back()), SILENT_END);
        EXPECT_LE(peakOf(s, 0, EDGE), START_SHARE * peak) << "starts at full level";
        EXPECT_LE(peakOf(s, s.size() - 2 * EDGE, s.size()), END_SHARE * peak) << "stops before it has died away";
    }
}

TEST(SoundEffects, EngineLoopJoinsWithoutAJump)
{
    const std::vector<float> s = readWav(pathOf(SoundEffect::ENGINE)).samples;
    ASSERT_GT(s.size(), 4 * LOUDNESS_WINDOW);
    // The join must be an ordinary step among those near either end.
    std::vector<float> steps;
    for (size_t i = 0; i + 1 < LOUDNESS_WINDOW; ++i) {
        steps.push_back(std::fabs(s[i + 1] - s[i]));
        steps.push_back(std::fabs(s[s.size() - 1 - i] - s[s.size() - 2 - i]));
    }
    std::sort(steps.begin(), steps.end());
    const float usualStep = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::fabs(s.front() - s.back()), usualStep);
    // And the sound runs on across it: neither end fades out.
    const double startLevel = loudestWindowRms({s.begin(), s.begin() + LOUDNESS_WINDOW}, LOUDNESS_WINDOW);
    const double endLevel = loudestWindowRms({s.end() - LOUDNESS_WINDOW, s.end()}, LOUDNESS_WINDOW);
    EXPECT_GT(startLevel, LOUDNESS_RMS / 2);
    EXPECT_GT(endLevel, LOUDNESS_RMS / 2);
}

TEST(SoundEffects, TheTenFiringSoundsDifferPairwiseInSpectrum)
{
    std::vector<std::vector<double>> profiles;
    for (int k = 0; k < FIRING_SOUND_COUNT; ++k)
        profiles.push_back(bandProfileDb(readWav(pathOf(BOUNDS[k].effect)).samples, RATE));
    for (int a = 0; a < FIRING_SOUND_COUNT; ++a)
        for (int b = a + 1; b < FIRING_SOUND_COUNT; ++b)
            EXPECT_GE(spectralDistanceDb(profiles[a], profiles[b]), WEAPONS_APART_DB)
                << SOUND_EFFECT_NAMES[a] << " and " << SOUND_EFFECT_NAMES[b];
}
