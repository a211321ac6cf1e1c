// Tool tips on controls and on rectangles of a window.
#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxWindow;

// The control shows text while the mouse rests on it.
void AddControlTip(wxWindow* control, const wxString& text);
// The owner shows text while the mouse rests in rect; a tip with the same
// identifier replaces the earlier one.
void AddRectTip(wxWindow* owner, const wxString& text, const wxRect& rect, int id);
// The rectangle tip under a point of the owner ("" for none).
wxString RectTipAt(wxWindow* owner, const wxPoint& point);
