// The windows that follow the view, against the commands that move it on.
// Every modeless window (through the model that holds its part of the scene)
// and every page and bar meets every command that replaces the scene, changes
// the selection, applies an undo step or switches the mode: after the command
// the window has closed or shows the view's state, and nothing it still does
// reaches the scene. The run is clean under the sanitizers. A window or a
// command joins the matrix by one line of its table. Grow/Shrink and the
// camera and light editors are modal: no command runs while they are open,
// so they have no row. The View Width bar holds nothing of its own: it shows
// the preset camera's width only while a preset is on, is set each time it
// shows, and New, Open and a dropped file switch the preset off first.
#include "editor/CEditScope.h"
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "tests/app/FollowingFrame.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/SavedText.h"
#include "tests/support/TempDir.h"
#include "ui/animation/CEffectDialogModels.h"
#include "ui/animation/CEffectListModel.h"
#include "ui/properties/rules/CMaterialChooserLogic.h"
#include "ui/properties/rules/CTextureWindowModel.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

namespace {

class PanelCreator : public CObjectCreator {
public:
    explicit PanelCreator(CKelvanoView* view) : m_pView(view) {}
    bool RunDialog() override { return true; }
    std::string CreateObject() override {
        auto panel = std::make_unique<pnPanel>();
        panel->setName("Added");
        panel->setDimension(40, 40, 4);
        pnObject* made = m_pView->InsertNewObject(std::move(panel));
        return made ? made->getName() : std::string();
    }

private:
    CKelvanoView* m_pView;
};

class FollowersTest;

// A window open with a change pending while the command runs.
struct Follower {
    virtual ~Follower() = default;
    // After the command: closed, or showing the view's state.
    virtual void Check(FollowersTest& t) = 0;
    // What the window can still be made to do; it must reach nothing.
    virtual void Later(FollowersTest&) {}
};

struct WindowRow {
    const char* name;
    bool animation;  // opened in animation mode, else in object mode
    std::function<std::unique_ptr<Follower>(FollowersTest&)> open;
};

struct CommandRow {
    const char* name;
    bool inObjectMode, inAnimationMode;
    std::function<void(FollowersTest&)> run;
    bool undone = false;  // wants a step undone first (Redo)
};

class FollowersTest : public GLTest {
public:
    FollowersTest() : GLTest(kDefaultSceneWidth, kDefaultSceneHeight) {}

    // A fresh program on the first scene, A selected, in the window's mode,
    // with a step on B (undone when the command wants one) and B copied.
    // A document, its view and the windows that follow it, nothing open.
    void MakeProgram() {
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        host = std::make_unique<RecordingHost>();
        frame = std::make_unique<FollowingFrame>();
        host->frame = frame.get();
        view = std::make_unique<CKelvanoView>(doc.get(), host.get());
        dialogs = std::make_unique<ModelEffectDialogs>(view.get());
        view->SetEffectDialogs(dialogs.get());
    }

    void Start(bool animation, const CommandRow& command) {
        MakeProgram();
        creator = std::make_unique<PanelCreator>(view.get());
        view->SetObjectCreator(kv::ID_ADD_PANEL, creator.get());
        GLFormatInfo format;
        format.alphaBits = 8;
        view->OnCreate(format);
        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
        view->m_strPendingOpen = first;
        ASSERT_EQ(view->OnFileOpen(), 1);
        if (animation) view->OnToggleMode();
        ASSERT_EQ(view->m_bAnimationMode, animation ? 1 : 0);
        view->OnObjectChosen("B");
        if (!animation) {
            ASSERT_EQ(view->OnEditCopy(), 1);
        }
        {
            CEditScope edit(*view, scene().findObject("B"));
            scene().findObject("B")->setPositionY(30);
        }
        if (command.undone) {
            ASSERT_EQ(view->OnEditUndo(), 1);
        }
        view->OnObjectChosen("A");
        ASSERT_EQ(selected(), "A");
        view->OnDraw();
    }
    void Finish() {
        followers.clear();
        if (view) view->SetEffectDialogs(nullptr);
        dialogs.reset();
        view.reset();
        creator.reset();
        frame.reset();
        host.reset();
        doc.reset();
    }

    pnScene& scene() { return *view->GetScene(); }
    std::string selected() const {
        return doc->m_pSelectedObject ? doc->m_pSelectedObject->getName() : std::string();
    }
    // A window point that picks the object, found along the middle row.
    std::pair<int, int> PointOn(const std::string& name) {
        view->OnDraw();
        const int y = kDefaultSceneHeight / 2;
        for (int x = 0; x < kDefaultSceneWidth; x += 3) {
            pnObject* chart = nullptr;
            pnObject* hit = scene().pickObject(sceneChannel, x, y, 4, 4, &chart);
            if (hit && hit->getName() == name) return {x + 6, y};
        }
        ADD_FAILURE() << name << " is not on screen";
        return {0, 0};
    }
    void Click(const std::string& name, int modifiers = 0) {
        const auto [x, y] = PointOn(name);
        view->OnLButtonDown(x, y, modifiers);
        view->OnLButtonUp(x, y, modifiers);
    }
    void Drag(const std::string& name, int dx) {
        const auto [x, y] = PointOn(name);
        view->OnLButtonDown(x, y, 0);
        view->OnMouseMove(x + dx / 2, y, 0);
        view->OnMouseMove(x + dx, y, 0);
        view->OnLButtonUp(x + dx, y, 0);
    }
    // The scene as a save writes it.
    std::string SavedText() {
        const std::string path = dir + "/now.apn";
        EXPECT_EQ(scene().save(path.c_str(), 0), 1);
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Two scenes with the same effect name, a step apart in every setting a
    // page shows: the first orthographic, the other perspective.
    void MakeScenes() {
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        host = std::make_unique<RecordingHost>();
        view = std::make_unique<CKelvanoView>(doc.get(), host.get());
        view->OnCreate(GLFormatInfo());
        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
        auto make = [&](const std::string& path, const char* a, const char* b, float move, int perspective) {
            for (auto [name, x] : {std::pair{a, -80.0f}, std::pair{b, 80.0f}}) {
                auto panel = std::make_unique<pnPanel>();
                panel->setName(name);
                panel->setMaterial("Color18");
                panel->setDimension(100, 100, 10);
                panel->setPosition(x, 0, 0);
                ASSERT_NE(view->InsertNewObject(std::move(panel)), nullptr);
            }
            auto* effect = new pnEffect;
            effect->setName("effect001");
            effect->setTrans(sgVec3(move, 0, 0));
            ASSERT_TRUE(scene().addEffect(effect));
            scene().findEvent(a)->addPlay("effect001", 0, 20, 1);
            pnViewpoint* camera = scene().getViewpoint();
            camera->perspective = perspective;
            camera->width = perspective ? 1000.0f : 300.0f;
            camera->fov = perspective ? 45.0f : 30.0f;
            view->m_strPathName = path;
            ASSERT_EQ(view->WriteScene(), 1);
        };
        make(first, "A", "B", 5.0f, 0);
        host->answers.push_back(KV_IDNO);
        ASSERT_EQ(view->OnFileNew(), 1);
        make(other, "C", "D", 7.0f, 1);
        view.reset();
        host.reset();
        doc.reset();
    }

    RecordingAppState app;
    TempDir temp;
    std::string dir = temp.path();
    std::string first = dir + "/first.apn", other = dir + "/other.apn";
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<RecordingHost> host;
    std::unique_ptr<FollowingFrame> frame;
    std::unique_ptr<CKelvanoView> view;
    std::unique_ptr<ModelEffectDialogs> dialogs;
    std::unique_ptr<PanelCreator> creator;
    std::vector<std::unique_ptr<Follower>> followers;
};

// ---- the windows ----

// A texture window on A: its values changed, its Move tool on.
struct TextureWindow : Follower {
    TextureWindow(FollowersTest& t, int kind) : model(kind) {
        model.Open(*t.view, *t.doc->m_pSelectedObject);
        model.m_strPath = "wood.png";
        model.m_nMapping = 3;
        model.SetTool(CTextureWindowModel::kMove, true);
        EXPECT_EQ(t.view->m_bTexMoveDrag, 1);
    }
    void Check(FollowersTest& t) override {
        EXPECT_FALSE(model.IsOpen());
        EXPECT_EQ(t.view->m_bTexMoveDrag + t.view->m_bTexScaleDrag + t.view->m_bTexRotateDrag, 0) << "the tool is off";
        // Keys move the selection itself again.
        pnObject* now = t.doc->m_pSelectedObject;
        if (!now || t.view->m_bAnimationMode || t.view->m_bShiftClick || !t.doc->m_selectedObjects.empty()) return;
        const float x = now->getPosition()[0];
        t.view->OnKeyDown(KV_KEY_RIGHT);
        EXPECT_FLOAT_EQ(now->getPosition()[0], x + 10.0f) << "the object moves, not its texture";
    }
    void Later(FollowersTest&) override {
        model.Apply();
        model.SetTerms(0.3f, 0.4f);
        model.Reset();
        model.Close();
    }
    CTextureWindowModel model;
};

// "Creating Effect" on A with two drags previewed.
struct CreatingEffect : Follower {
    explicit CreatingEffect(FollowersTest& t) {
        // Past A's play: the time line has room there.
        t.view->SetCurrentFrame(30);
        t.view->OnCreateEffect();
        EXPECT_TRUE(t.dialogs->IsOpen(1));
        t.Drag("A", 20);
        t.Drag("A", 20);
        EXPECT_TRUE(t.scene().findEffect("istempeffect001"));
    }
    void Check(FollowersTest& t) override {
        EXPECT_FALSE(t.dialogs->IsOpen(1));
        EXPECT_EQ(t.view->m_nEffectEditMode, 0);
        EXPECT_EQ(t.view->m_bDialogPlayAdded, 0);
        for (int i = 0; i < t.scene().getNumEffects(); ++i)
            EXPECT_EQ(t.scene().getEffect(i)->getName().rfind("istempeffect", 0), std::string::npos);
        for (int i = 0; i < t.scene().getNumEvents(); ++i)
            for (int p = 0; p < t.scene().getEvent(i)->getNumPlays(); ++p)
                EXPECT_EQ(t.scene().getEvent(i)->getPlay(p)->effect.rfind("istempeffect", 0), std::string::npos)
                    << "no preview play in " << t.scene().getEvent(i)->getName();
    }
    void Later(FollowersTest& t) override {
        t.dialogs->creating->Applied("late", false);
        t.dialogs->creating->Cancel();
        EXPECT_EQ(t.dialogs->creating->Preview(), nullptr);
    }
};

// The Effect Editor on A's effect001, a drag written into it.
struct EffectEditor : Follower {
    explicit EffectEditor(FollowersTest& t) {
        t.view->m_strEditEventName = "A";
        t.view->m_strEditEffectName = "effect001";
        t.view->m_nEditPlayIndex = 0;
        t.view->ShowEffectEditor();
        EXPECT_TRUE(t.dialogs->IsOpen(2));
        t.dialogs->SetMove(2, sgVec3(0, 9, 0));
        EXPECT_FLOAT_EQ(t.scene().findEffect("effect001")->getTrans()[1], 9.0f);
    }
    void Check(FollowersTest& t) override {
        EXPECT_FALSE(t.dialogs->IsOpen(2));
        EXPECT_EQ(t.view->m_nEffectEditMode, 0);
        // Each scene's effect001 keeps what its file holds: the other scene's
        // moves by 7, the first one's by 5.
        if (const pnEffect* e = t.scene().findEffect("effect001")) {
            const float x = t.scene().findObject("C") ? 7.0f : 5.0f;
            EXPECT_FLOAT_EQ(e->getTrans()[0], x);
            EXPECT_FLOAT_EQ(e->getTrans()[1], 0.0f);
        }
    }
    void Later(FollowersTest& t) override {
        CEffectEditorModel& editor = *t.dialogs->editor;
        editor.MarkChanged(CEffectEditorModel::kMove);
        const std::string color = "Color1";
        editor.Apply(sgVec3(0, 4, 0), sgVec3(1, 1, 1), 0.0f, sgVec3(0, 1, 0), &color);
        editor.SetMove(sgVec3(0, 3, 0));
        editor.Close();
    }
};

// The Edit Box's object page and the Transformation bar: the page of the
// selection (or the empty one), edits unlocked in object mode with a
// selection, locked without one.
struct PageAndTransformation : Follower {
    explicit PageAndTransformation(FollowersTest& t) {
        t.frame->pageObject = "-";
        t.frame->calls.clear();
    }
    void Check(FollowersTest& t) override {
        EXPECT_EQ(t.frame->pageObject, t.selected());
        std::string lock;
        for (const auto& [name, args] : t.frame->calls)
            if (name == "LockTransformEdits" || name == "UnlockTransformEdits") lock = name;
        if (t.selected().empty()) {
            EXPECT_EQ(lock, "LockTransformEdits");
        } else if (!t.view->m_bAnimationMode) {
            EXPECT_EQ(lock, "UnlockTransformEdits");
        }
    }
};

// The tool bar's object chooser shows the selection's name (a new object's
// too: its name is in the chooser before it is selected).
struct ObjectChooser : Follower {
    explicit ObjectChooser(FollowersTest& t) { t.frame->calls.clear(); }
    void Check(FollowersTest& t) override {
        if (t.selected().empty()) return;
        EXPECT_FALSE(t.frame->callsOf("SelectObjectChooserName").empty());
        EXPECT_EQ(t.frame->chooserShown, t.selected());
    }
};

// The Camera and Light pages show what a page loaded now would.
struct CameraAndLightPages : Follower {
    explicit CameraAndLightPages(FollowersTest& t) {
        t.frame->camera.LoadViewpoint();
        EXPECT_EQ(t.frame->camera.Controls().width, 300);
    }
    void Check(FollowersTest& t) override {
        CCameraPageLogic fresh;
        fresh.LoadViewpoint();
        const CameraPageControls& shown = t.frame->camera.Controls();
        EXPECT_EQ(shown.perspective, fresh.Controls().perspective);
        EXPECT_EQ(shown.width, fresh.Controls().width) << "the width slider";
        EXPECT_EQ(shown.fov, fresh.Controls().fov) << "the field of view slider";
        CLightPageLogic light;
        light.InitSceneLights(1);
        if (t.frame->light.Current() >= 0) light.ShowLight(t.frame->light.Current());
        EXPECT_EQ(t.frame->light.Controls().swatch, light.Controls().swatch);
        EXPECT_EQ(t.frame->light.Controls().intensity, light.Controls().intensity);
    }
};

// The time line's rows are the scene's events at the view's frame.
struct TimeLine : Follower {
    explicit TimeLine(FollowersTest& t) {
        t.view->SetCurrentFrame(12);
        t.frame->timeLine.SetCurrentFrame(12);
    }
    void Check(FollowersTest& t) override {
        if (!t.view->m_bAnimationMode) return;
        const CTimeLineModel& m = t.frame->timeLine;
        ASSERT_EQ(m.RowCount(), t.scene().getNumEvents() + 2);
        for (int i = 0; i < t.scene().getNumEvents(); ++i) EXPECT_EQ(m.Rows()[i + 2].name, t.scene().getEvent(i)->getName());
        EXPECT_EQ(m.CurrentFrame(), t.view->m_nCurrentFrame);
    }
};

// The event tree holds the scene's events.
struct EventTree : Follower {
    explicit EventTree(FollowersTest&) {}
    void Check(FollowersTest& t) override {
        if (!t.view->m_bAnimationMode) return;
        std::vector<std::string> shown = t.frame->tree.EventOrder(), events;
        for (int i = 0; i < t.scene().getNumEvents(); ++i) events.push_back(t.scene().getEvent(i)->getName());
        std::sort(shown.begin(), shown.end());
        std::sort(events.begin(), events.end());
        EXPECT_EQ(shown, events);
    }
};

// The Effect List (its window's model, filled by the frame) with a move typed
// for the first scene's effect001 and not yet applied.
struct EffectList : Follower {
    explicit EffectList(FollowersTest& t) : view(t.view.get()), list(t.frame->effectList) {
        // The main frame hands the list what it hears from the view.
        view->AddListener(&list);
        list.Fill();
        const auto& names = list.Names();
        const auto at = std::find(names.begin(), names.end(), "effect001");
        EXPECT_NE(at, names.end());
        EXPECT_TRUE(list.Select(static_cast<int>(at - names.begin())));
        EXPECT_TRUE(list.MarkChanged(CEffectListModel::kMove));
    }
    ~EffectList() override { view->RemoveListener(&list); }
    static bool FirstScene(FollowersTest& t) { return t.scene().getName() == "first"; }
    void Check(FollowersTest& t) override {
        std::vector<std::string> effects;
        for (int i = 0; i < t.scene().getNumEffects(); ++i) effects.push_back(t.scene().getEffect(i)->getName());
        EXPECT_EQ(list.Names(), effects) << "the list shows another scene's effects";
        if (!FirstScene(t)) {
            EXPECT_EQ(list.Selected(), -1);
            EXPECT_FALSE(list.AnyChanged()) << "a value typed for the old scene waits for the new one";
        } else if (list.Selected() >= 0) {
            EXPECT_EQ(list.SelectedName(), "effect001");
        }
    }
    void Later(FollowersTest& t) override {
        pnEffect* own = FirstScene(t) ? t.scene().findEffect("effect001") : nullptr;
        const sgVec3 was = own ? own->getTrans() : sgVec3(0, 0, 0);
        const bool applied = list.Apply(sgVec3(0, 4, 0), sgVec3(1, 1, 1), 0.0f, sgVec3(0, 1, 0), false);
        if (!own) {
            EXPECT_FALSE(applied);
            return;
        }
        // In its own scene the typed move is the list's work on its own
        // effect: taken back here, the rest of the scene must be as it was.
        if (applied) {
            EXPECT_EQ(own->getTrans(), sgVec3(0, 4, 0));
            own->setTrans(was);
        }
    }
    CKelvanoView* view;
    CEffectListModel& list;
};

// The property bar's material chooser ("Color"), shown for A's page with
// another material clicked and not yet chosen. The page it serves gives the
// chosen material to the object it shows.
struct MaterialChooser : Follower, CMaterialChooserUi {
    explicit MaterialChooser(FollowersTest& t) : test(t) {
        const pnObject& a = *t.doc->m_pSelectedObject;
        logic.SetOwner(true, 1474);
        logic.SetCurrentMaterial(t.scene().findMaterialIndex(a.getMaterialName().c_str()));
        shown = true;
        EXPECT_TRUE(logic.Click(2, 2));
        EXPECT_NE(t.scene().getMaterial(logic.GetMaterialIndex())->getName(), a.getMaterialName());
    }
    void Check(FollowersTest&) override {
        EXPECT_FALSE(shown) << "the chooser stays on screen";
        EXPECT_FALSE(logic.HasOwner()) << "the chooser still serves the page";
    }
    void Later(FollowersTest&) override {
        logic.Choose();
        logic.OnEnterKey(false);
        EXPECT_EQ(chosen, 0);
    }
    void HideChooser() override { shown = false; }
    void ShowChooser() override { shown = true; }
    bool RunSimpleEditor(MaterialEditValues&) override { return false; }
    bool RunDetailedEditor(MaterialEditValues&) override { return false; }
    void NotifyOwner(int message, int, int index) override {
        pnObject* object = test.doc->m_pSelectedObject;
        const pnMaterial* m = test.scene().getMaterial(index);
        if (message != WM_MATERIAL_CHOSEN || !object || !m) return;
        ++chosen;
        CEditScope edit(*test.view, object);
        object->setMaterial(m->getName().c_str());
    }
    void RefreshChooser() override {}

    FollowersTest& test;
    CMaterialChooserLogic logic{*this};
    bool shown = false;
    int chosen = 0;
};

// The Object List bar lists the scene's objects and ticks the selection.
struct ObjectList : Follower {
    explicit ObjectList(FollowersTest&) {}
    void Check(FollowersTest& t) override {
        std::vector<std::string> objects;
        for (int i = 0; i < t.scene().getNumObjects(); ++i) objects.push_back(t.scene().getObject(i)->getName());
        std::sort(objects.begin(), objects.end());
        EXPECT_EQ(t.frame->objectList, objects);
        std::set<std::string> selection;
        for (const pnObject* o : t.doc->m_selectedObjects) selection.insert(o->getName());
        if (t.doc->m_pSelectedObject) selection.insert(t.doc->m_pSelectedObject->getName());
        if (!t.view->m_bShiftClick) {
            EXPECT_EQ(t.frame->ticked, selection);
            return;
        }
        // A Shift+click that starts a selection together leaves the object
        // selected before it ticked as well.
        for (const std::string& name : selection) EXPECT_EQ(t.frame->ticked.count(name), 1u) << name;
    }
};

template <class T, class... Args>
std::function<std::unique_ptr<Follower>(FollowersTest&)> opens(Args... args) {
    return [args...](FollowersTest& t) { return std::make_unique<T>(t, args...); };
}

const WindowRow kWindows[] = {
    {"text texture window", false, opens<TextureWindow>(1)},
    {"counter texture window", false, opens<TextureWindow>(2)},
    {"model texture window", false, opens<TextureWindow>(3)},
    {"panel texture window", false, opens<TextureWindow>(4)},
    {"Creating Effect", true, opens<CreatingEffect>()},
    {"Effect Editor", true, opens<EffectEditor>()},
    {"object page and Transformation bar", false, opens<PageAndTransformation>()},
    {"object page in animation mode", true, opens<PageAndTransformation>()},
    {"object chooser", false, opens<ObjectChooser>()},
    {"object chooser in animation mode", true, opens<ObjectChooser>()},
    {"Camera and Light pages", false, opens<CameraAndLightPages>()},
    {"Camera and Light pages in animation mode", true, opens<CameraAndLightPages>()},
    {"time line", true, opens<TimeLine>()},
    {"event tree", true, opens<EventTree>()},
    {"Effect List", true, opens<EffectList>()},
    {"Effect List in object mode", false, opens<EffectList>()},
    {"material chooser", false, opens<MaterialChooser>()},
    {"material chooser in animation mode", true, opens<MaterialChooser>()},
    {"Object List", false, opens<ObjectList>()},
};

// ---- the commands ----

const CommandRow kCommands[] = {
    // The scene that comes in is as its file (or as new): what the windows
    // took back went with the old one.
    {"New", true, true, [](FollowersTest& t) {
         t.host->answers.push_back(KV_IDNO);
         EXPECT_EQ(t.view->OnFileNew(), 1);
         EXPECT_EQ(t.view->m_bModified, 0) << "the new scene is modified";
     }},
    {"Open", true, true, [](FollowersTest& t) {
         t.host->answers.push_back(KV_IDNO);
         t.view->m_strPendingOpen = t.other;
         EXPECT_EQ(t.view->OnFileOpen(), 1);
         EXPECT_EQ(t.view->m_bModified, 0) << "the scene opened is modified";
     }},
    {"a dropped file", true, true, [](FollowersTest& t) {
         t.host->answers.push_back(KV_IDNO);
         EXPECT_EQ(t.view->OnDropFiles({t.other}), 1);
         EXPECT_EQ(t.view->m_bModified, 0) << "the scene dropped is modified";
     }},
    {"Undo", true, true, [](FollowersTest& t) { EXPECT_EQ(t.view->OnEditUndo(), 1); }},
    {"Redo", true, true, [](FollowersTest& t) { EXPECT_EQ(t.view->OnEditRedo(), 1); }, true},
    {"Paste", true, false, [](FollowersTest& t) { EXPECT_EQ(t.view->OnEditPaste(), 1); }},
    {"Cut", true, false, [](FollowersTest& t) { EXPECT_EQ(t.view->OnEditCut(), 1); }},
    {"Delete", true, false, [](FollowersTest& t) { t.view->OnEditDelete(); }},
    {"Add Panel and its placement click", true, false, [](FollowersTest& t) {
         EXPECT_EQ(t.view->OnAddObject(kv::ID_ADD_PANEL), 1);
         t.view->OnMouseMove(10, 10, 0);
         t.view->OnLButtonDown(10, 10, 0);
         t.view->OnLButtonUp(10, 10, 0);
     }},
    {"a click on another object", true, true, [](FollowersTest& t) { t.Click("B"); }},
    {"Shift+click on another object", true, false, [](FollowersTest& t) { t.Click("B", KV_MOD_SHIFT); }},
    {"a right click on another object", true, true, [](FollowersTest& t) {
         const auto [x, y] = t.PointOn("B");
         t.view->OnContextMenu(x, y);
     }},
    {"the object chooser", true, true, [](FollowersTest& t) { t.view->OnObjectChosen("B"); }},
    // B and A selected together, B focused: empty space focuses A, the last added.
    {"empty space with objects selected together", true, false, [](FollowersTest& t) {
         t.Click("B", KV_MOD_SHIFT);
         t.Click("A", KV_MOD_SHIFT);
         t.Click("B");
         t.view->OnLButtonDown(4, 4, 0);
         t.view->OnLButtonUp(4, 4, 0);
         EXPECT_EQ(t.selected(), "A");
     }},
    {"the mode switch", true, true, [](FollowersTest& t) { t.view->OnToggleMode(); }},
};

}  // namespace

TEST_F(FollowersTest, EveryWindowFollowsEveryCommand) {
    MakeScenes();
    if (HasFatalFailure()) return;
    int pairs = 0;
    for (const WindowRow& window : kWindows) {
        for (const CommandRow& command : kCommands) {
            if (!(window.animation ? command.inAnimationMode : command.inObjectMode)) continue;
            SCOPED_TRACE(std::string(window.name) + " meets " + command.name);
            Start(window.animation, command);
            if (HasFatalFailure()) return;
            followers.push_back(window.open(*this));
            command.run(*this);
            followers.back()->Check(*this);
            const std::string before = SavedText();
            followers.back()->Later(*this);
            EXPECT_EQ(SavedText(), before) << "the window reached the scene after the command";
            Finish();
            ++pairs;
        }
    }
    EXPECT_GE(pairs, 200);
}

// "Creating Effect" previews through one play, however many drags feed it,
// on the event of the object it makes the effect for; a save leaves the
// preview out of the file and keeps it in the scene, and so does a save that
// fails, which says why; OK leaves the one play of the new effect.
TEST_F(FollowersTest, CreatingEffectPreviewsThroughOnePlayThatNoSaveWrites) {
    MakeScenes();
    if (HasFatalFailure()) return;
    Start(true, kCommands[0]);
    if (HasFatalFailure()) return;
    pnEvent& a = *scene().findEvent("A");
    const int plays = a.getNumPlays();
    view->SetCurrentFrame(30);
    view->OnCreateEffect();
    ASSERT_TRUE(dialogs->IsOpen(1));
    for (int drag = 0; drag < 3; ++drag) Drag("A", 20 + drag);
    int previews = 0;
    for (int i = 0; i < a.getNumPlays(); ++i) previews += a.getPlay(i)->effect == "istempeffect001";
    EXPECT_EQ(previews, 1) << "one preview play for three drags";
    EXPECT_EQ(a.getNumPlays(), plays + 1);

    const std::string gone = dir + "/gone/saved.apn";
    view->m_strPathName = gone;
    host->messages.clear();
    EXPECT_EQ(view->OnFileSave(), 0);
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0].text, "\"" + gone + "\" could not be saved.\nNo such file or directory.");
    EXPECT_TRUE(scene().findEffect("istempeffect001")) << "a failed save took the preview away";
    EXPECT_EQ(a.getNumPlays(), plays + 1);

    const std::string saved = dir + "/saved.apn";
    view->m_strPathName = saved;
    ASSERT_EQ(view->OnFileSave(), 1);
    std::ifstream in(saved);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("istempeffect"), std::string::npos) << "the preview is no part of the file";
    EXPECT_NE(text.find("effect001"), std::string::npos);
    EXPECT_TRUE(scene().findEffect("istempeffect001")) << "the preview goes on in the scene";
    EXPECT_EQ(a.getNumPlays(), plays + 1);

    dialogs->creating->Applied("made", false);
    EXPECT_FALSE(scene().findEffect("istempeffect001"));
    ASSERT_EQ(a.getNumPlays(), plays + 1);
    int made = 0;
    for (int i = 0; i < a.getNumPlays(); ++i) {
        EXPECT_NE(a.getPlay(i)->effect, "istempeffect001");
        made += a.getPlay(i)->effect == "made";
    }
    EXPECT_EQ(made, 1);
    Finish();
}

// No save writes an Effect Editor's unapplied drag or "Creating Effect"'s
// preview: neither Save nor the save that "Yes" at the "Save changes?" prompt
// of New, Open and quit makes. The scene keeps showing the drag, and a Close
// after a save gives back what the file holds.
TEST_F(FollowersTest, NoSaveWritesAWindowsUnappliedValues) {
    MakeScenes();
    if (HasFatalFailure()) return;
    auto savedMove = [&](const std::string& path) {
        pnScene saved;
        EXPECT_EQ(CKelvanoView::ReadSceneFile(path, saved), 1) << path;
        const pnEffect* e = saved.findEffect("effect001");
        return e ? e->getTrans() : sgVec3(-1, -1, -1);
    };
    Start(true, kCommands[0]);
    if (HasFatalFailure()) return;
    {
        EffectEditor editor(*this);
        const std::string path = dir + "/saved.apn";
        view->m_strPathName = path;
        ASSERT_EQ(view->OnFileSave(), 1);
        EXPECT_EQ(savedMove(path), sgVec3(5, 0, 0)) << "Save wrote the unapplied drag";
        EXPECT_EQ(scene().findEffect("effect001")->getTrans(), sgVec3(0, 9, 0)) << "the view still shows the drag";
        EXPECT_EQ(view->m_bModified, 0);
        dialogs->Destroy(2);
        EXPECT_EQ(scene().findEffect("effect001")->getTrans(), sgVec3(5, 0, 0));
        EXPECT_EQ(view->m_bModified, 0) << "the scene is as its file";
    }
    Finish();

    const struct {
        const char* what;
        std::function<int(FollowersTest&)> run;
    } prompts[] = {
        {"New", [](FollowersTest& t) { return t.view->OnFileNew(); }},
        {"Open", [](FollowersTest& t) {
             t.view->m_strPendingOpen = t.other;
             return t.view->OnFileOpen();
         }},
        {"quit", [](FollowersTest& t) { return t.view->SaveModified(); }},
    };
    for (const auto& prompt : prompts) {
        for (const bool editing : {true, false}) {
            SCOPED_TRACE(std::string(prompt.what) + (editing ? " with the Effect Editor" : " with Creating Effect"));
            Start(true, kCommands[0]);
            if (HasFatalFailure()) return;
            const std::string path = dir + "/prompted.apn";
            std::remove(path.c_str());
            view->m_strPathName = path;
            followers.push_back(editing ? opens<EffectEditor>()(*this) : opens<CreatingEffect>()(*this));
            ASSERT_EQ(view->m_bModified, 1);
            host->answers.push_back(KV_IDYES);
            EXPECT_EQ(prompt.run(*this), 1);
            EXPECT_EQ(savedMove(path), sgVec3(5, 0, 0)) << "the prompt's save wrote the unapplied drag";
            std::ifstream in(path);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_NE(text.find("effect001"), std::string::npos);
            EXPECT_EQ(text.find("istempeffect"), std::string::npos) << "the prompt's save wrote the preview";
            Finish();
        }
    }
}

// An undone material change shows on the Light page (its swatch) and on the
// selection's page; the scene's lighting takes a material a light uses.
TEST_F(FollowersTest, AnUndoneMaterialChangeShowsOnThePages) {
    MakeScenes();
    if (HasFatalFailure()) return;
    Start(false, kCommands[0]);
    if (HasFatalFailure()) return;
    pnLight* light = scene().getLight(0);
    ASSERT_NE(light, nullptr);
    light->setMaterial("Color19");
    frame->light.InitSceneLights(1);
    frame->light.ShowLight(0);
    const unsigned before = frame->light.Controls().swatch;
    pnMaterial* material = scene().findMaterial("Color19");
    {
        CEditScope edit(*view, material, scene().indexOfMaterial(material));
        material->setDiffuse(0.0f, 0.0f, 1.0f);
        scene().updateObjectsUsingMaterial(material);
    }
    frame->light.OnMaterialModified(scene().indexOfMaterial(material));
    EXPECT_NE(frame->light.Controls().swatch, before);
    frame->pageObject = "-";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(frame->light.Controls().swatch, before) << "the light's swatch shows the colour back";
    EXPECT_EQ(frame->pageObject, "A") << "the page reloads its swatches";
    Finish();
}

namespace {
// Writes down what it hears; may make another listener leave when told.
struct Ear : CViewListener {
    void OnViewChange(ViewChange change) override {
        heard.push_back(change);
        if (leave) leave();
    }
    std::vector<ViewChange> heard;
    std::function<void()> leave;
};
}  // namespace

// Each change is told once, in the order it happens; a listener that leaves
// while others are told is told no more.
TEST_F(FollowersTest, EachChangeIsToldOnceInOrder) {
    MakeScenes();
    if (HasFatalFailure()) return;
    Start(false, kCommands[0]);
    if (HasFatalFailure()) return;
    using C = ViewChange;
    auto ear = std::make_unique<Ear>(), second = std::make_unique<Ear>();
    view->AddListener(ear.get());
    view->AddListener(second.get());
    view->AddListener(ear.get());  // once is enough
    const struct {
        const char* what;
        std::function<void()> run;
        std::vector<ViewChange> heard;
    } cases[] = {
        {"a click on B", [&] { Click("B"); }, {C::SelectionChanged}},
        {"a click on B again", [&] { Click("B"); }, {}},
        {"Delete", [&] { view->OnEditDelete(); }, {C::SelectionChanged}},
        {"Undo", [&] { view->OnEditUndo(); }, {C::UndoApplied}},
        // Animation mode starts on the first object, A, and B was selected.
        {"the mode switch", [&] { view->OnToggleMode(); }, {C::ModeChanged, C::SelectionChanged}},
        {"a time line edit", [&] { view->FrameContentChanged(); }, {C::FrameChanged}},
        {"Open", [&] {
             host->answers.push_back(KV_IDNO);
             view->m_strPendingOpen = other;
             view->OnFileOpen();
         }, {C::SceneClosing, C::SceneReplaced}},
        {"New from animation mode", [&] {
             host->answers.push_back(KV_IDNO);
             view->OnFileNew();
         }, {C::SceneClosing, C::SceneReplaced, C::ModeChanged}},
    };
    for (const auto& c : cases) {
        ear->heard.clear();
        c.run();
        EXPECT_EQ(ear->heard, c.heard) << c.what;
        EXPECT_EQ(second->heard, c.heard) << c.what << ", the other listener";
        second->heard.clear();
    }
    // One makes the other leave, and frees it, while a change is told.
    ear->leave = [&] {
        view->RemoveListener(second.get());
        second.reset();
    };
    view->FrameContentChanged();
    EXPECT_EQ(second, nullptr);
    view->RemoveListener(ear.get());
    Finish();
}

namespace {
enum PairDialog { kCreating, kEditor, kList, kGrowShrink };
const char* const kPairDialogNames[] = {"Creating Effect", "Effect Editor", "Effect List", "Grow/Shrink"};
const std::vector<std::string> kPairButtons[] = {
    {"OK", "Cancel"}, {"Apply", "Close"}, {"Apply", "Close"}, {"+ S", "-", "- then + G", "Close"}};

// The text of the named effect's block in a saved scene ("" without one).
std::string effectBlock(const std::string& text, const std::string& name) {
    const size_t at = text.find("name\t\"" + name + "\"");
    const size_t start = at == std::string::npos ? at : text.rfind("effect {", at);
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find('}', at) - start);
}

// One user's run with two effect dialogs on the sample bar chart.
struct DialogPair {
    FollowersTest& t;
    std::string path;
    std::string applied;     // effect001's block as last applied (or as opened)
    sgVec3 appliedMove;      // and its move
    sgVec3 dragMove{0, 0, 0};  // what a drag adds in the Effect Editor
    bool dragKnown = false;
    sgVec3 listSeen{0, 0, 0};  // the move the Effect List showed when Move Y was typed

    pnEffect& effect() { return *t.scene().findEffect("effect001"); }
    void noteApplied() {
        applied = effectBlock(savedText(t.scene()), "effect001");
        appliedMove = effect().getTrans();
    }
    // From empty space: the chart stays selected and moves.
    void drag() {
        t.view->OnLButtonDown(4, 4, 0);
        t.view->OnMouseMove(14, 4, 0);
        t.view->OnMouseMove(24, 4, 0);
        t.view->OnLButtonUp(24, 4, 0);
        if (!t.dialogs->IsOpen(2)) return;
        // The editor's drag goes on from what was last applied, wherever.
        if (!dragKnown) {
            dragMove = effect().getTrans() - appliedMove;
            dragKnown = true;
            EXPECT_FALSE(dragMove == sgVec3(0, 0, 0)) << "the drag moved nothing";
        }
        EXPECT_EQ(effect().getTrans(), appliedMove + dragMove) << "the drag started from another move";
    }
    // Ctrl+S: the file has what was applied and no preview.
    void save(const std::string& when) {
        SCOPED_TRACE("saved " + when);
        t.view->m_strPathName = path;
        ASSERT_EQ(t.view->OnFileSave(), 1);
        const std::string text = readText(path);
        EXPECT_EQ(text.find("istempeffect"), std::string::npos) << "a preview reached the file";
        EXPECT_EQ(effectBlock(text, "effect001"), applied) << "the file lacks an Apply";
    }
    void open(int dialog, const std::string& growShrinkButton) {
        switch (dialog) {
        case kCreating: {
            const bool editing = t.dialogs->IsOpen(2);
            t.view->OnCreateEffect();  // Add Effect from the context menu
            EXPECT_EQ(t.dialogs->IsOpen(1), !editing) << "one effect dialog holds the mode";
            EXPECT_EQ(t.dialogs->IsOpen(2), editing);
            break;
        }
        case kEditor: {
            const bool creating = t.dialogs->IsOpen(1);
            const int frame = t.view->m_nCurrentFrame;
            t.view->EditEffectPlay("bars", 0);  // the Event Tree's double-click
            EXPECT_EQ(t.dialogs->IsOpen(2), !creating) << "one effect dialog holds the mode";
            EXPECT_EQ(t.dialogs->IsOpen(1), creating);
            EXPECT_EQ(t.view->m_nCurrentFrame, creating ? frame : 20);
            break;
        }
        case kList: {
            CEffectListModel& list = t.frame->effectList;
            const auto& names = list.Names();
            const auto at = std::find(names.begin(), names.end(), "effect001");
            ASSERT_NE(at, names.end());
            ASSERT_TRUE(list.Select(static_cast<int>(at - names.begin())));
            listSeen = list.Shown().move;
            // Move Y typed; X and Z are what the list shows.
            ASSERT_TRUE(list.MarkTyped(1));
            return;
        }
        case kGrowShrink: {
            // Modal: its button is pressed while it is open.
            int ran = 0;
            t.dialogs->inGrowShrink = [&](CGrowShrinkModel& g) {
                ++ran;
                if (growShrinkButton == "+ S") {
                    g.SetCurrent(0, CGrowShrinkModel::kGrow);
                    g.AddShrink();
                } else if (growShrinkButton != "Close") {
                    g.SetCurrent(3, CGrowShrinkModel::kGrow);
                    g.Remove();
                    if (growShrinkButton != "-") g.AddGrow();
                }
            };
            t.view->OnAddGrowShrink();
            EXPECT_EQ(ran, 1);
            return;
        }
        }
        if (t.dialogs->IsOpen(1) || t.dialogs->IsOpen(2)) drag();
    }
    void press(int dialog, const std::string& button) {
        SCOPED_TRACE(std::string(kPairDialogNames[dialog]) + " " + button);
        if (dialog == kCreating && t.dialogs->IsOpen(1)) {
            CCreateEffectModel& c = *t.dialogs->creating;
            if (button == "Cancel") {
                c.Cancel();
            } else {
                // What its OK does: the frame checked, the preview out, the new effect in.
                ASSERT_GT(t.view->TakeNewEffectLength(c.ObjectName()), 0);
                c.DropPreview();
                auto* made = new pnEffect;
                made->setName(t.view->MakeNumberedEffectName("effect").c_str());
                made->setTrans(sgVec3(0, 0, 50));
                ASSERT_TRUE(t.scene().addEffect(made));
                c.Applied(made->getName(), false);
            }
        } else if (dialog == kEditor && t.dialogs->IsOpen(2)) {
            CEffectEditorModel& e = *t.dialogs->editor;
            if (button == "Close") {
                e.Close();
            } else {
                // Its fields show the effect's values: the drag, or what came from elsewhere.
                const pnEffect& now = effect();
                e.Apply(now.getTrans(), now.getScale(), now.getRotAngle(), now.getRotAxis(), nullptr);
                noteApplied();
                // The Effect List shows what the editor applied.
                if (t.frame->effectList.Selected() >= 0) {
                    EXPECT_EQ(t.frame->effectList.Shown().move, effect().getTrans()) << "the Effect List shows an old move";
                }
            }
        } else if (dialog == kList && button == "Apply") {
            // The fields not typed as they showed before anything else
            // changed: the model takes what the effect holds now for them.
            const sgVec3 now = effect().getTrans();
            EXPECT_TRUE(t.frame->effectList.Apply(sgVec3(listSeen[0], 40, listSeen[2]), sgVec3(1, 1, 1), 0.0f,
                                                  sgVec3(0, 1, 0), false));
            EXPECT_EQ(effect().getTrans(), sgVec3(now[0], 40, now[2])) << "the Effect List wrote back a move it showed before";
            noteApplied();
        } else {
            return;  // a refused dialog has no buttons; the list's Close hides it
        }
        save("after " + button);
        if (t.dialogs->IsOpen(1) || t.dialogs->IsOpen(2)) drag();
    }
    // Afterwards: every play names an effect, every effect is played or
    // listed, nothing previews and no Apply is lost.
    void check() {
        if (t.dialogs->IsOpen(1)) t.dialogs->creating->Cancel();
        if (t.dialogs->IsOpen(2)) t.dialogs->editor->Close();
        EXPECT_EQ(t.view->m_nEffectEditMode, 0);
        pnScene& scene = t.scene();
        for (int i = 0; i < scene.getNumEvents(); ++i)
            for (int p = 0; p < scene.getEvent(i)->getNumPlays(); ++p) {
                const std::string& name = scene.getEvent(i)->getPlay(p)->effect;
                EXPECT_TRUE(scene.findEffect(name.c_str())) << scene.getEvent(i)->getName() << " plays \"" << name << "\"";
            }
        const std::vector<std::string>& listed = t.frame->effectList.Names();
        for (int i = 0; i < scene.getNumEffects(); ++i) {
            const std::string& name = scene.getEffect(i)->getName();
            EXPECT_TRUE(t.view->CountPlaysOf(name) > 0 || std::count(listed.begin(), listed.end(), name))
                << name << " is unused and unlisted";
        }
        EXPECT_EQ(effectBlock(savedText(scene), "effect001"), applied) << "an Apply was lost";
        save("at the end");
    }
};
}  // namespace

// Two of "Creating Effect", the Effect Editor, the Effect List and
// Grow/Shrink, in every order a user can reach (Grow/Shrink is modal, so it
// comes second), a drag after each, a save with both open, then a button of
// each in either order. One effect dialog holds the view's edit mode at a
// time; an Apply elsewhere is what the editor keeps and drags on from, and
// the Effect List shows the editor's Apply and writes only the field typed.
TEST_F(FollowersTest, EffectDialogsInPairs) {
    const std::string source = std::getenv("KELVANO_SOURCE_DIR");
    app.InitSceneServices();
    int runs = 0;
    for (int opened : {kCreating, kEditor, kList}) {
        for (int second : {kCreating, kEditor, kList, kGrowShrink}) {
            if (second == opened) continue;
            for (const std::string& b1 : kPairButtons[opened]) {
                for (const std::string& b2 : kPairButtons[second]) {
                    for (const bool secondPressedFirst : {true, false}) {
                        if (second == kGrowShrink && !secondPressedFirst) continue;
                        SCOPED_TRACE(std::string(kPairDialogNames[opened]) + ", then " + kPairDialogNames[second] +
                                     "; " + (secondPressedFirst ? b2 + ", then " + b1 : b1 + ", then " + b2));
                        MakeProgram();
                        // The main frame hands the Effect List what it hears from the view.
                        view->AddListener(&frame->effectList);
                        view->OnCreate(GLFormatInfo());
                        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
                        view->m_strPendingOpen = source + "/data/scenes/barchart.apn";
                        ASSERT_EQ(view->OnFileOpen(), 1);
                        auto* effect = new pnEffect;
                        effect->setName("effect001");
                        effect->setTrans(sgVec3(30, 0, 0));
                        ASSERT_TRUE(scene().addEffect(effect));
                        scene().findEvent("bars")->addPlay("effect001", 0, 20, 1);
                        doc->m_effectUses.emplace_back("effect001", 1);
                        frame->effectList.Fill();
                        view->OnToggleMode();
                        view->OnObjectChosen("bars");
                        ASSERT_EQ(selected(), "bars");
                        view->GoToFrame(30);
                        DialogPair run{*this, dir + "/pair.apn", "", sgVec3(0, 0, 0)};
                        run.noteApplied();
                        ASSERT_FALSE(run.applied.empty());

                        run.open(opened, "");
                        run.open(second, b2);
                        if (HasFatalFailure()) return;
                        run.save("with both open");
                        if (secondPressedFirst) {
                            run.press(second, b2);
                            run.press(opened, b1);
                        } else {
                            run.press(opened, b1);
                            run.press(second, b2);
                        }
                        run.check();
                        Finish();
                        if (HasFatalFailure()) return;
                        ++runs;
                    }
                }
            }
        }
    }
    EXPECT_EQ(runs, 72);
}
