// A push button that shows a picture and an optional caption. The picture's
// mask colour becomes the button face (and white for the disabled look).
// Clicking sends wxEVT_BUTTON with the button's id.
#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/image.h>

class CImageButton : public wxControl {
public:
    CImageButton(wxWindow* parent, wxWindowID id, const wxString& label = wxEmptyString,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

    // Takes the picture and its mask colour and makes the two faces; false
    // when the picture is empty or not of the given size.
    bool SetImage(const wxImage& image, int width, int height, const wxColour& mask);
    // The face image: the mask colour mapped to to.
    static wxImage MapMaskColour(const wxImage& image, const wxColour& mask, const wxColour& to);
    const wxBitmap& GetFaceBitmap() const { return m_bmpFace; }
    const wxBitmap& GetDisabledBitmap() const { return m_bmpDisabled; }

    bool m_bAutoLayout = true;
    int m_nMargin = 4;
    int m_nGap = 8;
    wxPoint m_ptImage{-1, -1};
    wxPoint m_ptText{-1, -1};
    bool m_bDefaultLook = false;
    bool m_bCornerMarker = false;
    wxColour m_markerColour{*wxRED};

protected:
    wxSize DoGetBestSize() const override;
    // Mouse handling a derived button may take over.
    virtual void OnButtonDown();
    virtual void OnButtonUp(bool inside);
    virtual void OnDoubleClick();
    // Draws the whole face; a derived button may draw its own.
    virtual void PaintFace(wxDC& dc);
    bool m_bPressed = false;

private:
    void OnPaint(wxPaintEvent& event);
    void Rebuild();
    wxImage m_image;
    wxColour m_mask;
    wxBitmap m_bmpFace, m_bmpDisabled;
};
