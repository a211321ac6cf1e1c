// The camera page's preview: a translucent sphere with a red cone at the eye;
// a drag turns the eye about the centre and, when it ends, tells the owner.
#pragma once

#include "ui/properties/controls/CGLPreviewCanvas.h"
#include "ui/properties/rules/PreviewRender.h"

#include <functional>

class CCameraPreviewCtrl : public CGLPreviewCanvas {
public:
    CCameraPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
    void GetEyeXYZ(float& x, float& y, float& z) const { m_model.m_eye.GetXYZ(x, y, z); }
    void GetEyeSpherical(float& r, float& a, float& e) const { m_model.m_eye.GetSpherical(r, a, e); }
    void SetEyeXYZ(float x, float y, float z) { m_model.SetEyeXYZ(x, y, z); }
    void SetEyeVec(const float v[3]);
    void SetEyeSpherical(float r, float a, float e) { m_model.SetEyeSpherical(r, a, e); }
    void EnableDrag(bool on) { m_model.m_bEnabled = on; }
    // The owner page's eye-changed operation, called when a drag ends.
    std::function<void(float x, float y, float z)> m_onEyeChanged;

protected:
    bool SizeGL(int width, int height) override;
    void RenderGL() override { m_model.Render(); }
    bool DragStep(int x0, int y0, int x, int y) override { return m_model.Drag(x0, y0, x, y); }
    void DragEnded() override;

private:
    CCameraPreviewModel m_model;
};
