#include "tests/support/RenderTool.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/ShellCommand.h"

namespace {

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

// A binary PPM (P6, 8 bits) as ImageMagick writes it.
bool readPPM(const std::string& path, RenderToolImage& out) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    if (!(in >> magic >> out.width >> out.height >> maxval) || magic != "P6" || maxval != 255) return false;
    in.get();  // the one blank after the header
    out.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return out.width > 0 && out.height > 0 && out.rgb.size() == static_cast<size_t>(out.width) * out.height * 3;
}

}  // namespace

RGBA RenderToolImage::at(int x, int yFromTop) const {
    size_t i = (static_cast<size_t>(yFromTop) * width + x) * 3;
    return RGBA{rgb[i], rgb[i + 1], rgb[i + 2], 255};
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int runRenderTool(const std::string& args, std::string* log, const std::string& workDir) {
    // The tool is built with the sanitizers too; system libraries' leaks at
    // exit are suppressed as in the tests.
    std::string cmd = "LSAN_OPTIONS=suppressions=" + shellQuote(sourceDir() + "/tests/lsan.supp") +
                      ":print_suppressions=0 " + shellQuote(KV_RENDER_TOOL_PATH) + " " + args + " 2>&1";
    if (!workDir.empty()) cmd = "cd " + shellQuote(workDir) + " && " + cmd;
    int status = 0;
    std::string printed = runCommand(cmd, &status);
    if (log) *log = printed;
    return status;
}

bool renderWithTool(const std::string& scene, const std::string& options, const std::string& png,
                    RenderToolImage& out, const std::string& workDir) {
    out = RenderToolImage();
    std::remove(png.c_str());
    if (runRenderTool(shellQuote(scene) + " " + options + " -o " + shellQuote(png), &out.log, workDir) != 0)
        return false;
    const std::string ppm = png + ".ppm";
    int status = 0;
    runCommand("convert " + shellQuote(png) + " -depth 8 ppm:" + shellQuote(ppm) + " 2>&1", &status);
    return status == 0 && readPPM(ppm, out);
}
