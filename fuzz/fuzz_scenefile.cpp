// libFuzzer target: the ".apn" scene reader, chart blocks included, then the
// writer over whatever the reader kept; charts read from anything also make
// their parts and play a few frames (no GL is touched without a scene graph
// drawn).
#include <cstdint>
#include <cstdio>

#include "charts/pnChart.h"
#include "charts/pnChartRead.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgNode.h"

namespace {

// Part making is linear in the points; a few dozen points find what a
// thousand would, at a fraction of the time per input.
const int kMaxPointsToShow = 48;

void showCharts(pnScene& scene) {
    sgGroup group;
    SceneGraphRoots roots;
    roots.eventGroup = &group;
    scene.setRoots(&roots);
    for (int i = 0; i < scene.getNumCharts(); ++i) {
        auto* chart = dynamic_cast<pnChart*>(scene.getChart(i));
        if (!chart || chart->getNumDataPts() > kMaxPointsToShow) continue;
        chart->getNode();
        chart->setBuilt(1);
        scene.generateChartParts(chart, nullptr);
    }
    const int last = scene.getLastEventFrame();
    for (int frame : {0, last / 2, last}) scene.setFrame(frame);
    // Parts and nodes go before the group they were made for.
    for (int i = 0; i < scene.getNumCharts(); ++i)
        if (auto* chart = dynamic_cast<pnChart*>(scene.getChart(i))) chart->clearChartParts();
    scene.setRoots(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (installChartKinds(), true);
    (void)ready;
    FILE* in = std::tmpfile();
    if (!in) return 0;
    std::fwrite(data, 1, size, in);
    std::rewind(in);
    pnScene scene;
    pnSceneLoader::readStream(scene, in);
    std::fclose(in);
    // Writing a scene read from anything must work as well.
    if (FILE* out = std::fopen("/dev/null", "w")) {
        scene.writeScene(out, 1);
        std::fclose(out);
    }
    showCharts(scene);
    return 0;
}
