// The AVI and Flash recordings of the view, headless: an OSMesa context and a
// recording host answer the dialogs. The movies are read back with ffprobe.
#include "app/core/CKelvanoAppState.h"
#include "app/core/CKelvanoDoc.h"
#include "app/core/CKelvanoView.h"
#include "app/core/KelvanoIds.h"
#include "export/CAviWriter.h"
#include "scene/pnEvent.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "tests/app/RecordingHost.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/ToolCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int kLast = 6;

class MovieExportTest : public GLTest {
protected:
    MovieExportTest() : GLTest(kDefaultSceneWidth, kDefaultSceneHeight) {}
    void SetUp() override {
        GLTest::SetUp();
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
        GLFormatInfo f;
        f.alphaBits = 8;
        view->OnCreate(f);
        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
        auto* panel = new pnPanel;
        panel->setName("plate");
        panel->setDimension(260, 150, 10);
        ASSERT_TRUE(view->GetScene()->addObject(panel));
        auto* event = new pnEvent;
        event->setName("plate");
        event->addObjectName("plate");
        event->addPlay("none", 0, kLast, 1);
        ASSERT_TRUE(view->GetScene()->addEvent(event));
        view->GetScene()->addObjectsToScene(event);
        panel->setHighlight(1);
        plate = panel;
        view->m_bHighlightSelected = 1;
        view->m_bAnimationMode = 1;
        view->m_nAntiAlias = 0;
        view->m_nOutputQuality = 4;
        dir = (fs::path(testOutputDir()) / "movie-export" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name())
                  .string();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        view.reset();
        GLTest::TearDown();
    }
    void record(int timer) {
        for (int ticks = 0; view->m_bBusy && ticks < 100; ++ticks) view->OnTimer(timer);
    }
    std::string lastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }
    void expectIdle(const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(view->m_bBusy, 0);
        EXPECT_EQ(view->m_nAntiAlias, 0) << "display level back";
        EXPECT_EQ(plate->getHighlight(), 1) << "highlight back";
        EXPECT_FALSE(host.progressOpen);
    }
    // The files of the folder, temporary ones included.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string probe(const std::string& args, const std::string& path) {
        return runCommand("ffprobe -v error " + args + " -of csv=p=0 '" + path + "' 2>&1");
    }
    // Half a second of a 16-bit mono 22,050 Hz tone.
    void writeTone(const std::string& path) {
        const uint32_t samples = 11025, bytes = samples * 2;
        std::ofstream f(path, std::ios::binary);
        auto u32 = [&f](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [&f](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
        f << "RIFF";
        u32(36 + bytes);
        f << "WAVEfmt ";
        u32(16), u16(1), u16(1), u32(22050), u32(44100), u16(2), u16(16);
        f << "data";
        u32(bytes);
        for (uint32_t i = 0; i < samples; ++i) u16(uint16_t(int16_t((i % 50) * 400 - 10000)));
    }

    CKelvanoAppState app;
    RecordingHost host;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
    pnPanel* plate = nullptr;
    std::string dir;
};

TEST_F(MovieExportTest, AviRecordsEveryFrameWithTheSoundTrack) {
    REQUIRE_TOOL("ffprobe");
    writeTone(dir + "/tone.wav");
    view->GetScene()->addSound(2, (dir + "/tone.wav").c_str());
    AviCompressOptions mjpeg;

    // Cancelling the compressor ends quietly and leaves no file.
    host.dialogPaths.push_back(dir + "/quiet.avi");
    view->OnCommand(kv::ID_EXPORT_AVI);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].title, "Save To AVI");
    EXPECT_EQ(host.dialogs[0].filter, "avi (*.avi) |*.avi|");
    ASSERT_EQ(host.compressorShown.size(), 1u);
    EXPECT_EQ(host.compressorShown[0].handler, kAviMotionJpeg);
    EXPECT_EQ(host.compressorShown[0].quality, 7500);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.timers.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"tone.wav"});
    expectIdle("compressor cancelled");

    // A whole recording: frames 0 to kLast and the tone from frame 2.
    const std::string whole = dir + "/whole.avi";
    host.dialogPaths.push_back(whole);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    EXPECT_EQ(view->m_nCurrentFrame, 1) << "the command wrote frame 0";
    EXPECT_EQ(view->m_nAntiAlias, 4);
    EXPECT_EQ(host.timers.back(), std::make_pair(kRecordAviTimer, 500));
    EXPECT_EQ(host.progressCaptions.back(), "Creating AVI File");
    record(kRecordAviTimer);
    EXPECT_EQ(lastMessage(), "Image creation completed.");
    EXPECT_EQ(host.progressTexts.front(), "Creating whole.avi: frame 1");
    expectIdle("completed");
    EXPECT_EQ(probe("-select_streams v -show_entries stream=codec_name,nb_frames,r_frame_rate", whole),
              "mjpeg,30/1,7\n");
    // 2/30 s of silence, then the half second of the tone: 1,470 + 11,025 samples.
    EXPECT_EQ(probe("-select_streams a -show_entries stream=codec_name,sample_rate,nb_frames", whole),
              "pcm_s16le,22050,12495\n");
    EXPECT_EQ(files(), (std::vector<std::string>{"tone.wav", "whole.avi"})) << "no temporary file stays";

    // Cancelled at frame 2: frames 0-2, and the tone still starts in them.
    const std::string cut = dir + "/cut.avi";
    host.dialogPaths.push_back(cut);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    view->OnTimer(kRecordAviTimer);
    view->OnExportCancel();
    EXPECT_EQ(lastMessage(), "Image creation canceled.");
    expectIdle("cancelled");
    EXPECT_EQ(probe("-select_streams v -show_entries stream=nb_frames", cut), "3\n");
    EXPECT_NE(probe("-select_streams a -show_entries stream=codec_name", cut), "") << "sound kept";

    // A folder that does not exist: an error naming the file, no recording.
    const std::string bad = dir + "/missing/bad.avi";
    host.dialogPaths.push_back(bad);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    EXPECT_NE(lastMessage().find(bad), std::string::npos) << lastMessage();
    expectIdle("failed");
}

TEST_F(MovieExportTest, FlashRecordsEveryFrameWithTheDialogsChoices) {
    REQUIRE_TOOL("ffprobe");
    const std::string path = dir + "/clip.swf";
    host.dialogPaths.push_back(path);
    ExportDialogOptions lossless;
    lossless.kind = ExportDialogOptions::Flash;
    lossless.frameRate = 300;  // kept in a byte
    lossless.bitmap = 1;
    lossless.loop = 1;
    host.optionAnswers.push_back(lossless);
    view->OnCommand(kv::ID_EXPORT_SWF);
    ASSERT_EQ(host.shownOptions.size(), 1u);
    const ExportDialogOptions& shown = host.shownOptions[0];
    EXPECT_EQ(shown.kind, ExportDialogOptions::Flash);
    EXPECT_EQ((std::vector<int>{shown.frameRate, shown.quality, shown.bitmap, shown.loop}),
              (std::vector<int>{12, 60, 0, 0}));
    EXPECT_EQ(host.dialogs.back().filter, "Flash Movie Files (*.swf)|*.swf|");
    EXPECT_EQ(host.progressCaptions.back(), "Creating SWF Flash Files");
    EXPECT_EQ(view->m_nSwfFrameRate, 255);
    EXPECT_EQ(view->m_bSwfLoop, 1);
    record(kRecordSwfTimer);
    EXPECT_EQ(lastMessage(), "Image creation completed.");
    EXPECT_EQ(host.progressTexts.front(), "Creating " + path);
    expectIdle("completed");
    EXPECT_EQ(probe("-count_frames -show_entries stream=nb_read_frames", path), "7\n");
    std::ifstream swf(path, std::ios::binary);
    char header[20] = {};
    swf.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 3), "FWS");
    EXPECT_EQ(uint8_t(header[18]), 255) << "the rate's whole part";

    // JPEG frames into a folder that does not exist: the error names the file.
    const std::string bad = dir + "/missing/bad.swf";
    host.dialogPaths.push_back(bad);
    view->OnCommand(kv::ID_EXPORT_SWF);
    record(kRecordSwfTimer);
    EXPECT_NE(lastMessage().find(bad), std::string::npos) << lastMessage();
    expectIdle("failed");
    EXPECT_EQ(files(), std::vector<std::string>{"clip.swf"});
}

}  // namespace
