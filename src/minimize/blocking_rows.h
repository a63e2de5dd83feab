#pragma once
#include <cstdint>
#include <vector>

#include "cubes/cover_columns.h"

// The OFF cubes that still block a growing cube, kept as bit columns: for every input bit and every
// output, the set of OFF cubes that have it, one bit per cube. Every question expand asks of the
// rows (which parts does some row leave as its last conflict, which parts does no row block, does
// raising these parts meet a row) is then a pass over |off|/64 words per part instead of a pass
// over the cubes per question, and rows that can no longer be met drop out as whole words empty.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// The growing cube and the parts it may still raise. Since the raised input pairs are never empty,
// every free input bit is the other bit of a pair that has one bit raised. A part neither raised
// nor free is lowered for good.
struct Growth {
    cubes::Cube raise;
    cubes::Cube free;
};

// The rows (OFF cubes) that still constrain one growing cube. A row conflicts with the cube in the
// free input bits whose pair the cube does not meet, and in its outputs when they miss the cube's;
// the cube meets the row once all those conflicts are raised (for the outputs: any one of them).
class BlockingRows {
public:
    // Takes the rows g.raise does not meet yet and drops those g already keeps it from meeting.
    void start(const cubes::CoverColumns& off, const Growth& g);
    // Lowers for good the parts some row leaves as its last conflict, drops the rows that can no
    // longer be met, and raises the free parts that no row left blocks.
    void settle(Growth& g);
    // Raises the parts of `parts` (free ones) in g.
    void raise(Growth& g, const cubes::Cube& parts);
    // Raising t's parts (which fit g) on top of g.raise would make the cube meet a row.
    bool meets_after(const Growth& g, const cubes::Cube& t);
    // How many rows have free input bit b / free output j as a conflict.
    int input_blockers(int b) const;
    int output_blockers(int j) const;

private:
    // Drops the rows whose outputs all miss the raised ones and include none of the free ones
    // (`lowered`: the outputs lowered since the last look).
    void drop_rows_without_free_outputs(const Growth& g, const cubes::OutBits& lowered);
    void drop_empty_words();

    const cubes::CoverColumns* off_ = nullptr;
    std::vector<std::uint64_t> active_;    // rows still constraining the cube
    std::vector<std::uint64_t> out_miss_;  // active rows whose outputs miss the raised ones
    std::vector<int> live_;                // the words of active_ that are not empty
    std::vector<const std::uint64_t*> cols_;  // scratch: per free input bit, the column of its pair's raised bit
    std::vector<int> bits_;                   // scratch: the free input bits in that order
    std::vector<std::uint64_t> blocks_;       // scratch: per free input bit, the rows it blocks (or not 0)
    std::vector<const std::uint64_t*> closed_;  // scratch: columns a row must have to stay
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
