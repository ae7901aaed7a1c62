#include "sound/effect_mixer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

constexpr float FULL_SCALE = 32768.0f;
// Every voice is scaled by this before the limiter: a few effects at once
// pass untouched, and only a crowd of them is held down.
constexpr float EFFECTS_GAIN = 0.9f;
constexpr double TAIL_SECONDS = 0.004;        // a cut-off sound fades out over this
constexpr double ENGINE_GLIDE_SECONDS = 0.02; // time constant of the engine's fades and pan
constexpr double ENGINE_HOLD_SECONDS = 0.25;
constexpr double LIMITER_RELEASE_SECONDS = 0.08; // time constant of the gain's return to 1
constexpr int BLOCK_FRAMES = 256;             // mixed at a time on the stack
constexpr float HALF_PI = 1.5707963f;

struct KindMix {
    SoundEffect effect;
    int voices;
    float level; // its loudness in the mix, 0..1: the files are all equally loud
};

// Rapid fire gets more voices, so that a stream of shots rattles instead of
// restarting one sound; the ship's end and the blasts stand out over the shots.
constexpr KindMix KIND_MIX[SOUND_EFFECT_COUNT] = {
    {SoundEffect::FIRE_CORONA_DEVICE, 3, 0.55f}, {SoundEffect::FIRE_MINIGUN, 4, 0.4f},
    {SoundEffect::FIRE_ROCKET_SWARM, 3, 0.55f},  {SoundEffect::FIRE_DOOMSDAY, 3, 0.6f},
    {SoundEffect::FIRE_ALPHA_CANNON, 3, 0.55f},  {SoundEffect::FIRE_HYDRA_LASER, 3, 0.5f},
    {SoundEffect::FIRE_PLASMA_LAUNCHER, 3, 0.5f}, {SoundEffect::FIRE_CHAINGUN, 4, 0.45f},
    {SoundEffect::FIRE_MINES, 3, 0.5f},          {SoundEffect::FIRE_ARMAGEDDON, 2, 0.8f},
    {SoundEffect::SHIELD_HOLDS, 3, 0.5f},        {SoundEffect::SHIELD_BREAKS, 2, 0.7f},
    {SoundEffect::HULL_HIT, 3, 0.6f},            {SoundEffect::BLAST, 4, 0.7f},
    {SoundEffect::SHIP_DESTROYED, 2, 1.0f},      {SoundEffect::PLANET_CRASH, 2, 1.0f},
    {SoundEffect::RAMMING, 2, 1.0f},             {SoundEffect::BOOST, 2, 0.6f},
    {SoundEffect::ENGINE, 0, 0.25f},             {SoundEffect::KILL_STING, 1, 0.7f},
    {SoundEffect::NEW_MATCH, 1, 0.7f},           {SoundEffect::MENU_MOVE, 2, 0.5f},
    {SoundEffect::MENU_CONFIRM, 2, 0.6f},        {SoundEffect::MENU_BACK, 2, 0.6f},
    {SoundEffect::MENU_CHANGE, 2, 0.55f},
};

constexpr bool mixInKindOrder()
{
    for (int k = 0; k < SOUND_EFFECT_COUNT; ++k)
        if (indexOf(KIND_MIX[k].effect) != k || KIND_MIX[k].voices > MAX_VOICES_PER_KIND)
            return false;
    return true;
}
static_assert(mixInKindOrder(), "one row per kind, in the order of SoundEffect, within the voices there are");

int32_t framesOf(const EffectMixer& mixer, double seconds) { return static_cast<int32_t>(seconds * mixer.rate); }

// Constant-power panning: as loud in the middle as at either side.
void panGains(float pan, float volume, float& left, float& right)
{
    const float angle = std::clamp(pan, 0.0f, 1.0f) * HALF_PI;
    const float gain = std::clamp(volume, 0.0f, 1.0f) * EFFECTS_GAIN;
    left = gain * std::cos(angle);
    right = gain * std::sin(angle);
}

float sampleAt(const EffectSamples& s, int32_t frame) { return s.frames[frame * s.stride] / FULL_SCALE; }

// Plays one voice (and what fades out behind it) into the block.
void mixVoice(Voice& v, const EffectSamples& s, float* left, float* right, int frames, int32_t tailLength)
{
    for (int i = 0; i < frames && v.tailFrames > 0; ++i) {
        if (v.tailPosition >= s.count) {
            v.tailFrames = 0;
            break;
        }
        const float fade = static_cast<float>(v.tailFrames--) / tailLength;
        const float x = sampleAt(s, v.tailPosition++) * fade;
        left[i] += x * v.tailLeft;
        right[i] += x * v.tailRight;
    }
    for (int i = 0; i < frames && v.position >= 0; ++i) {
        if (v.position >= s.count) {
            v.position = -1;
            break;
        }
        const float x = sampleAt(s, v.position++);
        left[i] += x * v.left;
        right[i] += x * v.right;
    }
}

bool engineSilent(const EngineVoice& e) { return e.left + e.right + e.targetLeft + e.targetRight == 0.0f; }

void mixEngine(EngineVoice& e, const EffectSamples& s, float* left, float* right, int frames, float glide)
{
    if (s.count == 0 || engineSilent(e))
        return;
    for (int i = 0; i < frames; ++i) {
        if (e.holdFrames > 0 && --e.holdFrames == 0)
            e.targetLeft = e.targetRight = 0.0f;
        e.left += (e.targetLeft - e.left) * glide;
        e.right += (e.targetRight - e.right) * glide;
        const float x = sampleAt(s, e.position);
        e.position = (e.position + 1) % s.count;
        left[i] += x * e.left;
        right[i] += x * e.right;
    }
    // Below what 16 bits can tell: the loop has faded out.
    if (e.targetLeft == 0.0f && e.targetRight == 0.0f && e.left + e.right < 1.0f / FULL_SCALE)
        e.left = e.right = 0.0f;
}

// The effects over the music, each frame's effects scaled down just enough
// that neither channel passes the output ceiling nor the effects' own: at
// once when they would, back towards 1 smoothly after.
void limitInto(EffectMixer& mixer, const float* left, const float* right, int16_t* stereo, int frames)
{
    const float release = 1.0f - std::exp(-1.0f / (LIMITER_RELEASE_SECONDS * mixer.rate));
    for (int i = 0; i < frames; ++i) {
        const float musicLeft = stereo[2 * i] / FULL_SCALE, musicRight = stereo[2 * i + 1] / FULL_SCALE;
        const float room = std::clamp(OUTPUT_CEILING - std::max(std::fabs(musicLeft), std::fabs(musicRight)), 0.0f,
                                      EFFECTS_CEILING);
        const float loudest = std::max(std::fabs(left[i]), std::fabs(right[i]));
        const float allowed = loudest > room ? room / loudest : 1.0f;
        float& gain = mixer.limiterGain;
        gain = allowed < gain ? allowed : gain + (allowed - gain) * release;
        const float outLeft = musicLeft + gain * left[i], outRight = musicRight + gain * right[i];
        stereo[2 * i] = static_cast<int16_t>(std::lround(std::clamp(outLeft, -1.0f, 32767.0f / FULL_SCALE) * FULL_SCALE));
        stereo[2 * i + 1] = static_cast<int16_t>(std::lround(std::clamp(outRight, -1.0f, 32767.0f / FULL_SCALE) * FULL_SCALE));
    }
}

} // namespace

int voicesOf(SoundEffect effect) { return KIND_MIX[indexOf(effect)].voices; }

void startEffect(EffectMixer& mixer, SoundEffect effect, float pan, float volume)
{
    assert(indexOf(effect) < SOUND_EFFECT_COUNT && std::isfinite(pan) && std::isfinite(volume));
    const KindMix& kind = KIND_MIX[indexOf(effect)];
    if (kind.voices == 0)
        return;
    Voice* pool = mixer.voices[indexOf(effect)];
    Voice* chosen = &pool[0];
    for (int v = 0; v < kind.voices; ++v) {
        if (pool[v].position < 0) {
            chosen = &pool[v];
            break;
        }
        if (pool[v].startOrder < chosen->startOrder)
            chosen = &pool[v];
    }
    if (chosen->position >= 0) {
        chosen->tailPosition = chosen->position;
        chosen->tailLeft = chosen->left;
        chosen->tailRight = chosen->right;
        chosen->tailFrames = framesOf(mixer, TAIL_SECONDS);
    }
    chosen->position = 0;
    chosen->startOrder = ++mixer.starts;
    panGains(pan, volume * kind.level, chosen->left, chosen->right);
}

void steerEngine(EffectMixer& mixer, int player, bool running, float pan, float volume)
{
    assert(player >= 0 && player < ENGINE_VOICES && std::isfinite(pan) && std::isfinite(volume));
    EngineVoice& e = mixer.engines[player];
    if (!running) {
        e.targetLeft = e.targetRight = 0.0f;
        e.holdFrames = 0;
        return;
    }
    panGains(pan, volume * KIND_MIX[indexOf(SoundEffect::ENGINE)].level, e.targetLeft, e.targetRight);
    e.holdFrames = framesOf(mixer, ENGINE_HOLD_SECONDS);
}

void mixEffects(EffectMixer& mixer, int16_t* stereo, int frames)
{
    const float glide = 1.0f - std::exp(-1.0f / (ENGINE_GLIDE_SECONDS * mixer.rate));
    const int32_t tailLength = std::max(1, framesOf(mixer, TAIL_SECONDS));
    for (int done = 0; done < frames; done += BLOCK_FRAMES) {
        const int n = std::min(BLOCK_FRAMES, frames - done);
        float left[BLOCK_FRAMES] = {}, right[BLOCK_FRAMES] = {};
        for (int k = 0; k < SOUND_EFFECT_COUNT; ++k)
            for (int v = 0; v < KIND_MIX[k].voices; ++v)
                mixVoice(mixer.voices[k][v], mixer.samples[k], left, right, n, tailLength);
        for (EngineVoice& e : mixer.engines)
            mixEngine(e, mixer.samples[indexOf(SoundEffect::ENGINE)], left, right, n, glide);
        limitInto(mixer, left, right, stereo + 2 * done, n);
    }
}
