// Undo and Redo through the view: the document's bracket around each edit,
// and every kind of step applied back to a live scene.
#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CUndoHistory.h"
#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "tests/app/ViewFixture.h"

namespace {

class UndoViewTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        create();
    }
    // A panel with the event that shows it, hung into the graph.
    pnPanel* addPanel(const std::string& name, const std::string& parent = "") {
        auto* panel = new pnPanel;
        panel->setName(name.c_str());
        panel->setDimension(40, 40, 4);
        EXPECT_TRUE(scene().addObject(panel));
        auto* event = new pnEvent;
        event->setName(name.c_str());
        event->addObjectName(name.c_str());
        EXPECT_TRUE(scene().addEvent(event));
        if (!parent.empty()) event->setParent(parent.c_str());
        scene().addObjectsToScene(event);
        return panel;
    }
    float x(const std::string& name) { return scene().findObject(name.c_str())->getPosition()[0]; }
    void moveX(const std::string& name, float to) {
        pnObject* o = scene().findObject(name.c_str());
        doc->RecordUndoBefore(o, UNDO_CHANGE);
        o->setPositionX(to);
        doc->RecordUndoAfter(o);
    }
};

}  // namespace

TEST_F(UndoViewTest, TwelveChangesGiveElevenUndosAndUndoingTwoThenChangingDropsBoth) {
    addPanel("box");
    view->m_bModified = 0;
    for (int i = 1; i <= 12; ++i) moveX("box", 10.0f * i);
    EXPECT_EQ(view->m_bModified, 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 11);
    for (int i = 11; i >= 1; --i) {
        ASSERT_EQ(view->OnEditUndo(), 1) << i;
        EXPECT_FLOAT_EQ(x("box"), 10.0f * i);
    }
    EXPECT_EQ(view->OnEditUndo(), 0) << "the twelfth undo is refused";
    EXPECT_FLOAT_EQ(x("box"), 10.0f);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(x("box"), 20.0f);

    // Undo two of three, then change: both undone steps go.
    view->OnEditRedo();
    view->OnEditRedo();
    view->OnEditUndo();
    view->OnEditUndo();
    const int standing = doc->GetUndoHistory().GetCurrentIndex() + 1;
    moveX("box", -5);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), standing + 1);
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_EQ(view->OnEditRedo(), 0);
    view->OnEditUndo();
    EXPECT_FLOAT_EQ(x("box"), 20.0f);
    // The restored object is the selection.
    EXPECT_EQ(doc->m_pSelectedObject, scene().findObject("box"));
}

TEST_F(UndoViewTest, ARenameUndoesAndRedoes) {
    pnPanel* panel = addPanel("old");
    doc->RecordUndoBefore(panel, UNDO_CHANGE);
    panel->setName("new");
    scene().findEvent("old")->setName("new");
    doc->RecordUndoAfter(panel);

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("new"), nullptr);
    ASSERT_NE(scene().findObject("old"), nullptr);
    EXPECT_NE(scene().findEvent("old"), nullptr);
    EXPECT_EQ(scene().findEvent("new"), nullptr);
    EXPECT_EQ(scene().getNumObjects(), 1);

    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(scene().findObject("old"), nullptr);
    ASSERT_NE(scene().findObject("new"), nullptr);
    EXPECT_EQ(scene().getNumObjects(), 1);
}

TEST_F(UndoViewTest, EventParentAndChildNamesSurviveRecreation) {
    addPanel("parent");
    addPanel("middle", "parent");
    addPanel("child", "middle");
    moveX("middle", 33);
    ASSERT_EQ(view->OnEditUndo(), 1);
    pnEvent* middle = scene().findEvent("middle");
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(middle->getParent(), "parent");
    ASSERT_EQ(middle->getNumChildNames(), 1);
    EXPECT_STREQ(middle->getChildName(0), "child");
    EXPECT_EQ(scene().findEvent("child")->getParent(), "middle");
    const pnEvent* parent = scene().findEvent("parent");
    ASSERT_EQ(parent->getNumChildNames(), 1);
    EXPECT_STREQ(parent->getChildName(0), "middle");
    // The child's node hangs under the restored event again.
    ASSERT_NE(middle->getNode(), nullptr);
    EXPECT_NE(scene().findEvent("child")->getNode(), nullptr);
    Frame f = draw();
    EXPECT_EQ(f.width, kDefaultSceneWidth);
}

TEST_F(UndoViewTest, CreationAndDeletionStepsRemoveAndRecreateTheObject) {
    pnPanel* pasted = addPanel("pasted");
    doc->RecordUndoBefore(pasted, UNDO_CREATE);
    doc->RecordUndoAfter(pasted);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("pasted"), nullptr);
    EXPECT_EQ(scene().findEvent("pasted"), nullptr);
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_NE(scene().findObject("pasted"), nullptr);
    EXPECT_NE(scene().findEvent("pasted"), nullptr);

    // A deletion: the view deletes after the before call; undo brings it back.
    addPanel("other");
    pnObject* victim = scene().findObject("pasted");
    doc->RecordUndoBefore(victim, UNDO_DELETE);
    doc->RecordUndoAfter(victim);
    view->SelectObject(victim);
    view->DeleteSelectedObject(1);
    EXPECT_EQ(scene().findObject("pasted"), nullptr);
    EXPECT_EQ(doc->m_pSelectedObject, scene().findObject("other")) << "a neighbour becomes the selection";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_NE(scene().findObject("pasted"), nullptr);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(scene().findObject("pasted"), nullptr);
}

TEST_F(UndoViewTest, ACounterStepNeverFreesTheLiveCounter) {
    auto* counter = new pnCounter;
    counter->setName("count");
    counter->setInitValue(5);
    ASSERT_TRUE(scene().addObject(counter));
    doc->RecordUndoBefore(counter, UNDO_CHANGE);
    counter->setInitValue(9);
    doc->RecordUndoAfter(counter);
    const CUndoStep* step = doc->GetUndoHistory().Current();
    ASSERT_NE(step, nullptr);
    EXPECT_NE(step->m_pBefore->m_pObjectCopy.get(), counter);
    EXPECT_NE(step->m_pAfter->m_pObjectCopy.get(), counter);
    // Dropping the steps leaves the counter whole (the sanitizer watches).
    doc->ClearUndoHistory();
    EXPECT_DOUBLE_EQ(static_cast<pnCounter*>(scene().findObject("count"))->getInitValue(), 9.0);

    doc->RecordUndoBefore(counter, UNDO_CHANGE);
    counter->setInitValue(1);
    doc->RecordUndoAfter(counter);
    ASSERT_EQ(view->OnEditUndo(), 1);
    auto* restored = static_cast<pnCounter*>(scene().findObject("count"));
    ASSERT_NE(restored, nullptr);
    EXPECT_DOUBLE_EQ(restored->getInitValue(), 9.0);
}

TEST_F(UndoViewTest, MaterialDeleteUndoReinsertsAtItsIndexAndRedoRemovesIt) {
    pnMaterial* m = scene().findMaterial("Color5");
    const int index = scene().indexOfMaterial(m);
    ASSERT_EQ(index, 4);
    const int count = scene().getNumMaterials();
    doc->RecordUndoBeforeMaterial(m, index, UNDO_MATERIAL_DELETE);
    doc->RecordUndoAfterMaterial(m, index);
    ASSERT_TRUE(scene().deleteAMaterialFromScene(m));

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(view->OnEditUndo(), 1);
        EXPECT_EQ(scene().getNumMaterials(), count);
        EXPECT_EQ(scene().getMaterial(index), m) << "the step's own material goes back";
        ASSERT_EQ(view->OnEditRedo(), 1);
        EXPECT_EQ(scene().getNumMaterials(), count - 1);
        EXPECT_EQ(scene().findMaterial("Color5"), nullptr);
    }
    // Added, undone, redone: appended again, then freed with the scene.
    auto* added = new pnMaterial;
    added->setName("Added");
    ASSERT_TRUE(scene().addAMaterialToScene(added));
    doc->RecordUndoBeforeMaterial(added, -1, UNDO_MATERIAL_ADD);
    doc->RecordUndoAfterMaterial(added, -1);
    view->OnEditUndo();
    EXPECT_EQ(scene().findMaterial("Added"), nullptr);
    view->OnEditRedo();
    EXPECT_EQ(scene().getMaterial(scene().getNumMaterials() - 1), added);

    // A change puts the old values back into the same record.
    pnMaterial* c1 = scene().findMaterial("Color1");
    doc->RecordUndoBeforeMaterial(c1, 0, UNDO_MATERIAL_CHANGE);
    c1->setDiffuse(0, 0, 0);
    doc->RecordUndoAfterMaterial(c1, 0);
    view->OnEditUndo();
    EXPECT_EQ(scene().getMaterial(0), c1);
    EXPECT_FLOAT_EQ(c1->getDiffuse()[0], 0.9f);
}

TEST_F(UndoViewTest, BackgroundAndViewpointSteps) {
    auto* background = static_cast<pnBackground*>(scene().getBackground());
    doc->RecordUndoBeforeBackground(background);
    background->setColor(sgVec4(1, 0, 0, 0));
    doc->RecordUndoAfterBackground(background);
    pnViewpoint* camera = scene().getViewpoint();
    doc->RecordUndoBeforeViewpoint(camera);
    camera->setPosition(0, 0, 100);
    doc->RecordUndoAfterViewpoint(camera);

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().getViewpoint()->getPosition()[2], 906.0f);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_TRUE(near(draw().at(5, 5), kNewSceneBackground, 1));
    view->OnEditRedo();
    EXPECT_TRUE(near(draw().at(5, 5), RGBA{255, 0, 0, 0}, 1));
    view->OnEditRedo();
    EXPECT_FLOAT_EQ(scene().getViewpoint()->getPosition()[2], 100.0f);
}

TEST_F(UndoViewTest, AnEventParentStepHoldsTheLinksAndNothingIsRecordedWithoutAView) {
    addPanel("oldParent");
    addPanel("newParent");
    addPanel("moved", "oldParent");
    pnEvent* moved = scene().findEvent("moved");
    doc->RecordUndoBeforeEventParent(moved);
    moved->setParent("newParent");
    doc->RecordUndoAfterEventParent(moved);
    const CUndoStep* step = doc->GetUndoHistory().Current();
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->m_nKind, UNDO_EVENT_PARENT);
    EXPECT_EQ(step->m_pBefore->m_strParent, "oldParent");
    EXPECT_EQ(step->m_pAfter->m_strParent, "newParent");
    EXPECT_EQ(step->m_pBefore->m_strEvent, "moved");
    doc->RecordUndoBefore(nullptr, UNDO_CHANGE);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    // Opening another scene (or New) clears the history.
    host.answers = {KV_IDNO};
    ASSERT_EQ(view->OnFileNew(), 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 0);
    view.reset();
    pnPanel loose;
    doc->RecordUndoBefore(&loose, UNDO_CHANGE);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 0);
}

// The one edit scope: a step around the change, one redraw once it is made,
// and a scene marked modified; without a document the change is still drawn
// and kept, but nothing is recorded.
TEST_F(UndoViewTest, AnEditScopeIsOneStepDrawnAndMarkedModified) {
    pnPanel* box = addPanel("box");
    view->SetModified(false);
    const int redraws = host.redraws;
    {
        CEditScope edit(*view, box);
        box->setPositionX(30.0f);
        EXPECT_EQ(host.redraws, redraws) << "nothing is drawn before the change is made";
    }
    EXPECT_EQ(host.redraws, redraws + 1);
    EXPECT_EQ(view->m_bModified, 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    auto* background = static_cast<pnBackground*>(scene().getBackground());
    {
        CEditScope edit(*view, background);
        background->setColor(sgVec4(1, 0, 0, 0));
    }
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_TRUE(near(draw().at(5, 5), kNewSceneBackground, 1));
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(x("box"), 0.0f);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FLOAT_EQ(x("box"), 30.0f);

    // A second view without a document becomes the current one: it records
    // nothing, and the document goes on recording through its own view.
    box = static_cast<pnPanel*>(scene().findObject("box"));  // the undo put back a copy
    CKelvanoView lone(nullptr, &host);
    ASSERT_EQ(CurrentView(), &lone);
    EXPECT_EQ(doc->GetView(), view.get());
    {
        CEditScope edit(lone, box);
        box->setPositionX(50.0f);
    }
    EXPECT_EQ(lone.m_bModified, 1);
    EXPECT_TRUE(doc->CanRedo()) << "no step was recorded: the background step can still be redone";
    moveX("box", 70.0f);
    EXPECT_FALSE(doc->CanRedo());
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(x("box"), 50.0f);
}

// A change, a rename-free move and a Cut of objects whose events are named
// otherwise (one a child event) each undo to the very file that was opened.
TEST_F(UndoViewTest, UndoPutsTheObjectBackInPlaceWithTheEventThatShowsIt) {
    const std::string dir = folder();
    const std::string opened = dir + "/order.apn";
    write(opened,
          "scene {\n name \"order\"\n width 580\n height 392\n version 250\n}\n"
          "panel {\n name \"first\"\n position ( -150 0 0 )\n kind \"3D\"\n dimension ( 40 40 4 )\n}\n"
          "panel {\n name \"middle\"\n position ( 0 0 0 )\n kind \"3D\"\n dimension ( 40 40 4 )\n}\n"
          "panel {\n name \"last\"\n position ( 150 0 0 )\n kind \"3D\"\n dimension ( 40 40 4 )\n}\n"
          "event {\n name \"firstShown\"\n objectName \"first\"\n}\n"
          "event {\n name \"middleShown\"\n objectName \"middle\"\n parent \"firstShown\"\n}\n"
          "event {\n name \"lastShown\"\n objectName \"last\"\n}\n");
    view->m_strPendingOpen = opened;
    ASSERT_EQ(view->OnFileOpen(), 1);
    const auto saved = [&](const char* name) {
        const std::string path = dir + "/" + name;
        EXPECT_EQ(scene().save(path.c_str(), 0), 1);
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string original = saved("original.apn");
    ASSERT_NE(original.find("parent\t\"firstShown\""), std::string::npos) << original;

    for (const char* name : {"first", "middle", "last"}) {
        SCOPED_TRACE(name);
        pnObject* object = scene().findObject(name);
        doc->RecordUndoBefore(object, UNDO_CHANGE);
        object->setPositionX(object->getPosition()[0] + 50);
        doc->RecordUndoAfter(object);
        const std::string moved = saved("moved.apn");
        EXPECT_NE(moved, original);
        ASSERT_EQ(view->OnEditUndo(), 1);
        EXPECT_EQ(saved("undone.apn"), original);
        EXPECT_EQ(scene().getNumEvents(), 3);
        ASSERT_EQ(view->OnEditRedo(), 1);
        EXPECT_EQ(saved("redone.apn"), moved);
        ASSERT_EQ(view->OnEditUndo(), 1);
        EXPECT_EQ(doc->m_pSelectedObject, scene().findObject(name));
    }
    // Cut takes the event along; Undo brings both back where they stood.
    view->SelectObject(scene().findObject("first"));
    ASSERT_EQ(view->OnEditCut(), 1);
    EXPECT_EQ(scene().findEvent("firstShown"), nullptr);
    EXPECT_EQ(scene().findEvent("middleShown")->getParent(), "");
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved("uncut.apn"), original);
    EXPECT_NE(scene().findEvent("firstShown")->getNode(), nullptr);
    EXPECT_FALSE(near(draw().at(kDefaultSceneWidth / 2, kDefaultSceneHeight / 2), kNewSceneBackground, 1));
}
