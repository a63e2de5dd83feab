#pragma once
#include <climits>
#include <vector>

namespace vormel {

struct CoverMatrix;

// The open minterms grouped by their column (the set of active primes covering them), with the
// classes whose column holds or is held by each class's. Wide functions have few distinct columns
// over many minterms, so column dominance works on classes instead of minterm pairs. Columns do
// not change while minterms are taken out, so the grouping holds for a whole column pass.
class ColumnClasses {
public:
    explicit ColumnClasses(const CoverMatrix& m);

    int class_of(int k) const { return class_of_[k]; }
    int count() const { return static_cast<int>(sub_.size()); }
    // Classes whose column is a proper subset / superset of class c's.
    const std::vector<int>& subsets(int c) const { return sub_[c]; }
    const std::vector<int>& supersets(int c) const { return super_[c]; }
    // Whether a changed minterm lies in class c or in a class nested with it.
    bool meets_changed(int c) const { return meets_changed_[c] != 0; }

    // The first minterm of class c above k that is still in (changed ones only when asked);
    // INT_MAX when there is none.
    int next_after(int c, int k, bool changed_only);
    // Takes minterm k out of its class.
    void remove(int k);

private:
    struct Members {
        std::vector<int> start;    // class c holds items[start[c] .. start[c + 1] - 1), the last a sentinel
        std::vector<int> items;
        std::vector<int> next;     // next item still in, by path halving
        std::vector<int> position; // per minterm, -1 when not listed
        int find(int i);
        int after(int c, int k);
        void take_out(int k);
    };

    std::vector<int> class_of_;
    std::vector<std::vector<int>> sub_;
    std::vector<std::vector<int>> super_;
    std::vector<char> meets_changed_;
    Members all_;
    Members changed_;
};

}  // namespace vormel
