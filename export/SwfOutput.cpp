#include "export/SwfOutput.h"

int SwfBitsUnsigned(uint64_t v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

int SwfBitsSigned(int64_t v) {
    const uint64_t magnitude = v < 0 ? uint64_t(-(v + 1)) : uint64_t(v);
    return SwfBitsUnsigned(magnitude) + 1;
}

void SwfOutput::writeBits(uint32_t value, int n) {
    while (n > 0) {
        const int take = n < 8 - m_bitPos ? n : 8 - m_bitPos;
        const uint32_t bits = (value >> (n - take)) & ((1u << take) - 1);
        m_bitBuf = (m_bitBuf << take) | bits;
        m_bitPos += take;
        n -= take;
        if (m_bitPos == 8) {
            m_bytes.push_back(uint8_t(m_bitBuf));
            m_bitBuf = 0;
            m_bitPos = 0;
        }
    }
}

void SwfOutput::align() {
    if (m_bitPos) writeBits(0, 8 - m_bitPos);
}

void SwfOutput::writeBytes(const uint8_t* data, size_t size) {
    align();
    m_bytes.insert(m_bytes.end(), data, data + size);
}

void SwfOutput::writeBlock(SwfBlock data) {
    align();
    if (!data || data->empty()) return;
    m_blockBytes += data->size();
    m_blocks.push_back({m_bytes.size(), std::move(data)});
}

void SwfOutput::append(const SwfOutput& other) {
    align();
    const size_t base = m_bytes.size();
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    if (other.m_bitPos) m_bytes.push_back(uint8_t(other.m_bitBuf << (8 - other.m_bitPos)));
    for (const External& e : other.m_blocks) m_blocks.push_back({base + e.at, e.data});
    m_blockBytes += other.m_blockBytes;
}

bool SwfOutput::writeTo(FILE* file) const {
    size_t done = 0;
    for (const External& e : m_blocks) {
        if (e.at > done && std::fwrite(m_bytes.data() + done, 1, e.at - done, file) != e.at - done) return false;
        done = e.at;
        if (std::fwrite(e.data->data(), 1, e.data->size(), file) != e.data->size()) return false;
    }
    const size_t rest = m_bytes.size() - done;
    if (rest && std::fwrite(m_bytes.data() + done, 1, rest, file) != rest) return false;
    if (m_bitPos) {
        const uint8_t last = uint8_t(m_bitBuf << (8 - m_bitPos));
        if (std::fwrite(&last, 1, 1, file) != 1) return false;
    }
    return true;
}
