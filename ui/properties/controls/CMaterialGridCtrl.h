// The material chooser's grid: sixteen lit spheres of the scene's materials,
// newest first, with the selection framed in red. Clicks go to the chooser's
// rules (a double-click chooses).
#pragma once

#include "ui/properties/controls/CGLPreviewCanvas.h"

class CMaterialChooserLogic;

class CMaterialGridCtrl : public CGLPreviewCanvas {
public:
    CMaterialGridCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, CMaterialChooserLogic& logic);

protected:
    bool SizeGL(int width, int height) override;
    void RenderGL() override;

private:
    CMaterialChooserLogic& m_logic;
    wxPoint m_ptLast;
};
