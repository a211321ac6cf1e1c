// One printed page of the view's picture: the captured frame across the
// printable width, its shape kept (as the view's print target).
#pragma once

#include "editor/CDib.h"

#include <wx/image.h>
#include <wx/print.h>

class CDibPrintout : public wxPrintout {
public:
    explicit CDibPrintout(const CDib& picture, const wxString& title = "Kelvano");

    bool OnPrintPage(int page) override;
    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

    // The picture as an RGB image (null image without a picture).
    static wxImage ToImage(const CDib& picture);

private:
    wxImage m_image;
};
