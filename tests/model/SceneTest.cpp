// The scene container: lists keyed by name, pauses, sounds and the last frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/pnChartDataPt.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "tests/support/TextCapture.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

// Objects and charts as the container sees them.
class TestObject : public pnObject {
public:
    explicit TestObject(const char* n, const char* type = "pnPanel") : type_(type) { setNameString(n); }
    const char* getTypeName() const override { return type_; }

private:
    const char* type_;
};

class TestChart : public TestObject {
public:
    explicit TestChart(const char* n) : TestObject(n, "pnBarChart") {}
    int getNumDataPts() const override { return static_cast<int>(points.size()); }
    const pnChartDataPt* getDataPt(int i) const override {
        return (i >= 0 && i < getNumDataPts()) ? &points[static_cast<size_t>(i)] : nullptr;
    }
    std::vector<pnChartDataPt> points;
};

template <class T>
T* named(const char* n) {
    T* item = new T;
    item->setName(n);
    return item;
}

std::vector<int> pausesOf(const pnScene& s) {
    std::vector<int> v;
    for (int i = 0; i < s.getNumPauses(); ++i) v.push_back(s.getPause(i));
    return v;
}

}  // namespace

TEST(Scene, NewSceneDefaults) {
    pnScene s;
    EXPECT_EQ(s.getName(), "");
    EXPECT_EQ(s.getWidth(), 720);
    EXPECT_EQ(s.getHeight(), 486);
    EXPECT_EQ(s.getVersion(), 120);
    EXPECT_FLOAT_EQ(s.getAnimScale(), 1.0f);
    EXPECT_EQ(s.getAlign(), 1);
    EXPECT_EQ(s.getNumLights() + s.getNumMaterials() + s.getNumStringProperties() + s.getNumObjects() +
                  s.getNumEvents() + s.getNumEffects() + s.getNumCharts(),
              0);
    EXPECT_EQ(s.getNumPauses(), 0);
    EXPECT_EQ(s.getNumSounds(), 0);
    EXPECT_EQ(s.getNextPauseFrame(), -1);
    EXPECT_EQ(s.getNextSoundFrame(), -1);
    EXPECT_EQ(s.getViewpoint(), nullptr);
    EXPECT_EQ(s.getLastFrame(), 0);
    EXPECT_EQ(s.getRotAxis()[1], 1.0f);
}

TEST(Scene, AddRefusesTakenAndEmptyNames) {
    pnScene s;
    // Lights, materials and styles take one empty name; objects, events,
    // effects and charts take none.
    pnLight* l0 = named<pnLight>("");
    pnLight* l1 = named<pnLight>("");
    EXPECT_EQ(s.addLight(l0), 1);
    EXPECT_EQ(s.addLight(l1), 0);
    delete l1;
    pnMaterial* m0 = named<pnMaterial>("");
    EXPECT_EQ(s.addMaterial(m0), 1);
    pnStringProperty* sp0 = named<pnStringProperty>("");
    EXPECT_EQ(s.addStringProperty(sp0), 1);

    TestObject emptyObject("");
    EXPECT_EQ(s.addObject(&emptyObject), 0);
    pnEvent emptyEvent;
    EXPECT_EQ(s.addEvent(&emptyEvent), 0);
    pnEffect emptyEffect;
    EXPECT_EQ(s.addEffect(&emptyEffect), 0);
    EXPECT_EQ(s.addChart(&emptyObject), 0);
    EXPECT_EQ(s.addObject(nullptr), 0);

    // Each list: the first "x" goes in, the second is refused and stays the caller's.
    EXPECT_EQ(s.addLight(named<pnLight>("x")), 1);
    pnLight dupLight;
    dupLight.setName("x");
    EXPECT_EQ(s.addLight(&dupLight), 0);
    EXPECT_EQ(s.addMaterial(named<pnMaterial>("x")), 1);
    pnMaterial dupMaterial;
    dupMaterial.setName("x");
    EXPECT_EQ(s.addMaterial(&dupMaterial), 0);
    EXPECT_EQ(s.addStringProperty(named<pnStringProperty>("x")), 1);
    pnStringProperty dupStyle;
    dupStyle.setName("x");
    EXPECT_EQ(s.addStringProperty(&dupStyle), 0);
    auto* obj = new TestObject("x");
    EXPECT_EQ(s.addObject(obj), 1);
    EXPECT_EQ(obj->getScene(), &s);
    TestObject dupObject("x");
    EXPECT_EQ(s.addObject(&dupObject), 0);
    EXPECT_EQ(dupObject.getScene(), nullptr);
    EXPECT_EQ(s.addEvent(named<pnEvent>("x")), 1);
    EXPECT_EQ(s.findEvent("x")->getScene(), &s);
    pnEvent dupEvent;
    dupEvent.setName("x");
    EXPECT_EQ(s.addEvent(&dupEvent), 0);
    EXPECT_EQ(s.addEffect(named<pnEffect>("x")), 1);
    pnEffect dupEffect;
    dupEffect.setName("x");
    EXPECT_EQ(s.addEffect(&dupEffect), 0);

    auto* chart = new TestChart("bars");
    EXPECT_EQ(s.addObject(chart), 1);
    EXPECT_EQ(s.addChart(chart), 1);
    EXPECT_EQ(s.addChart(chart), 0);
    EXPECT_EQ(s.getNumObjects(), 2);
    EXPECT_EQ(s.getNumCharts(), 1);
    EXPECT_EQ(s.chartExists("bars"), 1);
    EXPECT_EQ(s.objectExists("bars"), 1);
    EXPECT_EQ(s.chartExists("x"), 0);

    EXPECT_EQ(s.getNumLights(), 2);
    EXPECT_EQ(s.getNumMaterials(), 2);
    EXPECT_EQ(s.getNumStringProperties(), 2);
    EXPECT_EQ(s.lightExists("x") + s.materialExists("x") + s.stringPropertyExists("x") +
                  s.eventExists("x") + s.effectExists("x"),
              5);
    EXPECT_EQ(s.findLightIndex("x"), 1);
    EXPECT_EQ(s.findMaterialIndex("nope"), -1);
    EXPECT_EQ(s.findObject(nullptr), nullptr);
    EXPECT_EQ(s.indexOfObject(chart), 1);
    EXPECT_EQ(s.indexOfObject(&dupObject), -1);
}

TEST(Scene, InsertMaterialAndNameBuffers) {
    pnScene s;
    pnMaterial never;
    never.setName("never");
    EXPECT_EQ(s.insertMaterial(0, &never), 0);  // no index 0 yet
    s.addMaterial(named<pnMaterial>("a"));
    s.addMaterial(named<pnMaterial>("c"));
    pnMaterial* b = named<pnMaterial>("b");
    EXPECT_EQ(s.insertMaterial(1, b), 1);
    EXPECT_EQ(s.indexOfMaterial(b), 1);
    EXPECT_EQ(s.findMaterialIndex("c"), 2);
    pnMaterial dup;
    dup.setName("a");
    EXPECT_EQ(s.insertMaterial(0, &dup), 0);
    pnMaterial late;
    late.setName("late");
    EXPECT_EQ(s.insertMaterial(3, &late), 0);

    char buf[128];
    EXPECT_EQ(s.getMaterialName(1, buf), 1);
    EXPECT_STREQ(buf, "b");
    EXPECT_EQ(s.getMaterialName(3, buf), 0);
    EXPECT_EQ(s.getMaterialName(-1, buf), 0);

    // A 200-character name is kept as 127 and is found by either spelling.
    std::string longName(200, 'q');
    auto* obj = new TestObject(longName.c_str());
    ASSERT_EQ(s.addObject(obj), 1);
    EXPECT_EQ(obj->getName().size(), 127u);
    EXPECT_EQ(s.findObject(longName.c_str()), obj);
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(s.getObjectName(0, buf), 1);
    EXPECT_EQ(std::strlen(buf), 127u);
    char small[8];
    EXPECT_EQ(s.getObjectName(0, small, sizeof small), 1);
    EXPECT_STREQ(small, "qqqqqqq");
    EXPECT_EQ(s.getObjectName(1, buf), 0);
}

TEST(Scene, RemovingReportsAndKeepsItems) {
    DiagnosticLog diag;
    pnScene s;
    pnLight light;
    pnStringProperty style;
    TestObject obj("o");
    pnEvent event;
    pnEffect effect;
    s.removeLight(&light);
    s.removeStringPropertyl(&style);
    s.removeObject(&obj);
    s.removeEvent(&event);
    s.removeEffect(&effect);
    s.removeChart(&obj);
    EXPECT_EQ(diag.take(),
              "TORVIS: [pnScene::removeLight] Tried to delete non-existing light\n\n"
              "TORVIS: [pnScene::removeStringPropertyl]  Tried to delete non-existing string property\n\n"
              "TORVIS: [pnScene::removeObject]  Tried to delete non-existing object\n\n"
              "TORVIS: [pnScene::removeEvent]  Tried to delete non-existing even\n\n"
              "TORVIS: [pnScene::removeEffect]  Tried to delete non-existing effect\n\n"
              "TORVIS: [pnScene::removeChart] Tried to delete non-existing chart\n\n");

    auto* a = new TestObject("a");
    auto* b = new TestObject("b");
    auto* c = new TestObject("c");
    s.addObject(a);
    s.addObject(b);
    s.addObject(c);
    CaptureStderr();
    EXPECT_EQ(s.removeObject(&obj), 0);
    EXPECT_EQ(GetCapturedStderr(), "MERAK: element not exist in list [sgList]\n");
    EXPECT_EQ(s.getNumObjects(), 3);
    EXPECT_EQ(s.removeObject(b), 1);
    EXPECT_EQ(s.getNumObjects(), 2);
    EXPECT_EQ(s.getObject(1), c);  // order kept
    delete b;                      // removed items are the caller's
}

TEST(Scene, MoveEvent) {
    DiagnosticLog diag;
    pnScene s;
    EXPECT_EQ(s.moveEvent("e", 0), 0);
    EXPECT_EQ(diag.take(), "TORVIS: [pnScene::removeEvent]  Tried to delete non-existing even\n\n");
    s.addEvent(named<pnEvent>("e"));
    s.addEvent(named<pnEvent>("f"));
    s.addEvent(named<pnEvent>("g"));
    EXPECT_EQ(s.moveEvent("e", 99), 1);
    EXPECT_EQ(s.findEventIndex("e"), 2);
    EXPECT_EQ(s.findEventIndex("f"), 0);
    EXPECT_EQ(s.moveEvent("e", -1), 0);
    EXPECT_EQ(s.moveEvent("nope", 0), 0);
    EXPECT_EQ(s.moveEvent("e", 0), 1);
    EXPECT_EQ(s.findEventIndex("e"), 0);
    EXPECT_EQ(s.moveEvent("e", 1), 1);
    EXPECT_EQ(s.getEvent(1)->getName(), "e");
    EXPECT_EQ(s.getNumEvents(), 3);
}

TEST(Scene, PausesStaySortedUniqueAndBounded) {
    pnScene s;
    EXPECT_EQ(s.getNextPause(5), -1);
    s.addPause(20);
    s.addPause(10);
    EXPECT_EQ(s.getNextPause(5), 10);
    EXPECT_EQ(s.getNextPause(10), 20);
    EXPECT_EQ(s.getNextPause(20), 9999999);
    s.addPause(15);
    s.addPause(15);
    EXPECT_EQ(pausesOf(s), (std::vector<int>{10, 15, 20}));
    EXPECT_EQ(s.removePause(15), 1);
    EXPECT_EQ(s.removePause(15), 0);
    EXPECT_EQ(s.removePause(20), 1);
    s.addPause(20);
    EXPECT_EQ(pausesOf(s), (std::vector<int>{10, 20}));
    EXPECT_EQ(s.getPause(2), -1);
    EXPECT_EQ(s.getPause(-1), -1);

    // Removing the pending pause moves the cursor to the first; none left: -1.
    s.setNextPauseFrame(20);
    EXPECT_EQ(s.removePauseAt(1), 1);
    EXPECT_EQ(s.getNextPauseFrame(), 10);
    EXPECT_EQ(s.removePauseAt(5), 0);
    EXPECT_EQ(s.removePauseAt(0), 1);
    EXPECT_EQ(s.getNextPauseFrame(), -1);

    for (int i = 0; i < 70; ++i) s.addPause(1000 - i);
    EXPECT_EQ(s.getNumPauses(), 64);
    EXPECT_EQ(s.getPause(0), 937);  // the 65th and later were ignored
}

TEST(Scene, SoundsStaySortedUniqueAndKeepWholePaths) {
    pnScene s;
    EXPECT_EQ(s.getNextSound(0).frame, -1);
    std::string longPath = "/media/sounds/" + std::string(200, 'w') + ".wav";
    s.addSound(30, longPath.c_str());
    s.addSound(10, "a.wav");
    s.addSound(10, "b.wav");
    ASSERT_EQ(s.getNumSounds(), 2);
    EXPECT_EQ(s.getSound(0).file, "a.wav");
    EXPECT_EQ(s.getSound(1).file, longPath);
    EXPECT_EQ(s.getSound(2).frame, -1);
    EXPECT_EQ(s.getSound(2).file, "");
    EXPECT_EQ(s.getNextSound(10).frame, 30);
    EXPECT_EQ(s.getNextSound(0).file, "a.wav");
    EXPECT_EQ(s.getNextSound(30).frame, 9999999);

    s.setPendingSound(s.getSound(1));
    EXPECT_EQ(s.removeSound(30), 1);
    EXPECT_EQ(s.getNextSoundFrame(), 10);
    EXPECT_EQ(s.getPendingSound().file, "a.wav");
    EXPECT_EQ(s.removeSound(30), 0);
    EXPECT_EQ(s.removeSoundAt(0), 1);
    EXPECT_EQ(s.getNextSoundFrame(), -1);
    EXPECT_EQ(s.getPendingSound().frame, -1);
    EXPECT_EQ(s.removeSoundAt(0), 0);

    for (int i = 0; i < 130; ++i) s.addSound(i, "s.wav");
    EXPECT_EQ(s.getNumSounds(), 128);
    EXPECT_EQ(s.getSound(127).frame, 127);
}

TEST(Scene, MaterialUsesIncludeChartDataPoints) {
    pnScene s;
    auto* obj = new TestObject("box");
    obj->setMaterialName("red");
    auto* plain = new TestObject("plain");
    auto* chart = new TestChart("bars");
    pnChartDataPt pt;
    pt.setMaterialName("blue");
    chart->points.push_back(pt);
    s.addObject(plain);
    s.addObject(obj);
    s.addObject(chart);
    s.addChart(chart);
    EXPECT_EQ(s.isMaterialUsed("red"), 1);
    EXPECT_EQ(s.isMaterialUsed("blue"), 1);
    EXPECT_EQ(s.isMaterialUsed("green"), 0);
    EXPECT_EQ(s.isMaterialUsed(""), 0);
    EXPECT_EQ(s.findObjectUsingMaterial("red"), obj);
    EXPECT_EQ(s.findObjectUsingMaterial("blue"), nullptr);

    // null means "no material", never a name that matches.
    obj->setMaterialName(nullptr);
    EXPECT_FALSE(obj->hasMaterial());
    EXPECT_EQ(obj->getSetFlag(pnObject::MATERIAL_FLAG), 1);
    EXPECT_EQ(s.isMaterialUsed("red"), 0);

    auto* effect = named<pnEffect>("fade");
    effect->setColor("gold");
    s.addEffect(effect);
    EXPECT_EQ(s.isMaterialUsedByEffect("gold"), 1);
    effect->setColor("");
    EXPECT_EQ(s.isMaterialUsedByEffect("gold"), 0);

    auto* l0 = named<pnLight>("fill");
    auto* l1 = named<pnLight>("key");
    l1->setMaterial("warm");
    s.addLight(l0);
    s.addLight(l1);
    EXPECT_EQ(s.findLightUsingMaterial("warm"), l1);
    EXPECT_EQ(s.findLightUsingMaterial(""), nullptr);
}

TEST(Scene, UpdateLastFrameNeverLowers) {
    pnScene s;
    s.setLastFrame(500);
    auto* e = named<pnEvent>("e");
    e->addPlay("move", 0, 300, 1);
    s.addEvent(e);
    EXPECT_EQ(s.updateLastFrame(), 500);

    s.setLastFrame(0);
    EXPECT_EQ(s.updateLastFrame(), 300);
    s.addPause(350);
    s.addSound(320, "a.wav");
    EXPECT_EQ(s.updateLastFrame(), 350);
    auto* chart = new TestChart("bars");
    pnChartDataPt grow, shrink;
    grow.endTime = 400;
    shrink.endTime = 100;
    shrink.shrinkEnd = 450;
    chart->points = {grow, shrink};
    s.addObject(chart);
    s.addChart(chart);
    EXPECT_EQ(s.updateLastFrame(), 450);
    EXPECT_EQ(s.getLastFrame(), 450);
}

TEST(Scene, OwnedRecordsAndRelease) {
    pnScene s;
    auto* vp = new pnViewpoint;
    vp->setName("cam");
    s.setViewpoint(vp);
    s.setViewpoint(new pnViewpoint);  // the first one is deleted
    EXPECT_EQ(s.getViewpoint()->getName(), "");
    s.setBackground(new TestObject("bg", "pnBackground"));
    s.setDefaultMaterial(new pnMaterial);
    s.addObject(new TestObject("a"));
    s.addLight(named<pnLight>("l"));
    s.addMaterial(named<pnMaterial>("m"));
    s.addStringProperty(named<pnStringProperty>("st"));
    s.addEvent(named<pnEvent>("e"));
    s.addEffect(named<pnEffect>("f"));
    s.addPause(5);
    s.setName("demo");
    s.setPosition(sgVec3(1, 2, 3));
    EXPECT_EQ(s.getSetFlag(pnScene::POSITION_FLAG), 1);

    s.release();
    EXPECT_EQ(s.getViewpoint(), nullptr);
    EXPECT_EQ(s.getBackground(), nullptr);
    EXPECT_EQ(s.getDefaultMaterial(), nullptr);
    EXPECT_EQ(s.getNumObjects(), 0);
    EXPECT_EQ(s.findLight("l"), nullptr);
    s.init();
    EXPECT_EQ(s.getName(), "");
    EXPECT_EQ(s.getNumPauses(), 0);
    EXPECT_EQ(s.getSetFlag(pnScene::POSITION_FLAG), 0);
    // init on a filled scene frees what it held (the sanitizer checks for leaks).
    s.addObject(new TestObject("b"));
    s.init();
    EXPECT_EQ(s.getNumObjects(), 0);
}
