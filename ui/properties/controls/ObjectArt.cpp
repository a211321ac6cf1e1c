#include "ui/properties/controls/ObjectArt.h"

#include "sg/sgImage.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <algorithm>
#include <functional>

const wxColour kArtMask(0x00, 0x80, 0x80);

namespace {

wxImage drawn(int w, int h, const std::function<void(wxDC&, int, int)>& paint) {
    return PaintedBitmap(wxSize(w, h), [&](wxDC& dc) {
               dc.SetBackground(wxBrush(kArtMask));
               dc.Clear();
               paint(dc, w, h);
           })
        .ConvertToImage();
}

}  // namespace

wxImage ObjectArt(int id) {
    switch (id) {
    case 141:  // a model: a shaded ball on a stand
        return drawn(32, 32, [](wxDC& dc, int, int) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(wxColour(60, 110, 220)));
            dc.DrawCircle(16, 13, 10);
            dc.SetBrush(wxBrush(wxColour(190, 190, 190)));
            dc.DrawRectangle(8, 25, 16, 5);
        });
    case 142:  // a panel: a bevelled plate in perspective
        return drawn(32, 32, [](wxDC& dc, int, int) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(wxColour(60, 110, 220)));
            const wxPoint plate[] = {{4, 10}, {26, 6}, {28, 22}, {6, 26}};
            dc.DrawPolygon(4, plate);
            dc.SetBrush(wxBrush(wxColour(120, 160, 240)));
            const wxPoint face[] = {{8, 12}, {23, 9}, {24, 20}, {9, 23}};
            dc.DrawPolygon(4, face);
        });
    case 26602:  // browse: an open folder
        return drawn(15, 15, [](wxDC& dc, int, int) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(wxColour(230, 200, 80)));
            const wxPoint back[] = {{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 12}, {1, 12}};
            dc.DrawPolygon(6, back);
            dc.SetBrush(wxBrush(wxColour(250, 225, 120)));
            const wxPoint front[] = {{1, 12}, {3, 7}, {14, 7}, {12, 12}};
            dc.DrawPolygon(4, front);
        });
    case 145:  // a text: a capital T
        return drawn(32, 32, [](wxDC& dc, int, int) {
            dc.SetBrush(wxBrush(wxColour(0x30, 0x50, 0xA0)));
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.DrawRectangle(4, 4, 24, 6);
            dc.DrawRectangle(13, 10, 6, 18);
        });
    case 149:  // orthographic viewing: a box with parallel edges
    case 147:  // perspective viewing: a box whose edges meet far away
        return drawn(24, 16, [id](wxDC& dc, int, int) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(wxColour(120, 160, 240)));
            const bool parallel = id == 149;
            const wxPoint front[] = {{2, 5}, {13, 5}, {13, 15}, {2, 15}};
            const wxPoint shifted[] = {{9, 1}, {20, 1}, {20, 11}, {9, 11}};
            const wxPoint shrunk[] = {{14, 2}, {19, 2}, {19, 7}, {14, 7}};
            const wxPoint* back = parallel ? shifted : shrunk;
            const wxPoint top[] = {front[0], back[0], back[1], front[1]};
            const wxPoint side[] = {front[1], back[1], back[2], front[2]};
            dc.DrawPolygon(4, top);
            dc.DrawPolygon(4, side);
            dc.SetBrush(wxBrush(wxColour(60, 110, 220)));
            dc.DrawPolygon(4, front);
        });
    case 140:  // the chart kinds: line, area, pie and bar
    case 143:
    case 144:
    case 146:
        return drawn(48, 40, [id](wxDC& dc, int, int) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(wxColour(60, 120, 230)));
            const int heights[4] = {14, 26, 20, 32};
            if (id == 146) {
                for (int i = 0; i < 4; ++i) dc.DrawRectangle(4 + 11 * i, 38 - heights[i], 8, heights[i]);
            } else if (id == 140) {
                wxPoint pts[4];
                for (int i = 0; i < 4; ++i) pts[i] = wxPoint(6 + 12 * i, 38 - heights[i]);
                dc.SetPen(wxPen(wxColour(60, 120, 230), 3));
                dc.DrawLines(4, pts);
            } else if (id == 144) {
                dc.DrawEllipticArc(6, 2, 36, 36, 90, 360);
                dc.SetBrush(wxBrush(wxColour(230, 90, 60)));
                dc.DrawEllipticArc(6, 2, 36, 36, 0, 90);
            } else {
                const wxPoint pts[6] = {{4, 38}, {4, 38 - heights[0]}, {17, 38 - heights[1]}, {30, 38 - heights[2]},
                                        {44, 38 - heights[3]}, {44, 38}};
                dc.DrawPolygon(6, pts);
            }
        });
    default:
        break;
    }
    if (id >= 400 && id <= 406) {
        // A cube with the face of the icon filled: 400 front, 401 back, 402
        // left, 404 right, 405 top, 406 bottom (403 the whole cube).
        const int face = id - 400;
        return drawn(16, 16, [face](wxDC& dc, int, int) {
            const wxPoint front[] = {{2, 5}, {11, 5}, {11, 14}, {2, 14}};
            const wxPoint top[] = {{2, 5}, {6, 1}, {15, 1}, {11, 5}};
            const wxPoint right[] = {{11, 5}, {15, 1}, {15, 10}, {11, 14}};
            const wxPoint* faces[] = {front, front, front, nullptr, right, top, front};
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(*wxWHITE_BRUSH);
            dc.DrawPolygon(4, front);
            dc.DrawPolygon(4, top);
            dc.DrawPolygon(4, right);
            dc.SetBrush(wxBrush(wxColour(220, 40, 40)));
            if (face == 3) {
                dc.DrawPolygon(4, front), dc.DrawPolygon(4, top), dc.DrawPolygon(4, right);
            } else if (face == 1 || face == 2 || face == 6) {
                // Hidden faces are hatched on the front.
                dc.SetBrush(wxBrush(wxColour(220, 40, 40), face == 1 ? wxBRUSHSTYLE_CROSSDIAG_HATCH
                                                                        : face == 2 ? wxBRUSHSTYLE_VERTICAL_HATCH
                                                                                      : wxBRUSHSTYLE_HORIZONTAL_HATCH));
                dc.DrawPolygon(4, faces[face]);
            } else {
                dc.DrawPolygon(4, faces[face]);
            }
        });
    }
    return wxImage();
}

wxBitmap PaintedBitmap(const wxSize& size, const std::function<void(wxDC&)>& paint) {
    wxBitmap bmp(std::max(size.x, 1), std::max(size.y, 1), 24);
    wxMemoryDC dc(bmp);
    paint(dc);
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

wxImage ImageFromPicture(const sgImage& picture, int components) {
    const int w = picture.width, h = picture.height;
    if (w <= 0 || h <= 0 || (components != 3 && components != 4) ||
        picture.pixels.size() < sgImageByteCount(w, h, components))
        return wxImage();
    wxImage image(w, h, false);
    unsigned char* out = image.GetData();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = picture.pixels.data() + size_t(h - 1 - y) * size_t(w) * size_t(components);
        for (int x = 0; x < w; ++x, out += 3) {
            out[0] = row[x * components];
            out[1] = row[x * components + 1];
            out[2] = row[x * components + 2];
        }
    }
    return image;
}
