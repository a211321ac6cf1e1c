// What playback leaves behind in the view: a pause reached by stepping, a
// counter whose play was edited, an event whose last play went, a viewpoint
// that sees nothing, and the files sound cues name. Each frame is checked
// against the render tool's picture of the scene saved.
#include "editor/KelvanoIds.h"
#include "export/CAviWriter.h"
#include "platform/SoundPlayer.h"
#include "scene/pnCounter.h"
#include "tests/app/ToolFrames.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

// A plate that slides right over frames 0 to 20 and holds a pause at 10.
const char* const kSlidingPlate =
    "scene {\n name \"slide\"\n width 580\n height 392\n version 250\n pause 10\n}\n"
    "viewpoint {\n name \"Camera\"\n position ( 0 0 906 )\n direction ( 0 0 -1 )\n near 10\n far 5000\n fov 30\n"
    " width 720\n perspective 1\n}\n"
    "material {\n name \"red\"\n diffuse ( 0 0 0 )\n ambient ( 0 0 0 )\n emission ( 1 0 0 )\n}\n"
    "panel {\n name \"plate\"\n position ( -200 0 0 )\n material \"red\"\n kind \"2D\"\n"
    " dimension ( 80 80 0 )\n}\n"
    "effect {\n name \"slide\"\n trans ( 400 0 0 )\n}\n"
    "event {\n name \"plate\"\n objectName \"plate\"\n play ( \"slide\" 0 20 1 )\n}\n";

class PlaybackStateTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        setSoundPlayer(&sounds);
        host.frame = &relays;
        app.InitFolders(sourceDir() + "/data");
        app.InitSceneServices();
        create();
    }
    void TearDown() override {
        setSoundPlayer(nullptr);
        ViewTest::TearDown();
    }
    void open(const std::string& path) {
        view->m_strPendingOpen = path;
        ASSERT_EQ(view->OnFileOpen(), 1) << path;
        view->OnSize(width_, height_);
    }
    void animationMode() {
        view->OnCommand(kv::ID_MODE_ANIMATION);
        ASSERT_EQ(view->m_bAnimationMode, 1);
    }
    // Saves the scene as it stands for the render tool.
    void save() {
        const std::string saved = dir.file("saved" + std::to_string(++saves) + ".apn");
        host.dialogPaths = {saved};
        ASSERT_EQ(view->OnFileSaveAs(), 1);
        tool = ToolFrames(saved, 0, dir.path());
    }
    // The view, sent to frame as the time line sends it, shows the tool's
    // picture of that frame.
    void expectToolFrame(int frame) {
        view->GoToFrame(frame);
        EXPECT_EQ(tool.differing(draw(), frame), 0) << "frame " << frame;
    }

    RecordingSoundPlayer sounds;
    RecordingFrame relays;
    TempDir dir{"kv-playback"};
    ToolFrames tool;
    int saves = 0;
};

}  // namespace

// Stepping onto a pause frame, or playing to one that is also the last, once
// froze the picture there: every frame after showed the pause frame.
TEST_F(PlaybackStateTest, APauseReachedOutsidePlaybackNeverFreezesThePicture) {
    REQUIRE_TOOL("convert");
    open(dir.write("slide.apn", kSlidingPlate));
    save();
    animationMode();
    for (int f = 8; f <= 11; ++f) expectToolFrame(f);  // steps onto the pause and past it
    expectToolFrame(3);
    expectToolFrame(10);
    expectToolFrame(0);
    // Played to a pause that ends the animation, then sent back.
    scene().addPause(20);
    save();
    view->OnPlayStart();
    for (int i = 0; i < 100 && view->m_bPlaying; ++i) {
        view->OnTimer(kPlaybackTimer);
        if (view->GetRoots()->pauseReached && view->m_bPlaying) view->OnKeyDown(kKeySpace);
    }
    view->OnTimer(kPlaybackTimer);
    EXPECT_EQ(view->m_nCurrentFrame, 20);
    expectToolFrame(5);
    // A pause of playback, then a step.
    view->OnPlayStart();
    view->OnTimer(kPlaybackTimer);
    view->OnPlayPause();
    expectToolFrame(view->m_nCurrentFrame + 1);
}

// The counter sample counts 0 to 2,500 over frames 0 to 50; its play cut to
// 25 frames counts over those, not over the 50 it met first.
TEST_F(PlaybackStateTest, ACounterCountsOverItsPlayAsEdited) {
    REQUIRE_TOOL("convert");
    open(sourceDir() + "/data/scenes/counter.apn");
    animationMode();
    draw();  // frame 0 played: the counter met its play
    pnEvent* event = nullptr;
    for (int i = 0; i < scene().getNumEvents() && !event; ++i)
        if (scene().getEvent(i)->getNumPlays() > 0 && scene().getEvent(i)->getPlay(0)->effect == "count")
            event = scene().getEvent(i);
    ASSERT_TRUE(event);
    event->setPlayTime(0, 0, 25);  // as a drag of its end on the time line
    save();
    expectToolFrame(40);
    expectToolFrame(20);
    event->setPlayTime(0, 0, 100);
    save();
    expectToolFrame(50);
    auto* counter = pnKindCast<pnCounter>(scene().findObject("revenue"));
    ASSERT_TRUE(counter);
    EXPECT_EQ(counter->getEndFrame(), 100);
}

// The plate hides before its play; once that play is deleted nothing animates
// it, and it shows on every frame.
TEST_F(PlaybackStateTest, AnEventWhoseLastPlayWentShowsItsObject) {
    REQUIRE_TOOL("convert");
    std::string text = kSlidingPlate;
    text.replace(text.find("\"slide\" 0 20"), 12, "\"slide\" 10 20");
    open(dir.write("late.apn", text));
    animationMode();
    const Frame hidden = (view->GoToFrame(0), draw());
    pnEvent* event = scene().findEvent("plate");
    event->removePlayAt(0);  // as Delete on the time line
    save();
    expectToolFrame(5);
    expectToolFrame(0);
    EXPECT_NE(draw().rgba, hidden.rgba);
}

// An orthographic viewpoint of width 0 sees nothing: the picture is the
// background colour, not what the window held before.
TEST_F(PlaybackStateTest, AViewpointThatSeesNothingShowsTheBackground) {
    REQUIRE_TOOL("convert");
    std::string text = kSlidingPlate;
    text.replace(text.find(" width 720\n perspective 1"), 25, " width 0\n perspective 0");
    text.replace(text.find("pause 10\n"), 9, "pause 10\n}\nbackground {\n name \"b\"\n color ( 0 0.5 0 1 )\n");
    open(dir.write("flat.apn", text));
    save();
    for (int mode = 0; mode < 2; ++mode) {
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        const Frame shown = draw();
        for (int y = 0; y < height_; y += 37)
            for (int x = 0; x < width_; x += 41) ASSERT_TRUE(near(shown.at(x, y), RGBA{0, 128, 0, 255}, 1)) << x << "," << y << " " << describe(shown.at(x, y));
        if (mode == 0) animationMode();
    }
    EXPECT_EQ(tool.differing(draw(), 0), 0);
}

// Play finds a cue's wave file where the movie's sound track finds it:
// beside the scene, then in the program's "Sounds" folder, wherever the
// program was started.
TEST_F(PlaybackStateTest, SoundCuesAreFoundBesideTheSceneAndInTheSoundsFolder) {
    TempDir program("kv-program");
    std::filesystem::create_directories(program.file("Sounds"));
    const std::string chosen = program.write("Sounds/bell.wav", std::string("RIFF"));
    const std::string beside = dir.write("cue.wav", std::string("RIFF"));
    app.InitFolders(program.path());
    std::string text = kSlidingPlate;
    text.replace(text.find("pause 10\n"), 9, "sound (3 \"cue.wav\")\n sound (6 \"bell.wav\")\n");
    open(dir.write("sounds.apn", text));
    animationMode();
    for (int f = 0; f <= 7; ++f) (view->GoToFrame(f), draw());
    ASSERT_EQ(sounds.played.size(), 2u);
    EXPECT_TRUE(std::filesystem::equivalent(sounds.played[0], beside)) << sounds.played[0];
    EXPECT_TRUE(std::filesystem::equivalent(sounds.played[1], chosen)) << sounds.played[1];
    // The movie's sound list names the same files.
    EXPECT_EQ(view->BuildSoundList(), 2);
    EXPECT_EQ(view->m_soundList[0].path, sounds.played[0]);
    EXPECT_EQ(view->m_soundList[1].path, sounds.played[1]);

    // Saved as into another folder with a cue of that name beside it: Play
    // hears the one beside the scene's new place, as the movie does.
    TempDir elsewhere("kv-saved-as");
    const std::string moved = elsewhere.write("cue.wav", std::string("RIFF"));
    host.dialogPaths.push_back(elsewhere.file("sounds.apn"));
    ASSERT_EQ(view->OnFileSaveAs(), 1);
    sounds.played.clear();
    for (int f = 0; f <= 7; ++f) (view->GoToFrame(f), draw());
    ASSERT_EQ(sounds.played.size(), 2u);
    EXPECT_TRUE(std::filesystem::equivalent(sounds.played[0], moved)) << sounds.played[0];
    EXPECT_EQ(view->BuildSoundList(), 2);
    EXPECT_EQ(view->m_soundList[0].path, sounds.played[0]);
    EXPECT_EQ(view->m_soundList[1].path, sounds.played[1]);
}
