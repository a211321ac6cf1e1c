// Writes the stock textures, backgrounds and sounds.
//   kelvano-stockgen DATA_DIR   into DATA_DIR/Textures, Backgrounds and Sounds
#include <cstdio>
#include <string>

#include "tools/StockMedia.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvano-stockgen DATA_DIR\n");
        return 2;
    }
    std::string error;
    if (!stockmedia::writeStockSet(argv[1], error)) {
        std::fprintf(stderr, "kelvano-stockgen: cannot write %s\n", error.c_str());
        return 1;
    }
    return 0;
}
