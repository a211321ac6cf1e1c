// A scene with every kind that is not a chart, saved, read back and saved
// again, must give the same file, in the C locale and in a German one; the
// canonical scenes, read and saved, must give their own text.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "charts/pnChartRead.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/ToolCheck.h"
#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "platform/TextEncoding.h"
#include "sg/sgRuntime.h"
#include "scene/pnVolume.h"
#include "SceneFileSupport.h"
#include "tests/support/TempDir.h"

using scenefile::readFile;
using scenefile::readText;
using scenefile::writeText;

namespace {

void addMaterials(pnScene& s) {
    auto* red = new pnMaterial;
    red->setName("red");
    red->setDiffuse(0.9f, 0.1f, 0.1f);
    red->setAmbient(0.3f, 0.05f, 0.05f);
    red->setEmission(0.01f, 0, 0);
    red->setSpecular(1, 1, 1);
    red->setShininess(77.5f);
    red->setAlpha(0.875f);
    s.addMaterial(red);
    auto* blue = new pnMaterial;
    blue->setName("blue");
    blue->setDiffuse(0.1f, 0.2f, 0.7f);
    s.addMaterial(blue);
    auto* wood = new pnMaterial;
    wood->setName("wood \"oak\"");
    wood->setFile("C:\\Textures\\oak.bmp");
    s.addMaterial(wood);
}

void addLights(pnScene& s) {
    auto* key = new pnLight;
    key->setName("key");
    key->setPosition(100, 200, 300);
    key->setAttenuation(sgVec3(1, 0.01f, 0.001f));
    key->setSpotCone(12, 35);
    key->setSpotDirection(sgVec3(0, -0.6f, -0.8f));
    key->setMaterial("red");
    key->setIntensity(0.8f);
    key->setFile("C:\\Textures\\gobo.png");
    s.addLight(key);
    auto* fill = new pnLight;
    fill->setName("fill");
    fill->setPosition(-50, 10, 0);
    fill->setPositional(0);
    fill->setOn(0);
    s.addLight(fill);
}

void addStyles(pnScene& s) {
    auto* title = new pnStringProperty;
    title->setName("title");
    title->setKind(0);
    title->setSize(48);
    title->setSlantAngle(12);
    title->setItalic(1);
    title->setSpacing(2.5f, 0, 0);
    title->setDepth(8);
    title->setRatio(1.25);
    title->setBevel(1.5f, 0.5f);
    title->setPrecision(0.4f);
    title->setFont("times new roman");
    title->setBorder(2);
    title->setHJust(0);
    title->setVJust(3);
    title->setWJust(400);
    title->setHOffset(3);
    title->setVOffset(-3);
    s.addStringProperty(title);
    auto* body = new pnStringProperty;
    body->setName("body");
    body->setVJust(4);
    body->setNJust(20);
    s.addStringProperty(body);
}

void setCommonFields(pnObject* o, const char* name) {
    o->setName(name);
    o->setPosition(10, -20, 30.5f);
    o->setRotAngle(33);
    o->setRotAxis(0.6f, 0.8f, 0);
    o->setPivotAngle(-15);
    o->setPivotAxis(1, 0, 0);
    o->setScale(1.5f, 1.5f, 0.5f);
    o->setScaleOrigin(2, 2, 2);
    o->setCenter(5, 5, 0);
    o->setMaterial("red");
    o->setForward(3);
}

void addObjects(pnScene& s) {
    auto* model = new pnModel;
    setCommonFields(model, "car");
    model->setFileName("C:\\Models\\car.3ds");
    model->setTexture("C:\\Textures\\paint0001.png");
    model->setTexMode(1);
    model->setNumIndex(12);
    model->setMode(2);
    model->setSPlane(sgVec4(1, 0.5f, 1, 0.25f));
    model->setTPlane(sgVec4(0, 1, 0.5f, 0.75f));
    s.addObject(model);

    auto* flat = new pnPanel;
    flat->setName("sign");
    flat->setKind(pnPanel::KIND_2D);
    flat->setDimension(200, 100, 0);
    flat->setMaterial("blue");
    flat->setTexture("sign.jpg");
    flat->setEachFaceFlag(1, 0, 0, 0, 0, 0);
    flat->setMode(3);
    flat->setCoords(0.1f, 0.2f, 0.9f, 0.8f);
    s.addObject(flat);
    auto* slab = new pnPanel;
    slab->setName("slab");
    slab->setBevel(4);
    slab->setEachFaceFlag(1, 1, 0, 0, 1, 0);
    slab->setDimension(60, 40, 10);
    s.addObject(slab);

    auto* text = new pnString;
    setCommonFields(text, "headline");
    // A double quote cannot stand in a quoted value: it is saved as "'".
    text->setString(("Quarterly \"results\": " + std::string(130, 'x')).c_str());
    // No style: a styled text shows (and saves) its style's values, and
    // these are its own.
    text->setSize(36);
    text->setSlantAngle(5);
    text->setItalic(1);
    text->setGap(1.5f);
    text->setDepth(12);
    text->setRatio(0.8);
    text->setBevel(2, 1);
    text->setPrecision(0.5f);
    text->setFont("arial");
    text->setBackMaterial("blue");
    text->setKind(0);
    text->setBorder(1.5f);
    text->setHOffset(2);
    text->setVOffset(-2);
    text->setHJust(2);
    text->setWJust(300);
    text->setMode(2);
    text->setTexture("C:\\Textures\\gold.png");
    s.addObject(text);

    auto* counter = new pnCounter;
    counter->setName("sales");
    counter->setPosition(0, -100, 0);
    counter->setMaterial("blue");
    counter->setStringProperty("body");
    counter->setBackMaterial("red");
    counter->setInitValue(-250.5);
    counter->setFinalValue(1234567.875);
    counter->setUseComma(0);
    counter->setNumFraction(2);
    counter->setMode(4);
    s.addObject(counter);

    auto* mesh = new pnVolume;
    mesh->setName("mesh");
    mesh->setMaterial("red");
    const float coords[] = {0, 0, 0, 10, 0, 0, 10, 10, 0, 0, 10, 0};
    const float normals[] = {0, 0, 1, 0, 0, -1};
    const int index[] = {0, 1, 2, 0, 2, 3, 2, 1, 0};
    const int normIndex[] = {0, 0, 0, 0, 0, 0, 1, 1, 1};
    mesh->setCoords(coords, 4);
    mesh->setNormals(normals, 2);
    mesh->setIndex(index, normIndex, 9);
    mesh->setNumPrims(3);
    s.addObject(mesh);
}

void addAnimation(pnScene& s) {
    auto* move = new pnEffect;
    move->setName("move");
    move->setTrans(100, 0, -50);
    s.addEffect(move);
    auto* spin = new pnEffect;
    spin->setName("spin");
    spin->setRotAngle(360);
    spin->setRotAxis(0, 1, 0);
    spin->setPivotAngle(45);
    spin->setPivotAxisXYZ(0, 0, 1);
    s.addEffect(spin);
    auto* fade = new pnEffect;
    fade->setName("fade");
    fade->setColor("blue");
    fade->setScale(2, 2, 2);
    fade->setCenter(0, 5, 0);
    s.addEffect(fade);
    auto* grow = new pnEffect;
    grow->setName("grow");
    grow->setGrow(0, 30, 1);
    s.addEffect(grow);
    auto* shrink = new pnEffect;
    shrink->setName("shrink");
    shrink->setShrink(30, 60, 2);
    s.addEffect(shrink);

    auto* carMove = new pnEvent;
    carMove->setName("car moves");
    carMove->addObjectName("car");
    carMove->addPlay("move", 0, 30, 1);
    carMove->addPlay("spin", 30, 90, 1);
    s.addEvent(carMove);
    auto* lightUp = new pnEvent;
    lightUp->setName("key light");
    lightUp->addObjectName("key");
    lightUp->addPlay("fade", 10, 40, 1);
    s.addEvent(lightUp);
    auto* group = new pnEvent;
    group->setName("texts");
    group->addObjectName("headline");
    group->addObjectName("sales");
    group->addObjectName("sign");
    group->setParent("car moves");
    group->addPlay("grow", 0, 30, 1);
    group->addPlay("shrink", 60, 90, 0);
    s.addEvent(group);
    auto* camera = new pnEvent;
    camera->setName("camera");
    camera->addObjectName("cam");
    camera->addPlay("move", 0, 120, 1);
    s.addEvent(camera);
}

void buildEveryKind(pnScene& s) {
    s.setName("Every kind");
    s.setWidth(1024);
    s.setHeight(576);
    s.setPosition(sgVec3(0, -10, 0));
    s.setRotAngle(5);
    s.setRotAxis(sgVec3(1, 0, 0));
    s.setScale(sgVec3(1.25f, 1.25f, 1.25f));
    s.addPause(30);
    s.addPause(90);
    s.addSound(0, "C:\\Sounds\\intro.wav");
    s.addSound(60, "C:\\Sounds\\old.set\\whoosh.wav");
    s.setAnimScale(1.5f);
    s.setAlign(2);
    auto* vp = new pnViewpoint;
    vp->setName("cam");
    vp->setPosition(0, 50, 800);
    vp->setDirection(0, -0.0625f, -1);
    vp->near = 5;
    vp->far = 4000;
    vp->fov = 35;
    vp->width = 640;
    s.setViewpoint(vp);
    auto* bg = new pnBackground;
    bg->setColor(sgVec4(0.1f, 0.2f, 0.3f, 1));
    bg->setFileName("C:\\Backgrounds\\sky.jpg");
    bg->setUseTexture(1);
    s.setBackground(bg);
    addMaterials(s);
    addLights(s);
    addStyles(s);
    addObjects(s);
    addAnimation(s);
}

// "" when the texts are equal, else the first line that differs in each.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return "";
    size_t at = 0, line = 1;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        if (expected[at++] == '\n') ++line;
    auto lineAt = [&](const std::string& text) {
        const size_t from = text.rfind('\n', at == 0 ? 0 : at - 1);
        const size_t begin = from == std::string::npos || at == 0 ? 0 : from + 1;
        return text.substr(begin, text.find('\n', begin) - begin);
    };
    return "line " + std::to_string(line) + ": \"" + lineAt(expected) + "\" became \"" + lineAt(actual) + "\"";
}

std::string roundTrip(const std::string& first) {
    pnScene again;
    readText(again, first);
    return writeText(again);
}

}  // namespace

TEST(RoundTrip, EveryKindSavesReadsAndSavesTheSameFile) {
    pnScene s;
    buildEveryKind(s);
    std::string first = writeText(s);
    for (const char* block : {"scene {", "viewpoint {", "background {", "material {", "light {", "stringProperty {",
                              "model {", "panel {", "string {", "counter {", "volume {", "effect {", "event {"})
        EXPECT_NE(("\n" + first).find(std::string("\n") + block), std::string::npos) << block;
    EXPECT_EQ(roundTrip(first), first);

    // The portable form reads back to itself as well.
    std::string portable = writeText(s, 1);
    EXPECT_NE(portable, first);
    EXPECT_EQ(roundTrip(portable), portable);
}

// The canonical scenes hold every object kind, chart kind, light, effect and
// event, each field the writer writes set to a value other than its default,
// in the writer's own format. Read and saved, each is its own text again: a
// field the writer drops, writes otherwise or moves shows at once.
TEST(RoundTrip, CanonicalScenesSaveToTheTextTheyWereReadFrom) {
    const char* root = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(root) + "/tests/scenefile/canonical"))
        if (entry.path().extension() == ".apn") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 2u);
    installChartKinds();
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const std::string text = readFile(path);
        pnScene s;
        std::string log;
        testing::internal::CaptureStderr();
        {
            DiagnosticLog diagnostics;
            readText(s, text);
            log = diagnostics.text();
        }
        log += testing::internal::GetCapturedStderr();
        EXPECT_EQ(log, "") << "a canonical scene reads without a message";
        const std::string saved = writeText(s);
        if (const std::string change = firstDifference(text, saved); !change.empty()) {
            const std::string out = testOutputDir() + "/saved-" + std::filesystem::path(path).filename().string();
            if (FILE* f = std::fopen(out.c_str(), "wb")) {
                std::fwrite(saved.data(), 1, saved.size(), f);
                std::fclose(f);
            }
            ADD_FAILURE() << "saved otherwise, " << change << " (the whole save: " << out << ")";
        }
        const std::string portable = writeText(s, 1);
        EXPECT_EQ(firstDifference(portable, roundTrip(portable)), "");
    }
    pnScene::setChartBlockReaders(nullptr);
}

// A file of several read blocks, its numbers of every length: read and
// written again, it is the same file.
TEST(RoundTrip, ManyBlocksReadBackToTheSameFile) {
    pnScene s;
    for (int i = 0; i < 1000; ++i) {
        auto* p = new pnPanel;
        p->setName(("panel " + std::to_string(i)).c_str());
        p->setPosition(i * 0.37f - 100, 1.0f / (i + 1), i * 1234.5678f);
        p->setDimension(40.0f + i % 7 * 0.001f, 30.125f, 5e-4f * i);
        p->setRotAngle(i * 0.6f);
        s.addObject(p);
    }
    std::string first = writeText(s);
    ASSERT_GT(first.size(), 3u * 64 * 1024);
    EXPECT_EQ(roundTrip(first), first);
}

TEST(RoundTrip, SameBytesUnderAGermanLocale) {
    pnScene s;
    buildEveryKind(s);
    std::string inC = writeText(s);
    REQUIRE_GERMAN_LOCALE(LC_ALL);
    std::string inGerman = writeText(s);
    std::string again = roundTrip(inGerman);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(again, inC);
}

TEST(RoundTrip, ThroughAFileOnDisk) {
    pnScene s;
    buildEveryKind(s);
    TempDir dir("kv-roundtrip");
    ASSERT_FALSE(dir.path().empty());
    std::string path = dir.file("every kind.apn");
    ASSERT_EQ(s.save(path.c_str(), 0), 1);

    pnScene loaded;
    ASSERT_EQ(pnSceneLoader().readFile(loaded, path), 1);
    std::string path2 = dir.file("again.apn");
    ASSERT_EQ(loaded.save(path2.c_str(), 0), 1);
    EXPECT_EQ(readFile(path2), readFile(path));

    // What the file holds, seen through the loaded scene.
    const pnEvent* light = loaded.findEvent("key light");
    ASSERT_NE(light, nullptr);
    ASSERT_EQ(light->getNumObjectNames(), 1);
    EXPECT_STREQ(light->getObjectName(0), "key");
    const pnEvent* texts = loaded.findEvent("texts");
    ASSERT_NE(texts, nullptr);
    EXPECT_EQ(texts->getNumObjectNames(), 3);
    EXPECT_EQ(texts->getParent(), "car moves");
    EXPECT_EQ(loaded.getLastFrame(), 120);
    const auto* headline = static_cast<const pnString*>(loaded.findObject("headline"));
    ASSERT_NE(headline, nullptr);
    EXPECT_EQ(headline->getString(), "Quarterly 'results': " + std::string(130, 'x'));
    EXPECT_EQ(loaded.findObject("car")->getForwardSetting(), 3);
    EXPECT_EQ(loaded.getBackground()->getFile(), "C:\\Backgrounds\\sky.jpg");
}

// The fuzz seeds are files the writer produced; they must still be exactly
// what the writer makes of them.
TEST(RoundTrip, FuzzSeedsAreWriterOutput) {
    const char* root = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    for (const char* name : {"empty.apn", "every-kind.apn", "every-kind-portable.apn"}) {
        std::string seed = readFile(std::string(root) + "/fuzz/seeds/scenefile/" + name);
        ASSERT_NE(seed, "<missing>") << name;
        EXPECT_EQ(roundTrip(seed), seed) << name;
    }
}

TEST(RoundTrip, MotionPathsAndEasingSurviveASave) {
    pnScene scene;
    scenefile::readText(scene,
                        "effect {\n    name\t\"arc\"\n    bezier\t(10 20 0)\n    bezier\t(20 20 0)\n"
                        "    bezier\t(30 0 0)\n    in\t50\n    out\t25\n}\n");
    std::string first = scenefile::writeText(scene);
    EXPECT_NE(first.find("    bezier\t(10.000000 20.000000 0.000000)\n"), std::string::npos) << first;
    EXPECT_NE(first.find("    in\t50\n"), std::string::npos);
    EXPECT_NE(first.find("    out\t25\n"), std::string::npos);

    pnScene again;
    scenefile::readText(again, first);
    EXPECT_EQ(scenefile::writeText(again), first);
    pnEffect* e = again.findEffect("arc");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->getNumPathPoints(), 4);
    sgVec3 mid = e->getBezierPoint(1.0);
    EXPECT_NEAR(mid[0], 30.0f, 1e-4);
    EXPECT_NEAR(mid[1], 0.0f, 1e-4);
}

// The checks every open makes, whichever program opens: nothing readable,
// a device or a folder, and a file in which nothing of a scene is found.
TEST(SceneLoader, OpensOnlyRegularFilesThatHoldAScene) {
    TempDir dir("kv-loader");
    ASSERT_FALSE(dir.path().empty());
    const std::string fifo = dir.file("pipe.apn");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        pnSceneLoader::Result expected;
    };
    const Case cases[] = {
        {"", pnSceneLoader::NOT_FOUND},
        {dir.file("missing.apn"), pnSceneLoader::NOT_FOUND},
        {"/dev/zero", pnSceneLoader::NOT_A_SCENE},
        {fifo, pnSceneLoader::NOT_A_SCENE},
        {dir.path(), pnSceneLoader::NOT_A_SCENE},
        {dir.write("notes.apn", "Shopping list:\n  milk, 2 eggs\n"), pnSceneLoader::NOT_A_SCENE},
        {dir.write("empty.apn", ""), pnSceneLoader::NOT_A_SCENE},
        {dir.write("named.apn", "scene { name \"tiny\" }\n"), pnSceneLoader::READ},
        // What the writer makes of a new, empty scene: every value a default.
        {dir.write("defaults.apn", "scene {\n    name\t\"\"\n    version\t120\n}\n"), pnSceneLoader::READ},
        {dir.write("words.apn", "not a scene at all { }\n"), pnSceneLoader::NOT_A_SCENE},
    };
    for (const Case& c : cases) {
        pnScene scene;
        EXPECT_EQ(pnSceneLoader().readFile(scene, c.path), c.expected) << c.path;
        EXPECT_EQ(pnSceneLoader::readScene(scene, c.path) == pnSceneLoader::READ, c.expected == pnSceneLoader::READ)
            << c.path;
    }
}

// An event's repeat, delay, disappear and nonStop were read but never
// written: a save dropped them and the last frame they reach.
TEST(RoundTrip, EventTimingKeysSurviveASave) {
    const std::string text =
        "effect {\n    name\t\"go\"\n}\n"
        "event {\n    name\t\"e\"\n    objectName\t\"e\"\n    play\t( \"go\" 10 30 1 )\n"
        "    delay\t5\n    disappear\t200\n    nonStop\t1\n    repeat\t3\n}\n";
    pnScene first;
    scenefile::readText(first, text);
    const std::string written = scenefile::writeText(first);
    for (const char* key : {"    delay\t5\n", "    disappear\t200\n", "    nonStop\t1\n", "    repeat\t3\n"})
        EXPECT_NE(written.find(key), std::string::npos) << key << written;
    pnScene again;
    scenefile::readText(again, written);
    EXPECT_EQ(scenefile::writeText(again), written);
    EXPECT_EQ(again.getLastFrame(), first.getLastFrame());
    const pnEvent* e = again.findEvent("e");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->getRepeat(), 3);
    EXPECT_EQ(e->getDelay(), 5);
    EXPECT_EQ(e->getDisappear(), 200);
    EXPECT_EQ(e->getNonStop(), 1);
    // A new event's values write nothing.
    pnScene plain;
    scenefile::readText(plain, "event {\n    name\t\"p\"\n    objectName\t\"p\"\n}\n");
    EXPECT_EQ(scenefile::writeText(plain).find("repeat"), std::string::npos);
}

// A legacy file keeps each name in 127 bytes of its code page. Recoded to
// UTF-8, such a name takes up to three bytes a character: names that fit
// their field stay whole and apart, and the saved file reads back the same.
TEST(RoundTrip, LegacyNamesStayWholeOnceRecoded) {
    struct Case {
        int codePage;
        std::string unit;  // one character in the code page
        size_t count;      // characters that fill (at most) 127 bytes
    };
    const Case cases[] = {
        {1252, "\xE9", 126},      // é
        {949, "\xB0\xA1", 62},    // 가
        {932, "\x82\xA0", 62},    // あ
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        setLegacyCodePage(c.codePage);
        std::string stem;
        for (size_t i = 0; i < c.count; ++i) stem += c.unit;
        const std::string text = "material {\n    name\t\"" + stem + "A\"\n}\n"
                                 "material {\n    name\t\"" + stem + "B\"\n}\n"
                                 "panel {\n    name\t\"" + stem + "A\"\n    material\t\"" + stem + "B\"\n}\n";
        pnScene first;
        scenefile::readText(first, text);
        ASSERT_EQ(first.getNumMaterials(), 2) << "the second name was taken for the first";
        const std::string a = first.getMaterial(0)->getName(), b = first.getMaterial(1)->getName();
        EXPECT_NE(a, b);
        EXPECT_EQ(sgCharCount(a), c.count + 1);
        EXPECT_EQ(a.back(), 'A');
        EXPECT_EQ(b.back(), 'B');
        ASSERT_NE(first.findObject(a.c_str()), nullptr);
        EXPECT_EQ(first.findObject(a.c_str())->getMaterialName(), b);
        const std::string written = scenefile::writeText(first);
        pnScene again;
        scenefile::readText(again, written);
        EXPECT_EQ(scenefile::writeText(again), written);
        EXPECT_EQ(again.getMaterial(1)->getName(), b);
    }
    setLegacyCodePage(1252);
}
