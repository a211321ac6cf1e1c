// Device-independent pictures of the view. CDib keeps a packed DIB (header,
// colour table and bottom-up rows padded to four bytes, in one block) made from
// a captured frame; CDibSection is a 32-bit picture of a fixed size into which
// a window area is captured scaled. Printing and the embedded picture draw
// them. Rectangles are in window terms: y = 0 is the top row.
#pragma once

#include "editor/CKelvanoDoc.h"  // CRectI
#include "export/PackedDib.h"

#include <cstdint>
#include <vector>

// A device picture as a capture holds it: bottom-up rows padded to four bytes,
// and for 8 bits or fewer its colour table.
struct CBitmapData {
    int width = 0;
    int height = 0;
    int planes = 1;
    int bitsPerPixel = 24;
    std::vector<uint8_t> bits;
    std::vector<DibColor> colors;
};

class CDibSection;

class CDib {
public:
    CDib() = default;

    // Reads the top-left rect-sized area of the current GL read buffer (the
    // back buffer, before the swap) of a window windowHeight pixels high.
    // 1 on success; 0 leaves the object without a DIB.
    int Capture(const CRectI& rect, int windowHeight);
    // Builds the packed DIB from a picture; compression DIB_BITFIELDS is
    // refused, and so are the run-length ones (nothing here encodes them).
    // The palette, when given, becomes the colour table. False on failure.
    bool FromBitmap(const CBitmapData& bitmap, uint32_t compression, const std::vector<DibColor>* palette);

    // Copies src of the DIB into dest of the target: unscaled when both have
    // the same size, else stretched (nearest pixel). Returns the scan lines
    // painted, 0 without a DIB.
    int Paint(CDibSection& target, const CRectI& dest, const CRectI& src) const;
    int PaintTo(CDibSection& target, const CRectI& dest, const CRectI& src) const { return Paint(target, dest, src); }

    int GetHeight() const { return Valid() ? Header()->biHeight : 0; }
    int GetWidth() const { return Valid() ? Header()->biWidth : 0; }
    bool Valid() const { return !m_block.empty(); }
    bool HasPalette() const { return !m_palette.empty(); }
    void Free();

    const DibInfoHeader* Header() const;
    const DibColor* ColorTable() const;
    const uint8_t* Bits() const;
    const std::vector<uint8_t>& Block() const { return m_block; }

    // Colour of the pixel at x, y (y = 0 the top row): 0x00RRGGBB.
    uint32_t PixelAt(int x, int y) const;

private:
    std::vector<uint8_t> m_block;     // header, colour table and bits
    std::vector<DibColor> m_palette;  // only on palette displays, never here
    size_t m_bitsOffset = 0;
};

class CDibSection {
public:
    // A width x height 32-bit picture, all black; 1 on success.
    int Create(int width, int height);
    // Reads rect of the current GL read buffer of a window windowHeight high
    // and scales it into the section; nothing without a section.
    void Capture(const CRectI& rect, int windowHeight);
    // Scales the whole section into dest of the target.
    void Draw(CDibSection& target, const CRectI& dest) const;
    void Free();

    bool Valid() const { return !m_bits.empty(); }
    const DibInfoHeader& Header() const { return m_header; }
    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }
    // Bottom-up rows of blue, green, red, unused.
    std::vector<uint8_t>& Bits() { return m_bits; }
    const std::vector<uint8_t>& Bits() const { return m_bits; }
    uint32_t PixelAt(int x, int y) const;
    void SetPixel(int x, int y, uint32_t rgb);

private:
    DibInfoHeader m_header{};
    std::vector<uint8_t> m_bits;
};
