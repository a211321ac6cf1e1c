// What the view shows after an edit of the time line in animation mode: the
// frame it stands on, drawn as the render tool draws that frame of the scene
// saved then. The time line is its model on the program's own host, so every
// edit takes the path the panel's takes.
#include "editor/KelvanoIds.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "tests/app/FollowingFrame.h"
#include "tests/app/ViewFixture.h"
#include "sg/sgChannel.h"
#include "tests/support/RenderTool.h"
#include "tests/support/SavedText.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "tests/support/VecCheck.h"
#include "ui/animation/CEffectListModel.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>

namespace {

// The colours, within a step of rounding; the window's alpha is no part of
// the picture.
bool sameColour(RGBA a, RGBA b) {
    a.a = b.a = 0;
    return near(a, b, 3);
}

class TimeLineFramesTest : public FollowingViewTest {
protected:
    void addPanel(const char* name, float x) {
        auto panel = std::make_unique<pnPanel>();
        panel->setName(name);
        panel->setMaterial("Color18");
        panel->setDimension(80, 80, 10);
        panel->setPosition(x, 0, 0);
        ASSERT_NE(view->InsertNewObject(std::move(panel)), nullptr);
    }
    void addEffect(const char* name, sgVec3 move) {
        auto* effect = new pnEffect;
        effect->setName(name);
        effect->setTrans(move);
        ASSERT_TRUE(scene().addEffect(effect));
    }
    // The view's picture now against the render tool's picture of the frame
    // the view stands on, in the scene saved now.
    void expectRenderToolPicture(const std::string& what) {
        SCOPED_TRACE(what);
        const Frame shown = draw();
        const std::string path = dir.file("scene.apn");
        ASSERT_EQ(scene().save(path.c_str(), 0), 1);
        RenderToolImage tool;
        const std::string frameOption = "--frame " + std::to_string(view->m_nCurrentFrame);
        ASSERT_TRUE(renderWithTool(path, frameOption, dir.file("tool.png"), tool, dir.path())) << tool.log;
        ASSERT_EQ(tool.width, kDefaultSceneWidth);
        ASSERT_EQ(tool.height, kDefaultSceneHeight);
        long differing = 0;
        for (int y = 0; y < kDefaultSceneHeight; ++y)
            for (int x = 0; x < kDefaultSceneWidth; ++x)
                if (!sameColour(shown.at(x, y), tool.at(x, kDefaultSceneHeight - 1 - y))) ++differing;
        EXPECT_EQ(differing, 0) << "pixels the view shows otherwise; at the middle the view shows "
                                << describe(shown.at(kDefaultSceneWidth / 2, kDefaultSceneHeight / 2)) << ", the tool "
                                << describe(tool.at(kDefaultSceneWidth / 2, kDefaultSceneHeight / 2)) << "; corner "
                                << describe(shown.at(2, 2)) << " / " << describe(tool.at(2, kDefaultSceneHeight - 3));
        if (differing) writeFramePNG(shown, testOutputDir() + "/timeline-" + std::to_string(++m_nShots) + ".png");
    }

    TempDir dir{"kv-timeline-frames"};
    int m_nShots = 0;
};

}  // namespace

TEST_F(TimeLineFramesTest, EveryEditShowsAtOnceAsTheRenderToolDrawsIt) {
    REQUIRE_TOOL("convert");
    // P moves right then up; Q moves right, later than P.
    addPanel("P", -140);
    addPanel("Q", 100);
    addEffect("right", sgVec3(100, 0, 0));
    addEffect("up", sgVec3(0, 80, 0));
    pnEvent* p = scene().findEvent("P");
    pnEvent* q = scene().findEvent("Q");
    ASSERT_TRUE(p && q);
    p->addPlay("right", 0, 20, 1);
    p->addPlay("up", 20, 40, 1);
    q->addPlay("right", 10, 30, 1);
    view->OnToggleMode();
    ASSERT_EQ(view->m_bAnimationMode, 1);
    // The view stands on frame 15, played there.
    view->SetCurrentFrame(15);
    expectRenderToolPicture("frame 15 reached");

    CTimeLineModel& t = frame.timeLine;
    t.RebuildRows();
    EXPECT_EQ(t.CurrentFrame(), 15) << "the rows come at the view's frame";
    const int rowP = scene().findEventIndex("P") + 2, rowQ = scene().findEventIndex("Q") + 2;
    ASSERT_GE(rowP, CTimeLineModel::kFirstObjectRow);

    const struct {
        const char* what;
        std::function<void()> edit;
    } edits[] = {
        {"the end of P's first play dragged to 12", [&] {
             t.Press(rowP, 0, false);
             EXPECT_TRUE(t.Drag(CTimeLineModel::kDragFinish, -8));
         }},
        {"Q's start typed as 2", [&] {
             t.Press(rowQ, 0, false);
             t.TypeTime(CTimeLineModel::kFieldStart, 2);
             EXPECT_EQ(q->getPlay(0)->start, 2);
         }},
        {"Q's end typed as 24", [&] {
             t.Press(rowQ, 0, false);
             t.TypeTime(CTimeLineModel::kFieldEnd, 24);
             EXPECT_EQ(q->getPlay(0)->end, 24);
         }},
        {"Q's duration typed as 9", [&] {
             t.Press(rowQ, 0, false);
             t.TypeTime(CTimeLineModel::kFieldDuration, 9);
             EXPECT_EQ(q->getPlay(0)->end, 10);
         }},
        {"Q's play aligned to start with P's", [&] {
             t.Press(rowQ, 0, true);
             t.Press(rowP, 0, true);
             t.Align(CTimeLineModel::kAlignStartToStart);
             EXPECT_EQ(q->getPlay(0)->start, 0);
             t.Press(rowP, 0, false);
         }},
        {"Q hidden by the eye toggle", [&] {
             t.Press(rowQ, 0, false);
             t.SetVisible(0);
         }},
        {"P's first play taken away with -E", [&] {
             t.Press(rowP, 0, false);
             t.DeleteEntry();
             EXPECT_EQ(p->getNumPlays(), 1);
         }},
        {"Q's effect given new values in the Effect List, then Apply", [&] {
             CEffectListModel list;
             list.Fill();
             const auto& names = list.Names();
             const auto at = std::find(names.begin(), names.end(), "right");
             ASSERT_NE(at, names.end());
             ASSERT_TRUE(list.Select(static_cast<int>(at - names.begin())));
             ASSERT_TRUE(list.MarkChanged(CEffectListModel::kMove));
             EXPECT_TRUE(list.Apply(sgVec3(-60, 40, 0), sgVec3(1, 1, 1), 0.0f, sgVec3(0, 1, 0), false));
             EXPECT_EQ(scene().findEffect("right")->getTrans(), sgVec3(-60, 40, 0));
         }},
    };
    for (const auto& e : edits) {
        const int redraws = host.redraws;
        e.edit();
        EXPECT_GT(host.redraws, redraws) << e.what << ": the view draws again";
        EXPECT_EQ(view->m_nCurrentFrame, 15) << e.what;
        expectRenderToolPicture(e.what);
    }

    // A save rebuilds the rows at the view's frame: +E on the pause row puts
    // the pause where the view stands.
    view->m_strPathName = dir.file("saved.apn");
    ASSERT_EQ(view->OnFileSave(), 1);
    EXPECT_EQ(t.CurrentFrame(), 15) << "the time line stays where the view is";
    t.Press(0, -1, false);
    t.AddEntry();
    ASSERT_EQ(scene().getNumPauses(), 1);
    EXPECT_EQ(scene().getPause(0), 15);

    // Renamed in the event tree as its window does it (the rows rebuilt):
    // the time line stays where the view is.
    bool objectRenamed = false;
    ASSERT_EQ(RenameEvent(scene(), "Q", "R", &objectRenamed), 1);
    EXPECT_TRUE(objectRenamed);
    frame.RebuildTimeLineRows();
    EXPECT_EQ(view->m_nCurrentFrame, 15);
    EXPECT_EQ(t.CurrentFrame(), 15) << "the tree's rename moved the time line";
    expectRenderToolPicture("Q renamed R in the event tree");

    // Every time doubled (Timeline Options): the view stays on frame 15 and
    // shows what frame 15 of the scaled scene shows; +E on the sound row
    // puts the sound there.
    const int length = scene().updateLastFrame();
    ASSERT_GT(length, 15);
    view->ScaleSceneTimes(length, 2 * length);
    EXPECT_EQ(p->getPlay(0)->start, 40);
    EXPECT_EQ(view->m_nCurrentFrame, 15);
    EXPECT_EQ(t.CurrentFrame(), 15) << "the scaling moved the time line";
    expectRenderToolPicture("every time doubled");
    frame.timeLineHost.sound = "chime.wav";
    t.Press(1, -1, false);
    t.AddEntry();
    ASSERT_EQ(scene().getNumSounds(), 1);
    EXPECT_EQ(scene().getSound(0).frame, 15);

    // +E on P's row opens "Creating Effect"; its OK plays the new effect on P
    // from the view's frame, and the view stands at its end.
    const int rowNow = scene().findEventIndex("P") + 2;
    t.Press(rowNow, 0, false);
    t.AddEntry();
    ASSERT_TRUE(dialogs->IsOpen(1)) << "+E opened no Creating Effect";
    addEffect("made", sgVec3(0, -70, 0));
    const int plays = p->getNumPlays();
    dialogs->creating->Applied("made", false);
    ASSERT_EQ(p->getNumPlays(), plays + 1);
    EXPECT_EQ(p->getPlay(0)->effect, "made");
    EXPECT_EQ(p->getPlay(0)->start, 15);
    EXPECT_EQ(view->m_nCurrentFrame, p->getPlay(0)->end);
    EXPECT_EQ(t.CurrentFrame(), view->m_nCurrentFrame);
    expectRenderToolPicture("an effect made with +E");
}

// What the modal editors change shows in the view while they are open: the
// grow/shrink times of a chart, and the camera's and a light's effect in the
// editor the time line opens on their rows.
TEST_F(TimeLineFramesTest, ModalEditorsShowTheirChangesAtOnce) {
    REQUIRE_TOOL("convert");
    const char* source = std::getenv("KELVANO_SOURCE_DIR");
    const std::string data = std::string(source ? source : ".") + "/data";
    app.InitFolders(data);
    app.InitSceneServices();
    std::ifstream in(data + "/scenes/barchart.apn");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    // The chart's model beside the scene, as the saved scene names it.
    for (size_t at; (at = text.find("\"../ChartSlices/")) != std::string::npos;) text.replace(at, 16, "\"ChartSlices/");
    std::filesystem::create_directories(dir.file("ChartSlices"));
    std::filesystem::copy_file(data + "/ChartSlices/cyl10x.3ds", dir.file("ChartSlices/cyl10x.3ds"));
    const std::string path = dir.write("bars.apn", text);
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    ASSERT_NE(scene().findObject("bars"), nullptr);
    view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
    addEffect("dolly", sgVec3(0, 0, -200));
    addEffect("swing", sgVec3(-900, 0, 0));
    scene().findEvent("Camera")->addPlay("dolly", 0, 30, 1);
    const std::string keyLight = scene().getLight(0)->getName();
    scene().findEvent(keyLight.c_str())->addPlay("swing", 0, 30, 1);
    view->OnToggleMode();
    ASSERT_EQ(view->m_bAnimationMode, 1);
    view->SetCurrentFrame(15);
    view->OnObjectChosen("bars");
    expectRenderToolPicture("frame 15 of the chart");

    int changes = 0;
    dialogs->inGrowShrink = [&](CGrowShrinkModel& g) {
        ASSERT_EQ(g.RowCount(), 4);
        g.SetCurrent(0, CGrowShrinkModel::kGrow);
        g.TypeEnd(16);
        EXPECT_EQ(static_cast<pnChart*>(scene().findObject("bars"))->getDataPtEndTime(0), 16);
        expectRenderToolPicture("Q1 grows until 16, the dialog still open");
        g.SetCurrent(3, CGrowShrinkModel::kGrow);
        g.TypeStart(5, false);
        expectRenderToolPicture("Q4 grows from 5, the dialog still open");
        ++changes;
    };
    view->m_bModified = 0;
    view->OnAddGrowShrink();
    EXPECT_EQ(changes, 1) << "the grow/shrink setting did not run";
    EXPECT_EQ(view->m_bModified, 1);

    CTimeLineModel& t = frame.timeLine;
    t.RebuildRows();
    for (const auto& [event, move] : {std::pair{std::string("Camera"), sgVec3(0, 0, -500)},
                                      std::pair{keyLight, sgVec3(900, 0, 0)}}) {
        SCOPED_TRACE(event);
        int applied = 0;
        dialogs->inModalEditor = [&, move = move](CEffectEditorModel& editor) {
            editor.MarkChanged(CEffectEditorModel::kMove);
            editor.Apply(move, sgVec3(1, 1, 1), 0.0f, sgVec3(0, 1, 0), nullptr);
            EXPECT_EQ(editor.Effect()->getTrans(), move);
            expectRenderToolPicture("the effect applied, the editor still open");
            ++applied;
        };
        t.DoubleClick(scene().findEventIndex(event.c_str()) + 2, 0);
        EXPECT_EQ(applied, 1) << "the time line opened no editor";
        EXPECT_EQ(view->m_nCurrentFrame, 15);
    }
}

// A camera move recorded with the Camera page's distance slider: the view
// goes to the frame the Frame box shows. -E on the Camera row takes the move
// away, the page shows the eye where the view shows it, and the next drag
// records its move from there.
TEST_F(TimeLineFramesTest, CameraSliderMovesShowAndGoFromWhereTheViewShowsTheEye) {
    REQUIRE_TOOL("convert");
    addPanel("P", 0);
    view->OnToggleMode();
    ASSERT_EQ(view->m_bAnimationMode, 1);
    CCameraPageLogic& page = frame.camera;
    page.Lock(true);  // as the property bar locks its pages
    CTimeLineModel& t = frame.timeLine;
    t.RebuildRows();
    draw();
    // A drag as the slider sends it: moves, the release, the end.
    auto drag = [&](int to) {
        page.OnSliderPressed();
        page.OnDistanceScroll(to, false);
        page.OnSliderReleased();
        page.OnDistanceScroll(to, true);
    };
    const pnEvent* camera = scene().findEvent("Camera");
    ASSERT_NE(camera, nullptr);
    const int redraws = host.redraws;
    drag(600);
    ASSERT_EQ(camera->getNumPlays(), 1);
    EXPECT_EQ(view->m_nCurrentFrame, 20);
    EXPECT_EQ(t.CurrentFrame(), 20) << "the Frame box";
    EXPECT_GT(host.redraws, redraws) << "the view stays on frame 0";
    expectRenderToolPicture("the camera moved to 600 by the slider");

    t.Press(scene().findEventIndex("Camera") + 2, 0, false);
    t.DeleteEntry();
    ASSERT_EQ(camera->getNumPlays(), 0);
    draw();
    const sgVec3 shown = sgChannel::sgGetChannel()->getEye();
    expectVec(shown, sgVec3(0, 0, 906), 0.5f, "the eye the view shows after -E");
    expectVec(page.Eye(), shown, 0.5f, "the page's eye");
    EXPECT_EQ(page.Controls().distance, 906);

    drag(700);
    ASSERT_EQ(camera->getNumPlays(), 1);
    const std::string effect = camera->getPlay(0)->effect;
    view->m_strPathName = dir.file("camera.apn");
    ASSERT_EQ(view->OnFileSave(), 1);
    const std::string text = readText(dir.file("camera.apn"));
    const size_t block = text.find("name\t\"" + effect + "\"");
    ASSERT_NE(block, std::string::npos) << text;
    const size_t trans = text.find("trans\t(", block);
    ASSERT_NE(trans, std::string::npos);
    float x = 0, y = 0, z = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + trans, "trans\t( %f %f %f )", &x, &y, &z), 3);
    expectVec(sgVec3(x, y, z), sgVec3(0, 0, 700 - 906), 0.01f, "the saved move: closer, from 906");
    expectRenderToolPicture("the camera moved to 700 by the slider");
}

// A double-click on an effect in the Event Tree opens the Effect Editor with
// the time line's Frame box at the play's end: the view shows that frame at
// once, not the one it stood on until the editor closes.
TEST_F(TimeLineFramesTest, TheEventTreesEditorShowsThePlaysEnd) {
    REQUIRE_TOOL("convert");
    addPanel("P", -140);
    addEffect("right", sgVec3(100, 0, 0));
    addEffect("up", sgVec3(0, 80, 0));
    pnEvent* p = scene().findEvent("P");
    ASSERT_TRUE(p);
    p->addPlay("right", 0, 20, 1);
    p->addPlay("up", 21, 41, 1);
    view->OnToggleMode();
    view->OnObjectChosen("P");
    view->GoToFrame(41);
    frame.timeLine.RebuildRows();
    expectRenderToolPicture("frame 41 reached");

    const int redraws = host.redraws;
    view->EditEffectPlay("P", 0);  // what the tree's double-click does
    ASSERT_TRUE(dialogs->IsOpen(2));
    EXPECT_EQ(frame.timeLine.CurrentFrame(), 20) << "the Frame box";
    EXPECT_EQ(view->m_nCurrentFrame, 20);
    EXPECT_GT(host.redraws, redraws) << "the view goes on showing frame 41";
    expectRenderToolPicture("the Effect Editor opened on the first play");
}

// A light takes the colours of the material it names: a change of that
// material lights the view as the saved scene lights the render tool's
// picture.
TEST_F(TimeLineFramesTest, AMaterialALightUsesLightsTheView) {
    REQUIRE_TOOL("convert");
    addPanel("P", 0);  // white
    pnLight* light = scene().getLight(0);
    ASSERT_NE(light, nullptr);
    light->setMaterial("Color19");
    expectRenderToolPicture("red light");
    pnMaterial* material = scene().findMaterial("Color19");
    material->setAmbient(0.0f, 0.0f, 0.3f);
    material->setDiffuse(0.0f, 0.0f, 1.0f);
    material->setSpecular(0.0f, 0.0f, 0.0f);
    // What the material chooser's Modify and a material's undo step do.
    scene().updateObjectsUsingMaterial(material);
    view->Redraw();
    expectRenderToolPicture("blue light");
}
