// The text page, the "Text" dialog, the edge and shadow dialog and the size
// and options dialogs as real wx windows under a private X server, on a
// headless view (OSMesa) with a recording host. Run through
// tests/e2e/run_in_xvfb.py.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnString.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/SavedText.h"
#include "tests/support/RenderTool.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "tests/support/WxTestRun.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/dialogs/CAddTextDlg.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/dialogs/CEdgeShadowDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNotifyComboBox.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/dialogs/CSizeDialogs.h"
#include "ui/properties/pages/CTextPage.h"
#include "ui/properties/controls/TextEditing.h"
#include "ui/properties/rules/TextRules.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

// Answers the modal dialog once it runs.
std::function<void()> answerDialog;

void click(wxWindow* w, wxEventType type) {
    wxCommandEvent e(type, w->GetId());
    e.SetEventObject(w);
    if (auto* box = dynamic_cast<wxCheckBox*>(w)) e.SetInt(box->GetValue());
    w->GetEventHandler()->ProcessEvent(e);
}

template <typename Edit>
void enter(Edit* edit, const std::string& text) {
    edit->ChangeValue(wxString::FromUTF8(text));
    click(edit, wxEVT_TEXT_ENTER);
}

// The focus comes, the text is typed over as keys do, Enter takes it, and
// the focus leaves for the view.
void typeEnterAndLeave(wxTextEntry* entry, wxWindow* field, const std::string& text) {
    wxFocusEvent got(wxEVT_SET_FOCUS, field->GetId());
    got.SetEventObject(field);
    field->GetEventHandler()->ProcessEvent(got);
    entry->SelectAll();
    entry->WriteText(wxString::FromUTF8(text));
    click(field, wxEVT_TEXT_ENTER);
    wxFocusEvent lost(wxEVT_KILL_FOCUS, field->GetId());
    lost.SetEventObject(field);
    field->GetEventHandler()->ProcessEvent(lost);
}

// The shown dialog of type T (the modal one when modal is set).
template <typename T>
T* shownDialog(bool modal) {
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<T*>(w); d && d->IsShown() && (!modal || d->IsModal())) return d;
    return nullptr;
}

std::string shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        pclose(p);
    }
    return out;
}

class TextEditingTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &relays;
        create();
        frame = new wxFrame(nullptr, wxID_ANY, "text", wxDefaultPosition, wxSize(700, 800));
        bar = new CEditBoxBar(frame, 105);
        InstallTextEditing(bar, view.get());
        page = dynamic_cast<CTextPage*>(bar->GetPage(PAGE_TEXT));
        frame->Show();
        pumpWxEvents(30);
    }
    void TearDown() override {
        frame->Destroy();
        pumpWxEvents(30);
        ViewTest::TearDown();
    }
    pnString* made(const std::string& name, const std::string& text = "Hello") {
        const std::string got = page->CreateText(name, text, "Liberation Sans", 64, 0);
        return dynamic_cast<pnString*>(scene().findObject(got.c_str()));
    }
    int steps() const { return doc->GetUndoHistory().GetCurrentIndex(); }
    std::string saved() const { return savedText(*view->GetScene()); }
    RecordingFrame relays;
    wxFrame* frame = nullptr;
    CEditBoxBar* bar = nullptr;
    CTextPage* page = nullptr;
};

}  // namespace

TEST(TextRulesTest, QualitiesFacesIntegersAndOutlines) {
    for (int q = 1; q <= 10; ++q) EXPECT_EQ(QualityFromPrecision(PrecisionFromQuality(q)), q) << q;
    EXPECT_EQ(QualityFromPrecision(0.6f), 5);
    const std::vector<std::string> faces = {"DejaVu Sans", "Liberation Sans", "Liberation Serif"};
    EXPECT_EQ(PickFace(faces, "Liberation", "x"), "Liberation Sans");
    EXPECT_EQ(PickFace(faces, "Arial", "Liberation Sans"), "Liberation Sans");
    EXPECT_EQ(PickFace(faces, "Arial", "Nothing"), "DejaVu Sans");
    EXPECT_EQ(FaceIndex(faces, "arial", "Liberation Sans"), 1);
    struct IntCase {
        const char* text;
        bool ok;
        int value;
    } ints[] = {{"12", true, 12}, {" -7 ", true, -7}, {"1.5", false, 0}, {"", false, 0}, {"9999999999", false, 0}};
    for (const IntCase& c : ints) {
        int v = 0;
        EXPECT_EQ(ParseWholeInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(EdgeShadowKind(2.5f, 3, 3), 1);
    EXPECT_EQ(EdgeShadowKind(0, 3, -3), 2);
    EXPECT_EQ(EdgeShadowKind(0, 0, 0), 0);
    const EdgeShadowValues edge = EdgeShadowApplied(1, 4, 3, 3), none = EdgeShadowApplied(0, 4, 3, 3);
    EXPECT_EQ(edge.border, 4.0f);
    EXPECT_EQ(edge.hOffset + edge.vOffset + none.border + none.hOffset, 0.0f);
}

TEST_F(TextEditingTest, FaceListsAreTheOutlineFamiliesOfFontconfig) {
    std::set<std::string> listed;
    std::string all = shell("fc-list :outline=true family");
    for (size_t at = 0; at < all.size();) {
        const size_t end = all.find('\n', at);
        const std::string line = all.substr(at, end - at);
        if (!line.empty()) listed.insert(line.substr(0, line.find(',')));
        at = end == std::string::npos ? all.size() : end + 1;
    }
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(page->Faces(), std::vector<std::string>(listed.begin(), listed.end()));
    CAddTextDlg dlg(161, frame);
    EXPECT_EQ(dlg.Faces(), page->Faces());
    // "Arial" is no family here: the dialog and a stored "arial" show its match.
    EXPECT_EQ(dlg.m_strFace, "Liberation Sans");
    pnString* text = made("Text");
    text->setFont("arial");
    page->LoadFromObject(text, 0);
    EXPECT_EQ(page->m_pFont->GetStringSelection(), "Liberation Sans");
    EXPECT_EQ(text->getFont(), "arial");
}

TEST_F(TextEditingTest, CreateTextNamesBuildsAndAddTextWithAnEmptyTextMakesNothing) {
    pnString* first = made("Text");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getDepth(), 20.0f);
    EXPECT_EQ(made("Text")->getName(), "Text001");
    ASSERT_NE(scene().findEvent("Text001"), nullptr);
    EXPECT_EQ(page->m_pName->GetValue(), "Text001");
    // The dialog proposes the next free name and refuses a taken one.
    CAddTextDlg dlg(161, frame);
    EXPECT_EQ(dlg.m_pName->GetValue(), "Text002");
    dlg.m_pName->ChangeValue("Text");
    EXPECT_FALSE(dlg.TryOK());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"Text\" is alreay used!");
    EXPECT_EQ(host.messages[0].caption, "Name conflicted !");
    EXPECT_EQ(dlg.m_pName->GetValue(), "Text002");
    EXPECT_TRUE(dlg.TryOK());

    // Add Text through the view: the dialog answered with "" or "Hi".
    for (const char* typed : {"", "Hi"}) {
        SCOPED_TRACE(typed);
        view->OnCommand(kv::ID_MODE_SCALE);
        view->OnCommand(kv::ID_AXIS_X);
        answerDialog = [typed] {
            for (wxWindow* w : wxTopLevelWindows)
                if (auto* d = dynamic_cast<CAddTextDlg*>(w); d && d->IsModal()) {
                    d->m_pText->ChangeValue(typed);
                    d->m_pName->ChangeValue("Added");
                    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                    d->GetEventHandler()->ProcessEvent(ok);
                    return;
                }
            wxTheApp->CallAfter(answerDialog);
        };
        wxTheApp->CallAfter(answerDialog);
        const int before = scene().getNumObjects();
        EXPECT_EQ(view->OnAddObject(kv::ID_ADD_TEXT), *typed ? 1 : 0);
        EXPECT_EQ(scene().getNumObjects(), before + (*typed ? 1 : 0));
        EXPECT_EQ(view->m_bPlacing, *typed ? 1 : 0);
        if (*typed) {
            EXPECT_NE(scene().findObject("Added"), nullptr);
            EXPECT_EQ(view->m_nTransformMode, 0);
            EXPECT_EQ(view->m_bAxisX + view->m_bAxisY, 2);
        }
    }
}

TEST_F(TextEditingTest, PageHandlersApplyEachChangeAsOneStep) {
    pnString* text = made("Text");
    ASSERT_NE(text, nullptr);
    doc->ClearUndoHistory();
    // Ten qualities go to the text and come back on a load.
    for (int index = 0; index < 10; ++index) {
        page->m_pQuality->SetSelection(index);
        click(page->m_pQuality, wxEVT_CHOICE);
        page->m_pQuality->SetSelection(0);
        page->LoadFromObject(text, 0);
        EXPECT_EQ(page->m_pQuality->GetSelection(), index);
    }
    EXPECT_NEAR(text->getPrecision(), 0.1f, 1e-6);
    // A size not in the list.
    enter(page->m_pSize, "50");
    EXPECT_EQ(text->getSize(), 50.0f);
    page->LoadFromObject(text, 0);
    EXPECT_EQ(page->m_pSize->GetValue(), "50");
    // Every keystroke of the text is a step.
    doc->ClearUndoHistory();
    for (const char* typed : {"H", "Hi", "Hi!"}) {
        page->m_pText->ChangeValue(typed);
        SendPrivateMessage(page, WM_NUMEDIT_CHANGED, 1009, 0);
    }
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(text->getString(), "Hi!");
    // Bevel: committed "%3.1f", the spin in tenths.
    enter(page->m_pBevelWidth, "2.5");
    EXPECT_EQ(text->getBevel(0), 2.5f);
    EXPECT_EQ(page->m_pBevelWidthSpin->GetValue(), 25);
    EXPECT_EQ(page->m_pBevelWidth->GetValue(), "2.5");
    // N and W exclude each other; the click that clears the other is one step.
    page->m_pWJust->ChangeValue("30");
    page->m_pWJustCheck->SetValue(true);
    click(page->m_pWJustCheck, wxEVT_CHECKBOX);
    const int beforeN = steps();
    page->m_pNJust->ChangeValue("40");
    page->m_pNJustCheck->SetValue(true);
    click(page->m_pNJustCheck, wxEVT_CHECKBOX);
    EXPECT_FALSE(page->m_pWJustCheck->GetValue());
    EXPECT_EQ(text->getWJust(), 0.0f);
    EXPECT_EQ(text->getNJust(), 40.0f);
    EXPECT_EQ(steps(), beforeN + 1);
    // 2D disables the 3D controls and enables Edge/Shadow.
    page->m_p2D->SetValue(true);
    click(page->m_p2D, wxEVT_CHECKBOX);
    EXPECT_EQ(text->getKind(), 0);
    EXPECT_FALSE(page->m_pBevelWidth->IsEnabled());
    EXPECT_TRUE(page->m_pEdgeShadow->IsEnabled());
    // A texture radio is a step of its own and marks the scene modified.
    const int before = steps();
    view->m_bModified = 0;
    page->m_pTextureOn->SetValue(true);
    click(page->m_pTextureOn, wxEVT_RADIOBUTTON);
    EXPECT_EQ(text->getMode(), 1);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(view->m_bModified, 1);
    // Saved and opened again, the textured text shows "On" as before: the
    // page read the image-sequence flag and showed "Off".
    text->setTexture((std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/Textures/brick.png").c_str());
    const std::string path = folder() + "/textured.apn";
    ASSERT_EQ(view->SaveSceneTo(path), 1);
    view->m_bModified = 0;
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    auto* reopened = dynamic_cast<pnString*>(scene().findObject("Text"));
    ASSERT_NE(reopened, nullptr);
    page->m_pTextureOff->SetValue(true);
    page->LoadFromObject(reopened, 0);
    EXPECT_TRUE(page->m_pTextureOn->GetValue());
}

// A value typed and taken with Enter is taken again when the focus leaves
// the field: the two are one step, which one Undo takes back. So is a click
// on "N Just." while "W Just." is checked, which clears W with it.
TEST_F(TextEditingTest, EnterThenLeavingAFieldIsOneStep) {
    ASSERT_NE(made("Text"), nullptr);
    auto text = [&] { return pnKindCast<pnString>(scene().findObject("Text")); };
    doc->ClearUndoHistory();
    const std::string opened = saved();
    typeEnterAndLeave(page->m_pDepth, page->m_pDepth, "35");
    EXPECT_EQ(text()->getDepth(), 35.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    typeEnterAndLeave(page->m_pSize, page->m_pSize, "50");
    EXPECT_EQ(text()->getSize(), 50.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 2);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(text()->getSize(), 64.0f);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), opened) << "two Undos take back the two values";
    EXPECT_FALSE(doc->CanUndo());

    // W Just. 30, then N Just. 40 checked: one step, and one Undo gives W back.
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_EQ(view->OnEditRedo(), 1);
    page->LoadFromObject(text(), 0);
    doc->ClearUndoHistory();
    page->m_pWJust->ChangeValue("30");
    page->m_pWJustCheck->SetValue(true);
    click(page->m_pWJustCheck, wxEVT_CHECKBOX);
    ASSERT_EQ(text()->getWJust(), 30.0f);
    const std::string wideJust = saved();
    page->m_pNJust->ChangeValue("40");
    page->m_pNJustCheck->SetValue(true);
    click(page->m_pNJustCheck, wxEVT_CHECKBOX);
    EXPECT_EQ(text()->getWJust(), 0.0f);
    EXPECT_EQ(text()->getNJust(), 40.0f);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 2);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), wideJust);
}

// Edge/Shadow from the text page is one step from its opening to OK: a
// material modified in its swatch's chooser meanwhile is part of it, so one
// Undo puts back the edge and the colour, and Redo gives both again. Cancel
// with nothing changed records nothing.
TEST_F(TextEditingTest, EdgeShadowWithItsChoosersModifyIsOneStep) {
    ASSERT_NE(made("Text"), nullptr);
    auto text = [&] { return pnKindCast<pnString>(scene().findObject("Text")); };
    auto* shade = new pnMaterial;
    shade->setName("shade");
    shade->setDiffuse(sgVec3(0.2f, 0.2f, 0.2f));
    ASSERT_TRUE(scene().addAMaterialToScene(shade));
    page->m_p2D->SetValue(true);
    click(page->m_p2D, wxEVT_CHECKBOX);
    ASSERT_EQ(text()->getKind(), 0);
    ASSERT_TRUE(page->m_pEdgeShadow->IsEnabled());
    doc->ClearUndoHistory();
    const std::string before = saved();

    // Cancel with nothing changed.
    view->SetModified(false);
    wxTheApp->CallAfter([] {
        auto* dlg = shownDialog<CEdgeShadowDlg>(true);
        ASSERT_NE(dlg, nullptr);
        wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
        dlg->GetEventHandler()->ProcessEvent(cancel);
    });
    click(page->m_pEdgeShadow, wxEVT_BUTTON);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 0);
    EXPECT_EQ(view->m_bModified, 0);

    // Edge 2.0; the swatch's chooser modifies "shade" and chooses it; OK.
    bool modified = false;
    wxTheApp->CallAfter([&] {
        auto* dlg = shownDialog<CEdgeShadowDlg>(true);
        ASSERT_NE(dlg, nullptr);
        dlg->m_pRadio[1]->SetValue(true);
        click(dlg->m_pRadio[1], wxEVT_RADIOBUTTON);
        dlg->m_pEdit[0]->ChangeValue("2.0");
        // The chooser is modal on the dialog: it works in its own turn.
        wxTheApp->CallAfter([&] {
            auto* chooser = shownDialog<CMaterialDlg>(true);
            ASSERT_NE(chooser, nullptr);
            // Without a back material the chooser opens on the newest, "shade".
            EXPECT_EQ(chooser->Logic().GetMaterialIndex(), scene().findMaterialIndex("shade"));
            // The simple editor, modal over the chooser, takes a red.
            wxTheApp->CallAfter([&] {
                auto* editor = shownDialog<CColorDlg>(true);
                ASSERT_NE(editor, nullptr);
                editor->SetColor(0.9f, 0.1f, 0.1f);
                wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                editor->GetEventHandler()->ProcessEvent(ok);
                modified = true;
            });
            chooser->Logic().Modify(0);
            chooser->Logic().Choose();
            if (chooser->IsModal()) chooser->Hide();
        });
        click(dlg->m_pSwatch, wxEVT_BUTTON);
        EXPECT_EQ(dlg->GetBackMaterial(), "shade");
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dlg->GetEventHandler()->ProcessEvent(ok);
    });
    click(page->m_pEdgeShadow, wxEVT_BUTTON);
    ASSERT_TRUE(modified);
    EXPECT_FLOAT_EQ(scene().findMaterial("shade")->getDiffuse()[0], 0.9f);
    EXPECT_EQ(text()->getBorder(), 2.0f);
    EXPECT_EQ(text()->getBackMaterial(), "shade");
    const std::string after = saved();
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1) << "the chooser's Modify is part of the dialog's step";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(saved(), before) << "one Undo puts back the edge and the colour";
    EXPECT_FALSE(doc->CanUndo());
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(saved(), after);
}

// Text pasted or cut into "Input Text" showed in the edit but never reached
// the 3D text: only typed keys were reported. A paste (by key, the menu or
// the middle button), a cut and a replacement by an input method all are.
TEST_F(TextEditingTest, PastedAndCutInputTextReachesTheText) {
    pnString* text = made("Text");
    ASSERT_NE(text, nullptr);
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("World"));
    wxTheClipboard->Close();
    page->m_pText->SelectAll();
    page->m_pText->Paste();
    pumpWxEvents(60);
    EXPECT_EQ(page->m_pText->GetValue(), "World");
    EXPECT_EQ(text->getString(), "World");
    page->m_pText->SetSelection(0, 2);
    page->m_pText->Cut();
    pumpWxEvents(30);
    EXPECT_EQ(text->getString(), "rld");
    page->m_pText->Replace(0, 3, "Hello");
    pumpWxEvents(30);
    EXPECT_EQ(text->getString(), "Hello");
    // Text the program puts there (another selection's) is no edit.
    const int before = steps();
    page->LoadFromObject(text, 0);
    EXPECT_EQ(steps(), before);
}

// Add Text with an emptied name closed and made nothing without a word; a
// name that an event holds (a light's, the camera's) made a text without an
// event. Both are refused as a taken name is.
TEST_F(TextEditingTest, AddTextRefusesAnEmptyNameAndEventNames) {
    CAddTextDlg dlg(161, frame);
    const std::string light = scene().getLight(0)->getName();
    for (const std::string& name : {std::string(""), light, std::string("Camera")}) {
        host.messages.clear();
        dlg.m_pName->ChangeValue(wxString::FromUTF8(name));
        EXPECT_FALSE(dlg.TryOK()) << name;
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, name.empty() ? "Please enter a name." : "\"" + name + "\" is alreay used!");
        EXPECT_FALSE(dlg.m_pName->GetValue().empty());
    }
}

TEST_F(TextEditingTest, RenameCascadesAndRefusesTakenEmptyAndLongNames) {
    pnString* text = made("Text");
    made("dup");
    view->SelectObject(text);
    for (const char* name : {"top", "x", "leaf"}) {
        auto* e = new pnEvent;
        e->setName(name);
        ASSERT_TRUE(scene().addEvent(e));
        scene().addObjectsToScene(e);
    }
    auto nest = [this](const char* child, const char* parent) {
        pnEvent* e = scene().findEvent(child);
        e->setParent(parent);
        scene().moveEventNode(e, -1);
    };
    nest("x", "top");
    nest("Text", "top");
    nest("leaf", "Text");
    page->LoadFromObject(text, 0);
    doc->ClearUndoHistory();

    wxFocusEvent got(wxEVT_SET_FOCUS, page->m_pName->GetId());
    page->m_pName->GetEventHandler()->ProcessEvent(got);
    enter(page->m_pName, "Greeting");
    EXPECT_EQ(text->getName(), "Greeting");
    EXPECT_EQ(scene().findEvent("leaf")->getParent(), "Greeting");
    pnEvent* top = scene().findEvent("top");
    EXPECT_EQ(std::string(top->getChildName(1)), "Greeting");
    EXPECT_EQ(relays.callsOf("RenameObjectListItem"), std::vector<std::string>{"Text,Greeting"});
    EXPECT_EQ(relays.callsOf("AddObjectChooserName").back(), "Greeting");
    // The focus leaving after Enter commits nothing more.
    wxFocusEvent lost(wxEVT_KILL_FOCUS, page->m_pName->GetId());
    page->m_pName->GetEventHandler()->ProcessEvent(lost);
    EXPECT_EQ(steps(), 0);

    struct Case {
        const char* what;
        std::string typed;
        std::string shown;
        size_t messages;
    } cases[] = {
        {"taken", "dup", "dup001", 1},
        {"empty", "", "Greeting", 1},
        {"128 bytes", std::string(128, 'a'), "Greeting", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        enter(page->m_pName, c.typed);
        EXPECT_EQ(text->getName(), "Greeting");
        EXPECT_EQ(page->m_pName->GetValue().ToStdString(), c.shown);
        EXPECT_EQ(steps(), 0);
        EXPECT_EQ(host.messages.size(), c.messages);
    }
    EXPECT_EQ(host.messages[0].text, "\"dup\" is already used!");
    EXPECT_EQ(host.messages[0].caption, "Kelvano");
    EXPECT_EQ(page->m_bNameGuard, 1);
}

TEST_F(TextEditingTest, TextDialogFontsCellsAndClicks) {
    CAddTextDlg dlg(161, frame);
    EXPECT_EQ(dlg.GetTextFontHeight(), 96);
    EXPECT_EQ(dlg.m_pCells->GetCellHeight(), 15);
    dlg.m_pSize->SetSelection(9);
    dlg.OnSizeChange();
    EXPECT_EQ(dlg.GetTextFontHeight(), 168);
    dlg.OnFaceChange();
    EXPECT_EQ(dlg.m_pCells->GetCellHeight(), 22);
    // 'A' is cell 32: appended at the end, or in place of a selection.
    const wxPoint a = dlg.m_pCells->CellRect('A' - 33).GetPosition() + wxPoint(3, 3);
    dlg.m_pText->ChangeValue("xyz");
    dlg.m_strText = "xyz";
    dlg.m_pText->SetInsertionPoint(0);
    dlg.OnCellClick(a);
    EXPECT_EQ(dlg.m_pText->GetValue(), "xyzA");
    dlg.m_pText->SetSelection(0, 2);
    dlg.OnCellClick(a);
    EXPECT_EQ(dlg.m_pText->GetValue(), "AzA");

    // A face without capitals shows their cells empty and types nothing.
    const std::string dir = folder();
    const std::string font = dir + "/nocaps.ttf";
    shell("pyftsubset /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "
          "--unicodes=U+0021-0040,U+005B-007E --output-file=" + font + " 2>&1");
    // The family renamed with the interpreter that runs pyftsubset (it has fontTools).
    shell("$(head -1 $(command -v pyftsubset) | cut -c3-) -c \"from fontTools.ttLib import TTFont; f = TTFont('" + font +
          "'); [r.__setattr__('string', 'NoCaps Test') for r in f['name'].names if r.nameID in (1, 4, 16)]; "
          "f.save('" + font + "')\"");
    ASSERT_TRUE(FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(font.c_str())));
    dlg.m_pCells->SetFace("NoCaps Test", 22, false);
    for (int c = 33; c < 128; ++c) {
        const bool capital = c >= 'A' && c <= 'Z';
        EXPECT_EQ(dlg.m_pCells->CellText(c - 33).empty(), capital || c == 127) << c;
    }
    dlg.OnCellClick(a);
    EXPECT_EQ(dlg.m_pText->GetValue(), "AzA");
}

TEST_F(TextEditingTest, EdgeShadowOpensOnTheRadioClampsAndAppliesOnlyOnOk) {
    pnString* text = made("Text");
    struct Open {
        float border, h, v;
        int kind;
    } opens[] = {{2.5f, 0, 0, 1}, {0, 3, -3, 2}, {0, 0, 0, 0}};
    for (const Open& o : opens) {
        text->setBorder(o.border);
        text->setHOffset(o.h);
        text->setVOffset(o.v);
        CEdgeShadowDlg dlg(frame);
        dlg.SetTargetObject(text);
        dlg.SetOwnerObject(text);
        dlg.Open();
        EXPECT_EQ(dlg.GetKind(), o.kind);
        EXPECT_TRUE(dlg.m_pRadio[o.kind]->GetValue());
    }
    CEdgeShadowDlg dlg(frame);
    dlg.SetTargetObject(text);
    dlg.Open();
    dlg.SetKind(2);
    enter(dlg.m_pEdit[1], "150");
    EXPECT_EQ(dlg.m_pEdit[1]->GetValue(), "100.0");
    EXPECT_EQ(dlg.m_pSpin[1]->GetValue(), 1000);
    enter(dlg.m_pEdit[0], "4");
    ASSERT_TRUE(dlg.Apply());
    EXPECT_EQ(text->getBorder(), 0.0f);
    EXPECT_EQ(text->getHOffset(), 100.0f);

    // A 3D style stays 3D when the dialog is cancelled, turns 2D on OK.
    pnStringProperty style;
    style.setKind(1);
    {
        CEdgeShadowDlg cancelled(frame);
        cancelled.SetTargetStyle(&style);
        cancelled.Open();
    }
    EXPECT_EQ(style.getKind(), 1);
    CEdgeShadowDlg applied(frame);
    applied.SetTargetStyle(&style);
    applied.Open();
    applied.SetKind(1);
    enter(applied.m_pEdit[0], "3");
    ASSERT_TRUE(applied.Apply());
    EXPECT_EQ(style.getKind(), 0);
    EXPECT_EQ(style.getBorder(), 3.0f);
}

TEST_F(TextEditingTest, ImageSizeKeepsTheTypedSideAndOptionsTakeIntegersOnly) {
    CImageSizeDlg size(frame);
    size.m_nWidth = 640;
    size.m_nHeight = 480;
    size.m_bConstrain = 1;
    size.Start();
    for (const char* typed : {"2", "24", "240"}) size.m_pHeight->SetValue(typed);
    EXPECT_EQ(size.m_pHeight->GetValue(), "240");
    EXPECT_EQ(size.m_pWidth->GetValue(), "320");
    ASSERT_TRUE(size.TryOK());
    EXPECT_EQ(size.m_nWidth, 320);
    // A typed side is never recomputed: height 100 at 4:3 stays 100.
    for (const char* typed : {"1", "10", "100"}) size.m_pHeight->SetValue(typed);
    EXPECT_EQ(size.m_pHeight->GetValue(), "100");
    EXPECT_EQ(size.m_pWidth->GetValue(), "133");
    ASSERT_TRUE(size.TryOK());
    EXPECT_EQ(size.m_nHeight, 100);
    // No usable ratio: nothing is recomputed; a side below 1 is refused.
    size.m_pHeight->SetValue("0");
    size.m_pConstrain->SetValue(false);
    click(size.m_pConstrain, wxEVT_CHECKBOX);
    size.m_pConstrain->SetValue(true);
    click(size.m_pConstrain, wxEVT_CHECKBOX);
    size.m_pWidth->SetValue("100");
    EXPECT_EQ(size.m_pHeight->GetValue(), "0");
    EXPECT_FALSE(size.TryOK());
    // Sides run 1 to 4096, as a scene file's size is held; a huge typed side
    // never wraps the other one round to a negative number.
    size.m_pHeight->SetValue("200");
    size.m_pConstrain->SetValue(false);
    click(size.m_pConstrain, wxEVT_CHECKBOX);
    size.m_pConstrain->SetValue(true);
    click(size.m_pConstrain, wxEVT_CHECKBOX);  // ratio 1:2
    size.m_pHeight->SetValue("2000000000");
    EXPECT_EQ(size.m_pWidth->GetValue(), "1000000000");
    EXPECT_FALSE(size.TryOK());
    size.m_pWidth->SetValue("2147483647");
    EXPECT_EQ(size.m_pHeight->GetValue(), "2147483647");
    EXPECT_FALSE(size.TryOK());
    size.m_pWidth->SetValue("2048");
    EXPECT_EQ(size.m_pHeight->GetValue(), "4096");
    ASSERT_TRUE(size.TryOK());
    EXPECT_EQ(size.m_nHeight, 4096);
    size.m_pWidth->SetValue("2049");
    EXPECT_EQ(size.m_pHeight->GetValue(), "4098");
    EXPECT_FALSE(size.TryOK());

    CEditOptionsDlg options(frame);
    options.Start();
    EXPECT_EQ(options.m_pX->GetValue(), "10");
    options.m_pX->ChangeValue("1.5");
    EXPECT_FALSE(options.TryOK());
    EXPECT_EQ(host.messages.back().text, "Please enter an integer.");
    options.m_pX->ChangeValue("-4");
    EXPECT_TRUE(options.TryOK());
    EXPECT_EQ(doc->m_nCopyOffsetX, -4);
}

namespace {

// The first and last columns that hold a pixel brighter than the black
// background within rows [top, bottom) (counted from the top); (w, -1) for none.
struct Span {
    int first, last;
    int width() const { return last < first ? 0 : last - first + 1; }
};

Span drawnSpan(const std::function<RGBA(int, int)>& pixel, int width, int top, int bottom) {
    Span s{width, -1};
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < width; ++x) {
            const RGBA c = pixel(x, y);
            if (std::max({c.r, c.g, c.b}) > 60) s.first = std::min(s.first, x), s.last = std::max(s.last, x);
        }
    return s;
}

}  // namespace

// Bordered flat texts keep the place they opened in: a text built from its
// style (its letters spaced by twice the border), one with its own border
// (not spaced) and a counter of the same style (each digit spaced). Opened,
// after edits on the text page, saved, opened again and as the render tool
// draws the saved file.
TEST_F(TextEditingTest, BorderedFlatTextsKeepTheirPlaceThroughEditsAndSaves) {
    REQUIRE_TOOL("convert");
    const std::string face = "    size\t48\n    gap\t\t0\n    depth\t0\n    ratio\t1\n    bevel\t(0 0)\n"
                             "    precision\t0.6\n    font\t\"arial\"\n";
    const std::string text =
        "scene {\n    name\t\"styled\"\n    width\t580\n    height\t392\n    version\t250\n}\n\n"
        "viewpoint {\n    name\t\"camera\"\n    position\t( 0 0 906 )\n    direction\t( 0 0 -1 )\n"
        "    near\t10\n    far\t\t5000\n    fov\t\t30\n    width\t\t720\n    perspective\t\t1\n}\n\n"
        "background {\n    name\t\"Background\"\n    color\t( 0 0 0 1 )\n    useTexture\t0\n}\n\n"
        "material {\n    name\t\"ink\"\n    diffuse\t( 0 0 0 )\n    ambient\t( 0 0 0 )\n    emission\t( 1 1 1 )\n}\n\n"
        "material {\n    name\t\"rim\"\n    diffuse\t( 0 0 0 )\n    ambient\t( 0 0 0 )\n    emission\t( 1 0 0 )\n}\n\n"
        "stringProperty {\n    name\t\"Boxed\"\n" + face + "    border\t3\n    kind\t\"2D\"\n    hJust\t\"Center\"\n}\n\n"
        "string {\n    name\t\"styled\"\n    position\t( 0 160 0 )\n    material\t\"ink\"\n    string\t\"Wide\"\n"
        "    stringProperty\t\"Boxed\"\n" + face + "    backMaterial\t\"rim\"\n    kind\t\"2D\"\n    border\t3\n"
        "    hJust\tCenter\n}\n\n"
        "string {\n    name\t\"own\"\n    position\t( 0 0 0 )\n    material\t\"ink\"\n    string\t\"Wide\"\n" + face +
        "    backMaterial\t\"rim\"\n    kind\t\"2D\"\n    border\t3\n    hJust\tCenter\n}\n\n"
        "counter {\n    name\t\"count\"\n    position\t( 0 -160 0 )\n    material\t\"ink\"\n"
        "    stringProperty\t\"Boxed\"\n    backMaterial\t\"rim\"\n    initValue\t12345\n    finalValue\t12345\n"
        "    useComma\t1\n    numFraction\t0\n}\n\n"
        "event {\n    name\t\"styled\"\n    objectName\t\"styled\"\n}\n\n"
        "event {\n    name\t\"own\"\n    objectName\t\"own\"\n}\n\n"
        "event {\n    name\t\"count\"\n    objectName\t\"count\"\n}\n";
    TempDir dir("kelvano-styled-text");
    const std::string opened = dir.write("styled.apn", text), saved = dir.file("saved.apn");
    const int w = kDefaultSceneWidth, h = kDefaultSceneHeight;
    // The spans of the styled text, the other text and the counter, top down.
    using Spans = std::vector<Span>;
    auto spans = [&](const std::function<RGBA(int, int)>& pixel) {
        return Spans{drawnSpan(pixel, w, 0, h / 3), drawnSpan(pixel, w, h / 3, 2 * h / 3),
                     drawnSpan(pixel, w, 2 * h / 3, h)};
    };
    auto shown = [&] {
        const Frame f = draw();
        return spans([&](int x, int y) { return f.at(x, h - 1 - y); });
    };
    auto expectSpans = [](const Spans& got, const Spans& want, const char* when) {
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_NEAR(got[i].first, want[i].first, 1) << when << ", row " << i;
            EXPECT_NEAR(got[i].last, want[i].last, 1) << when << ", row " << i;
        }
    };
    view->m_strPendingOpen = opened;
    ASSERT_EQ(view->OnFileOpen(), 1);
    const Spans first = shown();
    ASSERT_GT(first[1].width(), 60);
    ASSERT_GT(first[2].width(), 60);
    // 4 letters spaced by 6 units each, at about 0.8 pixels a unit.
    EXPECT_GT(first[0].width(), first[1].width() + 10) << "the styled text opens spaced by its border";

    // The spacing typed on the page, then put back, on each text.
    for (const char* name : {"styled", "own"}) {
        auto* edited = dynamic_cast<pnString*>(scene().findObject(name));
        ASSERT_TRUE(edited);
        view->SelectObject(edited);
        page->LoadFromObject(edited, 0);
        enter(page->m_pSpacing, "8");
        ASSERT_EQ(edited->getGap(), 8.0f);
        const size_t row = name == std::string("own") ? 1 : 0;
        EXPECT_GT(shown()[row].width(), first[row].width() + 10) << name << ": the edit reaches the picture";
        enter(page->m_pSpacing, "0");
        ASSERT_EQ(edited->getGap(), 0.0f);
        expectSpans(shown(), first, "after a spacing edit on the page");
        // Typed text rebuilds without a change of the face (nor of its style).
        for (const char* typed : {"Wid", "Wide"}) {
            page->m_pText->ChangeValue(typed);
            SendPrivateMessage(page, WM_NUMEDIT_CHANGED, 1009, 0);
        }
        ASSERT_EQ(edited->getString(), "Wide");
        expectSpans(shown(), first, "after typing on the page");
    }

    view->m_strPathName = saved;
    ASSERT_EQ(view->OnFileSave(), 1);
    view->m_strPendingOpen = saved;
    ASSERT_EQ(view->OnFileOpen(), 1);
    expectSpans(shown(), first, "opened again");

    RenderToolImage tool;
    ASSERT_TRUE(renderWithTool(saved, "", dir.file("saved.png"), tool, dir.path())) << tool.log;
    ASSERT_EQ(tool.width, w);
    expectSpans(spans([&](int x, int y) { return tool.at(x, y); }), first, "drawn by the render tool");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    return runWxTests(argc, argv, [] { wxTheApp->OnInit(); });
}
