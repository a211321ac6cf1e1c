// The Light and Camera pages' rules and the light preview on a headless view
// (OSMesa, recording host): slots, switching, spot and distance display,
// effects made in animation mode, the drag mapping and the picture, the
// camera's projection, undo steps per drag and the preset lock.
#include "editor/SceneLights.h"
#include "scene/pnEffect.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/VecCheck.h"
#include "ui/properties/rules/CCameraPageLogic.h"
#include "ui/properties/rules/CLightPageLogic.h"

#include <cmath>

namespace {

class PagesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    // A scene holding only the named lights, each on and with its event.
    void sceneWithLights(std::initializer_list<const char*> names) {
        view->ResetScene();
        for (const char* name : names) {
            auto* light = new pnLight;
            light->setName(name);
            light->setPosition(150, 150, 500);
            ASSERT_TRUE(scene().addLight(light));
            auto* event = new pnEvent;
            event->setName(name);
            ASSERT_TRUE(scene().addEvent(event));
        }
        view->AddDefaultMaterials();
    }
    const pnEvent& eventOf(const std::string& name) { return *scene().findEvent(name.c_str()); }
    RecordingFrame frame;
};

TEST_F(PagesTest, LightSlotsFillUpAndFollowTheButtons) {
    sceneWithLights({"Light2", "Light5"});
    CLightPageLogic page;
    page.InitSceneLights(1);
    ASSERT_EQ(scene().getNumLights(), 4);
    // The missing slots take the first free numbers, at their own places.
    for (int slot : {2, 3}) {
        const pnLight* light = page.Light(slot);
        EXPECT_EQ(light->getName(), slot == 2 ? "Light1" : "Light3");
        expectVec(light->getPosition(), kLightSlotPositions[slot]);
        EXPECT_FALSE(light->isPositional());
        EXPECT_EQ(light->getOn(), 0);
        EXPECT_FLOAT_EQ(light->getSpotCone()[0], 10.0f);
        EXPECT_EQ(page.Controls().radioEnabled[slot], 0);
    }
    EXPECT_EQ(page.Current(), 0);

    struct Step {
        int slot;
        bool on;
        int current;
        int controlsEnabled;  // colour and intensity
        int spot;             // the spot radios (the new lights are directional)
    };
    const Step steps[] = {{2, true, 2, 1, 0}, {2, false, 0, 1, 1}, {0, false, 1, 1, 1}, {1, false, -1, 0, 0},
                          {3, true, 3, 1, 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.slot);
        page.OnLightButton(s.slot, s.on);
        EXPECT_EQ(page.Light(s.slot)->getOn(), s.on ? 1 : 0);
        EXPECT_EQ(page.Current(), s.current);
        EXPECT_EQ(page.Controls().radioEnabled[s.slot], s.on ? 1 : 0);
        EXPECT_EQ(page.Controls().colorEnabled, s.controlsEnabled);
        EXPECT_EQ(page.Controls().intensityEnabled, s.controlsEnabled);
        EXPECT_EQ(page.Controls().spotRadiosEnabled, s.spot);
    }
    EXPECT_EQ(view->m_bModified, 1);

    // A fifth light is told about once and left alone.
    auto* extra = new pnLight;
    extra->setName("Extra");
    ASSERT_TRUE(scene().addLight(extra));
    page.InitSceneLights(1);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "Exceeded the maximum number of light: 4.\nOnly the first 4 lights can be modified.");
    EXPECT_EQ(host.messages.back().caption, "Error");
    EXPECT_EQ(host.messages.back().style, KV_MB_OK | KV_MB_ICONWARNING);
}

TEST_F(PagesTest, SpotAndDistanceShowTheLight) {
    sceneWithLights({"Spot"});
    pnLight& light = *scene().getLight(0);
    light.setPositional(1);
    struct Case {
        float cutoff;
        int off;
        const char* shown;
    };
    for (const Case& c : {Case{180, 1, "30.00"}, Case{0, 1, "30.00"}, Case{-5, 1, "30.00"}, Case{45, 0, "45.00"}}) {
        SCOPED_TRACE(c.cutoff);
        light.setSpotCutoff(c.cutoff);
        CLightPageLogic page;
        page.InitSceneLights(1);
        EXPECT_EQ(page.Controls().spotOff, c.off);
        EXPECT_EQ(page.Controls().spotEditsEnabled, 1 - c.off);
        EXPECT_EQ(page.Controls().cutoff, c.shown);
        EXPECT_EQ(page.Controls().distance, 543) << "|(150, 150, 500)|";
    }
    CLightPageLogic page;
    page.InitSceneLights(1);
    page.OnSpotOff();
    page.OnSpotOn(page.Controls().cutoff);
    EXPECT_FLOAT_EQ(light.getSpotCone()[1], 45.0f);
    page.OnSpotOff();
    EXPECT_FLOAT_EQ(light.getSpotCone()[1], 180.0f);
    page.OnNumCommit(CLightPageLogic::EXPONENT, "500");
    EXPECT_FLOAT_EQ(light.getSpotCone()[0], 128.0f) << "kept in range";
    page.OnDistance(1000, true);
    sgVec3 moved = light.getPosition();
    EXPECT_NEAR(moved.normalize(), 1000.0f, 0.5f);
    page.OnIntensity(40);
    EXPECT_FLOAT_EQ(light.getIntensity(), 0.4f);
    page.OnDirectional();
    EXPECT_FALSE(light.isPositional());
    EXPECT_EQ(page.Controls().distanceEnabled, 0);
}

TEST_F(PagesTest, AnimationModeMovesAndColoursBecomeLitEffects) {
    sceneWithLights({"Lamp"});
    CLightPageLogic page;
    page.InitSceneLights(1);
    view->m_bAnimationMode = 1;
    page.Lock(true);
    EXPECT_EQ(page.Controls().lightButtonsEnabled, 0);
    EXPECT_EQ(page.Controls().distanceEnabled, 1);
    view->SetCurrentFrame(10);
    const sgVec3 start = page.Light(0)->getPosition();
    // Two drops: the second starts where the first ended.
    const sgVec3 drops[2] = {{300, 0, 0}, {0, 300, 0}};
    for (const sgVec3& d : drops) {
        page.Preview().SetLightPosition(0, d[0], d[1], d[2]);
        page.OnPreviewDrop();
    }
    const pnEvent& lamp = eventOf("Lamp");
    ASSERT_EQ(lamp.getNumPlays(), 2);
    EXPECT_EQ(lamp.getPlay(0)->effect, "litEffect001");
    EXPECT_EQ(lamp.getPlay(0)->start, 10);
    EXPECT_EQ(lamp.getPlay(0)->end, 30);
    EXPECT_EQ(lamp.getPlay(1)->start, 30);
    EXPECT_EQ(lamp.getPlay(1)->end, 50);
    expectVec(scene().findEffect("litEffect001")->getTrans(), drops[0] - start, 0.01f);
    expectVec(scene().findEffect("litEffect002")->getTrans(), drops[1] - drops[0], 0.01f);
    expectVec(page.Light(0)->getPosition(), start, 0.01f, "the light itself stays");
    EXPECT_EQ(view->m_nCurrentFrame, 50);
    EXPECT_EQ(frame.callsOf("AddEffectListName"), (std::vector<std::string>{"litEffect001", "litEffect002"}));
    EXPECT_EQ(view->m_bModified, 1);

    // A colour is an effect of the material's name, not in the Effect List.
    page.OnMaterialChosen(3);
    const pnEffect* colour = scene().findEffect("litEffect003");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->getColor(), scene().getMaterial(3)->getName());
    EXPECT_TRUE(page.Light(0)->getMaterial().empty());
    EXPECT_EQ(frame.callsOf("AddEffectListName").size(), 2u);

    // The distance slider on an event without plays: one frame shorter.
    sceneWithLights({"Fresh"});
    CLightPageLogic fresh;
    fresh.InitSceneLights(1);
    fresh.Lock(true);
    view->SetCurrentFrame(0);
    fresh.OnDistance(800, true);
    ASSERT_EQ(eventOf("Fresh").getNumPlays(), 1);
    EXPECT_EQ(eventOf("Fresh").getPlay(0)->end, 19);
}

// In animation mode the pages show the eye and the lights where the view shows
// them at the current frame, and a move goes from there: also after -E took
// away the play that had moved them, before the page heard of it.
TEST_F(PagesTest, AnimationModePagesShowTheFrameAndMoveFromIt) {
    sceneWithLights({"Lamp"});
    view->AddCameraEvent();
    CLightPageLogic light;
    light.InitSceneLights(1);
    CCameraPageLogic camera;
    camera.LoadViewpoint();
    view->m_bAnimationMode = 1;
    light.Lock(true);
    camera.Lock(true);
    pnEvent& cam = *scene().findEvent("Camera");
    pnEvent& lamp = *scene().findEvent("Lamp");
    const sgVec3 home = light.Light(0)->getPosition();  // |(150, 150, 500)| = 543
    const sgVec3 along = home / 543.0f;

    camera.OnDistanceScroll(600, true);  // a play 0..20
    ASSERT_EQ(cam.getNumPlays(), 1);
    EXPECT_EQ(camera.Controls().distance, 600);
    view->SetCurrentFrame(10);
    camera.FollowFrame();
    EXPECT_EQ(camera.Controls().distance, 753) << "half way from 906 to 600";
    expectVec(camera.Eye(), sgVec3(0, 0, 753), 0.01f);
    view->SetCurrentFrame(20);
    camera.FollowFrame();
    // -E, then a drag from the stale 600 to 1000: the view shows the eye at 906.
    cam.removePlayAt(0);
    camera.OnDistanceScroll(1000, true);
    ASSERT_EQ(cam.getNumPlays(), 1);
    expectVec(scene().findEffect(cam.getPlay(0)->effect.c_str())->getTrans(), sgVec3(0, 0, 1000 - 906), 0.01f);
    EXPECT_EQ(camera.Controls().distance, 1000) << "at the end of the new play";
    cam.removePlayAt(0);
    camera.FollowFrame();
    EXPECT_EQ(camera.Controls().distance, 906);
    expectVec(camera.Eye(), sgVec3(0, 0, 906), 0.01f);

    // The light the same way: its event gets a play 40..59.
    light.OnDistance(800, true);
    ASSERT_EQ(lamp.getNumPlays(), 1);
    EXPECT_EQ(light.Controls().distance, 800);
    lamp.removePlayAt(0);
    light.OnDistance(1000, true);
    ASSERT_EQ(lamp.getNumPlays(), 1);
    expectVec(scene().findEffect(lamp.getPlay(0)->effect.c_str())->getTrans(), along * (1000.0f - 543.0f), 0.5f,
              "the move from where the view shows the light");
    const int start = lamp.getPlay(0)->start;
    view->SetCurrentFrame(start);
    light.FollowFrame();
    EXPECT_EQ(light.Controls().distance, 543);
    float x = 0, y = 0, z = 0;
    light.Preview().GetLightPosition(0, x, y, z);
    expectVec(sgVec3(x, y, z), home, 0.5f, "the marker where the view shows the light");
    expectVec(light.Light(0)->getPosition(), home, 0.01f, "the light itself stays");
}

TEST_F(PagesTest, LightPreviewDragAndPicture) {
    CLightPreviewModel preview;
    preview.SetScale(300, -3000, 3000);
    preview.SetLightPosition(0, 0, 0, 300);
    preview.SetClientSize(200, 100);
    EXPECT_FALSE(preview.Drag(50, 50, 150, 50)) << "no current light";
    preview.m_nCurrent = 0;
    // Across half the width at the centre: 90 degrees about Y.
    ASSERT_TRUE(preview.Drag(50, 50, 150, 50));
    float x, y, z;
    preview.GetLightPosition(0, x, y, z);
    expectVec(sgVec3(x, y, z), sgVec3(300, 0, 0), 0.01f);
    preview.SetClientSize(0, 100);
    EXPECT_FALSE(preview.Drag(10, 10, 20, 20)) << "a side of 0 takes no drag";

    auto markerPixels = [&](int w, int h, int& red, int& green) {
        red = green = 0;
        ASSERT_TRUE(preview.Size(w, h));
        preview.Render();
        const Frame f = readFrame(w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const RGBA p = f.at(i, j);
                red += p.r > p.g + 60 && p.r > p.b + 60;
                green += p.g > p.r + 60 && p.g > p.b + 60;
            }
    };
    int red = 0, green = 0;
    for (auto& s : preview.m_slots) s.on = 0;
    markerPixels(120, 120, red, green);
    EXPECT_EQ(red + green, 0) << "no light on, no marker";
    preview.m_slots[0].on = preview.m_slots[1].on = 1;
    preview.SetLightPosition(1, 0, 300, 300);
    markerPixels(120, 120, red, green);
    EXPECT_GT(red, 0) << "the current light";
    EXPECT_GT(green, 0) << "the other light";
    EXPECT_FALSE(preview.Size(0, 50));

    // Tall and narrow: the sphere stays round (widths and heights of the
    // pixels lighter than the background's grey).
    for (auto& s : preview.m_slots) s.on = 0;
    preview.m_slots[0].on = 1;
    preview.SetLightPosition(0, 0, 0, 300);
    ASSERT_TRUE(preview.Size(60, 200));
    preview.Render();
    const Frame f = readFrame(60, 200);
    // The extent of the pixels unlike the background along a line.
    auto extent = [&](int n, auto at) {
        int first = -1, last = -1;
        for (int k = 0; k < n; ++k)
            if (std::abs(int(at(k).r) - 102) > 12) {
                if (first < 0) first = k;
                last = k;
            }
        return first < 0 ? 0 : last - first + 1;
    };
    const int across = extent(60, [&](int i) { return f.at(i, 100); });
    const int down = extent(200, [&](int j) { return f.at(30, j); });
    EXPECT_NEAR(across, 35, 3);
    EXPECT_NEAR(down, across, 2);
}

TEST_F(PagesTest, CameraProjectionResetAndUndoSteps) {
    CCameraPageLogic page;
    page.LoadViewpoint();
    pnViewpoint& camera = *scene().getViewpoint();
    EXPECT_EQ(page.Controls().perspective, 1);
    EXPECT_EQ(page.Controls().widthEditEnabled, 0);

    const int first = doc->GetUndoHistory().GetCount();
    const int redraws = host.redraws;
    page.OnWidthScroll(900);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), first + 1);
    EXPECT_EQ(host.redraws, redraws + 1) << "one step and one draw for one change";
    EXPECT_EQ(camera.perspective, 0) << "the width slider goes orthographic";
    EXPECT_FLOAT_EQ(camera.width, 900);
    EXPECT_EQ(page.Controls().widthText, "900");
    EXPECT_EQ(page.Controls().fovEditEnabled, 0);
    page.OnFovScroll(50);
    EXPECT_EQ(camera.perspective, 1);
    page.OnPreviewDrop(sgVec3(300, 0, 600));
    expectVec(camera.getPosition(), sgVec3(300, 0, 600));
    page.OnReset();
    EXPECT_EQ(camera.perspective, 1);
    EXPECT_FLOAT_EQ(camera.fov, 30);
    expectVec(camera.getPosition(), sgVec3(0, 0, 906));
    EXPECT_EQ(page.Controls().fovText, "30");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), first + 4) << "width, field of view, drop and reset";

    // One drag, one step, however many moves; the release's echo adds none.
    const int steps = doc->GetUndoHistory().GetCount();
    page.OnSliderPressed();
    for (int position : {1000, 1100, 1200}) page.OnDistanceScroll(position, false);
    page.OnSliderReleased();
    page.OnDistanceScroll(1200, true);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    expectVec(camera.getPosition(), sgVec3(0, 0, 1200));
    ASSERT_EQ(view->OnEditUndo(), 1);
    expectVec(scene().getViewpoint()->getPosition(), sgVec3(0, 0, 906));
    ASSERT_EQ(view->OnEditRedo(), 1);
    expectVec(scene().getViewpoint()->getPosition(), sgVec3(0, 0, 1200));
    EXPECT_FALSE(frame.callsOf("ReloadCameraPage").empty());
    // Each key step is a step of its own.
    page.LoadViewpoint();
    page.OnDistanceScroll(1300, true);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 2);
}

TEST_F(PagesTest, CameraAnimationEffectsAndThePresetLock) {
    CCameraPageLogic page;
    page.LoadViewpoint();
    view->m_bAnimationMode = 1;
    page.Lock(true);
    const CameraPageControls& c = page.Controls();
    EXPECT_EQ(c.distanceSliderEnabled, 1);
    EXPECT_EQ(c.widthSliderEnabled + c.fovSliderEnabled + c.radiosEnabled + c.distanceEditEnabled, 0);
    const int steps = doc->GetUndoHistory().GetCount();
    page.OnSliderPressed();
    page.OnDistanceScroll(1500, false);
    page.OnDistanceScroll(1600, false);
    page.OnSliderReleased();
    page.OnDistanceScroll(1600, true);
    const pnEvent& camera = eventOf("Camera");
    ASSERT_EQ(camera.getNumPlays(), 1) << "one effect per drag";
    EXPECT_EQ(camera.getPlay(0)->effect, "camEffect001");
    expectVec(scene().findEffect("camEffect001")->getTrans(), sgVec3(0, 0, 1600 - 906), 0.01f);
    expectVec(scene().getViewpoint()->getPosition(), sgVec3(0, 0, 906), 0.01f, "the viewpoint stays");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps) << "no undo step in animation mode";

    page.SetPresetView(true);
    EXPECT_EQ(c.resetEnabled + c.distanceSliderEnabled + c.radiosEnabled + c.widthSliderEnabled, 0);
    page.OnPreviewDrop(sgVec3(0, 500, 500));
    EXPECT_EQ(camera.getNumPlays(), 1) << "a preset view takes no drop";
    page.SetPresetView(false);
    EXPECT_EQ(c.distanceSliderEnabled, 1) << "back to what animation mode allows";
    EXPECT_EQ(c.radiosEnabled, 0);
    view->m_bAnimationMode = 0;
    page.Lock(false);
    EXPECT_EQ(c.radiosEnabled, 1);
    EXPECT_EQ(c.resetEnabled, 1);
}

}  // namespace
