// The time line panel as a real window under a private X server: the pointer
// drags a bar and double-clicks one. Run through tests/e2e/run_in_xvfb.py.
#include "scene/pnEvent.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "tests/support/SavedText.h"
#include "tests/support/WxTestRun.h"
#include "ui/animation/CTimeLineDlg.h"
#include "ui/animation/CTimeLineTrackCtrl.h"
#include "tests/animation/AlignPictures.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/ToolTips.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/scrolbar.h>
#include <wx/uiaction.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <functional>

namespace {

void pump(int milliseconds) { pumpWxEvents(milliseconds); }

// The panel on a scene of its own, its editor requests written down.
class Panel : public CTimeLineDlg {
public:
    Panel(wxWindow* parent, pnScene* s) : CTimeLineDlg(parent, wxID_ANY, "TimeLine"), scene(s) { RebuildRows(); }
    pnScene* GetScene() override { return scene; }
    void EditEffect(const std::string& event, const std::string& effect, int entry) override {
        edits.push_back(event + "/" + effect + "/" + std::to_string(entry));
    }
    pnScene* scene;
    std::vector<std::string> edits;
};

}  // namespace

TEST(TimeLineGuiTest, DragAndDoubleClickOnBars) {
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_TRUE(src);
    pnScene scene;
    ASSERT_EQ(pnSceneLoader().readFile(scene, std::string(src) + "/tests/animation/timeline.apn"), 1);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "timeline", wxPoint(0, 0), wxSize(800, 220));
    auto* panel = new Panel(frame, &scene);
    frame->Show();
    pump(200);
    panel->SelectEvent("T", 0);  // rows 3..7: T is the fifth
    pump(100);
    ASSERT_EQ(panel->Model().TopRow(), 3);
    const wxPoint origin = panel->TrackCtrl()->ClientToScreen(wxPoint(0, 0));
    wxUIActionSimulator sim;
    // The body of "a" (frames 5 to 20) in the fifth row, dragged 10 pixels right.
    const wxPoint body = origin + wxPoint(13, 4 * 19 + 9);
    sim.MouseMove(body);
    pump(100);
    sim.MouseDown();
    pump(100);
    for (int i = 1; i <= 10; ++i) {
        sim.MouseMove(body + wxPoint(i, 0));
        pump(20);
    }
    sim.MouseUp();
    pump(200);
    const pnEventPlay* a = scene.findEvent("T")->getPlay(0);
    EXPECT_EQ(a->start, 15);
    EXPECT_EQ(a->end, 30);
    EXPECT_EQ(RectTipAt(panel->TrackCtrl(), wxPoint(35, 4 * 19 + 9)), "b") << "each bar's tip names its effect";

    // A double-click names the bar under the pointer once.
    sim.MouseMove(origin + wxPoint(35, 4 * 19 + 9));  // the body of "b", 30 to 40
    pump(100);
    sim.MouseDblClick();
    pump(300);
    EXPECT_EQ(panel->edits, std::vector<std::string>{"T/b/1"});
    frame->Destroy();
    pump(50);
}

// The eight align buttons each show a picture of their own, and each picture
// shows what its button does to the plays: pressed on U's play with T's "c" as
// the reference, the play ends where the picture puts it.
TEST(TimeLineGuiTest, AlignButtonsShowWhatTheyDo) {
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_TRUE(src);
    pnScene scene;
    ASSERT_EQ(pnSceneLoader().readFile(scene, std::string(src) + "/tests/animation/timeline.apn"), 1);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "timeline", wxPoint(0, 0), wxSize(800, 220));
    auto* panel = new Panel(frame, &scene);
    frame->Show();
    pump(100);
    pnEvent* u = scene.findEvent("U");
    const pnEventPlay ref = *scene.findEvent("T")->getPlay(2);  // "c", 40 to 60
    const int rowT = scene.findEventIndex("T") + 2, rowU = scene.findEventIndex("U") + 2;
    std::set<std::vector<unsigned char>> pictures;
    for (int id : {1280, 1291, 1120, 1124, 1054, 1656, 1093, 1116}) {
        auto* button = dynamic_cast<CImageButton*>(panel->FindWindow(id));
        ASSERT_NE(button, nullptr) << id;
        const wxImage img = button->GetFaceBitmap().ConvertToImage();
        ASSERT_EQ(img.GetSize(), wxSize(17, 17)) << id;
        pictures.insert(std::vector<unsigned char>(img.GetData(), img.GetData() + 17 * 17 * 3));
        const AlignAction a = readAlignPicture(img);
        ASSERT_TRUE(a.ok) << id << ": the picture shows no align action";

        // U's play 30..65 aligned to c: every action is allowed here.
        u->setPlayTime(0, 30, 65);
        panel->RebuildRows();
        panel->Model().Press(rowU, 0, true);
        panel->Model().Press(rowT, 2, true);
        ASSERT_TRUE(panel->Model().AlignEnabled());
        wxCommandEvent press(wxEVT_BUTTON, id);
        press.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(press);
        const int edge = a.toRefEnd ? ref.end : ref.start;
        int start = 30, end = 65;
        if (a.whole) {
            const int shift = edge - (a.playEnd ? end : start);
            start += shift, end += shift;
        } else {
            (a.playEnd ? end : start) = edge;
        }
        EXPECT_EQ(u->getPlay(0)->start, start) << id;
        EXPECT_EQ(u->getPlay(0)->end, end) << id;
    }
    EXPECT_EQ(pictures.size(), 8u) << "two align buttons look the same";
    frame->Destroy();
    pump(50);
}

// Every image button of the panel, the align buttons in its field column too,
// draws a picture: none shows the face colour only.
TEST(TimeLineGuiTest, EveryButtonDrawsItsPicture) {
    pnScene scene;
    ASSERT_EQ(pnSceneLoader().readFile(scene, std::string(std::getenv("KELVANO_SOURCE_DIR")) +
                                                  "/tests/animation/timeline.apn"),
              1);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "timeline", wxPoint(0, 0), wxSize(800, 220));
    auto* panel = new Panel(frame, &scene);
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    int buttons = 0;
    std::function<void(wxWindow*)> visit = [&](wxWindow* w) {
        if (auto* button = dynamic_cast<CImageButton*>(w)) {
            ++buttons;
            const wxImage img = button->GetFaceBitmap().ConvertToImage();
            ASSERT_TRUE(img.IsOk()) << button->GetId();
            bool drawn = false;
            for (int y = 0; y < img.GetHeight() && !drawn; ++y)
                for (int x = 0; x < img.GetWidth() && !drawn; ++x)
                    drawn = wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y)) != face;
            EXPECT_TRUE(drawn) << "button " << button->GetId() << " shows a blank picture";
        }
        for (wxWindow* child : w->GetChildren()) visit(child);
    };
    visit(panel);
    EXPECT_EQ(buttons, 17);  // seven frame buttons, +E, -E and eight align buttons
    frame->Destroy();
    pump(50);
}

namespace {

// The scroll bars of a window and its children, horizontal ones only.
std::vector<wxScrollBar*> frameBars(wxWindow* w) {
    std::vector<wxScrollBar*> bars;
    if (auto* bar = dynamic_cast<wxScrollBar*>(w); bar && !bar->IsVertical()) bars.push_back(bar);
    for (wxWindow* child : w->GetChildren())
        for (wxScrollBar* bar : frameBars(child)) bars.push_back(bar);
    return bars;
}

}  // namespace

// A file may hold a play that ends at the last int: the frame bar then runs
// to it, and showing it wraps no sum round.
TEST(TimeLineGuiTest, APlayEndingAtTheLastIntScrollsToIt) {
    pnScene scene;
    ASSERT_EQ(readSceneEdited(scene, std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/tests/animation/timeline.apn",
                              "play\t( \"b\" 10 10 1 )", "play\t( \"b\" 10 2147483647 1 )"),
              1);
    ASSERT_EQ(scene.findEvent("U")->getPlay(0)->end, INT_MAX);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "timeline", wxPoint(0, 0), wxSize(800, 220));
    auto* panel = new Panel(frame, &scene);
    frame->Show();
    pump(50);
    const std::vector<wxScrollBar*> bars = frameBars(panel);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0]->GetRange(), INT_MAX);
    EXPECT_EQ(bars[0]->GetThumbSize(), CTimeLineModel::kPageFrames);
    frame->Destroy();
    pump(50);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    return runWxTests(argc, argv, [] { wxTheApp->OnInit(); });
}
