// Image Size, Edit Options and Background Texture on a headless view with a
// recording host.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "scene/pnBackground.h"
#include "tests/app/ViewFixture.h"

#include <filesystem>

namespace {

class SceneCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        create();
        doc->ClearUndoHistory();
        view->m_bModified = 0;
    }
    pnBackground& background() { return *dynamic_cast<pnBackground*>(scene().getBackground()); }
};

}  // namespace

TEST_F(SceneCommandsTest, ImageSizeSizesTheSceneWindowKeepsTheFlagAndMarksTheScene) {
    doc->m_nSceneWidth = 640;
    doc->m_nSceneHeight = 480;
    struct Case {
        const char* what;
        bool answered;
        std::array<int, 3> answer;
        size_t sizes;
        int keepAspect, modified;
    } cases[] = {
        {"cancel", false, {0, 0, 0}, 0, 0, 0},
        {"ok", true, {320, 240, 1}, 1, 1, 1},
        {"a side below 1", true, {0, 240, 0}, 1, 1, 1},
        // A GL drawable of several gigabytes is never asked for.
        {"a side above 4096", true, {58000, 240, 0}, 1, 1, 1},
        {"a height above 4096", true, {320, 4097, 0}, 1, 1, 1},
        {"the largest side", true, {4096, 4096, 1}, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.answered) host.imageSizeAnswers.push_back(c.answer);
        const int keep = doc->m_bKeepAspect;
        EXPECT_TRUE(view->OnCommand(kv::ID_IMAGE_SIZE));
        EXPECT_EQ(host.imageSizeShown.back(), (std::array<int, 3>{640, 480, keep}));
        EXPECT_EQ(host.sceneSizes.size(), c.sizes);
        EXPECT_EQ(doc->m_bKeepAspect, c.keepAspect);
        EXPECT_EQ(view->m_bModified, c.modified);
    }
    EXPECT_EQ(host.sceneSizes.front(), (std::pair<int, int>{320, 240}));
    EXPECT_EQ(host.sceneSizes.back(), (std::pair<int, int>{4096, 4096}));
    // The document's size comes only through OnSize.
    EXPECT_EQ(doc->m_nSceneWidth, 640);
}

TEST_F(SceneCommandsTest, EditOptionsStoresTheOffsetsOnlyAfterOk) {
    host.offsetAnswers.push_back({-5, 30});
    EXPECT_TRUE(view->OnCommand(kv::ID_EDIT_OPTIONS));
    EXPECT_EQ(doc->m_nCopyOffsetX, -5);
    EXPECT_EQ(doc->m_nCopyOffsetY, 30);
    EXPECT_TRUE(view->OnCommand(kv::ID_EDIT_OPTIONS));  // cancelled
    EXPECT_EQ(doc->m_nCopyOffsetX, -5);
}

TEST_F(SceneCommandsTest, BackgroundTextureIsStoredRelativeToTheProgramFolderAsOneStep) {
    const std::string dir = folder();
    app.m_strProgramDir = dir + "/prog";
    std::filesystem::create_directories(dir + "/prog/Backgrounds");
    const std::string inside = dir + "/prog/Backgrounds/sky.tga", outside = dir + "/sea.tga";
    for (const std::string& p : {inside, outside}) write(p, "not really an image");
    struct Case {
        const char* what;
        std::string chosen;
        int done;
        std::string stored;
        int steps;
    } cases[] = {
        {"cancel", "", 0, "", 0},
        {"missing file", dir + "/none.tga", 0, "", 0},
        {"under the program folder", inside, 1, "Backgrounds/sky.tga", 1},
        {"elsewhere", outside, 1, outside, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.dialogPaths.push_back(c.chosen);
        EXPECT_EQ(view->OnBackgroundTexture(), c.done);
        EXPECT_EQ(doc->GetUndoHistory().GetCount(), c.steps);
        if (!c.done) continue;
        EXPECT_EQ(background().getFile(), c.stored);
        EXPECT_EQ(background().getUseTexture(), 1);
        EXPECT_EQ(background().getTexMode(), 0);
        EXPECT_EQ(doc->GetUndoHistory().Current()->m_nKind, UNDO_BACKGROUND);
        EXPECT_EQ(app.m_strBackgroundDir, c.chosen.substr(0, c.chosen.rfind('/')));
    }
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"" + dir + "/none.tga\": not found");
    EXPECT_EQ(host.messages[0].caption, "File open error");
    const FileDialogRequest& request = host.dialogs.front();
    EXPECT_EQ(request.defaultExtension, ".tga");
    EXPECT_TRUE(request.preview);
    EXPECT_EQ(request.filter, "Texture Image (*.tga; *.bmp; *.jpg; *.png; *.rgb)                           "
                              "|*.tga; *.bmp; *.jpg; *.png; *.rgb|");
    // The next dialog opens in the folder of the stored texture.
    EXPECT_EQ(host.dialogs.back().initialDir, dir + "/prog/Backgrounds");
}
