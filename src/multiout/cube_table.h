#pragma once
#include <bit>
#include <cstdint>
#include <vector>

#include "model/term_table.h"

namespace vormel {

// The outputs a product term feeds (at most 100). In the working table every Y entry is either
// the output's polarity value or "-", so a set of outputs says all there is to say.
struct OutputSet {
    std::uint64_t w[2] = {0, 0};

    bool test(int j) const { return (w[j >> 6] >> (j & 63)) & 1u; }
    void set(int j) { w[j >> 6] |= std::uint64_t{1} << (j & 63); }
    bool empty() const { return (w[0] | w[1]) == 0; }
    int count() const { return std::popcount(w[0]) + std::popcount(w[1]); }
    OutputSet operator&(const OutputSet& o) const { return {{w[0] & o.w[0], w[1] & o.w[1]}}; }
    OutputSet operator|(const OutputSet& o) const { return {{w[0] | o.w[0], w[1] | o.w[1]}}; }
    // Members of this set that o lacks.
    OutputSet minus(const OutputSet& o) const { return {{w[0] & ~o.w[0], w[1] & ~o.w[1]}}; }
    OutputSet& operator|=(const OutputSet& o) { return *this = *this | o; }
    bool operator==(const OutputSet&) const = default;
};

// One product term as bit masks: bit i of care is set when input i appears, bit i of value then
// says whether it appears uncomplemented (value bits outside care are always 0).
struct CubeRow {
    std::uint32_t care = 0;
    std::uint32_t value = 0;
    OutputSet outs;

    bool same_cube(const CubeRow& o) const { return care == o.care && value == o.value; }
};

// The multi-output working table of the bundle optimization, in row order.
struct CubeTable {
    int nx = 0;
    int ny = 0;
    std::vector<CubeRow> rows;

    int last() const { return static_cast<int>(rows.size()) - 1; }
};

// Mask form of one X byte row (0, 1, 2 per input).
void cube_from_bytes(const std::uint8_t* x, int nx, std::uint32_t& care, std::uint32_t& value);
void cube_to_bytes(std::uint32_t care, std::uint32_t value, int nx, std::uint8_t* x);

// A term table whose Y entries are the polarity values or "-" (rows 0 .. last).
CubeTable to_cube_table(const TermTable& table);
// Back to bytes: an output's entry is its polarity value where the row feeds it, else "-".
TermTable to_term_table(const CubeTable& table, const std::vector<int>& polarity);

}  // namespace vormel
