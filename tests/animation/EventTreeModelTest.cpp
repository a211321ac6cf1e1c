// The event tree and the grow/shrink times without a window, on scene files:
// items and kinds, drop classes, copy spans, re-parenting, renaming, the event
// order, effect copies and deletes, and the grow/shrink bars' limits.
#include "charts/pnChart.h"
#include "charts/pnChartRead.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "ui/animation/CEventTreeModel.h"
#include "ui/animation/CGrowShrinkModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string fixture(const char* name) {
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    return std::string(src ? src : ".") + "/tests/animation/" + name;
}

class EventTreeModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pnSceneLoader().readFile(scene, fixture("eventtree.apn")), 1);
        model.Build(&scene);
    }
    int item(const std::string& event) { return model.FindEvent(event); }
    // The n-th child of an item.
    int child(int id, int n) { return model.Item(id).children[static_cast<size_t>(n)]; }
    std::vector<std::string> eventNames() {
        std::vector<std::string> names;
        for (int i = 0; i < scene.getNumEvents(); ++i) names.push_back(scene.getEvent(i)->getName());
        return names;
    }
    pnScene scene;
    CEventTreeModel model;
};

}  // namespace

TEST_F(EventTreeModelTest, ItemsKindsAndNesting) {
    // Roots in list order without the children; C under A, D under C, after the two first items.
    std::vector<std::string> roots;
    for (int r : model.Roots()) roots.push_back(model.Text(r));
    EXPECT_EQ(roots, (std::vector<std::string>{"Camera", "L0", "L1", "L2", "L3", "A", "B"}));
    const int a = item("A"), c = item("C"), d = item("D");
    ASSERT_EQ(model.Parent(c), a);
    ASSERT_EQ(model.Parent(d), c);
    EXPECT_EQ(child(a, 2), c);
    const int folder = child(a, 1);
    struct Case {
        int id;
        int kind, eventItem, effectIndex;
        std::string text;
    } cases[] = {
        {a, CEventTreeModel::kEvent, a, 0, "A"},
        {child(a, 0), CEventTreeModel::kOther, a, 0, "A"},
        {folder, CEventTreeModel::kOther, a, 0, "EFFECT"},
        {child(folder, 0), CEventTreeModel::kEffect, a, 1, "e1"},
        {child(folder, 2), CEventTreeModel::kEffect, a, 3, "e1"},
        {c, CEventTreeModel::kEvent, c, 0, "C"},
        {child(child(c, 1), 0), CEventTreeModel::kEffect, c, 1, "e1"},
        {d, CEventTreeModel::kEvent, d, 0, "D"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text + " " + std::to_string(k.id));
        EXPECT_EQ(model.Text(k.id), k.text);
        EXPECT_EQ(model.KindOf(k.id), k.kind);
        EXPECT_EQ(model.EventItemOf(k.id), k.eventItem);
        EXPECT_EQ(model.EffectIndex(k.id), k.effectIndex);
    }
}

TEST_F(EventTreeModelTest, DropClassesAndCycles) {
    const int a = item("A"), b = item("B"), d = item("D");
    const int aEffect = child(child(a, 1), 0);
    const std::string fifth = scene.getEvent(4)->getName();
    struct Case {
        int dragged, target, expected;
    } cases[] = {
        {aEffect, child(b, 1), 0},  // an effect on a folder
        {aEffect, child(child(b, 1), 0), 2},  // on an effect
        {aEffect, b, -1},
        {aEffect, child(b, 0), -1},
        {b, a, 1},  // an event on a root event
        {b, d, 1},  // on a child event
        {b, child(a, 1), 1},  // on a folder
        {b, child(d, 0), 0},  // on an object item
        {b, item("L3"), 1},  // the fifth event's name
        {b, aEffect, -1},
        {child(a, 1), b, -1},  // folders and object items do not drag
    };
    for (const Case& k : cases) EXPECT_EQ(model.DropClass(k.dragged, k.target, fifth), k.expected) << k.dragged << "->" << k.target;
    // A dropped on its own items or below itself: the tree and the scene refuse it.
    EXPECT_TRUE(model.Contains(a, child(d, 0)));
    EXPECT_FALSE(CanReparent(scene, "A", "D"));
    EXPECT_FALSE(CanReparent(scene, "A", "A"));
    EXPECT_FALSE(CanReparent(scene, "B", "Camera"));
    EXPECT_FALSE(CanReparent(scene, "L1", "B"));
    ASSERT_TRUE(CanReparent(scene, "B", "D"));
    ASSERT_EQ(SetEventParent(scene, "B", "D"), 1);
    EXPECT_EQ(scene.findEvent("B")->getParent(), "D");
    EXPECT_EQ(scene.findEvent("D")->getChildName(0), std::string("B"));
    EXPECT_FALSE(CanReparent(scene, "C", "B")) << "B now hangs below C";
    ASSERT_EQ(SetEventParent(scene, "B", ""), 1);
    EXPECT_EQ(scene.findEvent("B")->getHasParent(), 0);
    EXPECT_EQ(scene.findEvent("D")->getNumChildNames(), 0);
}

TEST_F(EventTreeModelTest, CopySpans) {
    const pnEvent& a = *scene.findEvent("A");  // e1 0..20, e2 30..45, e1 60..70
    const pnEvent& b = *scene.findEvent("B");  // e2 5..8
    const pnEvent& empty = *scene.findEvent("D");
    struct Case {
        const pnEvent* target;
        int dropIndex, length, start, span;
    } cases[] = {
        {&empty, 0, 21, 0, 21},  // a folder without plays takes all of it
        {&b, 0, 21, 0, 6},  // before the first play: its start, one more at frame 0
        {&a, 1, 21, 20, 10},  // after play 1, up to play 2
        {&a, 1, 5, 20, 5},  // cut to the copied length
        {&a, 3, 21, 70, 21},  // after the last play: unbounded
        {&a, 0, 21, 0, 1},  // play 1 starts at 0: one frame only
        {&a, 9, 21, 0, 0},  // no such play
    };
    for (const Case& k : cases) {
        const CCopySpan s = ComputeCopySpan(*k.target, k.dropIndex, k.length);
        EXPECT_EQ(s.start, k.start) << k.target->getName() << k.dropIndex;
        EXPECT_EQ(s.span, k.span) << k.target->getName() << k.dropIndex;
    }
    // A play over the whole int range (a file's): a copy of it ends within
    // the range, and after it there is no room.
    const long long length = 1LL + INT_MAX;
    pnEvent& whole = *scene.findEvent("D");
    const CCopySpan into = ComputeCopySpan(whole, 0, length);
    EXPECT_EQ(into.span, INT_MAX);
    whole.addPlay("e1", 0, INT_MAX, 1);
    const CCopySpan after = ComputeCopySpan(whole, 1, length);
    EXPECT_EQ(after.start, INT_MAX);
    EXPECT_EQ(after.span, 1) << "one frame cannot take the copy";
}

TEST_F(EventTreeModelTest, RenameRefusalsAndPropagation) {
    struct Case {
        std::string from, to, refusal;
    } cases[] = {
        {"Camera", "X", kRefusedQuietly}, {"L2", "X", kRefusedQuietly}, {"C", "", kRefusedQuietly},
        {"C", "C", kRefusedQuietly},      {"C", "B", "\"B\" is alreay used."},
        {"C", "L0", "\"L0\" is alreay used."},  // a light's event has no object
    };
    for (const Case& k : cases) {
        std::string to = k.to;
        EXPECT_EQ(CheckEventRename(scene, k.from, to), k.refusal) << k.from << "->" << k.to;
        EXPECT_EQ(RenameEvent(scene, k.from, k.to), 0);
    }
    std::string longName(200, 'n');
    EXPECT_EQ(CheckEventRename(scene, "B", longName), "");
    EXPECT_EQ(longName.size(), 127u);

    ASSERT_EQ(RenameEvent(scene, "C", "Z"), 1);
    const pnEvent* z = scene.findEvent("Z");
    ASSERT_TRUE(z);
    EXPECT_FALSE(scene.findEvent("C"));
    EXPECT_TRUE(scene.findObject("Z"));
    EXPECT_FALSE(scene.findObject("C"));
    EXPECT_EQ(std::string(z->getObjectName(0)), "Z");
    EXPECT_EQ(scene.findEvent("D")->getParent(), "Z");
    EXPECT_EQ(std::string(scene.findEvent("A")->getChildName(0)), "Z");
    EXPECT_EQ(std::string(z->getChildName(0)), "D");
}

TEST_F(EventTreeModelTest, EventOrderWithNestedChildren) {
    // D (child of C) stands before its parent in the file; the tree's order puts it after.
    model.MoveUnder(item("B"), item("D"));
    EXPECT_EQ(model.EventOrder(),
              (std::vector<std::string>{"Camera", "L0", "L1", "L2", "L3", "A", "C", "D", "B"}));
    ASSERT_EQ(model.ApplyEventOrder(&scene), 1);
    EXPECT_EQ(eventNames(), (std::vector<std::string>{"Camera", "L0", "L1", "L2", "L3", "A", "C", "D", "B"}));
    EXPECT_EQ(model.ApplyEventOrder(nullptr), 0);
    // Moving an item under itself or below itself changes nothing.
    model.MoveUnder(item("A"), item("D"));
    EXPECT_EQ(model.Parent(item("A")), -1);
}

TEST_F(EventTreeModelTest, EffectCopiesDeletesAndAutoScroll) {
    auto copy = CopyEffectParts(*scene.findEffect("e1"), "e1001");
    EXPECT_EQ(copy->getName(), "e1001");
    EXPECT_EQ(copy->getFlag(pnEffect::TRANS_FLAG), 1);
    EXPECT_FLOAT_EQ(copy->getTrans()[0], 5.0f);
    EXPECT_EQ(copy->getColor(), "red");
    EXPECT_EQ(copy->getFlag(pnEffect::SCALE_FLAG), 0);
    auto second = CopyEffectParts(*scene.findEffect("e2"), "e2001");
    EXPECT_EQ(second->getFlag(pnEffect::COLOR_FLAG), 0) << "a copy of an effect without colour has none";
    EXPECT_EQ(second->getFlag(pnEffect::ROTANGLE_FLAG), 1);
    EXPECT_FLOAT_EQ(second->getScale()[1], 2.0f);

    const std::vector<std::pair<std::string, int>> uses = {{"e1", 0}, {"e2", 2}, {"free", 0}};
    EXPECT_EQ(CheckEffectDelete(scene, uses, "e1"), "\"e1\" is being used by an event.") << "played, count or not";
    EXPECT_EQ(CheckEffectDelete(scene, uses, "e2"), "\"e2\" is being used by an event.");
    EXPECT_EQ(CheckEffectDelete(scene, uses, "free"), "");
    EXPECT_EQ(CheckEffectDelete(scene, uses, "unknown"), "Delete Error");

    struct Case {
        int y, tick, expected;
    } cases[] = {{50, 6, 0}, {5, 6, -1}, {5, 5, 0}, {195, 12, 1}, {-45, 4, -1}, {-45, 3, 0}, {-200, 1, -1}, {330, 1, 1}};
    for (const Case& k : cases) EXPECT_EQ(AutoScrollDirection(k.y, 200, k.tick), k.expected) << k.y << "@" << k.tick;
}

// ---- grow and shrink ----

class GrowShrinkModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        installChartKinds();
        ASSERT_EQ(pnSceneLoader().readFile(scene, fixture("growshrink.apn")), 1);
        chart = static_cast<pnChart*>(scene.findObject("bars"));
        ASSERT_TRUE(chart);
        ASSERT_TRUE(model.Load(chart, 21, 11));
    }
    pnScene scene;
    pnChart* chart = nullptr;
    CGrowShrinkModel model;
};

TEST_F(GrowShrinkModelTest, AddBarsLimitsAndTypedTimes) {
    EXPECT_EQ(model.Title(), "[ bars ] - Grow / Shrink Time Setting");
    EXPECT_EQ(model.RowState(0), 0);
    EXPECT_TRUE(model.CanAddGrow());
    EXPECT_FALSE(model.CanAddShrink());
    // Nothing to change on a row without a grow bar.
    model.TypeEnd(15);
    EXPECT_FALSE(model.MoveBar(0, CGrowShrinkModel::kGrow, 5));
    EXPECT_EQ(chart->getDataPtEndTime(0), 0);
    EXPECT_FALSE(model.Changed());

    model.AddGrow();
    EXPECT_EQ(chart->getDataPtStartTime(0), 0);
    EXPECT_EQ(chart->getDataPtEndTime(0), 20);
    model.AddShrink();
    EXPECT_EQ(model.CurrentKind(), CGrowShrinkModel::kShrink);
    EXPECT_EQ(chart->getDataPtShrinkStart(0), 41);
    EXPECT_EQ(chart->getDataPtShrinkEnd(0), 51);
    EXPECT_TRUE(model.CanRemove() && !model.CanAddGrow() && !model.CanAddShrink());

    struct Case {
        const char* what;
        int kind, mode, d;
        bool accepted;
    } cases[] = {
        {"grow end past the shrink start", CGrowShrinkModel::kGrow, 2, 25, false},
        {"grow end up to the shrink start", CGrowShrinkModel::kGrow, 2, 21, true},
        {"grow start below 0", CGrowShrinkModel::kGrow, 0, -1, false},
        {"grow bar past the shrink start", CGrowShrinkModel::kGrow, 1, 1, false},
        {"shrink start before the grow end", CGrowShrinkModel::kShrink, 0, -1, false},
        {"shrink start after its end", CGrowShrinkModel::kShrink, 0, 11, false},
        {"shrink end far on", CGrowShrinkModel::kShrink, 2, 400, true},
        {"shrink end past the last frame", CGrowShrinkModel::kShrink, 2, 2000000000, false},
    };
    for (const Case& k : cases) {
        model.SetCurrent(0, k.kind);
        EXPECT_EQ(model.Drag(k.mode, k.d), k.accepted) << k.what;
    }
    EXPECT_EQ(chart->getDataPtEndTime(0), 41);
    EXPECT_EQ(model.LargestEnd(), 451);
    EXPECT_EQ(model.FrameScrollMaximum(), 451);
    // A typed start past the end is refused and the old values stay.
    model.SetCurrent(0, CGrowShrinkModel::kGrow);
    model.TypeStart(50, false);
    EXPECT_EQ(model.Start(), 0);
    EXPECT_EQ(model.End(), 41);
    model.TypeDuration(11);
    EXPECT_EQ(model.End(), 10);
    model.TypeStart(4, true);
    EXPECT_EQ(model.Start(), 4);
    EXPECT_EQ(model.End(), 14);
    // Typed times stay within the frames the editors take (0..99,999).
    model.SetCurrent(0, CGrowShrinkModel::kShrink);
    for (int typed : {100000, 2147483647}) {
        model.TypeEnd(typed);
        model.TypeDuration(typed);
    }
    EXPECT_EQ(model.End(), 451);
    model.TypeEnd(99999);
    EXPECT_EQ(model.End(), 99999);
    model.SetCurrent(0, CGrowShrinkModel::kGrow);
    // -- on the grow bar removes both bars.
    model.Remove();
    EXPECT_EQ(model.RowState(0), 0);
    EXPECT_EQ(chart->getDataPtShrinkEnd(0), -1);
    EXPECT_EQ(chart->getDataPtEndTime(0), 0);
}

// Times a file put past 99,999 come back down by a drag or a typed time;
// they never go further up.
TEST_F(GrowShrinkModelTest, TimesPastTheLastFrameComeBackDownOnly) {
    ASSERT_EQ(chart->setDataPtStartTime(3, 200000), 1);
    ASSERT_EQ(chart->setDataPtEndTime(3, 300000), 1);
    ASSERT_TRUE(model.Load(chart, 21, 11));
    model.SetCurrent(3, CGrowShrinkModel::kGrow);
    const struct {
        int mode, d;
        bool accepted;
        int start, end;
    } steps[] = {
        {0, -1, true, 199999, 300000}, {2, -1, true, 199999, 299999}, {1, -1, true, 199998, 299998},
        {1, 1, false, 199998, 299998}, {2, 1, false, 199998, 299998}, {0, 1, false, 199998, 299998},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(model.Drag(s.mode, s.d), s.accepted) << s.mode << " by " << s.d;
        EXPECT_EQ(chart->getDataPtStartTime(3), s.start);
        EXPECT_EQ(chart->getDataPtEndTime(3), s.end);
    }
    EXPECT_EQ(model.Duration(), 100001);
    model.TypeStart(10, false);
    model.TypeEnd(50);
    EXPECT_EQ(chart->getDataPtStartTime(3), 10);
    EXPECT_EQ(chart->getDataPtEndTime(3), 50);
}

TEST_F(GrowShrinkModelTest, AlignmentsRowsAndEmptyChart) {
    // Three grow bars of three points: Lj gives each the start of the one selected last.
    model.ToggleSelection(2, CGrowShrinkModel::kGrow);  // 10..30
    model.ToggleSelection(3, CGrowShrinkModel::kGrow);  // 15..35
    EXPECT_TRUE(model.AlignEnabled(CGrowShrinkModel::kLj));
    model.ToggleSelection(5, CGrowShrinkModel::kGrow);  // 25..45
    model.Align(CGrowShrinkModel::kLj);
    for (int p : {2, 3, 5}) {
        EXPECT_EQ(chart->getDataPtStartTime(p), 25) << p;
        EXPECT_EQ(chart->getDataPtEndTime(p), 45) << p;
    }
    // Both bars of one point with another: only "Ew".
    model.ClearSelection();
    model.ToggleSelection(1, CGrowShrinkModel::kGrow);
    model.ToggleSelection(1, CGrowShrinkModel::kShrink);
    model.ToggleSelection(4, CGrowShrinkModel::kGrow);
    for (int id : CGrowShrinkModel::kAlignButtons)
        EXPECT_EQ(model.AlignEnabled(id), id == CGrowShrinkModel::kEw) << id;
    model.ToggleSelection(4, CGrowShrinkModel::kGrow);
    model.ToggleSelection(1, CGrowShrinkModel::kShrink);
    EXPECT_FALSE(model.AlignEnabled(CGrowShrinkModel::kEw)) << "one bar left";
    model.ToggleSelection(0, CGrowShrinkModel::kGrow);  // a bar that does not exist
    EXPECT_EQ(model.Selection().size(), 1u);

    // Eight points: rows 1 to 5, then 4 to 8.
    EXPECT_EQ(model.RowLabel(0), "1");
    EXPECT_EQ(model.RowLabel(4), "5");
    model.ScrollRowsTo(3);
    EXPECT_EQ(model.RowLabel(0), "4");
    EXPECT_EQ(model.RowLabel(4), "8");
    model.ScrollRowsTo(10);
    EXPECT_EQ(model.TopRow(), 3);

    CGrowShrinkModel empty;
    ASSERT_TRUE(empty.Load(static_cast<pnChart*>(scene.findObject("empty")), 21, 11));
    EXPECT_EQ(empty.RowCount(), 0);
    EXPECT_FALSE(empty.CanAddGrow() || empty.CanAddShrink() || empty.CanRemove());
    empty.AddGrow();
    empty.TypeEnd(5);
    EXPECT_EQ(empty.RowLabel(0), "");
}

// Renaming an event that is not named after its object renamed nothing of
// the object but pointed the event at a name no object has: the object was
// cut off from its event. Only an object that bears the event's name follows.
TEST_F(EventTreeModelTest, RenamingAnEventNamedOtherwiseKeepsItsObject) {
    pnEvent* moves = scene.findEvent("B");
    ASSERT_NE(moves, nullptr);
    // B shows the object A, not the object named B.
    moves->setObjectName("A");
    bool objectRenamed = true;
    ASSERT_EQ(RenameEvent(scene, "B", "Slide", &objectRenamed), 1);
    EXPECT_FALSE(objectRenamed);
    ASSERT_NE(scene.findEvent("Slide"), nullptr);
    EXPECT_EQ(std::string(scene.findEvent("Slide")->getObjectName(0)), "A");
    EXPECT_TRUE(scene.findObject("A"));
    // Named after its object, both go together, and so does every event that
    // shows the object.
    ASSERT_EQ(RenameEvent(scene, "A", "Lead", &objectRenamed), 1);
    EXPECT_TRUE(objectRenamed);
    EXPECT_TRUE(scene.findObject("Lead"));
    EXPECT_EQ(std::string(scene.findEvent("Lead")->getObjectName(0)), "Lead");
    EXPECT_EQ(std::string(scene.findEvent("Slide")->getObjectName(0)), "Lead");
}
