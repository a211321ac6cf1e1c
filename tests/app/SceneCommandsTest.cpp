// Image Size, Edit Options and Background Texture on a headless view with a
// recording host.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "assets/writePNG.h"
#include "editor/PictureErrors.h"
#include "scene/pnBackground.h"
#include "sg/sgChannel.h"
#include "sg/sgRuntime.h"
#include "tests/app/ViewFixture.h"

#include <filesystem>

namespace {

class SceneCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        app.InitSceneServices();  // the picture readers
        create();
        doc->ClearUndoHistory();
        view->m_bModified = 0;
    }
    pnBackground& background() { return *dynamic_cast<pnBackground*>(scene().getBackground()); }
    // A uniform 8 x 8 RGB picture.
    static void picture(const std::string& path, uint8_t r, uint8_t g, uint8_t b) {
        std::vector<uint8_t> pixels(8 * 8 * 3);
        for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = r, pixels[i + 1] = g, pixels[i + 2] = b;
        ASSERT_EQ(writePNG(path, pixels.data(), 8, 8, 24, 0, 1.0), 1);
    }
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
    const std::string inside = dir + "/prog/Backgrounds/sky.png", outside = dir + "/sea.png";
    for (const std::string& p : {inside, outside}) picture(p, 10, 20, 30);
    struct Case {
        const char* what;
        std::string chosen;
        int done;
        std::string stored;
        int steps;
    } cases[] = {
        {"cancel", "", 0, "", 0},
        {"missing file", dir + "/none.tga", 0, "", 0},
        {"under the program folder", inside, 1, "Backgrounds/sky.png", 1},
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

// A picture that opens but does not decode is refused with a message, and the
// background stays as it was.
TEST_F(SceneCommandsTest, BackgroundPictureThatDoesNotDecodeIsRefused) {
    const std::string dir = folder();
    const std::string good = dir + "/good.png", cut = dir + "/cut.png";
    picture(good, 10, 200, 30);
    {
        std::ifstream in(good, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        write(cut, bytes.substr(0, bytes.size() / 2));
    }
    host.dialogPaths.push_back(good);
    ASSERT_EQ(view->OnBackgroundTexture(), 1);
    host.dialogPaths.push_back(cut);
    EXPECT_EQ(view->OnBackgroundTexture(), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"" + cut + "\" cannot be used as a picture: corrupt.");
    EXPECT_EQ(host.messages[0].caption, "File open error");
    EXPECT_EQ(background().getFile(), good);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    EXPECT_TRUE(near(draw().at(290, 196), RGBA{10, 200, 30, 255}, 2));
}

// A picture chosen under the program folder is stored relative to it, and
// found there again, also once the scene is saved elsewhere and opened again.
TEST_F(SceneCommandsTest, BackgroundUnderTheProgramFolderIsFoundAgainAfterReopening) {
    const std::string dir = folder(), prog = dir + "/prog";
    std::filesystem::create_directories(prog + "/scenes");
    std::filesystem::create_directories(dir + "/elsewhere");
    app.InitFolders(prog);
    app.InitSceneServices();
    ASSERT_TRUE(view->OnCommand(kv::ID_FILE_NEW));
    picture(prog + "/scenes/dusk.png", 200, 100, 50);
    host.dialogPaths.push_back(prog + "/scenes/dusk.png");
    ASSERT_EQ(view->OnBackgroundTexture(), 1);
    EXPECT_EQ(background().getFile(), "scenes/dusk.png");
    EXPECT_TRUE(near(draw().at(290, 196), RGBA{200, 100, 50, 255}, 2)) << describe(draw().at(290, 196));

    const std::string saved = dir + "/elsewhere/dusk.apn";
    ASSERT_EQ(scene().save(saved.c_str(), 0), 1);
    view->m_bModified = 0;
    ASSERT_TRUE(view->OnCommand(kv::ID_FILE_NEW));
    host.dialogPaths.push_back(saved);
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(background().getFile(), "scenes/dusk.png");
    EXPECT_NE(sgChannel::sgGetChannel()->getBackgroundTexture(), 0u);
    EXPECT_TRUE(near(draw().at(290, 196), RGBA{200, 100, 50, 255}, 2)) << describe(draw().at(290, 196));
}

// A background that names neither a colour nor a picture is drawn on the
// default colour, not on what the channel showed before: here the picture an
// undone Background > Texture had set on a scene read from a file.
TEST_F(SceneCommandsTest, BackgroundWithoutColourOrPictureDropsTheLastPicture) {
    const std::string dir = folder();
    picture(dir + "/stars.png", 250, 250, 0);
    write(dir + "/plain.apn", "background {\n    name\t\"Background\"\n    useTexture\t0\n}\n"
                              "material {\n    name\t\"m\"\n}\n");
    host.dialogPaths.push_back(dir + "/plain.apn");
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_TRUE(near(draw().at(290, 196), RGBA{0, 0, 0, 0}, 1)) << describe(draw().at(290, 196));
    host.dialogPaths.push_back(dir + "/stars.png");
    ASSERT_EQ(view->OnBackgroundTexture(), 1);
    EXPECT_TRUE(near(draw().at(290, 196), RGBA{250, 250, 0, 255}, 2)) << describe(draw().at(290, 196));
    view->OnEditUndo();
    EXPECT_EQ(background().getUseTexture(), 0);
    EXPECT_EQ(sgChannel::sgGetChannel()->getBackgroundOn(), 0);
    const RGBA after = draw().at(290, 196);
    EXPECT_TRUE(near(after, RGBA{0, 0, 0, 0}, 1)) << describe(after);
}

// The readers' reports wait in a queue until the paint that read the picture
// is over; each shows once.
TEST_F(SceneCommandsTest, PictureReportsWaitForThePaintAndShowOnce) {
    const std::string dir = folder();
    // A bitmap with a header the reader does not take (a V5 header, 124 bytes).
    std::string bmp = "BM" + std::string(12, '\0');
    bmp += std::string(1, char(124)) + std::string(3, '\0') + std::string(200, '\x01');
    write(dir + "/new.bmp", bmp);
    write(dir + "/boxes.apn", "material {\n    name\t\"w\"\n    diffuse\t( 1 1 1 )\n}\n"
                              "panel {\n    name\t\"p\"\n    material\t\"w\"\n    texture\t\"new.bmp\"\n"
                              "    faceFlag\t( 1 0 0 0 0 0 )\n    kind\t\"2D\"\n    dimension\t( 100 100 0 )\n"
                              "    mode\t0\n}\n"
                              "event {\n    name\t\"pEvent\"\n    objectName\t\"p\"\n}\n");
    int wakes = 0;
    InstallQueuedErrorReporter([&] { ++wakes; });
    host.dialogPaths.push_back(dir + "/boxes.apn");
    ASSERT_EQ(view->OnFileOpen(), 1);
    draw();
    draw();
    const std::vector<QueuedError> shown = TakeQueuedErrors();
    sgSetErrorReporter(nullptr);
    EXPECT_EQ(wakes, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Unknown DIB file format.");
    EXPECT_TRUE(TakeQueuedErrors().empty());
}
