// The custom controls as real wx controls under a private X server: what each
// sends to its parent, the range check, the spin release, the repeat button
// on a fake clock and synchronous delivery. Run through
// tests/e2e/run_in_xvfb.py.
#include "tests/support/WxTestRun.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CNotifyComboBox.h"
#include "ui/properties/controls/CNotifySliderCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CObjectListBox.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CRepeatButton.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/controls/ToolTips.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/tooltip.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <tuple>
#include <vector>

namespace {

void pump(int milliseconds) { pumpWxEvents(milliseconds); }

using Sent = std::tuple<int, long, long>;

// A dialog page that records every private message it receives.
class Receiver : public wxPanel {
public:
    explicit Receiver(wxWindow* parent) : wxPanel(parent) {
        for (int message : kPrivateMessageValues)
            Bind(wxEventTypeTag<CPrivateMessageEvent>(PrivateMessageEventType(message)),
                 [this](CPrivateMessageEvent& e) {
                     log.emplace_back(e.GetMessageId(), e.GetWParam(), e.GetLParam());
                     if (onMessage) onMessage(e);
                 });
    }
    std::vector<Sent> take() {
        std::vector<Sent> out;
        out.swap(log);
        return out;
    }
    std::vector<Sent> log;
    std::function<void(CPrivateMessageEvent&)> onMessage;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "controls", wxDefaultPosition, wxSize(400, 300));
        page = new Receiver(frame);
        frame->Show();
        pump(50);
    }
    void TearDown() override {
        frame->Destroy();
        pump(50);
    }
    static void focus(wxWindow* w, bool gained) {
        wxFocusEvent e(gained ? wxEVT_SET_FOCUS : wxEVT_KILL_FOCUS, w->GetId());
        e.SetEventObject(w);
        w->GetEventHandler()->ProcessEvent(e);
    }
    static void enter(wxWindow* w) {
        wxCommandEvent e(wxEVT_TEXT_ENTER, w->GetId());
        e.SetEventObject(w);
        w->GetEventHandler()->ProcessEvent(e);
    }
    static void mouse(wxWindow* w, wxEventType type) {
        wxMouseEvent e(type);
        e.SetEventObject(w);
        e.SetPosition(wxPoint(2, 2));
        w->GetEventHandler()->ProcessEvent(e);
    }
    wxFrame* frame = nullptr;
    Receiver* page = nullptr;
};

}  // namespace

TEST_F(ControlsTest, NumEditClampsAndCommitsOnEnterAndOnFocusLoss) {
    auto* edit = new CNumEdit(page, 1701);
    edit->m_nMin = 10;
    edit->m_nMax = 500;
    focus(edit, true);
    const struct {
        const char* typed;
        const char* committed;
    } table[] = {{"5", "10"}, {"700", "500"}, {"abc", "10"}, {"250", "250"}};
    for (const auto& row : table) {
        edit->ChangeValue(row.typed);
        enter(edit);
        EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_NUMEDIT_COMMIT, 1701, 1}})) << row.typed;
        EXPECT_EQ(edit->GetValue(), row.committed);
    }
    // Enter then Tab: two commits, lParam 1 then 0.
    edit->ChangeValue("42");
    enter(edit);
    focus(edit, false);
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_NUMEDIT_COMMIT, 1701, 1}, {WM_NUMEDIT_COMMIT, 1701, 0}}));
    // Focus leaving an unchanged edit says nothing.
    focus(edit, true);
    focus(edit, false);
    EXPECT_TRUE(page->take().empty());
    // The initial bounds only report; a float range formats with six decimals.
    auto* plain = new CNumEdit(page, 1702);
    focus(plain, true);
    plain->ChangeValue("any text");
    focus(plain, false);
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_NUMEDIT_COMMIT, 1702, 0}}));
    EXPECT_EQ(plain->GetValue(), "any text");
    plain->m_nMode = 1;
    plain->m_fMax = 10.0f;
    plain->ChangeValue("12.5");
    enter(plain);
    EXPECT_EQ(plain->GetValue(), "10.000000");
    page->take();
    // Typing is reported after the edit took the key.
    edit->SetFocus();
    wxKeyEvent key(wxEVT_CHAR);
    key.m_keyCode = '7';
    key.m_uniChar = '7';
    edit->GetEventHandler()->ProcessEvent(key);
    edit->WriteText("7");
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_NUMEDIT_CHANGED, 1701, 0}}));
}

TEST_F(ControlsTest, DeliveryIsSynchronous) {
    auto* edit = new CNumEdit(page, 1740);
    edit->m_nMode = 2;
    // A page that refuses the name puts the old one back before the edit goes on.
    page->onMessage = [edit](CPrivateMessageEvent& e) {
        edit->ChangeValue("Color1");
        e.SetResult(1);
    };
    edit->ChangeValue("taken");
    enter(edit);
    EXPECT_EQ(edit->GetValue(), "Color1");
    EXPECT_EQ(page->log.size(), 1u);
    EXPECT_EQ(SendPrivateMessage(page, WM_THUMB_CLICK, 0, 0), 1);
    EXPECT_EQ(SendPrivateMessage(page, 0x281c, 0, 0), 0) << "not a message of the table";
    EXPECT_EQ(SendPrivateMessage(nullptr, WM_THUMB_CLICK, 0, 0), 0);
}

TEST_F(ControlsTest, SpinReleaseIsSentOnceAndTheBuddyDoesNotCommitAgain) {
    auto* buddy = new CNumEdit(page, 1600);
    auto* spin = new CNumSpinCtrl(page, 1601);
    spin->SetRange(-100, 100);
    spin->SetBuddy(buddy);
    bool held = true;
    spin->SetButtonStateSource([&held] { return held; });
    focus(buddy, true);
    for (int step : {1, 2, -3}) {
        spin->SetValue(step);
        wxSpinEvent e(wxEVT_SPIN_UP, spin->GetId());
        e.SetPosition(step);
        e.SetEventObject(spin);
        spin->GetEventHandler()->ProcessEvent(e);
    }
    pump(100);
    EXPECT_TRUE(page->take().empty()) << "still held";
    EXPECT_EQ(buddy->GetValue(), "-3");
    held = false;
    pump(150);
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_SPIN_RELEASED, 1601, -3}}));
    pump(100);
    focus(buddy, false);
    EXPECT_TRUE(page->take().empty()) << "no second commit from the buddy";
}

TEST_F(ControlsTest, SliderAndComboReports) {
    auto* slider = new CNotifySliderCtrl(page, 1301, 5, 0, 10);
    mouse(slider, wxEVT_LEFT_DOWN);
    wxScrollEvent release(wxEVT_SCROLL_THUMBRELEASE, slider->GetId());
    release.SetEventObject(slider);
    slider->GetEventHandler()->ProcessEvent(release);
    mouse(slider, wxEVT_LEFT_UP);
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_SLIDER_PRESSED, 1301, 0}, {WM_SLIDER_RELEASED, 1301, 0}}));

    wxArrayString sizes;
    sizes.Add("12");
    sizes.Add("24");
    auto* combo = new CNotifyComboBox(page, 1453, "12", wxDefaultPosition, wxDefaultSize, sizes);
    combo->SetValue("36");
    enter(combo);
    EXPECT_EQ(combo->m_strText, "36");
    focus(combo, false);
    focus(combo, false);
    EXPECT_EQ(page->take(), (std::vector<Sent>{{WM_COMBO_COMMIT, 1453, 1},
                                               {WM_COMBO_COMMIT, 1453, 0},
                                               {WM_COMBO_COMMIT, 1453, 0}}));
}

namespace {
// The button's two timers on a clock the test moves.
class FakeTimers : public CRepeatLogic::Timers {
public:
    void Start(int id, int ms) override { due[id] = {now + ms, ms}; }
    void Stop(int id) override { due.erase(id); }
    void runTo(int t, CRepeatButton* button) {
        for (; now <= t; ++now) {
            std::vector<int> firing;
            for (auto& d : due)
                if (d.second.first == now) firing.push_back(d.first);
            for (int id : firing) {
                if (due.count(id)) due[id].first = now + due[id].second;
                button->OnRepeatTimer(id);
            }
        }
        now = t;
    }
    int now = 0;
    std::map<int, std::pair<int, int>> due;
};
}  // namespace

TEST_F(ControlsTest, HeldRepeatButtonClicksOnceThenEveryFiftyMilliseconds) {
    auto* button = new CRepeatButton(page, 1023);
    FakeTimers clock;
    button->SetTimers(&clock);
    button->m_pTarget = page;
    button->m_nCode = REPEAT_CODE_STEP_UP;
    mouse(button, wxEVT_LEFT_DOWN);
    EXPECT_EQ(page->take().size(), 1u);
    clock.runTo(499, button);
    EXPECT_TRUE(page->take().empty());
    clock.runTo(1000, button);
    const std::vector<Sent> repeated = page->take();
    EXPECT_EQ(repeated.size(), 10u);
    for (const Sent& s : repeated) EXPECT_EQ(s, (Sent{WM_REPEAT_CLICK, 1023, 0}));
    mouse(button, wxEVT_LEFT_UP);
    clock.runTo(2000, button);
    EXPECT_TRUE(page->take().empty());
    // A double-click gives two clicks and no repetition.
    mouse(button, wxEVT_LEFT_DOWN);
    mouse(button, wxEVT_LEFT_UP);
    mouse(button, wxEVT_LEFT_DCLICK);
    mouse(button, wxEVT_LEFT_UP);
    clock.runTo(3000, button);
    EXPECT_EQ(page->take().size(), 2u);
}

TEST_F(ControlsTest, ImageButtonFacesAndClick) {
    auto* button = new CImageButton(page, 1380);
    wxImage picture(30, 20);
    const wxColour mask(0x00, 0x80, 0x80);  // the pictures' mask colour
    picture.SetRGB(wxRect(0, 0, 30, 20), mask.Red(), mask.Green(), mask.Blue());
    picture.SetRGB(wxRect(10, 5, 10, 10), 200, 0, 0);
    EXPECT_FALSE(button->SetImage(picture, 31, 20, mask));
    ASSERT_TRUE(button->SetImage(picture, 30, 20, mask));
    const wxImage face = CImageButton::MapMaskColour(picture, mask, *wxWHITE);
    EXPECT_EQ(face.GetRed(0, 0), 255);
    EXPECT_EQ(face.GetBlue(0, 0), 255);
    EXPECT_EQ(face.GetRed(15, 10), 200);
    EXPECT_TRUE(button->GetFaceBitmap().IsOk());
    EXPECT_TRUE(button->GetDisabledBitmap().IsOk());
    int clicks = 0;
    page->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent& e) { clicks += e.GetId() == 1380; });
    button->SetSize(40, 30);
    mouse(button, wxEVT_LEFT_DOWN);
    mouse(button, wxEVT_LEFT_UP);
    EXPECT_EQ(clicks, 1);
    button->Refresh();
    pump(50);
}

namespace {
// An image button whose face can be read back.
class FaceButton : public CImageButton {
public:
    FaceButton(wxWindow* parent, const wxString& caption, const wxImage& picture) : CImageButton(parent, 1037, caption) {
        SetImage(picture, picture.GetWidth(), picture.GetHeight(), wxColour(0x00, 0x80, 0x80));
    }
    wxImage Face() {
        return PaintedBitmap(GetClientSize(), [this](wxDC& dc) { PaintFace(dc); }).ConvertToImage();
    }
};

bool samePixels(const wxImage& a, const wxImage& b) {
    return a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
}
}  // namespace

TEST_F(ControlsTest, ImageButtonCaptionsShowWholeOrNotAtAll) {
    wxImage picture(14, 15);
    picture.SetRGB(wxRect(0, 0, 14, 15), 0x00, 0x80, 0x80);
    picture.SetRGB(wxRect(3, 3, 8, 9), 0, 0, 0);
    auto* stop = new FaceButton(page, "ST", picture);
    auto* plain = new FaceButton(page, "", picture);
    // At its best size the caption shows beside the picture.
    const wxSize best = stop->GetBestSize();
    EXPECT_GT(best.x, plain->GetBestSize().x + stop->GetTextExtent("ST").x);
    stop->SetSize(best);
    plain->SetSize(best);
    EXPECT_FALSE(samePixels(stop->Face(), plain->Face()));
    // Too narrow for it, the caption is left out and the picture centred,
    // as on a button without one: never a cut letter.
    for (const int width : {best.x - 3, 22}) {
        stop->SetSize(width, best.y);
        plain->SetSize(width, best.y);
        EXPECT_TRUE(samePixels(stop->Face(), plain->Face())) << width;
    }
}

TEST_F(ControlsTest, ObjectListAndTips) {
    auto* list = new CObjectListBox(page, 1200);
    for (const char* name : {"a", "b", "c", "d"}) list->Append(name);
    list->ApplyClick(2, true, false);
    EXPECT_EQ(list->m_nAnchor, 2) << "Shift before any anchor anchors on the clicked item";
    list->ApplyClick(0, true, false);
    wxArrayInt selected;
    list->GetSelections(selected);
    EXPECT_EQ(std::vector<int>(selected.begin(), selected.end()), (std::vector<int>{0, 1, 2}));
    list->ApplyClick(3, false, false);
    list->GetSelections(selected);
    EXPECT_EQ(std::vector<int>(selected.begin(), selected.end()), (std::vector<int>{3}));

    auto* edit = new CNumEdit(page, 1);
    AddControlTip(edit, "Font size");
    ASSERT_NE(edit->GetToolTip(), nullptr);
    EXPECT_EQ(edit->GetToolTip()->GetTip(), "Font size");
    AddRectTip(page, "Start", wxRect(0, 0, 10, 10), 1);
    AddRectTip(page, "End", wxRect(20, 0, 10, 10), 2);
    EXPECT_EQ(RectTipAt(page, wxPoint(5, 5)), "Start");
    EXPECT_EQ(RectTipAt(page, wxPoint(25, 5)), "End");
    EXPECT_EQ(RectTipAt(page, wxPoint(15, 5)), "");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    return runWxTests(argc, argv, [] { wxTheApp->OnInit(); });
}
