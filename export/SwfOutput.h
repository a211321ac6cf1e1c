// The byte buffer of an SWF file with its bit writer. Values go most
// significant bit first; a value of n bits takes its low n bits; u8, u16 and
// u32 are little-endian. Large data (JPEG files, zlib output) is held as
// external blocks and written in place when the buffer goes to the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

using SwfBlock = std::shared_ptr<const std::vector<uint8_t>>;

// Bits for v as an unsigned number, and as a signed number (at least 1).
int SwfBitsUnsigned(uint64_t v);
int SwfBitsSigned(int64_t v);

class SwfOutput {
public:
    SwfOutput() { m_bytes.reserve(1024); }

    void writeBits(uint32_t value, int n);
    void writeSBits(int32_t value, int n) { writeBits(uint32_t(value), n); }
    // Pads the current byte with zero bits.
    void align();
    void writeU8(uint32_t v) { writeBits(v & 0xFF, 8); }
    void writeU16(uint32_t v) {
        writeU8(v);
        writeU8(v >> 8);
    }
    void writeU32(uint32_t v) {
        writeU16(v & 0xFFFF);
        writeU16(v >> 16);
    }
    void writeBytes(const uint8_t* data, size_t size);
    // Refers to data at the current (aligned) position without copying it.
    void writeBlock(SwfBlock data);
    // Appends another output whole, its blocks by reference.
    void append(const SwfOutput& other);

    // Bytes so far, external blocks included (after alignment).
    uint64_t size() const { return m_bytes.size() + (m_bitPos ? 1 : 0) + m_blockBytes; }
    // Writes everything; false on a short write.
    bool writeTo(FILE* file) const;
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    struct External {
        size_t at;  // position in m_bytes
        SwfBlock data;
    };
    std::vector<uint8_t> m_bytes;
    uint32_t m_bitBuf = 0;
    int m_bitPos = 0;  // bits waiting in m_bitBuf (0-7)
    std::vector<External> m_blocks;
    uint64_t m_blockBytes = 0;
};
