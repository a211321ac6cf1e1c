// The pictures of the object pages, the graph kinds, the texture windows and
// the browse buttons, drawn in code: 141 (model), 142 (panel), 145 (text),
// 140, 143, 144, 146 (line, area, pie and bar graph), 149 and 147
// (orthographic and perspective viewing), 26602 (browse, 15 x 15)
// and the panel faces 400-406. The mask colour 0x808000 (teal,
// written as BGR) marks what stays transparent.
#pragma once

#include <wx/colour.h>
#include <wx/image.h>

#include <memory>

struct sgImage;

extern const wxColour kArtMask;
// An empty image for any other id.
wxImage ObjectArt(int id);
// A decoded picture (rows bottom-up, 3 or 4 components) as an upright image.
wxImage ImageFromPicture(const sgImage& picture, int components);
