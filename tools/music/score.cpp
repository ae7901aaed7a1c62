#include "score.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "voices.h"

namespace {

// 126 beats per minute makes a sixteenth exactly 5250 frames at 44100 Hz.
constexpr size_t FRAMES_PER_STEP = 5250;
constexpr int STEPS_PER_BAR = 16;
constexpr size_t FRAMES_PER_BAR = FRAMES_PER_STEP * STEPS_PER_BAR;

enum class Section { Intro, Drive, Theme, Bridge, Climax };

struct Bar {
    Section section;
    std::vector<std::string> chords; // each takes an equal share of the bar
    int indexInSection;
};

struct SectionPlan {
    Section section;
    std::vector<std::string> chords; // one entry per bar; "Gm A" splits a bar
};

const std::vector<SectionPlan> FORM = {
    {Section::Intro, {"Dm", "Dm", "Dm", "Dm"}},
    {Section::Drive, {"Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"}},
    {Section::Theme, {"Dm", "Bb", "F", "C", "Dm", "Bb", "Gm", "A"}},
    {Section::Bridge, {"Gm", "Gm", "Dm", "Dm", "Eb", "Eb", "A", "A"}},
    {Section::Climax, {"Dm", "Bb", "C", "Am", "Dm", "Bb", "Gm A", "Dm"}},
};

// Melodies: note and length in sixteenths; "r" is a rest.
const char* const THEME_MELODY =
    "A4:4 D5:4 F5:3 E5:1 D5:4 "
    "F5:6 D5:2 Bb4:4 D5:4 "
    "C5:4 F5:4 A5:3 G5:1 F5:4 "
    "E5:8 G5:4 E5:4 "
    "A5:4 F5:2 D5:2 A5:4 G5:2 F5:2 "
    "D5:6 F5:2 Bb5:4 A5:4 "
    "G5:4 D5:2 Bb4:2 G5:3 F5:1 E5:4 "
    "C#5:4 E5:4 A5:8";

const char* const BRIDGE_MELODY =
    "G4:16 Bb4:8 A4:8 "
    "F4:16 A4:16 "
    "G4:16 Bb4:8 G4:8 "
    "A4:16 C#5:8 E5:8";

const char* const CLIMAX_MELODY =
    "D6:2 A5:2 F5:2 A5:2 D6:4 E6:2 F6:2 "
    "D6:6 Bb5:2 F5:4 D6:4 "
    "E6:2 C6:2 G5:2 C6:2 E6:4 G6:4 "
    "E6:8 C6:4 A5:4 "
    "F6:4 E6:2 D6:2 A5:4 D6:4 "
    "D6:4 F6:4 Bb5:4 D6:4 "
    "G5:2 Bb5:2 D6:4 E5:2 A5:2 C#6:4 "
    "D6:12 r:4";

const std::map<std::string, int> PITCH_CLASS = {
    {"C", 0}, {"C#", 1}, {"Db", 1}, {"D", 2}, {"D#", 3}, {"Eb", 3}, {"E", 4}, {"F", 5},
    {"F#", 6}, {"G", 7}, {"G#", 8}, {"Ab", 8}, {"A", 9}, {"A#", 10}, {"Bb", 10}, {"B", 11}};

// MIDI pitch of a name such as "Bb4".
int pitchOf(const std::string& name)
{
    const size_t digits = name.find_first_of("0123456789");
    return PITCH_CLASS.at(name.substr(0, digits)) + 12 * (std::stoi(name.substr(digits)) + 1);
}

struct Chord {
    int root = 0;       // pitch class
    bool minor = false;
};

Chord chordOf(const std::string& name)
{
    const bool minor = name.size() > 1 && name.back() == 'm';
    return {PITCH_CLASS.at(minor ? name.substr(0, name.size() - 1) : name), minor};
}

// Root in the bass register, C2..B2.
int bassRoot(const Chord& c) { return 36 + c.root; }

std::vector<int> chordTones(const Chord& c, int octaveBase)
{
    const int root = octaveBase + c.root;
    return {root, root + (c.minor ? 3 : 4), root + 7};
}

std::vector<Bar> bars()
{
    std::vector<Bar> out;
    for (const SectionPlan& plan : FORM)
        for (size_t i = 0; i < plan.chords.size(); ++i) {
            std::istringstream words(plan.chords[i]);
            std::vector<std::string> chords;
            for (std::string w; words >> w;)
                chords.push_back(w);
            out.push_back({plan.section, chords, static_cast<int>(i)});
        }
    return out;
}

// The chord sounding at a step of a bar.
Chord chordAt(const Bar& bar, int step)
{
    const size_t share = STEPS_PER_BAR / bar.chords.size();
    return chordOf(bar.chords[std::min(bar.chords.size() - 1, step / share)]);
}

size_t stepFrame(size_t barStart, int step) { return barStart + FRAMES_PER_STEP * step; }

void bassLine(Mix& mix, const Bar& bar, size_t start)
{
    if (bar.section == Section::Bridge) {
        const Chord c = chordAt(bar, 0);
        playBass(mix, {start, FRAMES_PER_STEP * 7, static_cast<double>(bassRoot(c)), 0.8f});
        playBass(mix, {stepFrame(start, 8), FRAMES_PER_STEP * 7, static_cast<double>(bassRoot(c) + 7), 0.7f});
        return;
    }
    const bool sparse = bar.section == Section::Intro && bar.indexInSection < 2;
    const int stride = sparse ? 4 : 2;
    for (int step = 0; step < STEPS_PER_BAR; step += stride) {
        const Chord c = chordAt(bar, step);
        const bool octave = !sparse && (step % 8 == 4);
        const float accent = step % 4 == 0 ? 1.0f : 0.8f;
        playBass(mix, {stepFrame(start, step), FRAMES_PER_STEP * stride - 600,
                       static_cast<double>(bassRoot(c) + (octave ? 12 : 0)), accent});
    }
}

void drumFill(Mix& mix, size_t start)
{
    const double toms[8] = {50, 50, 47, 47, 45, 45, 43, 43};
    for (int i = 0; i < 8; ++i)
        playTom(mix, stepFrame(start, 8 + i), toms[i], 0.6f + 0.05f * i);
}

void drums(Mix& mix, const Bar& bar, size_t start)
{
    const bool lastOfSection = bar.indexInSection == 7 || (bar.section == Section::Intro && bar.indexInSection == 3);
    if (bar.section == Section::Intro) {
        for (int step = 0; step < STEPS_PER_BAR; step += 2)
            playHat(mix, stepFrame(start, step), step % 4 == 0 ? 0.8f : 0.5f, false);
        const int kickStride = bar.indexInSection < 2 ? 16 : 4;
        for (int step = 0; step < STEPS_PER_BAR; step += kickStride)
            playKick(mix, stepFrame(start, step), 0.9f);
        if (lastOfSection)
            for (int step = 8; step < STEPS_PER_BAR; ++step)
                playSnare(mix, stepFrame(start, step), 0.25f + 0.05f * (step - 8));
        return;
    }
    if (bar.section == Section::Bridge) {
        playKick(mix, start, 1.0f);
        playKick(mix, stepFrame(start, 10), 0.7f);
        playSnare(mix, stepFrame(start, 8), 0.9f);
        for (int step = 0; step < STEPS_PER_BAR; step += 4)
            playHat(mix, stepFrame(start, step), 0.6f, step == 12);
        if (lastOfSection)
            for (int step = 0; step < STEPS_PER_BAR; ++step)
                playSnare(mix, stepFrame(start, step), 0.2f + 0.045f * step);
        return;
    }
    playKick(mix, start, 1.0f);
    playKick(mix, stepFrame(start, 8), 0.95f);
    if (bar.indexInSection % 2 == 1)
        playKick(mix, stepFrame(start, 10), 0.7f);
    playSnare(mix, stepFrame(start, 4), 0.9f);
    playSnare(mix, stepFrame(start, 12), 0.9f);
    playSnare(mix, stepFrame(start, 15), 0.25f);
    for (int step = 0; step < STEPS_PER_BAR; step += 2)
        playHat(mix, stepFrame(start, step), step % 4 == 2 ? 0.9f : 0.55f, step == 14);
    if (bar.section == Section::Climax)
        for (int step = 1; step < STEPS_PER_BAR; step += 2)
            playHat(mix, stepFrame(start, step), 0.3f, false);
    if (lastOfSection)
        drumFill(mix, start);
}

void arpeggio(Mix& mix, const Bar& bar, size_t start)
{
    const bool busy = bar.section == Section::Drive || bar.section == Section::Climax;
    const bool gentle = bar.section == Section::Theme || (bar.section == Section::Intro && bar.indexInSection >= 2);
    if (!busy && !gentle)
        return;
    const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    const int stride = busy ? 1 : 2;
    for (int step = 0; step < STEPS_PER_BAR; step += stride) {
        std::vector<int> tones = chordTones(chordAt(bar, step), 60);
        tones.push_back(tones[0] + 12);
        const int pick = order[(step / stride) % 8];
        playPluck(mix, {stepFrame(start, step), FRAMES_PER_STEP - 300, static_cast<double>(tones[pick]),
                        busy ? 0.8f : 0.6f},
                  step % 4 < 2 ? -0.45f : -0.25f);
    }
}

void pad(Mix& mix, const Bar& bar, size_t start)
{
    if (bar.section == Section::Drive)
        return;
    const float level = bar.section == Section::Bridge ? 1.0f : 0.6f;
    const size_t share = FRAMES_PER_BAR / bar.chords.size();
    for (size_t k = 0; k < bar.chords.size(); ++k) {
        const std::vector<int> tones = chordTones(chordOf(bar.chords[k]), 48);
        const float pans[3] = {-0.5f, 0.5f, 0.0f};
        for (int i = 0; i < 3; ++i)
            playPad(mix, {start + share * k, share, static_cast<double>(tones[i] + (i == 0 ? 12 : 0)), level}, pans[i]);
    }
}

// Plays a melody written in the notation above from the given frame.
void melody(Mix& mix, const char* notes, size_t start, float velocity)
{
    std::istringstream words(notes);
    size_t at = start;
    for (std::string word; words >> word;) {
        const size_t colon = word.find(':');
        const size_t length = FRAMES_PER_STEP * std::stoi(word.substr(colon + 1));
        const std::string name = word.substr(0, colon);
        if (name != "r")
            playLead(mix, {at, length - 900, static_cast<double>(pitchOf(name)), velocity});
        at += length;
    }
}

} // namespace

size_t pieceFrames()
{
    size_t count = 0;
    for (const SectionPlan& plan : FORM)
        count += plan.chords.size();
    return count * FRAMES_PER_BAR;
}

Mix performPiece()
{
    Mix dry = makeMix(pieceFrames());
    Mix wet = makeMix(pieceFrames()); // the voices that get the echo
    const std::vector<Bar> all = bars();
    size_t sectionStart[5] = {};
    for (size_t i = 0; i < all.size(); ++i) {
        const size_t start = FRAMES_PER_BAR * i;
        if (all[i].indexInSection == 0)
            sectionStart[static_cast<int>(all[i].section)] = start;
        bassLine(dry, all[i], start);
        drums(dry, all[i], start);
        pad(dry, all[i], start);
        arpeggio(wet, all[i], start);
    }
    melody(wet, THEME_MELODY, sectionStart[static_cast<int>(Section::Theme)], 0.9f);
    melody(wet, BRIDGE_MELODY, sectionStart[static_cast<int>(Section::Bridge)], 0.6f);
    melody(wet, CLIMAX_MELODY, sectionStart[static_cast<int>(Section::Climax)], 1.0f);
    // A dotted-eighth echo, carried round the loop like everything else.
    addEcho(wet, FRAMES_PER_STEP * 3, 0.38f, 4);
    addInto(dry, wet, 1.0f);
    master(dry, 0.89f);
    // The file starts half a sixteenth before the first downbeat, inside the
    // held last chord: the loop then joins in the middle of sustained notes
    // rather than on the first drum hit.
    const size_t lead = FRAMES_PER_STEP / 2;
    std::rotate(dry.left.begin(), dry.left.end() - lead, dry.left.end());
    std::rotate(dry.right.begin(), dry.right.end() - lead, dry.right.end());
    return dry;
}
