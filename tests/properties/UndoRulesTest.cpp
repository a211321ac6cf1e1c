// The undo rules as a user meets them, each through the path the program
// takes: one action is one step, an edit that changes nothing records
// nothing, nothing else runs while a drag or a placement holds its step, a
// dialog's inner windows belong to its step, and applying a step puts back
// all the object owns (its text style, a volume's mesh, an event's links)
// and marks the scene modified.
#include "charts/pnChart.h"
#include "charts/pnObjectMaker.h"
#include "editor/CEditScope.h"
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "scene/pnVolume.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/SavedText.h"
#include "ui/animation/CEventTreeModel.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/rules/CCameraPageLogic.h"
#include "ui/properties/rules/CMaterialChooserLogic.h"
#include "ui/properties/rules/ChartDialogRules.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class PanelCreator : public CObjectCreator {
public:
    bool RunDialog() override { return true; }
    std::string CreateObject() override {
        auto panel = std::make_unique<pnPanel>();
        panel->setName("added");
        panel->setDimension(40, 40, 4);
        pnObject* made = CurrentView()->InsertNewObject(std::move(panel));
        return made ? made->getName() : std::string();
    }
};

class UndoRulesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        app.InitFolders(KELVANO_SOURCE_DIR "/data");
        app.InitSceneServices();
        create();
        view->SetObjectCreator(kv::ID_ADD_PANEL, &creator);
    }
    void open(const std::string& file) {
        view->SetModified(false);
        view->m_strPendingOpen = std::string(KELVANO_SOURCE_DIR "/data/scenes/") + file;
        ASSERT_EQ(view->OnFileOpen(), 1);
    }
    std::string saved() const { return savedText(*view->GetScene()); }
    pnPanel* addPanel(const std::string& name, float x) {
        pnPanel* panel = addShownPanel(name, 60, 6);
        panel->setPositionX(x);
        return panel;
    }
    pnObject* object(const std::string& name) { return scene().findObject(name.c_str()); }
    float x(const std::string& name) { return object(name)->getPosition()[0]; }
    int steps() const { return doc->GetUndoHistory().GetCount(); }

    RecordingFrame frame;
    PanelCreator creator;
};

// A corner of the view that no object covers: a press there keeps the
// selection, and a drag from it moves the selected object.
constexpr int kEmptyX = 5, kEmptyY = 5;

}  // namespace

// Edit, save, Undo: the scene differs from the file again, so New asks.
TEST_F(UndoRulesTest, UndoAndRedoMarkTheSceneModified) {
    pnPanel* box = addPanel("box", 0);
    {
        CEditScope edit(*view, box);
        box->setPositionX(40);
    }
    view->SetModified(false);  // as a save leaves it
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(view->m_bModified, 1);
    host.answers = {KV_IDCANCEL};
    EXPECT_EQ(view->OnFileNew(), 0) << "the prompt was cancelled";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Save changes"), std::string::npos) << host.messages[0].text;
    view->SetModified(false);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(view->m_bModified, 1);
}

// While the button holds a drag, Delete, Undo, Redo, Cut, Paste, a choice of
// another object and a right click are refused; after the release Undo and
// Redo take back and give again exactly the drag.
TEST_F(UndoRulesTest, KeysDuringADragAreRefusedAndTheDragIsOneStep) {
    addPanel("a", -150);
    addPanel("b", 150);
    {
        CEditScope earlier(*view, object("b"));
        object("b")->setPositionY(30);
    }
    view->OnObjectChosen("a");
    ASSERT_EQ(view->OnCommand(kv::ID_EDIT_COPY), true);
    const std::string before = saved();
    const int stepsBefore = steps();

    view->OnLButtonDown(kEmptyX, kEmptyY, 0);
    view->OnMouseMove(kEmptyX + 30, kEmptyY, 0);
    EXPECT_FLOAT_EQ(x("a"), -120.0f);
    view->OnKeyDown(KV_KEY_DELETE);
    for (int id : {kv::ID_EDIT_DELETE, kv::ID_EDIT_UNDO, kv::ID_EDIT_REDO, kv::ID_EDIT_CUT, kv::ID_EDIT_PASTE,
                   kv::ID_ADD_PANEL, kv::ID_EDIT_SELECT_ALL}) {
        CCmdUI ui;
        view->OnUpdateCommand(id, ui);
        EXPECT_FALSE(ui.enabled) << id;
        view->OnCommand(id);
    }
    view->OnObjectChosen("b");
    view->OnContextMenu(300, 200);
    EXPECT_TRUE(host.popups.empty());
    EXPECT_EQ(doc->m_pSelectedObject, object("a"));
    EXPECT_EQ(scene().getNumObjects(), 2);
    EXPECT_EQ(steps(), stepsBefore);
    view->OnMouseMove(kEmptyX + 50, kEmptyY, 0);
    view->OnLButtonUp(kEmptyX + 50, kEmptyY, 0);
    const std::string dragged = saved();
    EXPECT_EQ(steps(), stepsBefore + 1);

    ASSERT_EQ(view->OnCommand(kv::ID_EDIT_UNDO), true);
    EXPECT_EQ(saved(), before) << "Undo takes back the drag and nothing else";
    ASSERT_EQ(view->OnCommand(kv::ID_EDIT_REDO), true);
    EXPECT_EQ(saved(), dragged);
    EXPECT_FLOAT_EQ(object("b")->getPosition()[1], 30.0f);
}

// While a new object follows the pointer, Undo, Cut, a right click and the
// chooser wait; the pointer moves the new object only, and its click is the
// Add's one step.
TEST_F(UndoRulesTest, APlacementHoldsItsStepAndMovesOnlyTheNewObject) {
    addPanel("a", -150);
    {
        CEditScope moved(*view, object("a"));
        object("a")->setPositionX(-100);
    }
    const int stepsBefore = steps();
    ASSERT_TRUE(view->OnCommand(kv::ID_ADD_PANEL));
    ASSERT_EQ(view->m_bPlacing, 1);
    for (int id : {kv::ID_EDIT_UNDO, kv::ID_EDIT_REDO, kv::ID_EDIT_CUT, kv::ID_EDIT_PASTE, kv::ID_EDIT_DELETE})
        view->OnCommand(id);
    view->OnContextMenu(290, 196);
    view->OnObjectChosen("a");
    EXPECT_FLOAT_EQ(x("a"), -100.0f) << "the earlier step is not undone";
    EXPECT_EQ(scene().getNumObjects(), 2);
    EXPECT_EQ(doc->m_pSelectedObject, object("added"));
    // Even with the selection elsewhere only the new object follows.
    doc->m_pSelectedObject = object("a");
    view->OnMouseMove(300, 196, 0);
    view->OnMouseMove(330, 196, 0);
    EXPECT_FLOAT_EQ(x("a"), -100.0f);
    EXPECT_FLOAT_EQ(x("added"), 40.0f);
    view->OnLButtonDown(330, 196, 0);
    view->OnLButtonUp(330, 196, 0);
    EXPECT_EQ(steps(), stepsBefore + 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(object("added"), nullptr);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(x("a"), -150.0f);
}

// Closing a texture window unchanged, Enter and then leaving a field with the
// same value, Cancel in Edge/Shadow and a slider clicked without a move record
// nothing: the scene stays unmodified and Redo stays.
TEST_F(UndoRulesTest, AnEditThatChangesNothingRecordsNothing) {
    pnPanel* box = addPanel("box", 0);
    {
        CEditScope edit(*view, box);
        box->setPositionX(25);
    }
    ASSERT_EQ(view->OnEditUndo(), 1);
    box = static_cast<pnPanel*>(object("box"));
    view->SetModified(false);
    const int stepsBefore = steps();
    {
        CEditScope textureWindowClose(*view, box);
        box->setTexMove(0.0f, 0.0f);
        box->setMode(box->getMode());
    }
    for (int commit = 0; commit < 2; ++commit) {
        CEditScope enterThenFocusLoss(*view, box);
        box->setDimension(60, 60, 6);
    }
    CCameraPageLogic camera;
    camera.LoadViewpoint();
    camera.OnSliderPressed();
    camera.OnSliderReleased();
    camera.OnPerspective();
    EXPECT_EQ(steps(), stepsBefore);
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_TRUE(doc->CanRedo());
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(x("box"), 25.0f);
    // The second of two equal commits adds nothing.
    for (int commit = 0; commit < 2; ++commit) {
        CEditScope enterThenFocusLoss(*view, object("box"));
        static_cast<pnPanel*>(object("box"))->setDimension(90, 60, 6);
    }
    EXPECT_EQ(steps(), stepsBefore + 1);
}

// The Transformation bar with objects selected together, a drag of them and
// a nudge each move them all as one step.
TEST_F(UndoRulesTest, OneActionOnObjectsSelectedTogetherIsOneStep) {
    addPanel("a", -150);
    addPanel("b", 150);
    view->OnObjectChosen("a");
    const std::string before = saved();
    view->OnSelectAll();
    ASSERT_EQ(doc->m_selectedObjects.size(), 2u);
    ASSERT_EQ(ApplyTransformField(*doc, *view, TF_POS_Y, 50.0f), 1);
    EXPECT_FLOAT_EQ(object("b")->getPosition()[1], 50.0f);
    view->OnKeyDown(KV_KEY_RIGHT);
    EXPECT_FLOAT_EQ(x("b"), 160.0f);
    EXPECT_EQ(steps(), 2);
    view->OnSelectAll();  // the group ends
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(x("a"), -150.0f);
    EXPECT_FLOAT_EQ(x("b"), 150.0f);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before) << "both objects are back";
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(object("a")->getPosition()[1], 50.0f);
    EXPECT_FLOAT_EQ(object("b")->getPosition()[1], 50.0f);
}

// The Label Property dialog is one step from its opening: the back material
// and edge its Edge/Shadow button writes at once go back with its size.
TEST_F(UndoRulesTest, ALabelDialogsEdgeAndShadowArePartOfItsStep) {
    open("barchart.apn");
    pnChart* chart = nullptr;
    for (int i = 0; i < scene().getNumObjects() && !chart; ++i) chart = pnKindCast<pnChart>(scene().getObject(i));
    ASSERT_NE(chart, nullptr);
    view->OnObjectChosen(chart->getName());
    const std::string before = saved();
    host.duringChartDialog = [&](ChartDialog) {
        CEditScope dialog(*view, chart);  // as the dialog opens its step
        LabelPropertyForm form;
        LoadLabelProperty(scene(), *chart, 1, form);
        ASSERT_NE(form.style, nullptr);
        // What the Edge/Shadow button writes while the dialog is open.
        form.style->setBorder(2.0f);
        form.style->setKind(0);
        chart->setLabelBackMaterialName(scene().getMaterial(0)->getName().c_str());
        form.size = "41";
        form.twoD = true;
        LabelPropertyOk(*view, *chart, form);
    };
    ASSERT_TRUE(view->OnCommand(kv::ID_LABEL_PROPERTY));
    ASSERT_EQ(host.chartDialogs.size(), 1u);
    const std::string applied = saved();
    EXPECT_EQ(steps(), 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(saved(), applied);
}

// Edge/Shadow on the text page holds the text's step open while its swatch's
// chooser adds and modifies materials: they are part of that one step, which
// one Undo takes back whole and Redo gives again. A material the undone step
// added is freed when the step goes out of the history.
TEST_F(UndoRulesTest, StepsMadeInsideAnOpenStepArePartOfIt) {
    open("counter.apn");
    auto* label = pnKindCast<pnString>(object("label"));
    ASSERT_NE(label, nullptr);
    pnMaterial* shade = scene().findMaterial("shade");
    ASSERT_NE(shade, nullptr);
    const std::string before = saved();
    struct Ui : CMaterialChooserUi {
        void HideChooser() override {}
        void ShowChooser() override {}
        bool RunSimpleEditor(MaterialEditValues& v) override {
            v.diffuse[0] = 0.9f;
            if (!name.empty()) v.name = name;
            return true;
        }
        std::string name;
        bool RunDetailedEditor(MaterialEditValues& v) override { return RunSimpleEditor(v); }
        void NotifyOwner(int, int, int) override {}
        void RefreshChooser() override {}
    } ui;
    CMaterialChooserLogic chooser(ui);
    chooser.SetOwner(false, 0);
    {
        CEditScope edgeShadow(*view, label);
        ui.name = "edge";
        chooser.Add(0);
        ui.name.clear();
        ASSERT_NE(scene().findMaterial("edge"), nullptr);
        chooser.SetCurrentMaterial(scene().indexOfMaterial(shade));
        chooser.Modify(0);
        EXPECT_FLOAT_EQ(shade->getDiffuse()[0], 0.9f);
        label->setBorder(2.0f);
        label->setHOffset(0.0f);
        label->setVOffset(0.0f);
        label->setBackMaterial("edge");
        EXPECT_EQ(steps(), 0) << "nothing goes into the history while the step is open";
    }
    const std::string after = saved();
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(view->m_bModified, 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before) << "the edge and both materials go back at once";
    EXPECT_EQ(scene().findMaterial("edge"), nullptr);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(saved(), after);
    // Undone again and pushed out by a new step: "edge", out of the scene and
    // in no step any more, is freed (the leak check would report it).
    ASSERT_EQ(view->OnEditUndo(), 1);
    view->OnObjectChosen("label");
    view->OnKeyDown(KV_KEY_UP);
    EXPECT_EQ(steps(), 1);
}

// A counter's text style stays through Undo of a nudge, Delete and Undo, and
// Cut and Paste: the digits keep their style and the file keeps its block.
TEST_F(UndoRulesTest, ACounterKeepsItsTextStyle) {
    open("counter.apn");
    const std::string opened = saved();
    view->OnObjectChosen("revenue");
    view->OnKeyDown(KV_KEY_UP);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), opened);
    ASSERT_NE(scene().findStringProperty("digits"), nullptr);
    EXPECT_EQ(scene().findStringProperty("digits")->getSize(), 48.0f);

    view->OnObjectChosen("revenue");
    view->OnCommand(kv::ID_EDIT_DELETE);
    EXPECT_EQ(scene().findStringProperty("digits"), nullptr) << "the style goes with its last user";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), opened);

    view->OnObjectChosen("revenue");
    view->OnCommand(kv::ID_EDIT_CUT);
    view->OnCommand(kv::ID_EDIT_PASTE);
    pnObject* pasted = object("revenue1");
    ASSERT_NE(pasted, nullptr);
    EXPECT_STREQ(pasted->getStringPropertyName(), "digits");
    const pnStringProperty* digits = scene().findStringProperty("digits");
    ASSERT_NE(digits, nullptr);
    EXPECT_EQ(digits->getSize(), 48.0f);
    EXPECT_EQ(digits->getDepth(), 8.0f);
}

// A text of a style shows the style's face: a size edited on it goes to the
// style, and lasts through Undo, Redo, a nudge's Undo, Save and Open.
TEST_F(UndoRulesTest, AStyledTextKeepsItsFaceEdits) {
    open("counter.apn");
    const std::string opened = saved();
    auto label = [&] { return pnKindCast<pnString>(object("label")); };
    {
        CEditScope size(*view, label());
        label()->setSize(40.0f);
    }
    EXPECT_EQ(scene().findStringProperty("caption")->getSize(), 40.0f);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(label()->getSize(), 28.0f);
    EXPECT_EQ(saved(), opened);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(label()->getSize(), 40.0f);
    view->OnObjectChosen("label");
    view->OnKeyDown(KV_KEY_LEFT);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(label()->getSize(), 40.0f) << "undoing the nudge keeps the size";
    // The shadow removed in Edge/Shadow stays removed.
    {
        CEditScope edgeShadow(*view, label());
        label()->setHOffset(0.0f);
        label()->setVOffset(0.0f);
    }
    const std::string dir = folder();
    view->m_strPathName = dir + "/edited.apn";
    ASSERT_EQ(view->OnFileSave(), 1);
    const std::string edited = saved();
    view->m_strPendingOpen = dir + "/edited.apn";
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(label()->getSize(), 40.0f);
    EXPECT_EQ(label()->getHOffset(), 0.0f);
    EXPECT_EQ(saved(), edited);
}

// What a save writes for a styled text is what it shows: titles.apn's
// "heading" takes 64 from its style, and read, save, read, save is stable.
TEST_F(UndoRulesTest, AStyledTextSavesTheFaceItShows) {
    open("titles.apn");
    auto* heading = pnKindCast<pnString>(object("heading"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->getSize(), 64.0f);
    const std::string first = saved();
    EXPECT_NE(first.find("string\t\"Kelvano\"\n    stringProperty\t\"title\"\n    size\t64.000000"), std::string::npos)
        << first;
    const std::string dir = folder();
    ASSERT_EQ(scene().save((dir + "/once.apn").c_str(), 0), 1);
    view->m_strPendingOpen = dir + "/once.apn";
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(saved(), first);
    // A file whose text holds other values than its style shows the style's.
    pnScene read;
    write(dir + "/other.apn",
          "stringProperty {\n name \"s\"\n size 50\n}\nstring {\n name \"t\"\n string \"x\"\n stringProperty \"s\"\n"
          " size 10\n border 2\n}\n");
    ASSERT_EQ(CKelvanoView::ReadSceneFile(dir + "/other.apn", read), 1);
    const auto* t = pnKindCast<pnString>(read.findObject("t"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->getSize(), 50.0f);
    EXPECT_EQ(t->getBorder(), 0.0f);
}

// A scene-level volume keeps its mesh through Undo of a move and through Paste.
TEST_F(UndoRulesTest, AVolumeKeepsItsMesh) {
    auto* volume = new pnVolume;
    volume->setName("mesh");
    const float xyz[9] = {0, 0, 0, 100, 0, 0, 0, 100, 0};
    const int index[3] = {0, 1, 2};
    volume->setCoords(xyz, 3);
    volume->setIndex(index, nullptr, 3);
    volume->setNumPrims(1);
    ASSERT_TRUE(scene().addObject(volume));
    auto* event = new pnEvent;
    event->setName("mesh");
    event->addObjectName("mesh");
    ASSERT_TRUE(scene().addEvent(event));
    scene().addObjectsToScene(event);
    const std::string before = saved();
    view->OnObjectChosen("mesh");
    view->OnKeyDown(KV_KEY_UP);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(static_cast<pnVolume*>(object("mesh"))->getNumVertex(), 3);
    view->OnCommand(kv::ID_EDIT_COPY);
    view->OnCommand(kv::ID_EDIT_PASTE);
    ASSERT_NE(object("mesh1"), nullptr);
    EXPECT_EQ(static_cast<pnVolume*>(object("mesh1"))->getNumVertex(), 3);
}

// Undoing a viewpoint step while a camera preset is on switches the preset
// off first, so the undone viewpoint stays.
TEST_F(UndoRulesTest, UndoingAViewpointStepEndsACameraPreset) {
    pnViewpoint* viewpoint = scene().getViewpoint();
    const sgVec3 original = viewpoint->getPosition();
    {
        CEditScope edit(*view, viewpoint);
        viewpoint->setPosition(0, 0, 500);
    }
    view->OnCommand(kv::ID_CAMERA_TOP);
    ASSERT_EQ(view->m_nActivePreset, 4);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(view->m_nActivePreset, -1);
    EXPECT_FLOAT_EQ(scene().getViewpoint()->getPosition()[2], original[2]);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(scene().getViewpoint()->getPosition()[2], 500.0f);
}

// Camera Reset in animation mode changes the viewpoint a save writes: the
// scene is modified.
TEST_F(UndoRulesTest, CameraResetInAnimationModeMarksTheSceneModified) {
    scene().getViewpoint()->setPosition(0, 0, 300);
    CCameraPageLogic camera;
    camera.LoadViewpoint();
    camera.Lock(true);
    view->SetModified(false);
    camera.OnReset();
    EXPECT_FLOAT_EQ(scene().getViewpoint()->getPosition()[2], CCameraPageLogic::kResetDistance);
    EXPECT_EQ(view->m_bModified, 1);
}

// A re-parent in the Event Tree is a step of the event's links only: its
// Undo keeps the plays added to the event later, and an event that no object
// is named after gets its own step too.
TEST_F(UndoRulesTest, UndoingAReparentPutsBackOnlyTheParentLinks) {
    addPanel("one", -100);
    addPanel("two", 100);
    addPanel("three", 0);
    // An event named otherwise than its object.
    scene().renameEvent(scene().findEvent("three"), "showThree");
    {
        CEditScope earlier(*view, object("one"));
        object("one")->setPositionY(20);
    }
    const int stepsBefore = steps();
    pnEvent* two = scene().findEvent("two");
    {
        CEditScope drop(*view, two);
        ASSERT_EQ(SetEventParent(scene(), "two", "one"), 1);
    }
    two->addPlay("spin", 0, 20, 1);  // a later time line edit, no step
    {
        CEditScope drop(*view, scene().findEvent("showThree"));
        ASSERT_EQ(SetEventParent(scene(), "showThree", "one"), 1);
    }
    EXPECT_EQ(steps(), stepsBefore + 2);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findEvent("showThree")->getParent(), "");
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findEvent("two")->getParent(), "");
    EXPECT_EQ(scene().findEvent("one")->getNumChildNames(), 0);
    EXPECT_EQ(scene().findEvent("two")->getNumPlays(), 1) << "the later play stays";
    EXPECT_FLOAT_EQ(object("one")->getPosition()[1], 20.0f) << "the step before is untouched";
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(scene().findEvent("two")->getParent(), "one");
}

// A chart's two styles, freed with it, come back each at its own place in the
// list, whichever of them stood first.
TEST_F(UndoRulesTest, AChartsStylesComeBackInTheirPlaces) {
    for (const char* name : {"values", "labels", "other"}) {
        auto* style = new pnStringProperty;
        style->setName(name);
        ASSERT_TRUE(scene().addStringProperty(style));
    }
    auto* chart = pnKindCast<pnChart>(pnMakeObject("pnBarChart").release());
    ASSERT_NE(chart, nullptr);
    chart->setName("bars");
    chart->setLabelStringName("labels");
    chart->setDataStringName("values");
    ASSERT_TRUE(scene().addObject(chart));
    scene().addChart(chart);
    const std::string before = saved();
    view->OnObjectChosen("bars");
    view->OnCommand(kv::ID_EDIT_DELETE);
    ASSERT_EQ(scene().findStringProperty("labels"), nullptr);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before);
}

// An object whose model file is missing keeps its event's children: Select
// All, a Transformation field, Select All off and Undo recreate every object,
// the car first, and "texts" lost its parent.
TEST_F(UndoRulesTest, UndoUnderAModelWhoseFileIsMissingKeepsItsEventsChildren) {
    view->SetModified(false);
    view->m_strPendingOpen = KELVANO_SOURCE_DIR "/tests/properties/scenes/missing-model.apn";
    ASSERT_EQ(view->OnFileOpen(), 1);
    const std::string before = saved();
    view->OnSelectAll();
    ASSERT_EQ(ApplyTransformField(*doc, *view, TF_POS_Z, 25.0f), 1);
    view->OnSelectAll();
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findEvent("texts")->getParent(), "car moves");
    EXPECT_EQ(saved(), before);
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before) << "twice over";
}
