// The music file: a long enough, small enough Ogg Vorbis stream that loops
// without a click.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr const char* MUSIC_FILE = "sound/zentavor.ogg";
constexpr long MAX_BYTES = 2L * 1024 * 1024;
constexpr double MIN_SECONDS = 60.0;
constexpr int EDGE_FRAMES = 2048; // compared at both ends of the loop

struct DecodedMusic {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    std::vector<float> samples; // interleaved
};

DecodedMusic decode(const char* path)
{
    DecodedMusic music;
    OggVorbis_File file;
    if (ov_fopen(path, &file) != 0)
        return music;
    music.opened = true;
    const vorbis_info* info = ov_info(&file, -1);
    music.channels = info->channels;
    music.rate = info->rate;
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long frames = ov_read_float(&file, &pcm, 4096, &section);
        if (frames <= 0)
            break;
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < music.channels; ++c)
                music.samples.push_back(pcm[c][i]);
    }
    ov_clear(&file);
    return music;
}

} // namespace

TEST(Music, IsStereoVorbisOfAtLeastAMinuteInUnderTwoMegabytes)
{
    struct stat info {};
    ASSERT_EQ(stat(MUSIC_FILE, &info), 0);
    EXPECT_LE(info.st_size, MAX_BYTES);
    const DecodedMusic music = decode(MUSIC_FILE);
    ASSERT_TRUE(music.opened);
    EXPECT_EQ(music.channels, 2);
    EXPECT_EQ(music.rate, 44100);
    const double seconds = music.samples.size() / 2.0 / 44100.0;
    EXPECT_GE(seconds, MIN_SECONDS);
    float loudest = 0.0f;
    for (const float s : music.samples)
        loudest = std::max(loudest, std::fabs(s));
    EXPECT_GT(loudest, 0.3f) << "the music is nearly silent";
    EXPECT_LE(loudest, 1.0f) << "the music clips";
}

TEST(Music, EndJoinsStartWithoutAJump)
{
    const DecodedMusic music = decode(MUSIC_FILE);
    ASSERT_TRUE(music.opened);
    ASSERT_EQ(music.channels, 2);
    const size_t frames = music.samples.size() / 2;
    ASSERT_GT(frames, static_cast<size_t>(4 * EDGE_FRAMES));
    for (int c = 0; c < 2; ++c) {
        const auto sample = [&](size_t frame) { return music.samples[frame * 2 + c]; };
        // How far the music moves from one sample to the next near either
        // end of the loop; the join must be an ordinary step among them.
        std::vector<float> steps;
        for (size_t i = 0; i + 1 < static_cast<size_t>(EDGE_FRAMES); ++i) {
            steps.push_back(std::fabs(sample(i + 1) - sample(i)));
            steps.push_back(std::fabs(sample(frames - 1 - i) - sample(frames - 2 - i)));
        }
        std::sort(steps.begin(), steps.end());
        const float usualStep = steps[steps.size() * 99 / 100];
        const float join = std::fabs(sample(0) - sample(frames - 1));
        EXPECT_LE(join, usualStep * 1.5f + 0.002f) << "channel " << c << " jumps at the loop point";
        // Something is playing across the join; a silent seam would hide a gap.
        float level = 0.0f;
        for (size_t i = 0; i < static_cast<size_t>(EDGE_FRAMES); ++i)
            level = std::max({level, std::fabs(sample(i)), std::fabs(sample(frames - 1 - i))});
        EXPECT_GT(level, 0.02f) << "channel " << c;
    }
}
