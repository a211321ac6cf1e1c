#include "export/SwfMovie.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "export/MovieFiles.h"

void SwfWriteTagHeader(SwfOutput& out, int code, uint32_t length) {
    if (length < 63) {
        out.writeU16(uint32_t(code) << 6 | length);
    } else {
        out.writeU16(uint32_t(code) << 6 | 63);
        out.writeU32(length);
    }
}

void SwfRect::write(SwfOutput& out) const {
    const int n = std::max({SwfBitsSigned(x0), SwfBitsSigned(x1), SwfBitsSigned(y0), SwfBitsSigned(y1)});
    out.writeBits(uint32_t(n), 5);
    out.writeSBits(x0, n);
    out.writeSBits(x1, n);
    out.writeSBits(y0, n);
    out.writeSBits(y1, n);
    out.align();
}

void SwfMatrix::write(SwfOutput& out) const {
    out.writeBits(hasScale, 1);
    if (hasScale) {
        const int n = std::max(SwfBitsSigned(scaleX), SwfBitsSigned(scaleY));
        out.writeBits(uint32_t(n), 5);
        out.writeSBits(scaleX, n);
        out.writeSBits(scaleY, n);
    }
    out.writeBits(hasRotate, 1);
    if (hasRotate) {
        const int n = std::max(SwfBitsSigned(rotateSkew0), SwfBitsSigned(rotateSkew1));
        out.writeBits(uint32_t(n), 5);
        out.writeSBits(rotateSkew0, n);
        out.writeSBits(rotateSkew1, n);
    }
    const int n = translateX || translateY ? std::max(SwfBitsSigned(translateX), SwfBitsSigned(translateY)) : 0;
    out.writeBits(uint32_t(n), 5);
    out.writeSBits(translateX, n);
    out.writeSBits(translateY, n);
    out.align();
}

namespace {

void writeColor(SwfOutput& out, const SwfColor& c, bool alpha) {
    out.writeU8(c.r);
    out.writeU8(c.g);
    out.writeU8(c.b);
    if (alpha) out.writeU8(c.a);
}

// A style array's count: one byte, or 0xFF and a u16 from 255 on.
void writeCount(SwfOutput& out, size_t count) {
    if (count < 255) {
        out.writeU8(uint32_t(count));
    } else {
        out.writeU8(0xFF);
        out.writeU16(uint32_t(count));
    }
}

}  // namespace

void SwfFillStyle::write(SwfOutput& out, bool alpha) const {
    out.writeU8(type);
    if (type == kSwfFillSolid) {
        writeColor(out, color, alpha);
    } else {
        out.writeU16(bitmapId);
        matrix.write(out);
    }
}

void SwfLineStyle::write(SwfOutput& out, bool alpha) const {
    out.writeU16(width);
    writeColor(out, color, alpha);
}

void SwfShapeRecord::write(SwfOutput& out, int fillBits, int lineBits) const {
    switch (kind) {
    case Kind::StyleChange: {
        out.writeBits(0, 1);  // not an edge
        out.writeBits(0, 1);  // no new styles
        out.writeBits(line >= 0, 1);
        out.writeBits(fill1 >= 0, 1);
        out.writeBits(fill0 >= 0, 1);
        out.writeBits(moveTo, 1);
        if (moveTo) {
            const int n = std::max(SwfBitsSigned(x), SwfBitsSigned(y));
            out.writeBits(uint32_t(n), 5);
            out.writeSBits(x, n);
            out.writeSBits(y, n);
        }
        if (fill0 >= 0) out.writeBits(uint32_t(fill0), fillBits);
        if (fill1 >= 0) out.writeBits(uint32_t(fill1), fillBits);
        if (line >= 0) out.writeBits(uint32_t(line), lineBits);
        break;
    }
    case Kind::StraightEdge: {
        const int n = std::max({SwfBitsSigned(x), SwfBitsSigned(y), 2});
        out.writeBits(3, 2);  // edge, straight
        out.writeBits(uint32_t(n - 2), 4);
        const bool general = x != 0 && y != 0;
        out.writeBits(general, 1);
        if (general) {
            out.writeSBits(x, n);
            out.writeSBits(y, n);
        } else {
            out.writeBits(x == 0, 1);  // vertical
            out.writeSBits(x == 0 ? y : x, n);
        }
        break;
    }
    case Kind::End: out.writeBits(0, 6); break;
    }
}

void SwfTag::write(SwfOutput& out) const {
    SwfOutput body;
    writeBody(body);
    SwfWriteTagHeader(out, code(), uint32_t(body.size()));
    out.append(body);
}

SwfMatrix SwfDisplayItem::placementMatrix() const {
    SwfMatrix m;
    if (scaleX == 0x10000 && scaleY == 0x10000 && rotation == 0) return m;
    const double angle = rotation / 65536.0 * M_PI / 180.0;
    const double c = std::cos(angle), s = std::sin(angle);
    m.hasScale = true;
    m.scaleX = int32_t(std::lround(scaleX * c));
    m.scaleY = int32_t(std::lround(scaleY * c));
    m.hasRotate = rotation != 0;
    m.rotateSkew0 = int32_t(std::lround(scaleX * s));
    m.rotateSkew1 = int32_t(std::lround(-scaleY * s));
    m.translateX = int32_t((int64_t(bounds.x0) + bounds.x1) / 2);
    m.translateY = int32_t((int64_t(bounds.y0) + bounds.y1) / 2);
    return m;
}

void SwfShapeObject::define(SwfMovie& movie, std::vector<std::unique_ptr<SwfTag>>& tags) {
    characterId = movie.nextId();
    tags.push_back(std::make_unique<SwfDefineShape3>(this));
    defined = true;
}

void SwfShapeObject::writeShape(SwfOutput& out) const {
    writeCount(out, fills.size());
    for (const SwfFillStyle& f : fills) f.write(out, true);
    writeCount(out, lines.size());
    for (const SwfLineStyle& l : lines) l.write(out, true);
    const int fillBits = SwfBitsUnsigned(fills.size());
    const int lineBits = SwfBitsUnsigned(lines.size());
    out.writeBits(uint32_t(fillBits), 4);
    out.writeBits(uint32_t(lineBits), 4);
    for (const SwfShapeRecord& r : records) r.write(out, fillBits, lineBits);
    out.align();
}

SwfBitmapRect::SwfBitmapRect(const SwfRect& rect, std::unique_ptr<SwfTag> bitmap, int bitmapId, int width, int height)
    : m_bitmap(std::move(bitmap)), m_bitmapId(bitmapId), m_width(width), m_height(height) {
    bounds = rect;
    const int64_t w = int64_t(rect.x1) - rect.x0 + 1, h = int64_t(rect.y1) - rect.y0 + 1;
    SwfFillStyle fill;
    fill.type = kSwfFillClippedBitmap;
    fill.bitmapId = uint16_t(bitmapId);
    fill.matrix.hasScale = true;
    // 64-bit: a side of 3,276 pixels is 65,520 twips, which times 65,536
    // does not fit 32 bits.
    fill.matrix.scaleX = int32_t(w * 65536 / std::max(width, 1));
    fill.matrix.scaleY = int32_t(h * 65536 / std::max(height, 1));
    fill.matrix.translateX = rect.x0;
    fill.matrix.translateY = rect.y0;
    fills.push_back(fill);

    SwfShapeRecord move;
    move.kind = SwfShapeRecord::Kind::StyleChange;
    move.moveTo = true;
    move.x = rect.x0;
    move.y = rect.y0;
    move.fill1 = 1;  // no line: the rectangle has no line style to select
    records.push_back(move);
    const int32_t dx = int32_t(w), dy = int32_t(h);
    const int32_t edges[4][2] = {{dx, 0}, {0, dy}, {-dx, 0}, {0, -dy}};
    for (const auto& e : edges) {
        SwfShapeRecord edge;
        edge.kind = SwfShapeRecord::Kind::StraightEdge;
        edge.x = e[0];
        edge.y = e[1];
        records.push_back(edge);
    }
    records.push_back(SwfShapeRecord());
}

void SwfBitmapRect::define(SwfMovie& movie, std::vector<std::unique_ptr<SwfTag>>& tags) {
    if (m_bitmap) tags.push_back(std::move(m_bitmap));
    SwfShapeObject::define(movie, tags);
}

void SwfRemoveObject::writeBody(SwfOutput& out) const {
    out.writeU16(uint32_t(m_item->characterId));
    out.writeU16(uint32_t(m_item->depth));
}

void SwfPlaceObject2::writeBody(SwfOutput& out) const {
    // Flags from the top: reserved, clip depth, name, ratio, colour
    // transform, matrix, character, move.
    out.writeU8(0x04 | 0x02);
    out.writeU16(uint32_t(m_item->depth));
    out.writeU16(uint32_t(m_item->characterId));
    m_item->placementMatrix().write(out);
}

void SwfDefineShape3::writeBody(SwfOutput& out) const {
    out.writeU16(uint32_t(m_shape->characterId));
    m_shape->bounds.write(out);
    m_shape->writeShape(out);
}

SwfDefineBitsLossless::SwfDefineBitsLossless(int id, uint8_t format, int width, int height, bool alpha, SwfBlock data,
                                             int colorTableSize)
    : m_id(id), m_format(format), m_width(width), m_height(height), m_alpha(alpha), m_data(std::move(data)),
      m_colorTableSize(colorTableSize) {}

void SwfDefineBitsLossless::writeBody(SwfOutput& out) const {
    out.writeU16(uint32_t(m_id));
    out.writeU8(m_format);
    out.writeU16(uint32_t(m_width));
    out.writeU16(uint32_t(m_height));
    if (m_format <= kSwfLosslessColormap) out.writeU8(uint32_t(m_colorTableSize - 1));
    out.writeBlock(m_data);
}

void SwfDefineBitsJPEG2::writeBody(SwfOutput& out) const {
    static const uint8_t before[4] = {0xFF, 0xD9, 0xFF, 0xD8};
    static const uint8_t after[2] = {0xFF, 0xD9};
    out.writeU16(uint32_t(m_id));
    out.writeBytes(before, 4);
    out.writeBlock(m_jpeg);
    out.writeBytes(after, 2);
}

SwfMovie::SwfMovie() = default;
SwfMovie::~SwfMovie() = default;

void SwfMovie::setRate(int framesPerSecond) { m_rate = std::clamp(framesPerSecond, 1, 255); }

void SwfMovie::setStage(int32_t widthTwips, int32_t heightTwips) {
    m_stageWidth = widthTwips;
    m_stageHeight = heightTwips;
}

SwfMovie::Frame& SwfMovie::getFrame(size_t index) {
    if (index >= m_frames.size()) m_frames.resize(index + 8);
    m_frameCount = std::max(m_frameCount, index + 1);
    return m_frames[index];
}

void SwfMovie::place(size_t frame, SwfDisplayItem* item) {
    Frame& f = getFrame(frame);
    if (!item->defined) {
        item->define(*this, f.tags);
        m_placed.push_back(item);
    }
    f.tags.push_back(std::make_unique<SwfPlaceObject2>(item));
}

void SwfMovie::remove(size_t frame, const SwfDisplayItem* item) {
    getFrame(frame).tags.push_back(std::make_unique<SwfRemoveObject>(item));
}

bool SwfMovie::write(const std::string& path) {
    std::vector<SwfDisplayItem*> byDepth = m_placed;
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [](const SwfDisplayItem* a, const SwfDisplayItem* b) { return a->requestedDepth < b->requestedDepth; });
    for (size_t i = 0; i < byDepth.size(); ++i) byDepth[i]->depth = int(i);

    SwfOutput body;
    const SwfShowFrame show;
    for (size_t i = 0; i < m_frameCount; ++i) {
        for (const auto& tag : m_frames[i].tags) tag->write(body);
        show.write(body);
    }
    SwfEndTag().write(body);

    SwfOutput header;
    header.writeU8('F');
    header.writeU8('W');
    header.writeU8('S');
    header.writeU8(4);
    SwfOutput stage;
    SwfRect{0, m_stageWidth, 0, m_stageHeight}.write(stage);
    const uint64_t length = 4 + 4 + stage.size() + 4 + body.size();
    header.writeU32(uint32_t(length));
    header.append(stage);
    header.writeU8(0);
    header.writeU8(uint32_t(m_rate));
    header.writeU16(uint32_t(m_frameCount));

    bool ok = length <= 0xFFFFFFFFu && m_frameCount <= 0xFFFF;
    const std::string temp = ok ? CreateUniqueMovieFile(MovieFolderOf(path), "_tmp", ".swf") : std::string();
    FILE* file = temp.empty() ? nullptr : std::fopen(temp.c_str(), "wb");
    ok = ok && file && header.writeTo(file) && body.writeTo(file);
    if (file) ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) RemoveMovieFile(temp);
    clear();
    return ok;
}

void SwfMovie::clear() {
    m_frames.clear();
    m_frameCount = 0;
    m_placed.clear();
    m_owned.clear();
    m_lastId = 0;
}
