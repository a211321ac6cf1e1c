// The colour editor and the material chooser as real wx windows under a
// private X server, on a view whose scene has no GL side: Enter in the
// editor's edits, and the chooser's entry point for owners.
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "tests/app/RecordingHost.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/dialogs/CEdgeShadowDlg.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CColorPaletteCtrl.h"
#include "ui/properties/dialogs/CMaterialDetailDlg.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/modalhook.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
        app.m_pCurrentView = view.get();
        app.m_pCurrentDoc = doc.get();
        view->m_pScene = std::make_unique<pnScene>();
        for (int i = 0; i < 20; ++i) {
            auto* m = new pnMaterial;
            m->setName(("M" + std::to_string(i)).c_str());
            view->m_pScene->addAMaterialToScene(m);
        }
        frame = new wxFrame(nullptr, wxID_ANY, "owner", wxDefaultPosition, wxSize(300, 200));
        frame->Show();
    }
    void TearDown() override {
        frame->Destroy();
        pump();
        view->m_pScene.reset();
        view.reset();
    }
    static void pump() {
        for (int i = 0; i < 20; ++i) {
            wxTheApp->ProcessPendingEvents();
            if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_ALL);
            wxMilliSleep(5);
        }
    }
    static void type(wxWindow* dlg, int id, const char* text) {
        auto* edit = dynamic_cast<CNumEdit*>(dlg->FindWindow(id));
        ASSERT_NE(edit, nullptr) << id;
        edit->ChangeValue(text);
        wxCommandEvent e(wxEVT_TEXT_ENTER, id);
        e.SetEventObject(edit);
        edit->GetEventHandler()->ProcessEvent(e);
    }

    CKelvanoAppState app;
    RecordingHost host;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
    wxFrame* frame = nullptr;
};

}  // namespace

TEST_F(DialogsTest, EnterInAValueEditClosesWithOkButATakenNameKeepsTheEditorOpen) {
    CColorDlg dlg(121, frame);
    EXPECT_EQ(dlg.GetTitle(), "Material Editor");
    dlg.SetColor(0.2f, 0.4f, 0.8f);
    dlg.SetName("M3");
    EXPECT_EQ(dlg.GetNameString(), "M3001");
    bool stayed = false;
    dlg.CallAfter([&] {
        type(&dlg, 1740, "M5");
        stayed = dlg.IsModal();
        EXPECT_EQ(dynamic_cast<CNumEdit*>(dlg.FindWindow(1740))->GetText(), "M5001");
        type(&dlg, 1201, "0.25");
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    EXPECT_TRUE(stayed) << "Enter with a taken name closed the editor";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"M5\" is already used!");
    EXPECT_FLOAT_EQ(dlg.GetColor()[1], 0.25f);
    EXPECT_FLOAT_EQ(dlg.GetColor()[2], 0.8f);
    EXPECT_EQ(dlg.GetNameString(), "M5001");
}

TEST_F(DialogsTest, OneChooserServesEveryOwnerAndReportsChoices) {
    std::vector<std::tuple<int, int, int>> heard;
    auto listener = [&heard](int message, int id, int index) { heard.emplace_back(message, id, index); };
    wxWeakRef<CMaterialDlg> slot;
    CMaterialDlg* first = CMaterialDlg::ShowFor(slot, frame, frame, 77, "M10", listener);
    ASSERT_NE(first, nullptr);
    pump();
    EXPECT_TRUE(first->IsShown());
    EXPECT_EQ(first->GetTitle(), "Color");
    EXPECT_EQ(first->Logic().GetMaterialIndex(), 10);

    // OK on the owner's own material only hides.
    wxCommandEvent ok(wxEVT_BUTTON, 1519);
    first->GetEventHandler()->ProcessEvent(ok);
    EXPECT_FALSE(first->IsShown());
    EXPECT_TRUE(heard.empty());

    // Re-targeted to another owner: the same window, on its material.
    CMaterialDlg* again = CMaterialDlg::ShowFor(slot, frame, frame, 88, "M2", listener);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->Logic().GetMaterialIndex(), 2);
    // M2 is grid index 17: the second page, the last one.
    EXPECT_EQ(again->Logic().m_nPage, 1);
    EXPECT_TRUE(again->FindWindow(1369)->IsEnabled());
    EXPECT_FALSE(again->FindWindow(1380)->IsEnabled());
    ASSERT_TRUE(again->Logic().Click(20, 20));  // grid 16: M3
    again->OnEnterKey(false);
    again->OnEnterKey(true);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::make_tuple(int(WM_MATERIAL_CHOSEN), 88, 3));
    EXPECT_FALSE(again->IsShown());

    CMaterialDlg::ShowFor(slot, frame, frame, 88, "M2");
    again->OnDeactivate();
    EXPECT_FALSE(again->IsShown());
    again->Destroy();
    pump();
    EXPECT_FALSE(slot) << "the slot forgets a destroyed chooser";
}

namespace {

// Cancels the detailed editor once it is up, writing down the colour under
// its palette marker.
class DetailEditorProbe : public wxModalDialogHook {
public:
    DetailEditorProbe() { Register(); }
    ~DetailEditorProbe() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (!dynamic_cast<CMaterialDetailDlg*>(dialog)) return wxID_NONE;
        for (wxWindow* child : dialog->GetChildren())
            if (auto* palette = dynamic_cast<CColorPaletteCtrl*>(child)) {
                std::array<float, 3> c;
                palette->ColorAt(palette->GetMarker(), c.data());
                marked.push_back(c);
            }
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::array<float, 3>> marked;
};

}  // namespace

TEST_F(DialogsTest, DetailedModifyOpensWithThePaletteMarkerOnTheMaterialsHue) {
    doc->m_nMaterialEditor = 1;
    const float colours[][3] = {{0.0f, 0.4f, 0.8f}, {0.6f, 0.3f, 0.0f}, {0.0f, 0.5f, 0.1f}};
    for (int i = 0; i < 3; ++i) view->m_pScene->getMaterial(i)->setDiffuse(colours[i][0], colours[i][1], colours[i][2]);
    wxWeakRef<CMaterialDlg> slot;
    CMaterialDlg* chooser = CMaterialDlg::ShowFor(slot, frame, frame, 77, "M0");
    ASSERT_NE(chooser, nullptr);
    DetailEditorProbe probe;
    for (int i = 0; i < 3; ++i) {
        chooser->SelectMaterialByName("M" + std::to_string(i), true);
        wxCommandEvent modify(wxEVT_BUTTON, 1405);
        chooser->FindWindow(1405)->GetEventHandler()->ProcessEvent(modify);
        ASSERT_EQ(probe.marked.size(), size_t(i + 1));
        // Colours without white: the marked colour is the colour over its largest
        // component, within a pixel's step.
        const float* c = colours[i];
        const float top = std::max({c[0], c[1], c[2]});
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(probe.marked[i][k], c[k] / top, 0.1f) << "M" << i << " component " << k;
    }
    chooser->Destroy();
    pump();
}

namespace {

// Types into the editor that comes up as a user types, with no focus change
// and no Enter, then presses its OK button.
class TypeAndOk : public wxModalDialogHook {
public:
    explicit TypeAndOk(std::vector<std::pair<int, const char*>> typed) : m_typed(std::move(typed)) { Register(); }
    ~TypeAndOk() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (!dynamic_cast<CColorDlg*>(dialog) && !dynamic_cast<CMaterialDetailDlg*>(dialog)) return wxID_NONE;
        dialog->CallAfter([this, dialog] {
            for (const auto& [id, text] : m_typed) {
                auto* edit = dynamic_cast<CNumEdit*>(dialog->FindWindow(id));
                if (!edit) continue;
                edit->SelectAll();
                edit->WriteText(text);
            }
            wxWindow* ok = dialog->FindWindow(wxID_OK);
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
            closed = !dialog->IsModal();
            if (!closed) dialog->EndModal(wxID_CANCEL);
        });
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
    bool closed = false;

private:
    std::vector<std::pair<int, const char*>> m_typed;
};

}  // namespace

// Without a window manager no edit hears a focus change: Modify, values
// typed into either editor and OK with the mouse left the material as it
// was. OK now takes every field as it stands, also when the commit of one
// shows the editor's state in the others.
TEST_F(DialogsTest, ModifyTakesTheTypedFieldsWithoutFocusChanges) {
    pnMaterial* simple = view->m_pScene->getMaterial(4);
    pnMaterial* detailed = view->m_pScene->getMaterial(5);
    for (pnMaterial* m : {simple, detailed}) {
        m->setDiffuse(0.2f, 0.4f, 0.8f);
        m->setShininess(10);
    }
    // The chooser's Modify opens the editor the document names.
    auto modify = [&](int editor, const char* name) {
        doc->m_nMaterialEditor = editor;
        wxWeakRef<CMaterialDlg> slot;
        CMaterialDlg* chooser = CMaterialDlg::ShowFor(slot, frame, frame, 77, "M0");
        ASSERT_NE(chooser, nullptr);
        chooser->SelectMaterialByName(name, true);
        wxCommandEvent click(wxEVT_BUTTON, 1405);
        chooser->FindWindow(1405)->GetEventHandler()->ProcessEvent(click);
        chooser->Destroy();
        pump();
    };
    {
        TypeAndOk typing({{1201, "0.25"}});  // the simple editor's green
        modify(0, "M4");
        EXPECT_TRUE(typing.closed);
        EXPECT_FLOAT_EQ(simple->getDiffuse()[1], 0.25f);
        EXPECT_FLOAT_EQ(simple->getDiffuse()[2], 0.8f);
    }
    {
        TypeAndOk typing({{1189, "0.5"}, {1223, "64"}});  // the detailed editor's diffuse and shininess
        modify(1, "M5");
        EXPECT_TRUE(typing.closed);
        // The diffuse edit gives the colour's brightness: (0.25, 0.5, 1) times 0.5.
        EXPECT_FLOAT_EQ(detailed->getDiffuse()[0], 0.125f);
        EXPECT_FLOAT_EQ(detailed->getDiffuse()[2], 0.5f);
        EXPECT_FLOAT_EQ(detailed->getShininess(), 64.0f);
    }
}

namespace {

void pressEscape(wxWindow* window) {
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(escape);
}

}  // namespace

// A modal dialog holds the toolkit's input, so its Material button's chooser
// is a modal child of that dialog (a modeless one beside it took no click):
// the choice reaches the dialog, and Escape ends the chooser, not the dialog.
// A nested editor's step aside keeps the chooser's turn.
TEST_F(DialogsTest, TheChooserOfAModalDialogIsModalOnIt) {
    std::vector<std::tuple<int, int, int>> heard;
    auto listener = [&heard](int message, int id, int index) { heard.emplace_back(message, id, index); };
    wxDialog owner(frame, wxID_ANY, "Label String Property");
    wxWeakRef<CMaterialDlg> slot;
    bool modal = false, child = false, stayed = false, ownerModal = false, escaped = false;
    int chosen = -1;
    owner.CallAfter([&] {
        // Runs in the chooser's turn.
        owner.CallAfter([&] {
            modal = slot && slot->IsModal();
            child = slot && slot->GetParent() == &owner;
            if (!modal) return;
            // Add through the simple editor: the chooser comes back, still
            // modal, on the new material.
            doc->m_nMaterialEditor = 0;
            TypeAndOk editor({});
            wxCommandEvent add(wxEVT_BUTTON, 1395);
            slot->FindWindow(1395)->GetEventHandler()->ProcessEvent(add);
            stayed = editor.closed && slot->IsModal() && slot->IsShown();
            chosen = slot->Logic().GetMaterialIndex();
            wxCommandEvent ok(wxEVT_BUTTON, 1519);
            slot->GetEventHandler()->ProcessEvent(ok);
        });
        CMaterialDlg::ShowFor(slot, frame, &owner, 1267, "M0", listener);
        // The second turn: Escape ends it and leaves the dialog running.
        owner.CallAfter([&] {
            if (!slot || !slot->IsModal()) return;
            pressEscape(slot.get());
            escaped = !slot->IsModal();
            if (!escaped) slot->EndModal(wxID_CANCEL);
        });
        CMaterialDlg::ShowFor(slot, frame, &owner, 1267, "M0", listener);
        ownerModal = owner.IsModal();
        owner.EndModal(wxID_OK);
    });
    owner.ShowModal();
    pump();
    EXPECT_TRUE(modal) << "the chooser of a modal dialog is modeless";
    EXPECT_TRUE(child);
    EXPECT_TRUE(stayed) << "the chooser's turn ended with its nested editor";
    EXPECT_EQ(chosen, 20) << "the material added";
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::make_tuple(int(WM_MATERIAL_CHOSEN), 1267, 20));
    EXPECT_TRUE(escaped) << "Escape did not end the chooser";
    EXPECT_TRUE(ownerModal) << "Escape in the chooser ended its dialog";
    ASSERT_TRUE(slot);
    EXPECT_FALSE(slot->IsShown());
}

// The Edge and Shadow dialog (modal over a modal Label dialog or the text
// page) chooses its back material through a chooser modal on it.
TEST_F(DialogsTest, EdgeAndShadowChoosesItsBackMaterialInAModalChooser) {
    CEdgeShadowDlg dlg(frame);
    bool modal = false;
    dlg.CallAfter([&] {
        dlg.SetKind(1);  // Edge: the swatch is enabled
        dlg.CallAfter([&] {
            CMaterialDlg* chooser = nullptr;
            for (wxWindow* w : dlg.GetChildren())
                if (auto* c = dynamic_cast<CMaterialDlg*>(w)) chooser = c;
            modal = chooser && chooser->IsModal();
            if (!modal) return;
            EXPECT_TRUE(chooser->Logic().Click(20, 20));  // the newest, M19
            wxCommandEvent ok(wxEVT_BUTTON, 1519);
            chooser->GetEventHandler()->ProcessEvent(ok);
            if (chooser->IsModal()) chooser->Hide();
        });
        wxCommandEvent click(wxEVT_BUTTON, dlg.m_pSwatch->GetId());
        click.SetEventObject(dlg.m_pSwatch);
        dlg.m_pSwatch->GetEventHandler()->ProcessEvent(click);
        dlg.EndModal(wxID_CANCEL);
    });
    dlg.ShowModal();
    pump();
    EXPECT_TRUE(modal) << "the back-material chooser is not modal on Edge and Shadow";
    EXPECT_EQ(dlg.GetBackMaterial(), "M19");
}
