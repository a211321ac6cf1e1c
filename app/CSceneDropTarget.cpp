#include "app/CSceneDropTarget.h"

#include "editor/CKelvanoView.h"
#include "app/CKelvanoApp.h"

#include <string>
#include <vector>

bool CSceneDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
    std::vector<std::string> paths;
    for (const wxString& name : names) paths.push_back(name.ToStdString(wxConvUTF8));
    if (paths.empty()) return false;
    theApp.CallAfter([paths] {
        if (CKelvanoView* view = CurrentView()) view->OnDropFiles(paths);
    });
    return true;
}
