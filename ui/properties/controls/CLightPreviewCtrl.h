// The light page's small GL window over CLightPreviewModel: a left drag
// swings the current light around the sphere, and letting go tells the page.
#pragma once

#include "ui/properties/controls/CGLPreviewCanvas.h"

#include <functional>

class CLightPreviewModel;

class CLightPreviewCtrl : public CGLPreviewCanvas {
public:
    CLightPreviewCtrl(wxWindow* parent, wxWindowID id, CLightPreviewModel& model, const wxPoint& pos,
                      const wxSize& size);
    // The owner page's drop operation, called when a drag ends.
    std::function<void()> m_onDrop;

protected:
    bool SizeGL(int width, int height) override;
    void RenderGL() override;
    bool DragStep(int x0, int y0, int x, int y) override;
    void DragEnded() override;

private:
    CLightPreviewModel& m_model;
};
