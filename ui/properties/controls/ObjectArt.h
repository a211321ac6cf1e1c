// The pictures of the object pages, the graph kinds, the texture windows and
// the browse buttons, drawn in code: 141 (model), 142 (panel), 145 (text),
// 140, 143, 144, 146 (line, area, pie and bar graph), 149 and 147
// (orthographic and perspective viewing), 26602 (browse, 15 x 15)
// and the panel faces 400-406. The mask colour 0x808000 (teal,
// written as BGR) marks what stays transparent.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/image.h>

#include <functional>
#include <memory>

class wxDC;

struct sgImage;

extern const wxColour kArtMask;
// An empty image for any other id.
wxImage ObjectArt(int id);
// A 24-bit bitmap of size (at least 1 x 1) that paint has drawn on: how the
// controls render their faces for the tests to read back.
wxBitmap PaintedBitmap(const wxSize& size, const std::function<void(wxDC&)>& paint);
// A decoded picture (rows bottom-up, 3 or 4 components) as an upright image.
wxImage ImageFromPicture(const sgImage& picture, int components);
