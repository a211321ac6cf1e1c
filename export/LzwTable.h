// The string table of the GIF encoder's LZW coder: 8192 open-addressed slots
// of key x 4096 + code, the key being prefix code x 256 + next index (at most
// 20 bits). An empty slot holds 0xFFFFFFFF; the coder clears the table before
// the 4096th code, so no stored value reaches 0xFFFFF000.
#pragma once

#include <cstdint>
#include <vector>

class LzwTable {
public:
    static constexpr int kSlots = 8192;

    LzwTable();  // allocated and cleared
    void clear();
    void insert(uint32_t key, int code);
    // The code stored for key, or -1.
    int find(uint32_t key) const;
    static uint32_t hash(uint32_t key) { return ((key >> 12) ^ key) & (kSlots - 1); }

private:
    static bool isEmpty(uint32_t v) { return v >= 0xFFFFF000u; }
    std::vector<uint32_t> m_slots;
};
