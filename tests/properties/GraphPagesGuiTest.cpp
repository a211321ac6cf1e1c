// The chart pages in a real Edit Box on a headless view, driven with typed
// keys and clicks, and Add Graph through the wizard's real dialogs.
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "charts/pnPieChart.h"
#include "editor/EditLimits.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/WxTestRun.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CCutShapeDlg.h"
#include "ui/properties/dialogs/CGraphCreator.h"
#include "ui/properties/dialogs/CGraphInputDlg.h"
#include "ui/properties/dialogs/CGraphNameDlg.h"
#include "ui/properties/pages/CGraphPages.h"
#include "ui/properties/dialogs/CLimitHeightDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CThumbnailListCtrl.h"
#include "ui/properties/rules/GraphPageRules.h"
#include "ui/properties/pages/PageHooks.h"

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/spinbutt.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>

namespace {

class GraphPagesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &relays;
        // The chart shapes come from the program folder.
        app.InitFolders(KELVANO_SOURCE_DIR "/data");
        create();
        frame = new wxFrame(nullptr, wxID_ANY, "pages", wxDefaultPosition, wxSize(400, 700));
        bar = new CEditBoxBar(frame, 105);
        creator = InstallGraphPages(*bar, view.get());
        frame->Show();
        pumpWxEvents(50);
    }
    void TearDown() override {
        PageHooks::LabelDialog() = nullptr;
        frame->Destroy();
        pumpWxEvents(30);
        ViewTest::TearDown();
    }
    CGraphPage* page(int listIndex) { return static_cast<CGraphPage*>(bar->GetPage(listIndex)); }
    // A chart of the page's kind made by the page and shown on it.
    pnChart* make(int listIndex, std::vector<float> values) {
        std::vector<GraphRow> rows;
        for (float v : values) rows.push_back({"", "", v});
        bar->SelectTab(0, 10 - listIndex);
        pumpWxEvents(20);
        return static_cast<pnChart*>(page(listIndex)->CreateGraph("G", static_cast<int>(rows.size()), rows));
    }
    // Types text into a page edit and presses Enter.
    void type(CGraphPage* p, int id, const std::string& text) {
        auto* edit = static_cast<CNumEdit*>(p->FindWindow(id));
        edit->SetFocus();
        edit->SelectAll();
        pumpWxEvents(30);
        keys.Text(text.c_str());
        keys.Char(WXK_RETURN);
        pumpWxEvents(60);
    }
    void click(CGraphPage* p, int id) {
        wxWindow* w = p->FindWindow(id);
        keys.MouseMove(w->GetScreenRect().GetPosition() + wxPoint(5, 5));
        pumpWxEvents(30);
        keys.MouseClick();
        pumpWxEvents(60);
    }
    std::string text(CGraphPage* p, int id) {
        return static_cast<wxTextCtrl*>(p->FindWindow(id))->GetValue().ToStdString();
    }
    int steps() const { return doc->GetUndoHistory().GetCount(); }

    RecordingFrame relays;
    wxFrame* frame = nullptr;
    CEditBoxBar* bar = nullptr;
    std::unique_ptr<CObjectCreator> creator;
    wxUIActionSimulator keys;
};

// Acts on each modal dialog as it comes up, one action per dialog.
class ModalScript : public wxTimer {
public:
    explicit ModalScript(std::deque<std::function<void(wxDialog*)>> actions) : m_actions(std::move(actions)) {
        Start(20);
    }
    void Notify() override {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* dlg = dynamic_cast<wxDialog*>(w);
            if (!dlg || !dlg->IsModal() || m_actions.empty()) continue;
            auto action = std::move(m_actions.front());
            m_actions.pop_front();
            action(dlg);
            return;
        }
    }
    std::deque<std::function<void(wxDialog*)>> m_actions;
};

void press(wxDialog* dlg, int id) {
    wxCommandEvent e(wxEVT_BUTTON, id);
    e.SetEventObject(dlg->FindWindow(id));
    dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
}

}  // namespace

// The bar page: loads its chart, applies typed fields as single steps, keeps
// the same name without a step, ignores a selection of another kind, and
// keeps Label/Value disabled until their dialog exists.
TEST_F(GraphPagesTest, BarPageEditsItsChart) {
    pnChart* chart = make(PAGE_BAR, {10, 20, 30});
    ASSERT_NE(chart, nullptr);
    CGraphPage* p = page(PAGE_BAR);
    EXPECT_EQ(bar->GetShownPage(), p);
    EXPECT_EQ(text(p, CGraphPage::IDC_NAME), "G");
    EXPECT_EQ(p->FindWindow(CGraphPage::IDC_CREATING)->GetLabel().ToStdString(), "Bar Graph");
    EXPECT_EQ(text(p, CGraphPage::IDC_WIDTH), "2.500");
    EXPECT_EQ(p->GetCutPicture(), "ChartSlices/circle.bmp");
    EXPECT_FALSE(p->FindWindow(CGraphPage::IDC_VALUE)->IsEnabled());

    const struct {
        int id;
        const char* typed;
        const char* shown;
        std::function<float()> value;
    } fields[] = {
        {CGraphPage::IDC_WIDTH, "3.5", "3.500", [&] { return chart->getBaseScale()[0]; }},
        {CGraphPage::IDC_DEPTH, "3.25", "3.250", [&] { return chart->getBaseScale()[2]; }},
    };
    for (const auto& f : fields) {
        const int before = steps();
        type(p, f.id, f.typed);
        EXPECT_EQ(text(p, f.id), f.shown) << f.typed;
        EXPECT_FLOAT_EQ(f.value(), std::stof(f.typed)) << f.typed;
        EXPECT_EQ(steps(), before + 1) << f.typed;
    }

    int before = steps();
    type(p, CGraphPage::IDC_NAME, "G");
    EXPECT_EQ(steps(), before) << "the same name records nothing";
    type(p, CGraphPage::IDC_NAME, "Sales");
    EXPECT_EQ(chart->getName(), "Sales");
    EXPECT_NE(scene().findEvent("Sales"), nullptr);
    EXPECT_EQ(steps(), before + 1);

    before = steps();
    click(p, CGraphPage::IDC_ADD);
    EXPECT_EQ(chart->getNumDataPts(), 4);
    EXPECT_EQ(steps(), before + 1);

    // Another kind selected: the page's handlers leave everything alone.
    pnPanel* plate = new pnPanel;
    plate->setName("plate");
    ASSERT_TRUE(scene().addObject(plate));
    doc->m_pSelectedObject = plate;
    before = steps();
    type(p, CGraphPage::IDC_WIDTH, "9");
    click(p, CGraphPage::IDC_ADD);
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(chart->getNumDataPts(), 4);
    EXPECT_FLOAT_EQ(chart->getBaseScale()[0], 3.5f);

    // Label and Value open the label dialog once it is installed.
    doc->m_pSelectedObject = chart;
    std::vector<int> opened;
    PageHooks::LabelDialog() = [&](wxWindow*, int kind) { opened.push_back(kind); };
    p->Lock(false);
    click(p, CGraphPage::IDC_LABEL);
    click(p, CGraphPage::IDC_VALUE);
    EXPECT_EQ(opened, (std::vector<int>{1, 0}));
    bar->LockPages(true);
    EXPECT_FALSE(p->FindWindow(CGraphPage::IDC_WIDTH)->IsEnabled());
    EXPECT_TRUE(p->FindWindow(CGraphPage::IDC_CREATING)->IsEnabled());
}

// The pie page: a typed ring follows the rules and moves the spins; Add
// Slice at a full pie does nothing; Side Faces is a step of its own.
TEST_F(GraphPagesTest, PiePageRingsAndSlices) {
    pnChart* pie = make(PAGE_PIE, {60, 30, 30});
    ASSERT_NE(pie, nullptr);
    CGraphPage* p = page(PAGE_PIE);
    EXPECT_DOUBLE_EQ(pie->getDataPtGrowValue(2), 10.0);
    type(p, CGraphPage::IDC_INNER, "20");
    type(p, CGraphPage::IDC_OUTER, "15");
    EXPECT_EQ(text(p, CGraphPage::IDC_INNER), "5.00");
    EXPECT_EQ(text(p, CGraphPage::IDC_OUTER), "15.00");
    auto* innerSpin = static_cast<wxSpinButton*>(p->FindWindow(CGraphPage::IDC_INNER_SPIN));
    EXPECT_EQ(innerSpin->GetMax(), 5);
    EXPECT_EQ(innerSpin->GetValue(), 5);

    int before = steps();
    click(p, CGraphPage::IDC_ADD);
    EXPECT_EQ(pie->getNumDataPts(), 3);
    EXPECT_EQ(steps(), before);
    auto* side = static_cast<wxCheckBox*>(p->FindWindow(CGraphPage::IDC_SIDE_FACES));
    const int shown = pie->getShowSide();
    view->SetModified(false);
    click(p, CGraphPage::IDC_SIDE_FACES);
    EXPECT_EQ(side->GetValue(), !shown);
    EXPECT_EQ(pie->getShowSide(), shown ? 0 : 1);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(view->m_bModified, 1) << "a close asks to save the change";
    // Undo takes back the check alone, Redo gives it again.
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(static_cast<pnChart*>(scene().findObject("G"))->getShowSide(), shown);
    EXPECT_EQ(static_cast<pnChart*>(scene().findObject("G"))->getOuterRad(), 15.0f);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(static_cast<pnChart*>(scene().findObject("G"))->getShowSide(), shown ? 0 : 1);
}

// Every chart page shows a name of common length whole, not only its end.
TEST_F(GraphPagesTest, NameFieldShowsACommonNameWhole) {
    for (int kind : {PAGE_BAR, PAGE_PIE, PAGE_LINE, PAGE_AREA}) {
        SCOPED_TRACE(kind);
        pnChart* chart = make(kind, {40, 25, 20, 15});
        ASSERT_NE(chart, nullptr);
        ASSERT_EQ(view->RenameObject(chart, "Market Share"), 1);
        page(kind)->LoadFromObject(chart, 0);
        pumpWxEvents(60);
        auto* name = static_cast<wxTextCtrl*>(page(kind)->FindWindow(CGraphPage::IDC_NAME));
        EXPECT_EQ(name->GetValue(), "Market Share");
        EXPECT_GE(name->GetSize().x, name->GetSizeFromTextSize(name->GetTextExtent("Market Share").x).x);
        // The next page's chart takes the name again.
        ASSERT_EQ(view->RenameObject(chart, "chart" + std::to_string(kind)), 1);
    }
}

// Add Graph runs the three steps (with Back from each) and the line page
// builds the chart as the selection, placed like any new object.
TEST_F(GraphPagesTest, AddGraphThroughTheWizard) {
    std::string nameAfterBack;
    int countAfterBack = 0;
    ModalScript script({
        [](wxDialog* d) { press(d, wxID_OK); },  // bar
        [](wxDialog* d) { press(d, wxID_CANCEL); },  // Back to the type step
        [](wxDialog* d) {
            wxCommandEvent line(wxEVT_RADIOBUTTON, 1354);
            d->FindWindow(1354)->GetEventHandler()->ProcessEvent(line);
            press(d, wxID_OK);
        },
        [](wxDialog* d) {
            static_cast<wxTextCtrl*>(d->FindWindow(CGraphNameDlg::IDC_NAME))->SetValue("Trend");
            static_cast<wxSpinCtrl*>(d->FindWindow(CGraphNameDlg::IDC_COUNT))->SetValue(7);
            press(d, wxID_OK);
        },
        [](wxDialog* d) { press(d, CGraphInputDlg::IDC_BACK); },
        [&](wxDialog* d) {
            nameAfterBack = static_cast<wxTextCtrl*>(d->FindWindow(CGraphNameDlg::IDC_NAME))->GetValue().ToStdString();
            countAfterBack = static_cast<wxSpinCtrl*>(d->FindWindow(CGraphNameDlg::IDC_COUNT))->GetValue();
            static_cast<wxTextCtrl*>(d->FindWindow(CGraphNameDlg::IDC_NAME))->SetValue("Trend");
            press(d, wxID_OK);
        },
        [](wxDialog* d) {
            auto* value = static_cast<CNumEdit*>(d->FindWindow(CGraphInputDlg::kValueIds[1]));
            value->ChangeValue("42");
            SendPrivateMessage(d, WM_NUMEDIT_COMMIT, CGraphInputDlg::kValueIds[1], 1);
        },
    });
    EXPECT_EQ(view->OnAddObject(kv::ID_ADD_GRAPH), 1);
    script.Stop();
    EXPECT_TRUE(script.m_actions.empty());
    EXPECT_EQ(nameAfterBack, "LineGraph");
    EXPECT_EQ(countAfterBack, 3);
    auto* chart = dynamic_cast<pnChart*>(scene().findObject("Trend"));
    ASSERT_NE(chart, nullptr);
    EXPECT_STREQ(chart->getTypeName(), "pnLineChart");
    EXPECT_EQ(chart->getNumDataPts(), 3);
    EXPECT_DOUBLE_EQ(chart->getDataPtGrowValue(1), 42.0);
    EXPECT_STREQ(chart->getDataPtDataText(1), "42");
    EXPECT_EQ(doc->m_pSelectedObject, chart);
    EXPECT_EQ(bar->GetShownPage(), bar->GetPage(PAGE_LINE));
    EXPECT_EQ(page(PAGE_LINE)->GetJointPicture(), "ChartSlices/sphere10x.bmp");
    EXPECT_TRUE(view->m_bPlacing);

    // Cancel on the type step makes nothing.
    const int objects = scene().getNumObjects();
    ModalScript cancel({[](wxDialog* d) { d->EndModal(wxID_CANCEL); }});
    EXPECT_EQ(view->OnAddObject(kv::ID_ADD_GRAPH), 0);
    EXPECT_EQ(scene().getNumObjects(), objects);
}

namespace {

// Answers the message boxes and writes down their texts.
class MessageBoxes : public wxModalDialogHook {
public:
    MessageBoxes() { Register(); }
    ~MessageBoxes() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box) return wxID_NONE;
        texts.push_back(box->GetCaption().ToStdString() + ": " + box->GetMessage().ToStdString());
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::string> texts;
};

void typeInto(wxDialog* d, int id, const char* text) { static_cast<wxTextCtrl*>(d->FindWindow(id))->SetValue(text); }

}  // namespace

// Limit Height from the bar page: a text that is not a whole number is
// refused with a message, the dialog stays open and the chart is left alone;
// whole numbers apply as one step.
TEST_F(GraphPagesTest, LimitHeightRefusesTextThatIsNoInteger) {
    pnChart* chart = make(PAGE_BAR, {10, 20, 30});
    ASSERT_NE(chart, nullptr);
    CGraphPage* p = page(PAGE_BAR);
    chart->setDataMin(0);
    chart->setDataMax(100);
    MessageBoxes boxes;
    int before = steps();
    std::vector<bool> stayed;
    ModalScript refused({[&](wxDialog* d) {
        for (auto typed : {std::make_pair("12a", "100"), std::make_pair("5", "1e3"), std::make_pair("", "100"),
                           std::make_pair("7.5", "100")}) {
            typeInto(d, CLimitHeightDlg::IDC_MIN, typed.first);
            typeInto(d, CLimitHeightDlg::IDC_MAX, typed.second);
            press(d, wxID_OK);
            stayed.push_back(d->IsModal());
        }
        press(d, wxID_CANCEL);
    }});
    click(p, CGraphPage::IDC_LIMIT_BAR);
    EXPECT_TRUE(refused.m_actions.empty()) << "no Limit Height dialog came up";
    refused.Stop();
    EXPECT_EQ(stayed, std::vector<bool>(4, true));
    EXPECT_EQ(boxes.texts, std::vector<std::string>(4, "Kelvano: Please enter an integer."));
    EXPECT_FLOAT_EQ(chart->getDataMin(), 0);
    EXPECT_FLOAT_EQ(chart->getDataMax(), 100);
    EXPECT_EQ(steps(), before);

    ModalScript applied({[&](wxDialog* d) {
        typeInto(d, CLimitHeightDlg::IDC_MIN, " -20 ");
        typeInto(d, CLimitHeightDlg::IDC_MAX, "150");
        press(d, wxID_OK);
    }});
    click(p, CGraphPage::IDC_LIMIT_BAR);
    applied.Stop();
    EXPECT_FLOAT_EQ(chart->getDataMin(), -20);
    EXPECT_FLOAT_EQ(chart->getDataMax(), 150);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(boxes.texts.size(), 4u);
}


// OK in the Cut Shape chooser without a pick, while the chart's shape is a
// browsed model that none of the pictures shows, gave the chart the first
// picture's shape. Clicked on the page, OK alone now keeps the shape and
// records no step; a picture double-clicked still changes it.
TEST_F(GraphPagesTest, ShapeChooserOkWithoutAPickKeepsTheShape) {
    pnChart* chart = make(PAGE_BAR, {10, 20});
    ASSERT_NE(chart, nullptr);
    CGraphPage* p = page(PAGE_BAR);
    SetChartShape(*view, chart, app.GetStartDir(), KELVANO_SOURCE_DIR "/data/Models/cube.3ds", false);
    const std::string browsed = chart->getFile();
    ASSERT_NE(browsed.find("cube.3ds"), std::string::npos) << browsed;
    const int before = steps();
    bool shown = false;
    {
        ModalScript script({[&](wxDialog* d) {
            shown = dynamic_cast<CCutShapeDlg*>(d) != nullptr;
            press(d, wxID_OK);
        }});
        click(p, CGraphPage::IDC_CUT_SHAPE);
    }
    ASSERT_TRUE(shown) << "the page's button opens the chooser";
    EXPECT_EQ(chart->getFile(), browsed);
    EXPECT_EQ(steps(), before);

    {
        ModalScript script({[](wxDialog* d) {
            auto* list = static_cast<CThumbnailListCtrl*>(d->FindWindow(CCutShapeDlg::IDC_LIST));
            const wxRect cell = list->CellRect(14);
            wxMouseEvent pick(wxEVT_LEFT_DCLICK);
            pick.SetPosition(cell.GetPosition() + wxPoint(cell.width / 2, cell.height / 2));
            list->GetEventHandler()->ProcessEvent(pick);
        }});
        click(p, CGraphPage::IDC_CUT_SHAPE);
    }
    EXPECT_NE(chart->getFile(), browsed);
    EXPECT_NE(chart->getFile().find("ChartSlices"), std::string::npos) << chart->getFile();
    EXPECT_EQ(steps(), before + 1);
}

// A chart name over 127 characters typed on the page was put back without a
// word; the edit takes no more, as the name step's.
TEST_F(GraphPagesTest, TheNameEditStopsAtTheLongestName) {
    pnChart* chart = make(PAGE_BAR, {10, 20});
    ASSERT_NE(chart, nullptr);
    CGraphPage* p = page(PAGE_BAR);
    auto* edit = static_cast<CNumEdit*>(p->FindWindow(CGraphPage::IDC_NAME));
    // Typed a character at a time, as keys put them in.
    edit->SelectAll();
    for (int i = 0; i < 130; ++i) edit->WriteText("n");
    EXPECT_EQ(edit->GetValue().length(), CKelvanoView::kMaxObjectNameChars);
    wxCommandEvent enter(wxEVT_TEXT_ENTER, edit->GetId());
    enter.SetEventObject(edit);
    edit->GetEventHandler()->ProcessEvent(enter);
    EXPECT_EQ(chart->getName(), std::string(CKelvanoView::kMaxObjectNameChars, 'n'));
    EXPECT_TRUE(host.messages.empty());
}


// "inf", "nan" and numbers no float holds went into a chart and were saved as
// words that read back as 0 (or held at the float range, which the chart
// drew as infinite geometry). Typed into the line page, the words count as no
// number, as "abc" does, numbers beyond the float range are held at the
// field's range as any number beyond it, and the file keeps numbers only.
TEST_F(GraphPagesTest, WordsForInfinityAreNoNumbers) {
    pnChart* chart = make(PAGE_LINE, {10, 20});
    ASSERT_NE(chart, nullptr);
    CGraphPage* p = page(PAGE_LINE);
    const int ids[] = {int(CGraphPage::IDC_SCALE_HT), int(CGraphPage::IDC_SPACING), int(CGraphPage::IDC_JOINT_SCALE)};
    auto typeEverywhere = [&](const char* typed) {
        for (int id : ids) type(p, id, typed);
        return std::vector<float>{chart->getHeightScale(), chart->getSpacingDistance(), chart->getJointScale()[0]};
    };
    typeEverywhere("7");
    const std::vector<float> none = typeEverywhere("abc");
    const std::vector<float> top(3, kMaxObjectSize), bottom(3, -kMaxObjectSize);
    const std::pair<const char*, std::vector<float>> typedHeld[] = {
        {"inf", none}, {"nan", none}, {"-infinity", none}, {"1e39", top}, {"-1e39", bottom}, {"1e400", top}};
    for (const auto& [typed, held] : typedHeld) {
        ASSERT_EQ(typeEverywhere("7"), std::vector<float>(3, 7.0f));
        EXPECT_EQ(typeEverywhere(typed), held) << typed;
    }
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(scene().writeScene(f, 0), 1);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

// Twenty nines in Spacing were stored as 1e20, which took the chart out of
// the picture, and the field showed "99999999", later "10000000". Spacing and
// the sizes without a range of their own are held within +-32767, and every
// field shows the value the chart holds once taken ("a" is 0).
TEST_F(GraphPagesTest, FieldsHoldDrawableSizesAndShowWhatTheChartHolds) {
    const std::string nines(20, '9');
    const struct {
        int kind, id;
        const char* typed;
        float held;
        const char* shown;
    } cases[] = {
        {PAGE_BAR, CGraphPage::IDC_SPACING, nines.c_str(), 32767, "32767"},
        {PAGE_BAR, CGraphPage::IDC_SPACING, "a", 0, "0"},
        {PAGE_BAR, CGraphPage::IDC_SCALE_HT, "-1e20", -32767, "-32767.000"},
        {PAGE_LINE, CGraphPage::IDC_DEPTH, "1e20", 100, "100.000"},
        {PAGE_LINE, CGraphPage::IDC_JOINT_SCALE, "2x", 2, "2.000"},
        {PAGE_AREA, CGraphPage::IDC_SPACING, nines.c_str(), 32767, "32767.00"},
        {PAGE_AREA, CGraphPage::IDC_SCALE_HT, "0.5 m", 0.5f, "0.50"},
        {PAGE_PIE, CGraphPage::IDC_START_ANGLE, "12.7", 12, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.typed);
        pnChart* chart = make(c.kind, {10, 20, 30});
        ASSERT_NE(chart, nullptr);
        CGraphPage* p = page(c.kind);
        type(p, c.id, c.typed);
        const float held = c.id == CGraphPage::IDC_SPACING    ? chart->getSpacingDistance()
                           : c.id == CGraphPage::IDC_SCALE_HT ? chart->getHeightScale()
                           : c.id == CGraphPage::IDC_DEPTH    ? chart->getBaseScale()[2]
                           : c.id == CGraphPage::IDC_JOINT_SCALE
                               ? chart->getJointScale()[0]
                               : static_cast<float>(static_cast<pnPieChart*>(chart)->getStartAngle());
        EXPECT_EQ(held, c.held);
        EXPECT_EQ(text(p, c.id), c.shown);
        ASSERT_EQ(view->RenameObject(chart, "done" + std::to_string(&c - cases)), 1);
    }
}
