// The time line without a window: the track's hit tests and raster, and the
// rows, drag rules, frame window, selection and commands on a scene file.
#include "platform/SoundPlayer.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "ui/animation/CTimeLineModel.h"
#include "ui/animation/CTimeLineTrack.h"
#include "ui/animation/TimeLineRules.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Log : CTrackListener {
    void OnTrackPress(int shift) override { calls.push_back("press" + std::to_string(shift)); }
    void OnTrackPressNone() override { calls.push_back("none"); }
    void OnTrackDrag(int mode, int dx) override { calls.push_back("drag" + std::to_string(mode) + ":" + std::to_string(dx)); }
    void OnTrackScroll(int dx) override { calls.push_back("scroll" + std::to_string(dx)); }
    void OnTrackRelease() override { calls.push_back("release"); }
    void OnTrackDblClk(int row, int entry) override { calls.push_back("dbl" + std::to_string(row) + "," + std::to_string(entry)); }
    std::vector<std::string> calls;
};

struct Host : CTimeLineHost {
    pnScene* GetScene() override { return scene; }
    int GetFixedDuration() override { return fixed; }
    void SetFixedDuration(int on) override { fixed = on; }
    void SetViewFrame(int f) override { viewFrame = f; }
    int GetViewFrame() override { return viewFrame; }
    void RedrawView() override {}
    void SetModified() override { ++modified; }
    int GetEffectEditMode() override { return 0; }
    void CreateEffect(const std::string& object) override {
        ++created;
        createdFor.push_back(object);
    }
    void EditEffect(const std::string&, const std::string& e, int) override { edited.push_back(e); }
    void EditFixedEffect(const std::string& e, int) override { edited.push_back(e); }
    void SelectInObjectChooser(const std::string&) override {}
    void SelectEventTreeItem(const std::string&) override {}
    void RemoveEventTreeEffectItem(const std::string&, int index) override { removed.push_back(std::to_string(index)); }
    void ReleaseEffectUse(const std::string& e) override { released.push_back(e); }
    std::string ChooseSoundFile() override { return soundFile; }
    void PlayStart() override { playCalls.push_back("start"); }
    void PlayPause() override { playCalls.push_back("pause"); }
    void PlayStop() override { playCalls.push_back("stop"); }
    bool ContinueFromPause() override { return false; }
    bool IsRecording() override { return recording; }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(text);
        captions.push_back(caption);
    }
    bool recording = false;
    std::vector<std::string> messages, captions;
    std::vector<std::string> playCalls;
    pnScene* scene = nullptr;
    int fixed = 0, viewFrame = 0, modified = 0, created = 0;
    std::string soundFile;
    std::vector<std::string> edited, removed, released, createdFor;
};

class TimeLineModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* src = std::getenv("KELVANO_SOURCE_DIR");
        ASSERT_TRUE(src);
        ASSERT_EQ(pnSceneLoader().readFile(scene, std::string(src) + "/tests/animation/timeline.apn"), 1);
        host.scene = &scene;
        model.RebuildRows();
    }
    // Plays of an event row as "start-end" texts.
    std::string plays(int row) {
        std::string out;
        const pnEvent* e = scene.getEvent(row - 2);
        for (int i = 0; i < e->getNumPlays(); ++i)
            out += (i ? " " : "") + std::to_string(e->getPlay(i)->start) + "-" + std::to_string(e->getPlay(i)->end);
        return out;
    }
    pnScene scene;
    Host host;
    CTimeLineModel model{host};
};

// A bar from start to end frame in visible row 0 of a track.
CTrackPainter bar(int start, int end) {
    CTrackPainter p;
    p.SetBar(start, end, 1, {0, 0, 370, 19}, CTrackPainter::kBar, 0);
    return p;
}

}  // namespace

TEST(TimeLineTrackTest, HitTestsClassifyPresses) {
    struct Case {
        int start, end, x, hit;
    } cases[] = {
        {10, 19, 10, 1}, {10, 19, 12, 1}, {10, 19, 13, 3}, {10, 19, 15, 3}, {10, 19, 16, 2}, {10, 19, 19, 2},
        {10, 19, 20, 5}, {10, 19, 9, 4},  {10, 11, 10, 1}, {10, 11, 11, 2}, {10, 12, 11, 2}, {10, 10, 10, 1},
        {0, 40, 5, 1},   {0, 40, 6, 3},   {0, 40, 34, 3},  {0, 40, 35, 2},  {0, 40, 41, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bar(c.start, c.end).HitTest(c.x, 9), c.hit) << c.start << ".." << c.end << " at " << c.x;
    EXPECT_EQ(bar(10, 19).HitTest(15, 18), 5) << "below the bar";

    Log log;
    CTimeLineTrack track(&log);
    track.SetRowCount(9);
    track.m_nTopRow = 2;
    track.m_nCurrentFrame = 300;
    track.SetRowBars(2, 1);
    track.SetBar(2, 0, 10, 19, 1, 0);
    track.SetRowBars(3, 0);
    track.ButtonDown(50, 5, true);  // right of every bar of the row
    EXPECT_EQ(track.DragMode(), CTimeLineTrack::kNothing);
    EXPECT_EQ(track.PressedEntry(), 0);
    track.ButtonUp();
    track.ButtonDown(50, 25, false);  // the empty row
    EXPECT_EQ(track.DragMode(), CTimeLineTrack::kEmptyRow);
    EXPECT_EQ(track.PressedRow(), 3);
    EXPECT_EQ(track.PressedEntry(), -1);
    track.ButtonUp();
    track.ButtonDown(15, 5, true);
    track.MouseMove(18, 5);
    track.ButtonUp();
    track.m_bLocked = 1;
    track.ButtonDown(15, 5, false);
    track.MouseMove(30, 5);
    track.ButtonUp();
    track.DoubleClick();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"press0", "none", "release", "press0", "release", "press1",
                                                   "drag1:3", "release", "press0", "release", "dbl2,0"}));
}

TEST(TimeLineTrackTest, RasterOfBarsAndMarks) {
    CTimeLineTrack track(nullptr);
    track.SetRowCount(4);
    track.m_nAnimationEnd = 200;
    track.m_nCurrentFrame = 100;
    track.SetRowBars(0, 1);
    track.SetBar(0, 0, 20, 20, 0, 0);  // pause mark
    track.SetRowBars(1, 1);
    track.SetBar(1, 0, 40, 40, 0, 0);  // sound mark
    track.SetRowBars(2, 2);
    track.SetBar(2, 0, 10, 40, 1, 0);  // normal
    track.SetBar(2, 1, 50, 54, 1, 1);  // narrow, marked
    track.SetRowBars(3, 1);
    track.SetBar(3, 0, 10, 40, 1, 1);  // highlighted, marked
    track.SetSelection(3, 0, 0);
    CTrackRaster r(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight);
    track.Paint(r);
    const CTrackColor black{0, 0, 0}, white{255, 255, 255}, grey{192, 192, 192}, gold{224, 165, 5},
        mark{124, 91, 2}, square{18, 43, 145}, green{0, 128, 0}, pale{242, 245, 186}, khaki{216, 210, 101},
        past{216, 216, 216}, dark{128, 128, 128};
    struct Probe {
        int x, y;
        CTrackColor c;
    } probes[] = {
        {0, 50, black},   {5, 0, black},    {5, 1, black},    {150, 45, white}, {250, 45, past},
        {150, 64, pale},  {250, 64, khaki}, {200, 30, black}, {100, 50, green}, {98, 5, green},
        {96, 8, white},   {10, 45, black},  {40, 45, black},  {25, 45, grey},   {25, 40, white},
        {25, 41, black},  {25, 42, white},  {25, 53, black},  {25, 52, dark},   {25, 51, grey},
        {25, 64, gold},   {11, 61, square}, {37, 61, square}, {24, 61, square}, {25, 66, gold},
        {51, 42, square}, {20, 2, mark},    {20, 8, mark},    {17, 14, mark},   {19, 9, white},
        {20, 17, white},  {40, 30, mark},   {44, 29, mark},   {43, 31, mark},   {40, 36, white},
    };
    for (const Probe& p : probes) {
        const CTrackColor c = r.At(p.x, p.y);
        EXPECT_TRUE(c == p.c) << "(" << p.x << "," << p.y << ") is " << int(c.r) << "," << int(c.g) << ","
                              << int(c.b);
    }
    // The whole picture, as this drawing makes it.
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : r.Data()) hash = (hash ^ b) * 1099511628211ull;
    EXPECT_EQ(hash, 13064782651895385406ull) << "raster hash";
}

TEST_F(TimeLineModelTest, RowsAndDragRules) {
    ASSERT_EQ(model.RowCount(), 9);
    EXPECT_EQ(model.Rows()[0].entries.size(), 3u);
    EXPECT_EQ(model.Rows()[1].entries[0].name, "chime.wav");
    EXPECT_EQ(model.Rows()[7].name, "T");
    struct Step {
        int entry, mode, dx, all;
        bool taken;
        const char* after;
    } steps[] = {
        {0, 0, -6, 0, false, "5-20 30-40 40-60"},  // start left of 0
        {0, 0, -5, 0, true, "0-20 30-40 40-60"},
        {0, 0, 21, 0, false, "0-20 30-40 40-60"},  // start past the end
        {0, 0, 20, 0, true, "20-20 30-40 40-60"},  // one frame
        {1, 0, -10, 0, true, "20-20 20-40 40-60"},  // onto the previous end
        {1, 0, -1, 0, false, "20-20 20-40 40-60"},
        {1, 2, 1, 0, false, "20-20 20-40 40-60"},  // finish past the next start
        {1, 2, -21, 0, false, "20-20 20-40 40-60"},
        {1, 1, 1, 0, false, "20-20 20-40 40-60"},  // Single body into the next
        {1, 1, 500, 1, true, "20-20 520-540 540-560"},  // All: never refused
        {2, 1, -21, 0, false, "20-20 520-540 540-560"},
    };
    for (const Step& s : steps) {
        model.Press(7, s.entry, false);
        model.SetMoveAll(s.all);
        EXPECT_EQ(model.Drag(s.mode, s.dx), s.taken) << s.after;
        EXPECT_EQ(plays(7), s.after);
    }
    EXPECT_EQ(model.FrameScrollMaximum(), 560);
    EXPECT_EQ(model.AnimationEnd(), 560);
    model.Press(8, 0, false);
    EXPECT_EQ(model.FieldDuration(), 1);  // 10..10
    model.TypeTime(CTimeLineModel::kFieldStart, 11);  // after the end: refused
    EXPECT_EQ(plays(8), "10-10");
    EXPECT_EQ(model.FieldStart(), 10);
    model.TypeTime(CTimeLineModel::kFieldDuration, 5);
    EXPECT_EQ(plays(8), "10-14");
    host.fixed = 1;
    model.TypeTime(CTimeLineModel::kFieldStart, 2);
    EXPECT_EQ(plays(8), "2-6");
}

TEST_F(TimeLineModelTest, FrameWindow) {
    scene.getEvent(5)->setPlayTime(2, 40, 1200);
    model.RebuildRows();
    EXPECT_EQ(model.FrameScrollMaximum(), 1200);
    model.SetCurrentFrame(725);
    EXPECT_EQ(model.FirstFrame(), 720);
    model.SetCurrentFrame(100);
    EXPECT_EQ(model.FirstFrame(), 0);
    model.ScrollFramesBy(-1);
    EXPECT_EQ(model.FirstFrame(), 1) << "line scrolling stops at frame 1";
    model.ScrollFramesTo(0);
    EXPECT_EQ(model.FirstFrame(), 0);
    scene.getEvent(5)->setPlayTime(2, 40, 60);
    model.RebuildRows();
    EXPECT_EQ(model.FrameScrollMaximum(), 360);
    model.SetCurrentFrame(725);
    EXPECT_EQ(model.FrameScrollMaximum(), 725);
    EXPECT_EQ(model.FirstFrame(), 366);
    model.ScrollRowsTo(99);
    EXPECT_EQ(model.TopRow(), 4);
}

TEST_F(TimeLineModelTest, AddDeleteAndStalePlays) {
    model.Press(4, 0, false);  // a light row: +E does nothing
    model.AddEntry();
    EXPECT_EQ(host.created, 0);
    model.Press(6, 0, false);  // -E there removes the play
    model.DeleteEntry();
    EXPECT_EQ(scene.getEvent(4)->getNumPlays(), 0);
    EXPECT_EQ(host.released, std::vector<std::string>{"a"});
    model.Press(7, 0, false);
    model.AddEntry();
    EXPECT_EQ(host.created, 1);

    model.Press(0, 0, false);  // pause 10 dragged onto 11: stays at 10
    model.Drag(CTimeLineModel::kDragBody, 1);
    model.Release();
    ASSERT_EQ(scene.getNumPauses(), 3);
    EXPECT_EQ(scene.getPause(0), 10);
    model.Drag(CTimeLineModel::kDragBody, 5);
    model.Release();
    EXPECT_EQ(scene.getPause(1), 15);
    model.SetCurrentFrame(70);
    host.soundFile = "/tmp/x.wav";
    model.Press(1, 0, false);
    model.AddEntry();
    EXPECT_EQ(scene.getSound(1).file, "/tmp/x.wav");
    EXPECT_EQ(model.FieldName(), "chime.wav");

    // Selected together, then the scene changes under the rows.
    model.Press(8, 0, true);
    model.Press(7, 1, true);
    EXPECT_TRUE(model.HasMultiSelection());
    EXPECT_EQ(model.MultiShape(), 0);
    model.Align(CTimeLineModel::kAlignStartToEnd);  // U's play onto b's end
    EXPECT_EQ(plays(8), "40-40");
    model.Align(CTimeLineModel::kAlignStartToStart);
    EXPECT_EQ(plays(8), "30-30");
    scene.getEvent(5)->removePlayAt(0);
    model.Align(CTimeLineModel::kAlignEndToEnd);
    EXPECT_FALSE(model.HasMultiSelection()) << "a stale play rebuilds the rows";
    EXPECT_EQ(plays(8), "30-30");
    model.Press(7, 0, false);
    scene.getEvent(5)->setPlayEffect(0, "c");
    model.DeleteEntry();
    EXPECT_EQ(plays(7), "30-40 40-60") << "-E on a changed play removes nothing";
}

// The first five event rows are the camera's and the lights': their effects
// come from the Camera and Light pages, so +E there is quiet. An event of
// another name in those rows (a scene made without the camera's and lights'
// events) cannot take an effect there, and +E says why.
TEST_F(TimeLineModelTest, PlusEOnARowKeptForTheCameraAndLightsSaysWhyOtherEventsCannot) {
    auto* light = new pnLight;
    light->setName("Light0");
    ASSERT_TRUE(scene.addLight(light));
    for (int row : {2, 3}) {
        model.Press(row, 0, false);
        model.AddEntry();
    }
    EXPECT_TRUE(host.messages.empty());
    model.Press(4, 0, false);  // "Light1" names no light of this scene
    model.AddEntry();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("\"Light1\" cannot take an effect here"), std::string::npos) << host.messages[0];
    EXPECT_EQ(host.created, 0);
    model.Press(7, 0, false);
    model.AddEntry();
    EXPECT_EQ(host.created, 1);
    EXPECT_EQ(host.messages.size(), 1u);
}

// Typed frames and times stay within 0..99,999: a typed two billion neither
// moves a play there nor wraps a sum round; the Frame box goes to the last
// frame the editors take.
TEST_F(TimeLineModelTest, TypedFramesAndTimesKeepWithinTheFramesTheEditorsTake) {
    model.Press(7, 2, false);  // T's play c, 40-60, the last one
    for (int field : {CTimeLineModel::kFieldStart, CTimeLineModel::kFieldEnd, CTimeLineModel::kFieldDuration})
        for (int typed : {999999999, 2147483647, 100000, -1}) model.TypeTime(field, typed);
    EXPECT_EQ(plays(7), "5-20 30-40 40-60");
    model.TypeTime(CTimeLineModel::kFieldEnd, 99999);
    EXPECT_EQ(plays(7), "5-20 30-40 40-99999");
    model.TypeTime(CTimeLineModel::kFieldDuration, 100000);  // would end at 100039
    EXPECT_EQ(plays(7), "5-20 30-40 40-99999");
    // An "All" move that would carry the last play past the end is refused.
    host.fixed = 1;
    model.SetMoveAll(1);
    model.Press(7, 0, false);
    model.TypeTime(CTimeLineModel::kFieldStart, 6);
    EXPECT_EQ(plays(7), "5-20 30-40 40-99999");
    host.fixed = 0;
    model.TypeFrame(2000000000);
    EXPECT_EQ(model.CurrentFrame(), 99999);
    EXPECT_EQ(host.viewFrame, 99999);
    // A pause dragged past the last frame stays where it was.
    model.Press(0, 2, false);
    model.Drag(CTimeLineModel::kDragBody, 2000000000);
    model.Release();
    EXPECT_EQ(scene.getPause(2), 40);
}

// Frames at the ends of the range are summed in 64 bits before they meet the
// bounds: a play a file ends at the int's end is not dragged round to a
// negative frame and shows its whole length, and the frame window takes its
// last frame. Frames a file put past 99,999 can be dragged back down only.
TEST_F(TimeLineModelTest, FramesAtTheEndsOfTheRange) {
    ASSERT_EQ(scene.getEvent(5)->setPlayTime(2, 40, INT_MAX), 1);  // T's play c
    ASSERT_EQ(scene.getEvent(6)->setPlayTime(0, 0, INT_MAX), 1);   // U's only play
    model.RebuildRows();
    model.Press(7, 2, false);
    for (int mode : {CTimeLineModel::kDragFinish, CTimeLineModel::kDragBody})
        EXPECT_FALSE(model.Drag(mode, 1)) << mode;
    EXPECT_EQ(plays(7), "5-20 30-40 40-2147483647");
    model.Press(8, 0, false);
    EXPECT_EQ(model.FieldDuration(), 2147483648LL);
    host.viewFrame = INT_MAX;
    model.StepForward();
    model.SetCurrentFrame(INT_MAX);  // a click at the end, or End
    EXPECT_EQ(model.FirstFrame(), INT_MAX - CTimeLineModel::kPageFrames + 1);
    model.ScrollFramesBy(CTimeLineModel::kPageFrames);  // Page Down
    model.ScrollFrame(1);
    EXPECT_EQ(model.CurrentFrame(), INT_MAX);
    EXPECT_EQ(model.FirstFrame(), INT_MAX - CTimeLineModel::kPageFrames + 1);
    Log log;
    CTimeLineTrack track(&log);
    LayOutTrack(model, track);
    CTrackRaster raster(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight);
    track.Paint(raster);
    track.ButtonDown(5, 5, false);
    model.TypeTime(CTimeLineModel::kFieldDuration, 5);
    EXPECT_EQ(plays(8), "0-4");

    // From a file, past the last frame the editors take: down, never up.
    ASSERT_EQ(scene.getEvent(6)->setPlayTime(0, 200000, 300000), 1);
    scene.addPause(150000);
    model.RebuildRows();
    model.Press(8, 0, false);
    const struct {
        int mode, dx;
        bool taken;
        const char* after;
    } steps[] = {
        {CTimeLineModel::kDragStart, -1, true, "199999-300000"}, {CTimeLineModel::kDragFinish, -1, true, "199999-299999"},
        {CTimeLineModel::kDragBody, -1, true, "199998-299998"},  {CTimeLineModel::kDragBody, 1, false, "199998-299998"},
        {CTimeLineModel::kDragFinish, 1, false, "199998-299998"}, {CTimeLineModel::kDragStart, 1, false, "199998-299998"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(model.Drag(step.mode, step.dx), step.taken) << step.after;
        EXPECT_EQ(plays(8), step.after);
    }
    model.Press(0, 3, false);  // the pause at 150000
    EXPECT_FALSE(model.Drag(CTimeLineModel::kDragBody, 1));
    EXPECT_TRUE(model.Drag(CTimeLineModel::kDragBody, -1));
    model.Release();
    EXPECT_EQ(scene.getPause(3), 149999);
}

// A play that a file placed two billion frames on is drawn in no time: the
// track walks only its own pixels, and the bar's visible part shows.
TEST_F(TimeLineModelTest, APlayFarOffTheTrackDrawsOnlyWhatShows) {
    ASSERT_EQ(scene.getEvent(5)->setPlayTime(2, 40, 2000000000), 1);  // T's last play
    model.RebuildRows();
    Log log;
    CTimeLineTrack track(&log);
    model.ScrollRowsTo(5);
    LayOutTrack(model, track);
    CTrackRaster raster(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight);
    const auto start = std::chrono::steady_clock::now();
    track.Paint(raster);
    // Walking two billion pixels took half a minute; the track's own take
    // well under a millisecond.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // T's row (7) is shown: its last bar, from frame 40 on, fills the track
    // to the right edge; frame 25 lies between two plays.
    const int y = (7 - model.TopRow()) * CTimeLineTrack::kRowHeight + CTimeLineTrack::kRowHeight / 2;
    const CTrackColor inside = raster.At(300, y);
    for (int x : {60, 200, CTimeLineTrack::kWidth - 2}) EXPECT_TRUE(inside == raster.At(x, y)) << x;
    EXPECT_FALSE(inside == raster.At(25, y)) << "no bar at frame 25 of T's row";
}

// An object row whose event names no object (a scene made before events were
// named after their objects) selects nothing: +E says why, and never acts on
// the object selected before.
TEST_F(TimeLineModelTest, PlusEOnAnEventThatNamesNoObjectSaysWhy) {
    auto* old = new pnEvent;
    old->setName("UEvent");
    old->setObjectName("U");
    ASSERT_TRUE(scene.addEvent(old));
    model.RebuildRows();
    ASSERT_EQ(model.RowCount(), 10);
    ASSERT_EQ(model.Rows()[9].name, "UEvent");
    model.Press(7, 0, false);  // T's row: T is selected
    model.Press(9, 0, false);
    model.AddEntry();
    EXPECT_EQ(host.created, 0) << "+E went on to act on T";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.captions[0], "Effect Creation Error");
    EXPECT_NE(host.messages[0].find("No object is named \"UEvent\""), std::string::npos) << host.messages[0];
    // The rows of the objects' own events still take it.
    model.Press(8, 0, false);
    model.AddEntry();
    EXPECT_EQ(host.createdFor, std::vector<std::string>{"U"});
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST(TimeLineRulesTest, OptionsAndSoundNames) {
    struct Case {
        const char* texts[4];
        int shown;
        bool good;
    } cases[] = {
        {{"21", "21", "11", "0"}, 0, true},  {{"0", "21", "11", "60"}, 60, false},
        {{"21", "-5", "11", "60"}, 60, false}, {{"21", "21", "11", "0"}, 60, false},
        {{"2.5", "21", "11", "60"}, 60, false}, {{"21", "21", "x", "60"}, 60, false},
        {{" 30", "21", "11", "120"}, 60, true},
        // Lengths up to the last frame the editors take, and no further.
        {{"99999", "99999", "99999", "99999"}, 60, true},
        {{"2000000000", "21", "11", "60"}, 60, false}, {{"21", "21", "100000", "60"}, 60, false},
        {{"21", "21", "11", "100000"}, 60, false},
    };
    for (const Case& c : cases) {
        const std::string texts[4] = {c.texts[0], c.texts[1], c.texts[2], c.texts[3]};
        CTimeLineOptionValues v;
        EXPECT_EQ(CheckTimeLineOptions(texts, c.shown, v).empty(), c.good) << c.texts[0] << " " << c.texts[1];
    }
    EXPECT_EQ(StoredSoundName("/opt/k/Sounds", "/opt/k/Sounds/bell.wav"), "bell.wav");
    EXPECT_EQ(StoredSoundName("/opt/k/Sounds/", "/opt/k/Sounds/a/b.wav"), "a/b.wav");
    EXPECT_EQ(StoredSoundName("/opt/k/Sounds", "/home/u/bell.wav"), "/home/u/bell.wav");
    EXPECT_EQ(StoredSoundName("/opt/k/Sounds", "/opt/k/Soundsx/bell.wav"), "/opt/k/Soundsx/bell.wav");
}

TEST(TimeLineRulesTest, ListenPlaysTheSelectedWaveOnce) {
    REQUIRE_TOOL("sox");
    TempDir dir;
    const std::string wav = dir.file("beep.wav");
    ASSERT_EQ(std::system(("sox -n -r 22050 -c 1 -b 16 '" + wav + "' synth 0.1 sine 440").c_str()), 0);
    RecordingSoundPlayer player;
    setSoundPlayer(&player);
    ListenToSound("");
    ListenToSound(wav);
    setSoundPlayer(nullptr);
    EXPECT_EQ(player.played, std::vector<std::string>{wav});
}

TEST_F(TimeLineModelTest, MultiSelectionShapesAndTheTrackLayout) {
    struct Press {
        int row, entry, shape;
        bool align;
    } presses[] = {
        {7, 0, 3, false},  // one pair
        {7, 1, 1, false},  // all in one row
        {8, 0, 2, true},   // a row shared, another not
        {7, 1, 0, true},   // removing one: worked out again
        {7, 0, 3, false},  // one pair left
    };
    for (const Press& p : presses) {
        model.Press(p.row, p.entry, true);
        EXPECT_EQ(model.MultiShape(), p.shape) << p.row << "," << p.entry;
        EXPECT_EQ(model.AlignEnabled(), p.align);
    }
    model.Align(CTimeLineModel::kAlignStartToStart);
    EXPECT_EQ(plays(8), "10-10") << "align buttons wait for two rows";

    // A pause being dragged shows at its new frame; the rows follow the top row.
    model.Press(8, 0, false);
    model.Press(0, 2, false);
    EXPECT_FALSE(model.HasMultiSelection());
    model.Drag(CTimeLineModel::kDragBody, 7);
    CTimeLineTrack track(nullptr);
    LayOutTrack(model, track);
    EXPECT_EQ(track.GetBarRect(0, 2).left, 47);
    EXPECT_EQ(track.GetBarRect(2, 0).left, 0) << "the camera row has no bars";
    model.Release();
    EXPECT_EQ(scene.getPause(2), 47);
    model.ScrollRowsTo(4);
    model.SetCurrentFrame(400);
    LayOutTrack(model, track);
    EXPECT_EQ(model.FrameScrollMaximum(), 400);
    EXPECT_EQ(track.m_nOrigin, 41) << "the window ends at the maximum";
    EXPECT_EQ(track.GetBarRect(3, 0).left, 5 - 41) << "T's first bar, left of the window";
    EXPECT_EQ(track.GetBarRect(4, 0).right, 10 - 41 + 1);
}

TEST_F(TimeLineModelTest, WhilePlayingOrRecordingNothingChangesTheFrames) {
    const std::string before = plays(7);
    const int pauses = scene.getNumPauses();
    model.Press(8, 0, true);
    model.Press(7, 1, true);
    ASSERT_TRUE(model.AlignEnabled());
    model.Press(7, 0, false);
    host.viewFrame = 12;
    model.SetCurrentFrame(12);
    // The view starts a recording: the panel is set playing.
    host.recording = true;
    model.SetPlaying();
    ASSERT_TRUE(model.IsPlaying());
    model.GoToStart();
    model.GoToEnd();
    model.StepBack();
    model.StepForward();
    model.TypeFrame(3);
    model.ScrollFrame(5);
    EXPECT_EQ(host.viewFrame, 12) << "no frame command moves the recording";
    EXPECT_EQ(model.CurrentFrame(), 12);
    EXPECT_FALSE(model.Drag(CTimeLineModel::kDragBody, 3));
    model.TypeTime(CTimeLineModel::kFieldStart, 9);
    model.AddEntry();
    model.DeleteEntry();
    EXPECT_EQ(plays(7), before);
    EXPECT_EQ(host.created, 0);
    // A pause mark dragged and let go stays.
    model.Press(0, 0, false);
    EXPECT_FALSE(model.Drag(CTimeLineModel::kDragBody, 3));
    model.Release();
    EXPECT_EQ(scene.getPause(0), 10);
    EXPECT_EQ(scene.getNumPauses(), pauses);
    model.Press(8, 0, true);
    model.Press(7, 1, true);
    model.Align(CTimeLineModel::kAlignStartToEnd);
    EXPECT_EQ(plays(8), "10-10");
    EXPECT_EQ(host.modified, 0);

    // Pause leaves a recording running and the panel locked; Stop ends it.
    model.Pause();
    EXPECT_TRUE(model.IsPlaying());
    EXPECT_TRUE(host.playCalls.empty());
    model.Stop();
    EXPECT_FALSE(model.IsPlaying());
    EXPECT_EQ(host.playCalls, std::vector<std::string>{"stop"});
    host.recording = false;
    // Playback pauses as before.
    model.Play();
    model.Pause();
    EXPECT_FALSE(model.IsPlaying());
    EXPECT_EQ(host.playCalls.back(), "pause");
}
