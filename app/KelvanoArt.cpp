#include "app/KelvanoArt.h"

#include "editor/AboutLinks.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cstring>

namespace {
struct ArtSource {
    const char* name;
    const char* svg;
};
const ArtSource kArt[] = {
#include "kelvano_art.inc"
};

const char* findSvg(const char* name) {
    for (const ArtSource& a : kArt)
        if (std::strcmp(a.name, name) == 0) return a.svg;
    return nullptr;
}
}  // namespace

wxBitmapBundle KelvanoArt(const char* name, int size) {
    const char* svg = findSvg(name);
    if (!svg) return wxBitmapBundle();
    return wxBitmapBundle::FromSVG(svg, wxSize(size, size));
}

wxIconBundle KelvanoIcons() {
    wxIconBundle icons;
    for (int size : {16, 32, 48, 128}) {
        wxBitmap bmp = KelvanoArt("icons/kelvano", size).GetBitmap(wxSize(size, size));
        if (bmp.IsOk()) {
            wxIcon icon;
            icon.CopyFromBitmap(bmp);
            icons.AddIcon(icon);
        }
    }
    return icons;
}

wxBitmap KelvanoSplashBitmap() {
    const int w = 460, h = 280;
    wxBitmap bmp(w, h, 24);
    wxMemoryDC dc(bmp);
    dc.GradientFillLinear(wxRect(0, 0, w, h), wxColour(36, 89, 171), wxColour(12, 32, 72), wxSOUTH);
    wxBitmap logo = KelvanoArt("icons/kelvano", 112).GetBitmap(wxSize(112, 112));
    if (logo.IsOk()) dc.DrawBitmap(logo, 28, (h - 112) / 2, true);
    dc.SetTextForeground(*wxWHITE);
    wxFont title(wxFontInfo(34).Bold().Family(wxFONTFAMILY_SWISS));
    dc.SetFont(title);
    dc.DrawText(kv::kAppName, 160, 78);
    dc.SetFont(wxFontInfo(12).Family(wxFONTFAMILY_SWISS));
    dc.DrawText("3D business graphics and animation", 162, 136);
    dc.SetTextForeground(wxColour(190, 206, 232));
    dc.DrawText(kv::kVersionText, 162, 160);
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

wxCursor KelvanoRotateCursor() {
    wxBitmap bmp = KelvanoArt("toolbar/rotate", 24).GetBitmap(wxSize(24, 24));
    if (!bmp.IsOk()) return wxCursor(wxCURSOR_CROSS);
    wxImage image = bmp.ConvertToImage();
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 12);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 12);
    return wxCursor(image);
}
