// The Graph Data and label/data property dialogs run modally on the sample
// charts of a headless view, and the printed page of a captured frame.
#include "platform/FontOutline.h"
#include "scene/pnMaterial.h"
#include "scene/pnStringProperty.h"
#include "tests/properties/AllChartsViewTest.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "tests/support/WxTestRun.h"
#include "ui/properties/dialogs/CChartDataDlg.h"
#include "ui/properties/controls/CDibPrintout.h"
#include "ui/properties/dialogs/CLabelPropertyDlg.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNotifyComboBox.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/pages/PageHooks.h"

#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/frame.h>
#include <wx/imagpng.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>


namespace {

class ChartDialogsGuiTest : public AllChartsViewTest {
protected:
    void SetUp() override {
        AllChartsViewTest::SetUp();
        frame = new wxFrame(nullptr, wxID_ANY, "dialogs", wxDefaultPosition, wxSize(300, 200));
        frame->Show();
        pumpWxEvents(30);
    }
    void TearDown() override {
        frame->Destroy();
        pumpWxEvents(30);
        AllChartsViewTest::TearDown();
    }
    static void click(wxWindow* dlg, int id) {
        wxCommandEvent e(wxEVT_BUTTON, id);
        e.SetEventObject(dlg->FindWindow(id));
        dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
    }
    static void setText(wxWindow* dlg, int id, const char* text) {
        static_cast<wxTextCtrl*>(dlg->FindWindow(id))->ChangeValue(text);
    }
    wxFrame* frame = nullptr;
};

}  // namespace

TEST_F(ChartDialogsGuiTest, BarDataDialogAppliesOkAndLeavesTheChartOnCancel) {
    pnChart* bars = &select("bars", 1);
    {
        CBarDataDlg dlg(frame);
        ASSERT_TRUE(dlg.IsLoaded());
        EXPECT_EQ(dlg.GetTitle(), "Graph Data");
        dlg.CallAfter([&] {
            setText(&dlg, CChartDataDlg::IDC_HEIGHT, "250");
            click(&dlg, wxID_OK);
        });
        EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    }
    EXPECT_DOUBLE_EQ(bars->getDataPtGrowValue(1), 250.0);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);

    // The chooser of the modal dialog is modal on it (the bar's shared one,
    // modeless, took no click under a window manager); a material chosen
    // there stays in the dialog until OK, and the chooser goes with it.
    wxWeakRef<CMaterialDlg> chooser;
    const std::string before = bars->getDataPtMaterialName(1);
    bool modal = false;
    {
        CBarDataDlg dlg(frame, &chooser, frame);
        dlg.CallAfter([&] {
            dlg.CallAfter([&] {
                modal = chooser && chooser->IsModal() && chooser->GetParent() == &dlg;
                if (!modal) return;
                // A click on red's cell, then OK.
                CMaterialChooserLogic& logic = chooser->Logic();
                const int grid = logic.MaterialIndexOfGrid(0) - scene().findMaterialIndex("red");
                logic.m_nPage = grid / CMaterialChooserLogic::kCellsPerPage;
                const int cell = grid % CMaterialChooserLogic::kCellsPerPage;
                EXPECT_TRUE(logic.Click(40 * (cell % 4) + 20, 40 * (cell / 4) + 20)) << "red's cell";
                click(chooser.get(), 1519);
                if (chooser && chooser->IsModal()) chooser->Hide();
            });
            click(&dlg, CChartDataDlg::IDC_MATERIAL);
            EXPECT_EQ(dlg.Form().material, "red");
            click(&dlg, wxID_CANCEL);
        });
        EXPECT_EQ(dlg.ShowModal(), wxID_CANCEL);
    }
    EXPECT_TRUE(modal) << "the chooser of Graph Data is not modal on it";
    pumpWxEvents(30);
    EXPECT_FALSE(chooser);
    EXPECT_EQ(bars->getDataPtMaterialName(1), before);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);

    // A stale point closes the dialog at once.
    select("bars", 7);
    CBarDataDlg stale(frame);
    EXPECT_EQ(stale.ShowModal(), wxID_CANCEL);
}

TEST_F(ChartDialogsGuiTest, AreaDialogKeepsNegativeHeightsOut) {
    select("area", 0);
    CAreaDataDlg dlg(frame);
    bool stayed = false;
    dlg.CallAfter([&] {
        EXPECT_EQ(static_cast<wxStaticText*>(dlg.FindWindow(CChartDataDlg::IDC_NDX2))->GetLabel(), "2");
        setText(&dlg, CChartDataDlg::IDC_HEIGHT2, "-3");
        click(&dlg, wxID_OK);
        stayed = dlg.IsModal() &&
                 static_cast<wxTextCtrl*>(dlg.FindWindow(CChartDataDlg::IDC_HEIGHT2))->GetValue() == "0.00";
        click(&dlg, wxID_CANCEL);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(stayed);
}

TEST_F(ChartDialogsGuiTest, LabelDialogEnterInTheSizeComboApplies) {
    pnChart* bars = &select("bars", 0);
    CLabelPropertyDlg dlg(frame, 1);
    EXPECT_EQ(dlg.GetTitle(), "Label String Property");
    EXPECT_FALSE(dlg.FindWindow(CLabelPropertyDlg::IDC_EDGE_SHADOW)->IsEnabled());
    dlg.CallAfter([&] {
        auto* size = static_cast<CNotifyComboBox*>(dlg.FindWindow(CLabelPropertyDlg::IDC_SIZE));
        size->SetValue("48");
        SendPrivateMessage(&dlg, WM_COMBO_COMMIT, CLabelPropertyDlg::IDC_SIZE, 1);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    const pnStringProperty* style = scene().findStringProperty(bars->getLabelStringName().c_str());
    ASSERT_TRUE(style);
    EXPECT_FLOAT_EQ(style->getSize(), 48.0f);
}

// A label face not installed here (a scene from another machine) turned
// into Arial on any OK, an OK only to untick Show included. It stays.
TEST_F(ChartDialogsGuiTest, LabelDialogKeepsAFaceNotInstalledHere) {
    pnChart* bars = &select("bars", 0);
    auto* own = new pnStringProperty;
    own->setName("absent face");
    own->setFont("Kelvano Absent Face");
    ASSERT_TRUE(scene().addStringProperty(own));
    bars->setLabelStringName("absent face");
    pnStringProperty* style = nullptr;
    CLabelPropertyDlg dlg(frame, 1);
    auto* fonts = static_cast<CNotifyComboBox*>(dlg.FindWindow(CLabelPropertyDlg::IDC_FONT));
    EXPECT_EQ(fonts->GetValue(), "Kelvano Absent Face");
    dlg.CallAfter([&] {
        auto* show = static_cast<wxCheckBox*>(dlg.FindWindow(CLabelPropertyDlg::IDC_SHOW));
        show->SetValue(false);
        click(&dlg, wxID_OK);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    style = scene().findStringProperty(bars->getLabelStringName().c_str());
    ASSERT_TRUE(style);
    EXPECT_EQ(style->getFont(), "Kelvano Absent Face");
    EXPECT_EQ(bars->getShowLabel(), 0);
}

// The Font list offers only faces the text engine can outline. A face that
// holds bitmaps only is listed by the toolkit, yet would give empty labels.
TEST_F(ChartDialogsGuiTest, LabelDialogOffersOnlyFacesTheEngineCanOutline) {
    REQUIRE_TOOL("pyftsubset");  // fontTools, which writes the font
    TempDir dir;
    const std::string font = dir.path() + "/bitmap.ttf";
    int status = -1;
    runCommand("$(head -1 $(command -v pyftsubset) | cut -c3-) '" KELVANO_SOURCE_DIR
               "/tests/properties/make_bitmap_font.py' '" + font + "' 2>&1",
               &status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(font.c_str())));
    // The toolkit keeps its family list until fontconfig's set is said to change.
    using ConfigChanged = void (*)(PangoFontMap*);
    auto changed = reinterpret_cast<ConfigChanged>(dlsym(RTLD_DEFAULT, "pango_fc_font_map_config_changed"));
    if (changed) changed(pango_cairo_font_map_get_default());
    const std::string face = "Kelvano Bitmap Test";
    ASSERT_NE(wxFontEnumerator::GetFacenames().Index(face), wxNOT_FOUND) << "the toolkit lists the face";
    EXPECT_FALSE(FontOutline(FontRequest{face}).ok()) << "the engine has no outline of it";

    select("bars", 0);
    CLabelPropertyDlg dlg(frame, 1);
    auto* fonts = static_cast<CNotifyComboBox*>(dlg.FindWindow(CLabelPropertyDlg::IDC_FONT));
    ASSERT_GT(fonts->GetCount(), 0u);
    EXPECT_EQ(fonts->FindString(face, true), wxNOT_FOUND);
    for (unsigned i = 0; i < fonts->GetCount(); ++i) {
        const std::string listed = fonts->GetString(i).ToStdString(wxConvUTF8);
        EXPECT_TRUE(FontOutline(FontRequest{listed}).ok()) << listed << " is offered but gives no outlines";
    }
    // The face goes with its folder.
    FcConfigAppFontClear(nullptr);
    if (changed) changed(pango_cairo_font_map_get_default());
}

// The pages' Value button opens the dialog through its hook; in 2D Edge/Shadow
// hands the style to the edge and shadow dialog, whose changes Cancel takes back.
TEST_F(ChartDialogsGuiTest, ValueDialogThroughThePageHookWithEdgeShadow) {
    pnChart& bars = select("bars", 0);
    CLabelPropertyDlg::InstallPageHook();
    int dataTexts = -1;
    PageHooks::StyleEdgeShadowDialog() = [&](wxWindow*, pnStringProperty* style, pnObject*, int flag) {
        dataTexts = flag;
        style->setBorder(4.0f);
        return true;
    };
    std::string caption;
    wxTheApp->CallAfter([&] {
        auto* dlg = static_cast<wxDialog*>(wxWindow::FindWindowById(119));
        ASSERT_TRUE(dlg);
        caption = dlg->GetTitle().ToStdString();
        auto* twoD = static_cast<wxCheckBox*>(dlg->FindWindow(CLabelPropertyDlg::IDC_2D));
        twoD->SetValue(true);
        wxCommandEvent tick(wxEVT_CHECKBOX, CLabelPropertyDlg::IDC_2D);
        tick.SetInt(1);
        twoD->GetEventHandler()->ProcessEvent(tick);
        EXPECT_TRUE(dlg->FindWindow(CLabelPropertyDlg::IDC_EDGE_SHADOW)->IsEnabled());
        click(dlg, CLabelPropertyDlg::IDC_EDGE_SHADOW);
        click(dlg, wxID_CANCEL);
    });
    PageHooks::LabelDialog()(frame, 0);
    PageHooks::StyleEdgeShadowDialog() = nullptr;
    EXPECT_EQ(caption, "Value String Property");
    EXPECT_EQ(dataTexts, 1);
    const pnStringProperty* style = scene().findStringProperty(bars.getDataStringName().c_str());
    ASSERT_TRUE(style);
    EXPECT_FLOAT_EQ(style->getBorder(), 0.0f);
    EXPECT_EQ(style->getKind(), 1);
}

// The dialog is one step from its opening: the edge its Edge/Shadow button
// writes at once goes back with the rest at one Undo, and comes again with Redo.
TEST_F(ChartDialogsGuiTest, ValueDialogOkWithEdgeShadowIsOneStep) {
    pnChart& bars = select("bars", 0);
    CLabelPropertyDlg::InstallPageHook();
    PageHooks::StyleEdgeShadowDialog() = [&](wxWindow*, pnStringProperty* style, pnObject*, int) {
        style->setBorder(4.0f);
        return true;
    };
    const int before = doc->GetUndoHistory().GetCount();
    wxTheApp->CallAfter([&] {
        auto* dlg = static_cast<wxDialog*>(wxWindow::FindWindowById(119));
        ASSERT_TRUE(dlg);
        auto* twoD = static_cast<wxCheckBox*>(dlg->FindWindow(CLabelPropertyDlg::IDC_2D));
        twoD->SetValue(true);
        wxCommandEvent tick(wxEVT_CHECKBOX, CLabelPropertyDlg::IDC_2D);
        tick.SetInt(1);
        twoD->GetEventHandler()->ProcessEvent(tick);
        click(dlg, CLabelPropertyDlg::IDC_EDGE_SHADOW);
        click(dlg, wxID_OK);
    });
    PageHooks::LabelDialog()(frame, 0);
    PageHooks::StyleEdgeShadowDialog() = nullptr;
    const std::string styleName = bars.getDataStringName();
    ASSERT_FLOAT_EQ(scene().findStringProperty(styleName.c_str())->getBorder(), 4.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), before + 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    const pnStringProperty* undone = scene().findStringProperty(styleName.c_str());
    EXPECT_TRUE(!undone || undone->getBorder() == 0.0f) << "the edge goes back with the dialog's step";
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_TRUE(scene().findStringProperty(styleName.c_str()));
    EXPECT_FLOAT_EQ(scene().findStringProperty(styleName.c_str())->getBorder(), 4.0f);
}

// The page drawn on a memory DC holds the picture across the printable width
// (ImageMagick's resize is the oracle).
TEST_F(ChartDialogsGuiTest, PrintoutHoldsTheCapturedFrame) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("compare");
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    draw();
    CDib picture;
    ASSERT_EQ(picture.Capture(CRectI{0, 0, kDefaultSceneWidth, kDefaultSceneHeight}, kDefaultSceneHeight), 1);
    const std::string dir = folder();
    ASSERT_TRUE(CDibPrintout::ToImage(picture).SaveFile(dir + "/frame.png", wxBITMAP_TYPE_PNG));

    const int pageW = 1160, pageH = 1500;
    wxBitmap page(pageW, pageH, 24);
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    CDibPrintout printout(picture);
    printout.SetDC(&dc);
    printout.SetPageSizePixels(pageW, pageH);
    printout.SetPPIPrinter(300, 300);
    ASSERT_TRUE(printout.OnPrintPage(1));
    dc.SelectObject(wxNullBitmap);
    ASSERT_TRUE(page.SaveFile(dir + "/page.png", wxBITMAP_TYPE_PNG));

    const int h = kDefaultSceneHeight * pageW / kDefaultSceneWidth;
    int status = 0;
    runCommand("convert " + dir + "/frame.png -resize " + std::to_string(pageW) + "x" + std::to_string(h) + "! " + dir +
                   "/expected.png && convert " + dir + "/page.png -crop " + std::to_string(pageW) + "x" +
                   std::to_string(h) + "+0+0 +repage " + dir + "/printed.png",
               &status);
    ASSERT_EQ(status, 0);
    const std::string psnr =
        runCommand("compare -metric PSNR " + dir + "/expected.png " + dir + "/printed.png null: 2>&1");
    EXPECT_GE(std::atof(psnr.c_str()), 30.0) << psnr;
    // Below the picture the page stays blank.
    wxImage printed(dir + "/page.png");
    EXPECT_EQ(printed.GetRed(pageW / 2, h + 20), 255);
}
