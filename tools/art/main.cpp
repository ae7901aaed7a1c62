// zentavor-art <outdir>: draws every picture of the game into outdir.
#include <cstdio>
#include <filesystem>

#include "catalogue.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavor-art <outdir>\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const CatalogueEntry& entry : pictureCatalogue()) {
        const std::string path = (outDir / entry.file).string();
        if (!writeBmp(entry.draw(), path)) {
            std::fprintf(stderr, "zentavor-art: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
