// The base of the property bar's pages: a panel that carries the program's
// accelerator keys (their commands reach the view) and that Enter and Escape
// never close. A page taller than the bar scrolls. CEmptyPage is the page without controls, shown for an object
// that has no page, and held in each role whose page is not built yet.
#pragma once

#include <wx/scrolwin.h>

#include <string>

#include "editor/CKelvanoAppState.h"
#include "scene/pnObjectKind.h"

class CNumEdit;
class pnObject;

class CObjectPageDlg : public wxScrolledWindow {
public:
    CObjectPageDlg(wxWindow* parent, int templateId);

    // The page shows an object (flag as the view passes it).
    virtual void LoadFromObject(pnObject* /*object*/, int /*flag*/) {}
    // Disables the page's controls while the view is in animation mode.
    virtual void Lock(bool locked) { m_bLocked = locked; }
    bool IsLocked() const { return m_bLocked; }
    // The document's selected object when it is of kind T (pnKindCast), else
    // null (also without a current view): every page handler checks the kind
    // before it treats the object as its own.
    template <class T>
    static T* SelectedObjectAs() {
        return pnKindCast<T>(CurrentSelection());
    }
    // A page's Name edit committed (guard set): renames the object through
    // the view. The same name, animation mode and a cleared guard do nothing;
    // "" or a name too long puts the object's name back. A taken name shows
    // "\"NAME\"" + duplicateSuffix (caption, stop icon) with the guard cleared,
    // so the focus the box takes commits nothing, then puts the first free
    // name into the edit, selected. 1 when renamed.
    static int CommitNameEdit(CNumEdit* edit, pnObject* object, int& guard, const std::string& duplicateSuffix,
                              const std::string& caption);

protected:
    // As wide as the content and the scroll bar beside it; as tall as the content.
    wxSize DoGetBestSize() const override;

private:
    bool m_bLocked = false;
};

class CEmptyPage : public CObjectPageDlg {
public:
    explicit CEmptyPage(wxWindow* parent) : CObjectPageDlg(parent, kTemplate) {}
    static constexpr int kTemplate = 127;
};
