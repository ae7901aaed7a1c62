// The effects' mixer: voices capped per kind with the oldest replaced
// smoothly, no clipping and the effects peaking below the music under a full
// shot pool, and the engine loops following their players.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>
#include "sound/effect_mixer.h"

namespace {

constexpr int RATE = 44100;
constexpr int BUFFER = 512;           // frames the audio thread mixes at a time
constexpr int FADE_IN_FRAMES = 88;    // 2 ms, as the generated files start
constexpr int16_t LOUD = 29000;       // near full scale, as the loudest files peak
constexpr float MUSIC_PEAK = 0.67f;   // the music's peak turned down for the effects, above EFFECTS_CEILING

// A stand-in sound: a square wave at full loudness after a short fade-in.
std::vector<int16_t> squareSound(int frames, int periodFrames)
{
    std::vector<int16_t> s(frames);
    for (int i = 0; i < frames; ++i) {
        const int sign = (i / (periodFrames / 2)) % 2 ? -1 : 1;
        s[i] = static_cast<int16_t>(sign * LOUD * std::min(1.0f, static_cast<float>(i) / FADE_IN_FRAMES));
    }
    return s;
}

std::unique_ptr<EffectMixer> mixerWith(const std::vector<int16_t>& sound)
{
    auto mixer = std::make_unique<EffectMixer>();
    for (EffectSamples& s : mixer->samples)
        s = EffectSamples{sound.data(), static_cast<int32_t>(sound.size()), 1};
    return mixer;
}

int playing(const EffectMixer& mixer, SoundEffect effect)
{
    int n = 0;
    for (const Voice& v : mixer.voices[indexOf(effect)])
        n += v.position >= 0;
    return n;
}

// Mixes the given frames over silence (or a 100 Hz sine at MUSIC_PEAK) and
// returns the interleaved output.
std::vector<int16_t> mixFrames(EffectMixer& mixer, int frames, bool music)
{
    std::vector<int16_t> out(2 * frames);
    for (int i = 0; i < frames; ++i)
        out[2 * i] = out[2 * i + 1] = static_cast<int16_t>(
            music ? std::lround(MUSIC_PEAK * 32767 * std::sin(2 * 3.14159265 * 100 * i / RATE)) : 0);
    for (int done = 0; done < frames; done += BUFFER)
        mixEffects(mixer, out.data() + 2 * done, std::min(BUFFER, frames - done));
    return out;
}

double rms(const std::vector<int16_t>& stereo, int channel)
{
    double sum = 0.0;
    for (size_t i = channel; i < stereo.size(); i += 2)
        sum += static_cast<double>(stereo[i]) * stereo[i];
    return std::sqrt(sum / (stereo.size() / 2));
}

int largestStep(const std::vector<int16_t>& stereo)
{
    int step = 0;
    for (size_t i = 2; i < stereo.size(); ++i)
        step = std::max(step, std::abs(stereo[i] - stereo[i - 2]));
    return step;
}

} // namespace

TEST(EffectMixer, AKindKeepsItsVoicesAndTheNewestReplaceTheOldest)
{
    const std::vector<int16_t> sound = squareSound(RATE, 100);
    for (const SoundEffect effect : {SoundEffect::FIRE_MINIGUN, SoundEffect::BLAST, SoundEffect::KILL_STING}) {
        auto mixer = mixerWith(sound);
        const int extra = 3;
        for (int n = 0; n < voicesOf(effect) + extra; ++n)
            startEffect(*mixer, effect, 0.5f, 1.0f);
        EXPECT_EQ(playing(*mixer, effect), voicesOf(effect)) << SOUND_EFFECT_NAMES[indexOf(effect)];
        uint32_t oldest = UINT32_MAX;
        for (const Voice& v : mixer->voices[indexOf(effect)])
            if (v.position >= 0)
                oldest = std::min(oldest, v.startOrder);
        EXPECT_EQ(oldest, static_cast<uint32_t>(extra + 1)) << "the oldest starts were the ones replaced";
    }
}

TEST(EffectMixer, ReplacingAVoiceFadesTheOldSoundOutWithoutAClick)
{
    // A flat, loud sound cut off in the middle; the new one rises over FADE_IN_FRAMES.
    std::vector<int16_t> flat(RATE, LOUD);
    for (int i = 0; i < FADE_IN_FRAMES; ++i)
        flat[i] = static_cast<int16_t>(LOUD * i / FADE_IN_FRAMES);
    auto mixer = mixerWith(flat);
    startEffect(*mixer, SoundEffect::KILL_STING, 0.0f, 1.0f);
    mixFrames(*mixer, 4 * BUFFER, false);
    startEffect(*mixer, SoundEffect::KILL_STING, 0.0f, 1.0f);
    const std::vector<int16_t> after = mixFrames(*mixer, BUFFER, false);
    // A cut would drop the output from the flat level to nothing in one frame.
    EXPECT_GT(std::abs(after[0]), LOUD / 4);
    EXPECT_LT(largestStep(after), LOUD / 20);
}

TEST(EffectMixer, AFullShotPoolNeverClipsAndPeaksBelowTheMusic)
{
    constexpr int SHOTS = 1024;
    constexpr int SECONDS = 1;
    const std::vector<int16_t> sound = squareSound(RATE / 2, 90);
    struct Case {
        bool music;
        float pan;
    };
    for (const Case c : {Case{false, 0.5f}, Case{true, 0.0f}, Case{true, 0.5f}}) {
        auto mixer = mixerWith(sound);
        for (int shot = 0; shot < SHOTS; ++shot)
            startEffect(*mixer, static_cast<SoundEffect>(shot % SOUND_EFFECT_COUNT), c.pan, 1.0f);
        for (EngineVoice& e : mixer->engines)
            e = EngineVoice{0, 1.0f, 1.0f, 1.0f, 1.0f, RATE};
        const std::vector<int16_t> out = mixFrames(*mixer, SECONDS * RATE, c.music);
        int loudest = 0;
        for (const int16_t s : out)
            loudest = std::max(loudest, std::abs(static_cast<int>(s)));
        EXPECT_LE(loudest, std::lround(OUTPUT_CEILING * 32768) + 1) << "music " << c.music << " pan " << c.pan;
        if (!c.music) {
            EXPECT_GE(loudest, std::lround(EFFECTS_CEILING * 32768 * 0.9)) << "held down more than they need";
            continue;
        }
        const std::vector<int16_t> nothing;
        const std::vector<int16_t> musicAlone = mixFrames(*mixerWith(nothing), SECONDS * RATE, true);
        int loudestEffects = 0;
        for (size_t i = 0; i < out.size(); ++i)
            loudestEffects = std::max(loudestEffects, std::abs(out[i] - musicAlone[i]));
        EXPECT_LE(loudestEffects, std::lround(EFFECTS_CEILING * 32768) + 1) << "pan " << c.pan;
        EXPECT_GT(loudestEffects, std::lround((OUTPUT_CEILING - MUSIC_PEAK) * 32768 * 0.9)) << "pan " << c.pan;
    }
}

TEST(EffectMixer, EngineLoopFollowsItsPlayerAndFallsSilentWithoutWord)
{
    const std::vector<int16_t> loop = squareSound(RATE, 100);
    struct Case {
        const char* what;
        bool running;
        float pan;
        int wordsEveryFrames; // 0: one word only
        bool left, right;     // heard at the end
    };
    const Case cases[] = {
        {"hard left, kept running", true, 0.0f, BUFFER, true, false},
        {"hard right, kept running", true, 1.0f, BUFFER, false, true},
        {"middle, kept running", true, 0.5f, BUFFER, true, true},
        {"stopped", false, 0.5f, BUFFER, false, false},
        {"no word after the first", true, 0.5f, 0, false, false},
    };
    for (const Case& c : cases) {
        auto mixer = mixerWith(loop);
        steerEngine(*mixer, 1, true, c.pan, 1.0f);
        std::vector<int16_t> out;
        for (int done = 0; done < RATE / 2; done += BUFFER) {
            if (c.wordsEveryFrames && done % c.wordsEveryFrames == 0)
                steerEngine(*mixer, 1, c.running, c.pan, 1.0f);
            out = mixFrames(*mixer, BUFFER, false);
        }
        EXPECT_EQ(rms(out, 0) > 50.0, c.left) << c.what;
        EXPECT_EQ(rms(out, 1) > 50.0, c.right) << c.what;
        EXPECT_EQ(mixer->engines[0].left + mixer->engines[0].right, 0.0f) << "player 1's loop started: " << c.what;
    }
}
