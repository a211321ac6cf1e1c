// The Edit Box, the Transformation, Obect List and View Width bars and the two
// scene dialogs as real wx windows under a private X server, working on a
// headless view (OSMesa) with a recording host. Run through
// tests/e2e/run_in_xvfb.py.
#include "tests/app/ViewFixture.h"
#include "tests/support/SavedText.h"
#include "tests/support/WxTestRun.h"
#include "scene/pnCounter.h"
#include "scene/pnLight.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnViewpoint.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/controls/CNotifySliderCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CObjectListBox.h"
#include "ui/properties/bars/CObjectListDlg.h"
#include "ui/properties/pages/CLightPage.h"
#include "ui/properties/pages/CObjectPageDlg.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/dialogs/CSceneDialogs.h"
#include "ui/properties/bars/CTransformDlg.h"
#include "ui/properties/bars/CViewWidthDlg.h"

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/uiaction.h>

#include <chrono>

namespace {

void pump(int milliseconds) { pumpWxEvents(milliseconds); }

std::vector<int> lockLog;

// A page that writes down its locks by its role.
class RecordingPage : public CObjectPageDlg {
public:
    RecordingPage(wxWindow* parent, int role) : CObjectPageDlg(parent, 2000 + role), m_nRole(role) {
        edit = new CNumEdit(this, 1001, "5");
    }
    void Lock(bool locked) override {
        CObjectPageDlg::Lock(locked);
        lockLog.push_back(m_nRole);
    }
    CNumEdit* edit;
    int m_nRole;
};

class BarsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        frame = new wxFrame(nullptr, wxID_ANY, "bars", wxDefaultPosition, wxSize(700, 600));
        frame->Show();
        pump(30);
    }
    void TearDown() override {
        frame->Destroy();
        pump(30);
        ViewTest::TearDown();
    }
    pnPanel* addPanel(const char* name, float x) {
        auto* panel = new pnPanel;
        panel->setName(name);
        panel->setDimension(40, 40, 4);
        panel->setPositionX(x);
        EXPECT_TRUE(scene().addObject(panel));
        return panel;
    }
    static void commit(CNumEdit* edit, const char* text) {
        edit->ChangeValue(text);
        wxCommandEvent e(wxEVT_TEXT_ENTER, edit->GetId());
        e.SetEventObject(edit);
        edit->GetEventHandler()->ProcessEvent(e);
    }
    wxFrame* frame = nullptr;
};

TEST_F(BarsTest, EditBoxTabsPagesAndLocks) {
    auto* bar = new CEditBoxBar(frame, 105);
    frame->SendSizeEvent();
    pump(30);
    ASSERT_EQ(bar->GetPageCount(), 10);
    EXPECT_EQ(bar->GetTabControl()->GetPageCount(), 3u);
    EXPECT_EQ(bar->GetTabControl()->GetPageText(0), "Object");
    EXPECT_EQ(bar->GetTabControl()->GetPageText(2), "Camera");
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_TEXT)) << "at start Object shows the text slot";
    EXPECT_TRUE(bar->GetPage(PAGE_TEXT)->IsEnabled());
    EXPECT_FALSE(bar->GetPage(PAGE_PANEL)->IsEnabled());

    bar->SelectTab(0, 7);
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_EMPTY));
    EXPECT_FALSE(bar->GetPage(PAGE_TEXT)->IsEnabled());
    bar->SelectTab(1, 2);
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_LIGHT));
    EXPECT_EQ(bar->GetObjectPageKind(), 7);
    bar->GetTabControl()->SetSelection(0);  // the user clicks "Object"
    pump(20);
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_EMPTY)) << "the stored kind shows again";
    bar->SelectTab(5, 2);
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_EMPTY)) << "tab 5 of three changes nothing";
    EXPECT_EQ(bar->GetObjectPageKind(), 7);
    bar->SelectTab(2, 0);
    bar->SelectTab(0, 2);
    EXPECT_EQ(bar->GetCurrentTab(), 0) << "a kind for the Object tab switches back to it";
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_MODEL));

    // Later pages replace the empty ones, keeping the shown role shown.
    std::vector<RecordingPage*> pages;
    for (int role = 0; role < kEditBoxPageCount; ++role) {
        pages.push_back(new RecordingPage(bar->PageParent(role), role));
        bar->SetRolePage(role, pages.back());
    }
    EXPECT_EQ(bar->GetShownPage(), pages[PAGE_MODEL]);
    EXPECT_TRUE(pages[PAGE_MODEL]->IsEnabled());
    EXPECT_EQ(bar->GetTabName(PAGE_CAMERA), "Camera");
    EXPECT_EQ(bar->GetTabControl()->GetPageText(1), "Light");
    lockLog.clear();
    bar->LockPages(true);
    EXPECT_EQ(lockLog, (std::vector<int>{2, 1, 0, 9, 8, 7, 6, 5, 4}));
    EXPECT_TRUE(pages[PAGE_PIE]->IsLocked());

    // Enter and Escape in a page leave it open and shown.
    wxUIActionSimulator keys;
    pages[PAGE_MODEL]->edit->SetFocus();
    pump(30);
    keys.Char(WXK_RETURN);
    keys.Char(WXK_ESCAPE);
    pump(50);
    EXPECT_TRUE(pages[PAGE_MODEL]->IsShownOnScreen());
    EXPECT_EQ(bar->GetShownPage(), pages[PAGE_MODEL]);
}

TEST_F(BarsTest, ACounterShowsTheEmptyPage) {
    RecordingFrame relays;
    host.frame = &relays;
    pnCounter counter;
    counter.setName("count");
    pnPanel panel;
    panel.setName("plate");
    view->ShowPageForObject(&panel, 1);
    view->ShowPageForObject(&counter, -1);
    EXPECT_EQ(relays.callsOf("ShowObjectPage"), (std::vector<std::string>{"1,1", "7,-1"}));
    host.frame = nullptr;
}

TEST_F(BarsTest, TransformEditsApplyInOneStep) {
    create();
    pnPanel* a = addPanel("a", 0);
    pnPanel* b = addPanel("b", 5);
    pnPanel* c = addPanel("c", 10);
    auto* bar = new CTransformBar(frame, 108);
    CTransformDlg* dlg = bar->GetDialog();
    EXPECT_EQ(dlg->GetEdit(TF_SCALE_Y)->GetValue(), "1.00");
    EXPECT_EQ(dlg->GetEdit(TF_AXIS_Y)->GetValue(), "1.000");
    EXPECT_EQ(dlg->GetEdit(TF_AXIS_Z)->GetValue(), "0.000");

    doc->m_pSelectedObject = a;
    commit(dlg->GetEdit(TF_POS_X), "12.7");
    EXPECT_FLOAT_EQ(a->getPosition()[0], 12.0f);
    EXPECT_EQ(dlg->GetEdit(TF_POS_X)->GetValue(), "12.00");
    commit(dlg->GetEdit(TF_SCALE_X), "0.57");
    EXPECT_FLOAT_EQ(a->getScale()[0], 0.57f);
    commit(dlg->GetEdit(TF_AXIS_X), "0.7071");
    EXPECT_FLOAT_EQ(a->getRotAxis()[0], 0.707f);
    // Zeroing the only non-zero component is refused: the edit shows what stands.
    a->setRotAxis(sgVec3(0, 1, 0));
    commit(dlg->GetEdit(TF_AXIS_Y), "0");
    EXPECT_FLOAT_EQ(a->getRotAxis()[1], 1.0f);
    EXPECT_EQ(dlg->GetEdit(TF_AXIS_Y)->GetValue(), "1.000");
    // A spin let go applies its buddy's field.
    dlg->GetEdit(TF_POS_Y)->ChangeValue("8");
    SendPrivateMessage(dlg, WM_SPIN_RELEASED, 1026, 8);
    EXPECT_FLOAT_EQ(a->getPosition()[1], 8.0f);

    a->setPositionX(0);
    doc->m_pSelectedObject = b;
    doc->m_selectedObjects = {a, b, c};
    const int steps = doc->GetUndoHistory().GetCount();
    commit(dlg->GetEdit(TF_POS_X), "7");
    EXPECT_FLOAT_EQ(a->getPosition()[0], 2.0f);
    EXPECT_FLOAT_EQ(b->getPosition()[0], 7.0f);
    EXPECT_FLOAT_EQ(c->getPosition()[0], 12.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    // The same text again (focus leaving) changes nothing and records nothing.
    commit(dlg->GetEdit(TF_POS_X), "7");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);

    view->m_bAnimationMode = 1;
    auto* locked = new CTransformBar(frame, 109);
    EXPECT_FALSE(locked->GetDialog()->GetEdit(TF_POS_X)->IsEnabled()) << "disabled in animation mode";
    EXPECT_FALSE(locked->GetDialog()->IsEnabledFlag());
    view->m_bAnimationMode = 0;
}

TEST_F(BarsTest, ObjectListSelectsInTheView) {
    create();
    view->m_bHighlightSelected = 1;
    pnPanel* a = addPanel("Text", 0);
    pnPanel* b = addPanel("Text001", 5);
    addPanel("Zed", 5);
    auto* bar = new CObjectListBar(frame, 319);
    CObjectListDlg* dlg = bar->GetDialog();
    EXPECT_EQ(bar->GetBarSize(), dlg->GetSize() + wxSize(30, 18));
    for (const char* name : {"Zed", "Text001", "Text"}) EXPECT_TRUE(dlg->AddObject(name));
    EXPECT_EQ(dlg->Entries(), (std::vector<std::string>{"Text", "Text001", "Zed"}));
    CObjectListBox* list = dlg->GetList();

    list->SetSelection(0);
    dlg->OnSelChange();
    EXPECT_EQ(doc->m_pSelectedObject, a);
    list->SetSelection(1);
    dlg->OnSelChange();
    EXPECT_EQ(doc->m_selectedObjects, (std::vector<pnObject*>{a, b}));
    EXPECT_TRUE(a->getHighlight() && b->getHighlight());
    list->Deselect(0);
    dlg->OnSelChange();
    EXPECT_EQ(doc->m_pSelectedObject, b) << "the other one stays selected alone";
    EXPECT_TRUE(doc->m_selectedObjects.empty());
    list->ApplyClick(0, false, false);
    list->ApplyClick(2, true, false);
    dlg->OnSelChange();
    EXPECT_EQ(doc->m_selectedObjects.size(), 3u) << "Shift selects the range";

    EXPECT_TRUE(dlg->SelectIndex(-1, false));
    EXPECT_TRUE(dlg->SelectObject("Zed", true));
    EXPECT_EQ(dlg->GetLastIndex(), 2);
    EXPECT_FALSE(dlg->SelectObject("zed", true));
    EXPECT_TRUE(dlg->RemoveObject("Text"));
    EXPECT_FALSE(dlg->RemoveObject("Text")) << "Text001 is not Text";
    EXPECT_EQ(dlg->Entries(), (std::vector<std::string>{"Text001", "Zed"}));
    EXPECT_FALSE(dlg->RenameObject("Missing", "New"));
    EXPECT_TRUE(dlg->RenameObject("Zed", "Able"));
    EXPECT_EQ(dlg->Entries(), (std::vector<std::string>{"Able", "Text001"}));
}

TEST_F(BarsTest, ViewWidthWaitsForTheRelease) {
    create();
    pnViewpoint* viewpoint = scene().getViewpoint();
    ASSERT_NE(viewpoint, nullptr);
    ASSERT_EQ(viewpoint->perspective, 1);
    auto* bar = new CViewWidthBar(frame, 298);
    CViewWidthDlg* dlg = bar->GetDialog();
    CNotifySliderCtrl* slider = dlg->GetSlider();
    const float before = viewpoint->width;

    auto move = [&](int position) {
        slider->SetValue(position);
        wxCommandEvent e(wxEVT_SLIDER, slider->GetId());
        e.SetInt(position);
        e.SetEventObject(slider);
        slider->GetEventHandler()->ProcessEvent(e);
    };
    slider->Pressed();
    move(300);
    EXPECT_EQ(dlg->GetEdit()->GetValue(), "300");
    EXPECT_FLOAT_EQ(viewpoint->width, before) << "a drag only shows the width";
    slider->Released();
    EXPECT_FLOAT_EQ(viewpoint->width, 300.0f) << "applied at the release, also in perspective";
    move(450);  // the keys: no press, applied at once
    EXPECT_FLOAT_EQ(viewpoint->width, 450.0f);

    commit(dlg->GetEdit(), "3000");
    EXPECT_FLOAT_EQ(viewpoint->width, 3000.0f);
    EXPECT_EQ(slider->GetValue(), 2000);
    commit(dlg->GetEdit(), "0");
    EXPECT_FLOAT_EQ(viewpoint->width, 3000.0f) << "a width of 0 is refused";
    EXPECT_EQ(dlg->GetEdit()->GetValue(), "3000");
    dlg->SetWidth(640);
    EXPECT_FLOAT_EQ(viewpoint->width, 640.0f);
    EXPECT_EQ(slider->GetValue(), 640);
}

// "inf", "nan" and numbers no float holds typed on the light page went into
// the light, and the file kept them as words or as the float range. A spot
// direction takes them as no number, as "abc"; the exponent and the cutoff
// hold them at their range, as any number beyond it; the saved file holds
// numbers only, and they read back.
TEST_F(BarsTest, TheLightPageSavesNumbersOnly) {
    create();
    auto* bar = new CEditBoxBar(frame, 105);
    auto* page = new CLightPage(bar->PageParent(PAGE_LIGHT), 112);
    bar->SetRolePage(PAGE_LIGHT, page);
    bar->SelectTab(1, 0);
    frame->SendSizeEvent();
    pump(30);
    const int current = page->Logic().Current();
    ASSERT_GE(current, 0);
    pnLight* light = scene().getLight(current);
    ASSERT_NE(light, nullptr);
    auto choose = [&](int id) {
        wxWindow* radio = page->FindWindow(id);
        static_cast<wxRadioButton*>(radio)->SetValue(true);
        wxCommandEvent e(wxEVT_RADIOBUTTON, id);
        e.SetEventObject(radio);
        radio->GetEventHandler()->ProcessEvent(e);
    };
    choose(CLightPage::IDC_POSITIONAL);
    choose(CLightPage::IDC_SPOT_ON);
    auto edit = [&](int id) { return static_cast<CNumEdit*>(page->FindWindow(id)); };
    ASSERT_TRUE(edit(CLightPage::IDC_DIRECTION_X)->IsEnabled());

    commit(edit(CLightPage::IDC_DIRECTION_X), "0.5");
    commit(edit(CLightPage::IDC_DIRECTION_X), "abc");
    const float none = light->getSpotDirection()[0];
    commit(edit(CLightPage::IDC_EXPONENT), "500");
    commit(edit(CLightPage::IDC_CUTOFF), "500");
    const float topExponent = light->getSpotCone()[0], topCutoff = light->getSpotCone()[1];
    EXPECT_FLOAT_EQ(topExponent, 128.0f);
    EXPECT_FLOAT_EQ(topCutoff, 90.0f);
    for (const char* typed : {"inf", "-nan", "1e39", "-1e39", "1e400"}) {
        commit(edit(CLightPage::IDC_DIRECTION_X), "0.5");
        commit(edit(CLightPage::IDC_DIRECTION_X), typed);
        EXPECT_EQ(light->getSpotDirection()[0], none) << typed;
    }
    for (const char* typed : {"1e39", "1e400"}) {
        commit(edit(CLightPage::IDC_EXPONENT), "10");
        commit(edit(CLightPage::IDC_EXPONENT), typed);
        EXPECT_EQ(light->getSpotCone()[0], topExponent) << typed;
        commit(edit(CLightPage::IDC_CUTOFF), "10");
        commit(edit(CLightPage::IDC_CUTOFF), typed);
        EXPECT_EQ(light->getSpotCone()[1], topCutoff) << typed;
    }
    commit(edit(CLightPage::IDC_DIRECTION_Y), "1e39");
    commit(edit(CLightPage::IDC_DIRECTION_Z), "nan");
    const sgVec3 direction = light->getSpotDirection();

    const std::string path = folder() + "/lights.apn";
    ASSERT_EQ(view->SaveSceneTo(path), 1);
    EXPECT_EQ(wordsForNumbers(readText(path)), std::vector<std::string>{});
    pnScene reread;
    ASSERT_EQ(pnSceneLoader().readFile(reread, path), 1);
    const pnLight* back = reread.findLight(light->getName().c_str());
    ASSERT_NE(back, nullptr);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(back->getSpotDirection()[k], direction[k]) << k;
    EXPECT_EQ(back->getSpotCone()[1], light->getSpotCone()[1]);
}

TEST_F(BarsTest, SafetyZoneAndSceneTransformDialogs) {
    CSafetyZoneDlg zone(frame);
    EXPECT_EQ(zone.GetTitle(), "Safety Zone");
    zone.SetHorizontal(5);
    zone.SetVertical(7.5f);
    zone.InitDialog();
    EXPECT_FALSE(zone.GetHorizontalEdit()->IsEnabled());
    EXPECT_FALSE(zone.GetVerticalEdit()->IsEnabled());
    EXPECT_EQ(zone.GetHorizontalEdit()->GetValue(), "5.00");
    zone.GetOnCheck()->SetValue(true);
    zone.OnOnClicked();
    EXPECT_TRUE(zone.GetHorizontalEdit()->IsEnabled() && zone.GetVerticalEdit()->IsEnabled());
    zone.GetHorizontalEdit()->ChangeValue("12abc");
    zone.TransferDataFromWindow();
    EXPECT_EQ(zone.m_bOn, 1);
    EXPECT_FLOAT_EQ(zone.GetHorizontal(), 12.0f);
    EXPECT_FLOAT_EQ(zone.GetVertical(), 7.5f);

    CSceneTransformDlg transform(frame);
    transform.SetPosition(1, 2, 3);
    transform.SetAngle(30);
    transform.SetAxis(1, 0, 0);
    transform.InitDialog();
    EXPECT_EQ(transform.GetEdit(0)->GetValue(), "1.00");
    EXPECT_EQ(transform.GetEdit(6)->GetValue(), "30.000");
    transform.GetEdit(0)->ChangeValue("9");
    wxCommandEvent reset(wxEVT_BUTTON, CSceneTransformDlg::kResetId);
    transform.FindWindow(CSceneTransformDlg::kResetId)->GetEventHandler()->ProcessEvent(reset);
    const char* expected[10] = {"0.00", "0.00", "0.00", "1.00", "1.00", "1.00", "0.000", "0.000", "1.000", "0.000"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(transform.GetEdit(i)->GetValue(), expected[i]) << i;
    transform.GetEdit(1)->ChangeValue("-4.5z");
    transform.TransferDataFromWindow();
    EXPECT_FLOAT_EQ(transform.GetPosition()[1], -4.5f);
    EXPECT_FLOAT_EQ(transform.GetAxis()[1], 1.0f);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    return runWxTests(argc, argv, [] { wxTheApp->OnInit(); });
}
