// Effects with their motion path, events with their plays and names.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "tests/support/TextCapture.h"
#include "tests/support/VecCheck.h"

namespace {

// "P 0-20" style summary of an event's plays.
std::string playsOf(const pnEvent& e) {
    std::string s;
    for (int i = 0; i < e.getNumPlays(); ++i) {
        const pnEventPlay* p = e.getPlay(i);
        if (!s.empty()) s += ", ";
        s += p->effect + " " + std::to_string(p->start) + "-" + std::to_string(p->end);
    }
    return s;
}
}  // namespace

TEST(Effect, DefaultsAndFlagsByIndex) {
    pnEffect e;
    expectVec(e.getPivotAxis(), 0, 1, -1, 1e-5f);
    expectVec(e.getScale(), 1, 1, 1, 1e-5f);
    EXPECT_EQ(e.getNumPathPoints(), 1);
    for (int i = 0; i < e.getNumFlags(); ++i) EXPECT_EQ(e.getFlag(i), 0);

    e.setTrans(1, 2, 3);
    e.setRotAngle(90);
    e.setScale(2, 2, 2);
    e.setPivotAngle(10);
    e.setPivotAxisXYZ(1, 0, 0);
    e.setColor("red");
    e.setCenter(5, 5, 5);
    const int expected[13] = {1, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(e.getFlag(i), expected[i]) << i;
    EXPECT_EQ(e.getFlag(13), 0);
    EXPECT_EQ(e.getFlag(-1), 0);

    e.setColor("");
    EXPECT_EQ(e.getFlag(pnEffect::COLOR_FLAG), 0);
    e.setGrow(4, 5, 6);
    e.setShrink(1, 2, 3);
    EXPECT_EQ(e.getGrowShrink(0), 1);
    EXPECT_EQ(e.getGrowShrink(2), 3);
    EXPECT_EQ(e.getFlag(pnEffect::GROW_FLAG), 1);
    EXPECT_EQ(e.getFlag(pnEffect::SHRINK_FLAG), 1);
    e.enableGrow(0);
    EXPECT_EQ(e.getFlag(pnEffect::GROW_FLAG), 0);
    e.clearFlags();
    EXPECT_EQ(e.getFlag(pnEffect::TRANS_FLAG), 0);
}

TEST(Effect, AxesAreNormalisedOrRefused) {
    DiagnosticLog diag;
    pnEffect e;
    e.setRotAxis(0, 2, 0);
    expectVec(e.getRotAxis(), 0, 1, 0, 1e-5f);
    EXPECT_EQ(e.getFlag(pnEffect::ROTAXIS_FLAG), 1);
    e.setRotAxis(3, 0, 4);
    expectVec(e.getRotAxis(), 0.6f, 0, 0.8f, 1e-5f);
    diag.take();

    e.setRotAxis(0, 0, 0);
    expectVec(e.getRotAxis(), 0.6f, 0, 0.8f, 1e-5f);
    EXPECT_EQ(diag.take(), "TORVIS: [pnEffect::setRotAxis] zero rotation axis\n\n");
    e.setRotAxis(std::numeric_limits<float>::quiet_NaN(), 1, 0);
    expectVec(e.getRotAxis(), 0.6f, 0, 0.8f, 1e-5f);
    EXPECT_EQ(diag.take(), "TORVIS: [pnEffect::setRotAxis] zero rotation axis\n\n");

    pnEffect f;
    f.setPivotAxisXYZ(0, 0, 0);
    EXPECT_EQ(diag.take(),
              "TORVIS: [pnObject::setPivotAxis]  one of axis component should not be 0\n\n");
    EXPECT_EQ(f.getFlag(pnEffect::PIVOTAXIS_FLAG), 0);
    expectVec(f.getPivotAxis(), 0, 1, -1, 1e-5f);
}

TEST(EffectPath, BezierPointsAndEasing) {
    pnEffect e;
    EXPECT_EQ(e.addBezierPoint(10, 0, 0), 1);
    EXPECT_EQ(e.addBezierPoint(20, 0, 0), 1);
    EXPECT_EQ(e.addBezierPoint(30, 0, 0), 1);
    EXPECT_EQ(e.addBezierPoint(40, 0, 0), 0);
    EXPECT_EQ(e.getNumPathPoints(), 4);
    // Evenly spaced control points and linear timing: the path is linear.
    expectVec(e.getBezierPoint(0.5f), 15, 0, 0, 1e-5f);
    expectVec(e.getBezierPoint(0.0f), 0, 0, 0, 1e-5f);
    expectVec(e.getBezierPoint(1.0f), 30, 0, 0, 1e-5f);
    // Bad parameters stay on the path.
    sgVec3 p = e.getBezierPoint(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isfinite(p[0]));
    expectVec(e.getBezierPoint(7.0f), 30, 0, 0, 1e-5f);

    pnEffectPath path;
    path.setEaseOut(50);
    EXPECT_NEAR(path.timing[1], 1.0 / 3.0, 1e-12);
    path.setEaseOut(20);
    EXPECT_NEAR(path.timing[1], 0.2 * (4 * 0.2 / 15 + 8.0 / 15), 1e-12);
    double before[4] = {path.timing[0], path.timing[1], path.timing[2], path.timing[3]};
    path.setEaseOut(4);
    path.setEaseOut(96);
    path.setEaseIn(4);
    path.setEaseIn(96);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(path.timing[i], before[i]);
    path.setEaseIn(50);
    EXPECT_NEAR(path.timing[2], 2.0 / 3.0, 1e-12);
    path.setEaseIn(95);
    EXPECT_NEAR(path.timing[2], 1.0 - 0.95 * (4 * 0.95 / 15 + 8.0 / 15), 1e-12);
    // A strong ease-out starts the motion later than linear timing.
    pnEffect eased;
    eased.addBezierPoint(10, 0, 0);
    eased.addBezierPoint(20, 0, 0);
    eased.addBezierPoint(30, 0, 0);
    eased.setEaseOut(95);
    EXPECT_GT(eased.getBezierPoint(0.25f)[0], e.getBezierPoint(0.25f)[0]);
}

TEST(Event, AddPlayKeepsOrderAndTrimsNeighbours) {
    pnEvent e;
    e.addPlay("P", 0, 30, 1);
    e.addPlay("Q", 40, 60, 1);
    e.addPlay("R", 20, 50, 0);
    EXPECT_EQ(playsOf(e), "P 0-20, R 20-50, Q 50-60");
    // Trimmed plays keep their durations and visibility; the new one has its own.
    EXPECT_EQ(e.getPlay(0)->duration, 30);
    EXPECT_EQ(e.getPlay(2)->duration, 20);
    EXPECT_EQ(e.getPlay(1)->visible, 0);
    EXPECT_EQ(e.getPlay(1)->duration, 30);

    pnEvent f;
    f.addPlay("A", 10, 20, 1);
    f.addPlay("B", 10, 15, 1);
    f.addPlay("C", 0, 5, 1);
    f.addPlay("D", 25, 30, 1);
    // B starts with A and goes after it, trimming A to end where B starts.
    EXPECT_EQ(playsOf(f), "C 0-5, A 10-10, B 10-15, D 25-30");
    EXPECT_EQ(f.getStartFrame(), 0);
    EXPECT_EQ(f.getEndFrame(), 30);
    EXPECT_EQ(f.getLastPlayIndex(), 3);

    // A play whose trimmed start passes its end is kept.
    pnEvent g;
    g.addPlay("short", 10, 12, 1);
    g.addPlay("long", 0, 20, 1);
    EXPECT_EQ(playsOf(g), "long 0-20, short 20-12");
}

TEST(Event, PlayLookUpAndEditing) {
    pnEvent e;
    EXPECT_EQ(e.getLastPlayIndex(), -1);
    EXPECT_EQ(e.getStartFrame(), 0);
    EXPECT_EQ(e.getEndFrame(), 0);
    e.addPlay("in", 0, 10, 1);
    e.addPlay("out", 20, 30, 0);
    EXPECT_EQ(e.getPlayAtFrame(15), nullptr);
    EXPECT_EQ(e.getPlayAtFrame(10), e.getPlay(0));
    EXPECT_EQ(e.getPlayAtFrame(20), e.getPlay(1));
    EXPECT_EQ(e.getPlayAtFrame(-1), nullptr);
    EXPECT_EQ(e.getPlayAtFrame(31), nullptr);
    EXPECT_EQ(e.getPlay(2), nullptr);
    EXPECT_EQ(e.getPlay(-1), nullptr);

    EXPECT_EQ(e.setPlayEffect(0, ""), 0);
    EXPECT_EQ(e.setPlayEffect(5, "x"), 0);
    EXPECT_EQ(e.setPlayEffect(0, "fade"), 1);
    EXPECT_EQ(e.setPlayTime(1, 25, 35), 1);
    EXPECT_EQ(e.getPlay(1)->duration, 10);
    EXPECT_EQ(e.setPlayVisible(1, 1), 1);
    EXPECT_EQ(e.setPlayTime(2, 0, 1), 0);
    EXPECT_EQ(e.removePlay("in"), 0);
    EXPECT_EQ(e.removePlay(""), 0);
    EXPECT_EQ(e.removePlay("fade"), 1);
    EXPECT_EQ(playsOf(e), "out 25-35");
    EXPECT_EQ(e.removePlayAt(1), 0);
    EXPECT_EQ(e.removePlayAt(0), 1);
    EXPECT_EQ(e.getNumPlays(), 0);
}

TEST(Event, ObjectAndChildNames) {
    DiagnosticLog diag;
    pnEvent e;
    e.setName("box");
    EXPECT_EQ(e.addObjectName(""), 0);
    EXPECT_EQ(e.addObjectName("box"), 1);
    EXPECT_EQ(e.addObjectName("lid"), 1);
    EXPECT_EQ(e.addObjectName("box"), 0);
    EXPECT_EQ(diag.take(), "TORVIS: [pnEvent::addObjectName] duplicate object name\n\n");
    EXPECT_EQ(e.getNumObjectNames(), 2);
    EXPECT_STREQ(e.getObjectName(1), "lid");
    EXPECT_EQ(e.getObjectName(2), nullptr);

    EXPECT_EQ(e.setObjectName(""), 0);
    EXPECT_EQ(e.setObjectName("crate"), 1);
    EXPECT_STREQ(e.getObjectName(0), "crate");
    EXPECT_EQ(e.getNumObjectNames(), 2);
    pnEvent fresh;
    EXPECT_EQ(fresh.setObjectName("solo"), 1);
    EXPECT_EQ(fresh.getNumObjectNames(), 1);
    EXPECT_STREQ(fresh.getObjectName(0), "solo");

    // A name past the limit matches the object it names (cut the same way).
    std::string longName(200, 'o');
    EXPECT_EQ(fresh.addObjectName(longName.c_str()), 1);
    EXPECT_EQ(std::string(fresh.getObjectName(1)), std::string(127, 'o'));
    EXPECT_EQ(fresh.addObjectName((longName + "tail").c_str()), 0);
    diag.take();

    EXPECT_EQ(e.addChildName("a"), 1);
    EXPECT_EQ(e.addChildName("b"), 1);
    EXPECT_EQ(e.addChildName("c"), 1);
    EXPECT_EQ(e.addChildName("b"), 0);
    EXPECT_EQ(diag.take(), "TORVIS: [pnEvent::addChildName] duplicate object name\n\n");
    EXPECT_EQ(e.removeChildName("b"), 1);
    EXPECT_EQ(e.removeChildName("b"), 0);
    EXPECT_EQ(e.removeChildName(""), 0);
    EXPECT_STREQ(e.getChildName(1), "c");
    EXPECT_EQ(e.getChildName(2), nullptr);
    EXPECT_EQ(e.getChildName(-1), nullptr);
}

TEST(Event, SetParentMovesBetweenParentsChildLists) {
    pnScene scene;
    auto* a = new pnEvent;
    auto* b = new pnEvent;
    auto* c = new pnEvent;
    a->setName("a");
    b->setName("b");
    c->setName("c");
    ASSERT_EQ(scene.addEvent(a), 1);
    ASSERT_EQ(scene.addEvent(b), 1);
    ASSERT_EQ(scene.addEvent(c), 1);

    c->setParent("a");
    EXPECT_EQ(c->getHasParent(), 1);
    EXPECT_EQ(c->getParent(), "a");
    ASSERT_EQ(a->getNumChildNames(), 1);
    EXPECT_STREQ(a->getChildName(0), "c");
    c->setParent("b");
    EXPECT_EQ(a->getNumChildNames(), 0);
    EXPECT_STREQ(b->getChildName(0), "c");
    c->setParent("");
    EXPECT_EQ(c->getHasParent(), 0);
    EXPECT_EQ(b->getNumChildNames(), 0);
    // An event never becomes its own parent.
    c->setParent("c");
    EXPECT_EQ(c->getHasParent(), 0);
    EXPECT_EQ(c->getNumChildNames(), 0);
    // Without a scene only the event's own fields change.
    pnEvent loose;
    loose.setParent("");
    EXPECT_EQ(loose.getHasParent(), 0);
    loose.setParent("x");
    EXPECT_EQ(loose.getParent(), "x");
}

TEST(Event, CopiesAndRunTimeState) {
    pnEvent src;
    src.setName("src");
    src.addObjectName("obj");
    src.addChildName("kid");
    src.setParent("mum");
    src.setRepeat(3);
    src.setDelay(2);
    src.setDisappear(40);
    src.addPlay("move", 0, 10, 1);
    src.setAccTrans(sgVec3(1, 2, 3));

    pnEvent dst;
    dst.setName("dst");
    dst.setAccScale(sgVec3(5, 5, 5));
    EXPECT_EQ(dst.copy(&src), 1);
    EXPECT_EQ(dst.getName(), "dst");
    EXPECT_EQ(dst.getParent(), "mum");
    EXPECT_EQ(dst.getHasParent(), 1);
    EXPECT_STREQ(dst.getChildName(0), "kid");
    EXPECT_STREQ(dst.getObjectName(0), "obj");
    EXPECT_EQ(dst.getRepeat(), 3);
    EXPECT_EQ(dst.getDisappear(), 40);
    EXPECT_EQ(dst.getNode(), nullptr);
    expectVec(dst.getAccScale(), 1, 1, 1, 1e-5f);
    expectVec(dst.getAccTrans(), 0, 0, 0, 1e-5f);
    // The plays are the copy's own.
    src.getPlay(0)->end = 99;
    EXPECT_EQ(dst.getPlay(0)->end, 10);

    pnEvent partial;
    partial.copyPlaysAndObjects(&src);
    EXPECT_EQ(partial.getParent(), "");
    EXPECT_EQ(partial.getNumChildNames(), 0);
    EXPECT_EQ(partial.getNumPlays(), 1);
    EXPECT_EQ(dst.copy(nullptr), 0);

    pnMaterial fade;
    pnMaterial* colour = &fade;
    dst.setColorMaterial(colour);
    dst.setBaseMaterial(colour);
    sgMatrix m;
    m.translate(1, 2, 3);
    dst.setAccMatrix(m);
    dst.resetState();
    EXPECT_EQ(dst.getBaseMaterial(), nullptr);
    EXPECT_EQ(dst.getColorMaterial(), colour);
    EXPECT_FLOAT_EQ(dst.getAccMatrix()[12], 0.0f);
}
