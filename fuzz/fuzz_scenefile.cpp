// libFuzzer target: the ".apn" scene reader, then the writer over whatever
// the reader kept.
#include <cstdint>
#include <cstdio>

#include "scene/pnLexer.h"
#include "scene/pnScene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (initLexer(), true);
    (void)ready;
    FILE* in = std::tmpfile();
    if (!in) return 0;
    std::fwrite(data, 1, size, in);
    std::rewind(in);
    pnScene scene;
    scriptFile = in;
    scene.read();
    scriptFile = nullptr;
    std::fclose(in);
    // Writing a scene read from anything must work as well.
    if (FILE* out = std::fopen("/dev/null", "w")) {
        scene.writeScene(out, 1);
        std::fclose(out);
    }
    return 0;
}
