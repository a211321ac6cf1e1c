#include "ui/properties/controls/ViewAccelerators.h"

#include "editor/CKelvanoAppState.h"
#include "editor/KelvanoIds.h"
#include "editor/KelvanoMenus.h"

#include <wx/app.h>
#include <wx/textentry.h>
#include <wx/window.h>

#include <set>
#include <vector>

namespace {
int wxKeyOf(int key) {
    switch (key) {
    case kv::KEY_BACK: return WXK_BACK;
    case kv::KEY_INSERT: return WXK_INSERT;
    case kv::KEY_DELETE: return WXK_DELETE;
    default: break;
    }
    if (key >= kv::KEY_F1 && key < kv::KEY_F1 + 12) return WXK_F1 + (key - kv::KEY_F1);
    return key;
}
}  // namespace

bool ApplyToFocusedText(int command) {
    if (command != kv::ID_EDIT_SELECT_ALL && command != kv::ID_EDIT_CUT && command != kv::ID_EDIT_COPY &&
        command != kv::ID_EDIT_PASTE)
        return false;
    auto* text = dynamic_cast<wxTextEntry*>(wxWindow::FindFocus());
    if (!text || !text->IsEditable()) return false;
    switch (command) {
    case kv::ID_EDIT_SELECT_ALL: text->SelectAll(); break;
    case kv::ID_EDIT_CUT: text->Cut(); break;
    case kv::ID_EDIT_COPY: text->Copy(); break;
    default: text->Paste(); break;
    }
    return true;
}

wxAcceleratorTable ProgramAcceleratorTable() {
    std::vector<wxAcceleratorEntry> entries;
    for (const kv::AccelEntry& a : kv::AcceleratorTable()) {
        int flags = wxACCEL_NORMAL;
        if (a.flags & kv::ACCEL_CTRL) flags |= wxACCEL_CTRL;
        if (a.flags & kv::ACCEL_SHIFT) flags |= wxACCEL_SHIFT;
        if (a.flags & kv::ACCEL_ALT) flags |= wxACCEL_ALT;
        entries.emplace_back(flags, wxKeyOf(a.key), kv::ToWxId(a.id));
    }
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

void InstallViewAccelerators(wxWindow* window, std::function<void()> after) {
    if (!window) return;
    window->SetAcceleratorTable(ProgramAcceleratorTable());
    std::set<int> ids;
    for (const kv::AccelEntry& a : kv::AcceleratorTable()) ids.insert(kv::ToWxId(a.id));
    for (const int id : ids) {
        window->Bind(wxEVT_MENU, [after](wxCommandEvent& event) {
            if (ApplyToFocusedText(kv::FromWxId(event.GetId()))) return;
            wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
            if (!CurrentView() || !top) return;
            wxCommandEvent command(wxEVT_MENU, event.GetId());
            command.SetEventObject(top);
            top->GetEventHandler()->ProcessEvent(command);
            if (after) after();
        }, id, id);
    }
}
