#include "app/game_replay.h"

#include <cstdio>
#include <ctime>
#include "draw/catalogue_pictures.h"
#include "replay/match_checksum.h"
#include "sim/match_setup.h"

uint32_t chooseSeed(GameReplay& r)
{
    r.seed = r.playing ? r.replay.header.seed : static_cast<uint32_t>(std::time(nullptr));
    return r.seed;
}

GameConfig recordedConfig(const ReplayHeader& h)
{
    GameConfig recorded;
    copyMatchChoices(h, recorded);
    return recorded;
}

bool openGameRecording(GameReplay& r, const std::string& recordFile, std::string& error)
{
    return openReplayFile(r.writer, recordFile, error);
}

// Said once; the file keeps what was written up to its last checkpoint.
static void stopRecordingIfFailed(GameReplay& r)
{
    if (!r.recording || r.writer.writeError == 0)
        return;
    std::fprintf(stderr, "zentavor: %s; the game goes on without recording\n", replayWriteFailure(r.writer).c_str());
    abandonReplayWriter(r.writer);
    r.recording = false;
}

bool startGameReplay(GameReplay& r, const std::string& recordFile, MatchContent& c, const GameConfig& config,
                     std::string& error)
{
    if (!r.playing && (recordFile.empty() || !r.writer.file))
        return true;
    makeAllShipMasks(c, rotatedCataloguePictures());
    const uint64_t masks = maskChecksum(c);
    if (r.playing) {
        if (masks != r.replay.header.maskChecksum) {
            error = r.replay.path + ": the collision masks made here differ from the recording's (another OpenGL "
                                    "driver or display depth); the recording cannot be replayed on this display";
            return false;
        }
        r.cursor = startReplay(r.replay);
        return true;
    }
    std::string headerError;
    r.recording = true;
    writeReplayHeader(r.writer, replayHeaderOf(config, r.seed, masks), headerError);
    stopRecordingIfFailed(r);
    return true;
}

void recordFrame(GameReplay& r, const MatchState& m, const RecordedFrame& frame)
{
    if (r.recording)
        writeFrame(r.writer, m, frame);
    stopRecordingIfFailed(r);
}

void recordMenuOutcome(GameReplay& r, const MenuOutcome& visit)
{
    if (r.recording)
        writeMenuOutcome(r.writer, visit);
    stopRecordingIfFailed(r);
}

void finishGameReplay(GameReplay& r, const MatchState& m)
{
    std::string error;
    if (r.recording && !closeReplayWriter(r.writer, m, error))
        std::fprintf(stderr, "zentavor: %s\n", error.c_str());
    r.recording = false;
}

// Said once: after the first difference every later checkpoint differs too.
static void compareCheckpoint(GameReplay& r, const MatchState& m)
{
    if (r.diverged || matchChecksum(m) == r.next.checksum)
        return;
    r.diverged = true;
    std::fprintf(stderr, "zentavor: %s: the replay differs from the recording from frame %lld (second %lld) on\n",
                 r.replay.path.c_str(), static_cast<long long>(r.next.frames), static_cast<long long>(r.next.second));
}

bool takeEventsAfterFrame(GameReplay& r, MatchState& m, const MatchContent& c)
{
    while (nextReplayEvent(r.cursor, r.next)) {
        switch (r.next.kind) {
        case ReplayEventKind::FRAME: return false;
        case ReplayEventKind::MENU: replayMenuVisit(m, c, r.next.visit); break;
        case ReplayEventKind::CHECKPOINT: compareCheckpoint(r, m); break;
        case ReplayEventKind::END:
            if (r.replay.cut)
                std::fprintf(stderr, "zentavor: %s: the recording was cut short; shown up to its last checkpoint, "
                                     "frame %lld (second %lld)\n",
                             r.replay.path.c_str(), static_cast<long long>(r.replay.frames),
                             static_cast<long long>(r.replay.playMs / MS_PER_CHECKPOINT));
            return true;
        }
    }
    return false;
}
