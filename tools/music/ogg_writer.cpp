#include "ogg_writer.h"

#include <algorithm>
#include <cstdio>
#include <vorbis/vorbisenc.h>

namespace {

// A fixed stream serial number keeps the file the same on every build.
constexpr int STREAM_SERIAL = 0x5A454E54;
constexpr size_t CHUNK_FRAMES = 4096;

bool writePage(FILE* file, const ogg_page& page)
{
    return std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len)
           && std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
}

// Moves all finished packets of the encoder into the stream and the file.
bool drainEncoder(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, FILE* file)
{
    bool ok = true;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&stream, &page))
                ok = writePage(file, page) && ok;
        }
    }
    return ok;
}

// The three Vorbis header packets, flushed so that the audio starts on a fresh page.
bool writeHeaders(vorbis_dsp_state& dsp, vorbis_comment& comment, ogg_stream_state& stream, FILE* file)
{
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    bool ok = true;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        ok = writePage(file, page) && ok;
    return ok;
}

} // namespace

bool writeOgg(const Mix& mix, const std::string& path, float quality)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, SAMPLE_RATE, quality) != 0) {
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Zentavor");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, STREAM_SERIAL);

    bool ok = writeHeaders(dsp, comment, stream, file);
    const size_t total = frameCount(mix);
    for (size_t done = 0; done < total; done += CHUNK_FRAMES) {
        const size_t count = std::min(CHUNK_FRAMES, total - done);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            buffer[0][i] = mix.left[done + i];
            buffer[1][i] = mix.right[done + i];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        ok = drainEncoder(dsp, block, stream, file) && ok;
    }
    vorbis_analysis_wrote(&dsp, 0); // end of stream
    ok = drainEncoder(dsp, block, stream, file) && ok;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        ok = writePage(file, page) && ok;

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok;
}
