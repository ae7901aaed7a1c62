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
constexpr int BUFFER = 512;         // frames the audio thread mixes at a time
constexpr int FADE_IN_FRAMES = 88;  // 2 ms, as the generated files start
constexpr int16_t LOUD = 29000;     // near full scale, as the loudest files peak
constexpr float MUSIC_PEAK = 0.67f; // the music's peak turned down for the effects, above EFFECTS_CEILING

// A stand-in sound after a short fade-in: a square wave, or flat with period 0.
std::vector<int16_t> sound(int frames, int period)
{
    std::vector<int16_t> s(frames);
    for (int i = 0; i < frames; ++i)
        s[i] = static_cast<int16_t>((period && i / (period / 2) % 2 ? -LOUD : LOUD)
                                    * std::min(1.0f, static_cast<float>(i) / FADE_IN_FRAMES));
    return s;
}

std::unique_ptr<EffectMixer> mixerWith(const std::vector<int16_t>& samples)
{
    auto mixer = std::make_unique<EffectMixer>();
    for (EffectSamples& s : mixer->samples)
        s = EffectSamples{samples.data(), static_cast<int32_t>(samples.size()), 1};
    return mixer;
}

// Interleaved output over silence, or over a 100 Hz sine at MUSIC_PEAK.
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

} // namespace

TEST(EffectMixer, AKindKeepsItsVoicesAndTheNewestReplaceTheOldest)
{
    constexpr int EXTRA = 3;
    const std::vector<int16_t> samples = sound(RATE, 100);
    for (const SoundEffect effect : {SoundEffect::FIRE_MINIGUN, SoundEffect::BLAST, SoundEffect::KILL_STING}) {
        auto mixer = mixerWith(samples);
        for (int n = 0; n < voicesOf(effect) + EXTRA; ++n)
            startEffect(*mixer, effect, 0.5f, 1.0f);
        int playing = 0;
        uint32_t oldest = UINT32_MAX;
        for (const Voice& v : mixer->voices[indexOf(effect)])
            if (v.position >= 0) {
                ++playing;
                oldest = std::min(oldest, v.startOrder);
            }
        EXPECT_EQ(playing, voicesOf(effect)) << SOUND_EFFECT_NAMES[indexOf(effect)];
        EXPECT_EQ(oldest, static_cast<uint32_t>(EXTRA + 1)) << SOUND_EFFECT_NAMES[indexOf(effect)];
    }
}

TEST(EffectMixer, ReplacingAVoiceFadesTheOldSoundOutWithoutAClick)
{
    const std::vector<int16_t> flat = sound(RATE, 0);
    auto mixer = mixerWith(flat);
    startEffect(*mixer, SoundEffect::KILL_STING, 0.0f, 1.0f);
    mixFrames(*mixer, 4 * BUFFER, false);
    startEffect(*mixer, SoundEffect::KILL_STING, 0.0f, 1.0f);
    const std::vector<int16_t> after = mixFrames(*mixer, BUFFER, false);
    // Cut off, the output would drop from the flat level to nothing in one frame.
    EXPECT_GT(std::abs(after[0]), LOUD / 4);
    for (size_t i = 2; i < after.size(); i += 2)
        ASSERT_LT(std::abs(after[i] - after[i - 2]), LOUD / 20) << "frame " << i / 2;
}

TEST(EffectMixer, AFullShotPoolNeverClipsAndPeaksBelowTheMusic)
{
    constexpr int SHOTS = 1024;
    const std::vector<int16_t> samples = sound(RATE / 2, 90), nothing;
    for (const bool music : {false, true}) {
        auto mixer = mixerWith(samples);
        for (int shot = 0; shot < SHOTS; ++shot)
            startEffect(*mixer, static_cast<SoundEffect>(shot % SOUND_EFFECT_COUNT), 0.5f, 1.0f);
        for (EngineVoice& e : mixer->engines)
            e = EngineVoice{0, 1.0f, 1.0f, 1.0f, 1.0f, RATE};
        const std::vector<int16_t> out = mixFrames(*mixer, RATE, music);
        const std::vector<int16_t> musicAlone = mixFrames(*mixerWith(nothing), RATE, music);
        int loudest = 0, loudestEffects = 0;
        for (size_t i = 0; i < out.size(); ++i) {
            loudest = std::max(loudest, std::abs(static_cast<int>(out[i])));
            loudestEffects = std::max(loudestEffects, std::abs(out[i] - musicAlone[i]));
        }
        EXPECT_LE(loudest, std::lround(OUTPUT_CEILING * 32768) + 1) << "music " << music;
        EXPECT_LE(loudestEffects, std::lround(EFFECTS_CEILING * 32768) + 1) << "music " << music;
        // Held down no more than the room above the music asks.
        const float room = music ? OUTPUT_CEILING - MUSIC_PEAK : EFFECTS_CEILING;
        EXPECT_GT(loudestEffects, std::lround(room * 32768 * 0.9)) << "music " << music;
    }
}

TEST(EffectMixer, EngineLoopFollowsItsPlayerAndFallsSilentWithoutWord)
{
    const std::vector<int16_t> loop = sound(RATE, 100);
    struct Case {
        const char* what;
        bool running;
        float pan;
        bool wordEachBuffer; // else one word at the start only
        bool left, right;    // heard at the end
    };
    const Case cases[] = {
        {"hard left", true, 0.0f, true, true, false},
        {"hard right", true, 1.0f, true, false, true},
        {"middle", true, 0.5f, true, true, true},
        {"stopped", false, 0.5f, true, false, false},
        {"no word after the first", true, 0.5f, false, false, false},
    };
    for (const Case& c : cases) {
        auto mixer = mixerWith(loop);
        steerEngine(*mixer, 1, true, c.pan, 1.0f);
        std::vector<int16_t> out;
        for (int done = 0; done < RATE / 2; done += BUFFER) {
            if (c.wordEachBuffer)
                steerEngine(*mixer, 1, c.running, c.pan, 1.0f);
            out = mixFrames(*mixer, BUFFER, false);
        }
        EXPECT_EQ(rms(out, 0) > 50.0, c.left) << c.what;
        EXPECT_EQ(rms(out, 1) > 50.0, c.right) << c.what;
        EXPECT_EQ(mixer->engines[0].left + mixer->engines[0].right, 0.0f) << "player 1's loop started: " << c.what;
    }
}
