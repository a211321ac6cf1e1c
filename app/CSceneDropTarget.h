// Files dropped on the scene window or the main frame open in the view (only
// the first is used). The open runs after the drop has finished, so its
// messages never show inside the drag.
#pragma once

#include <wx/dnd.h>

class CSceneDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;
};
