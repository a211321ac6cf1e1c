// The colour arithmetic of the colour editors, free of any window: colours
// held as a hue at full brightness times a brightness, the hue-and-whiteness
// palette, and the gradient slider's geometry.
#pragma once

#include <cstdint>
#include <vector>

// The colour divided by its largest component; (1, 1, 1) for black.
void normalizeColor(const float in[3], float out[3]);
// The raw value over the normalised value of the first non-zero component (0
// when all three are 0): what a brightness slider shows.
float colorBrightness(const float raw[3], const float normalized[3]);

// The palette picture: the hue runs across six segments of width / 6 (red,
// yellow, green, cyan, blue, magenta), and each column fades to white from
// the top row to the bottom one.
void paletteColorAt(float x, float y, int width, int height, float out[3]);
// Where a colour sits on the palette. The colour's largest component must be
// 1; a colour without one leaves x and y as they are (false).
bool paletteMarkerFromColor(const float color[3], int width, int height, int& x, int& y);
// The palette as top-down RGB bytes, each component rounded from 0..1.
std::vector<uint8_t> palettePixels(int width, int height);

// A gradient slider of positions 0..1000 on a client rectangle of its own.
// The band leaves room for the triangle marker; the marker's point runs along
// the band's lower edge (horizontal) or right edge (vertical).
class CRampGeometry {
public:
    static constexpr int kMin = 0;
    static constexpr int kMax = 1000;
    static constexpr int kMarkerSize = 7;

    CRampGeometry(int width, int height, bool horizontal);
    bool IsHorizontal() const { return m_bHorizontal; }
    // Band and gradient rectangles as left, top, right, bottom (right and
    // bottom exclusive).
    const int* Band() const { return m_band; }
    const int* Gradient() const { return m_gradient; }
    // The marker point of a position (clamped to the range).
    void MarkerPoint(int pos, int& x, int& y) const;
    // The position of a point along the track, clamped to 0..1000; the
    // minimum while the track has no length.
    int PosFromPoint(int x, int y) const;
    // The gradient's colour at step i of n (black to colour), as bytes.
    static void GradientStep(const float color[3], int i, int n, uint8_t rgb[3]);

private:
    bool m_bHorizontal;
    int m_band[4];
    int m_gradient[4];
    // Track ends: horizontal from x0 to x1 at y0; vertical from y0 (bottom)
    // to y1 (top) at x0.
    int m_x0, m_x1, m_y0, m_y1;
};

// The palette pictures of the colour editors (res/bitmaps), written by
// kelvano-palettegen from palettePixels: the chooser's default picture, the
// detailed and simple editors' pictures, and the second layout set's.
struct PalettePicture {
    const char* name;  // file name without ".png"
    int width, height;
};
constexpr PalettePicture kPalettePictures[] = {
    {"palette", 191, 163},       {"detail_palette", 92, 96},   {"simple_palette", 113, 101},
    {"detail_palette_2", 107, 89}, {"simple_palette_2", 131, 93},
};
