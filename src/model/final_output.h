#pragma once
#include <cstdint>
#include <vector>

#include "model/term_table.h"

namespace vormel {

// The values of the minimized functions on every minterm, read like an ExpandedTable (row r is
// minterm r, input 0 its most significant bit). The rows are made from the final terms a block at a
// time when they are read instead of being stored: at 22 inputs and 100 outputs the table would
// take 400 MB beside the expanded input.
class FinalOutput {
public:
    int nx = 0;
    int ny = 0;
    int last = -1;

    FinalOutput() = default;
    // Rows 0 .. 2^inputs - 1 of the outputs the terms' Y entries give; a row that no term covers
    // for output j takes uncovered[j].
    FinalOutput(int inputs, const TermTable& terms, std::vector<std::uint8_t> uncovered);

    int rows() const { return last + 1; }
    std::uint8_t x(int row, int input) const { return static_cast<std::uint8_t>((row >> (nx - 1 - input)) & 1); }
    // The output values of a row. The pointer stays valid on the calling thread until this thread
    // reads a row of another block of this table (blocks of kBlockRows rows).
    const std::uint8_t* y(int row) const;
    // Writes rows first .. last, ny bytes each, into `into`.
    void fill_rows(int first, int last_row, std::uint8_t* into) const;
    // The whole table, for callers that need it stored.
    ExpandedTable to_table() const;

    static constexpr int kBlockBits = 12;
    static constexpr int kBlockRows = 1 << kBlockBits;

private:
    struct Term {
        std::uint32_t base = 0;  // the cube's 1 inputs
        std::uint32_t free = 0;  // its "-" inputs
        int fed_begin = 0;       // outputs fed[fed_begin .. fed_end) with their values
        int fed_end = 0;
    };
    std::vector<Term> terms_;
    std::vector<int> fed_outputs_;
    std::vector<std::uint8_t> fed_values_;
    std::vector<std::uint8_t> uncovered_;
    // Names the content for the threads' cached blocks: new for every table made from terms, and
    // shared by its copies, which hold the same rows.
    std::uint64_t id_ = 0;
};

}  // namespace vormel
