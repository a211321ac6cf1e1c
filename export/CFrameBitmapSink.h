// Where the recording timer's captured movie frames go: the AVI writer takes
// each frame as a 24-bit packed DIB and adds it as the next frame.
#pragma once

#include "export/PackedDib.h"

class CFrameBitmapSink {
public:
    virtual ~CFrameBitmapSink() = default;
    // True when the frame was added.
    virtual bool addFrameBitmap(const DibBlock& dib) = 0;
};
