// The camera presets, Select All, the scene transformation and safety zone
// commands, the background commands' states and the repaint on focus, on a
// headless view with a recording host and frame.
#include "editor/KelvanoIds.h"
#include "scene/pnBackground.h"
#include "scene/pnViewpoint.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/ToolCheck.h"
#include "tests/support/VecCheck.h"
#include "ui/properties/rules/CTextureWindowModel.h"

#include <algorithm>

namespace {

class ViewToolsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    pnViewpoint& camera() { return *scene().getViewpoint(); }
    CCmdUI update(int id) {
        CCmdUI ui;
        ui.id = id;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui)) << id;
        return ui;
    }
    void addPanel(const char* name) {
        auto* panel = new pnPanel;
        panel->setName(name);
        panel->setDimension(40, 40, 4);
        ASSERT_TRUE(scene().addObject(panel));
    }
    RecordingFrame frame;
};

TEST_F(ViewToolsTest, PresetsLookAlongTheAxesAndGiveTheFreeCameraBack) {
    struct Preset {
        int id;
        sgVec3 eye, up;
    };
    const Preset presets[] = {{kv::ID_CAMERA_FRONT, {0, 0, 906}, {0, 1, 0}},  {kv::ID_CAMERA_BACK, {0, 0, -906}, {0, 1, 0}},
                              {kv::ID_CAMERA_LEFT, {-906, 0, 0}, {0, 1, 0}}, {kv::ID_CAMERA_RIGHT, {906, 0, 0}, {0, 1, 0}},
                              {kv::ID_CAMERA_TOP, {0, 906, 0}, {0, 0, -1}},  {kv::ID_CAMERA_BOTTOM, {0, -906, 0}, {0, 0, 1}}};
    camera().setPosition(100, 200, 700);
    camera().width = 500;
    for (const Preset& p : presets) {
        SCOPED_TRACE(p.id);
        view->OnCommand(p.id);
        EXPECT_EQ(camera().perspective, 0);
        expectVec(camera().getPosition(), p.eye);
        expectVec(camera().getUpVector(), p.up);
        EXPECT_EQ(update(p.id).checked, 1);
        EXPECT_EQ(view->m_nActivePreset, p.id - kv::ID_CAMERA_FRONT);
        camera().width = 800 + float(p.id - kv::ID_CAMERA_FRONT);  // what the View Width bar applies
    }
    // The free camera was saved once; each switch stored the width left behind.
    EXPECT_EQ(frame.callsOf("SetCameraPresetView"), std::vector<std::string>{"1"});
    EXPECT_EQ(update(kv::ID_CAMERA_FRONT).checked, 0) << "Back took Front's place";
    EXPECT_FLOAT_EQ(view->m_fPresetDistance[0], 800);
    EXPECT_FLOAT_EQ(view->m_fPresetDistance[4], 804);

    // Bottom again: perspective, position and width come back.
    view->OnCommand(kv::ID_CAMERA_BOTTOM);
    EXPECT_EQ(camera().perspective, 1);
    expectVec(camera().getPosition(), sgVec3(100, 200, 700));
    expectVec(camera().getUpVector(), sgVec3(0, 1, 0));
    EXPECT_FLOAT_EQ(camera().width, 500);
    EXPECT_FLOAT_EQ(view->m_fPresetDistance[5], 805);
    EXPECT_EQ(view->m_nActivePreset, -1);
    EXPECT_EQ(frame.callsOf("SetCameraPresetView").back(), "0");
    EXPECT_EQ(frame.callsOf("ShowViewWidthBar").back(), "0");
    EXPECT_EQ(std::count(std::begin(view->m_bPresetOn), std::end(view->m_bPresetOn), 0), 6);

    // Front comes back with its stored width; the keys are the same commands.
    EXPECT_TRUE(view->OnKeyDown('1', KV_MOD_SHIFT));
    EXPECT_FLOAT_EQ(camera().width, 800);
    view->m_bPlaying = 1;
    EXPECT_FALSE(update(kv::ID_CAMERA_TOP).enabled);
    EXPECT_TRUE(view->OnKeyDown('5', KV_MOD_SHIFT));
    EXPECT_EQ(view->m_nActivePreset, 0) << "a greyed preset refuses its key: the recorded camera stays";
    view->m_bPlaying = 0;
    // New switches the preset off first, restoring the camera it found.
    host.answers.push_back(KV_IDNO);
    view->OnCommand(kv::ID_FILE_NEW);
    EXPECT_EQ(view->m_nActivePreset, -1);
    EXPECT_EQ(frame.callsOf("ShowViewWidthBar").back(), "0");
    EXPECT_FALSE(frame.callsOf("ReloadCameraPage").empty());

    // Without the property bar nothing changes.
    frame.propertyBar = 0;
    view->OnCommand(kv::ID_CAMERA_TOP);
    EXPECT_EQ(view->m_nActivePreset, -1);
}

TEST_F(ViewToolsTest, SelectAllTogglesEveryObject) {
    EXPECT_FALSE(update(kv::ID_EDIT_SELECT_ALL).enabled) << "no objects";
    view->OnCommand(kv::ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->m_bSelectAll, 0);
    for (const char* name : {"a", "b", "c"}) addPanel(name);
    view->m_bHighlightSelected = 1;
    doc->m_pSelectedObject = scene().findObject("b");

    view->OnCommand(kv::ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->m_bSelectAll, 1);
    EXPECT_EQ(view->m_bMultiDrag, 1);
    EXPECT_EQ(update(kv::ID_EDIT_SELECT_ALL).checked, 1);
    ASSERT_EQ(doc->m_selectedObjects.size(), 3u);
    EXPECT_EQ(doc->m_selectedObjects[2]->getName(), "c") << "in scene order";
    for (pnObject* o : doc->m_selectedObjects) EXPECT_EQ(o->getHighlight(), 1) << o->getName();
    EXPECT_EQ(frame.callsOf("SelectObjectListItem"), (std::vector<std::string>{"a,1", "b,1", "c,1"}));

    frame.calls.clear();
    view->OnCommand(kv::ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->m_bMultiDrag, 0);
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    EXPECT_EQ(scene().findObject("a")->getHighlight(), 0);
    EXPECT_EQ(scene().findObject("b")->getHighlight(), 1) << "the selection stays highlighted";
    EXPECT_EQ(frame.callsOf("SelectObjectListItem").back(), "b,1");

    view->m_bAnimationMode = 1;
    EXPECT_FALSE(update(kv::ID_EDIT_SELECT_ALL).enabled);
    view->OnCommand(kv::ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->m_bSelectAll, 0) << "Ctrl+A in animation mode does nothing";
}

TEST_F(ViewToolsTest, SceneTransformationWritesBackOnOkOnly) {
    view->OnCommand(kv::ID_SCENE_TRANSFORM);  // cancelled
    ASSERT_EQ(host.transformShown.size(), 1u);
    expectVec(sgVec3(host.transformShown[0].scale[0], host.transformShown[0].scale[1], host.transformShown[0].scale[2]),
              scene().getScale());
    EXPECT_EQ(view->m_bModified, 0);

    SceneTransformRequest answer;
    answer.position[0] = 10, answer.position[1] = -20, answer.position[2] = 30;
    answer.scale[0] = 2, answer.scale[1] = 3, answer.scale[2] = 4;
    answer.angle = 45;
    answer.axis[0] = 1, answer.axis[1] = 0, answer.axis[2] = 0;
    host.transformAnswers.push_back(answer);
    const int redraws = host.redraws;
    view->OnCommand(kv::ID_SCENE_TRANSFORM);
    expectVec(scene().getPosition(), sgVec3(10, -20, 30));
    expectVec(scene().getScale(), sgVec3(2, 3, 4));
    EXPECT_FLOAT_EQ(scene().getRotAngle(), 45);
    expectVec(scene().getRotAxis(), sgVec3(1, 0, 0));
    EXPECT_EQ(view->m_bModified, 1) << "a close asks to save the change";
    EXPECT_GT(host.redraws, redraws);
    EXPECT_FALSE(doc->CanUndo()) << "no undo step";
}

TEST_F(ViewToolsTest, SafetyZoneOutlinesTheScreenOnly) {
    SafetyZoneRequest on;
    on.on = 1, on.horizontal = 10, on.vertical = 10;
    host.safetyAnswers.push_back(on);
    const int redraws = host.redraws;
    view->OnCommand(kv::ID_SAFETY_ZONE);
    EXPECT_EQ(host.redraws, redraws) << "the command does not redraw";
    EXPECT_EQ(view->m_bSafetyZone, 1);

    auto isWhite = [&](const Frame& f, int x, int y) {
        const RGBA p = f.at(x, kDefaultSceneHeight - 1 - y);  // rows bottom-up
        return p.r == 255 && p.g == 255 && p.b == 255;
    };
    Frame shown = draw();
    for (auto [x, y] : {std::pair{58, 39}, {521, 39}, {58, 352}, {521, 352}, {300, 39}, {58, 200}, {521, 200}, {300, 352}})
        EXPECT_TRUE(isWhite(shown, x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{57, 39}, {59, 40}, {522, 352}, {520, 351}, {300, 200}})
        EXPECT_FALSE(isWhite(shown, x, y)) << x << "," << y;

    // A still export and a recording draw their own frames: no outline in the files.
    if (haveTool("convert")) {
        const std::string dir = folder();
        host.dialogPaths.push_back(dir + "/still.png");
        view->OnCommand(kv::ID_EXPORT_PNG);
        view->m_bAnimationMode = 1;
        host.dialogPaths.push_back(dir + "/movie.gif");
        view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
        for (int tick = 0; view->m_bBusy && tick < 20; ++tick) view->OnTimer(kRecordGifTimer);
        view->m_bAnimationMode = 0;
        for (const char* file : {"/still.png", "/movie.gif[0]"}) {
            const std::string corner =
                runCommand("convert '" + dir + file + "' -format '%[fx:int(255*p{58,39}.r)]' info:");
            EXPECT_NE(corner, "255") << file;
            EXPECT_FALSE(corner.empty()) << file;
        }
    }

    // Off keeps the percentages; the next draw has no outline.
    SafetyZoneRequest off = on;
    off.on = 0, off.horizontal = 20;
    host.safetyAnswers.push_back(off);
    view->OnCommand(kv::ID_SAFETY_ZONE);
    EXPECT_EQ(host.safetyShown.back().on, 1);
    EXPECT_EQ(view->m_bSafetyZone, 0);
    EXPECT_FLOAT_EQ(doc->m_fSafetyZoneH, 20);
    EXPECT_EQ(doc->m_rcSafetyZone.left, 116);
    // OK with margins past the middle, or beyond any number, takes 50 percent.
    SafetyZoneRequest wide = on;
    wide.horizontal = 60, wide.vertical = 1e10f;
    host.safetyAnswers.push_back(wide);
    view->OnCommand(kv::ID_SAFETY_ZONE);
    EXPECT_FLOAT_EQ(doc->m_fSafetyZoneH, 50);
    EXPECT_FLOAT_EQ(doc->m_fSafetyZoneV, 50);
    EXPECT_LE(doc->m_rcSafetyZone.left, doc->m_rcSafetyZone.right);
    EXPECT_LE(doc->m_rcSafetyZone.top, doc->m_rcSafetyZone.bottom);
    host.safetyAnswers.push_back(off);
    view->OnCommand(kv::ID_SAFETY_ZONE);
    shown = draw();
    EXPECT_FALSE(isWhite(shown, 58, 39));
    EXPECT_FALSE(isWhite(shown, 116, 39));
}

TEST_F(ViewToolsTest, BackgroundStatesPerFaceModeAndFocus) {
    auto* background = dynamic_cast<pnBackground*>(scene().getBackground());
    ASSERT_NE(background, nullptr);
    struct Case {
        int useTexture, texMode, colorChecked, textureChecked;
    };
    for (const Case& c : {Case{0, 0, 1, 0}, Case{1, 0, 0, 1}, Case{1, 2, 0, 0}}) {
        background->setUseTexture(c.useTexture);
        background->setTexMode(c.texMode);
        EXPECT_EQ(update(kv::ID_BACKGROUND_COLOR).checked, c.colorChecked);
        EXPECT_EQ(update(kv::ID_BACKGROUND_TEXTURE).checked, c.textureChecked);
    }
    view->m_bPlaying = 1;
    EXPECT_FALSE(update(kv::ID_BACKGROUND_TEXTURE).enabled);
    view->m_bPlaying = 0;
    background->setTexMode(0);
    EXPECT_TRUE(view->OnCommand(kv::ID_BACKGROUND_PER_FACE));
    EXPECT_EQ(background->getTexMode(), 2);

    const int redraws = host.redraws;
    view->OnSetFocus();
    EXPECT_EQ(host.redraws, redraws + 1);

    // The texture windows' relays reach the pages through the frame.
    view->SetPanelPageTextureCheck(1);
    view->SetTextPageTextureCheck(0);
    view->SetModelPageTextureCheck(1);
    EXPECT_EQ(frame.callsOf("SetPanelPageTextureCheck"), std::vector<std::string>{"1"});
    EXPECT_EQ(frame.callsOf("SetTextPageTextureCheck"), std::vector<std::string>{"0"});
    EXPECT_EQ(frame.callsOf("SetModelPageTextureCheck"), std::vector<std::string>{"1"});
    host.frame = nullptr;
    view->SetModelPageTextureCheck(0);  // no main window: nothing happens
}

// The frame greys a menu item, and refuses its command, when the view gives no
// state for its number: every number the view acts on has one, and a row
// without a rule (Image Size and Safety Zone among them) is enabled.
TEST_F(ViewToolsTest, EveryCommandTheViewActsOnHasAStateAndRowsWithoutARuleAreEnabled) {
    int withoutRule = 0;
    for (const CKelvanoView::Command& row : CKelvanoView::Commands())
        for (int id = row.first; id <= row.last; ++id) {
            const CCmdUI ui = update(id);
            if (!row.rule) {
                ++withoutRule;
                EXPECT_TRUE(ui.enabled) << id;
            }
        }
    EXPECT_GE(withoutRule, 2);
    EXPECT_TRUE(update(kv::ID_IMAGE_SIZE).enabled);
    EXPECT_TRUE(update(kv::ID_SAFETY_ZONE).enabled);
    // The binary saves write the scene as Save does, and are held back as it is.
    for (int id : {kv::ID_FILE_SAVE_BINARY, kv::ID_FILE_SAVE_BINARY_AS}) {
        EXPECT_TRUE(update(id).enabled) << id;
        view->m_bPlaying = 1;
        EXPECT_FALSE(update(id).enabled) << id;
        view->m_bPlaying = 0;
    }
    // A number the view does not handle gets no state: the frame greys it.
    CCmdUI none;
    EXPECT_FALSE(view->OnUpdateCommand(kv::ID_EMBED_EXPORT_METAFILE, none));
}

}  // namespace

TEST_F(ViewToolsTest, SavesWriteTheUsersCameraAndNewAndOpenCloseTheTextureWindows) {
    const std::string dir = folder();
    camera().setPosition(100, 200, 700);
    camera().width = 500;
    const auto savedCamera = [&](const std::string& path) {
        pnScene read;
        EXPECT_EQ(CKelvanoView::ReadSceneFile(path, read), 1) << path;
        const pnViewpoint* v = read.getViewpoint();
        EXPECT_NE(v, nullptr);
        return v ? std::make_pair(v->getPosition(), v->perspective) : std::make_pair(sgVec3(), -1);
    };
    // Save As with the Top view on: the file keeps the free camera.
    view->OnCommand(kv::ID_CAMERA_TOP);
    ASSERT_EQ(view->m_nActivePreset, 4);
    const std::string path = dir + "/camera.apn";
    host.dialogPaths.push_back(path);
    ASSERT_EQ(view->OnFileSaveAs(), 1);
    EXPECT_EQ(view->m_nActivePreset, -1) << "the preset is switched off first";
    auto [position, perspective] = savedCamera(path);
    expectVec(position, sgVec3(100, 200, 700));
    EXPECT_EQ(perspective, 1);
    // Save (the path known) with the Left view on.
    view->OnCommand(kv::ID_CAMERA_LEFT);
    ASSERT_EQ(view->OnFileSave(), 1);
    EXPECT_EQ(view->m_nActivePreset, -1);
    std::tie(position, perspective) = savedCamera(path);
    expectVec(position, sgVec3(100, 200, 700));
    EXPECT_EQ(perspective, 1);

    // New and Open close every texture window before the scene changes.
    auto openWindows = [&](std::vector<std::unique_ptr<CTextureWindowModel>>& windows) {
        auto panel = std::make_unique<pnPanel>();
        panel->setName(("p" + std::to_string(scene().getNumObjects())).c_str());
        pnObject* object = view->InsertNewObject(std::move(panel));
        ASSERT_NE(object, nullptr);
        windows.clear();
        for (int kind = 1; kind <= 4; ++kind) {
            windows.push_back(std::make_unique<CTextureWindowModel>(kind));
            windows.back()->Open(*view, *object);
        }
    };
    std::vector<std::unique_ptr<CTextureWindowModel>> windows;
    for (int which : {0, 1}) {
        SCOPED_TRACE(which ? "Open" : "New");
        openWindows(windows);
        host.answers.push_back(KV_IDNO);  // "Save changes?"
        if (which) {
            view->m_strPendingOpen = path;
            ASSERT_EQ(view->OnFileOpen(), 1);
        } else {
            ASSERT_EQ(view->OnFileNew(), 1);
        }
        for (const auto& window : windows) EXPECT_FALSE(window->IsOpen()) << window->Kind();
    }
    // An Open refused (the file is gone) leaves them.
    openWindows(windows);
    view->m_strPendingOpen = dir + "/gone.apn";
    host.answers.push_back(KV_IDNO);
    EXPECT_EQ(view->OnFileOpen(), 0);
    for (const auto& window : windows) EXPECT_TRUE(window->IsOpen()) << window->Kind();
}
