// What the small GL previews draw, free of any window: each control makes its
// own context current and calls these, so OSMesa tests run them as they are.
// Sizing functions take the client size and skip the projection while a side
// is 0 (false then; the control skips painting too).
#pragma once

#include "ui/properties/rules/CSphericalCoord.h"

class pnScene;

// The viewport and an orthographic projection whose shorter side spans
// +-half, the longer one widened by the aspect; the depth range of a wide
// client and of a tall (or square) one. False while a side is 0.
bool SizePreviewOrtho(int width, int height, double half, double nearWide, double farWide, double nearTall,
                      double farTall);
// A new frame of the light and camera previews: cleared to grey, smooth,
// lit, depth-tested and blended, the model view reset.
void BeginGreyPreviewFrame();
// One GLU quadric for every preview sphere of the program, made on first use.
void drawPreviewSphere(double radius, int slices, int stacks);
// A cone cut at the top: diameters top and bottom, height, n segments, centred
// on the origin with its axis along Y.
void drawPreviewFrustum(float top, float bottom, float height, int segments);

// The edited material on a sphere around a small white reference sphere.
struct MaterialPreviewState {
    float ambient[4] = {0, 0, 0, 0};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {0, 0, 0, 0};
    float emission[4] = {0, 0, 0, 0};
    float shininess = 0.0f;
    float opacity = 1.0f;
};
bool SizeMaterialPreview(int width, int height);
void RenderMaterialPreview(const MaterialPreviewState& state);

// The camera preview: a translucent grey sphere with a red cone marking the
// eye; drags turn the eye about the centre like a trackball.
class CCameraPreviewModel {
public:
    static constexpr float kViewHalfSize = 10.0f;
    static constexpr float kSphereRadius = 5.0f;
    static constexpr float kConeSize = 1.8f;

    CCameraPreviewModel();
    void SetEyeXYZ(float x, float y, float z);
    void SetEyeSpherical(float radius, float azimuth, float elevation);
    // The client size: its centre is the drag's reference.
    void SetClientSize(int width, int height);
    // One drag step from the last point (a, b) to (c, d). False when ignored:
    // a control without size, or a turn that would carry the eye below z = 0.
    bool Drag(int a, int b, int c, int d);
    void Render() const;
    static bool Size(int width, int height);

    CSphericalCoord m_eye;
    CSphericalCoord m_marker;
    float m_vEye[3] = {0, 0, 0};
    bool m_bEnabled = true;
    int m_nCenterX = 0, m_nCenterY = 0;

private:
    void PlaceMarker();
};

// The material chooser's grid: sixteen 40 x 40 cells, newest material first.
bool SizeMaterialGrid(int width, int height);
void RenderMaterialGrid(const pnScene* scene, int page);
// The cell frames over the spheres, in window pixels (y down): a bevel for
// every cell and the red selection frame on cell selectedCell (0..15, -1
// none). Leaves the projection in pixels; the next paint sets its own.
void DrawMaterialGridFrames(int width, int height, int selectedCell);
