// Sizes that follow the toolkit's font where a layout fixes no pixels: an
// edit is as wide as the longest text it is made for.
#pragma once

#include <wx/string.h>

class wxTextCtrl;
class wxWindow;

namespace layout {

// What the number edits of the bars and dialogs are made to show whole: a
// position such as "-1280.50" with a digit to spare.
inline const char* const kNumberSample = "-00000.00";
inline const char* const kFrameSample = "00000";
// An object's name as charts and texts are commonly named.
inline const char* const kNameSample = "Quarterly Sales 2026";

// Gives a one-line edit the width that shows sample whole (its height stays
// the toolkit's); returns the edit.
template <class Edit>
Edit* FitEdit(Edit* edit, const wxString& sample);
wxTextCtrl* FitEditWidth(wxTextCtrl* edit, const wxString& sample);

// A window that scrolls shows its scroll bars while its content does not
// fit (GTK's overlay bars show only under a moving pointer, so a cut-off
// page would look whole).
void ShowScrollBars(wxWindow* scrolled);

template <class Edit>
Edit* FitEdit(Edit* edit, const wxString& sample) {
    FitEditWidth(edit, sample);
    return edit;
}

}  // namespace layout
