#include "app/CSceneDropTarget.h"

#include "editor/CKelvanoView.h"
#include "app/CKelvanoApp.h"

#include <string>
#include <vector>

bool CSceneDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
    std::vector<std::string> paths;
    for (const wxString& name : names) paths.push_back(name.ToStdString(wxConvUTF8));
    // Not under a modal dialog: the open would ask its own questions.
    if (paths.empty() || theApp.ModalDialogOpen()) return false;
    theApp.CallAfter([paths] {
        if (CKelvanoView* view = CurrentView()) view->OnDropFiles(paths);
    });
    return true;
}
