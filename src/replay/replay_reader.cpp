#include "replay/replay_reader.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include "files/whole_file.h"
#include "replay/control_bits.h"
#include "replay/menu_visit_bytes.h"

namespace {

constexpr int MAGIC_BYTES = sizeof REPLAY_MAGIC;
constexpr int VERSION_END = MAGIC_BYTES + 2;

enum class Decoded { FRAME, REPEAT, MENU, CHECKPOINT, END, TRUNCATED, DAMAGED };

int32_t wrapped(int64_t ticks) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ticks))); }

bool fitsInt32(int64_t v) { return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max(); }

// count more frames like the last one.
void advance(ReplayCursor& c, int64_t count)
{
    c.frames += count;
    c.playMs += count * c.last.frameTime;
    c.last.nowMs = wrapped(c.last.nowMs + count * c.last.frameTime);
}

// A read that failed: the file ended, or the number is longer than any we write.
Decoded shortOrBad(const ReplayCursor& c, std::string& what)
{
    if (c.in.at >= c.in.size)
        return Decoded::TRUNCATED;
    what = "a number too long";
    return Decoded::DAMAGED;
}

Decoded damaged(std::string& what, const std::string& why)
{
    what = why;
    return Decoded::DAMAGED;
}

Decoded decodeFrame(ReplayCursor& c, uint8_t tag, std::string& what)
{
    RecordedFrame f = c.last;
    uint64_t v = 0;
    int64_t time = tag & FRAME_TIME_MASK;
    if (time == FRAME_TIME_FOLLOWS) {
        if (!getVarint(c.in, v))
            return shortOrBad(c, what);
        time = unzigzag(v);
        if (time < 0 || time > MAX_FRAME_MS)
            return damaged(what, "a frame time of " + std::to_string(time) + " ms");
    }
    if (c.frames >= MAX_RECORDED_FRAMES)
        return damaged(what, "more than " + std::to_string(MAX_RECORDED_FRAMES) + " frames");
    if (tag & FRAME_CONTROLS) {
        if (!getVarint(c.in, v))
            return shortOrBad(c, what);
        if (v >> CONTROL_BIT_COUNT)
            return damaged(what, "controls out of range");
        f.controls = unpackControls(static_cast<uint32_t>(v));
    }
    int64_t gap = 0;
    if (tag & FRAME_GAP) {
        if (!getVarint(c.in, v))
            return shortOrBad(c, what);
        gap = unzigzag(v);
        if (!fitsInt32(gap))
            return damaged(what, "a tick out of range");
    }
    f.frameTime = static_cast<int32_t>(time);
    f.nowMs = wrapped(c.last.nowMs + time + gap);
    c.last = f;
    c.frames += 1;
    c.playMs += time;
    return Decoded::FRAME;
}

Decoded decodeRepeat(ReplayCursor& c, uint8_t tag, std::string& what)
{
    if (c.frames == 0)
        return damaged(what, "a repeat before any frame");
    uint64_t count = static_cast<uint64_t>(tag - TAG_REPEAT) + 1;
    if (tag == TAG_REPEAT_LONG && !getVarint(c.in, count))
        return shortOrBad(c, what);
    if (count == 0 || count > static_cast<uint64_t>(MAX_RECORDED_FRAMES - c.frames))
        return damaged(what, "more than " + std::to_string(MAX_RECORDED_FRAMES) + " frames");
    c.repeatsLeft = static_cast<int64_t>(count);
    return Decoded::REPEAT;
}

Decoded decodeMenu(ReplayCursor& c, MenuOutcome& visit, std::string& what)
{
    switch (getMenuVisit(c.in, visit, what)) {
    case MenuVisitRead::WHOLE: return Decoded::MENU;
    case MenuVisitRead::TRUNCATED: return Decoded::TRUNCATED;
    case MenuVisitRead::DAMAGED: break;
    }
    return Decoded::DAMAGED;
}

Decoded decodeCheckpoint(ReplayCursor& c, ReplayEvent& e, std::string& what)
{
    uint64_t second = 0, frames = 0;
    if (!getVarint(c.in, second) || !getVarint(c.in, frames) || !getLittle(c.in, 8, e.checksum))
        return shortOrBad(c, what);
    e.second = unzigzag(second);
    e.frames = static_cast<int64_t>(frames);
    return Decoded::CHECKPOINT;
}

Decoded decodeEnd(ReplayCursor& c, ReplayEvent& e, std::string& what)
{
    uint64_t frames = 0, playMs = 0;
    if (!getVarint(c.in, frames) || !getVarint(c.in, playMs))
        return shortOrBad(c, what);
    e.frames = static_cast<int64_t>(frames);
    e.playMs = unzigzag(playMs);
    return Decoded::END;
}

Decoded decode(ReplayCursor& c, ReplayEvent& e, std::string& what)
{
    uint8_t tag = 0;
    if (!getByte(c.in, tag))
        return Decoded::TRUNCATED;
    if (tag < TAG_REPEAT)
        return decodeFrame(c, tag, what);
    if (tag < TAG_REPEAT + SHORT_REPEAT_MAX || tag == TAG_REPEAT_LONG)
        return decodeRepeat(c, tag, what);
    switch (tag) {
    case TAG_MENU: return decodeMenu(c, e.visit, what);
    case TAG_CHECKPOINT: return decodeCheckpoint(c, e, what);
    case TAG_END: return decodeEnd(c, e, what);
    default: {
        char name[8];
        std::snprintf(name, sizeof name, "0x%02X", tag);
        return damaged(what, std::string("unknown record ") + name);
    }
    }
}

std::string truncated(const Replay& r, const char* where)
{
    return r.path + ": truncated: the recording stops before its " + where;
}

bool parseName(ByteReader& in, char name[REPLAY_NAME_BYTES])
{
    for (int i = 0; i < REPLAY_NAME_BYTES; ++i) {
        uint8_t b = 0;
        getByte(in, b);
        name[i] = static_cast<char>(b);
    }
    return std::memchr(name, '\0', REPLAY_NAME_BYTES) != nullptr;
}

bool parseHeader(Replay& r, std::string& error)
{
    const std::vector<uint8_t>& b = r.bytes;
    if (b.empty()) {
        error = r.path + ": empty file, not a Zentavor recording";
        return false;
    }
    if (b.size() < static_cast<size_t>(MAGIC_BYTES) || std::memcmp(b.data(), REPLAY_MAGIC, MAGIC_BYTES) != 0) {
        error = r.path + ": not a Zentavor recording";
        return false;
    }
    ByteReader in{b.data(), b.size(), MAGIC_BYTES};
    uint64_t version = 0;
    if (!getLittle(in, 2, version) || b.size() < static_cast<size_t>(REPLAY_HEADER_BYTES)) {
        error = truncated(r, "first checkpoint");
        return false;
    }
    if (version != REPLAY_VERSION) {
        error = r.path + ": recording format version " + std::to_string(version) + "; this game reads version " +
                std::to_string(REPLAY_VERSION);
        return false;
    }
    ReplayHeader& h = r.header;
    uint64_t value = 0;
    getLittle(in, 4, value);
    h.seed = static_cast<uint32_t>(value);
    getLittle(in, 8, h.maskChecksum);
    bool named = true;
    for (auto& name : h.names)
        named = parseName(in, name) && named;
    bool inRange = true;
    getIndices(in, &h.mapIndex, 1, MAP_COUNT, inRange);
    getLittle(in, 4, value);
    h.lives = static_cast<int32_t>(static_cast<uint32_t>(value));
    getIndices(in, h.shipIndex, PLAYER_COUNT, SHIP_COUNT, inRange);
    getIndices(in, &h.weapons[0][0], PLAYER_COUNT * WEAPON_SLOTS, WEAPON_COUNT, inRange);
    if (!named || !inRange) {
        error = r.path + ": damaged header: " + (named ? "a ship, weapon or map out of range" : "a name too long");
        return false;
    }
    return true;
}

// Where the records stand against the rules of replay_format.h.
struct RecordRules {
    int64_t checkedSecond = -1; // of the last checkpoint; -1 before the first
    int64_t framesSinceCheck = 0;
    bool afterCheckpoint = false; // the record before was a checkpoint
    bool closing = false;         // a second checkpoint in one second: only the end may follow
    bool quit = false;            // a visit quit: only the last checkpoint and the end may follow
};

// count frames, the first starting at firstMs of play and the last at lastMs.
void checkFrames(RecordRules& rules, int64_t firstMs, int64_t lastMs, int64_t count, std::string& what)
{
    if (rules.quit || rules.closing)
        what = rules.quit ? "frames after the players quit" : "frames after the last checkpoint";
    else if (firstMs / MS_PER_CHECKPOINT != rules.checkedSecond || lastMs / MS_PER_CHECKPOINT != rules.checkedSecond)
        what = "frames of a second of play without its checkpoint";
    else if (rules.framesSinceCheck + count > MAX_FRAMES_PER_SECOND)
        what = "more than " + std::to_string(MAX_FRAMES_PER_SECOND) + " frames in one second of play";
    rules.framesSinceCheck += count;
}

void checkCheckpoint(RecordRules& rules, const ReplayCursor& c, const ReplayEvent& e, std::string& what)
{
    if (e.frames != c.frames || e.second != c.playMs / MS_PER_CHECKPOINT) {
        what = "a checkpoint out of step with the frames";
    } else if (e.second > rules.checkedSecond) {
        rules.checkedSecond = e.second;
        rules.framesSinceCheck = 0;
    } else if (rules.closing) {
        what = "three checkpoints in one second of play";
    } else {
        rules.closing = true;
    }
}

// The record just decoded (d, starting at startMs of play) held against the
// rules and the records before it.
void checkRecord(RecordRules& rules, Decoded d, ReplayCursor& c, const ReplayEvent& e, int64_t startMs, std::string& what)
{
    const bool afterCheckpoint = rules.afterCheckpoint;
    rules.afterCheckpoint = d == Decoded::CHECKPOINT;
    switch (d) {
    case Decoded::FRAME: checkFrames(rules, startMs, startMs, 1, what); break;
    case Decoded::REPEAT:
        checkFrames(rules, startMs, startMs + (c.repeatsLeft - 1) * c.last.frameTime, c.repeatsLeft, what);
        advance(c, c.repeatsLeft);
        c.repeatsLeft = 0;
        break;
    case Decoded::MENU:
        if (rules.quit || rules.closing)
            what = rules.quit ? "a menu visit after the players quit" : "a menu visit after the last checkpoint";
        rules.quit = e.visit.quit;
        break;
    case Decoded::CHECKPOINT: checkCheckpoint(rules, c, e, what); break;
    case Decoded::END:
        if (!afterCheckpoint)
            what = "the end without a checkpoint before it";
        else if (e.frames != c.frames || e.playMs != c.playMs)
            what = "the end does not match the frames";
        break;
    default: break;
    }
}

// After its last checkpoint: where a recording cut short is read up to.
struct CutPoint {
    size_t at = 0; // 0: no checkpoint yet
    int64_t frames = 0;
    int64_t playMs = 0;
};

// Every record decoded once and held against the rules. A recording that
// stops without its end is kept up to its last checkpoint.
bool checkRecords(Replay& r, std::string& error)
{
    ReplayCursor c = startReplay(r);
    ReplayEvent e;
    RecordRules rules;
    CutPoint cut;
    std::string what;
    for (;;) {
        const size_t at = c.in.at;
        const int64_t startMs = c.playMs;
        const Decoded d = decode(c, e, what);
        if (d == Decoded::TRUNCATED) {
            if (cut.at == 0) {
                error = truncated(r, "first checkpoint");
                return false;
            }
            r.bytes.resize(cut.at);
            r.frames = cut.frames;
            r.playMs = cut.playMs;
            r.cut = true;
            return true;
        }
        checkRecord(rules, d, c, e, startMs, what);
        if (!what.empty()) {
            error = r.path + ": damaged at byte " + std::to_string(at) + ": " + what;
            return false;
        }
        if (d == Decoded::CHECKPOINT)
            cut = CutPoint{c.in.at, c.frames, c.playMs};
        if (d == Decoded::END)
            break;
    }
    if (c.in.at != r.bytes.size()) {
        error = r.path + ": damaged: " + std::to_string(r.bytes.size() - c.in.at) + " bytes after the end";
        return false;
    }
    r.frames = c.frames;
    r.playMs = c.playMs;
    return true;
}

} // namespace

bool parseReplay(const std::string& path, std::vector<uint8_t> bytes, Replay& replay, std::string& error)
{
    replay = Replay{};
    replay.path = printableOnTerminal(path);
    replay.bytes = std::move(bytes);
    return parseHeader(replay, error) && checkRecords(replay, error);
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error)
{
    // Only a regular file: a named pipe would keep the game waiting for ever.
    const WholeFile file = readWholeFile(path, MAX_REPLAY_BYTES);
    if (file.result != ReadResult::Read) {
        error = printableOnTerminal(path) + ": cannot read: " + file.reason;
        return false;
    }
    return parseReplay(path, std::vector<uint8_t>(file.text.begin(), file.text.end()), replay, error);
}

ReplayCursor startReplay(const Replay& replay)
{
    ReplayCursor c;
    c.in = ByteReader{replay.bytes.data(), replay.bytes.size(), REPLAY_HEADER_BYTES};
    return c;
}

bool nextReplayEvent(ReplayCursor& c, ReplayEvent& e)
{
    if (c.ended)
        return false;
    if (c.repeatsLeft > 0) {
        --c.repeatsLeft;
        advance(c, 1);
        e.kind = ReplayEventKind::FRAME;
        e.frame = c.last;
        return true;
    }
    std::string what;
    switch (decode(c, e, what)) {
    case Decoded::FRAME:
        e.kind = ReplayEventKind::FRAME;
        e.frame = c.last;
        return true;
    case Decoded::REPEAT: return nextReplayEvent(c, e);
    case Decoded::MENU: e.kind = ReplayEventKind::MENU; return true;
    case Decoded::CHECKPOINT: e.kind = ReplayEventKind::CHECKPOINT; return true;
    default:
        // The end, or (on bytes never checked by loading) the first damage.
        c.ended = true;
        e.kind = ReplayEventKind::END;
        return true;
    }
}
