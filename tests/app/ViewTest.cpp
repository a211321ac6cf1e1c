#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "assets/sgModelTable.h"
#include "platform/SoundPlayer.h"
#include "scene/pnBackground.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgAccumTarget.h"
#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgNode.h"
#include "tests/app/RecordingHost.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/RenderTool.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/sgModelTable.h"

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool sameColour(const RGBA& a, const RGBA& b) { return near(a, b, 2); }

// True when the 3 x 3 neighbourhood of (x, y) is not of one colour: the pixel
// lies on an edge of the picture.
bool onEdge(const Frame& f, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= f.width || ny >= f.height) continue;
            if (!sameColour(f.at(nx, ny), f.at(x, y))) return true;
        }
    return false;
}

}  // namespace

TEST_F(ViewTest, NewViewState) {
    EXPECT_EQ(app.m_pCurrentView, view.get());
    EXPECT_EQ(view->m_nTransformMode, 0);
    EXPECT_EQ(view->m_bAxisX, 1);
    EXPECT_EQ(view->m_bAxisY, 1);
    EXPECT_EQ(view->m_bAxisZ, 0);
    EXPECT_EQ(view->m_nOutputQuality, 4);
    EXPECT_EQ(view->m_nActivePreset, -1);
    EXPECT_FLOAT_EQ(view->m_fPresetDistance[5], 720.0f);
    EXPECT_EQ(view->GetScene(), nullptr);
    EXPECT_EQ(view->CurrentCursor(), ViewCursor::Move);
    view->m_nTransformMode = 2;
    EXPECT_EQ(view->CurrentCursor(), ViewCursor::Rotate);
    view->m_bBusy = 1;
    EXPECT_EQ(view->CurrentCursor(), ViewCursor::Wait);
    view.reset();
    EXPECT_EQ(app.m_pCurrentView, nullptr);
}

TEST_F(ViewTest, CreationTakesTheFormatAndTheDocumentsSettings) {
    doc->m_bHighlight = 1;
    doc->m_nOutQuality = 8;
    view->OnCreate(format(8, 16));
    EXPECT_EQ(view->m_bAlphaBits, 1);
    EXPECT_TRUE(view->HasAccumulationBuffer());
    EXPECT_EQ(app.m_nColorBits, 32);
    EXPECT_EQ(app.m_nAlphaBits, 8);
    EXPECT_EQ(view->m_bHighlightSelected, 1);
    EXPECT_EQ(view->m_nOutputQuality, 8);

    // A second creation replaces the scene without leaking the first.
    view->OnCreate(format(0, 0));
    EXPECT_EQ(view->m_bAlphaBits, 0);
    EXPECT_EQ(app.m_nColorBits, 24);
    EXPECT_EQ(app.m_nAlphaBits, 0);
    EXPECT_EQ(scene().getNumMaterials(), 28);
}

TEST(ViewFormatTest, FormatBitsRule) {
    int color = 0, alpha = 0;
    CKelvanoView::ChooseFormatBits(32, 0, color, alpha);
    EXPECT_EQ(color, 24);
    EXPECT_EQ(alpha, 8);
    CKelvanoView::ChooseFormatBits(16, 0, color, alpha);
    EXPECT_EQ(color, 16);
    EXPECT_EQ(alpha, 0);
    CKelvanoView::ChooseFormatBits(32, 8, color, alpha);
    EXPECT_EQ(color, 32);
    EXPECT_EQ(alpha, 8);
}

TEST_F(ViewTest, ANewSceneHasThePaletteTheCameraAndFourLightsWithTheirEvents) {
    create();
    ASSERT_EQ(scene().getNumMaterials(), 28);
    for (int i = 0; i < 28; ++i) EXPECT_EQ(scene().getMaterial(i)->getName(), "Color" + std::to_string(i + 1));
    const pnMaterial* c1 = scene().findMaterial("Color1");
    EXPECT_FLOAT_EQ(c1->getAmbient()[1], 0.1347f);
    EXPECT_FLOAT_EQ(c1->getDiffuse()[2], 0.5481f);
    EXPECT_FLOAT_EQ(c1->getSpecular()[0], 0.0f);
    EXPECT_FLOAT_EQ(c1->getShininess(), 0.0f);
    const pnMaterial* c16 = scene().findMaterial("Color16");
    EXPECT_FLOAT_EQ(c16->getAmbient()[1], 0.0952f);
    EXPECT_FLOAT_EQ(c16->getDiffuse()[2], 0.394f);
    const pnMaterial* c28 = scene().findMaterial("Color28");
    EXPECT_FLOAT_EQ(c28->getDiffuse()[1], 0.2f);
    EXPECT_FLOAT_EQ(c28->getSpecular()[2], 1.0f);
    EXPECT_FLOAT_EQ(c28->getShininess(), 60.0f);

    auto* bg = static_cast<pnBackground*>(scene().getBackground());
    ASSERT_NE(bg, nullptr);
    EXPECT_FLOAT_EQ(bg->getColor()[0], 0.14f);
    EXPECT_FLOAT_EQ(bg->getColor()[2], 0.67f);
    EXPECT_FLOAT_EQ(bg->getColor()[3], 0.0f);
    EXPECT_EQ(scene().getVersion(), 210);
    const pnViewpoint* camera = scene().getViewpoint();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getName(), "Camera");
    EXPECT_FLOAT_EQ(camera->getPosition()[2], 906.0f);
    EXPECT_FLOAT_EQ(camera->fov, 30.0f);
    EXPECT_FLOAT_EQ(camera->far, 3000.0f);
    EXPECT_EQ(camera->perspective, 1);

    // Four lights: the first on, the others off and directional at their slots.
    ASSERT_EQ(scene().getNumLights(), 4);
    for (int i = 0; i < 4; ++i) {
        const pnLight* light = scene().getLight(i);
        EXPECT_EQ(light->getName(), "Light" + std::to_string(i + 1));
        EXPECT_EQ(light->getOn(), i == 0 ? 1 : 0);
        EXPECT_FALSE(light->isPositional());
        EXPECT_FLOAT_EQ(light->getSpotCone()[0], 10.0f);
        EXPECT_EQ(light->getBuilt(), 1);
    }
    EXPECT_FLOAT_EQ(scene().getLight(3)->getPosition()[0], 500.0f);
    EXPECT_FLOAT_EQ(scene().getLight(3)->getPosition()[1], -500.0f);

    const char* events[] = {"Camera", "Light1", "Light2", "Light3", "Light4"};
    ASSERT_EQ(scene().getNumEvents(), 5);
    for (int i = 0; i < 5; ++i) {
        const pnEvent* e = scene().getEvent(i);
        EXPECT_EQ(e->getName(), events[i]);
        ASSERT_EQ(e->getNumObjectNames(), 1);
        EXPECT_STREQ(e->getObjectName(0), events[i]);
    }

    // The roots: root, scene transform, light group then event group.
    ASSERT_NE(sceneGraphRoots, nullptr);
    EXPECT_EQ(sceneGraphRoots, view->GetRoots());
    EXPECT_EQ(scene().getRoots(), sceneGraphRoots);
    EXPECT_STREQ(sceneGraphRoots->sceneRoot->getTypeName(), "sgScene");
    EXPECT_EQ(sceneGraphRoots->sceneTransform->getChild(0), sceneGraphRoots->lightGroup);
    EXPECT_EQ(sceneGraphRoots->sceneTransform->getChild(1), sceneGraphRoots->eventGroup);
    EXPECT_EQ(sceneGraphRoots->lightGroup->getNumChildren(), 4);
    EXPECT_EQ(sceneGraphRoots->eventGroup->getNumChildren(), 5);
    EXPECT_EQ(sceneChannel, sgChannel::sgFindChannel());
    EXPECT_EQ(sceneChannel->getScene(), sceneGraphRoots->sceneRoot);

    Frame f = draw();
    EXPECT_EQ(host.swaps, 1);
    for (auto [x, y] : {std::pair{0, 0}, {290, 196}, {579, 391}})
        EXPECT_TRUE(near(f.at(x, y), kNewSceneBackground, 1)) << describe(f.at(x, y));
}

TEST_F(ViewTest, AntiAliasingLevelsChangeOnlyTheEdges) {
    create();
    addSlantedPlate();

    const Frame plain = draw();
    // The plate is drawn, lit, in the middle of the background.
    EXPECT_TRUE(near(plain.at(0, 0), kNewSceneBackground, 1));
    EXPECT_FALSE(sameColour(plain.at(290, 196), kNewSceneBackground)) << describe(plain.at(290, 196));
    for (int level : {4, 8}) {
        view->OnCommand(level == 4 ? kv::ID_DISPLAY_MEDIUM : kv::ID_DISPLAY_HIGH);
        EXPECT_EQ(view->m_nAntiAlias, level);
        const Frame smooth = draw();
        int changed = 0, inside = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                if (sameColour(smooth.at(x, y), plain.at(x, y))) continue;
                ++changed;
                if (!onEdge(plain, x, y)) ++inside;
            }
        EXPECT_GT(changed, 100) << "level " << level;
        EXPECT_EQ(inside, 0) << "level " << level;
    }
    writeFramePNG(plain, testOutputDir() + "/view-aa-plain.png");
}

TEST_F(ViewTest, WithoutAccumulationLevelsFallBackToOnePassAndSaySoOnce) {
    create(0);
    addSlantedPlate();
    // A context that cannot sum passes offscreen either.
    struct Disallow {
        Disallow() { sgAccumTarget::setAllowed(false); }
        ~Disallow() { sgAccumTarget::setAllowed(true); }
    } disallow;
    EXPECT_EQ(view->AntiAliasPasses(0), 0);
    EXPECT_TRUE(host.statusTexts.empty());
    const Frame plain = draw();
    view->m_nAntiAlias = 4;
    const Frame four = draw();
    view->m_nAntiAlias = 8;
    draw();
    EXPECT_EQ(plain.rgba, four.rgba);
    EXPECT_EQ(host.statusTexts.size(), 1u);
}

TEST_F(ViewTest, WithoutAccumulationOffscreenTargetsStillSmoothTheEdges) {
    create(0);
    addSlantedPlate();
    const Frame plain = draw();
    view->m_nAntiAlias = 8;
    EXPECT_EQ(view->AntiAliasPasses(8), 8);
    const Frame eight = draw();
    EXPECT_NE(plain.rgba, eight.rgba);
    EXPECT_TRUE(host.statusTexts.empty());
}

TEST_F(ViewTest, APauseFrameIsDrawnAndSwappedLikeAnyOther) {
    create();
    view->m_bAnimationMode = 1;
    view->m_nCurrentFrame = 3;
    view->OnDraw();
    EXPECT_EQ(host.swaps, 1);
    // A held pause holds the playback timer, never the picture.
    view->GetRoots()->pauseReached = 1;
    view->OnDraw();
    EXPECT_EQ(host.swaps, 2);
}

// The view paints whenever the window asks; only reaching a frame plays it.
TEST_F(ViewTest, RepaintsDrawTheReachedFrameWithoutPlayingItAgain) {
    RecordingSoundPlayer sounds;
    setSoundPlayer(&sounds);
    create();
    addSlantedPlate();
    auto* fx = new pnEffect;
    fx->setName("fx");
    ASSERT_TRUE(scene().addEffect(fx));
    scene().findEvent("plate")->addPlay("fx", 5, 10, 1);  // hidden before frame 5
    scene().addSound(3, "cue.wav");
    auto centreIsPlate = [this] { return !sameColour(draw().at(290, 196), kNewSceneBackground); };

    view->m_bAnimationMode = 1;
    view->m_nCurrentFrame = 3;
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(centreIsPlate()) << i;
    EXPECT_EQ(host.swaps, 5);
    EXPECT_EQ(sounds.played, std::vector<std::string>{"cue.wav"});
    view->m_nCurrentFrame = 6;
    EXPECT_TRUE(centreIsPlate());
    EXPECT_TRUE(centreIsPlate());
    // Reached again: played again. The initial state in object mode is not
    // frame 3's, so coming back plays the frame anew.
    view->m_nCurrentFrame = 3;
    EXPECT_FALSE(centreIsPlate());
    view->m_bAnimationMode = 0;
    EXPECT_TRUE(centreIsPlate());
    view->m_bAnimationMode = 1;
    EXPECT_FALSE(centreIsPlate());
    EXPECT_FALSE(centreIsPlate());
    EXPECT_EQ(sounds.played.size(), 3u);
    setSoundPlayer(nullptr);
}

TEST_F(ViewTest, NothingIsDrawnWithoutAContext) {
    host.contextAvailable = false;
    view->OnDraw();
    EXPECT_EQ(host.swaps, 0);
}

TEST_F(ViewTest, WaitCursorForOneDraw) {
    create();
    view->m_nTransformMode = 1;
    view->OnCommand(kv::ID_DISPLAY_LOW);
    EXPECT_EQ(host.redraws, 1);
    host.cursors.clear();
    view->OnDraw();
    ASSERT_EQ(host.cursors.size(), 2u);
    EXPECT_EQ(host.cursors[0], ViewCursor::Wait);
    EXPECT_EQ(host.cursors[1], ViewCursor::Scale);
    EXPECT_EQ(view->m_bWaitCursorOnDraw, 0);
    view->OnDraw();
    EXPECT_EQ(host.cursors.size(), 2u);
}

TEST_F(ViewTest, EmbeddedDrawsAreCapturedBeforeTheSwap) {
    create();
    app.m_bEmbedded = 1;
    view->OnDraw();
    ASSERT_TRUE(view->m_dibWindowCapture.Valid());
    EXPECT_EQ(view->m_dibWindowCapture.Width(), kDefaultSceneWidth);
    EXPECT_EQ(view->m_dibWindowCapture.PixelAt(10, 10), 0x2459ABu);
}

TEST_F(ViewTest, ResizingSetsTheSceneSizeAndIgnoresAMinimisedWindow) {
    create();
    doc->m_fSafetyZoneH = 10;
    doc->m_fSafetyZoneV = 10;
    view->OnSize(640, 480);
    EXPECT_EQ(doc->m_nSceneWidth, 640);
    EXPECT_EQ(doc->m_nSceneHeight, 480);
    EXPECT_NEAR(doc->m_dAspect, 1.3333, 1e-4);
    EXPECT_EQ(doc->m_rcSafetyZone, (CRectI{64, 48, 575, 431}));
    EXPECT_EQ(scene().getWidth(), 640);
    EXPECT_EQ(scene().getHeight(), 480);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 480);
    for (auto [w, h] : {std::pair{0, 480}, {640, 0}, {0, 0}, {-1, 10}}) {
        view->OnSize(w, h);
        EXPECT_EQ(doc->m_nSceneWidth, 640);
        EXPECT_EQ(doc->m_nSceneHeight, 480);
        EXPECT_NEAR(doc->m_dAspect, 1.3333, 1e-4);
        EXPECT_EQ(sceneChannel->getViewportWidth(), 640);
    }
}

TEST(ViewPrintTest, PrintTargetKeepsTheShapeWithoutOverflow) {
    EXPECT_EQ(CKelvanoView::PrintTarget(800, 600, 4800, 600, 600), (CRectI{0, 0, 4800, 3600}));
    // 30000 x 2400 x 20000 does not fit 32 bits.
    EXPECT_EQ(CKelvanoView::PrintTarget(30000, 30000, 20000, 2400, 2400), (CRectI{0, 0, 20000, 20000}));
    EXPECT_EQ(CKelvanoView::PrintTarget(0, 600, 4800, 600, 600), (CRectI{0, 0, 4800, 0}));
    EXPECT_EQ(CKelvanoView::PrintTarget(800, 600, 4800, 0, 600), (CRectI{0, 0, 4800, 0}));
}

TEST_F(ViewTest, ReleaseThenResetFreesNothingTwice) {
    create();
    view->ReleaseScene();
    EXPECT_EQ(view->GetScene(), nullptr);
    EXPECT_EQ(sceneGraphRoots, nullptr);
    EXPECT_EQ(sceneChannel, nullptr);
    EXPECT_EQ(sgChannel::sgFindChannel(), nullptr);
    view->ResetScene();
    view->ReleaseScene();
    view->ReleaseScene();
    view->ResetScene();
    EXPECT_NE(view->GetScene(), nullptr);
    view->OnDestroy();
    EXPECT_EQ(view->GetScene(), nullptr);
}

TEST_F(ViewTest, SavePromptAnswers) {
    // Unmodified: no question.
    EXPECT_EQ(view->SaveModified(), 1);
    EXPECT_TRUE(host.messages.empty());

    view->m_bModified = 1;
    host.answers = {KV_IDCANCEL};
    EXPECT_EQ(view->SaveModified(), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Save changes?");
    EXPECT_EQ(host.messages[0].caption, "Kelvano");
    EXPECT_EQ(host.messages[0].style & 0xF, KV_MB_YESNOCANCEL);

    host.answers = {KV_IDNO};
    EXPECT_EQ(view->SaveModified(), 1);
    EXPECT_EQ(view->m_bModified, 1);
}

TEST_F(ViewTest, YesWithACancelledSaveAsCancels) {
    create();
    view->m_bModified = 1;
    host.answers = {KV_IDYES};
    EXPECT_EQ(view->SaveModified(), 0);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_TRUE(host.dialogs[0].save);
    EXPECT_EQ(host.dialogs[0].defaultExtension, ".apn");
    EXPECT_EQ(host.dialogs[0].filter, "Scene File (*.apn) |*.apn|");
    EXPECT_TRUE(host.dialogs[0].overwritePrompt);
    EXPECT_EQ(view->m_bModified, 1);
}

TEST_F(ViewTest, YesWithAFailedSaveCancelsAndKeepsTheChanges) {
    create();
    const std::string path = folder() + "/missing/demo.apn";
    view->m_bModified = 1;
    view->m_strPathName = path;
    host.answers = {KV_IDYES, KV_IDOK};
    EXPECT_EQ(view->SaveModified(), 0);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(view->m_bModified, 1);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "\"" + path + "\" could not be saved.\nNo such file or directory.");
    EXPECT_TRUE(host.titles.empty());
}

TEST_F(ViewTest, YesWithASuccessfulSaveWritesTheSceneNamedAfterTheFile) {
    create();
    const std::string dir = folder();
    app.InitFolders("/opt/kelvano");
    view->m_bModified = 1;
    host.answers = {KV_IDYES};
    host.dialogPaths = {dir + "/demo.apn"};
    EXPECT_EQ(view->SaveModified(), 1);
    // The installed scenes folder cannot be written: the user's folder is proposed.
    EXPECT_EQ(host.dialogs[0].initialDir, CKelvanoView::SaveDialogFolder("/opt/kelvano/scenes"));
    EXPECT_NE(host.dialogs[0].initialDir, "/opt/kelvano/scenes");
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_EQ(view->m_strPathName, dir + "/demo.apn");
    EXPECT_EQ(host.titles, (std::vector<std::string>{dir + "/demo.apn"}));
    EXPECT_EQ(app.GetSceneDir(), dir);
    std::stringstream text;
    text << std::ifstream(dir + "/demo.apn").rdbuf();
    EXPECT_NE(text.str().find("\"demo\""), std::string::npos);
    EXPECT_NE(text.str().find("\"Color28\""), std::string::npos);
    EXPECT_NE(text.str().find("\"Light4\""), std::string::npos);
}

TEST_F(ViewTest, AFailedSaveAsKeepsTheOldName) {
    create();
    view->m_strPathName = "/old.apn";
    host.dialogPaths = {folder() + "/no/such/folder/new.apn"};
    host.answers = {KV_IDOK};
    EXPECT_EQ(view->OnFileSaveAs(), 0);
    EXPECT_EQ(view->m_strPathName, "/old.apn");
}

TEST_F(ViewTest, SaveCommandsNeedAScene) {
    CCmdUI ui;
    EXPECT_TRUE(view->OnUpdateCommand(kv::ID_FILE_SAVE, ui));
    EXPECT_FALSE(ui.enabled);
    EXPECT_TRUE(view->OnCommand(kv::ID_FILE_SAVE));
    EXPECT_TRUE(host.dialogs.empty());
    create();
    ui = CCmdUI{};
    EXPECT_TRUE(view->OnUpdateCommand(kv::ID_FILE_SAVE_AS, ui));
    EXPECT_TRUE(ui.enabled);
    // Undo is greyed while the history is empty, and does nothing.
    CCmdUI other;
    EXPECT_TRUE(view->OnUpdateCommand(kv::ID_EDIT_UNDO, other));
    EXPECT_FALSE(other.enabled);
    EXPECT_TRUE(view->OnCommand(kv::ID_EDIT_UNDO));
    EXPECT_EQ(view->OnEditUndo(), 0);
}

TEST_F(ViewTest, ModeAndAxisRules) {
    auto axes = [this] { return std::vector<int>{view->m_bAxisX, view->m_bAxisY, view->m_bAxisZ}; };
    auto update = [this](int id) {
        CCmdUI ui;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui));
        return ui;
    };
    // Move with X and Y on: Z leaves only Z, X then leaves only X.
    view->OnCommand(kv::ID_AXIS_Z);
    EXPECT_EQ(axes(), (std::vector<int>{0, 0, 1}));
    view->OnCommand(kv::ID_AXIS_X);
    EXPECT_EQ(axes(), (std::vector<int>{1, 0, 0}));
    // Scale keeps all three.
    EXPECT_TRUE(view->OnKeyDown('S'));
    EXPECT_EQ(view->m_nTransformMode, 1);
    EXPECT_EQ(host.statusTexts, std::vector<std::string>{"Scale mode"});
    view->OnKeyDown('Y');
    view->OnKeyDown('Z');
    EXPECT_EQ(axes(), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(update(kv::ID_AXIS_Z).checked, 1);
    EXPECT_EQ(update(kv::ID_MODE_SCALE).checked, 1);
    EXPECT_EQ(update(kv::ID_MODE_MOVE).checked, 0);
    // Rotate (and Move) switch Z off when X or Y is on.
    view->OnCommand(kv::ID_MODE_ROTATE);
    EXPECT_EQ(view->m_nTransformMode, 2);
    EXPECT_EQ(axes(), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(host.cursors.back(), ViewCursor::Rotate);
    EXPECT_FALSE(view->OnKeyDown('Q'));

    // Greyed while playing, check marks left alone, keys ignored.
    view->m_bPlaying = 1;
    for (int id : {kv::ID_MODE_MOVE, kv::ID_MODE_ROTATE, kv::ID_AXIS_X, kv::ID_AXIS_Z}) {
        CCmdUI ui = update(id);
        EXPECT_FALSE(ui.enabled);
        EXPECT_EQ(ui.checked, -1);
    }
    EXPECT_TRUE(view->OnKeyDown('L'));
    EXPECT_EQ(view->m_nTransformMode, 2);
    EXPECT_EQ(host.statusTexts.back(), "Z Axis");
    // The quality menus stay enabled.
    EXPECT_TRUE(update(kv::ID_DISPLAY_LOW).enabled);
    EXPECT_TRUE(update(kv::ID_OUTPUT_HIGH).enabled);
}

TEST_F(ViewTest, QualityCommands) {
    auto checked = [this](int id) {
        CCmdUI ui;
        view->OnUpdateCommand(id, ui);
        return ui.checked;
    };
    view->OnCommand(kv::ID_DISPLAY_HIGH);
    EXPECT_EQ(view->m_nAntiAlias, 8);
    EXPECT_EQ(view->m_bWaitCursorOnDraw, 1);
    EXPECT_EQ(checked(kv::ID_DISPLAY_HIGH), 1);
    EXPECT_EQ(checked(kv::ID_DISPLAY_LOW), 0);

    EXPECT_EQ(checked(kv::ID_OUTPUT_MEDIUM), 1);
    view->OnCommand(kv::ID_OUTPUT_LOW);
    EXPECT_EQ(view->m_nOutputQuality, 0);
    EXPECT_EQ(doc->m_nOutQuality, 0);
    EXPECT_EQ(checked(kv::ID_OUTPUT_LOW), 1);
    view->OnCommand(kv::ID_OUTPUT_HIGH);
    EXPECT_EQ(doc->m_nOutQuality, 8);

    // Without a document the output quality stays.
    CKelvanoView lone(nullptr, &host);
    lone.OnCommand(kv::ID_OUTPUT_LOW);
    EXPECT_EQ(lone.m_nOutputQuality, 4);
}

TEST_F(ViewTest, OpeningTheGivenFileReadsItIntoANewScene) {
    const std::string dir = folder();
    write(dir + "/probe.apn",
          "scene {\n name \"probe\"\n width 300\n height 200\n version 210\n}\n"
          "background {\n name \"Background\"\n color ( 1.0 0.0 0.0 1.0 )\n useTexture 0\n}\n"
          "light {\n name \"key\"\n position ( 0 0 500 )\n positional 1\n on 1\n}\n"
          "light {\n name \"Light1\"\n position ( 0 0 500 )\n positional 1\n on 0\n}\n"
          "model {\n name \"tri\"\n file \"tri.obj\"\n}\n"
          "event {\n name \"triEvent\"\n objectName \"tri\"\n}\n");
    write(dir + "/tri.obj", "v -100 -100 0\nv 100 -100 0\nv 0 100 0\nf 1 2 3\n");

    // It arrives before the view can draw: it waits for the view's creation.
    app.m_strOpenFile = dir + "/probe.apn";
    view->m_bOpenGivenFile = 1;
    EXPECT_TRUE(view->OnCommand(kv::ID_FILE_OPEN));
    EXPECT_EQ(view->GetScene(), nullptr);
    pnPanel selected;
    doc->m_pSelectedObject = &selected;
    doc->m_bKeepAspect = 1;
    create();

    EXPECT_EQ(view->m_bOpenGivenFile, 0);
    EXPECT_EQ(view->m_strPathName, dir + "/probe.apn");
    EXPECT_EQ(host.titles.back(), dir + "/probe.apn");
    EXPECT_EQ(host.sceneSizes.back(), (std::pair<int, int>{300, 200}));
    EXPECT_EQ(sceneChannel->getViewportWidth(), 300);
    // The earlier selection is forgotten; the first object is selected.
    EXPECT_EQ(doc->m_pSelectedObject, scene().findObject("tri"));
    EXPECT_EQ(doc->m_bKeepAspect, 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_GE(host.redraws, 1);

    // The read scene, its lights filled up to four without switching any on.
    EXPECT_EQ(scene().getName(), "probe");
    ASSERT_EQ(scene().getNumLights(), 4);
    EXPECT_EQ(scene().getLight(0)->getName(), "key");
    EXPECT_EQ(scene().getLight(2)->getName(), "Light2");
    EXPECT_EQ(scene().getLight(3)->getName(), "Light3");
    EXPECT_EQ(scene().getLight(1)->getOn(), 0);
    EXPECT_EQ(scene().getNumMaterials(), 0);
    // The model beside the scene is found whatever the current folder, and
    // keeps the name the file gave it.
    ASSERT_NE(scene().findObject("tri"), nullptr);
    EXPECT_EQ(scene().findObject("tri")->getFile(), "tri.obj");
    EXPECT_EQ(fs::path(sgModelTable::instance().resolve("tri.obj")), fs::path(dir) / "tri.obj");

    Frame f = draw();
    EXPECT_TRUE(near(f.at(5, 5), RGBA{255, 0, 0, 255}, 1)) << describe(f.at(5, 5));
    EXPECT_FALSE(sameColour(f.at(150, 100), RGBA{255, 0, 0, 255})) << "the triangle is drawn";
}

TEST_F(ViewTest, AFileThatCannotBeOpenedKeepsTheCurrentSceneAndSaysSo) {
    create();
    addSlantedPlate();
    pnScene* before = view->GetScene();
    view->m_strPathName = "/scenes/earlier.apn";
    const std::string absent = folder() + "/absent.apn";
    view->m_strPendingOpen = absent;
    EXPECT_EQ(view->OnFileOpen(), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"" + absent + "\" is not found.");
    EXPECT_EQ(host.messages[0].caption, "File open error");
    EXPECT_EQ(host.messages[0].style, KV_MB_OK | KV_MB_ICONERROR);
    // The recent entry goes; the scene, its name and its objects stay.
    EXPECT_EQ(app.recentRemoved, std::vector<std::string>{absent});
    EXPECT_TRUE(view->m_strPendingOpen.empty());
    EXPECT_EQ(view->GetScene(), before);
    EXPECT_EQ(view->m_strPathName, "/scenes/earlier.apn");
    EXPECT_NE(scene().findObject("plate"), nullptr);
    EXPECT_TRUE(host.titles.empty());
}

TEST_F(ViewTest, AnyScenesSizeGivesAWindowAScreenCanShow) {
    create();
    const std::string path = folder() + "/wide.apn";
    write(path, "scene {\n width 1000000\n height 5\n}\n");
    view->m_strPendingOpen = path;
    EXPECT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(host.sceneSizes.back(), (std::pair<int, int>{4096, 5}));
}

TEST_F(ViewTest, LightSlots) {
    create();
    view->ReleaseScene();
    view->ResetScene();
    // Two lights: two more with the first free numbers, off, at slots 3 and 4.
    for (const char* name : {"Light1", "key"}) {
        auto* light = new pnLight;
        light->setName(name);
        light->setOn(0);
        scene().addLight(light);
    }
    view->RefreshLightPage(1);
    ASSERT_EQ(scene().getNumLights(), 4);
    EXPECT_EQ(scene().getLight(2)->getName(), "Light2");
    EXPECT_EQ(scene().getLight(3)->getName(), "Light3");
    EXPECT_FLOAT_EQ(scene().getLight(2)->getPosition()[0], -500.0f);
    EXPECT_FLOAT_EQ(scene().getLight(2)->getPosition()[2], 100.0f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(scene().getLight(i)->getOn(), 0);
    view->RefreshLightPage(0);
    EXPECT_EQ(scene().getLight(0)->getOn(), 1);
    EXPECT_TRUE(host.messages.empty());

    // A fifth light is told about once per binding and left alone.
    auto* extra = new pnLight;
    extra->setName("extra");
    scene().addLight(extra);
    view->RefreshLightPage(1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Exceeded the maximum number of light: 4.\nOnly the first 4 lights can be modified.");
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(scene().getNumLights(), 5);
}

// A scene in a folder of its own names its model and texture relative to that
// folder and its bar chart's part by the bare default name: the view (with
// the program's folders) and the render tool started elsewhere (with its
// own) both find all three and draw the same picture at the scene's size.
TEST_F(ViewTest, OpenedSceneDrawsAsTheRenderToolDrawsIt) {
    REQUIRE_TOOL("convert");
    const std::string source = std::getenv("KELVANO_SOURCE_DIR");
    TempDir sceneDir("kv-scene-a");
    ASSERT_FALSE(sceneDir.path().empty());
    ASSERT_EQ(std::system(("convert -size 16x16 xc:'#c08040' " + shellQuote(sceneDir.path() + "/wood.jpg")).c_str()),
              0);
    std::filesystem::create_directories(sceneDir.file("textures"));
    std::filesystem::rename(sceneDir.file("wood.jpg"), sceneDir.file("textures/wood.jpg"));
    sceneDir.write("models/box.obj",
                   "v -40 -40 0\nv 40 -40 0\nv 40 40 0\nv -40 40 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                   "f 1/1 2/2 3/3 4/4\n");
    std::ifstream sample(source + "/data/scenes/barchart.apn");
    std::string text((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
    const std::string stored = "\"../ChartSlices/cyl10x.3ds\"";
    ASSERT_NE(text.find(stored), std::string::npos);
    text.replace(text.find(stored), stored.size(), "\"cyl10x.3ds\"");
    text +=
        "model {\n name \"box\"\n file \"models/box.obj\"\n position ( -200 100 0 )\n material \"ink\"\n}\n"
        "panel {\n name \"plank\"\n position ( 200 100 0 )\n material \"ink\"\n texture \"textures/wood.jpg\"\n"
        " kind \"2D\"\n faceFlag ( 1 1 1 1 1 1 )\n dimension ( 80 80 0 )\n}\n"
        "event {\n name \"boxShown\"\n objectName \"box\"\n}\n"
        "event {\n name \"plankShown\"\n objectName \"plank\"\n}\n";
    const std::string path = sceneDir.write("scene.apn", text);

    // The program's folder holds ChartSlices; the scene's folder holds no part.
    app.InitFolders(source + "/data");
    app.InitSceneServices();
    create();
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(host.sceneSizes.back(), (std::pair<int, int>{kDefaultSceneWidth, kDefaultSceneHeight}));
    view->m_nCurrentFrame = 60;
    const Frame viewFrame = draw();

    TempDir elsewhere("kv-cwd");
    RenderToolImage tool;
    ASSERT_TRUE(renderWithTool(path, "--frame 60", elsewhere.file("out.png"), tool, elsewhere.path())) << tool.log;
    ASSERT_EQ(tool.width, kDefaultSceneWidth);  // the scene's own size
    ASSERT_EQ(tool.height, kDefaultSceneHeight);

    const RGBA background = viewFrame.at(2, 2);
    long differing = 0, drawn = 0;
    for (int y = 0; y < kDefaultSceneHeight; ++y)
        for (int x = 0; x < kDefaultSceneWidth; ++x) {
            const RGBA v = viewFrame.at(x, y);
            if (!near(v, tool.at(x, kDefaultSceneHeight - 1 - y), 3)) ++differing;
            if (!near(v, background, 8)) ++drawn;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, 2000);
    // Probes at the parts: the tallest bar (180 of Q4 at x = 120), the box
    // and the wood-textured plank all differ from the background.
    auto pixelOf = [](double x, double y) {
        const double top = 906.0 * std::tan(15.0 * 3.14159265359 / 180.0), right = top * kDefaultSceneWidth / kDefaultSceneHeight;
        return std::pair<int, int>{static_cast<int>((x / right + 1.0) * 0.5 * kDefaultSceneWidth),
                                   static_cast<int>((y / top + 1.0) * 0.5 * kDefaultSceneHeight)};
    };
    for (auto [x, y] : {pixelOf(120, -40), pixelOf(-200, 100), pixelOf(220, 120)})
        EXPECT_FALSE(near(viewFrame.at(x, y), background, 8)) << x << "," << y << " " << describe(viewFrame.at(x, y));
    const auto [px, py] = pixelOf(220, 120);
    const RGBA wood = viewFrame.at(px, py);
    EXPECT_GT(wood.r, wood.b + 40) << describe(wood);  // the texture's orange-brown, not the plain ink
}
