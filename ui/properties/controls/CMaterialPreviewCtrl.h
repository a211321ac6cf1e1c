// The detailed material editor's live preview: the edited material on a
// sphere, translucent by its opacity, around a small white reference sphere.
#pragma once

#include "ui/properties/controls/CGLPreviewCanvas.h"
#include "ui/properties/rules/PreviewRender.h"

class CMaterialPreviewCtrl : public CGLPreviewCanvas {
public:
    CMaterialPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
        : CGLPreviewCanvas(parent, id, pos, size) {}
    void SetAmbient(float r, float g, float b) { set(m_state.ambient, r, g, b); }
    void SetDiffuse(float r, float g, float b) { set(m_state.diffuse, r, g, b); }
    void SetSpecular(float r, float g, float b) { set(m_state.specular, r, g, b); }
    void SetEmission(float r, float g, float b) { set(m_state.emission, r, g, b); }
    void SetShininess(float s) { m_state.shininess = s; }
    void SetOpacity(float o) { m_state.opacity = o; }
    const MaterialPreviewState& GetState() const { return m_state; }

protected:
    bool SizeGL(int width, int height) override { return SizeMaterialPreview(width, height); }
    void RenderGL() override { RenderMaterialPreview(m_state); }

private:
    static void set(float* c, float r, float g, float b) { c[0] = r, c[1] = g, c[2] = b; }
    MaterialPreviewState m_state;
};
