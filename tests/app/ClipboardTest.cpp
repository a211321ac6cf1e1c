// Copy, Cut and Paste of one object inside the program: numbered names,
// stepping offsets, chart style copies, and their undo steps.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "charts/pnBarChart.h"
#include "scene/pnStringProperty.h"
#include "tests/app/ViewFixture.h"

namespace {

class ClipboardTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    pnObject* addObject(pnObject* object, const std::string& name, sgVec3 at = sgVec3(0, 0, 0)) {
        object->setName(name.c_str());
        object->setPosition(at);
        EXPECT_TRUE(scene().addObject(object));
        if (object->isChart()) scene().addChart(object);
        auto* event = new pnEvent;
        event->setName(name.c_str());
        event->addObjectName(name.c_str());
        EXPECT_TRUE(scene().addEvent(event));
        scene().addObjectsToScene(event);
        return object;
    }
    pnObject* addPanel(const std::string& name, sgVec3 at = sgVec3(0, 0, 0)) {
        auto* panel = new pnPanel;
        panel->setDimension(40, 40, 4);
        return addObject(panel, name, at);
    }
    bool enabled(int id) {
        CCmdUI ui;
        view->OnUpdateCommand(id, ui);
        return ui.enabled;
    }
    int steps() const { return doc->GetUndoHistory().GetCount(); }

    RecordingFrame frame;
};

}  // namespace

TEST_F(ClipboardTest, PasteNamesNumberOnFromTheTrailingDigits) {
    struct Case {
        const char* copied;
        std::vector<std::string> taken;
        const char* first;
    };
    std::vector<std::string> all;
    for (int i = 1; i <= 1000; ++i) all.push_back("Full" + std::to_string(i));
    const Case cases[] = {
        {"Text", {}, "Text1"},
        {"Panel009", {"Panel10"}, "Panel11"},
        {"123", {}, "124"},
        {"Bar003", {}, "Bar4"},
        {"Bar4", {"Bar5", "Bar6"}, "Bar7"},
        // At most nine digits make the number; the rest stays in the prefix.
        {"n12345678901", {}, "n12345678902"},
        {"n99999999999", {}, "n991000000000"},
        {"7", {}, "71"},
        {"", {}, "1"},
        {"Full", all, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copied);
        pnScene scene;
        for (const std::string& name : c.taken) {
            auto* panel = new pnPanel;
            panel->setName(name.c_str());
            ASSERT_TRUE(scene.addObject(panel));
        }
        EXPECT_EQ(CKelvanoView::NextPasteName(c.copied, scene), c.first);
    }
}

TEST_F(ClipboardTest, PastesStepByTheCopyOffsetsAndEachIsOneStep) {
    pnObject* text = addPanel("Text", sgVec3(5, 6, 7));
    view->SelectObject(text);
    frame.calls.clear();
    EXPECT_FALSE(enabled(kv::ID_EDIT_PASTE));
    ASSERT_EQ(view->OnEditCopy(), 1);
    EXPECT_TRUE(enabled(kv::ID_EDIT_PASTE));
    // The copy is independent of the object.
    text->setPosition(100, 100, 100);
    const int before = steps();
    ASSERT_EQ(view->OnEditPaste(), 1);
    ASSERT_EQ(view->OnEditPaste(), 1);
    pnObject* first = scene().findObject("Text1");
    pnObject* second = scene().findObject("Text2");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->getPosition(), sgVec3(15, 16, 7));
    EXPECT_EQ(second->getPosition(), sgVec3(25, 26, 7));
    EXPECT_TRUE(scene().findEvent("Text1") && scene().findEvent("Text2"));
    EXPECT_EQ(doc->m_pSelectedObject, second);
    EXPECT_EQ(steps(), before + 2);
    EXPECT_EQ(frame.callsOf("AddObjectListItem"), (std::vector<std::string>{"Text1", "Text2"}));
    EXPECT_EQ(frame.callsOf("AddObjectChooserName"), (std::vector<std::string>{"Text1", "Text2"}));
    EXPECT_EQ(frame.callsOf("ShowObjectPage"), (std::vector<std::string>{"1,1", "1,1"}));
    EXPECT_EQ(frame.callsOf("UnlockTransformEdits").size(), 2u);

    // Other offsets from the document's settings.
    doc->m_nCopyOffsetX = -3;
    doc->m_nCopyOffsetY = 0;
    ASSERT_EQ(view->OnEditPaste(), 1);
    EXPECT_EQ(scene().findObject("Text3")->getPosition(), sgVec3(22, 26, 7));

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FALSE(scene().objectExists("Text3"));
    EXPECT_FALSE(scene().findEvent("Text3"));
    EXPECT_TRUE(scene().objectExists("Text2")) << "one Undo takes one paste";
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(scene().findObject("Text3")->getPosition(), sgVec3(22, 26, 7));
}

TEST_F(ClipboardTest, CutThenUndoRestoresObjectAndEventAndRedoCutsAgain) {
    pnObject* box = addPanel("box", sgVec3(1, 2, 3));
    addPanel("other");
    scene().findEvent("box")->setRepeat(17);
    view->SelectObject(box);
    const int before = steps();
    ASSERT_EQ(view->OnEditCut(), 1);
    EXPECT_FALSE(scene().objectExists("box"));
    EXPECT_FALSE(scene().findEvent("box"));
    EXPECT_EQ(steps(), before + 1);
    ASSERT_TRUE(doc->m_pClipboardObject);

    ASSERT_EQ(view->OnEditUndo(), 1);
    ASSERT_TRUE(scene().objectExists("box"));
    ASSERT_TRUE(scene().findEvent("box"));
    EXPECT_EQ(scene().findEvent("box")->getRepeat(), 17);
    EXPECT_EQ(scene().findObject("box")->getPosition(), sgVec3(1, 2, 3));

    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FALSE(scene().objectExists("box"));
    EXPECT_FALSE(scene().findEvent("box"));

    // The cut object pastes from where it was.
    ASSERT_EQ(view->OnEditPaste(), 1);
    EXPECT_EQ(scene().findObject("box1")->getPosition(), sgVec3(11, 12, 3));
}

TEST_F(ClipboardTest, NothingSelectedOrAnimationModeCopiesAndCutsNothing) {
    pnObject* box = addPanel("box");
    view->SelectObject(box);
    ASSERT_EQ(view->OnEditCopy(), 1);
    view->SelectObject(nullptr);
    const int before = steps();
    EXPECT_FALSE(enabled(kv::ID_EDIT_COPY));
    EXPECT_FALSE(enabled(kv::ID_EDIT_CUT));
    EXPECT_TRUE(view->OnCommand(kv::ID_EDIT_COPY));
    EXPECT_TRUE(view->OnCommand(kv::ID_EDIT_CUT));
    EXPECT_EQ(steps(), before);
    ASSERT_TRUE(doc->m_pClipboardObject);
    EXPECT_EQ(doc->m_pClipboardObject->getName(), "box") << "the earlier copy stays";
    // A null object leaves a step's after-state alone.
    doc->RecordUndoBefore(box, UNDO_CHANGE);
    doc->RecordUndoAfter(nullptr);
    EXPECT_TRUE(doc->GetUndoHistory().Current()->m_pBefore->m_pObjectCopy);

    view->SelectObject(box);
    view->m_bAnimationMode = 1;
    EXPECT_FALSE(enabled(kv::ID_EDIT_PASTE));
    EXPECT_EQ(view->OnEditCut(), 0);
    EXPECT_EQ(view->OnEditPaste(), 0);
    EXPECT_TRUE(scene().objectExists("box"));
}

TEST_F(ClipboardTest, APasteWithEveryNameTakenIsRefusedAndAddsNothing) {
    pnObject* full = addPanel("Full");
    for (int i = 1; i <= 1000; ++i) {
        auto* panel = new pnPanel;
        panel->setName(("Full" + std::to_string(i)).c_str());
        ASSERT_TRUE(scene().addObject(panel));
    }
    view->SelectObject(full);
    ASSERT_EQ(view->OnEditCopy(), 1);
    const int objects = scene().getNumObjects(), events = scene().getNumEvents(), before = steps();
    testing::internal::CaptureStdout();
    EXPECT_EQ(view->OnEditPaste(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Object Text Name Error\n");
    EXPECT_EQ(scene().getNumObjects(), objects);
    EXPECT_EQ(scene().getNumEvents(), events);
    EXPECT_EQ(steps(), before);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Object Text Name Error");
}

TEST_F(ClipboardTest, UndoAndRedoWaitWhileObjectsAreSelectedTogether) {
    pnObject* a = addPanel("a");
    pnObject* b = addPanel("b");
    view->SelectObject(a);
    doc->RecordUndoBefore(a, UNDO_CHANGE);
    a->setPositionX(50);
    doc->RecordUndoAfter(a);
    view->AddToMultiSelection(a);
    view->AddToMultiSelection(b);
    EXPECT_FALSE(enabled(kv::ID_EDIT_UNDO));
    EXPECT_EQ(view->OnEditUndo(), 0);
    EXPECT_FLOAT_EQ(a->getPosition()[0], 50.0f);
    view->RemoveFromMultiSelection(b);
    view->RemoveFromMultiSelection(a);
    EXPECT_TRUE(enabled(kv::ID_EDIT_UNDO));
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("a")->getPosition()[0], 0.0f);
    doc->m_selectedObjects.push_back(scene().findObject("b"));
    EXPECT_FALSE(enabled(kv::ID_EDIT_REDO));
}

TEST_F(ClipboardTest, AChartPasteAddsNumberedCopiesOfItsTwoTextStyles) {
    for (const char* name : {"LabelStyleLong", "DataStyle"}) {
        auto* style = new pnStringProperty;
        style->setName(name);
        ASSERT_TRUE(scene().addStringProperty(style));
    }
    auto* chart = new pnBarChart;
    chart->setLabelStringName("LabelStyleLong");
    chart->setDataStringName("DataStyle");
    addObject(chart, "Bars");
    view->SelectObject(chart);
    ASSERT_EQ(view->OnEditCopy(), 1);
    ASSERT_EQ(view->OnEditPaste(), 1);
    ASSERT_EQ(view->OnEditPaste(), 1);
    auto* second = static_cast<pnBarChart*>(scene().findObject("Bars2"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->getLabelStringName(), "LabelStyle002");
    EXPECT_EQ(second->getDataStringName(), "DataStyle002");
    EXPECT_TRUE(scene().findStringProperty("LabelStyle001"));
    EXPECT_TRUE(scene().findStringProperty("DataStyle001"));
    EXPECT_EQ(doc->m_nSelectedPartKind, 0);
    EXPECT_EQ(scene().getNumCharts(), 3);
}
