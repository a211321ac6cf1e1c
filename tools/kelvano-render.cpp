// kelvano-render SCENE.apn [--frame N | --frames A-B] [--aa 0|4|8] [--size WxH] -o OUT
//
// Headless render of a scene file on OSMesa, for tests and benchmarks: reads
// the scene as the program opens it, builds its graph, sets the frame, draws it
// with the given anti-aliasing level and writes it in the format of the
// output's extension (.png .bmp .jpg .tga .rgb .gif .avi .swf); --frames A-B
// with a ".gif" output writes the animated GIF of those frames, with ".avi" a
// Motion JPEG movie with the scene's sound track, with ".swf" a Flash movie
// (one frame without --frames). With --repeat K the
// frame is drawn K times and the frames per second are printed. The program's
// data folders are the ones beside the tool.
#include <GL/gl.h>
#include <GL/osmesa.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "assets/ImageReaders.h"
#include "charts/pnChartRead.h"
#include "platform/PathParts.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "tools/RenderOutput.h"

namespace {

// As the program's scene window: a scene may ask for any size, the window
// stays within what a screen shows.
const int kMaxSceneSide = 4096;

struct Options {
    std::string scene;
    std::string out;
    int frame = 0;
    int lastFrame = -1;  // --frames A-B: frame A to lastFrame B
    int aa = 0;
    int width = 0;  // 0: the scene's own size
    int height = 0;
    int repeat = 0;
    bool verbose = false;
};

int usage() {
    std::fprintf(stderr,
                 "usage: kelvano-render SCENE.apn [--frame N | --frames A-B] [--aa 0|4|8] [--size WxH] [--repeat K] "
                 "[--verbose] -o OUT.png|.bmp|.jpg|.tga|.rgb|.gif|.avi|.swf\n"
                 "  --frame N   the animation frame to draw (default 0)\n"
                 "  --frames A-B  frames A to B as a movie (a \".gif\", \".avi\" or \".swf\" output)\n"
                 "  --aa L      anti-aliasing passes: 0, 4 or 8 (default 0)\n"
                 "  --size WxH  image size (default: the scene's own size)\n"
                 "  --repeat K  draw the frame K times and print the frames per second\n"
                 "  --verbose   show the scene reader's messages\n");
    return 2;
}

bool parseInt(const char* s, int lo, int hi, int* out) {
    if (!s || !*s) return false;
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (*end || v < lo || v > hi) return false;
    *out = static_cast<int>(v);
    return true;
}

bool parseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--frame") {
            if (!parseInt(next, 0, 100000000, &o.frame)) return false;
            ++i;
        } else if (a == "--frames") {
            std::string s = next ? next : "";
            size_t dash = s.find('-');
            if (dash == std::string::npos || !parseInt(s.substr(0, dash).c_str(), 0, 100000000, &o.frame) ||
                !parseInt(s.substr(dash + 1).c_str(), o.frame, 100000000, &o.lastFrame))
                return false;
            ++i;
        } else if (a == "--aa") {
            if (!parseInt(next, 0, 64, &o.aa)) return false;
            ++i;
        } else if (a == "--repeat") {
            if (!parseInt(next, 1, 100000, &o.repeat)) return false;
            ++i;
        } else if (a == "--size") {
            if (!next) return false;
            std::string s = next;
            size_t x = s.find('x');
            if (x == std::string::npos) return false;
            std::string w = s.substr(0, x), h = s.substr(x + 1);
            if (!parseInt(w.c_str(), 1, 8192, &o.width) || !parseInt(h.c_str(), 1, 8192, &o.height)) return false;
            ++i;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "-o") {
            if (!next) return false;
            o.out = next;
            ++i;
        } else if (!a.empty() && a[0] == '-') {
            return false;
        } else if (o.scene.empty()) {
            o.scene = a;
        } else {
            return false;
        }
    }
    if (!o.out.empty() && !isRenderOutputName(o.out)) return false;
    if (o.lastFrame >= 0 && o.out.empty()) return false;
    return !o.scene.empty() && (!o.out.empty() || o.repeat > 0);
}

// The tool's own folder, where its data folders are.
std::string programDir() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

// An OSMesa context drawing into memory of the image's size.
class OffscreenContext {
public:
    OffscreenContext(int w, int h) : width(w), height(h), buffer(static_cast<size_t>(w) * h * 4) {
        ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 16, nullptr);
        if (ctx && OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, width, height))
            OSMesaPixelStore(OSMESA_Y_UP, 1);
        else
            error = ctx ? "cannot use the OSMesa context" : "no OSMesa context";
    }
    ~OffscreenContext() {
        if (ctx) OSMesaDestroyContext(ctx);
    }
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    const int width, height;
    const char* error = nullptr;

private:
    std::vector<uint8_t> buffer;
    OSMesaContext ctx = nullptr;
};

// Draws the frame (K times with --repeat, printing the rate).
void drawScene(pnScene& scene, const Options& o, int width, int height) {
    if (o.repeat > 0) {
        // Every frame number once, so each draw sets the scene anew.
        scene.drawFrame(o.aa, o.frame);
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < o.repeat; ++i) scene.drawFrame(o.aa, o.frame);
        glFinish();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%s aa %d %dx%d: %.2f frames per second\n", o.scene.c_str(), o.aa, width, height,
                    s > 0 ? o.repeat / s : 0.0);
    } else {
        scene.drawFrame(o.aa, o.frame);
        glFinish();
    }
}

// The drawn frame as opaque RGB, rows bottom-up: the clear alpha of a scene
// is not an image alpha.
std::vector<uint8_t> readOpaqueFrame(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t p = 0, q = 0; p < pixels.size(); p += 4, q += 3) std::memcpy(&rgb[q], &pixels[p], 3);
    return rgb;
}

// Writes the drawn frame, or draws and writes the range of --frames.
bool writeImage(pnScene& scene, const Options& o, int width, int height) {
    const std::string ext = pathExtensionLower(o.out);
    if (o.lastFrame >= 0 || ext == "avi" || ext == "swf") {
        // A movie of the one frame when no range is given.
        const int last = o.lastFrame >= 0 ? o.lastFrame : o.frame;
        auto draw = [&](int frame, std::vector<uint8_t>& rgb) {
            scene.drawFrame(o.aa, frame);
            glFinish();
            rgb = readOpaqueFrame(width, height);
            return true;
        };
        const AviSoundList sounds =
            ext == "avi" ? SceneSoundList(scene, o.frame, last, o.scene, {programDir() + "/Sounds"}) : AviSoundList();
        return writeRenderAnimation(o.out, width, height, o.frame, last, draw, sounds);
    }
    return writeRenderOutput(o.out, readOpaqueFrame(width, height), width, height);
}

// Loads, draws and writes; the context outlives the scene and its roots.
int render(const Options& o) {
    pnSceneLoader loader(programDir());
    auto scene = std::make_unique<pnScene>();
    pnReadEnd end;
    const pnSceneLoader::Result read = loader.readFile(*scene, o.scene, &end);
    if (read == pnSceneLoader::NOT_FOUND) {
        std::fprintf(stderr, "kelvano-render: cannot open %s\n", o.scene.c_str());
        return 1;
    }
    if (read != pnSceneLoader::READ) {
        std::fprintf(stderr, "kelvano-render: \"%s\" is not a scene file.\n", o.scene.c_str());
        return 1;
    }
    // A file cut off inside a block would draw only part of its scene.
    if (!end.whole) {
        std::fprintf(stderr, "kelvano-render: %s\n", pnSceneLoader::cutShortMessage(o.scene, end).c_str());
        return 1;
    }
    if (o.verbose)
        std::fprintf(stderr, "kelvano-render: %d objects, %d events, %d effects, %d lights\n", scene->getNumObjects(),
                     scene->getNumEvents(), scene->getNumEffects(), scene->getNumLights());
    const int width = o.width > 0 ? o.width : std::clamp(scene->getWidth(), 1, kMaxSceneSide);
    const int height = o.height > 0 ? o.height : std::clamp(scene->getHeight(), 1, kMaxSceneSide);
    OffscreenContext gl(width, height);
    if (gl.error) {
        std::fprintf(stderr, "kelvano-render: %s\n", gl.error);
        return 1;
    }
    sgInitGLState();
    sgSetNoPacing(1);
    sgChannel* ch = sgChannel::sgGetChannel();
    ch->setViewport(0, 0, width, height);

    int rc = 0;
    {
        SceneGraphRootsOwner roots;
        roots.channel = ch;
        ch->setScene(roots.sceneRoot);
        pnSceneLoader::buildSceneGraph(*scene, roots);
        if (o.lastFrame < 0 || o.repeat > 0) drawScene(*scene, o, width, height);
        if (!o.out.empty() && !writeImage(*scene, o, width, height)) {
            std::fprintf(stderr, "kelvano-render: cannot write %s\n", o.out.c_str());
            rc = 1;
        }
        // Objects let go of their nodes before the roots go.
        scene.reset();
        ch->setScene(nullptr);
    }
    sgChannel::sgFreeChannel();
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArgs(argc, argv, o)) return usage();
    // --verbose shows the scene model's diagnostics (reader messages and the like).
    if (o.verbose) setDiagnosticStream(stderr);
    installImageReaders();
    installChartKinds();
    return render(o);
}
