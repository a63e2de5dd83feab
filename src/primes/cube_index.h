#pragma once
#include <cstdint>
#include <vector>

#include "primes/cube_mask.h"

namespace vormel {

// Cube -> row index, open addressing: the duplicate and partner look-ups of the comparison steps.
class CubeIndex {
public:
    // Empties the index and sizes it for about `expected` cubes.
    void reset(std::size_t expected) {
        std::size_t slots = 16;
        while (slots < expected * 2) slots *= 2;
        keys_.assign(slots, 0);
        rows_.assign(slots, -1);
        mask_ = slots - 1;
        size_ = 0;
    }
    // The row of the cube, -1 when absent.
    int find(Cube c) const {
        const std::uint64_t key = key_of(c);
        for (std::size_t s = slot_of(key);; s = (s + 1) & mask_) {
            if (rows_[s] < 0) return -1;
            if (keys_[s] == key) return rows_[s];
        }
    }
    // Adds a cube that is not in the index yet.
    void insert(Cube c, int row) {
        if ((size_ + 1) * 2 > keys_.size()) grow();
        place(key_of(c), row);
        ++size_;
    }

private:
    static std::uint64_t key_of(Cube c) { return (std::uint64_t{c.care} << 32) | c.value; }
    std::size_t slot_of(std::uint64_t key) const {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
    }
    void place(std::uint64_t key, int row) {
        std::size_t s = slot_of(key);
        while (rows_[s] >= 0) s = (s + 1) & mask_;
        keys_[s] = key;
        rows_[s] = row;
    }
    void grow() {
        std::vector<std::uint64_t> keys;
        std::vector<int> rows;
        keys.swap(keys_);
        rows.swap(rows_);
        keys_.assign(keys.size() * 2, 0);
        rows_.assign(keys.size() * 2, -1);
        mask_ = keys_.size() - 1;
        for (std::size_t s = 0; s < keys.size(); ++s) {
            if (rows[s] >= 0) place(keys[s], rows[s]);
        }
    }

    std::vector<std::uint64_t> keys_ = std::vector<std::uint64_t>(16, 0);
    std::vector<int> rows_ = std::vector<int>(16, -1);
    std::size_t mask_ = 15;
    std::size_t size_ = 0;
};

}  // namespace vormel
