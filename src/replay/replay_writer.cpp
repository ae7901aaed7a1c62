#include "replay/replay_writer.h"

#include <cerrno>
#include <cstring>
#include <vector>
#include "replay/byte_coding.h"
#include "replay/control_bits.h"
#include "replay/match_checksum.h"
#include "replay/menu_visit_bytes.h"

namespace {

// Room for the longest record but a menu visit's changes.
constexpr int RECORD_BYTES = 64;

struct Record {
    uint8_t bytes[RECORD_BYTES];
    ByteWriter out{bytes, 0};
};

void put(ReplayWriter& w, const Record& r) { std::fwrite(r.bytes, 1, r.out.size, w.file); }

void flushRepeats(ReplayWriter& w)
{
    while (w.pendingRepeats > 0) {
        Record r;
        if (w.pendingRepeats <= SHORT_REPEAT_MAX) {
            putByte(r.out, static_cast<uint8_t>(TAG_REPEAT + w.pendingRepeats - 1));
        } else {
            putByte(r.out, TAG_REPEAT_LONG);
            putVarint(r.out, static_cast<uint64_t>(w.pendingRepeats));
        }
        w.pendingRepeats = 0;
        put(w, r);
    }
}

void writeCheckpoint(ReplayWriter& w, const MatchState& m)
{
    flushRepeats(w);
    w.checkedSecond = w.playMs / MS_PER_CHECKPOINT;
    Record r;
    putByte(r.out, TAG_CHECKPOINT);
    putVarint(r.out, zigzag(w.checkedSecond));
    putVarint(r.out, static_cast<uint64_t>(w.frames));
    putLittle(r.out, matchChecksum(m), 8);
    put(w, r);
}

void putHeader(ByteWriter& out, const ReplayHeader& h)
{
    for (char c : REPLAY_MAGIC)
        putByte(out, static_cast<uint8_t>(c));
    putLittle(out, REPLAY_VERSION, 2);
    putLittle(out, h.seed, 4);
    putLittle(out, h.maskChecksum, 8);
    for (const auto& name : h.names)
        for (char c : name)
            putByte(out, static_cast<uint8_t>(c));
    putByte(out, static_cast<uint8_t>(h.mapIndex));
    putLittle(out, static_cast<uint32_t>(h.lives), 4);
    for (int32_t ship : h.shipIndex)
        putByte(out, static_cast<uint8_t>(ship));
    for (const auto& slots : h.weapons)
        for (int32_t weapon : slots)
            putByte(out, static_cast<uint8_t>(weapon));
}

std::string failure(const ReplayWriter& w, int errorNumber)
{
    return "cannot write the recording " + w.path + ": " + std::strerror(errorNumber);
}

} // namespace

bool openReplayWriter(ReplayWriter& w, const std::string& path, const ReplayHeader& header, std::string& error)
{
    w = ReplayWriter{};
    w.path = path;
    w.file = std::fopen(path.c_str(), "wb");
    if (!w.file) {
        error = failure(w, errno);
        return false;
    }
    uint8_t bytes[REPLAY_HEADER_BYTES];
    ByteWriter out{bytes, 0};
    putHeader(out, header);
    std::fwrite(bytes, 1, out.size, w.file);
    return true;
}

bool restartReplayWriter(ReplayWriter& w, const ReplayHeader& header, std::string& error)
{
    std::fclose(w.file);
    const std::string path = w.path;
    return openReplayWriter(w, path, header, error);
}

void writeFrame(ReplayWriter& w, const MatchState& m, const RecordedFrame& frame)
{
    if (w.playMs / MS_PER_CHECKPOINT > w.checkedSecond)
        writeCheckpoint(w, m);
    const uint32_t controls = packControls(frame.controls);
    const bool newControls = controls != packControls(w.last.controls);
    // Ticks wrap around; so does the gap, and the reader wraps it back.
    const auto gap = static_cast<int32_t>(static_cast<uint32_t>(frame.nowMs) - static_cast<uint32_t>(w.last.nowMs) -
                                          static_cast<uint32_t>(frame.frameTime));
    const bool repeat = w.frames > 0 && frame.frameTime == w.last.frameTime && !newControls && gap == 0;
    w.last = frame;
    w.frames += 1;
    w.playMs += frame.frameTime;
    if (repeat) {
        w.pendingRepeats += 1;
        return;
    }
    flushRepeats(w);
    Record r;
    const bool shortTime = frame.frameTime >= 0 && frame.frameTime < FRAME_TIME_FOLLOWS;
    uint8_t tag = shortTime ? static_cast<uint8_t>(frame.frameTime) : FRAME_TIME_FOLLOWS;
    tag |= newControls ? FRAME_CONTROLS : 0;
    tag |= gap != 0 ? FRAME_GAP : 0;
    putByte(r.out, tag);
    if (!shortTime)
        putVarint(r.out, zigzag(frame.frameTime));
    if (newControls)
        putVarint(r.out, controls);
    if (gap != 0)
        putVarint(r.out, zigzag(gap));
    put(w, r);
}

void writeMenuOutcome(ReplayWriter& w, const MenuOutcome& visit)
{
    flushRepeats(w);
    std::vector<uint8_t> bytes{TAG_MENU};
    putMenuVisit(bytes, visit);
    std::fwrite(bytes.data(), 1, bytes.size(), w.file);
}

bool closeReplayWriter(ReplayWriter& w, const MatchState& m, std::string& error)
{
    writeCheckpoint(w, m);
    Record r;
    putByte(r.out, TAG_END);
    putVarint(r.out, static_cast<uint64_t>(w.frames));
    putVarint(r.out, zigzag(w.playMs));
    put(w, r);
    const bool written = !std::ferror(w.file);
    const int writeError = errno;
    const bool closed = std::fclose(w.file) == 0;
    w.file = nullptr;
    if (!written || !closed) {
        error = failure(w, written ? errno : writeError);
        return false;
    }
    return true;
}
