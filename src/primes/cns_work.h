#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "primes/cube_mask.h"
#include "primes/literal_files.h"

namespace vormel {

struct RunContext;
struct Problem;

// Allocates without zeroing on resize: the recursion sizes its lists to the set before it fills
// them.
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using RowList = std::vector<int, UninitializedAllocator<int>>;
using MintermList = std::vector<std::uint32_t, UninitializedAllocator<std::uint32_t>>;

// The row lists of one recursion level: 0-cofactor, 1-cofactor and consensus rows (lusedc).
// An entry -1 marks a deleted row. The *_cap fields are the last index each list was created
// with or grown to; they decide when the growth warnings appear.
struct CnsLevelLists {
    RowList zero;
    RowList one;
    MintermList zero_values;  // the minterms of the cofactor rows, as split
    MintermList one_values;
    RowList consensus;
    int zero_cap = 0;
    int one_cap = 0;
    int consensus_cap = 0;
    // The not deleted consensus rows as cubes, in list order, for the containment scans (a
    // deleted one is marked by kDeadBit until the arrays are compacted).
    std::vector<std::uint32_t> live_care;
    std::vector<std::uint32_t> live_value;
    std::vector<int> live_position;  // index into `consensus`
    std::size_t dead = 0;
    LiteralFiles live_files;  // the live cubes by literal, once there are many
    std::vector<std::size_t> contained;  // scratch of the scan
};

// The state of consensus generation for one output and polarity. Rows of `table` (tempa) are
// addressed by index and never move; the recursion passes lists of row indices.
//
// The rows keep every literal: where the in-place method would hold "-" at the splitting
// variables of the enclosing levels, the rows hold the values of the cofactor being processed,
// which are equal in all rows of a level. Comparisons leave those variables out (split_mask) and
// displays print them as "-" (the level's path mask).
struct CnsWork {
    CnsWork(RunContext& context, const Problem& prob);

    RunContext& ctx;
    const Problem& problem;
    int inputs;
    int maxlpnum;
    int output = 0;
    int value = 1;

    std::vector<Cube> table;  // tempa
    int table_last = -1;      // last row in use
    int table_cap;            // last row index tempa was created with or grown to
    std::vector<int> free_rows;
    RowList lused;  // the set of the top level, then its primes
    int lused_cap;

    std::uint32_t split_mask = 0;  // splitting variables of the enclosing levels
    int split_count = -1;
    int level = 0;
    std::string xtree;
    std::vector<CnsLevelLists> levels;  // one per recursion level (depth <= inputs + 1)

    // Starts an output and polarity on the rows 0 .. last of table.
    void start_output(int out, int val);
    // Makes sure tempa has row `needed` (System Warning 6 under `name`).
    void check_table(int needed, const char* name);
    // A row for a new cube: the top of the free-row stack, else a new row after the last.
    int take_row();
    CnsLevelLists& enter_level_lists();
    // The activity heartbeat and the memory sample of the recursion; they read the clock, so only
    // every 256th call of a level goes through.
    void heartbeat();
    void sample_memory();
    unsigned heartbeats = 0;
    unsigned memory_samples = 0;
};

// Ones per variable (bit b: input n - 1 - b) of a set of minterm rows, on the variables not
// split yet: what the splitting choice and the constant-variable count need.
struct SetCounts {
    int ones[32] = {};
};
SetCounts count_ones(const CnsWork& work, const MintermList& minterms);

// One recursion level on the set `lused` (rows of table, minterms `values`, counted `counts`);
// on return `lused` holds the primes of the set. caller_var / caller_value: the caller's
// splitting variable and cofactor value (-1 at the top). Returns early with error_flag set when
// the run is aborted.
void cofactor_CNS(CnsWork& work, RowList& lused, int& lused_cap, int caller_var, int caller_value,
                  const MintermList& values, const SetCounts& counts);

// Displays of display levels 3 and 4.
void cns_xtree_heading(CnsWork& work, const std::string& title);
void cns_set_display(CnsWork& work, const RowList& rows, int var, int var_value, std::uint32_t path);
void cns_consensus_display(CnsWork& work, const CnsLevelLists& lists, int var, std::uint32_t path);

}  // namespace vormel
