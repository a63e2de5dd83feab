#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "model/term_table.h"

namespace vormel {

// The expanded table by output: for every output one bit per line for "is 1" and one for "is 0"
// ("-" has neither). A quarter of the byte table's size, and an output's lines of one value are
// read as words instead of one byte in every row.
class ExpandedBits {
public:
    // False when the table holds a value other than 0, 1 and "-" (then nothing is kept).
    bool pack(const ExpandedTable& table);
    // Writes the values back into a table of the packed shape.
    void unpack(ExpandedTable& table) const;

    int lines() const { return lines_; }
    // Bit r is set when output j has value v (0 or 1) in line r.
    std::span<const std::uint64_t> lines_of(int j, int v) const {
        const std::size_t at = (2 * static_cast<std::size_t>(j) + static_cast<std::size_t>(v)) * words_;
        return {bits_.data() + at, words_};
    }
    std::int64_t count(int j, int v) const;

private:
    int inputs_ = 0;
    int lines_ = 0;
    int outputs_ = 0;
    std::size_t words_ = 0;
    std::vector<std::uint64_t> bits_;  // per output j: the lines of value 0, then of value 1
};

}  // namespace vormel
