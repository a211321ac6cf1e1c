// kelvano-render SCENE.apn [--frame N | --frames A-B] [--aa 0|4|8] [--size WxH] -o OUT
//
// Headless render of one frame of a scene file on OSMesa, for tests and
// benchmarks: reads the scene, builds its graph, sets the frame, draws it with
// the given anti-aliasing level and writes it in the format of the output's
// extension (.png .bmp .jpg .tga .rgb .gif); --frames A-B with a ".gif"
// output writes the animated GIF of those frames. With --repeat K the frame is
// drawn K times and the frames per second are printed.
#include <GL/gl.h>
#include <GL/osmesa.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "assets/ImageReaders.h"
#include "charts/pnChart.h"
#include "charts/pnChartRead.h"
#include "platform/PathResolver.h"
#include "scene/pnLexer.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTextureFileTable.h"
#include "tools/RenderOutput.h"

namespace {

struct Options {
    std::string scene;
    std::string out;
    int frame = 0;
    int lastFrame = -1;  // --frames A-B: frame A to lastFrame B
    int aa = 0;
    int width = 580;
    int height = 392;
    int repeat = 0;
    bool verbose = false;
};

int usage() {
    std::fprintf(stderr,
                 "usage: kelvano-render SCENE.apn [--frame N | --frames A-B] [--aa 0|4|8] [--size WxH] [--repeat K] "
                 "[--verbose] -o OUT.png|.bmp|.jpg|.tga|.rgb|.gif\n");
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

// The drawn frame as opaque RGB, rows bottom-up: the clear alpha of a scene
// is not an image alpha.
std::vector<uint8_t> readOpaqueFrame(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t p = 0, q = 0; p < pixels.size(); p += 4, q += 3) {
        rgb[q] = pixels[p];
        rgb[q + 1] = pixels[p + 1];
        rgb[q + 2] = pixels[p + 2];
    }
    return rgb;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Model and image names in a scene file are relative to the scene's folder;
// the tool does not change its working folder, so it resolves them there.
void resolveBesideScene(pnScene& scene, const std::string& folder) {
    for (int i = 0; i < scene.getNumObjects(); ++i) {
        pnObject* o = scene.getObject(i);
        const std::string file = o->getFile();
        if (!file.empty() && findStoredPath(file).empty()) {
            std::string there = findStoredPath(file, {folder});
            if (!there.empty()) o->setFileName(there.c_str());
        }
        // A line chart's joints have a model of their own.
        auto* chart = dynamic_cast<pnChart*>(o);
        const std::string joint = chart ? chart->getJointFile() : "";
        if (!joint.empty() && findStoredPath(joint).empty()) {
            // The joint file name is held to 127 bytes: a longer path stays
            // as the file gives it rather than cut.
            std::string there = findStoredPath(joint, {folder});
            if (!there.empty() && there.size() <= 127) chart->setJointFile(there.c_str());
        }
    }
    std::vector<std::string> folders = sgGetTextureFolders();
    folders.insert(folders.begin(), folder);
    sgSetTextureFolders(folders);
}

// The view's roots: root -> scene transform -> light group, event group.
struct Roots {
    Roots() { sgMakeRootNodes(record); }
    ~Roots() { delete record.sceneRoot; }
    SceneGraphRoots record;
};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArgs(argc, argv, o)) return usage();

    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 16, nullptr);
    if (!ctx) {
        std::fprintf(stderr, "kelvano-render: no OSMesa context\n");
        return 1;
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(o.width) * o.height * 4);
    if (!OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, o.width, o.height)) {
        std::fprintf(stderr, "kelvano-render: cannot use the OSMesa context\n");
        OSMesaDestroyContext(ctx);
        return 1;
    }
    OSMesaPixelStore(OSMESA_Y_UP, 1);

    // --verbose shows the scene model's diagnostics (reader messages and the like).
    if (o.verbose) setDiagnosticStream(stderr);
    installImageReaders();
    installChartKinds();
    initLexer();
    sgInitGLState();
    sgSetNoPacing(1);
    sgChannel* ch = sgChannel::sgGetChannel();
    ch->setViewport(0, 0, o.width, o.height);

    int rc = 0;
    {
        Roots roots;
        ch->setScene(roots.record.sceneRoot);
        roots.record.channel = ch;
        auto scene = std::make_unique<pnScene>();
        scene->setRoots(&roots.record);
        scriptFile = std::fopen(o.scene.c_str(), "r");
        if (!scriptFile) {
            std::fprintf(stderr, "kelvano-render: cannot open %s\n", o.scene.c_str());
            rc = 1;
        } else {
            scene->read();
            std::fclose(scriptFile);
            scriptFile = nullptr;
            resolveBesideScene(*scene, folderOf(o.scene));
            if (o.verbose)
                std::fprintf(stderr, "kelvano-render: %d objects, %d events, %d effects, %d lights\n",
                             scene->getNumObjects(), scene->getNumEvents(), scene->getNumEffects(),
                             scene->getNumLights());
            scene->buildSceneGraph();
            if (o.repeat > 0) {
                // Every frame number once, so each draw sets the scene anew.
                scene->drawFrame(o.aa, o.frame);
                auto t0 = std::chrono::steady_clock::now();
                for (int i = 0; i < o.repeat; ++i) scene->drawFrame(o.aa, o.frame);
                glFinish();
                double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                std::printf("%s aa %d %dx%d: %.2f frames per second\n", o.scene.c_str(), o.aa, o.width, o.height,
                            s > 0 ? o.repeat / s : 0.0);
            } else if (o.lastFrame < 0) {
                scene->drawFrame(o.aa, o.frame);
                glFinish();
            }
            if (o.lastFrame >= 0) {
                auto draw = [&](int frame, std::vector<uint8_t>& rgb) {
                    scene->drawFrame(o.aa, frame);
                    glFinish();
                    rgb = readOpaqueFrame(o.width, o.height);
                    return true;
                };
                if (!writeRenderAnimation(o.out, o.width, o.height, o.frame, o.lastFrame, draw)) rc = 1;
            } else if (!o.out.empty() && !writeRenderOutput(o.out, readOpaqueFrame(o.width, o.height), o.width, o.height)) {
                rc = 1;
            }
        }
        // Objects let go of their nodes before the roots go.
        scene.reset();
        ch->setScene(nullptr);
    }
    sgChannel::sgFreeChannel();
    OSMesaDestroyContext(ctx);
    return rc;
}
