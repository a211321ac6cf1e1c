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

// The parts of an align picture (see the header).
void alignPicture(wxImage& img, int id) {
    const int refStart = kAlignArtRefStart, refEnd = kAlignArtRefEnd;
    auto play = [&](int x0, int x1, bool whole, int handle) {
        for (int x = x0; x <= x1; ++x)
            for (int y = 3; y <= 6; ++y)
                if (whole || x == x0 || x == x1 || y == 3 || y == 6) dot(img, x, y, 0, 0, 160);
        if (handle >= 0)
            for (int y = 1; y <= 8; ++y) dot(img, handle, y, 0, 0, 160);
    };
    auto guide = [&](int x) {
        for (int y = 0; y < 17; ++y) dot(img, x, y, 200, 0, 0);
    };
    auto reference = [&](int x0, int x1) {
        for (int x = x0; x <= x1; ++x)
            for (int y = 11; y <= 13; ++y) dot(img, x, y);
    };
    switch (id) {
    case kArtStartToStart: guide(refStart), play(refStart, refStart + 4, true, -1); break;
    case kArtEndToEnd: guide(refEnd), play(refEnd - 4, refEnd, true, -1); break;
    case kArtStartToEnd: guide(refEnd), play(refEnd, refEnd + 4, true, -1); break;
    case kArtEndToStart: guide(refStart), play(refStart - 4, refStart, true, -1); break;
    case kArtStartEdgeToStart: guide(refStart), play(refStart, 14, false, refStart); break;
    case kArtEndEdgeToEnd: guide(refEnd), play(2, refEnd, false, refEnd); break;
    case kArtStartEdgeToEnd: guide(refEnd), play(refEnd, 15, false, refEnd); break;
    case kArtEndEdgeToStart: guide(refStart), play(1, refStart, false, refStart); break;
    case kArtEqualWidth:
        // Two plays of one length, each measured by a red line below it.
        play(1, 7, false, 7);
        reference(9, 15);
        for (int x = 1; x <= 7; ++x) dot(img, x, 9, 200, 0, 0);
        for (int x = 9; x <= 15; ++x) dot(img, x, 15, 200, 0, 0);
        return;
    default: return;
    }
    reference(refStart, refEnd);
}

bool isAlignPicture(int id) {
    switch (id) {
    case kArtStartToStart: case kArtEndToEnd: case kArtStartEdgeToStart: case kArtEndToStart:
    case kArtEqualWidth: case kArtEndEdgeToStart: case kArtStartToEnd: case kArtStartEdgeToEnd:
    case kArtEndEdgeToEnd: return true;
    default: return false;
    }
}

}  // namespace

wxImage TimeLineBitmap(int id) {
    // The align pictures and + G, + S are 17 x 17; the minus and the frame buttons 15 or 14 wide.
    const bool align = isAlignPicture(id);
    const bool edit = id == 360 || id == 363;
    const bool large = align || id == 358 || id == 359;
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
        if (align) alignPicture(img, id);
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
