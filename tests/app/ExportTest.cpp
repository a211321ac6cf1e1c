// Playback, the animated GIF, AVI and Flash recordings and the still exports
// of the view, headless: an OSMesa context and a recording host answer for the
// windows. The files are checked with ImageMagick, pngcheck, giflib's giftext
// and ffprobe.
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "export/CAviWriter.h"
#include "scene/pnBackground.h"
#include "scene/pnEvent.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "tests/app/RecordingHost.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/ToolCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kLast = 6;  // last event frame of the test scene

class ExportTest : public GLTest {
protected:
    ExportTest() : GLTest(kDefaultSceneWidth, kDefaultSceneHeight) {}
    void SetUp() override {
        GLTest::SetUp();
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
        GLFormatInfo f;
        f.alphaBits = 8;
        f.accumRedBits = 16;
        view->OnCreate(f);
        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
        // A white plate, highlighted as a selection is, shown from frame 0 to kLast.
        auto* panel = new pnPanel;
        panel->setName("plate");
        panel->setMaterial("Color18");
        panel->setDimension(260, 150, 10);
        ASSERT_TRUE(scene().addObject(panel));
        auto* event = new pnEvent;
        event->setName("plate");
        event->addObjectName("plate");
        event->addPlay("none", 0, kLast, 1);
        ASSERT_TRUE(scene().addEvent(event));
        scene().addObjectsToScene(event);
        plate = panel;
        plate->setHighlight(1);
        view->m_bHighlightSelected = 1;
        view->m_nAntiAlias = 0;
        view->m_nOutputQuality = 4;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = (fs::path(testOutputDir()) / "export-view" / info->name()).string();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        view.reset();
        GLTest::TearDown();
    }
    pnScene& scene() { return *view->GetScene(); }
    // Ticks the recording until it ends (bounded).
    int runRecording(int maxTicks = 100, int timer = kRecordGifTimer) {
        int ticks = 0;
        while (view->m_bBusy && ticks < maxTicks) {
            view->OnTimer(timer);
            ++ticks;
        }
        return ticks;
    }
    std::string lastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }
    // What is left of the view after an export, success or not.
    void expectRestored(const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(view->m_nAntiAlias, 0) << "display level";
        EXPECT_EQ(plate->getHighlight(), 1) << "highlight given back";
        EXPECT_EQ(view->m_bBusy, 0);
        EXPECT_EQ(view->m_bPlaying, 0);
        EXPECT_FALSE(host.progressOpen);
    }
    static int gifFrames(const std::string& path) {
        int status = 0;
        const std::string out = runCommand("identify '" + path + "' 2>/dev/null", &status);
        if (status != 0) return -1;
        int lines = 0;
        for (char c : out) lines += c == '\n';
        return lines;
    }

    CKelvanoAppState app;
    RecordingHost host;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
    pnPanel* plate = nullptr;
    std::string dir;
};

// The names in a folder, temporary files included.
std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string probeMovie(const std::string& args, const std::string& path) {
    return runCommand("ffprobe -v error " + args + " -of csv=p=0 '" + path + "' 2>&1");
}

// Half a second of a 16-bit mono 22,050 Hz tone.
void writeToneWav(const std::string& path) {
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

TEST_F(ExportTest, PlaybackRewindsContinuesAndHoldsAtPauses) {
    view->m_bAnimationMode = 1;
    // At the last frame play starts again from 0; mid-way it goes on.
    view->SetCurrentFrame(kLast);
    view->OnPlayStart();
    EXPECT_EQ(view->m_nCurrentFrame, 0);
    ASSERT_FALSE(host.timers.empty());
    EXPECT_EQ(host.timers.back(), std::make_pair(kPlaybackTimer, 50));
    EXPECT_EQ(plate->getHighlight(), 0) << "playback shows no highlight";
    view->OnPlayPause();
    EXPECT_EQ(view->m_bPlaying, 0);
    view->SetCurrentFrame(3);
    view->OnPlayStart();
    EXPECT_EQ(view->m_nCurrentFrame, 3);
    for (int i = 0; i < 20 && view->m_bPlaying; ++i) view->OnTimer(kPlaybackTimer);
    EXPECT_EQ(view->m_nCurrentFrame, kLast);
    EXPECT_EQ(view->m_bPlaying, 0);
    EXPECT_EQ(host.killedTimers.back(), kPlaybackTimer);
    EXPECT_EQ(plate->getHighlight(), 1) << "the end gives the highlight back";

    // A pause at frame 2 holds until Space.
    scene().addPause(2);
    view->SetCurrentFrame(0);
    view->OnPlayStart();
    for (int i = 0; i < 10; ++i) view->OnTimer(kPlaybackTimer);
    EXPECT_EQ(view->m_nCurrentFrame, 2);
    EXPECT_EQ(view->m_bPlaying, 1);
    EXPECT_FALSE(view->OnKeyDown('Q'));
    EXPECT_EQ(view->m_nCurrentFrame, 2);
    EXPECT_TRUE(view->OnKeyDown(kKeySpace));
    for (int i = 0; i < 20 && view->m_bPlaying; ++i) view->OnTimer(kPlaybackTimer);
    EXPECT_EQ(view->m_nCurrentFrame, kLast);
    EXPECT_FALSE(view->OnKeyDown(kKeyEnter)) << "no pause to pass";

    // Play and the pause keys are ignored while a recording runs.
    view->m_bBusy = 1;
    const size_t timers = host.timers.size();
    view->OnPlayStart();
    EXPECT_EQ(host.timers.size(), timers);
    EXPECT_EQ(view->m_bPlaying, 0);
    view->m_bBusy = 0;
}

TEST_F(ExportTest, GifAnimationRecordsEveryFrameCancelsAndReportsFailures) {
    // Outside animation mode the command does nothing.
    view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
    EXPECT_TRUE(host.dialogs.empty());
    view->m_bAnimationMode = 1;

    const std::string whole = dir + "/whole.gif";
    host.dialogPaths.push_back(whole);
    ExportDialogOptions answer;
    answer.kind = ExportDialogOptions::GifAnimation;
    answer.loopCount = 70000;  // clamped to the field
    answer.delay = 7;
    host.optionAnswers.push_back(answer);
    doc->m_bGifTransparent = 1;
    view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].title, "Save To GIF Animation");
    EXPECT_EQ(host.dialogs[0].filter, "GIF Animation File (*.gif) |*.gif|");
    EXPECT_EQ(host.shownOptions.back().check, 0) << "Transparent Background starts unchecked";
    EXPECT_EQ(view->m_nGifLoopCount, 65535);
    EXPECT_EQ(view->m_bBusy, 1);
    EXPECT_EQ(view->m_nAntiAlias, 4) << "recorded at the output level";
    EXPECT_EQ(host.timers.back(), std::make_pair(kRecordGifTimer, 500));
    EXPECT_EQ(host.progressCaptions.back(), "Creating GIF Animation File");
    EXPECT_EQ(host.progressPlaces.back(), CViewHost::ProgressPlace::BottomRight);
    EXPECT_EQ(host.progressRange, std::make_pair(0, kLast));
    runRecording();
    EXPECT_EQ(lastMessage(), "Image creation completed.");
    EXPECT_EQ(host.progressTexts.front(), "Creating whole.gif: frame 0");
    expectRestored("completed");
    EXPECT_EQ(gifFrames(whole), kLast + 1);
    const std::string blocks = runCommand("giftext '" + whole + "' 2>&1");
    EXPECT_NE(blocks.find("application block"), std::string::npos) << blocks.substr(0, 400);

    // Play is refused during a recording; cancel at frame 2 ends with frame 2.
    const std::string cut = dir + "/cut.gif";
    host.dialogPaths.push_back(cut);
    view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
    view->OnTimer(kRecordGifTimer);
    view->OnTimer(kRecordGifTimer);
    EXPECT_EQ(view->m_nCurrentFrame, 2);
    CCmdUI ui;
    view->OnUpdateCommand(kv::ID_EXPORT_PNG, ui);
    EXPECT_FALSE(ui.enabled) << "stills are greyed while recording";
    view->OnPlayStart();
    EXPECT_EQ(view->m_nTimerId, kRecordGifTimer);
    view->OnExportCancel();
    EXPECT_EQ(lastMessage(), "Image creation canceled.");
    expectRestored("canceled");
    EXPECT_EQ(gifFrames(cut), 3);

    // A file that cannot be made ends with an error box naming it.
    const std::string bad = dir + "/missing/bad.gif";
    host.dialogPaths.push_back(bad);
    view->m_nAntiAlias = 0;
    view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
    runRecording();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(lastMessage().find(bad), std::string::npos) << lastMessage();
    EXPECT_NE(host.messages.back().style & KV_MB_ICONERROR, 0);
    expectRestored("failed");
    EXPECT_FALSE(fs::exists(bad));
}

TEST_F(ExportTest, StillExportsWriteTheOutputLevelWithoutHighlights) {
    struct Case {
        int id;
        const char* name;
        const char* title;
        int alpha;  // asks for the alpha channel (Targa and PNG)
    };
    const Case cases[] = {
        {kv::ID_EXPORT_BMP, "a.bmp", "Save To BMP", 0},   {kv::ID_EXPORT_JPEG, "a.jpg", "Save To JPG", 0},
        {kv::ID_EXPORT_TARGA, "a.tga", "Save To TGA", 0}, {kv::ID_EXPORT_PNG, "a.png", "Save To PNG", 0},
        {kv::ID_EXPORT_GIF, "a.gif", "Save To GIF", 0},   {kv::ID_EXPORT_RGB, "a.rgb", "Save To RGB", 0},
        {kv::ID_EXPORT_PNG, "alpha.png", "Save To PNG", 1}, {kv::ID_EXPORT_TARGA, "alpha.tga", "Save To TGA", 1},
        {kv::ID_EXPORT_PNG, "mask.png", "Save To PNG", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + c.name;
        host.dialogPaths.push_back(path);
        doc->m_bSaveAlpha = c.alpha ? 1 : 0;
        // 2: a drawable without alpha makes the silhouette mask.
        view->m_bAlphaBits = c.alpha == 2 ? 0 : 1;
        const size_t before = host.messages.size();
        view->OnCommand(c.id);
        EXPECT_EQ(host.dialogs.back().title, c.title);
        EXPECT_EQ(host.messages.size(), before) << lastMessage();
        expectRestored(c.name);
        int status = 0;
        const std::string typed = fs::path(path).extension() == ".rgb" ? "sgi:" + path : path;
        const std::string info = runCommand("identify -format '%w %h' '" + typed + "' 2>&1", &status);
        EXPECT_EQ(status, 0) << info;
        EXPECT_EQ(info, "580 392");
        // No pixel of the highlight's green in the file.
        const std::string rgb = runCommand("convert '" + typed + "' -depth 8 rgb:- 2>/dev/null");
        ASSERT_EQ(rgb.size(), size_t(580 * 392 * 3));
        int green = 0;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
            const auto r = uint8_t(rgb[i]), g = uint8_t(rgb[i + 1]), b = uint8_t(rgb[i + 2]);
            green += g > 235 && r > 80 && r < 125 && b > 80 && b < 125;
        }
        EXPECT_EQ(green, 0);
        if (fs::path(path).extension() == ".png") {
            EXPECT_EQ(runCommand("pngcheck -q '" + path + "' >/dev/null 2>&1; echo $?"), "0\n");
        }
        if (c.alpha) {
            // Transparent beside the plate, opaque on it.
            const std::string corner =
                runCommand("convert '" + path + "' -format '%[fx:int(255*p{5,5}.a)] %[fx:int(255*p{290,196}.a)]' info:");
            EXPECT_EQ(corner, "0 255");
        }
    }
    EXPECT_EQ(doc->m_nJpegQuality, 100);
    EXPECT_EQ(host.shownOptions[0].kind, ExportDialogOptions::Jpeg);

    // A transparent GIF still: the background colour (0.14, 0.35, 0.67)
    // rounds as GL does, so the corner is the transparent colour.
    ExportDialogOptions transparent;
    transparent.kind = ExportDialogOptions::Gif;
    transparent.check = 1;
    host.optionAnswers.push_back(transparent);
    host.dialogPaths.push_back(dir + "/clear.gif");
    view->OnCommand(kv::ID_EXPORT_GIF);
    EXPECT_EQ(doc->m_bGifTransparent, 1);
    EXPECT_EQ(runCommand("convert '" + dir + "/clear.gif' -format '%[fx:int(255*p{5,5}.a)]' info:"), "0");

    // Failing writers end with an error box naming the file.
    for (int id : {kv::ID_EXPORT_BMP, kv::ID_EXPORT_PNG, kv::ID_EXPORT_GIF}) {
        const std::string bad = dir + "/missing/x.img";
        host.dialogPaths.push_back(bad);
        view->OnCommand(id);
        EXPECT_NE(lastMessage().find(bad), std::string::npos) << id;
        expectRestored("failed still");
    }
    // Cancel writes nothing and changes nothing.
    const size_t messages = host.messages.size();
    view->OnCommand(kv::ID_EXPORT_BMP);
    EXPECT_EQ(host.messages.size(), messages);
    expectRestored("cancel");
}

TEST_F(ExportTest, UpdateRulesAndAlphaMask) {
    struct Rule {
        int id;
        bool object, animation, playing;
    };
    const Rule rules[] = {
        {kv::ID_EXPORT_BMP, true, true, false},          {kv::ID_EXPORT_GIF, true, true, false},
        {kv::ID_EXPORT_GIF_ANIMATION, false, true, false}, {kv::ID_EXPORT_AVI, false, true, false},
        {kv::ID_EXPORT_SWF, false, true, false},           {kv::ID_FILE_NEW, true, true, false},
        {kv::ID_FILE_OPEN, true, true, false},
    };
    for (const Rule& r : rules) {
        CCmdUI ui;
        view->m_bAnimationMode = 0;
        view->m_bPlaying = 0;
        ASSERT_TRUE(view->OnUpdateCommand(r.id, ui));
        EXPECT_EQ(ui.enabled, r.object) << r.id;
        view->m_bAnimationMode = 1;
        view->OnUpdateCommand(r.id, ui);
        EXPECT_EQ(ui.enabled, r.animation) << r.id;
        view->m_bPlaying = 1;
        view->OnUpdateCommand(r.id, ui);
        EXPECT_EQ(ui.enabled, r.playing) << r.id;
        // A recording between its ticks greys them all.
        view->m_bPlaying = 0;
        view->m_bBusy = 1;
        view->OnUpdateCommand(r.id, ui);
        EXPECT_FALSE(ui.enabled) << r.id;
        view->m_bBusy = 0;
    }
    view->m_bPlaying = 0;
    view->m_bAnimationMode = 0;
    // The mask is the plate's silhouette, whatever its colour; highlights
    // come back.
    std::vector<uint8_t> mask(580 * 392);
    ASSERT_EQ(view->RenderAlphaMask(mask.data(), 580, 392), 1);
    EXPECT_EQ(mask[196 * 580 + 290], 255);
    EXPECT_EQ(mask[5 * 580 + 5], 0);
    EXPECT_EQ(plate->getHighlight(), 1);
}

TEST_F(ExportTest, AviRecordsEveryFrameWithTheSoundTrack) {
    REQUIRE_TOOL("ffprobe");
    view->m_bAnimationMode = 1;
    writeToneWav(dir + "/tone.wav");
    scene().addSound(2, (dir + "/tone.wav").c_str());
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
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"tone.wav"});
    expectRestored("compressor cancelled");

    // A playback stopped at frame 1 from the time line (which notes that
    // frame as the end of a recording's sounds) leaves the next movie whole.
    view->OnPlayStart();
    view->OnTimer(kPlaybackTimer);
    view->m_nRecordEndFrame = view->m_nCurrentFrame;
    view->OnPlayStop();

    // A whole recording: frames 0 to kLast and the tone from frame 2.
    const std::string whole = dir + "/whole.avi";
    host.dialogPaths.push_back(whole);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    EXPECT_EQ(view->m_nCurrentFrame, 1) << "the command wrote frame 0";
    EXPECT_EQ(view->m_nAntiAlias, 4);
    EXPECT_EQ(host.timers.back(), std::make_pair(kRecordAviTimer, 500));
    EXPECT_EQ(host.progressCaptions.back(), "Creating AVI File");
    EXPECT_EQ(host.progressPlaces.back(), CViewHost::ProgressPlace::BottomMiddle);
    runRecording(100, kRecordAviTimer);
    EXPECT_EQ(lastMessage(), "Image creation completed.");
    EXPECT_EQ(host.progressTexts.front(), "Creating whole.avi: frame 1");
    expectRestored("completed");
    EXPECT_EQ(probeMovie("-select_streams v -show_entries stream=codec_name,nb_frames,r_frame_rate", whole),
              "mjpeg,30/1,7\n");
    // 2/30 s of silence, then the half second of the tone: 1,470 + 11,025 samples.
    EXPECT_EQ(probeMovie("-select_streams a -show_entries stream=codec_name,sample_rate,nb_frames", whole),
              "pcm_s16le,22050,12495\n");
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"tone.wav", "whole.avi"})) << "no temporary file stays";

    // Cancelled at frame 2: frames 0-2, and the tone still starts in them.
    const std::string cut = dir + "/cut.avi";
    host.dialogPaths.push_back(cut);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    view->OnTimer(kRecordAviTimer);
    view->OnExportCancel();
    EXPECT_EQ(lastMessage(), "Image creation canceled.");
    expectRestored("cancelled");
    EXPECT_EQ(probeMovie("-select_streams v -show_entries stream=nb_frames", cut), "3\n");
    EXPECT_NE(probeMovie("-select_streams a -show_entries stream=codec_name", cut), "") << "sound kept";

    // A folder that does not exist: an error naming the file, no recording.
    const std::string bad = dir + "/missing/bad.avi";
    host.dialogPaths.push_back(bad);
    host.compressorAnswers.push_back({true, mjpeg});
    view->OnCommand(kv::ID_EXPORT_AVI);
    EXPECT_NE(lastMessage().find(bad), std::string::npos) << lastMessage();
    expectRestored("failed");
}

TEST_F(ExportTest, FlashRecordsEveryFrameWithTheDialogsChoices) {
    REQUIRE_TOOL("ffprobe");
    view->m_bAnimationMode = 1;
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
    EXPECT_EQ(host.progressPlaces.back(), CViewHost::ProgressPlace::BottomMiddle);
    EXPECT_EQ(view->m_nSwfFrameRate, 255);
    EXPECT_EQ(view->m_bSwfLoop, 1);
    runRecording(100, kRecordSwfTimer);
    EXPECT_EQ(lastMessage(), "Image creation completed.");
    EXPECT_EQ(host.progressTexts.front(), "Creating " + path);
    expectRestored("completed");
    EXPECT_EQ(probeMovie("-count_frames -show_entries stream=nb_read_frames", path), "7\n");
    std::ifstream swf(path, std::ios::binary);
    char header[20] = {};
    swf.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 3), "FWS");
    EXPECT_EQ(uint8_t(header[18]), 255) << "the rate's whole part";

    // JPEG frames into a folder that does not exist: the error names the file.
    const std::string bad = dir + "/missing/bad.swf";
    host.dialogPaths.push_back(bad);
    view->OnCommand(kv::ID_EXPORT_SWF);
    runRecording(100, kRecordSwfTimer);
    EXPECT_NE(lastMessage().find(bad), std::string::npos) << lastMessage();
    expectRestored("failed");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"clip.swf"});
}

}  // namespace

TEST_F(ExportTest, EveryRecordingHoldsTheFramesUpToTheLastEventFrame) {
    REQUIRE_TOOL("ffprobe");
    REQUIRE_TOOL("identify");
    view->m_bAnimationMode = 1;
    struct Case {
        const char* what;
        int last;
        bool pause, playedBefore;
    } cases[] = {
        {"a still scene", 0, false, false},
        {"plays to frame 6", kLast, false, false},
        {"a pause inside, after a playback stopped half way", kLast, true, true},
    };
    ExportDialogOptions flash;
    flash.kind = ExportDialogOptions::Flash;
    AviCompressOptions mjpeg;
    mjpeg.handler = kAviMotionJpeg;
    mjpeg.quality = 7500;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene().findEvent("plate")->setPlayTime(0, 0, c.last);
        if (c.pause) scene().addPause(3);
        if (c.playedBefore) {
            view->OnPlayStart();
            view->OnTimer(kPlaybackTimer);
            view->OnTimer(kPlaybackTimer);
            view->OnPlayStop();
        }
        const std::string base = dir + "/" + std::to_string(&c - cases);
        const auto count = [](const std::string& path) {
            return probeMovie("-select_streams v -count_frames -show_entries stream=nb_read_frames", path);
        };
        host.dialogPaths.push_back(base + ".gif");
        view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
        runRecording(100, kRecordGifTimer);
        host.dialogPaths.push_back(base + ".avi");
        host.compressorAnswers.push_back({true, mjpeg});
        view->OnCommand(kv::ID_EXPORT_AVI);
        runRecording(100, kRecordAviTimer);
        host.dialogPaths.push_back(base + ".swf");
        host.optionAnswers.push_back(flash);
        view->OnCommand(kv::ID_EXPORT_SWF);
        runRecording(100, kRecordSwfTimer);
        const std::string frames = std::to_string(c.last + 1) + "\n";
        EXPECT_EQ(gifFrames(base + ".gif"), c.last + 1);
        EXPECT_EQ(count(base + ".gif"), frames);
        // An AVI of a still scene holds frame 0 and frame 1.
        EXPECT_EQ(count(base + ".avi"), std::to_string(std::max(c.last, 1) + 1) + "\n");
        EXPECT_EQ(count(base + ".swf"), frames);
        EXPECT_EQ(lastMessage(), "Image creation completed.");
    }
}

// A movie writer that takes no more frames (the size limit of an AVI file)
// leaves the movie with the frames before, and the end says so rather than
// that the file could not be written; a sound track that no longer fits is
// left out and said to be.
TEST_F(ExportTest, AnAviCutShortSaysWhatTheFileHolds) {
    REQUIRE_TOOL("ffprobe");
    view->m_bAnimationMode = 1;
    AviCompressOptions full;
    full.handler = kAviFullFrames;
    const std::string whole = dir + "/whole.avi";
    host.dialogPaths.push_back(whole);
    host.compressorAnswers.push_back({true, full});
    view->OnCommand(kv::ID_EXPORT_AVI);
    runRecording(100, kRecordAviTimer);
    ASSERT_EQ(lastMessage(), "Image creation completed.");
    const uintmax_t frameBytes = fs::file_size(whole) / (kLast + 1);

    // Room for three frames only.
    const std::string cut = dir + "/cut.avi";
    host.messages.clear();
    view->GetAviWriter().setSizeLimit(3 * frameBytes + 4096);
    host.dialogPaths.push_back(cut);
    host.compressorAnswers.push_back({true, full});
    view->OnCommand(kv::ID_EXPORT_AVI);
    runRecording(100, kRecordAviTimer);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[0].text.find("1 GB size limit"), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(host.messages[1].text, "Image creation stopped at frame 3: \"" + cut + "\" holds the frames before it.");
    EXPECT_EQ(probeMovie("-select_streams v -show_entries stream=nb_frames", cut), "3\n");
    expectRestored("cut short");

    // The frames fit, the frames with their sound do not.
    writeToneWav(dir + "/tone.wav");
    scene().addSound(1, (dir + "/tone.wav").c_str());
    const std::string silent = dir + "/silent.avi";
    host.messages.clear();
    view->GetAviWriter().setSizeLimit(fs::file_size(whole) + 2048);
    host.dialogPaths.push_back(silent);
    host.compressorAnswers.push_back({true, full});
    view->OnCommand(kv::ID_EXPORT_AVI);
    runRecording(100, kRecordAviTimer);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "The sound track could not be added: the movie is written without sound.");
    EXPECT_EQ(host.messages[1].text, "Image creation completed.");
    EXPECT_EQ(probeMovie("-select_streams v -show_entries stream=nb_frames", silent), "7\n");
    EXPECT_EQ(probeMovie("-select_streams a -show_entries stream=codec_name", silent), "");
    view->GetAviWriter().setSizeLimit(kAviSizeLimit);
}

// While a recording runs, Image Size and Display Quality leave its frames as
// they started: Image Size is greyed, Display Quality waits for the end, and
// the end leaves the display at the level chosen meanwhile.
TEST_F(ExportTest, ARecordingKeepsItsSizeAndLevelAndTheUsersChoiceSurvivesIt) {
    REQUIRE_TOOL("identify");
    view->m_bAnimationMode = 1;
    const std::string gif = dir + "/steady.gif";
    host.dialogPaths.push_back(gif);
    view->OnCommand(kv::ID_EXPORT_GIF_ANIMATION);
    ASSERT_EQ(view->m_bBusy, 1);
    view->OnTimer(kRecordGifTimer);
    EXPECT_EQ(view->m_nAntiAlias, 4) << "the output level";

    CCmdUI ui;
    EXPECT_TRUE(view->OnUpdateCommand(kv::ID_IMAGE_SIZE, ui));
    EXPECT_FALSE(ui.enabled) << "Image Size is greyed";
    host.imageSizeAnswers.push_back({300, 200, 0});
    view->OnImageSize();
    EXPECT_TRUE(host.imageSizeShown.empty());
    EXPECT_TRUE(host.sceneSizes.empty());

    view->OnCommand(kv::ID_DISPLAY_HIGH);
    EXPECT_EQ(view->m_nAntiAlias, 4) << "the frames keep the output level";
    CCmdUI high;
    view->OnUpdateCommand(kv::ID_DISPLAY_HIGH, high);
    EXPECT_EQ(high.checked, 1) << "the menu shows the choice";
    view->OnTimer(kRecordGifTimer);
    EXPECT_EQ(view->m_nAntiAlias, 4);
    runRecording();
    EXPECT_EQ(view->m_bBusy, 0);
    EXPECT_EQ(view->m_nAntiAlias, 8) << "High, chosen during the recording, stays";
    const std::string sizes = runCommand("identify -format '%wx%h\\n' '" + gif + "' | sort -u");
    EXPECT_EQ(sizes, std::to_string(kDefaultSceneWidth) + "x" + std::to_string(kDefaultSceneHeight) + "\n");

    // A choice of the level the recording left behind is the display's again.
    view->OnCommand(kv::ID_DISPLAY_LOW);
    EXPECT_EQ(view->m_nAntiAlias, 0);
}
