// The panel and model pages, their creation dialogs, the thumbnail grid, the
// preview control and the texture windows as real wx windows on a headless
// view (OSMesa), with the message boxes answered by a recorder. The main is
// BarsGuiTest's.
#include "assets/ImageReaders.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/SavedText.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "tests/support/WxTestRun.h"
#include "editor/CUndoHistory.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnViewpoint.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/dialogs/CAddPanelDlg.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/pages/CCameraPage.h"
#include "ui/properties/controls/CDibPreviewCtrl.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/controls/CImagePreviewButton.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/pages/CModelPage.h"
#include "ui/properties/dialogs/CModelSelectDlg.h"
#include "ui/properties/dialogs/CModelTextureDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/dialogs/CObjectCreators.h"
#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/pages/CPanelPage.h"
#include "ui/properties/dialogs/CPreviewImgDlg.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CThumbnailListCtrl.h"
#include "ui/properties/controls/ObjectArt.h"
#include "sg/sgRuntime.h"

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

// Answers every modal box at once and writes down what it said.
class BoxRecorder : public wxModalDialogHook {
public:
    BoxRecorder() { Register(); }
    ~BoxRecorder() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            boxes.push_back(box->GetTitle().ToStdString() + ": " + box->GetMessage().ToStdString());
            return wxID_OK;
        }
        return other ? other(dialog) : wxID_NONE;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::string> boxes;
    // Answers the other modal dialogs (wxID_NONE shows them).
    std::function<int(wxDialog*)> other;
};

void commit(CNumEdit* edit, const char* text) {
    edit->ChangeValue(text);
    wxCommandEvent e(wxEVT_TEXT_ENTER, edit->GetId());
    e.SetEventObject(edit);
    edit->GetEventHandler()->ProcessEvent(e);
}

void click(wxWindow* button) {
    wxCommandEvent e(dynamic_cast<wxRadioButton*>(button) ? wxEVT_RADIOBUTTON : wxEVT_BUTTON, button->GetId());
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
}

void focus(wxWindow* field, wxEventType type) {
    wxFocusEvent e(type, field->GetId());
    e.SetEventObject(field);
    field->GetEventHandler()->ProcessEvent(e);
}

// The focus comes, the text is typed over as keys do, Enter takes it, and
// the focus leaves for the view.
void typeEnterAndLeave(CNumEdit* edit, const char* text) {
    focus(edit, wxEVT_SET_FOCUS);
    edit->SelectAll();
    edit->WriteText(text);
    wxCommandEvent enter(wxEVT_TEXT_ENTER, edit->GetId());
    enter.SetEventObject(edit);
    edit->GetEventHandler()->ProcessEvent(enter);
    focus(edit, wxEVT_KILL_FOCUS);
}

// A press and a release of the left button on a control, without a move.
void clickWithoutMove(wxWindow* control) {
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent e(type);
        e.SetEventObject(control);
        e.SetPosition(wxPoint(control->GetSize().x / 2, control->GetSize().y / 2));
        control->GetEventHandler()->ProcessEvent(e);
    }
}

class PanelModelTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        installImageReaders();  // as the program's start does
        app.m_strProgramDir = KELVANO_SOURCE_DIR "/data";
        app.m_strTextureDir = KELVANO_SOURCE_DIR "/data/Textures";
        frame = new wxFrame(nullptr, wxID_ANY, "pages", wxDefaultPosition, wxSize(700, 600));
        bar = new CEditBoxBar(frame, 105);
        panelPage = new CPanelPage(bar->PageParent(PAGE_PANEL));
        bar->SetRolePage(PAGE_PANEL, panelPage);
        modelPage = new CModelPage(bar->PageParent(PAGE_MODEL));
        bar->SetRolePage(PAGE_MODEL, modelPage);
        frame->Show();
        pumpWxEvents(30);
        create();
    }
    void TearDown() override {
        frame->Destroy();
        pumpWxEvents(30);
        ViewTest::TearDown();
    }
    pnPanel* makePanel(const char* name, float x, float y, float taper) {
        CPanelCreator creator(frame, bar);
        creator.m_strName = name;
        creator.m_fX = x, creator.m_fY = y, creator.m_fZ = 5, creator.m_fTaper = taper;
        return static_cast<pnPanel*>(scene().findObject(creator.CreateObject().c_str()));
    }
    BoxRecorder recorder;
    wxFrame* frame = nullptr;
    CEditBoxBar* bar = nullptr;
    CPanelPage* panelPage = nullptr;
    CModelPage* modelPage = nullptr;
};

TEST_F(PanelModelTest, PanelPageAndCreation) {
    pnPanel* panel = makePanel("Panel", 300, 100, 2);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(doc->m_pSelectedObject, panel);
    EXPECT_EQ(panel->getKind(), 1);
    for (int f = 0; f < pnPanel::NUM_FACES; ++f) EXPECT_EQ(panel->getFaceFlag(f), 0);
    EXPECT_EQ(bar->GetObjectPageKind(), 1);
    EXPECT_EQ(panelPage->Edit(CPanelPage::IDC_NAME)->GetValue(), "Panel");
    EXPECT_EQ(panelPage->Edit(CPanelPage::IDC_X)->GetValue(), "300.00");

    // X 3 with taper 2: the taper becomes 1.5 in the same step.
    const int steps = doc->GetUndoHistory().GetCount();
    commit(panelPage->Edit(CPanelPage::IDC_X), "3");
    EXPECT_FLOAT_EQ(panel->getDimension()[0], 3);
    EXPECT_FLOAT_EQ(panel->getBevel(), 1.5f);
    EXPECT_EQ(panelPage->Edit(CPanelPage::IDC_TAPER)->GetValue(), "1.50");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    // A side of 0 is one of 50 for the panel, and the field says so.
    commit(panelPage->Edit(CPanelPage::IDC_Y), "0");
    EXPECT_FLOAT_EQ(panel->getDimension()[1], 50);
    EXPECT_EQ(panelPage->Edit(CPanelPage::IDC_Y)->GetValue(), "50.00");
    // An over-limit taper is cut and shown cut.
    commit(panelPage->Edit(CPanelPage::IDC_X), "40");
    commit(panelPage->Edit(CPanelPage::IDC_TAPER), "90");
    EXPECT_FLOAT_EQ(panel->getBevel(), 20);
    EXPECT_EQ(panelPage->Edit(CPanelPage::IDC_TAPER)->GetValue(), "20.00");
    // 2D keeps Z and taper, greyed.
    click(frame->FindWindow(CPanelPage::IDC_2D));
    EXPECT_EQ(panel->getKind(), 0);
    EXPECT_FLOAT_EQ(panel->getDimension()[2], 5);
    EXPECT_FLOAT_EQ(panel->getBevel(), 20);
    EXPECT_FALSE(panelPage->Edit(CPanelPage::IDC_Z)->IsEnabled());
    click(frame->FindWindow(CPanelPage::IDC_3D));
    EXPECT_TRUE(panelPage->Edit(CPanelPage::IDC_TAPER)->IsEnabled());
    // A texture radio is a step of its own and modifies the scene.
    view->m_bModified = 0;
    const int before = doc->GetUndoHistory().GetCount();
    click(frame->FindWindow(CPanelPage::IDC_TEX_ON));
    EXPECT_EQ(panel->getFaceFlag(pnPanel::FACE_TOP), 1);
    EXPECT_EQ(panel->getMode(), 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), before + 1);
    EXPECT_EQ(view->m_bModified, 1);

    // The dialog proposes a free name and refuses "" and taken ones.
    makePanel("Panel001", 10, 10, 1);
    CAddPanelDlg dlg(frame);
    EXPECT_EQ(dlg.m_strName, "Panel002");
    for (const char* name : {"", "Panel"}) {
        dlg.Edit(CAddPanelDlg::IDC_NAME)->ChangeValue(name);
        EXPECT_FALSE(dlg.CheckAndStore()) << name;
        EXPECT_EQ(recorder.boxes.back(), std::string("Name duplicated!!: \"") + name + "\" is Already used!");
    }
    dlg.Edit(CAddPanelDlg::IDC_NAME)->ChangeValue("Fresh");
    EXPECT_TRUE(dlg.CheckAndStore());
    float x, y, z;
    dlg.GetSize(x, y, z);
    EXPECT_EQ(std::vector<float>({x, y, z, dlg.m_fTaper}), std::vector<float>({300, 100, 5, 8}));
}

// Add Panel took "inf", "nan" and numbers no float holds into the panel, and
// the file kept them as words; it took a side of 1e30 (drawn as a slab over
// half the scene) and a taper above half the smaller side without a word. OK
// now refuses each with a message and keeps the dialog open; the panel made
// at last is saved with numbers only.
TEST_F(PanelModelTest, AddPanelRefusesWordsForInfinityAndHugeNumbers) {
    const struct {
        int id;
        const char* typed;
    } bad[] = {{CAddPanelDlg::IDC_X, "inf"},      {CAddPanelDlg::IDC_Y, "nan"},   {CAddPanelDlg::IDC_Z, "1e39"},
               {CAddPanelDlg::IDC_TAPER, "-1e400"}, {CAddPanelDlg::IDC_X, "-infinity"}, {CAddPanelDlg::IDC_Y, "abc"},
               {CAddPanelDlg::IDC_X, "1e30"},     {CAddPanelDlg::IDC_Y, "0"},     {CAddPanelDlg::IDC_Z, "32768"},
               {CAddPanelDlg::IDC_Z, "-1"},       {CAddPanelDlg::IDC_TAPER, "21"}, {CAddPanelDlg::IDC_TAPER, "-2"}};
    std::vector<std::string> stayedFor;
    recorder.other = [&](wxDialog* dialog) {
        auto* dlg = dynamic_cast<CAddPanelDlg*>(dialog);
        if (!dlg) return int(wxID_NONE);
        dlg->CallAfter([&, dlg] {
            auto fill = [&] {
                dlg->Edit(CAddPanelDlg::IDC_NAME)->ChangeValue("Board");
                for (int id : {int(CAddPanelDlg::IDC_X), int(CAddPanelDlg::IDC_Y), int(CAddPanelDlg::IDC_Z)})
                    dlg->Edit(id)->ChangeValue("40");
                dlg->Edit(CAddPanelDlg::IDC_TAPER)->ChangeValue("2");
            };
            for (const auto& b : bad) {
                fill();
                dlg->Edit(b.id)->ChangeValue(b.typed);
                click(dlg->FindWindow(wxID_OK));
                if (!dlg->IsModal()) return;
                stayedFor.push_back(b.typed);
            }
            fill();
            click(dlg->FindWindow(wxID_OK));
        });
        return int(wxID_NONE);
    };
    CPanelCreator creator(frame, bar);
    ASSERT_TRUE(creator.RunDialog());
    recorder.other = nullptr;
    EXPECT_EQ(stayedFor, (std::vector<std::string>{"inf", "nan", "1e39", "-1e400", "-infinity", "abc", "1e30", "0",
                                                    "32768", "-1", "21", "-2"}));
    std::vector<std::string> boxes(6, "Kelvano: Please enter a number.");
    boxes.insert(boxes.end(), 2, "Kelvano: Please enter a number above 0, up to 32767.");
    boxes.insert(boxes.end(), 2, "Kelvano: Please enter a number from 0 to 32767.");
    boxes.insert(boxes.end(), 2, "Kelvano: Please enter a number from 0 to 20.");
    EXPECT_EQ(recorder.boxes, boxes);
    const std::string made = creator.CreateObject();
    ASSERT_EQ(made, "Board");
    const auto* panel = static_cast<const pnPanel*>(scene().findObject("Board"));
    EXPECT_EQ(panel->getDimension()[0], 40.0f);
    EXPECT_EQ(panel->getBevel(), 2.0f);
    const std::string path = folder() + "/panel.apn";
    ASSERT_EQ(view->SaveSceneTo(path), 1);
    EXPECT_EQ(wordsForNumbers(readText(path)), std::vector<std::string>{});
}

// A name over 127 characters typed on the panel or model page was put back
// without a word: the edits take no more than a name may hold, as the graph
// name step's, so what the user typed up to there becomes the name.
TEST_F(PanelModelTest, NameEditsStopAtTheLongestName) {
    pnPanel* panel = makePanel("Panel", 100, 50, 2);
    ASSERT_NE(panel, nullptr);
    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = app.m_strProgramDir + "/Models/cube.3ds";
    ASSERT_EQ(creator.CreateObject(), "Model");
    // Characters of one and of two bytes: the edits count characters.
    auto letters = [](const std::string& first, int count) {
        std::string text = first;
        for (int i = 1; i < count; ++i) text += i % 2 ? "\u00fc" : "b";
        return text;
    };
    struct Case {
        CNumEdit* edit;
        const char* selected;
        std::string prefix;
    } cases[] = {{panelPage->Edit(CPanelPage::IDC_NAME), "Panel", "p"}, {modelPage->GetNameEdit(), "Model", "m"}};
    for (Case& c : cases) {
        view->SelectObject(scene().findObject(c.selected));
        pumpWxEvents(20);
        // Typed a character at a time, as keys put them in.
        c.edit->SelectAll();
        for (const wxUniChar ch : wxString::FromUTF8(letters(c.prefix, 130))) c.edit->WriteText(wxString(ch));
        EXPECT_EQ(c.edit->GetValue().length(), CKelvanoView::kMaxObjectNameChars) << c.selected;
        wxCommandEvent enter(wxEVT_TEXT_ENTER, c.edit->GetId());
        enter.SetEventObject(c.edit);
        c.edit->GetEventHandler()->ProcessEvent(enter);
        const std::string name = letters(c.prefix, int(CKelvanoView::kMaxObjectNameChars));
        EXPECT_NE(scene().findObject(name.c_str()), nullptr) << c.selected;
        EXPECT_EQ(scene().findObject(c.selected), nullptr) << c.selected;
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PanelModelTest, ModelChooserAndPage) {
    const std::string models = app.m_strProgramDir + "/Models/";
    TempDir dir;
    const std::string obj = dir.path() + "/own.obj";
    std::ofstream(obj) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    std::vector<std::string> answers;  // "" cancels
    auto chooser = [&](wxWindow*, const std::string&, std::string& path) {
        path = answers.front();
        answers.erase(answers.begin());
        return !path.empty();
    };
    {
        CModelSelectDlg dlg(156, frame);
        dlg.SetFileChooser(chooser);
        dlg.InitDialog();
        EXPECT_EQ(dlg.GetFilePath(), models + "sphere.3ds");
        EXPECT_EQ(dlg.GetChosen(), 0);
        EXPECT_EQ(dlg.GetModelName(), "Model");
        // A double-click on torus4 (the last thumbnail).
        dlg.GetList()->SelectIndex(51);
        SendPrivateMessage(&dlg, WM_THUMB_CLICK, 1, 0);
        EXPECT_EQ(dlg.GetFilePath(), models + "torus4.3ds");
        EXPECT_EQ(dlg.GetChosen(), 1);
        EXPECT_EQ(dlg.GetFileEdit()->GetValue(), "torus4.3ds");
        // A cancelled browse keeps the path; a file that does not open too.
        answers = {"", dir.path() + "/missing.3ds", obj};
        dlg.Browse();
        EXPECT_EQ(dlg.GetChosen(), 0);
        dlg.Browse();
        EXPECT_EQ(recorder.boxes.back(), "File open error: \"" + dir.path() + "/missing.3ds\": not found");
        EXPECT_EQ(dlg.GetFilePath(), models + "torus4.3ds");
        dlg.Browse();
        EXPECT_EQ(dlg.GetFilePath(), obj);
        EXPECT_EQ(dlg.GetChosen(), 1);
        EXPECT_EQ(app.GetModelDir(), dir.path());
        // Typed names: a taken one is numbered, "" is refused at OK.
        dlg.GetNameEdit()->SetValue("");
        EXPECT_FALSE(dlg.CheckName());
    }

    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = models + "cube.3ds";
    ASSERT_EQ(creator.CreateObject(), "Model");
    auto* model = static_cast<pnModel*>(doc->m_pSelectedObject);
    EXPECT_EQ(model->getFile(), "Models/cube.3ds");
    EXPECT_EQ(modelPage->GetFileEdit()->GetValue(), "cube.3ds");
    {
        CModelSelectDlg dlg(156, frame);
        dlg.InitDialog();
        EXPECT_EQ(dlg.GetModelName(), "Model001");
        dlg.GetNameEdit()->SetValue("Model");
        EXPECT_EQ(dlg.GetModelName(), "Model001");
    }
    // Changing the file: the program folder is cut whatever its case; an
    // outside file keeps its path; one that does not open changes nothing.
    EXPECT_EQ(modelPage->ChangeModelFile(obj), 1);
    EXPECT_EQ(model->getFile(), obj);
    EXPECT_EQ(modelPage->ChangeModelFile(dir.path() + "/none.3ds"), 0);
    EXPECT_EQ(model->getFile(), obj);
}

// Random bytes named ".obj" made an object nobody could see, without a
// word; the model chooser's OK without a pick turned the model into the
// first picture. Both now leave the scene as it was.
TEST_F(PanelModelTest, GarbageModelsAndChoosersWithoutAPickChangeNothing) {
    const std::string models = app.m_strProgramDir + "/Models/";
    TempDir dir;
    const std::string garbage = dir.path() + "/noise.obj";
    {
        std::string bytes;
        unsigned seed = 7;
        for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
        std::ofstream(garbage, std::ios::binary) << bytes;
    }
    CModelCreator creator(frame, bar);
    creator.m_strName = "Noise";
    creator.m_strPath = garbage;
    const int objects = scene().getNumObjects();
    host.messages.clear();
    EXPECT_EQ(creator.CreateObject(), "");
    EXPECT_EQ(scene().getNumObjects(), objects);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"" + garbage + "\" is not a model file.");
    EXPECT_EQ(host.messages[0].caption, "File open error");

    creator.m_strName = "Cube";
    creator.m_strPath = models + "cube.3ds";
    ASSERT_EQ(creator.CreateObject(), "Cube");
    auto* model = static_cast<pnModel*>(doc->m_pSelectedObject);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(modelPage->ChangeModelFile(garbage), 0);
    EXPECT_EQ(model->getFile(), "Models/cube.3ds");

    // "..." on the page, then OK at once: the chooser comes back without a pick.
    int chooserShown = 0;
    recorder.other = [&](wxDialog* dialog) {
        if (!dynamic_cast<CModelSelectDlg*>(dialog)) return int(wxID_NONE);
        ++chooserShown;
        return int(wxID_OK);
    };
    const int steps = doc->GetUndoHistory().GetCount();
    click(modelPage->FindWindow(CModelPage::IDC_BROWSE));
    recorder.other = nullptr;
    EXPECT_EQ(chooserShown, 1);
    EXPECT_EQ(model->getFile(), "Models/cube.3ds");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps);
}

TEST_F(PanelModelTest, ThumbnailsAndPreview) {
    auto* list = new CThumbnailListCtrl;
    list->Create(0, frame, 0, 0);
    const std::string models = app.m_strProgramDir + "/Models/";
    for (int i = 0; i < 13; ++i) list->AddItem(models + kStockModelNames[i] + ".bmp");
    list->ScrollByCode(7);
    const wxImage cells = list->RenderCells().ConvertToImage();
    auto grey = [&](int cell) {
        const wxRect r = list->CellRect(cell);
        const int x = r.x + r.width / 2, y = r.y + r.height / 2;
        return cells.GetRed(x, y) == 0xC0 && cells.GetGreen(x, y) == 0xC0 && cells.GetBlue(x, y) == 0xC0;
    };
    for (int cell = 0; cell < 12; ++cell) EXPECT_EQ(grey(cell), cell >= 9) << cell;
    // A click right of the cells picks nothing.
    EXPECT_EQ(list->ItemAt(wxPoint(4 * CThumbnailListCtrl::kCellSize + 3, 5)), -1);
    EXPECT_EQ(list->ItemAt(wxPoint(5, 5)), 4);

    auto* preview = new CDibPreviewCtrl(frame, 1742, wxPoint(0, 200), wxSize(102, 102));
    const wxRect area = wxRect(preview->GetClientSize()).Deflate(1);
    EXPECT_EQ(CDibPreviewCtrl::FitRect(wxRect(0, 0, 100, 100), 20, 10), wxRect(40, 45, 20, 10));
    EXPECT_EQ(CDibPreviewCtrl::FitRect(wxRect(0, 0, 100, 100), 200, 100), wxRect(0, 25, 100, 50));
    std::vector<uint8_t> pixels(20 * 10 * 3, 200);
    preview->SetImage(20, 10, pixels.data(), 3);
    EXPECT_EQ(preview->GetDestRect().GetSize(), wxSize(20, 10));
    preview->SetImage(20, 10, pixels.data(), 2);  // fewer than three components: nothing new
    EXPECT_TRUE(preview->HasImage());
    preview->Clear();
    EXPECT_FALSE(preview->HasImage());
    EXPECT_FALSE(area.IsEmpty());
}

namespace {
int g_nReports = 0;
void countReport(const char*, const char*) { ++g_nReports; }
}  // namespace

// The page picture leaves its mask colour to the page. The shape button shows
// a picture file upright at (3, 3), stored bottom-up or top-down, and nothing
// for a file it cannot read, without a word; it presses and clicks.
TEST_F(PanelModelTest, PagePictureAndShapeButton) {
    auto* picture = new CPictureCtrl(frame, 1492);
    picture->SetBitmap(142, kArtMask);
    EXPECT_EQ(picture->GetSize(), wxSize(32, 32));
    const wxImage art = ObjectArt(142), face = picture->RenderFace().ConvertToImage();
    const wxColour page = frame->GetBackgroundColour();
    int masked = 0, drawn = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool mask = wxColour(art.GetRed(x, y), art.GetGreen(x, y), art.GetBlue(x, y)) == kArtMask;
            const wxColour want = mask ? page : wxColour(art.GetRed(x, y), art.GetGreen(x, y), art.GetBlue(x, y));
            EXPECT_EQ(wxColour(face.GetRed(x, y), face.GetGreen(x, y), face.GetBlue(x, y)), want) << x << "," << y;
            ++(mask ? masked : drawn);
        }
    EXPECT_GT(masked, 100);
    EXPECT_GT(drawn, 100);
    picture->SetBitmap(99, kArtMask);
    EXPECT_FALSE(picture->GetBitmap().IsOk());

    REQUIRE_TOOL("convert");  // ImageMagick writes the picture files
    TempDir dir;
    const std::string up = dir.path() + "/up.bmp", down = dir.path() + "/down.bmp", bad = dir.path() + "/bad.bmp";
    // 36 x 36, red above blue; the second file has its rows stored top first.
    const std::string halves = "convert -size 36x18 xc:red -size 36x18 xc:blue -append -type truecolor ";
    ASSERT_EQ(std::system((halves + "BMP3:" + up).c_str()), 0);
    ASSERT_EQ(std::system((halves + "-flip BMP3:" + down).c_str()), 0);
    {
        std::fstream f(down, std::ios::in | std::ios::out | std::ios::binary);
        const char minus36[4] = {'\xdc', '\xff', '\xff', '\xff'};
        f.seekp(22);
        f.write(minus36, 4);
    }
    std::ofstream(bad, std::ios::binary) << std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xe8\x03\0\0\xe8\x03\0\0", 26);

    g_nReports = 0;
    sgSetErrorReporter(countReport);
    auto* button = new CImagePreviewButton(frame, 1441, wxPoint(100, 300), wxSize(42, 42));
    int clicks = 0;
    button->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    const wxColour red(255, 0, 0), blue(0, 0, 255), white(255, 255, 255), grey(0x80, 0x80, 0x80), black(0, 0, 0);
    auto at = [](const wxImage& i, int x, int y) { return wxColour(i.GetRed(x, y), i.GetGreen(x, y), i.GetBlue(x, y)); };
    struct Case {
        std::string file;
        bool shown;
    } cases[] = {{up, true}, {down, true}, {bad, false}, {dir.path() + "/none.bmp", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        button->SetFileName(c.file);
        EXPECT_EQ(button->HasPicture(), c.shown);
        const wxImage f = button->RenderFace().ConvertToImage();
        const wxColour top = at(f, 3 + 17, 3 + 2), bottom = at(f, 3 + 17, 3 + 33), corner = at(f, 3, 3);
        EXPECT_EQ(top, c.shown ? red : at(f, 20, 20));
        EXPECT_EQ(bottom, c.shown ? blue : at(f, 20, 20));
        EXPECT_EQ(corner, c.shown ? red : at(f, 20, 20));
        // Raised: white at the top left, grey then black at the bottom right.
        EXPECT_EQ(at(f, 0, 20), white);
        EXPECT_EQ(at(f, 41, 20), grey);
        EXPECT_EQ(at(f, 40, 20), black);
    }
    EXPECT_EQ(g_nReports, 0);
    sgSetErrorReporter(nullptr);
    EXPECT_TRUE(recorder.boxes.empty());

    button->SetFileName(up);
    auto mouse = [&](wxEventType type) {
        wxMouseEvent e(type);
        e.SetPosition(wxPoint(20, 20));
        e.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(e);
    };
    mouse(wxEVT_LEFT_DOWN);
    const wxImage pressed = button->RenderFace().ConvertToImage();
    EXPECT_EQ(at(pressed, 0, 20), black);
    EXPECT_EQ(at(pressed, 1, 20), grey);
    EXPECT_EQ(at(pressed, 41, 20), white);
    EXPECT_EQ(at(pressed, 3 + 17, 3 + 2), red);
    mouse(wxEVT_LEFT_UP);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(at(button->RenderFace().ConvertToImage(), 0, 20), white);

    // The camera page's pictures choose the viewing mode, as their texts do.
    auto* camera = new CCameraPage(bar->PageParent(PAGE_CAMERA), 134);
    for (const auto& [id, perspective] : {std::pair{CCameraPage::IDC_ORTHO_PICTURE, 0},
                                          std::pair{CCameraPage::IDC_PERSP_PICTURE, 1}}) {
        auto* shown = dynamic_cast<CPictureCtrl*>(camera->FindWindow(id));
        ASSERT_TRUE(shown && shown->GetBitmap().IsOk()) << id;
        wxMouseEvent e(wxEVT_LEFT_DOWN);
        e.SetEventObject(shown);
        shown->GetEventHandler()->ProcessEvent(e);
        EXPECT_EQ(scene().getViewpoint()->perspective, perspective) << id;
    }
}

// A value typed on the panel or camera page and taken with Enter is taken
// again when the focus leaves the field: one step, which one Undo takes back.
// A camera slider clicked without a move records nothing.
TEST_F(PanelModelTest, EnterThenLeavingAFieldIsOneStepAndASliderClickIsNone) {
    makePanel("Panel", 300, 100, 0);
    doc->ClearUndoHistory();
    typeEnterAndLeave(panelPage->Edit(CPanelPage::IDC_X), "150");
    auto* panel = static_cast<pnPanel*>(scene().findObject("Panel"));
    EXPECT_FLOAT_EQ(panel->getDimension()[0], 150.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    panel = static_cast<pnPanel*>(scene().findObject("Panel"));
    EXPECT_FLOAT_EQ(panel->getDimension()[0], 300.0f) << "the one Undo takes the value back";
    EXPECT_FALSE(doc->CanUndo());

    doc->ClearUndoHistory();
    auto* camera = new CCameraPage(bar->PageParent(PAGE_CAMERA), 134);
    auto* fov = dynamic_cast<CNumEdit*>(camera->FindWindow(CCameraPage::IDC_FOV));
    ASSERT_NE(fov, nullptr);
    const float fovBefore = scene().getViewpoint()->fov;
    typeEnterAndLeave(fov, "45");
    EXPECT_FLOAT_EQ(scene().getViewpoint()->fov, 45.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().getViewpoint()->fov, fovBefore);
    EXPECT_FALSE(doc->CanUndo());

    // The FOV and distance sliders pressed and let go where they stand.
    camera->LoadViewpoint();
    view->SetModified(false);
    for (int id : {CCameraPage::IDC_FOV_SLIDER, CCameraPage::IDC_DISTANCE_SLIDER}) {
        wxWindow* slider = camera->FindWindow(id);
        ASSERT_NE(slider, nullptr) << id;
        clickWithoutMove(slider);
    }
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    EXPECT_TRUE(doc->CanRedo()) << "Redo stays";
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_FALSE(doc->IsRecording()) << "the release ended the slider's step";
}

// A texture window's frame spin clicked at its end (the count stays) and its
// frame edit and U edit left as they were record nothing; a spin that
// changes the count is one step.
TEST_F(PanelModelTest, TextureWindowControlsThatChangeNothingRecordNothing) {
    REQUIRE_TOOL("convert");
    TempDir dir;
    const std::string png = dir.path() + "/own.png";
    ASSERT_EQ(std::system(("convert -size 8x8 xc:red " + png).c_str()), 0);
    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = app.m_strProgramDir + "/Models/cube.3ds";
    creator.CreateObject();
    pnObject* model = doc->m_pSelectedObject;
    ASSERT_NE(model, nullptr);
    model->setTexture(png.c_str());
    model->setTexMode(1);
    model->setNumIndex(1);
    model->setMode(1);
    model->setTexMove(0.25f, 0.75f);
    auto* dlg = new CModelTextureDlg(frame);
    dlg->SetTextureFile(model->getTexture(), model->getNumIndex());
    dlg->SetTextureMode(model->getTexMode());
    dlg->SetMappingMode(model->getMode());
    ASSERT_TRUE(dlg->Create());
    auto* spin = dynamic_cast<wxSpinButton*>(dlg->FindWindow(CModelTextureDlg::IDC_FRAMES_SPIN));
    ASSERT_NE(spin, nullptr);
    wxTextCtrl* frames = dlg->Edit(CModelTextureDlg::IDC_FRAMES);
    ASSERT_TRUE(frames->IsEnabled());
    doc->ClearUndoHistory();
    view->SetModified(false);
    auto spinTo = [&](int position) {
        wxSpinEvent e(wxEVT_SPIN, spin->GetId());
        e.SetEventObject(spin);
        e.SetPosition(position);
        spin->GetEventHandler()->ProcessEvent(e);
    };
    spinTo(1);  // the down arrow at 1
    focus(frames, wxEVT_SET_FOCUS);
    focus(frames, wxEVT_KILL_FOCUS);
    dlg->OnTool(CModelTextureDlg::IDC_MOVE, true);
    wxTextCtrl* u = dlg->Edit(CModelTextureDlg::IDC_U);
    u->SetValue(u->GetValue());  // the same text again
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 0);
    EXPECT_EQ(view->m_bModified, 0);
    spinTo(2);
    EXPECT_EQ(model->getNumIndex(), 2);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    EXPECT_EQ(view->m_bModified, 1);
    dlg->OnClose();
    pumpWxEvents(30);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
}

TEST_F(PanelModelTest, TextureWindows) {
    REQUIRE_TOOL("convert");
    TempDir dir;
    const std::string png = dir.path() + "/own.png";
    ASSERT_EQ(std::system(("convert -size 8x8 xc:red " + png).c_str()), 0);
    makePanel("Panel", 100, 50, 2);
    auto* panelDlg = new CPanelTextureDlg(frame);
    const int none[6] = {0, 0, 0, 0, 0, 0};
    panelDlg->SetTextureFile("", 0, none);
    ASSERT_TRUE(panelDlg->Create());
    // The window opens on a panel without a file; the file chosen is one step.
    auto* panel = static_cast<pnPanel*>(doc->m_pSelectedObject);
    view->m_bModified = 0;
    const int steps = doc->GetUndoHistory().GetCount();
    panelDlg->SetFileChooser([&](wxWindow*, const std::string&, const std::string&, std::string& path) {
        path = png;
        return true;
    });
    panelDlg->Browse();
    EXPECT_EQ(panel->getTexture(), png);  // outside the texture folder: the full path
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    // A picture that opens but does not decode is refused, and the panel keeps
    // its texture.
    const std::string cut = dir.path() + "/cut.jpg";
    ASSERT_EQ(std::system(("convert -size 64x64 plasma:fractal -quality 90 " + dir.path() + "/whole.jpg && head -c 600 " +
                           dir.path() + "/whole.jpg > " + cut)
                              .c_str()),
              0);
    panelDlg->SetFileChooser([&](wxWindow*, const std::string&, const std::string&, std::string& path) {
        path = cut;
        return true;
    });
    panelDlg->Browse();
    ASSERT_FALSE(recorder.boxes.empty());
    EXPECT_EQ(recorder.boxes.back(), "Kelvano: \"" + cut + "\" cannot be used as a picture: corrupt.");
    EXPECT_EQ(panel->getTexture(), png);
    EXPECT_EQ(panelDlg->GetTexturePath(), png);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    for (int f = 0; f < 6; ++f) panelDlg->OnFace(f, false);
    int flags[6];
    panel->getFaceFlags(flags);
    EXPECT_EQ(std::vector<int>(flags, flags + 6), std::vector<int>(6, 0));
    panelDlg->OnClose();
    pumpWxEvents(30);
    // The page's texture "On", a window opened on the wrapped panel, then the
    // page's "Off": the window's Close leaves the panel untextured.
    click(panelPage->FindWindow(CPanelPage::IDC_TEX_ON));
    panel->getFaceFlags(flags);
    ASSERT_EQ(std::vector<int>(flags, flags + 6), std::vector<int>(6, 1));
    auto* wrapped = new CPanelTextureDlg(frame);
    wrapped->SetTextureFile(panel->getTexture(), panel->getNumIndex(), flags);
    wrapped->SetMappingMode(panel->getMode());
    ASSERT_TRUE(wrapped->Create());
    click(panelPage->FindWindow(CPanelPage::IDC_TEX_OFF));
    panel->getFaceFlags(flags);
    ASSERT_EQ(std::vector<int>(flags, flags + 6), std::vector<int>(6, 0));
    wrapped->OnClose();
    pumpWxEvents(30);
    panel->getFaceFlags(flags);
    EXPECT_EQ(std::vector<int>(flags, flags + 6), std::vector<int>(6, 0)) << "Close put the panel's texture back";

    // The model's window: frames 0 applied as 1, exclusive tools, Reset.
    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = app.m_strProgramDir + "/Models/cube.3ds";
    creator.CreateObject();
    pnObject* model = doc->m_pSelectedObject;
    auto* dlg = new CModelTextureDlg(frame);
    dlg->SetTextureFile(png, 0);
    dlg->SetMappingMode(0);
    ASSERT_TRUE(dlg->Create());
    EXPECT_EQ(dlg->GetMappingMode(), 1);
    dlg->Edit(CModelTextureDlg::IDC_FRAMES)->ChangeValue("0");
    dlg->OnTextureMode(1);
    EXPECT_EQ(model->getNumIndex(), 1);
    EXPECT_EQ(dlg->Edit(CModelTextureDlg::IDC_FRAMES)->GetValue(), "1");
    dlg->OnTool(CModelTextureDlg::IDC_ROTATE, true);
    dlg->OnTool(CModelTextureDlg::IDC_MOVE, true);
    EXPECT_FALSE(dlg->Tool(CModelTextureDlg::IDC_ROTATE)->GetValue());
    EXPECT_EQ(view->m_bTexMoveDrag + 2 * view->m_bTexRotateDrag, 1);
    EXPECT_TRUE(dlg->Edit(CModelTextureDlg::IDC_U)->IsEnabled());
    // Reset is a step when it changes the planes, and nothing when it does not.
    model->setTexMove(0.25f, 0.75f);
    view->m_bModified = 0;
    const int beforeReset = doc->GetUndoHistory().GetCount();
    dlg->OnReset();
    EXPECT_EQ(dlg->Edit(CModelTextureDlg::IDC_U)->GetValue(), "0.5000");
    EXPECT_EQ(dlg->Edit(CModelTextureDlg::IDC_V)->GetValue(), "0.5000");
    EXPECT_EQ(view->m_bModified, 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), beforeReset + 1);
    view->m_bModified = 0;
    dlg->OnReset();
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), beforeReset + 1);
    dlg->OnTool(CModelTextureDlg::IDC_MOVE, false);
    EXPECT_EQ(dlg->Edit(CModelTextureDlg::IDC_U)->GetValue(), "0.0000");
    EXPECT_FALSE(dlg->Edit(CModelTextureDlg::IDC_U)->IsEnabled());
    EXPECT_EQ(dlg->ScaleId(), 1579);
    // The page's texture "Off" while the window is open stays after its
    // Close: the window writes only what was typed and not yet taken.
    ASSERT_NE(model->getMode(), 0);
    click(modelPage->FindWindow(CModelPage::IDC_TEX_OFF));
    ASSERT_EQ(model->getMode(), 0) << "the page's Off";
    dlg->OnClose();
    pumpWxEvents(30);
    EXPECT_EQ(model->getMode(), 0) << "Close turned the texture back on";
    EXPECT_EQ(view->m_bTexMoveDrag + view->m_bTexScaleDrag + view->m_bTexRotateDrag, 0);
    // After an Undo (which closes any window), a window opened and closed
    // with nothing changed records no step: the scene stays unmodified and
    // Redo stays. A choice that gives the object what it has records none.
    ASSERT_EQ(view->OnEditUndo(), 1);
    const int beforeClose = doc->GetUndoHistory().GetCurrentIndex();
    ASSERT_TRUE(doc->CanRedo());
    model = doc->m_pSelectedObject;  // the undo made it anew
    ASSERT_TRUE(model && model->getName() == "Model");
    auto* unchanged = new CModelTextureDlg(frame);
    unchanged->SetTextureFile(model->getTexture(), model->getNumIndex());
    unchanged->SetTextureMode(model->getTexMode());
    unchanged->SetMappingMode(model->getMode());
    ASSERT_TRUE(unchanged->Create());
    view->m_bModified = 0;
    unchanged->OnTextureMode(model->getTexMode());
    unchanged->OnClose();
    pumpWxEvents(30);
    EXPECT_EQ(doc->GetUndoHistory().GetCurrentIndex(), beforeClose);
    EXPECT_TRUE(doc->CanRedo());
    EXPECT_EQ(view->m_bModified, 0);

    // Saved and read into a new scene, the texture outside the folder still names its file.
    const std::string saved = dir.path() + "/t.apn";
    ASSERT_EQ(scene().save(saved.c_str(), 0), 1);
    pnScene again;
    ASSERT_EQ(CKelvanoView::ReadSceneFile(saved, again), 1);
    EXPECT_EQ(again.findObject("Model")->getTexture(), png);
}

TEST_F(PanelModelTest, LocksNamesMaterialsAndWindowVariants) {
    pnPanel* panel = makePanel("Panel", 100, 50, 2);
    addSlantedPlate();  // brings the scene's materials into use
    // A material chosen for the page's swatch is one step; the swatch shows it.
    const int steps = doc->GetUndoHistory().GetCount();
    const int index = scene().getNumMaterials() - 1;
    ASSERT_GE(index, 0);
    SendPrivateMessage(panelPage, WM_MATERIAL_CHOSEN, CPanelPage::IDC_MATERIAL, index);
    EXPECT_EQ(panel->getMaterialName(), scene().getMaterial(index)->getName());
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);

    // Locks: every control greyed; unlocked, a 2D panel keeps Z and taper greyed.
    click(frame->FindWindow(CPanelPage::IDC_2D));
    struct Lock {
        wxWindow* page;
        int id;
        bool lockedEnabled, unlockedEnabled;
    } locks[] = {{panelPage, CPanelPage::IDC_NAME, false, true},   {panelPage, CPanelPage::IDC_TEXTURE, false, true},
                 {panelPage, CPanelPage::IDC_Z, false, false},     {panelPage, CPanelPage::IDC_TAPER, false, false},
                 {modelPage, CModelPage::IDC_BROWSE, false, true}, {modelPage, CModelPage::IDC_TEX_ON, false, true}};
    for (bool locked : {true, false}) {
        panelPage->Lock(locked);
        modelPage->Lock(locked);
        for (const Lock& l : locks)
            EXPECT_EQ(l.page->FindWindow(l.id)->IsThisEnabled(), locked ? l.lockedEnabled : l.unlockedEnabled)
                << l.id << (locked ? " locked" : " unlocked");
    }

    // A taken name typed into the model page is refused and a free one offered.
    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = app.m_strProgramDir + "/Models/cube.3ds";
    ASSERT_EQ(creator.CreateObject(), "Model");
    commit(modelPage->GetNameEdit(), "Panel");
    ASSERT_FALSE(host.messages.empty()) << "the view's host shows the page's refusal";
    EXPECT_EQ(host.messages.back().caption + ": " + host.messages.back().text, "Kelvano: \"Panel\" is already used!");
    EXPECT_EQ(modelPage->GetNameEdit()->GetValue(), "Panel001");
    commit(modelPage->GetNameEdit(), "Ship");
    EXPECT_NE(scene().findObject("Ship"), nullptr);

    // The full thumbnail list refuses the 257th picture with its box.
    auto* list = new CThumbnailListCtrl;
    list->Create(0, frame, 0, 0);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(list->AddItem("x.bmp"), 1);
    EXPECT_EQ(list->AddItem("x.bmp"), 0);
    EXPECT_EQ(recorder.boxes.back(), "Error: Cannot add item..!!");

    // The panel's window: Per Face without a file ticks all faces and greys
    // the tools; Wrapping frees them; a missing file has the panel's text.
    view->SelectObject(panel);
    auto* dlg = new CPanelTextureDlg(frame);
    const int none[6] = {0, 0, 0, 0, 0, 0};
    dlg->SetTextureFile("", 1, none);
    dlg->SetMappingMode(0);
    ASSERT_TRUE(dlg->Create());
    for (int f = 0; f < 6; ++f) EXPECT_TRUE(dlg->Face(f)->GetValue()) << f;
    EXPECT_EQ(dlg->Face(5)->GetLabel(), "Buttom");
    EXPECT_FALSE(dlg->Tool(CModelTextureDlg::IDC_MOVE)->IsEnabled());
    dlg->SetFileChooser([](wxWindow*, const std::string&, const std::string&, std::string& path) {
        path = "/nowhere/x.png";
        return true;
    });
    dlg->Browse();
    EXPECT_EQ(recorder.boxes.back(), "Kelvano: The texture image, \"/nowhere/x.png\" does not exist.");
    EXPECT_EQ(dlg->GetTexturePath(), "");
    dlg->OnClose();
    auto* text = new CTextTextureDlg(frame, false);
    ASSERT_TRUE(text->Create());
    EXPECT_EQ(text->ScaleId(), 1257);
    EXPECT_NE(text->Tool(1257), nullptr);
    // Escape closes the window as its close box does.
    bool closed = false;
    text->SetClosedHandler([&closed] { closed = true; });
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(text);
    text->GetEventHandler()->ProcessEvent(escape);
    EXPECT_TRUE(closed) << "Escape left the Texture window open";
    if (!closed) text->OnClose();
    pumpWxEvents(30);
}


// Modify in the bar's chooser edits a material, it does not choose one: the
// page's object keeps its own material and only the material's step is
// recorded; the swatch follows when the modified material is the object's.
TEST_F(PanelModelTest, ModifyInTheChooserLeavesTheObjectsMaterial) {
    for (const char* name : {"Red", "Blue"}) {
        auto* m = new pnMaterial;
        m->setName(name);
        m->setDiffuse(name[0] == 'R' ? 1.0f : 0.0f, 0.0f, name[0] == 'B' ? 1.0f : 0.0f);
        ASSERT_TRUE(scene().addAMaterialToScene(m));
    }
    // The simple editor answers OK with green.
    doc->m_nMaterialEditor = 0;
    recorder.other = [](wxDialog* dialog) {
        auto* editor = dynamic_cast<CColorDlg*>(dialog);
        if (!editor) return int(wxID_NONE);
        editor->SetColor(0.0f, 1.0f, 0.0f);
        return int(wxID_OK);
    };
    const wxColour green(0, 255, 0);
    auto modify = [&](wxWindow* page, int swatchId, const char* material) {
        click(page->FindWindow(swatchId));
        CMaterialDlg* chooser = bar->GetMaterialDlg();
        ASSERT_NE(chooser, nullptr);
        chooser->SelectMaterialByName(material, true);
        click(chooser->FindWindow(1405));  // Modify
        pumpWxEvents(30);
    };

    pnPanel* panel = makePanel("Panel", 100, 50, 2);
    CModelCreator creator(frame, bar);
    creator.m_strName = "Model";
    creator.m_strPath = app.m_strProgramDir + "/Models/cube.3ds";
    ASSERT_EQ(creator.CreateObject(), "Model");
    auto* model = static_cast<pnModel*>(scene().findObject("Model"));
    struct Page {
        pnObject* object;
        CObjectPageDlg* page;
        int swatchId;
    } pages[] = {{panel, panelPage, CPanelPage::IDC_MATERIAL}, {model, modelPage, CModelPage::IDC_MATERIAL}};
    for (const Page& p : pages) {
        scene().findMaterial("Blue")->setDiffuse(0, 0, 1);
        scene().findMaterial("Red")->setDiffuse(1, 0, 0);
        p.object->setMaterial("Red");
        doc->m_pSelectedObject = p.object;
        p.page->LoadFromObject(p.object, 0);
        auto* swatch = dynamic_cast<CColorButton*>(p.page->FindWindow(p.swatchId));
        ASSERT_NE(swatch, nullptr);
        ASSERT_EQ(swatch->GetColor(), wxColour(255, 0, 0));
        const int steps = doc->GetUndoHistory().GetCount();

        // Another swatch modified: the object keeps Red, one step (the material's).
        modify(p.page, p.swatchId, "Blue");
        EXPECT_EQ(p.object->getMaterialName(), "Red") << p.object->getName();
        EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1) << p.object->getName();
        EXPECT_EQ(swatch->GetColor(), wxColour(255, 0, 0)) << p.object->getName();
        EXPECT_EQ(scene().findMaterial("Blue")->getDiffuse()[1], 1.0f);
        // Its own material modified: the swatch shows the new colour.
        modify(p.page, p.swatchId, "Red");
        EXPECT_EQ(p.object->getMaterialName(), "Red");
        EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 2);
        EXPECT_EQ(swatch->GetColor(), green) << p.object->getName();
    }
    recorder.other = nullptr;
}


// The image file dialog's "Preview" box is the document's setting: it starts
// from it, and ticking it writes it.
TEST_F(PanelModelTest, ImageDialogPreviewIsTheDocumentsSetting) {
    ASSERT_EQ(doc->m_bShowImagePreview, 1);
    // Shows the dialog; shown() gets its box once it is up, then it cancels.
    auto show = [&](const std::function<void(wxCheckBox*)>& shown) {
        CPreviewImgDlg dlg(frame, app.m_strTextureDir, "", "Texture Image (*.png)|*.png|");
        bool reached = false;
        dlg.CallAfter([&] {
            wxWindow* extra = dlg.GetExtraControl();
            auto* box = extra ? dynamic_cast<wxCheckBox*>(extra->FindWindow(CPreviewImgDlg::IDC_PREVIEW)) : nullptr;
            reached = box != nullptr;
            if (box) shown(box);
            dlg.EndModal(wxID_CANCEL);
        });
        dlg.ShowModal();
        EXPECT_TRUE(reached) << "the dialog showed no Preview box";
    };
    auto untick = [](wxCheckBox* box) {
        EXPECT_TRUE(box->GetValue());
        box->SetValue(false);
        wxCommandEvent e(wxEVT_CHECKBOX, box->GetId());
        e.SetEventObject(box);
        e.SetInt(0);
        box->GetEventHandler()->ProcessEvent(e);
    };
    show(untick);
    EXPECT_EQ(doc->m_bShowImagePreview, 0);
    show([](wxCheckBox* box) { EXPECT_FALSE(box->GetValue()) << "the next dialog starts from the document"; });
    // Another document's setting (a new one starts with the preview on).
    doc->m_bShowImagePreview = 1;
    show(untick);
    EXPECT_EQ(doc->m_bShowImagePreview, 0);
    doc->m_bShowImagePreview = 1;
}

}  // namespace
