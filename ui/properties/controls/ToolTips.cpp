#include "ui/properties/controls/ToolTips.h"

#include <wx/window.h>

#include <map>
#include <utility>

namespace {
// The rectangle tips of one owner.
struct RectTips {
    std::map<int, std::pair<wxRect, wxString>> tips;
    wxString shown;
};

RectTips* tipsOf(wxWindow* owner, bool create) {
    static std::map<wxWindow*, RectTips> all;
    auto it = all.find(owner);
    if (it != all.end()) return &it->second;
    if (!create) return nullptr;
    RectTips* tips = &all[owner];
    owner->Bind(wxEVT_DESTROY, [owner](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == owner) all.erase(owner);
        e.Skip();
    });
    owner->Bind(wxEVT_MOTION, [owner](wxMouseEvent& e) {
        const wxString text = RectTipAt(owner, e.GetPosition());
        RectTips* t = tipsOf(owner, false);
        if (t && text != t->shown) {
            t->shown = text;
            if (text.empty())
                owner->UnsetToolTip();
            else
                owner->SetToolTip(text);
        }
        e.Skip();
    });
    return tips;
}
}  // namespace

void AddControlTip(wxWindow* control, const wxString& text) {
    if (control) control->SetToolTip(text);
}

void AddRectTip(wxWindow* owner, const wxString& text, const wxRect& rect, int id) {
    if (owner) tipsOf(owner, true)->tips[id] = {rect, text};
}

wxString RectTipAt(wxWindow* owner, const wxPoint& point) {
    RectTips* t = owner ? tipsOf(owner, false) : nullptr;
    if (!t) return wxString();
    for (const auto& tip : t->tips)
        if (tip.second.first.Contains(point)) return tip.second.second;
    return wxString();
}
