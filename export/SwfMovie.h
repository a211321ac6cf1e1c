// A small SWF writer: records, tags, display items and the movie, which keeps
// its frames in memory and writes the whole file at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/SwfOutput.h"

class SwfMovie;

// Tag header: code x 64 + length below 63 bytes, else code x 64 + 63 and the
// length as u32.
void SwfWriteTagHeader(SwfOutput& out, int code, uint32_t length);

struct SwfRect {
    int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    void write(SwfOutput& out) const;
};

// Scales and skews in 16.16 fixed point; the identity is one zero byte.
struct SwfMatrix {
    bool hasScale = false;
    int32_t scaleX = 0x10000, scaleY = 0x10000;
    bool hasRotate = false;
    int32_t rotateSkew0 = 0, rotateSkew1 = 0;
    int32_t translateX = 0, translateY = 0;
    void write(SwfOutput& out) const;
};

struct SwfColor {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

enum : uint8_t { kSwfFillSolid = 0x00, kSwfFillRepeatingBitmap = 0x40, kSwfFillClippedBitmap = 0x41 };

struct SwfFillStyle {
    uint8_t type = kSwfFillSolid;
    SwfColor color;          // solid
    uint16_t bitmapId = 0;   // bitmap fills
    SwfMatrix matrix;        // bitmap fills
    void write(SwfOutput& out, bool alpha) const;
};

struct SwfLineStyle {
    uint16_t width = 20;
    SwfColor color;
    void write(SwfOutput& out, bool alpha) const;
};

// Style changes select styles by 1-based index (0 none, -1 unchanged).
struct SwfShapeRecord {
    enum class Kind { StyleChange, StraightEdge, End } kind = Kind::End;
    bool moveTo = false;
    int32_t x = 0, y = 0;  // move target, or the edge's dx, dy
    int fill0 = -1, fill1 = -1, line = -1;
    void write(SwfOutput& out, int fillBits, int lineBits) const;
};

class SwfTag {
public:
    virtual ~SwfTag() = default;
    virtual int code() const = 0;
    virtual void writeBody(SwfOutput& out) const = 0;
    // Header and body.
    void write(SwfOutput& out) const;
};

class SwfDisplayItem {
public:
    virtual ~SwfDisplayItem() = default;
    // Queues the item's definition tags into a frame (its first placement).
    virtual void define(SwfMovie& movie, std::vector<std::unique_ptr<SwfTag>>& tags) = 0;
    // The matrix of its placement: the item's scale and rotation about the
    // centre of its bounds; the identity when it has neither.
    SwfMatrix placementMatrix() const;

    int requestedDepth = 1;
    int characterId = -1;
    bool defined = false;
    int depth = 0;  // given when the movie is written
    SwfRect bounds;
    std::vector<SwfFillStyle> fills;
    std::vector<SwfLineStyle> lines;
    int32_t scaleX = 0x10000, scaleY = 0x10000;  // 16.16
    int32_t rotation = 0;                        // degrees, 16.16
};

class SwfShapeObject : public SwfDisplayItem {
public:
    // Takes the next character id and queues a DefineShape3.
    void define(SwfMovie& movie, std::vector<std::unique_ptr<SwfTag>>& tags) override;
    void writeShape(SwfOutput& out) const;  // shape with styles
    std::vector<SwfShapeRecord> records;
};

// A rectangle (twips) filled with one clipped bitmap of width x height pixels.
class SwfBitmapRect : public SwfShapeObject {
public:
    // bitmap is a DefineBitsJPEG2 or DefineBitsLossless tag whose id was taken
    // from movie when it was made.
    SwfBitmapRect(const SwfRect& rect, std::unique_ptr<SwfTag> bitmap, int bitmapId, int width, int height);
    void define(SwfMovie& movie, std::vector<std::unique_ptr<SwfTag>>& tags) override;

    int bitmapId() const { return m_bitmapId; }

private:
    std::unique_ptr<SwfTag> m_bitmap;
    int m_bitmapId;
    int m_width, m_height;
};

class SwfShowFrame : public SwfTag {
public:
    int code() const override { return 1; }
    void writeBody(SwfOutput&) const override {}
};

class SwfEndTag : public SwfTag {
public:
    int code() const override { return 0; }
    void writeBody(SwfOutput&) const override {}
};

class SwfRemoveObject : public SwfTag {
public:
    explicit SwfRemoveObject(const SwfDisplayItem* item) : m_item(item) {}
    int code() const override { return 5; }
    void writeBody(SwfOutput& out) const override;

private:
    const SwfDisplayItem* m_item;
};

class SwfPlaceObject2 : public SwfTag {
public:
    explicit SwfPlaceObject2(const SwfDisplayItem* item) : m_item(item) {}
    int code() const override { return 26; }
    void writeBody(SwfOutput& out) const override;

private:
    const SwfDisplayItem* m_item;
};

class SwfDefineShape3 : public SwfTag {
public:
    explicit SwfDefineShape3(const SwfShapeObject* shape) : m_shape(shape) {}
    int code() const override { return 32; }
    void writeBody(SwfOutput& out) const override;

private:
    const SwfShapeObject* m_shape;
};

enum : uint8_t { kSwfLosslessColormap = 3, kSwfLossless15 = 4, kSwfLossless24 = 5 };

class SwfDefineBitsLossless : public SwfTag {
public:
    // data: the zlib stream of the pixels (and colour table for format 3).
    SwfDefineBitsLossless(int id, uint8_t format, int width, int height, bool alpha, SwfBlock data,
                          int colorTableSize = 0);
    int code() const override { return m_alpha ? 36 : 20; }
    void writeBody(SwfOutput& out) const override;

private:
    int m_id;
    uint8_t m_format;
    int m_width, m_height;
    bool m_alpha;
    SwfBlock m_data;
    int m_colorTableSize;
};

class SwfDefineBitsJPEG2 : public SwfTag {
public:
    SwfDefineBitsJPEG2(int id, SwfBlock jpeg) : m_id(id), m_jpeg(std::move(jpeg)) {}
    int code() const override { return 21; }
    void writeBody(SwfOutput& out) const override;

private:
    int m_id;
    SwfBlock m_jpeg;
};

class SwfMovie {
public:
    struct Frame {
        std::vector<std::unique_ptr<SwfTag>> tags;
    };

    SwfMovie();
    ~SwfMovie();

    void setRate(int framesPerSecond);  // 1 to 255
    int rate() const { return m_rate; }
    void setStage(int32_t widthTwips, int32_t heightTwips);
    int32_t stageWidth() const { return m_stageWidth; }
    int32_t stageHeight() const { return m_stageHeight; }

    // Frame index, growing the frames to index + 8 and the count to index + 1.
    Frame& getFrame(size_t index);
    size_t frameCount() const { return m_frameCount; }
    // The next character id: 1, 2, 3, ...
    int nextId() { return ++m_lastId; }

    // Takes an item into the movie, which owns it from then on.
    template <class T>
    T* adopt(std::unique_ptr<T> item) {
        T* raw = item.get();
        m_owned.push_back(std::move(item));
        return raw;
    }
    // Queues a placement (after the definition, the first time).
    void place(size_t frame, SwfDisplayItem* item);
    // Queues a removal.
    void remove(size_t frame, const SwfDisplayItem* item);

    // Writes the file (beside it first, then renamed into place); false when
    // it could not be written. The frames and items are cleared either way.
    bool write(const std::string& path);
    // Forgets every frame and item; ids start again from 1.
    void clear();

private:
    int m_rate = 12;
    int32_t m_stageWidth = 11000, m_stageHeight = 8000;
    std::vector<Frame> m_frames;
    size_t m_frameCount = 0;
    int m_lastId = 0;
    std::vector<SwfDisplayItem*> m_placed;  // in first-placement order
    std::vector<std::unique_ptr<SwfDisplayItem>> m_owned;
};
