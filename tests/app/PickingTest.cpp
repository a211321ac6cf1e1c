// Picking, the selection and mouse manipulation in object mode: the view is
// driven headless with window coordinates, picking through the scene's
// selection mode in the OSMesa context.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "tests/app/ViewFixture.h"
#include "ui/properties/rules/CTextureWindowModel.h"

#include <cmath>
#include <functional>

namespace {

// A corner of the window where nothing is drawn.
constexpr int kEmptyX = 8, kEmptyY = 8;

class PickingTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
        left = addPanel("left", -150.0f);
        right = addPanel("right", 150.0f);
        draw();
        leftAt = pointOn("left");
        rightAt = pointOn("right");
        ASSERT_GE(leftAt.first, 0) << "the left panel is on screen";
        ASSERT_GE(rightAt.first, 0) << "the right panel is on screen";
    }
    pnPanel* addPanel(const std::string& name, float x) {
        auto* panel = new pnPanel;
        panel->setName(name.c_str());
        panel->setMaterial("Color18");
        panel->setDimension(120, 120, 10);
        panel->setPosition(x, 0, 0);
        EXPECT_TRUE(scene().addObject(panel));
        auto* event = new pnEvent;
        event->setName(name.c_str());
        event->addObjectName(name.c_str());
        EXPECT_TRUE(scene().addEvent(event));
        scene().addObjectsToScene(event);
        return panel;
    }
    // A window point that picks the object: found along the middle row.
    std::pair<int, int> pointOn(const std::string& name) {
        const int y = kDefaultSceneHeight / 2;
        for (int x = 0; x < kDefaultSceneWidth; x += 5) {
            pnObject* chart = nullptr;
            pnObject* hit = scene().pickObject(sceneChannel, x, y, 4, 4, &chart);
            if (hit && hit->getName() == name) return {x + 10, y};
        }
        return {-1, -1};
    }
    void click(std::pair<int, int> at, int mods = 0) { view->OnLButtonDown(at.first, at.second, mods); }
    // Press, one move by (dx, dy) in window pixels, release.
    void drag(std::pair<int, int> from, int dx, int dy, int mods = 0) {
        view->OnLButtonDown(from.first, from.second, mods);
        view->OnMouseMove(from.first + dx, from.second + dy, mods);
        view->OnLButtonUp(from.first + dx, from.second + dy, mods);
    }
    int steps() const { return doc->GetUndoHistory().GetCount(); }
    void selectLeft() {
        click(leftAt);
        view->OnLButtonUp(leftAt.first, leftAt.second, 0);
        ASSERT_EQ(doc->m_pSelectedObject, left);
    }

    RecordingFrame frame;
    pnPanel* left = nullptr;
    pnPanel* right = nullptr;
    std::pair<int, int> leftAt, rightAt;
    const std::pair<int, int> empty{kEmptyX, kEmptyY};
};

}  // namespace

TEST_F(PickingTest, EmptySpaceKeepsTheSelectionAndItsDragMovesIt) {
    selectLeft();
    const int before = steps();
    view->m_bAxisX = 1, view->m_bAxisY = 1, view->m_bAxisZ = 0;
    view->OnLButtonDown(kEmptyX, kEmptyY, 0);
    EXPECT_EQ(doc->m_pSelectedObject, left);
    EXPECT_EQ(view->m_bObjectHit, 0);
    EXPECT_EQ(view->m_bSelectionKept, 1);
    view->OnMouseMove(kEmptyX + 30, kEmptyY - 12, 0);
    view->OnMouseMove(kEmptyX + 50, kEmptyY - 20, 0);
    view->OnLButtonUp(kEmptyX + 50, kEmptyY - 20, 0);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -100.0f);
    EXPECT_FLOAT_EQ(left->getPosition()[1], 20.0f);
    EXPECT_FLOAT_EQ(right->getPosition()[0], 150.0f);
    EXPECT_EQ(steps(), before + 1) << "the whole drag is one step";
    EXPECT_EQ(frame.callsOf("SetTransformPosition").back(), "-100.00,20.00,0.00");
    EXPECT_EQ(host.captures, host.releases) << "each press captures, each release lets go";
    ASSERT_EQ(view->OnEditUndo(), 1);
    pnObject* back = scene().findObject("left");
    EXPECT_FLOAT_EQ(back->getPosition()[0], -150.0f);
    EXPECT_FLOAT_EQ(back->getPosition()[1], 0.0f);
}

TEST_F(PickingTest, TheFirstClickOnAnObjectOnlySelectsIt) {
    selectLeft();
    CTextureWindowModel window(4);
    window.Open(*view, *left);
    window.SetTool(CTextureWindowModel::kMove, true);
    frame.calls.clear();
    const int before = steps();
    drag(rightAt, 40, -25);
    EXPECT_EQ(doc->m_pSelectedObject, right);
    EXPECT_FLOAT_EQ(right->getPosition()[0], 150.0f);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -150.0f);
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(frame.callsOf("SelectObjectListItem"), (std::vector<std::string>{"left,0", "right,1"}));
    EXPECT_EQ(frame.callsOf("SelectObjectChooserName"), std::vector<std::string>{"right"});
    EXPECT_EQ(frame.callsOf("ShowObjectPage"), std::vector<std::string>{"1,1"}) << "the panel page";
    EXPECT_FALSE(window.IsOpen()) << "the old panel's window";
    EXPECT_EQ(view->m_bTexMoveDrag, 0) << "its tool goes with it";

    // The second click on it drags it.
    drag(rightAt, 40, 0);
    EXPECT_FLOAT_EQ(right->getPosition()[0], 190.0f);
    EXPECT_EQ(steps(), before + 1);
}

TEST_F(PickingTest, ADragThatNeverMovesRecordsNoStep) {
    selectLeft();
    const int before = steps();
    view->m_bModified = 0;
    click(leftAt);
    view->OnMouseMove(leftAt.first, leftAt.second, 0);
    view->OnLButtonUp(leftAt.first, leftAt.second, 0);
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -150.0f);
}

TEST_F(PickingTest, DragStepsByModeAndAxes) {
    struct Case {
        const char* what;
        int mode, ax, ay, az, dx, dyUp;
        sgVec3 position, scale;
        float angle;
        sgVec3 axis;
    };
    const sgVec3 start(-150, 0, 0), one(1, 1, 1), none(0, 0, 0);
    const Case cases[] = {
        {"move X", 0, 1, 0, 0, 30, 20, sgVec3(-120, 0, 0), one, 0, none},
        {"move Y", 0, 0, 1, 0, 30, 20, sgVec3(-150, 20, 0), one, 0, none},
        {"move Z", 0, 0, 0, 1, 30, 20, sgVec3(-150, 0, -50), one, 0, none},
        {"scale XYZ is uniform", 1, 1, 1, 1, 30, 20, start, sgVec3(1.5f, 1.5f, 1.5f), 0, none},
        {"scale never below 0", 1, 1, 1, 1, -300, 0, start, sgVec3(0, 0, 0), 0, none},
        {"scale X and Y", 1, 1, 1, 0, 30, -20, start, sgVec3(1.3f, 0.8f, 1), 0, none},
        {"scale Z", 1, 0, 0, 1, 30, 20, start, sgVec3(1, 1, 1.5f), 0, none},
        {"rotate 500 pixels turns 45", 2, 0, 1, 0, 500, 0, start, one, 45, sgVec3(0, 1, 0)},
        {"rotate 90 pixels about -Y", 2, 0, 1, 0, -90, 0, start, one, 90, sgVec3(0, -1, 0)},
        {"rotate down about X", 2, 1, 0, 0, 0, -30, start, one, 30, sgVec3(1, 0, 0)},
        {"rotate up about -X", 2, 1, 0, 0, 0, 30, start, one, 30, sgVec3(-1, 0, 0)},
        {"rotate Z", 2, 0, 0, 1, 40, 0, start, one, 40, sgVec3(0, 0, 1)},
    };
    selectLeft();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        left->setPosition(start);
        left->setScale(1.0f);
        left->setRotAngle(0);
        left->setRotAxis(0, 0, 1);
        view->m_nTransformMode = c.mode;
        view->m_bAxisX = c.ax, view->m_bAxisY = c.ay, view->m_bAxisZ = c.az;
        drag(empty, c.dx, -c.dyUp);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(left->getPosition()[k], c.position[k], 1e-4) << k;
            EXPECT_NEAR(left->getScale()[k], c.scale[k], 1e-5) << k;
        }
        EXPECT_NEAR(left->getRotAngle(), c.angle, 1e-3);
        if (c.angle != 0) {
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(left->getRotAxis()[k], c.axis[k], 1e-4) << k;
        }
    }
    // The angle in whole degrees, as the bar shows it.
    EXPECT_EQ(frame.callsOf("SetTransformRotation").back(), "40,0.000,0.000,1.000");
}

TEST_F(PickingTest, ShiftClickOnTheOnlyMemberEmptiesTheListAndKeepsTheObjectSelected) {
    click(leftAt, KV_MOD_SHIFT);
    EXPECT_EQ(view->m_bShiftClick, 1);
    ASSERT_EQ(doc->m_selectedObjects.size(), 1u);
    EXPECT_EQ(doc->m_pSelectedObject, left);
    // No drag follows a Shift+click.
    view->OnMouseMove(leftAt.first + 30, leftAt.second, KV_MOD_SHIFT);
    view->OnLButtonUp(leftAt.first + 30, leftAt.second, KV_MOD_SHIFT);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -150.0f);

    click(leftAt, KV_MOD_SHIFT);
    view->OnLButtonUp(leftAt.first, leftAt.second, KV_MOD_SHIFT);
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    EXPECT_EQ(doc->m_pSelectedObject, left);
}

TEST_F(PickingTest, MembersDragTogetherAsOneStepAndAClickElsewhereEndsTheList) {
    click(leftAt, KV_MOD_SHIFT);
    click(rightAt, KV_MOD_SHIFT);
    ASSERT_EQ(doc->m_selectedObjects.size(), 2u);
    CCmdUI ui;
    view->OnUpdateCommand(kv::ID_EDIT_UNDO, ui);
    EXPECT_FALSE(ui.enabled) << "no Undo while objects are selected together";
    const int before = steps();
    drag(leftAt, 25, 0);
    EXPECT_EQ(view->m_bMultiDrag, 1);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -125.0f);
    EXPECT_FLOAT_EQ(right->getPosition()[0], 175.0f);
    EXPECT_EQ(steps(), before + 1) << "one drag, one step over both";
    // Empty space: the member added last stays selected, alone.
    click(empty);
    view->OnLButtonUp(kEmptyX, kEmptyY, 0);
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    EXPECT_EQ(view->m_bMultiDrag, 0);
    EXPECT_EQ(doc->m_pSelectedObject, right);
    // Undo puts both back, Redo moves both again.
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[0], -150.0f);
    EXPECT_FLOAT_EQ(scene().findObject("right")->getPosition()[0], 150.0f);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[0], -125.0f);
    EXPECT_FLOAT_EQ(scene().findObject("right")->getPosition()[0], 175.0f);
}

TEST_F(PickingTest, EachNudgeIsOneUndoableStep) {
    selectLeft();
    view->m_bAxisX = 1, view->m_bAxisY = 1;
    const int before = steps();
    EXPECT_TRUE(view->OnKeyDown(KV_KEY_RIGHT, 0));
    EXPECT_TRUE(view->OnKeyDown(KV_KEY_UP, KV_MOD_CTRL));
    EXPECT_FLOAT_EQ(left->getPosition()[0], -140.0f);
    EXPECT_FLOAT_EQ(left->getPosition()[1], 1.0f);
    EXPECT_EQ(steps(), before + 2);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[1], 0.0f);
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[0], -140.0f);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[0], -150.0f);
    ASSERT_EQ(view->OnEditRedo(), 1) << "the press left a complete step";
    EXPECT_FLOAT_EQ(scene().findObject("left")->getPosition()[0], -140.0f);
}

TEST_F(PickingTest, PlacementFollowsThePointerAndTheClickRecordsTheCreation) {
    selectLeft();
    const int before = steps();
    // As an Add leaves it: placing the object it made.
    view->m_bPlacing = view->m_bPlacingFirstMove = 1;
    view->m_strPlacingName = left->getName();
    view->m_bAxisX = view->m_bAxisY = 1;
    EXPECT_TRUE(view->OnKeyDown('S', 0)) << "keys are swallowed while placing";
    EXPECT_EQ(view->m_nTransformMode, 0);
    view->OnMouseMove(kDefaultSceneWidth / 2 + 40, kDefaultSceneHeight / 2 - 10, 0);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -110.0f);
    EXPECT_FLOAT_EQ(left->getPosition()[1], 10.0f);
    click(empty);
    view->OnLButtonUp(kEmptyX, kEmptyY, 0);
    EXPECT_EQ(view->m_bPlacing, 0);
    ASSERT_EQ(steps(), before + 1);
    EXPECT_EQ(doc->GetUndoHistory().Current()->m_nKind, UNDO_CREATE);
}

TEST_F(PickingTest, ATextureScaleTermDraggedToZeroOrBelowBecomesOneHundredth) {
    selectLeft();
    left->setMode(1);  // coordinates from the two planes, which the scale terms belong to
    left->setTexScale(1.0f, 2.0f);
    view->m_bTexScaleDrag = 1;
    drag(empty, 1000, 0);
    float a = 0, b = 0;
    left->getTexScale(&a, &b);
    EXPECT_FLOAT_EQ(a, 0.01f);
    EXPECT_FLOAT_EQ(b, 2.0f);
    EXPECT_EQ(frame.textureValues, std::make_pair(a, b));
}

// Whatever empties the list of objects selected together ends Select All and
// the drag of several objects with it: afterwards a drag moves the selected
// object alone, as one undoable step, and Select All shows no check.
TEST_F(PickingTest, OnceTheListEmptiesADragMovesTheSelectionAlone) {
    struct Case {
        const char* what;
        std::function<void()> empty;
    };
    const Case cases[] = {
        {"one name picked in the Object List",
         [&] {
             view->ClearMultiSelection(0);
             view->OnObjectChosen("left");
         }},
        {"animation mode and back",
         [&] {
             view->OnToggleMode();
             view->OnToggleMode();
         }},
        {"a paste",
         [&] {
             ASSERT_EQ(view->OnEditCopy(), 1);
             ASSERT_EQ(view->OnEditPaste(), 1);
             view->OnCommand(kv::ID_EDIT_DELETE);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        selectLeft();
        view->OnCommand(kv::ID_EDIT_SELECT_ALL);
        ASSERT_EQ(doc->m_selectedObjects.size(), 2u);
        c.empty();
        CCmdUI selectAll;
        view->OnUpdateCommand(kv::ID_EDIT_SELECT_ALL, selectAll);
        EXPECT_EQ(selectAll.checked, 0);
        EXPECT_TRUE(doc->m_selectedObjects.empty());
        selectLeft();
        const float leftX = left->getPosition()[0], rightX = right->getPosition()[0];
        const int before = steps();
        drag(leftAt, 20, 0);
        EXPECT_FLOAT_EQ(left->getPosition()[0], leftX + 20.0f);
        EXPECT_FLOAT_EQ(right->getPosition()[0], rightX);
        EXPECT_EQ(steps(), before + 1);
        ASSERT_EQ(view->OnEditUndo(), 1);
        // The step puts back an object of its own.
        left = static_cast<pnPanel*>(scene().findObject("left"));
        ASSERT_NE(left, nullptr);
        EXPECT_FLOAT_EQ(left->getPosition()[0], leftX);
    }
}

// The object chooser picking an object outside the list ends the list, as a
// click on that object would: Undo comes back and the Transformation bar's
// edits reach the chosen object alone.
TEST_F(PickingTest, ChoosingAnObjectOutsideTheListEndsIt) {
    selectLeft();
    drag(leftAt, 10, 0);
    click(leftAt, KV_MOD_SHIFT);
    view->OnLButtonUp(leftAt.first, leftAt.second, KV_MOD_SHIFT);
    ASSERT_EQ(doc->m_selectedObjects.size(), 1u);
    frame.calls.clear();
    view->OnObjectChosen("right");
    EXPECT_EQ(doc->m_pSelectedObject, right);
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    EXPECT_EQ(frame.callsOf("SelectObjectListIndex"), std::vector<std::string>{"-1,0"});
    CCmdUI undo;
    view->OnUpdateCommand(kv::ID_EDIT_UNDO, undo);
    EXPECT_TRUE(undo.enabled);
}

// While a new object follows the pointer it moves alone: Select All waits.
TEST_F(PickingTest, SelectAllWaitsUntilTheNewObjectIsPutDown) {
    selectLeft();
    view->m_bPlacing = view->m_bPlacingFirstMove = 1;
    view->m_strPlacingName = "left";
    CCmdUI selectAll;
    view->OnUpdateCommand(kv::ID_EDIT_SELECT_ALL, selectAll);
    EXPECT_FALSE(selectAll.enabled);
    view->OnCommand(kv::ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->m_bSelectAll, 0);
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    view->OnMouseMove(kDefaultSceneWidth / 2 + 30, kDefaultSceneHeight / 2, 0);
    EXPECT_FLOAT_EQ(left->getPosition()[0], -120.0f);
    EXPECT_FLOAT_EQ(right->getPosition()[0], 150.0f);
}
