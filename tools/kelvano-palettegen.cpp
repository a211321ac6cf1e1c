// Writes the colour editors' palette pictures into a folder (the program
// compiles res/bitmaps in): kelvano-palettegen FOLDER
#include "assets/writePNG.h"
#include "ui/properties/rules/ColorMath.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvano-palettegen FOLDER\n");
        return 2;
    }
    for (const PalettePicture& p : kPalettePictures) {
        const std::vector<uint8_t> top = palettePixels(p.width, p.height);
        // The writer takes rows bottom-up.
        std::vector<uint8_t> rows(top.size());
        const size_t stride = static_cast<size_t>(p.width) * 3;
        for (int y = 0; y < p.height; ++y)
            std::memcpy(&rows[(p.height - 1 - y) * stride], &top[y * stride], stride);
        const std::string path = std::string(argv[1]) + "/" + p.name + ".png";
        if (!writePNG(path, rows.data(), p.width, p.height, 24, 0, 1.0)) {
            std::fprintf(stderr, "kelvano-palettegen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
