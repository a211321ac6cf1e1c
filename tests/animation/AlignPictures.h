// Reads back what an align button's picture shows (the time line's and the
// grow/shrink dialog's buttons draw them alike).
#pragma once

#include <wx/image.h>

#include <vector>

// What an align picture shows, read from its pixels: the red line is the
// reference's edge; the blue play above sits with one end on it, solid when
// it moves whole, an outline with a tall handle at the end that moves.
struct AlignAction {
    bool ok = false;
    bool whole = false;     // the play moves whole
    bool playEnd = false;   // its end (else its start) goes to the edge
    bool toRefEnd = false;  // the edge is the reference's end (else its start)
};

inline AlignAction readAlignPicture(const wxImage& img) {
    auto is = [&](int x, int y, int r, int g, int b) {
        return img.GetRed(x, y) == r && img.GetGreen(x, y) == g && img.GetBlue(x, y) == b;
    };
    auto columns = [&](int y, int r, int g, int b) {
        std::vector<int> found;
        for (int x = 0; x < img.GetWidth(); ++x)
            if (is(x, y, r, g, b)) found.push_back(x);
        return found;
    };
    AlignAction a;
    const std::vector<int> guide = columns(0, 200, 0, 0), ref = columns(12, 0, 0, 0), play = columns(3, 0, 0, 160),
                           handle = columns(1, 0, 0, 160);
    if (guide.size() != 1 || ref.size() < 2 || play.size() < 3) return a;
    const int edge = guide[0], first = play.front(), last = play.back();
    a.whole = is(first + 1, 4, 0, 0, 160);
    if (a.whole == !handle.empty()) return a;  // a handle belongs to an outline only
    a.playEnd = a.whole ? last == edge : handle[0] == last;
    a.toRefEnd = edge == ref.back();
    a.ok = (edge == ref.front() || edge == ref.back()) && (a.playEnd ? last : first) == edge &&
           (a.whole || handle[0] == edge);
    return a;
}

