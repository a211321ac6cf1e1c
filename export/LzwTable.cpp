#include "export/LzwTable.h"

LzwTable::LzwTable() : m_slots(kSlots, 0xFFFFFFFFu) {}

void LzwTable::clear() { m_slots.assign(kSlots, 0xFFFFFFFFu); }

void LzwTable::insert(uint32_t key, int code) {
    uint32_t slot = hash(key);
    while (!isEmpty(m_slots[slot])) slot = (slot + 1) & (kSlots - 1);
    m_slots[slot] = (key << 12) | uint32_t(code & 0xFFF);
}

int LzwTable::find(uint32_t key) const {
    for (uint32_t slot = hash(key);; slot = (slot + 1) & (kSlots - 1)) {
        const uint32_t v = m_slots[slot];
        if (isEmpty(v)) return -1;
        if ((v >> 12) == key) return int(v & 0xFFF);
    }
}
