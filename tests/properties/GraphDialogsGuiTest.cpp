// The new-graph wizard's steps and the shape chooser as real dialogs: each
// runs modally while the test acts on it from the event loop.
#include "assets/sgModelTable.h"
#include "editor/CKelvanoAppState.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/properties/dialogs/CCutShapeDlg.h"
#include "ui/properties/dialogs/CGraphInputDlg.h"
#include "ui/properties/dialogs/CGraphNameDlg.h"
#include "ui/properties/dialogs/CGraphTypeDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CThumbnailListCtrl.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

void click(wxWindow* dlg, int id) {
    wxCommandEvent e(wxEVT_BUTTON, id);
    e.SetEventObject(dlg->FindWindow(id));
    dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
}

// Text typed into a cell as a user types it (the edit hears it as typed),
// without a focus change.
void type(wxWindow* dlg, int id, const char* typed) {
    auto* edit = static_cast<CNumEdit*>(dlg->FindWindow(id));
    edit->Remove(0, -1);
    edit->WriteText(typed);
}

wxString text(wxWindow* dlg, int id) {
    if (auto* t = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(id))) return t->GetValue();
    return static_cast<wxStaticText*>(dlg->FindWindow(id))->GetLabel();
}

}  // namespace

// The first step has only "Next": Escape and the window's close box cancel
// the wizard instead of going on to the name step.
TEST(GraphDialogs, TypeStepEscapeAndCloseCancel) {
    for (const bool escape : {true, false}) {
        CGraphTypeDlg dlg(nullptr);
        dlg.CallAfter([&] {
            if (escape) {
                wxKeyEvent key(wxEVT_CHAR_HOOK);
                key.m_keyCode = WXK_ESCAPE;
                key.SetEventObject(&dlg);
                dlg.GetEventHandler()->ProcessEvent(key);
            } else {
                dlg.Close();
            }
        });
        EXPECT_EQ(dlg.ShowModal(), wxID_CANCEL) << (escape ? "Escape" : "close box");
    }
    // Next still goes on.
    CGraphTypeDlg next(nullptr);
    next.CallAfter([&] { click(&next, wxID_OK); });
    EXPECT_EQ(next.ShowModal(), wxID_OK);
}

// An empty name brings back the free default and keeps the step open; Next
// then closes it with the name and count; Back sets the flag.
TEST(GraphDialogs, NameStep) {
    pnScene scene;
    auto* taken = new pnObject;
    taken->setName("LineGraph");
    ASSERT_TRUE(scene.addObject(taken));
    CGraphNameDlg dlg(nullptr, 1, &scene);
    EXPECT_EQ(text(&dlg, CGraphNameDlg::IDC_NAME), "LineGraph001");
    EXPECT_EQ(static_cast<wxSpinCtrl*>(dlg.FindWindow(CGraphNameDlg::IDC_COUNT))->GetMin(), 2);
    bool stayedOpen = false;
    dlg.CallAfter([&] {
        static_cast<wxTextCtrl*>(dlg.FindWindow(CGraphNameDlg::IDC_NAME))->SetValue("");
        click(&dlg, wxID_OK);
        stayedOpen = dlg.IsModal() && text(&dlg, CGraphNameDlg::IDC_NAME) == "LineGraph001";
        static_cast<wxTextCtrl*>(dlg.FindWindow(CGraphNameDlg::IDC_NAME))->SetValue("Trend");
        click(&dlg, wxID_OK);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dlg.m_strName, "Trend");
    EXPECT_EQ(dlg.m_nCount, 3);
    EXPECT_FALSE(dlg.m_bBack);

    CGraphNameDlg back(nullptr, 0, &scene);
    back.CallAfter([&] { click(&back, wxID_CANCEL); });
    EXPECT_EQ(back.ShowModal(), wxID_OK);
    EXPECT_TRUE(back.m_bBack);
}

// Six items: two pages, the second with rows 2 to 5 disabled and blank; a
// committed value is copied into the data text; Enter closes as OK.
TEST(GraphDialogs, InputStepPages) {
    CGraphInputDlg dlg(nullptr, 2, 6);
    EXPECT_EQ(text(&dlg, CGraphInputDlg::IDC_VALUE_CAPTION), "Percent");
    EXPECT_FALSE(dlg.FindWindow(CGraphInputDlg::IDC_PREV)->IsEnabled());
    EXPECT_TRUE(dlg.FindWindow(CGraphInputDlg::IDC_NEXT)->IsEnabled());
    auto* value = static_cast<CNumEdit*>(dlg.FindWindow(CGraphInputDlg::kValueIds[0]));
    value->ChangeValue("60");
    SendPrivateMessage(&dlg, WM_NUMEDIT_COMMIT, CGraphInputDlg::kValueIds[0], 0);
    EXPECT_EQ(text(&dlg, CGraphInputDlg::kTextIds[0]), "60");
    click(&dlg, CGraphInputDlg::IDC_NEXT);
    EXPECT_TRUE(dlg.FindWindow(CGraphInputDlg::IDC_PREV)->IsEnabled());
    EXPECT_FALSE(dlg.FindWindow(CGraphInputDlg::IDC_NEXT)->IsEnabled());
    EXPECT_EQ(text(&dlg, CGraphInputDlg::kNumberIds[0]), "6");
    EXPECT_TRUE(dlg.FindWindow(CGraphInputDlg::kLabelIds[0])->IsEnabled());
    for (int r = 1; r < 5; ++r) {
        EXPECT_EQ(text(&dlg, CGraphInputDlg::kNumberIds[r]), "") << r;
        EXPECT_FALSE(dlg.FindWindow(CGraphInputDlg::kValueIds[r])->IsEnabled()) << r;
        EXPECT_EQ(text(&dlg, CGraphInputDlg::kValueIds[r]), "0.00") << r;
    }
    dlg.CallAfter([&] { SendPrivateMessage(&dlg, WM_NUMEDIT_COMMIT, CGraphInputDlg::kLabelIds[0], 1); });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    const std::vector<GraphRow> rows = dlg.GetRows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].value, 60.0f);
}

// Without a window manager no edit ever hears a focus change: OK, the page
// arrows, Back and an Enter in any cell still take every cell as typed.
TEST(GraphDialogs, InputStepTakesTypedCellsWithoutFocusChanges) {
    const char* labels[] = {"North", "South", "East", "West", "Middle", "Far"};
    for (const int closing : {int(wxID_OK), int(CGraphInputDlg::IDC_BACK), int(WXK_RETURN)}) {
        CGraphInputDlg dlg(nullptr, 2, 6);
        dlg.CallAfter([&] {
            for (int r = 0; r < 5; ++r) {
                type(&dlg, CGraphInputDlg::kLabelIds[r], labels[r]);
                type(&dlg, CGraphInputDlg::kValueIds[r], std::to_string(10 + r).c_str());
            }
            type(&dlg, CGraphInputDlg::kTextIds[1], "25 M");
            click(&dlg, CGraphInputDlg::IDC_NEXT);
            type(&dlg, CGraphInputDlg::kLabelIds[0], labels[5]);
            type(&dlg, CGraphInputDlg::kValueIds[0], "5");
            if (closing == WXK_RETURN) {
                wxCommandEvent enter(wxEVT_TEXT_ENTER, CGraphInputDlg::kLabelIds[0]);
                enter.SetEventObject(dlg.FindWindow(CGraphInputDlg::kLabelIds[0]));
                dlg.FindWindow(CGraphInputDlg::kLabelIds[0])->GetEventHandler()->ProcessEvent(enter);
            } else {
                click(&dlg, closing);
            }
        });
        EXPECT_EQ(dlg.ShowModal(), wxID_OK) << closing;
        EXPECT_EQ(dlg.m_bBack, closing == CGraphInputDlg::IDC_BACK);
        const std::vector<GraphRow> rows = dlg.GetRows();
        ASSERT_EQ(rows.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(rows[i].label, labels[i]) << closing << " row " << i;
            const float value = i < 5 ? 10.0f + i : 5.0f;
            EXPECT_EQ(rows[i].value, value) << closing << " row " << i;
            // The value text follows the value unless it was typed itself.
            EXPECT_EQ(rows[i].dataText, i == 1 ? "25 M" : i < 5 ? std::to_string(10 + i) : "5") << i;
        }
    }
}

// A line chart's chooser offers cyl10x first; a double-click on a picture
// returns at once with that shape's model.
TEST(GraphDialogs, CutShapeChooser) {
    CKelvanoAppState app;
    app.InitFolders("/opt/kelvano");
    CCutShapeDlg dlg(nullptr, app, 2);
    std::string first;
    dlg.CallAfter([&] {
        auto* list = static_cast<CThumbnailListCtrl*>(dlg.FindWindow(CCutShapeDlg::IDC_LIST));
        first = list->GetSelectedName();
        // A double-click on the fifteenth picture, as the mouse gives it.
        const wxRect heart = list->CellRect(14);
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetPosition(heart.GetPosition() + wxPoint(heart.width / 2, heart.height / 2));
        list->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    EXPECT_EQ(first, "/opt/kelvano/ChartSlices/cyl10x.bmp");
    EXPECT_EQ(dlg.GetSelectedFile(), "/opt/kelvano/ChartSlices/heart.3ds");
    EXPECT_TRUE(dlg.m_bChosen);
}

namespace {

// Answers message boxes at once and keeps their texts.
class AnswerBoxes : public wxModalDialogHook {
public:
    AnswerBoxes() { Register(); }
    ~AnswerBoxes() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box) return wxID_NONE;
        texts.push_back(box->GetMessage().ToStdString(wxConvUTF8));
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::string> texts;
};

}  // namespace

// OK without a pick, while the chart's shape (a browsed model) is none of
// the pictures, returned the first picture, which the page stored; a name
// typed into File was stored unchecked. Now OK without a pick is no choice,
// and a typed name must name a file.
TEST(GraphDialogs, ShapeChoosersTakeOnlyWhatWasChosen) {
    const char* source = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    CKelvanoAppState app;
    app.InitFolders(std::string(source) + "/data");
    {
        CCutShapeDlg dlg(nullptr, app, 1);
        dlg.SetInitialFile("cup.bmp");
        dlg.CallAfter([&] { click(&dlg, wxID_OK); });
        EXPECT_EQ(dlg.ShowModal(), wxID_OK);
        EXPECT_FALSE(dlg.m_bChosen) << "OK without a pick";
    }
    // Typed names are looked up as the program looks up models.
    sgModelTable::instance().setFolders({std::string(source) + "/data", std::string(source) + "/data/ChartSlices"});
    AnswerBoxes boxes;
    CJointShapeDlg dlg(nullptr, app);
    bool stayed = false;
    dlg.CallAfter([&] {
        auto* file = static_cast<wxTextCtrl*>(dlg.FindWindow(CCutShapeDlg::IDC_FILE));
        file->SelectAll();
        file->WriteText("nowhere.3ds");
        click(&dlg, wxID_OK);
        stayed = dlg.IsModal();
        file->SelectAll();
        file->WriteText("sphere10x.3ds");
        click(&dlg, wxID_OK);
    });
    EXPECT_EQ(dlg.ShowModal(), wxID_OK);
    EXPECT_TRUE(stayed) << "a typed name that names no file closed the chooser";
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "\"nowhere.3ds\": not found");
    EXPECT_TRUE(dlg.m_bChosen);
    EXPECT_EQ(dlg.GetSelectedFile(), "sphere10x.3ds");
}
