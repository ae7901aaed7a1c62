#include "replay/replay_writer.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <vector>
#include "gfx/utf8.h"
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

void putBytes(ReplayWriter& w, const uint8_t* bytes, size_t size)
{
    if (w.writeError != 0)
        return;
    errno = 0;
    if (std::fwrite(bytes, 1, size, w.file) != size)
        w.writeError = errno != 0 ? errno : EIO;
}

void put(ReplayWriter& w, const Record& r) { putBytes(w, r.bytes, r.out.size); }

void flushFile(ReplayWriter& w)
{
    errno = 0;
    if (w.writeError == 0 && std::fflush(w.file) != 0)
        w.writeError = errno != 0 ? errno : EIO;
}

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
    flushFile(w);
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

bool openReplayFile(ReplayWriter& w, const std::string& path, std::string& error)
{
    w = ReplayWriter{};
    w.path = printableOnTerminal(path);
    if (path.empty()) {
        error = "a recording needs a file name";
        return false;
    }
    // Without O_NONBLOCK a named pipe would keep the game waiting for a
    // reader; with it, the open fails at once when there is none.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int openError = errno;
        error = failure(w, openError);
        if (openError == ENXIO)
            error = "cannot write the recording " + w.path + ": a named pipe that nobody reads";
        return false;
    }
    const int flags = fcntl(fd, F_GETFL);
    w.file = flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 ? nullptr : fdopen(fd, "wb");
    if (!w.file) {
        error = failure(w, errno);
        close(fd);
        return false;
    }
    return true;
}

bool writeReplayHeader(ReplayWriter& w, const ReplayHeader& header, std::string& error)
{
    uint8_t bytes[REPLAY_HEADER_BYTES];
    ByteWriter out{bytes, 0};
    putHeader(out, header);
    putBytes(w, bytes, out.size);
    flushFile(w);
    if (w.writeError == 0)
        return true;
    error = failure(w, w.writeError);
    return false;
}

bool openReplayWriter(ReplayWriter& w, const std::string& path, const ReplayHeader& header, std::string& error)
{
    return openReplayFile(w, path, error) && writeReplayHeader(w, header, error);
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

std::string replayWriteFailure(const ReplayWriter& w) { return failure(w, w.writeError); }

void abandonReplayWriter(ReplayWriter& w)
{
    if (w.file)
        std::fclose(w.file);
    w.file = nullptr;
}

bool closeReplayWriter(ReplayWriter& w, const MatchState& m, std::string& error)
{
    if (!w.file) {
        error = failure(w, w.writeError != 0 ? w.writeError : EBADF);
        return false;
    }
    writeCheckpoint(w, m);
    Record r;
    putByte(r.out, TAG_END);
    putVarint(r.out, static_cast<uint64_t>(w.frames));
    putVarint(r.out, zigzag(w.playMs));
    put(w, r);
    flushFile(w);
    const int writeError = w.writeError;
    const bool closed = std::fclose(w.file) == 0;
    const int closeError = errno;
    w.file = nullptr;
    if (writeError != 0 || !closed) {
        error = failure(w, writeError != 0 ? writeError : closeError);
        return false;
    }
    return true;
}
