#include "ui/properties/controls/CDibPrintout.h"

#include "editor/CKelvanoView.h"

#include <wx/bitmap.h>
#include <wx/dc.h>

CDibPrintout::CDibPrintout(const CDib& picture, const wxString& title) : wxPrintout(title), m_image(ToImage(picture)) {}

wxImage CDibPrintout::ToImage(const CDib& picture) {
    const int w = picture.GetWidth(), h = picture.GetHeight();
    if (!picture.Valid() || w <= 0 || h <= 0) return wxImage();
    wxImage image(w, h, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, rgb += 3) {
            const uint32_t c = picture.PixelAt(x, y);
            rgb[0] = (c >> 16) & 0xFF;
            rgb[1] = (c >> 8) & 0xFF;
            rgb[2] = c & 0xFF;
        }
    return image;
}

void CDibPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool CDibPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (page != 1 || !dc || !m_image.IsOk()) return false;
    int pageWidth = 0, pageHeight = 0, ppiX = 0, ppiY = 0;
    GetPageSizePixels(&pageWidth, &pageHeight);
    GetPPIPrinter(&ppiX, &ppiY);
    if (pageWidth <= 0) dc->GetSize(&pageWidth, &pageHeight);
    if (ppiX <= 0 || ppiY <= 0) ppiX = ppiY = 72;
    const CRectI target = CKelvanoView::PrintTarget(m_image.GetWidth(), m_image.GetHeight(), pageWidth, ppiX, ppiY);
    if (target.Width() <= 0 || target.Height() <= 0) return false;
    // Drawn in device pixels: the page's own scale stays untouched.
    dc->SetUserScale(1.0, 1.0);
    dc->SetDeviceOrigin(0, 0);
    dc->DrawBitmap(wxBitmap(m_image.Scale(target.Width(), target.Height(), wxIMAGE_QUALITY_BILINEAR)), target.left,
                   target.top);
    return true;
}
