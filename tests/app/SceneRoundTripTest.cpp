// Every scene the program meets, opened and saved as a user does: the sample
// scenes, the fuzz seeds (one of them every chart kind), the canonical scenes
// and a scene made here of every object kind. Opened in the view and saved, a
// scene draws exactly as its file did (the render tool draws both at three
// frames of the animation, and each picture shows more than the background);
// opened and saved once more, the two saved files are the same bytes. A
// canonical scene, which sets every field the writer writes, saves to its own
// bytes the first time.
#include "charts/pnChartRead.h"
#include "scene/pnCounter.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "scene/pnVolume.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/RenderTool.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A scene of every object kind the program makes that is no chart, drawn
// where the camera sees it, with animation, a child event that stands before
// its parent in the list and an event that repeats.
void buildEveryObject(pnScene& s) {
    s.setWidth(320);
    s.setHeight(240);
    s.setVersion(250);
    auto* vp = new pnViewpoint;
    vp->setName("Camera");
    vp->setPosition(0, 0, 906);
    vp->setLookAt(0, 0, 0);
    vp->fov = 30;
    vp->far = 3000;
    vp->perspective = 1;
    s.setViewpoint(vp);
    for (auto [name, r, g, b] : {std::tuple{"red", 0.9f, 0.1f, 0.1f}, {"blue", 0.1f, 0.2f, 0.9f},
                                 {"green", 0.1f, 0.8f, 0.2f}}) {
        auto* m = new pnMaterial;
        m->setName(name);
        m->setDiffuse(r, g, b);
        s.addMaterial(m);
    }
    auto* light = new pnLight;
    light->setName("Light1");
    light->setPosition(sgVec3(150, 150, 500));
    light->setPositional(1);
    light->setOn(1);
    s.addLight(light);
    auto* style = new pnStringProperty;
    style->setName("title");
    style->setSize(40);
    style->setFont("Arial");
    s.addStringProperty(style);

    auto* text = new pnString;
    text->setName("headline");
    text->setString("Round trip");
    text->setFont("Arial");
    text->setSize(40);
    text->setStringProperty("title");
    text->setMaterial("red");
    text->setBackMaterial("blue");
    text->setPosition(0, 120, 0);
    s.addObject(text);
    // A text that names a style, written with a size and an edge of its own:
    // it shows its style's face, and the saves keep what it shows.
    auto* caption = new pnString;
    caption->setName("caption");
    caption->setString("own size");
    caption->setStringProperty("title");
    caption->setFont("Arial");
    caption->setSize(28);
    caption->setKind(0);
    caption->setBorder(2);
    caption->setBackMaterial("blue");
    caption->setMaterial("green");
    caption->setPosition(0, 60, 0);
    s.addObject(caption);
    auto* panel = new pnPanel;
    panel->setName("plate");
    panel->setKind(1);
    panel->setDimension(160, 90, 10);
    panel->setBevel(5);
    panel->setMaterial("blue");
    panel->setPosition(-180, -40, 0);
    s.addObject(panel);
    auto* model = new pnModel;
    model->setName("cube");
    model->setFileName("Models/cube.3ds");
    model->setMaterial("green");
    model->setScale(0.5f);
    model->setPosition(180, -40, 0);
    s.addObject(model);
    auto* counter = new pnCounter;
    counter->setName("count");
    counter->setStringProperty("title");
    counter->setMaterial("red");
    counter->setInitValue(0);
    counter->setFinalValue(250);
    counter->setPosition(0, -150, 0);
    s.addObject(counter);
    auto* mesh = new pnVolume;
    mesh->setName("mesh");
    mesh->setMaterial("green");
    const float coords[] = {0, 0, 0, 60, 0, 0, 60, 60, 0, 0, 60, 0};
    const float normals[] = {0, 0, 1};
    const int index[] = {0, 1, 2, 0, 2, 3};
    const int normIndex[] = {0, 0, 0, 0, 0, 0};
    mesh->setCoords(coords, 4);
    mesh->setNormals(normals, 1);
    mesh->setIndex(index, normIndex, 6);
    mesh->setNumPrims(2);
    mesh->setPosition(-30, 20, 0);
    s.addObject(mesh);

    auto* move = new pnEffect;
    move->setName("move");
    move->setTrans(0, 60, 0);
    s.addEffect(move);
    auto* spin = new pnEffect;
    spin->setName("spin");
    spin->setRotAngle(90);
    spin->setRotAxis(0, 1, 0);
    s.addEffect(spin);
    auto event = [&](const char* name, const char* parent, const char* effect, int from, int to) {
        auto* e = new pnEvent;
        e->setName(name);
        e->addObjectName(name);
        if (parent) e->setParent(parent);
        if (effect) e->addPlay(effect, from, to, 1);
        s.addEvent(e);
        return e;
    };
    event("Camera", nullptr, nullptr, 0, 0);
    event("Light1", nullptr, nullptr, 0, 0);
    event("cube", "plate", "spin", 0, 40);  // before its parent
    event("plate", nullptr, "move", 10, 30);
    event("headline", nullptr, "spin", 20, 50);
    pnEvent* repeating = event("count", nullptr, "move", 0, 20);
    repeating->setRepeat(2);
    repeating->setDelay(5);
    event("mesh", nullptr, nullptr, 0, 0);
    event("caption", nullptr, nullptr, 0, 0);
    s.updateLastFrame();
}

struct SceneFile {
    std::string name;  // shown in the test's name
    std::string path;  // "" for a scene made by the test
};

void PrintTo(const SceneFile& file, std::ostream* out) { *out << file.name; }

std::vector<SceneFile> everyScene() {
    std::vector<SceneFile> files;
    for (const char* name : {"titles", "counter", "barchart", "linechart", "pie", "pyramid", "allcharts"})
        files.push_back({std::string("sample_") + name, sourceDir() + "/data/scenes/" + name + ".apn"});
    for (const auto& [folder, prefix] : {std::pair{"/fuzz/seeds/scenefile", "seed_"},
                                         std::pair{"/tests/scenefile/canonical", "canonical_"}})
        for (const auto& entry : fs::directory_iterator(sourceDir() + folder)) {
            std::string stem = entry.path().stem().string();
            for (char& c : stem)
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            files.push_back({prefix + stem, entry.path().string()});
        }
    files.push_back({"made_every_object", ""});
    return files;
}

class SceneRoundTrip : public ViewTest, public ::testing::WithParamInterface<SceneFile> {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        installChartKinds();
        create();
        base = folder();
    }
    std::string base;  // the test's own folder
    // Opens path in the view as Open does; the scene's last frame.
    int open(const std::string& path) {
        view->m_strPendingOpen = path;
        EXPECT_EQ(view->OnFileOpen(), 1) << path;
        return scene().getLastFrame();
    }
    void saveAs(const std::string& path) {
        host.dialogPaths = {path};
        host.messages.clear();
        EXPECT_EQ(view->OnFileSaveAs(), 1) << path << (host.messages.empty() ? "" : ": " + host.messages[0].text);
    }
    // A folder of its own holding copies of the files beside the scene (the
    // models and sounds it names by relative paths).
    std::string folderBeside(const std::string& scene, const std::string& name) {
        const fs::path dir = fs::path(base) / name;
        fs::create_directories(dir);
        for (const auto& entry : fs::directory_iterator(fs::path(scene).parent_path()))
            if (entry.is_regular_file()) fs::copy_file(entry.path(), dir / entry.path().filename(),
                                                        fs::copy_options::overwrite_existing);
        return dir.string();
    }
};

}  // namespace

TEST_P(SceneRoundTrip, ASavedSceneDrawsAsItsFileAndSavesAgainToTheSameBytes) {
    std::string original = GetParam().path;
    if (original.empty()) {
        // Made here, written by the writer: the file a user would have saved.
        pnScene made;
        buildEveryObject(made);
        fs::create_directories(fs::path(base) / "made");
        original = base + "/made/" + GetParam().name + ".apn";
        ASSERT_EQ(made.save(original.c_str(), 0), 1);
    }
    ASSERT_TRUE(fs::exists(original)) << original;
    const std::string stem = fs::path(original).filename().string();
    const std::string once = folderBeside(original, "once") + "/" + stem;
    const std::string twice = folderBeside(original, "twice") + "/" + stem;

    const int last = open(original);
    // Charts grow from nothing at their first frame and may shrink away by the
    // last: the pictures are drawn within the animation, its charts' included.
    const int end = std::max(last, scene().getLastEventFrame());
    saveAs(once);
    EXPECT_EQ(open(once), last) << "the saved scene ends at another frame";
    saveAs(twice);
    EXPECT_EQ(bytesOf(twice), bytesOf(once)) << "saved again, the file changed";
    if (GetParam().name.rfind("canonical_", 0) == 0) {
        EXPECT_EQ(bytesOf(once), bytesOf(original)) << "the first save differs from the file opened";
    }

    for (const int frame : {end / 4, end / 2, end * 3 / 4}) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        RenderToolImage before, after;
        const std::string options = "--frame " + std::to_string(frame);
        ASSERT_TRUE(renderWithTool(original, options, base + "/file.png", before)) << before.log;
        ASSERT_TRUE(renderWithTool(once, options, base + "/saved.png", after)) << after.log;
        ASSERT_EQ(before.width, after.width);
        ASSERT_EQ(before.height, after.height);
        size_t differ = 0;
        for (size_t i = 0; i < before.rgb.size() && i < after.rgb.size(); i += 3)
            differ += before.rgb[i] != after.rgb[i] || before.rgb[i + 1] != after.rgb[i + 1] ||
                      before.rgb[i + 2] != after.rgb[i + 2];
        EXPECT_EQ(differ, 0u) << "pixels drawn otherwise after the save";
        // Two pictures of the background alone compare nothing.
        if (GetParam().name != "seed_empty") {
            std::set<unsigned> colours;
            for (size_t i = 0; i + 2 < before.rgb.size(); i += 3)
                colours.insert(before.rgb[i] << 16 | before.rgb[i + 1] << 8 | before.rgb[i + 2]);
            EXPECT_GE(colours.size(), 4u) << "the picture shows hardly more than the background";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScene, SceneRoundTrip, ::testing::ValuesIn(everyScene()),
                         [](const ::testing::TestParamInfo<SceneFile>& scene) { return scene.param.name; });
