// Scene-graph membership and playback without drawing: where events, objects
// and child events hang, what each frame does to transforms, switches,
// colours, the camera, pauses and sound cues.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/SoundPlayer.h"
#include "scene/pnLight.h"
#include "scene/pnModel.h"
#include "scene/pnViewpoint.h"
#include "scene/pnVolume.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgGeoSet.h"
#include "sg/sgLightSource.h"
#include "tests/playback/PlaybackSupport.h"
#include "tests/support/VecCheck.h"

namespace {

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override { setSoundPlayer(&sounds); }
    void TearDown() override {
        setSoundPlayer(nullptr);
        holder.reset();
        sgChannel::sgFreeChannel();
    }
    pnScene& scene() { return *holder->scene; }
    SceneGraphRoots& roots() { return holder->roots; }

    // One panel "box" at position, one event "move" showing it with a play of
    // effect "fx" over start..end.
    pnEvent* movingBox(const sgVec3& trans, int start, int end, const sgVec3& position = sgVec3(0, 0, 0)) {
        addPanel(scene(), "box", position);
        pnEffect* fx = addEffect(scene(), "fx");
        fx->setTrans(trans);
        pnEvent* ev = addEvent(scene(), "move", "box");
        ev->addPlay("fx", start, end, 1);
        return ev;
    }

    std::unique_ptr<SceneHolder> holder = std::make_unique<SceneHolder>();
    RecordingSoundPlayer sounds;
};


sgVec3 diffuseOf(const pnObject* o) {
    sgGeode* g = o->getGeode();
    sgGeoState* s = g && g->getNumGSets() > 0 ? g->getGSet(0)->getGState() : nullptr;
    if (!s) return sgVec3(-1, -1, -1);
    sgVec4 d = s->getShownColor(GL_DIFFUSE);
    return sgVec3(d[0], d[1], d[2]);
}

// A chart seen through the scene's chart interface: one panel part, one
// effect and one event of its own; it records the chart effects it is asked
// to apply.
class FakeChart : public pnObject, public pnChartAccess {
public:
    FakeChart() {
        setName("chart");
        part.setName("bar0");
        effect.setName("grow");
        event.setName("bar0Event");
        event.addObjectName("bar0");
        event.addPlay("grow", 10, 20, 1);
    }
    ~FakeChart() override {
        // The part's nodes leave the chart event's transform node with it.
        if (sgNode* dcs = event.getNode() ? event.getNode()->getParent() : nullptr) delete dcs;
    }
    const char* getTypeName() const override { return "pnBarChart"; }
    using pnObject::getNode;
    sgNode* getNode() override {
        makeNodeChain(false);
        return getSwitchNode();
    }
    int getNumChartEvents() const override { return removedEvent ? 0 : 1; }
    pnEvent* getChartEvent(int i) const override { return i == 0 && !removedEvent ? &event : nullptr; }
    pnEffect* findChartEffect(const char* n) const override { return effect.getName() == n ? &effect : nullptr; }
    int getNumChartParts() const override { return 1; }
    pnObject* getChartPart(int i) const override { return i == 0 ? &part : nullptr; }
    pnObject* findChartPart(const char* n) const override { return part.getName() == n ? &part : nullptr; }
    void setChartEventGroup(sgGroup* g) override { group = g; }
    void generateChartParts(pnScene&, pnEvent*) override { ++generated; }
    void removeChartEvent(pnEvent*) override { removedEvent = true; }
    void renameShowingEvent(const std::string&, const std::string&) override {}
    void deleteChartParts() override { ++partsDeleted; }
    int getChartLastFrame() const override { return 70; }
    void applyChartEffect(pnScene&, int frame, pnEvent* e, pnEffect* fx, pnObject* p) override {
        lastFrame = frame;
        lastT = pnScene::playFraction(frame, e->getCurStart(), e->getCurEnd());
        lastPart = p;
        lastEffect = fx;
    }

    mutable pnPanel part;
    mutable pnEffect effect;
    mutable pnEvent event;
    sgGroup* group = nullptr;
    bool removedEvent = false;
    int generated = 0;
    int partsDeleted = 0;
    int lastFrame = -1;
    float lastT = -1;
    pnObject* lastPart = nullptr;
    pnEffect* lastEffect = nullptr;
};

}  // namespace

TEST_F(PlaybackTest, BuildHangsEventsWithTheirObjectsAndSetsTheCamera) {
    pnPanel* box = addPanel(scene(), "box");
    addEvent(scene(), "show", "box");
    scene().addPause(10);
    scene().addSound(30, "cue.wav");
    scene().buildSceneGraph();

    ASSERT_NE(scene().getViewpoint(), nullptr);
    ASSERT_NE(scene().getDefaultMaterial(), nullptr);
    sgGroup* group = roots().eventGroup;
    ASSERT_EQ(group->getNumChildren(), 1);
    sgNode* dcs = group->getChild(0);
    EXPECT_TRUE(dcs->isOfType("sgDCS"));
    EXPECT_EQ(dcs->getName(), "show");
    ASSERT_EQ(dcs->getNumChildren(), 1);
    EXPECT_EQ(dcs->getChild(0), box->getSwitchNode());
    EXPECT_EQ(scene().findEvent("show")->getNode(), box->getSwitchNode());
    EXPECT_EQ(box->isBuilt(), 1);

    sgChannel* ch = sgChannel::sgGetChannel();
    float h = 0, v = 0;
    ch->getFOV(&h, &v);
    EXPECT_FLOAT_EQ(v, 30.0f);
    EXPECT_FLOAT_EQ(ch->getNear(), 10.0f);
    EXPECT_FLOAT_EQ(ch->getFar(), 5000.0f);
    expectVec(ch->getEye(), 0, 0, 906, 1e-4f);

    EXPECT_EQ(scene().getNextPauseFrame(), 10);
    EXPECT_EQ(scene().getNextSoundFrame(), 30);
    EXPECT_EQ(scene().getPendingSound().file, "cue.wav");
}

TEST_F(PlaybackTest, BuildPutsTheSceneTransformOnItsNode) {
    scene().setPosition(sgVec3(1, 2, 3));
    scene().setScale(sgVec3(2, 2, 2));
    roots().frameCount = 7;
    roots().frameCount2 = 9;
    scene().buildSceneGraph();
    expectVec(roots().sceneTransform->getTrans(), 1, 2, 3, 1e-4f);
    expectVec(roots().sceneTransform->getScale(), 2, 2, 2, 1e-4f);
    EXPECT_EQ(roots().sceneTransform->getRotateOn(), 0);
    EXPECT_EQ(roots().frameCount, 0);
    EXPECT_EQ(roots().frameCount2, 0);
}

TEST_F(PlaybackTest, UnreadableModelLeavesAnEmptyTransformAndAnUnbuiltObject) {
    auto* model = new pnModel;
    model->setName("teapot");
    model->setFileName("/nonexistent/teapot.obj");
    scene().addObject(model);
    pnEvent* ev = addEvent(scene(), "spin", "teapot");
    ev->addPlay("none", 0, 10, 1);
    scene().buildSceneGraph();

    ASSERT_EQ(roots().eventGroup->getNumChildren(), 1);
    EXPECT_EQ(roots().eventGroup->getChild(0)->getNumChildren(), 0);
    EXPECT_EQ(ev->getNode(), nullptr);
    EXPECT_EQ(model->isBuilt(), 0);
    EXPECT_EQ(model->getSwitchNode(), nullptr);
    // Playing such an event touches nothing.
    ::testing::internal::CaptureStderr();
    scene().setFrame(5);
    scene().resetAnimation();
    ::testing::internal::GetCapturedStderr();
}

TEST_F(PlaybackTest, ChildEventsHangUnderTheParentObjectAndMoveUpWhenItGoes) {
    pnPanel* a = addPanel(scene(), "a");
    pnPanel* b = addPanel(scene(), "b");
    pnPanel* c = addPanel(scene(), "c");
    pnEvent* pa = addEvent(scene(), "pa", "a");
    pnEvent* pb = addEvent(scene(), "pb", "b");
    pnEvent* pc = addEvent(scene(), "pc", "c");
    pb->setParent("pa");
    pc->setParent("pa");
    scene().buildSceneGraph();

    sgNode* aSwitch = a->getSwitchNode();
    ASSERT_EQ(aSwitch->getNumChildren(), 3);
    EXPECT_EQ(aSwitch->getChild(0), a->getTransNode());
    EXPECT_EQ(aSwitch->getChild(1)->getName(), "pb");
    EXPECT_EQ(aSwitch->getChild(2)->getName(), "pc");
    EXPECT_EQ(aSwitch->getChild(1)->getChild(0), b->getSwitchNode());
    EXPECT_EQ(pa->getNumChildNames(), 2);

    // Reorder under the parent: position 0 is the first place after the
    // parent's own object; a negative position means the first place too.
    EXPECT_EQ(scene().moveEventNode(pc, 0), 1);
    EXPECT_EQ(aSwitch->getChild(1)->getName(), "pc");
    EXPECT_EQ(scene().moveEventNode(pc, 50), 1);
    EXPECT_EQ(aSwitch->getChild(2)->getName(), "pc");
    EXPECT_EQ(scene().moveEventNode(pc, -3), 1);
    EXPECT_EQ(aSwitch->getChild(1)->getName(), "pc");
    EXPECT_EQ(aSwitch->getNumChildren(), 3);

    EXPECT_EQ(scene().removeEventFromScene(pa), 1);
    sgGroup* group = roots().eventGroup;
    ASSERT_EQ(group->getNumChildren(), 2);
    EXPECT_EQ(group->getChild(0)->getName(), "pc");
    EXPECT_EQ(group->getChild(1)->getName(), "pb");
    EXPECT_EQ(aSwitch->getNumChildren(), 1);
    EXPECT_EQ(aSwitch->getParent(), nullptr);
    EXPECT_EQ(a->isBuilt(), 0);
    EXPECT_EQ(pa->getNode(), nullptr);
    EXPECT_EQ(pb->getHasParent(), 0);
    EXPECT_EQ(pc->getHasParent(), 0);
    EXPECT_EQ(pa->getNumChildNames(), 0);
    // The moved events still play.
    EXPECT_EQ(eventDCS(pb), group->getChild(1));
    EXPECT_EQ(c->isBuilt(), 1);
}

TEST_F(PlaybackTest, TopLevelEventsReorderInTheGroup) {
    for (const char* n : {"o1", "o2", "o3"}) addPanel(scene(), n);
    pnEvent* e1 = addEvent(scene(), "e1", "o1");
    addEvent(scene(), "e2", "o2");
    pnEvent* e3 = addEvent(scene(), "e3", "o3");
    scene().buildSceneGraph();
    sgGroup* g = roots().eventGroup;
    EXPECT_EQ(scene().moveEventNode(e3, 0), 1);
    EXPECT_EQ(g->getChild(0)->getName(), "e3");
    EXPECT_EQ(scene().moveEventNode(e1, 99), 1);
    EXPECT_EQ(g->getChild(2)->getName(), "e1");
    EXPECT_EQ(g->getChild(1)->getName(), "e2");
    EXPECT_EQ(scene().moveEventNode(nullptr, 0), 0);
    EXPECT_EQ(scene().removeEventFromScene(nullptr), 0);
}

TEST_F(PlaybackTest, ParentWithoutObjectNodeLeavesTheChildOut) {
    addPanel(scene(), "kid");
    addEvent(scene(), "lonely", "nothing-of-that-name");
    pnEvent* child = addEvent(scene(), "child", "kid");
    child->setParent("lonely");
    ::testing::internal::CaptureStderr();
    scene().buildSceneGraph();
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("TORVIS: Switch of parent event tree is empty.\n"), std::string::npos);
    EXPECT_EQ(roots().eventGroup->getNumChildren(), 1);
    EXPECT_EQ(child->getNode(), nullptr);
    EXPECT_EQ(scene().findObject("kid")->isBuilt(), 0);
}

TEST_F(PlaybackTest, OnePlayHidesBeforeMovesDuringAndRestsAfter) {
    pnEvent* ev = movingBox(sgVec3(10, 0, 0), 10, 20);
    scene().buildSceneGraph();
    sgSwitch* sw = ev->getNode();
    sgDCS* dcs = eventDCS(ev);
    ASSERT_NE(dcs, nullptr);

    scene().setFrame(5);
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_OFF);
    expectVec(mapPoint(dcs, sgVec3(1, 2, 3)), 1, 2, 3, 1e-4f);

    scene().setFrame(15);
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_ON);
    expectVec(mapPoint(dcs, sgVec3(0, 0, 0)), 5, 0, 0, 1e-4f);

    scene().setFrame(25);
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_ON);
    expectVec(mapPoint(dcs, sgVec3(0, 0, 0)), 10, 0, 0, 1e-4f);

    // Back before the play: hidden and at rest again.
    scene().setFrame(0);
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_OFF);
    expectVec(mapPoint(dcs, sgVec3(0, 0, 0)), 0, 0, 0, 1e-4f);
}

TEST_F(PlaybackTest, PlaysAccumulateAndHiddenPlaysHide) {
    pnEvent* ev = movingBox(sgVec3(10, 0, 0), 0, 10, sgVec3(3, 0, 0));
    ev->addPlay("fx", 10, 20, 1);
    ev->addPlay("fx", 30, 40, 0);
    scene().buildSceneGraph();
    sgDCS* dcs = eventDCS(ev);
    scene().setFrame(10);
    expectVec(mapPoint(dcs, sgVec3(3, 0, 0)), 13, 0, 0, 1e-4f);
    scene().setFrame(20);
    expectVec(mapPoint(dcs, sgVec3(3, 0, 0)), 23, 0, 0, 1e-4f);
    // Between plays the object rests where the finished plays left it.
    scene().setFrame(25);
    expectVec(mapPoint(dcs, sgVec3(3, 0, 0)), 23, 0, 0, 1e-4f);
    EXPECT_EQ(ev->getNode()->getVal(), sgSwitch::SG_SWITCH_ON);
    scene().setFrame(35);
    EXPECT_EQ(ev->getNode()->getVal(), sgSwitch::SG_SWITCH_OFF);
    expectVec(mapPoint(dcs, sgVec3(3, 0, 0)), 28, 0, 0, 1e-4f);
    expectVec(ev->getAccTrans(), 20, 0, 0, 1e-4f);
}

TEST_F(PlaybackTest, RotationFollowsTheFractionAndThePivotTurnsWhole) {
    pnEvent* ev = movingBox(sgVec3(0, 0, 0), 0, 10);
    pnEffect* fx = scene().findEffect("fx");
    fx->setRotAngle(90);
    fx->setRotAxis(0, 0, 1);
    scene().buildSceneGraph();
    sgDCS* dcs = eventDCS(ev);
    scene().setFrame(5);
    const float h = std::sqrt(0.5f);
    expectVec(mapPoint(dcs, sgVec3(1, 0, 0)), h, h, 0, 1e-4f);
    scene().setFrame(10);
    expectVec(mapPoint(dcs, sgVec3(1, 0, 0)), 0, 1, 0, 1e-4f);
    // A finished turn is kept for the next play.
    ev->addPlay("fx", 10, 20, 1);
    scene().setFrame(20);
    expectVec(mapPoint(dcs, sgVec3(1, 0, 0)), -1, 0, 0, 1e-4f);

    fx->setRotAngle(0);
    fx->setPivotAngle(90);
    fx->setPivotAxis(sgVec3(0, 0, 2));  // any length
    scene().setFrame(0);
    expectVec(mapPoint(dcs, sgVec3(1, 0, 0)), 0, 1, 0, 1e-4f);
    scene().setFrame(5);
    expectVec(mapPoint(dcs, sgVec3(1, 0, 0)), 0, 1, 0, 1e-4f);
}

TEST_F(PlaybackTest, ScaleActsAboutTheObjectPositionAndTheEffectCentre) {
    pnEvent* ev = movingBox(sgVec3(0, 0, 0), 0, 10, sgVec3(10, 0, 0));
    pnEffect* fx = scene().findEffect("fx");
    fx->setScale(3, 3, 3);
    scene().buildSceneGraph();
    sgDCS* dcs = eventDCS(ev);
    scene().setFrame(5);  // scale 2 halfway
    expectVec(mapPoint(dcs, sgVec3(10, 0, 0)), 10, 0, 0, 1e-4f);
    expectVec(mapPoint(dcs, sgVec3(11, 0, 0)), 12, 0, 0, 1e-4f);
    fx->setCenter(0, 0, 0);
    scene().setFrame(5);
    expectVec(mapPoint(dcs, sgVec3(10, 0, 0)), 20, 0, 0, 1e-4f);
    scene().setFrame(10);
    expectVec(ev->getAccScale(), 3, 3, 3, 1e-4f);
}

TEST_F(PlaybackTest, MotionPathReplacesTheTranslation) {
    pnEvent* ev = movingBox(sgVec3(100, 0, 0), 0, 10);
    pnEffect* fx = scene().findEffect("fx");
    fx->addBezierPoint(10, 0, 0);
    fx->addBezierPoint(20, 0, 0);
    fx->addBezierPoint(30, 0, 0);
    scene().buildSceneGraph();
    scene().setFrame(5);
    expectVec(mapPoint(eventDCS(ev), sgVec3(0, 0, 0)), 15, 0, 0, 1e-4f);
    scene().setFrame(10);
    expectVec(mapPoint(eventDCS(ev), sgVec3(0, 0, 0)), 30, 0, 0, 1e-4f);
    expectVec(ev->getAccTrans(), 30, 0, 0, 1e-4f);
}

TEST_F(PlaybackTest, MissingEffectIsReportedAndTheNextPlayStillRuns) {
    pnEvent* ev = movingBox(sgVec3(10, 0, 0), 10, 20);
    ev->addPlay("nothere", 0, 5, 1);
    scene().buildSceneGraph();
    ::testing::internal::CaptureStderr();
    scene().setFrame(25);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ERROR: effect name, nothere, not found.\n"), std::string::npos);
    expectVec(mapPoint(eventDCS(ev), sgVec3(0, 0, 0)), 10, 0, 0, 1e-4f);
}

TEST_F(PlaybackTest, PauseFramesSetTheFlagAndTheCursorStopsPastTheLast) {
    scene().addPause(10);
    scene().addPause(20);
    scene().buildSceneGraph();
    scene().setFrame(5);
    EXPECT_EQ(roots().pauseReached, 0);
    EXPECT_EQ(scene().getNextPauseFrame(), 10);
    scene().setFrame(10);
    EXPECT_EQ(roots().pauseReached, 1);
    EXPECT_EQ(scene().getNextPauseFrame(), 20);
    roots().pauseReached = 0;
    scene().setFrame(11);
    EXPECT_EQ(roots().pauseReached, 0);
    scene().setFrame(20);
    EXPECT_EQ(roots().pauseReached, 1);
    roots().pauseReached = 0;
    scene().setFrame(500);
    EXPECT_EQ(roots().pauseReached, 0);
    EXPECT_EQ(scene().getNextPauseFrame(), pnScene::NO_LATER_FRAME);
    scene().setFrame(501);
    EXPECT_EQ(scene().getNextPauseFrame(), pnScene::NO_LATER_FRAME);
    // Jumping back finds the pause again.
    scene().setFrame(20);
    EXPECT_EQ(roots().pauseReached, 1);
}

TEST_F(PlaybackTest, SoundCueFiresOnceAtItsFrame) {
    scene().addSound(30, "cue.wav");
    scene().addSound(40, "second.wav");
    scene().buildSceneGraph();
    scene().setFrame(29);
    EXPECT_TRUE(sounds.played.empty());
    scene().setFrame(30);
    scene().setFrame(31);
    ASSERT_EQ(sounds.played.size(), 1u);
    EXPECT_EQ(sounds.played[0], "cue.wav");
    scene().setFrame(40);
    ASSERT_EQ(sounds.played.size(), 2u);
    EXPECT_EQ(sounds.played[1], "second.wav");
    scene().setFrame(1000);
    scene().setFrame(1001);
    EXPECT_EQ(sounds.played.size(), 2u);
    EXPECT_EQ(scene().getNextSoundFrame(), pnScene::NO_LATER_FRAME);
}

TEST_F(PlaybackTest, ColourFadeBlendsTowardsTheGoalMaterial) {
    addMaterial(scene(), "red", sgVec3(1, 0, 0));
    addMaterial(scene(), "blue", sgVec3(0, 0, 1));
    pnPanel* box = addPanel(scene(), "box", sgVec3(0, 0, 0), "red");
    pnEffect* fx = addEffect(scene(), "fade");
    fx->setColor("blue");
    addEvent(scene(), "ev", "box")->addPlay("fade", 0, 10, 1);
    scene().buildSceneGraph();
    expectVec(diffuseOf(box), 1, 0, 0, 1e-4f);
    scene().setFrame(5);
    expectVec(diffuseOf(box), 0.5f, 0, 0.5f, 1e-4f);
    scene().setFrame(10);
    expectVec(diffuseOf(box), 0, 0, 1, 1e-4f);
}

// Whatever frame came before, a frame shows the colours its plays give: the
// object's own before a fade begins, after a later play without colour, and
// at rest; the own colours were never overwritten.
TEST_F(PlaybackTest, ColourFadesAreTakenBackOnEarlierFramesAndAtRest) {
    addMaterial(scene(), "red", sgVec3(1, 0, 0));
    addMaterial(scene(), "blue", sgVec3(0, 0, 1));
    pnPanel* box = addPanel(scene(), "box", sgVec3(0, 0, 0), "red");
    pnEffect* fx = addEffect(scene(), "fade");
    fx->setColor("blue");
    addEffect(scene(), "still");
    pnEvent* ev = addEvent(scene(), "ev", "box");
    ev->addPlay("fade", 10, 20, 1);
    ev->addPlay("still", 30, 40, 1);
    scene().buildSceneGraph();
    scene().setFrame(20);
    expectVec(diffuseOf(box), 0, 0, 1, 1e-4f);
    scene().setFrame(5);  // before the fade
    expectVec(diffuseOf(box), 1, 0, 0, 1e-4f);
    scene().setFrame(15);
    expectVec(diffuseOf(box), 0.5f, 0, 0.5f, 1e-4f);
    scene().setFrame(35);  // a play without colour shows the base colour
    expectVec(diffuseOf(box), 1, 0, 0, 1e-4f);
    scene().setFrame(20);
    scene().resetAnimation();  // object mode
    expectVec(diffuseOf(box), 1, 0, 0, 1e-4f);
    const sgGeoState* state = box->getGeode()->getGSet(0)->getGState();
    expectVec(sgVec3(state->getColor(GL_DIFFUSE)[0], state->getColor(GL_DIFFUSE)[1], state->getColor(GL_DIFFUSE)[2]),
              1, 0, 0, 1e-4f);
}

// A light's fade goes too once its event rests before its play.
TEST_F(PlaybackTest, ALightFadeIsTakenBackBeforeItsPlay) {
    addMaterial(scene(), "blue", sgVec3(0, 0, 1));
    auto* light = new pnLight;
    light->setName("lamp");
    light->setOn(1);
    ASSERT_TRUE(scene().addLight(light));
    pnEffect* fx = addEffect(scene(), "fade");
    fx->setColor("blue");
    addEvent(scene(), "lamp", "lamp")->addPlay("fade", 10, 20, 1);
    scene().buildSceneGraph();
    sgLightSource* node = light->getLightNode();
    ASSERT_TRUE(node);
    float r = 0, g = 0, b = 0;
    node->getColor(GL_DIFFUSE, &r, &g, &b);
    const sgVec3 own(r, g, b);
    scene().setFrame(20);
    node->getColor(GL_DIFFUSE, &r, &g, &b);
    EXPECT_FALSE(sgVec3(r, g, b) == own);
    scene().setFrame(5);
    node->getColor(GL_DIFFUSE, &r, &g, &b);
    expectVec(sgVec3(r, g, b), own[0], own[1], own[2], 1e-6f);
}

TEST_F(PlaybackTest, ColourFadeWithoutItsGoalMaterialChangesNothing) {
    addMaterial(scene(), "red", sgVec3(1, 0, 0));
    pnPanel* box = addPanel(scene(), "box", sgVec3(0, 0, 0), "red");
    pnEffect* fx = addEffect(scene(), "fade");
    fx->setColor("ghost");
    pnEvent* ev = addEvent(scene(), "ev", "box");
    ev->addPlay("fade", 0, 10, 1);
    scene().buildSceneGraph();
    scene().setFrame(5);
    scene().setFrame(10);
    expectVec(diffuseOf(box), 1, 0, 0, 1e-4f);
    EXPECT_EQ(ev->getBaseMaterial(), nullptr);
}

TEST_F(PlaybackTest, CameraEventMovesTheEyeAndRestsBeforeItsPlay) {
    auto* vp = new pnViewpoint;
    vp->setName("camera");
    scene().setViewpoint(vp);
    pnEffect* fx = addEffect(scene(), "dolly");
    fx->setTrans(0, 0, -100);
    addEvent(scene(), "cam", "camera")->addPlay("dolly", 10, 20, 1);
    scene().buildSceneGraph();
    sgChannel* ch = sgChannel::sgGetChannel();
    scene().setFrame(15);
    expectVec(ch->getEye(), 0, 0, 856, 1e-4f);
    scene().setFrame(30);
    expectVec(ch->getEye(), 0, 0, 806, 1e-4f);
    scene().setFrame(0);
    expectVec(ch->getEye(), 0, 0, 906, 1e-4f);
}

TEST_F(PlaybackTest, ResetAnimationShowsEventsUnlessHiddenAndClearsTransforms) {
    pnEvent* ev = movingBox(sgVec3(10, 0, 0), 0, 10);
    addPanel(scene(), "ghost");
    pnEvent* hidden = addEvent(scene(), "hide", "ghost");
    hidden->setHidden(1);
    scene().buildSceneGraph();
    scene().setFrame(10);
    scene().resetAnimation();
    EXPECT_EQ(ev->getNode()->getVal(), sgSwitch::SG_SWITCH_ON);
    EXPECT_EQ(hidden->getNode()->getVal(), sgSwitch::SG_SWITCH_OFF);
    expectVec(mapPoint(eventDCS(ev), sgVec3(0, 0, 0)), 0, 0, 0, 1e-4f);
}

TEST_F(PlaybackTest, ImageSequencesFollowThePlay) {
    auto* v = new pnVolume;
    v->setName("film");
    v->setTexMode(pnObject::TEXMODE_SEQUENCE);
    scene().addObject(v);
    addEffect(scene(), "still");
    pnEvent* ev = addEvent(scene(), "roll", "film");
    ev->addPlay("still", 10, 20, 1);
    scene().buildSceneGraph();
    sgGeoState* state = v->getGeoState();
    ASSERT_NE(state, nullptr);
    scene().setFrame(15);
    EXPECT_EQ(state->getSequenceFrame(), 5);
    scene().setFrame(25);
    EXPECT_EQ(state->getSequenceFrame(), 10);
    ev->removePlayAt(0);
    scene().setFrame(25);
    EXPECT_EQ(state->getSequenceFrame(), -1);
}

TEST_F(PlaybackTest, MaterialsAddDeleteAndUpdateTheirUsers) {
    pnMaterial* red = addMaterial(scene(), "red", sgVec3(1, 0, 0));
    pnPanel* box = addPanel(scene(), "box", sgVec3(0, 0, 0), "red");
    addEvent(scene(), "ev", "box");
    scene().buildSceneGraph();

    auto* twin = new pnMaterial;
    twin->setName("red");
    EXPECT_EQ(scene().addAMaterialToScene(twin), 0);
    delete twin;
    auto* green = new pnMaterial;
    green->setName("green");
    EXPECT_EQ(scene().addAMaterialToScene(green), 1);
    EXPECT_EQ(scene().deleteAMaterialFromScene(green), 1);
    EXPECT_EQ(scene().materialExists("green"), 0);
    EXPECT_EQ(scene().deleteAMaterialFromScene(green), 0);
    delete green;

    red->setDiffuse(0, 1, 0);
    scene().updateObjectsUsingMaterial(red);
    expectVec(diffuseOf(box), 0, 1, 0, 1e-4f);
    scene().updateObjectsUsingMaterial(nullptr);
}

TEST_F(PlaybackTest, ChartEventsPlayThroughTheChartInterface) {
    auto* chart = new FakeChart;
    scene().addObject(chart);
    scene().addChart(chart);
    addEvent(scene(), "showChart", "chart");
    scene().buildSceneGraph();
    EXPECT_EQ(chart->generated, 1);
    EXPECT_EQ(chart->group, roots().eventGroup);
    ASSERT_EQ(roots().eventGroup->getNumChildren(), 2);
    EXPECT_EQ(roots().eventGroup->getChild(1)->getName(), "bar0Event");
    EXPECT_EQ(chart->event.getNode(), chart->part.getSwitchNode());
    EXPECT_EQ(chart->part.isBuilt(), 1);

    scene().setFrame(5);
    EXPECT_EQ(chart->event.getNode()->getVal(), sgSwitch::SG_SWITCH_OFF);
    EXPECT_EQ(chart->lastFrame, -1);
    scene().setFrame(15);
    EXPECT_EQ(chart->event.getNode()->getVal(), sgSwitch::SG_SWITCH_ON);
    EXPECT_EQ(chart->lastFrame, 15);
    EXPECT_FLOAT_EQ(chart->lastT, 0.5f);
    EXPECT_EQ(chart->lastPart, &chart->part);
    EXPECT_EQ(chart->lastEffect, &chart->effect);
    scene().resetAnimation();
    EXPECT_EQ(chart->lastFrame, 20);
    EXPECT_FLOAT_EQ(chart->lastT, 1.0f);
    EXPECT_EQ(scene().getLastEventFrame(), 70);

    EXPECT_EQ(scene().removeEventFromScene(scene().findEvent("showChart")), 1);
    EXPECT_TRUE(chart->removedEvent);
    EXPECT_EQ(chart->partsDeleted, 1);
    EXPECT_EQ(roots().eventGroup->getNumChildren(), 0);
}

TEST(PlayFraction, FollowsTheDocumentedOrder) {
    EXPECT_EQ(pnScene::playFraction(25, 10, 20), 0.0f);
    EXPECT_EQ(pnScene::playFraction(20, 10, 20), 1.0f);
    EXPECT_EQ(pnScene::playFraction(7, 7, 7), 1.0f);
    EXPECT_EQ(pnScene::playFraction(10, 10, 20), 0.0f);
    EXPECT_FLOAT_EQ(pnScene::playFraction(12, 10, 20), 0.2f);
}
