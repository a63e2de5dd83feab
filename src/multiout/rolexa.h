#pragma once
#include <cstdint>
#include <vector>

#include "multiout/row_index.h"
#include "multiout/cube_table.h"
#include "multiout/random_generator.h"
#include "multiout/route_count.h"

namespace vormel {

struct RunContext;

// rolex_memo marks of a row.
inline constexpr int kMemoFree = -3;
inline constexpr int kMemoEliminated = -2;  // the term being removed
inline constexpr int kMemoOnChain = -1;     // split on the current chain

// One cube handed down a chain: the half of the split row it came in as, with that row's outputs,
// and the row it came from.
struct RolexStackEntry {
    std::uint32_t care = 0;
    std::uint32_t value = 0;
    OutputSet outs;
    int parent = -1;
};

// Everything the chain search keeps between calls within one bundle optimization.
struct RolexState {
    int lrolex = 0;  // highest stack index (highest table row when the optimization began)
    std::vector<int> memo_first;
    std::vector<int> memo_second;
    std::vector<RolexStackEntry> rolex_stack;

    // Internal: rows whose marks are not free, the cube index and scratch space of the search.
    std::vector<int> touched;
    RowIndex index;
    struct Candidate {
        int row;
        std::uint32_t flip;  // 0: the row equals the cube; else the input bit it doubles the cube across
    };
    std::vector<Candidate> candidates;
    std::vector<int> order;
    std::vector<int> row_order;
    std::vector<int> input_order;
    std::vector<int> slot;
    // Cubes of one care mask keyed by value, with a number each; cleared in O(1) by a new stamp.
    struct CubeMarks {
        std::vector<std::uint32_t> value;
        std::vector<std::uint32_t> stamp;
        std::vector<int> number;
        std::uint32_t current = 0;
        void resize(std::size_t rows);
        void clear();
        // The slot of v; inserted with number -1 when new (inserted is then true).
        std::size_t slot(std::uint32_t v, bool& inserted);
        int find(std::uint32_t v) const;
    };
    CubeMarks seen;   // reachability test
    CubeMarks label;  // distance of each cube to the nearest end of a chain
    std::vector<std::uint32_t> queue;
    std::vector<std::uint32_t> ends;
    RouteGraph route_graph;  // the component of a failing search
    std::vector<int> link_of_row;
    RouteCounter route_counter;

    // Sizes the marks to the table, frees them and indexes the rows.
    void prepare(const CubeTable& table);
    void free_marks();
};

// Removes product terms one at a time: a term is split along an input it does not depend on and each
// half is passed down a chain of rows until it lands on an equal row (random row and input orders).
// count = terms removed.
void expand_x2(RunContext& ctx, CubeTable& table, RolexState& state, RandomGenerator& rng, int& count);

// Searches a chain for the cube coming from row parent; on success the stack and the marks describe
// it. The search keeps its own stack of levels, so long chains cannot exhaust the call stack.
// A chain deeper than lrolex: System Error 5, error_flag.
bool rolex_rec(RunContext& ctx, const CubeTable& table, RolexState& state, RandomGenerator& rng, std::uint32_t care,
               std::uint32_t value, int parent);

// Rewrites the table along the marks and the stack (the term and the split rows go, the chain cubes
// come in) and empties the stack.
void apply_rolex(CubeTable& table, RolexState& state);

}  // namespace vormel
