#include "ui/properties/controls/LayoutFit.h"

#include <wx/textctrl.h>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

namespace layout {

wxTextCtrl* FitEditWidth(wxTextCtrl* edit, const wxString& sample) {
    if (!edit) return edit;
    const int width = edit->GetSizeFromTextSize(edit->GetTextExtent(sample).x).x;
    edit->SetInitialSize(wxSize(width, -1));
    return edit;
}

void ShowScrollBars(wxWindow* scrolled) {
#ifdef __WXGTK3__
    auto* widget = scrolled ? static_cast<GtkWidget*>(scrolled->GetHandle()) : nullptr;
    if (widget && GTK_IS_SCROLLED_WINDOW(widget))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), FALSE);
#else
    (void)scrolled;
#endif
}

}  // namespace layout
