// zentavor-music <out.ogg>: composes the game's music and encodes it.
#include <cstdio>

#include "ogg_writer.h"
#include "score.h"

namespace {
// About 110 kbit/s: clean enough for synthesised voices, well under 2 MB.
constexpr float VORBIS_QUALITY = 0.3f;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavor-music <out.ogg>\n");
        return 2;
    }
    if (!writeOgg(performPiece(), argv[1], VORBIS_QUALITY)) {
        std::fprintf(stderr, "zentavor-music: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
