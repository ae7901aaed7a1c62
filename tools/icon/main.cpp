// zentavor-icon: draws the desktop icon at one size and writes it as PNG.
// Usage: zentavor-icon <size in pixels> <output.png>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "icon.h"
#include "png.h"

namespace {

constexpr int MIN_SIZE_PX = 16;
constexpr int MAX_SIZE_PX = 1024;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zentavor-icon <size> <output.png>\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size < MIN_SIZE_PX || size > MAX_SIZE_PX) {
        std::fprintf(stderr, "zentavor-icon: size %s is not between %d and %d\n", argv[1], MIN_SIZE_PX, MAX_SIZE_PX);
        return 2;
    }
    const Image icon = drawIcon(size);
    if (!writePng(size, size, toRgba(icon), argv[2])) {
        std::fprintf(stderr, "zentavor-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
