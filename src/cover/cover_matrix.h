#pragma once
#include <cstdint>
#include <functional>
#include <queue>
#include <span>
#include <string>
#include <vector>

#include "model/term_table.h"

namespace vormel {

struct RunContext;
class ExpandedBits;

// MTmin while no minterm is open.
inline constexpr int kNoOpenMinterm = 99999999;

// The covering matrix of one output and polarity: primes 0 .. P against minterms 0 .. K.
// Kept sparse and by classes: minterms with the same column (the primes covering them) form a
// class, stored once with its column; per prime the classes it covers, both lists ascending. A
// covering cell reads 1 while its prime is active and its minterm open and 255 once either was
// taken out, so the cell states follow from the prime states and minterm counts and are not stored.
// No list per prime of its minterms is kept: on wide dense sets it was the largest part.
struct CoverMatrix {
    int inputs = 0;
    int P = -1;
    int K = -1;
    const TermTable* primes = nullptr;
    std::vector<int> minterm_line;  // expanded line of minterm k

    std::vector<std::int64_t> class_col_start;  // class c is covered by class_col_items[class_col_start[c] .. [c + 1])
    std::vector<int> class_col_items;

    std::vector<int> state;      // 0 active, -1 out, -2 covers no minterm
    std::vector<int> essential;  // -1: sole cover of some minterm at the start
    std::vector<int> literals;   // literal count - 1
    std::vector<int> count;      // covering active primes - 1; -1: minterm needs no further cover
    std::vector<int> row_open;   // open minterms of an active prime

    // Changed flags (-1) with the flagged indices in a list, so a pass visits only those. Minterms
    // are flagged by class: a flag always goes to all open minterms of a class at once.
    std::vector<int> prime_changed;
    std::vector<int> class_changed;
    std::vector<int> changed_primes;
    std::vector<int> changed_classes;

    // Active primes whose open minterms were all taken out by column dominance (checked on use).
    std::vector<int> empty_rows;

    // Scratch of the dominance passes, all zero between uses.
    std::vector<int> prime_shared;
    std::vector<int> prime_mark;

    // Minterms with the same column go through every step alike, and wide sets have few distinct
    // columns: the passes over rows work on these classes with their open counts.
    std::vector<int> class_of;           // class of minterm k
    std::vector<int> class_first;        // a minterm of class c, whose column is the class's
    std::vector<int> prime_class_start;  // prime p is in the columns of prime_classes[prime_class_start[p] .. [p + 1])
    std::vector<int> prime_classes;
    std::vector<int> member_start;       // class c holds members[member_start[c] .. + member_size[c]), ascending
    std::vector<int> members;
    std::vector<int> member_size;        // closed minterms leave the list when it is walked
    std::vector<int> class_open;         // open minterms of class c

    int open_minterms = 0;
    std::vector<int> count_histogram;  // open minterms per count
    // Open minterms that reached count 0, smallest on top; a count never returns to 0, so entries
    // that closed since are simply dropped when they surface.
    std::priority_queue<int, std::vector<int>, std::greater<int>> single_cover;
    int MTmin = kNoOpenMinterm;
    int done = -1;

    std::span<const int> class_col(int c) const {
        return {class_col_items.data() + class_col_start[c],
                static_cast<std::size_t>(class_col_start[c + 1] - class_col_start[c])};
    }
    std::span<const int> col(int k) const { return class_col(class_of[k]); }
    std::span<const int> row_classes(int p) const {
        return {prime_classes.data() + prime_class_start[p],
                static_cast<std::size_t>(prime_class_start[p + 1] - prime_class_start[p])};
    }
    int classes() const { return static_cast<int>(class_first.size()); }
    // Minterms of class c when the matrix was built.
    int class_size(int c) const { return member_start[c + 1] - member_start[c]; }
    // Visits the open minterms of class c in ascending order; visit may close them.
    template <typename Visit>
    void for_open_members(int c, Visit visit) {
        int* list = members.data() + member_start[c];
        int kept = 0;
        for (int i = 0; i < member_size[c]; ++i) {
            const int k = list[i];
            if (!open(k)) continue;
            list[kept++] = k;
            visit(k);
        }
        member_size[c] = kept;
    }
    bool active(int p) const { return state[p] == 0; }
    bool open(int k) const { return count[k] >= 0; }
    void flag_prime(int p);
    // Flags the open minterms of class c.
    void flag_class(int c);
    bool minterm_changed(int k) const { return class_changed[class_of[k]] != 0; }
    void clear_prime_flags();
    void clear_minterm_flags();
    // One covering prime fewer; the minterm closes when none is left.
    void drop_cover(int k);
    // The minterm needs no further cover.
    void close(int k);
    // Counts of the open minterms start again (after count_MTcover set them).
    void reset_count_tracking();
    // Smallest count over the open minterms, kNoOpenMinterm when none is open.
    int smallest_count() const;
    // The open minterm of lowest index with count 0; -1 when there is none.
    int first_single_cover();

    std::string prime_text(int p) const;
    std::string minterm_text(int k) const;
};

// Builds the matrix of primes 0 .. P (rows of `primes`, over n inputs) against the lines of the
// expanded table whose value for output j equals v. Literal counts are set; states and counts are
// left to count_MTcover.
void fill_cover_matrix(RunContext& ctx, const ExpandedBits& extab, int n, int j, int v, const TermTable& primes, int P,
                       CoverMatrix& matrix);

}  // namespace vormel
