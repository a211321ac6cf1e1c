// Whatever way the view reached a frame (playing, a pause, stepping back and
// forth, jumps on the time line, a mode switch), its picture is the render
// tool's picture of that frame of the same scene saved, pixel for pixel, at the
// same size and anti-aliasing level. Every sample scene and two scenes made
// here (every chart kind, counters, one of them first played late, colour
// fades, pauses and a sound) are walked that way. The drawing buffer is
// cleared before each picture compared, so a repaint that draws nothing fails.
#include "editor/KelvanoIds.h"
#include "platform/SoundPlayer.h"
#include "tests/app/ViewFixture.h"
#include "tests/app/ToolFrames.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A short silent wave file, 8 kHz mono 8-bit.
std::string silentWave() {
    std::string w = "RIFF";
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xff);
    };
    auto u16 = [&](uint16_t v) {
        w += static_cast<char>(v & 0xff);
        w += static_cast<char>(v >> 8);
    };
    const uint32_t samples = 800;
    u32(36 + samples);
    w += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);
    w += "data";
    u32(samples);
    w += std::string(samples, '\x80');
    return w;
}

// The fixed events every scene the program makes starts with.
const char* const kFixedEvents =
    "event {\n name \"Camera\"\n objectName \"Camera\"\n}\n"
    "event {\n name \"key\"\n objectName \"key\"\n}\n"
    "event {\n name \"Light1\"\n objectName \"Light1\"\n}\n"
    "event {\n name \"Light2\"\n objectName \"Light2\"\n}\n"
    "event {\n name \"Light3\"\n objectName \"Light3\"\n}\n";

// Every chart kind growing and shrinking, a counter growing twice, pauses and
// a sound: the chart sample with more to play.
std::string chartScene() {
    std::string text = readText(sourceDir() + "/data/scenes/allcharts.apn");
    // The sample names its chart parts' models relative to its folder.
    for (size_t at; (at = text.find("\"../ChartSlices/")) != std::string::npos;)
        text.replace(at, 16, "\"ChartSlices/");
    const std::string head = "version\t250\n";
    text.replace(text.find(head), head.size(), head + "    pause\t25\n    pause\t70\n    sound\t(5 \"cue.wav\")\n");
    // The first bar shrinks again after it grew.
    const std::string grown = "startTime\t0\n        endTime\t30\n";
    text.replace(text.find(grown), grown.size(), grown + "        shrinkStart\t55\n        shrinkEnd\t75\n");
    text += "effect {\n name \"countAgain\"\n grow (0 0 0)\n}\n";
    // A second grow play on the counter.
    const std::string play = "play\t( \"count\" 0 60 1 )\n";
    text.replace(text.find(play), play.size(), "play\t( \"count\" 0 30 1 )\n    play\t( \"countAgain\" 45 80 1 )\n");
    return text;
}

// Colour fades on a text and a light, a counter of negative values with a
// fraction digit, a counter that first moves and then counts, from frame 18 on,
// an object hidden until its first play, the camera moving, pauses and a
// sound, drawn in perspective.
std::string fadeScene() {
    return std::string(
               "scene {\n name \"fades\"\n width 580\n height 392\n version 250\n pause 15\n pause 44\n"
               " sound (12 \"cue.wav\")\n}\n"
               "viewpoint {\n name \"Camera\"\n position ( 0 0 906 )\n direction ( 0 0 -1 )\n near 10\n far 5000\n"
               " fov 30\n width 720\n perspective 1\n}\n"
               "background {\n name \"Background\"\n color ( 0.1 0.1 0.2 1 )\n useTexture 0\n}\n"
               "material {\n name \"gold\"\n diffuse ( 0.9 0.7 0.2 )\n ambient ( 0.3 0.25 0.1 )\n}\n"
               "material {\n name \"red\"\n diffuse ( 0.8 0.1 0.1 )\n ambient ( 0.2 0 0 )\n emission ( 0.6 0 0 )\n}\n"
               "material {\n name \"sky\"\n diffuse ( 0.1 0.3 0.9 )\n ambient ( 0 0.1 0.3 )\n"
               " emission ( 0 0.3 0.7 )\n}\n"
               "material {\n name \"warm\"\n diffuse ( 1 0.5 0.2 )\n ambient ( 0.4 0.2 0.1 )\n"
               " specular ( 1 0.8 0.6 )\n}\n"
               "light {\n name \"key\"\n position ( 200 300 600 )\n positional 1\n on 1\n}\n"
               "light {\n name \"Light1\"\n position ( -500 500 -100 )\n positional 0\n on 0\n}\n"
               "light {\n name \"Light2\"\n position ( -500 -500 100 )\n positional 0\n on 0\n}\n"
               "light {\n name \"Light3\"\n position ( 500 -500 100 )\n positional 0\n on 0\n}\n"
               "stringProperty {\n name \"big\"\n size 56\n depth 10\n ratio 1\n precision 0.6\n font \"arial\"\n"
               " kind \"3D\"\n hJust \"Center\"\n}\n"
               "stringProperty {\n name \"flat\"\n size 40\n depth 0\n ratio 1\n precision 0.6\n font \"arial\"\n"
               " kind \"2D\"\n hJust \"Center\"\n hOffset 4\n vOffset -4\n}\n"
               "string {\n name \"word\"\n position ( 0 110 0 )\n material \"gold\"\n string \"Fade\"\n"
               " stringProperty \"flat\"\n backMaterial \"sky\"\n}\n"
               "counter {\n name \"tally\"\n position ( 0 0 0 )\n material \"gold\"\n stringProperty \"big\"\n"
               " initValue -1234.5\n finalValue 250.5\n useComma 1\n numFraction 1\n backMaterial \"red\"\n}\n"
               "counter {\n name \"late\"\n position ( 150 -100 0 )\n material \"sky\"\n stringProperty \"flat\"\n"
               " initValue 7\n finalValue 907\n}\n"
               "panel {\n name \"box\"\n position ( -150 -120 0 )\n material \"red\"\n kind \"3D\"\n bevel 4\n"
               " dimension ( 120 60 20 )\n}\n"
               "effect {\n name \"toSky\"\n color \"sky\"\n}\n"
               "effect {\n name \"toRed\"\n color \"red\"\n trans ( 0 -20 0 )\n}\n"
               "effect {\n name \"warmUp\"\n color \"warm\"\n trans ( -100 0 0 )\n}\n"
               "effect {\n name \"count\"\n grow (0 0 0)\n}\n"
               "effect {\n name \"countRed\"\n grow (0 0 0)\n color \"red\"\n}\n"
               "effect {\n name \"spin\"\n rotAngle 90\n rotAxis ( 1 1 0 )\n trans ( 250 0 0 )\n}\n"
               "effect {\n name \"dolly\"\n trans ( 0 0 -200 )\n}\n"
               "effect {\n name \"lift\"\n trans ( 0 40 0 )\n}\n") +
           "event {\n name \"Camera\"\n objectName \"Camera\"\n play ( \"dolly\" 10 40 1 )\n}\n"
           "event {\n name \"key\"\n objectName \"key\"\n play ( \"warmUp\" 5 30 1 )\n}\n"
           "event {\n name \"Light1\"\n objectName \"Light1\"\n}\n"
           "event {\n name \"Light2\"\n objectName \"Light2\"\n}\n"
           "event {\n name \"Light3\"\n objectName \"Light3\"\n}\n"
           "event {\n name \"word\"\n objectName \"word\"\n play ( \"toSky\" 5 25 1 )\n"
           " play ( \"toRed\" 30 50 1 )\n}\n"
           "event {\n name \"tally\"\n objectName \"tally\"\n play ( \"count\" 0 20 1 )\n play ( \"countRed\" 30 50 1 )\n}\n"
           "event {\n name \"box\"\n objectName \"box\"\n play ( \"spin\" 20 35 1 )\n play ( \"spin\" 38 46 0 )\n}\n"
           "event {\n name \"late\"\n objectName \"late\"\n play ( \"lift\" 18 28 1 )\n play ( \"count\" 32 44 1 )\n}\n";
}

struct SceneCase {
    const char* name;  // a sample's name, or "charts" / "fades" for a generated scene
    int antiAlias;
};

class FramePathsTest : public ViewTest, public ::testing::WithParamInterface<SceneCase> {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        setSoundPlayer(&sounds);
        host.frame = &relays;
        app.InitFolders(sourceDir() + "/data");
        app.InitSceneServices();
        create();
        view->m_bHighlightSelected = 0;
    }
    void TearDown() override {
        setSoundPlayer(nullptr);
        ViewTest::TearDown();
    }

    // Opens the case's scene as the user does, then saves it where the render
    // tool reads it.
    void openAndSave() {
        const SceneCase c = GetParam();
        std::string path;
        if (std::string(c.name) == "charts" || std::string(c.name) == "fades") {
            dir.write("cue.wav", silentWave());
            std::filesystem::create_directories(dir.file("ChartSlices"));
            for (const char* model : {"cyl10x.3ds", "sphere10x.3ds"})
                std::filesystem::copy_file(sourceDir() + "/data/ChartSlices/" + model,
                                           dir.file(std::string("ChartSlices/") + model));
            path = dir.write(std::string(c.name) + ".apn", c.name == std::string("charts") ? chartScene() : fadeScene());
        } else {
            path = sourceDir() + "/data/scenes/" + c.name + ".apn";
            // The files the samples name beside them go beside the saved copy.
            for (const auto& entry : std::filesystem::directory_iterator(sourceDir() + "/data/scenes"))
                if (entry.path().extension() != ".apn")
                    std::filesystem::copy_file(entry.path(), dir.file(entry.path().filename().string()));
        }
        view->m_strPendingOpen = path;
        ASSERT_EQ(view->OnFileOpen(), 1) << path;
        // The canvas takes the size it can: the test's drawable.
        view->OnSize(width_, height_);
        view->m_nAntiAlias = c.antiAlias;
        saved = dir.file("saved.apn");
        host.dialogPaths = {saved};
        ASSERT_EQ(view->OnFileSaveAs(), 1);
        ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;
        tool = ToolFrames(saved, c.antiAlias, dir.path());
        lastFrame = std::max(0, scene().getLastEventFrame());
    }

    // A colour no scene draws, so that a repaint which draws nothing never
    // passes for the picture already there.
    static void clearDrawing() {
        glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
        glDisable(GL_SCISSOR_TEST);
        glColorMask(1, 1, 1, 1);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glPopAttrib();
    }

    // The picture the view shows now is the tool's picture of frame.
    void expectFrame(const Frame& shown, int frame, const std::string& how) {
        ++checked;
        const long differing = tool.differing(shown, frame);
        if (differing != 0) {
            const std::string base = testOutputDir() + "/frames-" + GetParam().name + "-" + std::to_string(frame);
            writeFramePNG(shown, base + "-view.png");
            ADD_FAILURE() << GetParam().name << ": frame " << frame << " reached by " << how << " differs in "
                          << differing << " pixels from the render tool's (" << base << "-view.png)";
        }
    }
    // A paint of the view now.
    void expectShown(int frame, const std::string& how) {
        ASSERT_EQ(view->m_nCurrentFrame, frame) << how;
        clearDrawing();
        expectFrame(draw(), frame, how);
    }
    // The time line's frame commands: the view goes to the frame and repaints.
    void timeLineGoTo(int frame, const std::string& how) {
        view->GoToFrame(frame);
        expectShown(frame, how);
    }
    // One playback tick; whether it drew (a held pause draws nothing).
    bool tick(const std::string& how, bool check) {
        const int frame = view->m_nCurrentFrame;
        const bool held = view->GetRoots()->pauseReached != 0;
        if (check && !held) clearDrawing();
        view->OnTimer(kPlaybackTimer);
        if (held) return false;
        if (check) expectFrame(readFrame(width_, height_), frame, how);
        return true;
    }

    RecordingSoundPlayer sounds;
    RecordingFrame relays;
    TempDir dir{"kv-frames"};
    std::string saved;
    int lastFrame = 0;
    int checked = 0;
    ToolFrames tool;
};

}  // namespace

TEST_P(FramePathsTest, EveryPathToAFrameShowsTheRenderToolsPicture) {
    REQUIRE_TOOL("convert");
    openAndSave();
    const Frame objectMode = draw();

    view->OnCommand(kv::ID_MODE_ANIMATION);
    ASSERT_EQ(view->m_bAnimationMode, 1);
    expectShown(0, "the switch to animation mode");

    // Play to the end; Space lets a held pause go on, and a repaint while it
    // holds shows the pause frame.
    view->OnPlayStart();
    int ticks = 0, held = 0;
    while (view->m_bPlaying && ++ticks < 2000) {
        const int frame = view->m_nCurrentFrame;
        if (!tick("playing", frame % 6 == 0 || frame == lastFrame)) {
            ++held;
            expectShown(frame, "a repaint at a held pause");
            view->OnKeyDown(kKeySpace);
        }
    }
    view->OnTimer(kPlaybackTimer);  // the tick that ends playback
    int pausesBeforeEnd = 0;
    for (int i = 0; i < scene().getNumPauses(); ++i) pausesBeforeEnd += scene().getPause(i) < lastFrame;
    EXPECT_EQ(held, pausesBeforeEnd);
    expectShown(lastFrame, "the end of playback");

    // Step back and forth from the end, then to the start and back to the end.
    for (int f = lastFrame - 1; f >= std::max(0, lastFrame - 3); --f) timeLineGoTo(f, "a step back");
    for (int f = std::max(0, lastFrame - 2); f <= lastFrame; ++f) timeLineGoTo(f, "a step forward");
    timeLineGoTo(0, "go to start");
    timeLineGoTo(1, "a step forward from the start");
    timeLineGoTo(0, "a step back to the start");
    timeLineGoTo(lastFrame, "go to end");

    // Play from the start and pause half-way.
    timeLineGoTo(0, "go to start");
    view->OnPlayStart();
    for (int i = 0; i < lastFrame / 2 && view->m_bPlaying; ++i)
        if (!tick("playing", false)) view->OnKeyDown(kKeySpace);
    view->OnPlayPause();
    expectShown(view->m_nCurrentFrame, "a pause of playback");
    if (view->m_nCurrentFrame > 0) timeLineGoTo(view->m_nCurrentFrame - 1, "a step back after a pause");

    // Jumps on the time line, every pause frame among them.
    std::mt19937 random(20240611);
    std::vector<int> jumps;
    for (int i = 0; i < scene().getNumPauses(); ++i) jumps.push_back(scene().getPause(i));
    for (int i = 0; i < 8; ++i) jumps.push_back(static_cast<int>(random() % static_cast<unsigned>(lastFrame + 1)));
    for (int f : jumps) timeLineGoTo(std::min(f, lastFrame), "a jump");

    // After its plays ran, the late counter before its first play and in that
    // play, which moves it before it counts.
    if (std::string(GetParam().name) == "fades") {
        timeLineGoTo(12, "a jump before the late counter's first play");
        timeLineGoTo(17, "a jump to the frame before it");
        timeLineGoTo(18, "a step into it");
        timeLineGoTo(lastFrame, "go to end");
        timeLineGoTo(24, "a jump from the end into it");
    }

    // Object mode after all that shows the scene as it was opened; animation
    // mode again starts at frame 0.
    view->OnCommand(kv::ID_MODE_ANIMATION);
    ASSERT_EQ(view->m_bAnimationMode, 0);
    clearDrawing();
    const Frame again = draw();
    long differing = 0;
    for (size_t i = 0; i < again.rgba.size(); ++i) differing += again.rgba[i] != objectMode.rgba[i];
    EXPECT_EQ(differing, 0) << "object mode after animating differs from object mode after opening";
    view->OnCommand(kv::ID_MODE_ANIMATION);
    expectShown(0, "a second switch to animation mode");
    timeLineGoTo(lastFrame, "go to end after the switches");
    EXPECT_GT(checked, 20);
}

INSTANTIATE_TEST_SUITE_P(Scenes, FramePathsTest,
                         ::testing::Values(SceneCase{"titles", 4}, SceneCase{"counter", 0}, SceneCase{"barchart", 0},
                                           SceneCase{"linechart", 4}, SceneCase{"pie", 0}, SceneCase{"pyramid", 0},
                                           SceneCase{"allcharts", 0}, SceneCase{"charts", 4}, SceneCase{"fades", 0}),
                         [](const ::testing::TestParamInfo<SceneCase>& param) { return std::string(param.param.name); });
