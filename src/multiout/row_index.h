#pragma once
#include <cstdint>
#include <vector>

#include "multiout/cube_table.h"

namespace vormel {

// A row number as a vector index.
inline std::size_t row_at(int row) { return static_cast<std::size_t>(row); }

// Rows of a table by cube (open addressing on the care/value pair, equal cubes chained), so the
// chain search finds the rows equal to a cube, or twice its size, without walking the table.
class RowIndex {
public:
    void build(const CubeTable& table);
    // First row with this cube, -1 if none; next_row() walks the others.
    int first_row(std::uint32_t care, std::uint32_t value) const;
    int next_row(int row) const { return next_[static_cast<std::size_t>(row)]; }

private:
    static std::uint64_t key(std::uint32_t care, std::uint32_t value) { return (std::uint64_t{care} << 32) | value; }
    std::size_t slot_of(std::uint64_t k) const;
    std::vector<std::uint64_t> keys_;
    std::vector<int> heads_;  // -1: empty slot
    std::vector<int> next_;
    std::size_t mask_ = 0;
};

}  // namespace vormel
