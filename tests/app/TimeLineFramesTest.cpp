// What the view shows after an edit of the time line in animation mode: the
// frame it stands on, drawn as the render tool draws that frame of the scene
// saved then. The time line is its model on the program's own host, so every
// edit takes the path the panel's takes.
#include "editor/KelvanoIds.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "tests/app/FollowingFrame.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/RenderTool.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"

#include <functional>

namespace {

// The colours, within a step of rounding; the window's alpha is no part of
// the picture.
bool sameColour(RGBA a, RGBA b) {
    a.a = b.a = 0;
    return near(a, b, 3);
}

class TimeLineFramesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
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

    FollowingFrame frame;
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
        {"Q's effect given new values (the Effect List's Apply)", [&] {
             scene().findEffect("right")->setTrans(sgVec3(-60, 40, 0));
             view->FrameContentChanged();
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
