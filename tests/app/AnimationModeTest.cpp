// Animation-mode editing in the view, driven headless: the mode switch, the
// free length, effects made by dragging, the effect editor's apply and the
// time scaling of Timeline Options.
#include "editor/CEffectDialogs.h"
#include "editor/KelvanoIds.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "tests/app/FollowingFrame.h"
#include "tests/app/ViewFixture.h"

namespace {

// The effect editor as the view drives it: each call written down.
class RecordingDialogs : public CEffectDialogs {
public:
    bool Open(int mode, const std::string& name) override { return open[mode] = true, log.push_back("Open" + name), true; }
    bool IsOpen(int mode) const override { return open[mode]; }
    void Focus(int) override {}
    void Destroy(int mode) override { open[mode] = false; }
    void SetMove(int, const sgVec3& v) override { moves.push_back(v); }
    void SetScale(int, const sgVec3&) override {}
    void SetRotate(int, float, const sgVec3&) override {}
    std::string GetPreviewEffectName() override { return "preview"; }
    void RevertEffect() override { log.push_back("Revert"); }
    void LoadEffect(const std::string& n) override { log.push_back("Load" + n); }
    void TakeSavedRotation(float& angle, sgVec3& axis) override {
        angle = 0.0f;
        axis = sgVec3(0, 0, 1);
    }
    void RunModalEditor(const std::string&, int) override {}
    void RunGrowShrink() override {}
    bool open[3] = {false, false, false};
    std::vector<std::string> log;
    std::vector<sgVec3> moves;
};

class AnimationModeTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    pnEvent& plateEvent() { return *scene().findEvent("plate"); }
    // The plate selected in animation mode, at the window's middle.
    void enterWithPlate() {
        addSlantedPlate();
        view->OnCommand(kv::ID_MODE_ANIMATION);
        ASSERT_EQ(view->m_bAnimationMode, 1);
        ASSERT_TRUE(doc->m_pSelectedObject);
        draw();
    }
    void drag(int dx, int dy) {
        const int x = kDefaultSceneWidth / 2, y = kDefaultSceneHeight / 2;
        view->OnLButtonDown(x, y, 0);
        view->OnMouseMove(x + dx / 2, y + dy / 2, 0);
        view->OnMouseMove(x + dx, y + dy, 0);
        view->OnLButtonUp(x + dx, y + dy, 0);
    }
    RecordingFrame frame;
};

}  // namespace

TEST_F(AnimationModeTest, AnEmptySceneStaysInObjectMode) {
    view->OnCommand(kv::ID_MODE_ANIMATION);
    EXPECT_EQ(view->m_bAnimationMode, 0);
    EXPECT_TRUE(frame.callsOf("UpdateBarsForMode").empty());
    addSlantedPlate();
    view->OnCommand(kv::ID_MODE_OBJECT);  // toggles as well
    EXPECT_EQ(view->m_bAnimationMode, 1);
    EXPECT_EQ(frame.callsOf("UpdateBarsForMode"), std::vector<std::string>{"1,plate"});
    view->OnCommand(kv::ID_MODE_ANIMATION);
    EXPECT_EQ(view->m_bAnimationMode, 0);
}

TEST_F(AnimationModeTest, FreeLength) {
    addSlantedPlate();
    struct Case {
        std::vector<std::pair<int, int>> plays;
        int frame, length;
    } cases[] = {
        {{}, 0, 20},
        {{{0, 10}}, 10, 20},               // f taken, f+1 free
        {{{0, 10}, {20, 40}}, 10, 9},      // f, then 12..19 up to the next play
        {{{0, 10}, {11, 30}}, 10, 0},      // both taken
    };
    for (const Case& c : cases) {
        while (plateEvent().getNumPlays()) plateEvent().removePlayAt(0);
        for (auto [s, e] : c.plays) plateEvent().addPlay("x", s, e, 1);
        view->SetCurrentFrame(c.frame);
        host.messages.clear();
        EXPECT_EQ(view->GetFreeEffectLength("plate"), c.length) << c.frame;
        EXPECT_EQ(host.messages.size(), c.length ? 0u : 1u);
    }
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].text,
              "Effect can't be created at current position.\nTime line [10] is already occupied by other effect");
    EXPECT_EQ(host.messages[0].caption, "Effect Creation Error");
}

TEST_F(AnimationModeTest, ADragMakesAnEffectPlayedFromTheCurrentFrame) {
    enterWithPlate();
    view->m_bAxisY = 0;
    drag(60, 0);
    pnEffect* effect = scene().findEffect("effect001");
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->getTrans(), sgVec3(60, 0, 0));
    ASSERT_EQ(plateEvent().getNumPlays(), 1);
    EXPECT_EQ(plateEvent().getPlay(0)->effect, "effect001");
    EXPECT_EQ(plateEvent().getPlay(0)->start, 0);
    EXPECT_EQ(plateEvent().getPlay(0)->end, 20);
    EXPECT_EQ(view->m_nCurrentFrame, 20);
    EXPECT_EQ(doc->GetEffectUse("effect001"), 1);
    EXPECT_EQ(frame.callsOf("AddEffectListName"), std::vector<std::string>{"effect001"});
    EXPECT_EQ(view->m_bModified, 1);
    // The next drag begins on the last frame of this one.
    drag(0, 30);
    ASSERT_TRUE(scene().findEffect("effect002"));
    EXPECT_EQ(plateEvent().getPlay(1)->start, 20);
    EXPECT_EQ(plateEvent().getPlay(1)->end, 40);
}

TEST_F(AnimationModeTest, AnEditorApplyCompensatesTheNextEffect) {
    enterWithPlate();
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    auto* a = new pnEffect;
    a->setName("a");
    a->setTrans(10, 0, 0);
    auto* b = new pnEffect;
    b->setName("b");
    b->setTrans(50, 5, 0);
    scene().addEffect(a);
    scene().addEffect(b);
    plateEvent().addPlay("a", 0, 20, 1);
    plateEvent().addPlay("b", 20, 40, 1);
    view->m_strEditEffectName = "a";
    view->ShowEffectEditor();
    EXPECT_EQ(view->m_nEffectEditMode, 2);
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"Opena"});
    drag(20, 0);  // the editor takes the drag: base 10 + 20
    ASSERT_FALSE(dialogs.moves.empty());
    EXPECT_EQ(dialogs.moves.back()[0], 30.0f);
    a->setTrans(30, 0, 0);  // the editor applies what it showed
    view->OnEffectApplied();
    EXPECT_EQ(b->getTrans(), sgVec3(30, 5, 0));
    EXPECT_EQ(view->m_fBaseMove, sgVec3(30, 0, 0));
    EXPECT_EQ(view->m_nEffectEditMode, 2);
    view->OnEffectDialogClosed();
    EXPECT_EQ(view->m_nEffectEditMode, 0);
    view->SetEffectDialogs(nullptr);
}

TEST_F(AnimationModeTest, TimeScalingKeepsOrderAndEveryMark) {
    addSlantedPlate();
    plateEvent().addPlay("x", 10, 31, 1);
    for (int f : {10, 11, 40}) scene().addPause(f);
    scene().addSound(10, "a.wav");
    scene().addSound(11, "b.wav");
    view->m_bModified = 0;
    view->ScaleSceneTimes(40, 20);
    ASSERT_EQ(scene().getNumPauses(), 3);
    EXPECT_EQ(scene().getPause(0), 5);
    EXPECT_EQ(scene().getPause(1), 6);
    EXPECT_EQ(scene().getPause(2), 20);
    ASSERT_EQ(scene().getNumSounds(), 2);
    EXPECT_EQ(scene().getSound(0).file, "a.wav");
    EXPECT_EQ(scene().getSound(1).frame, 6);
    EXPECT_EQ(plateEvent().getPlay(0)->start, 5);
    EXPECT_EQ(plateEvent().getPlay(0)->end, 15);
    EXPECT_EQ(view->m_bModified, 1);
    view->ScaleSceneTimes(20, 40);
    EXPECT_EQ(scene().getPause(1), 12);
    EXPECT_EQ(scene().getSound(1).frame, 12);
    EXPECT_EQ(plateEvent().getPlay(0)->end, 30);
    view->ScaleSceneTimes(0, 40);  // nothing to scale from
    EXPECT_EQ(plateEvent().getPlay(0)->end, 30);
}

TEST_F(AnimationModeTest, TheCreationDialogTakesTheDragAndItsApplyPlaysTheEffect) {
    enterWithPlate();
    view->OnCommand(kv::ID_ADD_EFFECT);
    EXPECT_EQ(view->m_nEffectEditMode, 0) << "nothing to open without the effect dialogs";
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    view->OnCommand(kv::ID_ADD_EFFECT);
    ASSERT_EQ(view->m_nEffectEditMode, 1);
    view->m_bAxisY = 0;
    drag(40, 0);
    ASSERT_EQ(plateEvent().getNumPlays(), 1) << "the preview plays while the dialog is open";
    EXPECT_EQ(plateEvent().getPlay(0)->effect, "preview");
    EXPECT_EQ(dialogs.moves.back(), sgVec3(40, 0, 0));
    EXPECT_FALSE(scene().findEffect("effect001")) << "the dialog, not the drag, makes the effect";
    view->m_strNewEffectName = "made";
    view->OnEffectApplied();
    ASSERT_EQ(plateEvent().getNumPlays(), 1);
    EXPECT_EQ(plateEvent().getPlay(0)->effect, "made");
    EXPECT_EQ(plateEvent().getPlay(0)->end, 20);
    EXPECT_EQ(view->m_nCurrentFrame, 20);
    EXPECT_EQ(doc->GetEffectUse("made"), 1);
    EXPECT_EQ(view->m_nEffectEditMode, 0);
    view->SetEffectDialogs(nullptr);
}

TEST_F(AnimationModeTest, AnEffectMadeWithoutADragIsSavedWorkAndShowsInTheEventTree) {
    enterWithPlate();
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    view->OnCommand(kv::ID_ADD_EFFECT);
    ASSERT_EQ(view->m_nEffectEditMode, 1);
    // What the dialog's OK does with typed values: the effect, then the apply.
    auto* typed = new pnEffect;
    typed->setName("typed");
    typed->setTrans(sgVec3(5, 0, 0));
    ASSERT_TRUE(scene().addEffect(typed));
    view->m_strNewEffectName = "typed";
    view->m_bModified = 0;
    frame.calls.clear();
    view->OnEffectApplied();
    ASSERT_EQ(plateEvent().getNumPlays(), 1);
    EXPECT_EQ(view->m_bModified, 1);
    EXPECT_EQ(frame.callsOf("UpdateEventTreeEffects"), std::vector<std::string>{"plate"});
    EXPECT_EQ(frame.callsOf("UpdateTimeLineEventRowAndSelect"), std::vector<std::string>{"plate,typed"});
    // So New asks before the effect goes.
    host.answers = {KV_IDCANCEL};
    EXPECT_EQ(view->OnFileNew(), 0);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "Save changes?");
    view->SetEffectDialogs(nullptr);

    // A drag's effect reaches the tree too.
    frame.calls.clear();
    view->m_bAxisY = 0;
    drag(30, 0);
    EXPECT_EQ(frame.callsOf("UpdateEventTreeEffects"), std::vector<std::string>{"plate"});
}

namespace {

// A drag that starts on empty space moves the selection's effect.
void dragSelection(CKelvanoView& view, int dx) {
    view.OnLButtonDown(3, 3, 0);
    view.OnMouseMove(3 + dx / 2, 3, 0);
    view.OnMouseMove(3 + dx, 3, 0);
    view.OnLButtonUp(3 + dx, 3, 0);
}

}  // namespace

// The shipped scenes lead with the camera's and the four lights' events (the
// time line's fixed rows) and show each object through an event of its name,
// so every object of every sample takes a new effect.
TEST_F(AnimationModeTest, EverySampleTakesAnEffectOnEveryObject) {
    const std::string source = std::getenv("KELVANO_SOURCE_DIR");
    app.InitFolders(source + "/data");
    app.InitSceneServices();
    for (const char* sample : {"titles", "counter", "barchart", "linechart", "pie", "pyramid", "allcharts"}) {
        SCOPED_TRACE(sample);
        view->m_bModified = 0;
        view->m_strPendingOpen = source + "/data/scenes/" + sample + ".apn";
        ASSERT_EQ(view->OnFileOpen(), 1);
        ASSERT_GE(scene().getNumEvents(), 5);
        EXPECT_EQ(scene().getEvent(0)->getName(), "Camera");
        for (int i = 0; i < 4; ++i) EXPECT_EQ(scene().getEvent(i + 1)->getName(), scene().getLight(i)->getName());
        if (!view->m_bAnimationMode) view->OnCommand(kv::ID_MODE_ANIMATION);
        ASSERT_EQ(view->m_bAnimationMode, 1);
        view->m_bAxisY = 0;
        for (int i = 0; i < scene().getNumObjects(); ++i) {
            pnObject* object = scene().getObject(i);
            pnEvent* event = scene().findEvent(object->getName().c_str());
            ASSERT_TRUE(event) << object->getName();
            const int plays = event->getNumPlays();
            view->GoToFrame(scene().getLastEventFrame() + 1);
            view->SelectObject(object);
            dragSelection(*view, 40);
            ASSERT_EQ(event->getNumPlays(), plays + 1) << object->getName();
            const pnEffect* made = scene().findEffect(event->getPlay(plays)->effect.c_str());
            ASSERT_TRUE(made);
            EXPECT_EQ(made->getTrans(), sgVec3(40, 0, 0));
        }
        EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
    }
}

// A scene made without events of its objects' names says why no effect can
// be added, rather than doing nothing.
TEST_F(AnimationModeTest, ASceneWithoutItsObjectsEventsSaysWhyNoEffectIsAdded) {
    const std::string path = folder() + "/old.apn";
    write(path,
          "scene {\n name \"old\"\n version 250\n}\n"
          "panel {\n name \"plate\"\n dimension ( 100 60 10 )\n}\n"
          "event {\n name \"plateEvent\"\n objectName \"plate\"\n}\n");
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    view->OnCommand(kv::ID_MODE_ANIMATION);
    view->SelectObject(scene().findObject("plate"));
    host.messages.clear();
    dragSelection(*view, 40);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Effect Creation Error");
    EXPECT_NE(host.messages[0].text.find("No event is named \"plate\""), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(scene().getNumEffects(), 0);
    // Add Effect says the same.
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    view->OnCommand(kv::ID_ADD_EFFECT);
    EXPECT_EQ(view->m_nEffectEditMode, 0);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_FALSE(dialogs.open[1]);
    view->SetEffectDialogs(nullptr);
}

// "Creating Effect" OK plays the effect from the frame that stands at OK, for
// the length free there: the time line may have moved the frame since Add
// Effect. A taken frame is refused and cuts no neighbour short.
TEST_F(AnimationModeTest, CreationOkTakesTheLengthFreeAtTheFrameOfOk) {
    enterWithPlate();
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    plateEvent().addPlay("x", 0, 20, 1);
    plateEvent().addPlay("y", 20, 40, 1);
    view->GoToFrame(40);
    view->OnCommand(kv::ID_ADD_EFFECT);
    ASSERT_EQ(view->m_nEffectEditMode, 1);
    EXPECT_EQ(view->m_nNewEffectLength, 20);
    view->m_bAxisY = 0;
    drag(30, 0);  // the preview plays at 40
    view->GoToFrame(0);  // the time line's go-to-start
    host.messages.clear();
    // What the dialog's OK asks first.
    EXPECT_EQ(view->TakeNewEffectLength("plate"), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Effect Creation Error");
    EXPECT_EQ(plateEvent().getPlay(0)->end, 20);
    EXPECT_EQ(plateEvent().getPlay(1)->start, 20);
    // Nearer the next play than Add Effect was: a shorter play.
    plateEvent().addPlay("z", 60, 80, 1);
    view->GoToFrame(50);
    EXPECT_EQ(view->TakeNewEffectLength("plate"), 9);
    view->m_strCreateEventName = "plate";
    view->m_strNewEffectName = "made";
    view->OnEffectApplied();
    std::vector<std::string> plays;
    for (int i = 0; i < plateEvent().getNumPlays(); ++i) {
        const pnEventPlay* p = plateEvent().getPlay(i);
        plays.push_back(p->effect + " " + std::to_string(p->start) + "-" + std::to_string(p->end));
    }
    EXPECT_EQ(plays, (std::vector<std::string>{"x 0-20", "y 20-40", "made 50-59", "z 60-80"}));
    view->SetEffectDialogs(nullptr);
}

// After an Apply in the editor the next drag goes on from the applied values,
// whether or not a play follows; a next effect that other plays share gets a
// copy of its own to compensate, and the others keep theirs.
TEST_F(AnimationModeTest, EditorApplyIsTheBaseOfTheNextDragAndCompensatesOnlyThisPlay) {
    enterWithPlate();
    RecordingDialogs dialogs;
    view->SetEffectDialogs(&dialogs);
    auto* a = new pnEffect;
    a->setName("a");
    a->setTrans(10, 0, 0);
    auto* b = new pnEffect;
    b->setName("b");
    b->setTrans(50, 5, 0);
    scene().addEffect(a);
    scene().addEffect(b);
    plateEvent().addPlay("a", 0, 20, 1);
    view->m_strEditEffectName = "a";
    view->ShowEffectEditor();
    view->m_bAxisY = 0;
    drag(20, 0);
    ASSERT_EQ(dialogs.moves.back(), sgVec3(30, 0, 0));
    a->setTrans(30, 0, 0);  // the editor applies what it shows
    view->OnEffectApplied();  // a is the last play: nothing to compensate
    drag(10, 0);
    EXPECT_EQ(dialogs.moves.back(), sgVec3(40, 0, 0)) << "the drag starts from the applied move";
    a->setTrans(40, 0, 0);

    // b follows a here and plays on another object too.
    plateEvent().addPlay("b", 20, 40, 1);
    auto* other = new pnPanel;
    other->setName("other");
    other->setDimension(40, 40, 10);
    ASSERT_TRUE(scene().addObject(other));
    auto* otherEvent = new pnEvent;
    otherEvent->setName("other");
    otherEvent->addObjectName("other");
    otherEvent->addPlay("b", 0, 20, 1);
    ASSERT_TRUE(scene().addEvent(otherEvent));
    doc->m_effectUses = {{"a", 1}, {"b", 2}};
    view->OnEffectApplied();  // the move went from 30 to 40
    ASSERT_EQ(plateEvent().getNumPlays(), 2);
    const std::string own = plateEvent().getPlay(1)->effect;
    EXPECT_NE(own, "b");
    ASSERT_TRUE(scene().findEffect(own.c_str()));
    EXPECT_EQ(scene().findEffect(own.c_str())->getTrans(), sgVec3(40, 5, 0));
    EXPECT_EQ(b->getTrans(), sgVec3(50, 5, 0)) << "the other object's play keeps its effect";
    EXPECT_EQ(otherEvent->getPlay(0)->effect, "b");
    EXPECT_EQ(doc->GetEffectUse("b"), 1);
    EXPECT_EQ(doc->GetEffectUse(own), 1);
    // Now only this play has it: the next Apply compensates it in place.
    a->setTrans(45, 0, 0);
    view->OnEffectApplied();
    EXPECT_EQ(plateEvent().getPlay(1)->effect, own);
    EXPECT_EQ(scene().findEffect(own.c_str())->getTrans(), sgVec3(35, 5, 0));
    view->OnEffectDialogClosed();
    view->SetEffectDialogs(nullptr);
}

// A time line row selects the object of its own name, not the first whose
// name begins with it.
TEST_F(AnimationModeTest, ARowSelectsTheObjectOfItsOwnName) {
    for (const char* name : {"Text001", "Text"}) {
        auto* panel = new pnPanel;
        panel->setName(name);
        panel->setDimension(40, 40, 10);
        ASSERT_TRUE(scene().addObject(panel));
    }
    view->SelectInObjectChooser("Text");
    ASSERT_TRUE(doc->m_pSelectedObject);
    EXPECT_EQ(doc->m_pSelectedObject->getName(), "Text");
    view->SelectInObjectChooser("Text0");
    EXPECT_EQ(doc->m_pSelectedObject->getName(), "Text001");
}

namespace {

// The view with the time line as the program wires it: its model on the
// program's own host, the effect dialogs as their models.
class TimeLinePlusETest : public FollowingViewTest {
protected:
    std::string selected() const { return doc->m_pSelectedObject ? doc->m_pSelectedObject->getName() : ""; }
    // A scene made before events were named after their objects, but for the
    // card's: the plate's event is "plateEvent". In animation mode.
    void openOldScene() {
        const std::string path = folder() + "/old.apn";
        std::string text = "scene {\n name \"old\"\n version 250\n}\n"
                           "panel {\n name \"plate\"\n dimension ( 100 60 10 )\n}\n"
                           "panel {\n name \"card\"\n dimension ( 60 60 10 )\n position ( 0 100 0 )\n}\n"
                           "event {\n name \"Camera\"\n}\n";
        for (int i = 0; i < 4; ++i) text += "event {\n name \"Light" + std::to_string(i) + "\"\n}\n";
        text += "event {\n name \"plateEvent\"\n objectName \"plate\"\n}\n"
                "event {\n name \"card\"\n objectName \"card\"\n}\n";
        write(path, text);
        view->m_strPendingOpen = path;
        ASSERT_EQ(view->OnFileOpen(), 1);
        view->OnCommand(kv::ID_MODE_ANIMATION);
        ASSERT_EQ(view->m_bAnimationMode, 1);
        ASSERT_EQ(frame.timeLine.RowCount(), 9);
        ASSERT_EQ(frame.timeLine.Rows()[7].name, "plateEvent");
        host.messages.clear();
    }
};

}  // namespace

// +E on an object row of the time line acts on that row's object only. A row
// whose event names no object selects nothing: +E says why, rather than act
// on the object selected before.
TEST_F(TimeLinePlusETest, PlusEOnARowWhoseEventNamesNoObjectSaysWhy) {
    openOldScene();
    CTimeLineModel& timeLine = frame.timeLine;
    timeLine.Press(8, 0, false);
    EXPECT_EQ(selected(), "card");
    timeLine.Press(7, 0, false);
    EXPECT_EQ(selected(), "card");
    timeLine.AddEntry();
    EXPECT_EQ(view->m_nEffectEditMode, 0) << "+E on the plate's row made an effect for " << view->m_strCreateEventName;
    EXPECT_FALSE(dialogs->IsOpen(1));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Effect Creation Error");
    EXPECT_NE(host.messages[0].text.find("\"plateEvent\""), std::string::npos) << host.messages[0].text;
}

// The card's row, then the plate chosen in the chooser: the row stays on the
// card (no row is the plate's), and +E on it is the card's.
TEST_F(TimeLinePlusETest, PlusEOnARowActsOnItsObjectWhateverTheChooserHolds) {
    openOldScene();
    CTimeLineModel& timeLine = frame.timeLine;
    timeLine.Press(8, 0, false);
    view->OnObjectChosen("plate");
    ASSERT_EQ(selected(), "plate");
    ASSERT_EQ(timeLine.SelectedRow(), 8);
    timeLine.AddEntry();
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
    EXPECT_EQ(view->m_nEffectEditMode, 1);
    EXPECT_EQ(view->m_strCreateEventName, "card");
    EXPECT_EQ(selected(), "card");
    EXPECT_TRUE(dialogs->IsOpen(1));
}
