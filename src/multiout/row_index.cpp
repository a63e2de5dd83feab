#include "multiout/row_index.h"

namespace vormel {

std::size_t RowIndex::slot_of(std::uint64_t k) const {
    std::uint64_t h = k * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
    std::size_t s = static_cast<std::size_t>(h) & mask_;
    while (heads_[s] >= 0 && keys_[s] != k) s = (s + 1) & mask_;
    return s;
}

void RowIndex::build(const CubeTable& table) {
    const std::size_t n = table.rows.size();
    std::size_t size = 16;
    while (size < 2 * n + 2) size <<= 1;
    mask_ = size - 1;
    keys_.assign(size, 0);
    heads_.assign(size, -1);
    next_.assign(n, -1);
    // Inserting from the top keeps each chain in increasing row order.
    for (std::size_t r = n; r-- > 0;) {
        const CubeRow& row = table.rows[r];
        const std::uint64_t k = key(row.care, row.value);
        const std::size_t s = slot_of(k);
        keys_[s] = k;
        next_[r] = heads_[s];
        heads_[s] = static_cast<int>(r);
    }
}

int RowIndex::first_row(std::uint32_t care, std::uint32_t value) const {
    if (heads_.empty()) return -1;
    return heads_[slot_of(key(care, value))];
}

}  // namespace vormel
