#include "app/CKelvanoAppState.h"
#include "app/CKelvanoDoc.h"
#include "app/CKelvanoView.h"
#include "app/KelvanoIds.h"
#include "tests/app/RecordingHost.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

// A scene as the view sees it: counts draws and answers saves as told.
class FakeScene : public CViewScene {
public:
    void DrawInitial(int passes) override { initial.push_back(passes); }
    void DrawFrame(int passes, int frame) override { frames.push_back({passes, frame}); }
    bool PauseReached() const override { return pause; }
    void SetViewport(int w, int h) override { viewport = {w, h}; }
    bool Save(const std::string& path) override {
        saved.push_back(path);
        return saveResult;
    }
    std::vector<int> initial;
    std::vector<std::pair<int, int>> frames;
    std::pair<int, int> viewport{0, 0};
    std::vector<std::string> saved;
    bool pause = false;
    bool saveResult = true;
};

class ViewTest : public GLTest {
protected:
    ViewTest() : GLTest(kDefaultSceneWidth, kDefaultSceneHeight) {}
    void SetUp() override {
        GLTest::SetUp();
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
    }
    FakeScene* attachScene() {
        auto scene = std::make_unique<FakeScene>();
        FakeScene* raw = scene.get();
        view->AttachScene(std::move(scene));
        return raw;
    }
    GLFormatInfo format(int alpha, int accum) {
        GLFormatInfo f;
        f.alphaBits = alpha;
        f.accumRedBits = accum;
        return f;
    }

    CKelvanoAppState app;
    RecordingHost host;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
};

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

    view->OnCreate(format(0, 0));
    EXPECT_EQ(view->m_bAlphaBits, 0);
    EXPECT_EQ(app.m_nColorBits, 24);
    EXPECT_EQ(app.m_nAlphaBits, 0);
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

TEST_F(ViewTest, WithoutASceneTheViewShowsTheNewScenesBackground) {
    view->OnCreate(format(8, 16));
    view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    view->OnDraw();
    EXPECT_EQ(host.makeCurrentCalls, 1);
    EXPECT_EQ(host.swaps, 1);
    Frame f = readFrame(width_, height_);
    for (auto [x, y] : {std::pair{0, 0}, {290, 196}, {579, 391}})
        EXPECT_TRUE(near(f.at(x, y), {36, 89, 171, 0}, 1)) << describe(f.at(x, y));
}

TEST_F(ViewTest, NothingIsDrawnWithoutAContext) {
    host.contextAvailable = false;
    view->OnDraw();
    EXPECT_EQ(host.swaps, 0);
}

TEST_F(ViewTest, DrawingGoesToTheSceneAtTheAntiAliasLevel) {
    view->OnCreate(format(8, 16));
    FakeScene* scene = attachScene();
    view->m_nAntiAlias = 8;
    view->OnDraw();
    ASSERT_EQ(scene->initial.size(), 1u);
    EXPECT_EQ(scene->initial[0], 8);

    view->m_bAnimationMode = 1;
    view->m_nCurrentFrame = 42;
    view->m_nAntiAlias = 4;
    view->OnDraw();
    ASSERT_EQ(scene->frames.size(), 1u);
    EXPECT_EQ(scene->frames[0], (std::pair<int, int>{4, 42}));
    EXPECT_EQ(host.swaps, 2);

    // At a pause frame nothing is drawn, and nothing is swapped either: the
    // window keeps the last picture instead of an undefined back buffer.
    scene->pause = true;
    view->OnDraw();
    EXPECT_EQ(scene->frames.size(), 1u);
    EXPECT_EQ(host.swaps, 2);
}

TEST_F(ViewTest, WithoutAccumulationLevelsFallBackToOnePassAndSaySoOnce) {
    view->OnCreate(format(8, 0));
    FakeScene* scene = attachScene();
    EXPECT_EQ(view->AntiAliasPasses(0), 0);
    EXPECT_TRUE(host.statusTexts.empty());
    view->m_nAntiAlias = 4;
    view->OnDraw();
    view->m_nAntiAlias = 8;
    view->OnDraw();
    EXPECT_EQ(scene->initial, (std::vector<int>{0, 0}));
    EXPECT_EQ(host.statusTexts.size(), 1u);
}

TEST_F(ViewTest, WaitCursorForOneDraw) {
    view->m_bWaitCursorOnDraw = 1;
    view->m_nTransformMode = 1;
    view->OnDraw();
    ASSERT_EQ(host.cursors.size(), 2u);
    EXPECT_EQ(host.cursors[0], ViewCursor::Wait);
    EXPECT_EQ(host.cursors[1], ViewCursor::Scale);
    EXPECT_EQ(view->m_bWaitCursorOnDraw, 0);
    view->OnDraw();
    EXPECT_EQ(host.cursors.size(), 2u);
}

TEST_F(ViewTest, ResizingSetsTheSceneSizeAndIgnoresAMinimisedWindow) {
    FakeScene* scene = attachScene();
    doc->m_fSafetyZoneH = 10;
    doc->m_fSafetyZoneV = 10;
    view->OnSize(640, 480);
    EXPECT_EQ(doc->m_nSceneWidth, 640);
    EXPECT_EQ(doc->m_nSceneHeight, 480);
    EXPECT_NEAR(doc->m_dAspect, 1.3333, 1e-4);
    EXPECT_EQ(doc->m_rcSafetyZone, (CRectI{64, 48, 575, 431}));
    EXPECT_EQ(scene->viewport, (std::pair<int, int>{640, 480}));
    for (auto [w, h] : {std::pair{0, 480}, {640, 0}, {0, 0}, {-1, 10}}) {
        view->OnSize(w, h);
        EXPECT_EQ(doc->m_nSceneWidth, 640);
        EXPECT_EQ(doc->m_nSceneHeight, 480);
        EXPECT_NEAR(doc->m_dAspect, 1.3333, 1e-4);
        EXPECT_EQ(scene->viewport, (std::pair<int, int>{640, 480}));
    }
}

TEST(ViewPrintTest, PrintTargetKeepsTheShapeWithoutOverflow) {
    EXPECT_EQ(CKelvanoView::PrintTarget(800, 600, 4800, 600, 600), (CRectI{0, 0, 4800, 3600}));
    // 30000 x 2400 x 20000 does not fit 32 bits.
    EXPECT_EQ(CKelvanoView::PrintTarget(30000, 30000, 20000, 2400, 2400), (CRectI{0, 0, 20000, 20000}));
    EXPECT_EQ(CKelvanoView::PrintTarget(0, 600, 4800, 600, 600), (CRectI{0, 0, 4800, 0}));
    EXPECT_EQ(CKelvanoView::PrintTarget(800, 600, 4800, 0, 600), (CRectI{0, 0, 4800, 0}));
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
    attachScene();
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
    FakeScene* scene = attachScene();
    scene->saveResult = false;
    view->m_bModified = 1;
    view->m_strPathName = "/scenes/demo.apn";
    host.answers = {KV_IDYES, KV_IDOK};
    EXPECT_EQ(view->SaveModified(), 0);
    EXPECT_EQ(scene->saved, (std::vector<std::string>{"/scenes/demo.apn"}));
    EXPECT_EQ(view->m_bModified, 1);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "\"/scenes/demo.apn\" could not be saved.");
    EXPECT_TRUE(host.titles.empty());
}

TEST_F(ViewTest, YesWithASuccessfulSaveGoesOn) {
    FakeScene* scene = attachScene();
    app.InitFolders("/opt/kelvano");
    view->m_bModified = 1;
    host.answers = {KV_IDYES};
    host.dialogPaths = {"/home/ann/demo.apn"};
    EXPECT_EQ(view->SaveModified(), 1);
    EXPECT_EQ(host.dialogs[0].initialDir, "/opt/kelvano/scenes");
    EXPECT_EQ(scene->saved, (std::vector<std::string>{"/home/ann/demo.apn"}));
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_EQ(view->m_strPathName, "/home/ann/demo.apn");
    EXPECT_EQ(host.titles, (std::vector<std::string>{"/home/ann/demo.apn"}));
    EXPECT_EQ(app.GetSceneDir(), "/home/ann");
}

TEST_F(ViewTest, AFailedSaveAsKeepsTheOldName) {
    FakeScene* scene = attachScene();
    view->m_strPathName = "/old.apn";
    scene->saveResult = false;
    host.dialogPaths = {"/new.apn"};
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
    attachScene();
    ui = CCmdUI{};
    EXPECT_TRUE(view->OnUpdateCommand(kv::ID_FILE_SAVE_AS, ui));
    EXPECT_TRUE(ui.enabled);
    CCmdUI other;
    EXPECT_FALSE(view->OnUpdateCommand(kv::ID_EDIT_UNDO, other));
    EXPECT_FALSE(view->OnCommand(kv::ID_EDIT_UNDO));
}
