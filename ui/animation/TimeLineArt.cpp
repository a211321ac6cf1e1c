#include "ui/animation/TimeLineArt.h"

#include <algorithm>
#include <cstdlib>

namespace {
void dot(wxImage& img, int x, int y, unsigned char r = 0, unsigned char g = 0, unsigned char b = 0) {
    if (x >= 0 && y >= 0 && x < img.GetWidth() && y < img.GetHeight()) img.SetRGB(x, y, r, g, b);
}
void box(wxImage& img, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) dot(img, x, y);
}
// A filled triangle pointing left or right, centred on row cy.
void triangle(wxImage& img, int x0, int cy, int width, bool right) {
    for (int i = 0; i < width; ++i) {
        const int half = right ? width - 1 - i : i;
        for (int y = cy - half; y <= cy + half; ++y) dot(img, x0 + i, y);
    }
}
}  // namespace

wxImage TimeLineBitmap(int id) {
    // 350 to 361 are 17 x 17 but for the minus (360); the frame buttons 14 x 15.
    const bool edit = id == 360 || id == 363;
    const bool large = id >= 350 && id <= 361 && !edit;
    const int w = large ? 17 : edit ? 15 : 14;
    const int h = large ? 17 : 15;
    wxImage img(w, h);
    const wxColour mask = TimeLineMaskColour();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.SetRGB(x, y, mask.Red(), mask.Green(), mask.Blue());
    const int cy = h / 2;
    switch (id) {
    case 364: box(img, 2, 3, 4, 12), triangle(img, 5, cy, 6, false); break;
    case 365: triangle(img, 4, cy, 6, false); break;
    case 366: box(img, 3, 3, 6, 12), box(img, 8, 3, 11, 12); break;
    case 367: box(img, 3, 3, 11, 12); break;
    case 368: triangle(img, 4, cy, 6, true); break;
    case 369: triangle(img, 4, cy, 6, true); break;
    case 370: triangle(img, 3, cy, 6, true), box(img, 10, 3, 12, 12); break;
    case 363: box(img, 3, 6, 12, 9), box(img, 6, 3, 9, 12); break;
    case 360: box(img, 3, 6, 12, 9); break;
    case 358:
    case 359: {
        // Add a grow (rising) or a shrink (falling) bar: a plus and a wedge.
        box(img, 1, 4, 8, 6), box(img, 4, 1, 6, 9);
        for (int x = 6; x < 16; ++x) {
            const int height = id == 358 ? x - 5 : 16 - x;
            box(img, x, 15 - height, x + 1, 15);
        }
        break;
    }
    default:
        if (large) {
            // Two plays and the edge they are brought to; each of the nine
            // align pictures (350 to 357 and 361) its own.
            const int k = id == 361 ? 8 : id - 350;
            const int shift = 2 * (k % 3);
            box(img, 2 + shift, 3, 11 + shift, 7);
            box(img, 4, 10, 13, 14);
            const int line = k / 3 == 0 ? 2 : k / 3 == 1 ? 14 : 8;
            for (int y = 1; y < 16; ++y) dot(img, line, y, 200, 0, 0);
        }
        break;
    }
    return img;
}

wxImage TimeLineVisibleIcon(bool visible) {
    wxImage img(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int dx = x - 8, dy = y - 8;
            const int d2 = dx * dx + dy * dy;
            const bool ring = d2 <= 36 && d2 >= 16;
            const bool pupil = visible && d2 < 9;
            const bool slash = !visible && std::abs(x - y) <= 0;
            const unsigned char v = (ring || pupil || slash) ? 0 : 255;
            img.SetRGB(x, y, v, v, v);
        }
    img.SetMaskColour(255, 255, 255);
    return img;
}
