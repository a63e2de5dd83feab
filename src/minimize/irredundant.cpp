#include "minimize/irredundant.h"

#include <algorithm>
#include <array>
#include <bit>

#include "cubes/input_words.h"
#include "minimize/cover_cost.h"
#include "minimize/cube_cofactors.h"
#include "minimize/min_cover.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

namespace {

// The covering search is exponential; past its limits it keeps the best cover found. Every pass of
// the loop searches briefly; the one call on the union of several runs' cubes searches further.
constexpr CoverSearch kPassSearch{100, 100};
constexpr CoverSearch kUnionSearch{1000, 100};

// An input word of a cofactor and the partially redundant cube it came from (-1: a cube that is
// kept anyway, relatively essential or don't-care).
struct Tagged {
    cubes::InBits in;
    int tag;
};

// Walks the cofactor of one partially redundant cube (for one output) down to unate leaves. A leaf
// that no kept cube covers whole is covered only by the cubes universal there, so one of them (or
// the cube itself) must stay: one row of the covering problem.
class LeafRows {
public:
    LeafRows(const Space& s, int self, std::vector<std::vector<int>>& rows)
        : full_(s.in_full), nx_(s.nx), self_(self), rows_(rows) {}

    void run(const std::vector<Tagged>& cubes) {
        stack_ = cubes;
        nodes_ = 0;
        visit(0, stack_.size());
    }

private:
    void visit(std::size_t begin, std::size_t end) {
        cubes::InBits zero, one;
        for (std::size_t i = begin; i < end; ++i) {
            const cubes::InBits& c = stack_[i].in;
            if (c == full_ && stack_[i].tag < 0) return;
            zero |= c & ~(c >> 1) & cubes::kLowBits;
            one |= (c >> 1) & ~c & cubes::kLowBits;
        }
        const cubes::InBits binate = zero & one;
        if (binate.none()) {
            add_row(begin, end);
            return;
        }
        // Cubes in groups on disjoint inputs: the leaves multiply, and a row needs a cube universal
        // at its leaf in one group or another. Past a walk's first nodes, the rows of one group
        // alone (each leaf's cubes of that group, plus those universal here) stand for them:
        // stronger, still sound, and only as many as that group's leaves. The group of the most
        // cubes leaves the most choice.
        if (++nodes_ > kExactNodes && walk_one_group(begin, end)) return;
        split_on_busiest(begin, end, binate);
    }

    void add_row(std::size_t begin, std::size_t end) {
        std::vector<int> row{self_};
        for (std::size_t i = begin; i < end; ++i)
            if (stack_[i].in == full_) row.push_back(stack_[i].tag);
        std::sort(row.begin(), row.end());
        row.erase(std::unique(row.begin(), row.end()), row.end());
        rows_.push_back(std::move(row));
    }

    bool walk_one_group(std::size_t begin, std::size_t end) {
        inputs_.clear();
        for (std::size_t i = begin; i < end; ++i) inputs_.push_back(stack_[i].in);
        const std::vector<cubes::InBits> groups = cubes::input_groups(inputs_.data(), inputs_.data() + inputs_.size());
        if (groups.size() < 2) return false;
        auto in_group = [](const cubes::InBits& in, const cubes::InBits& group) {
            return (cubes::literal_inputs(in) & ~group).none();
        };
        const cubes::InBits* widest = nullptr;
        std::size_t most = 0;
        for (const cubes::InBits& group : groups) {
            std::size_t n = 0;
            for (std::size_t i = begin; i < end; ++i) n += in_group(stack_[i].in, group) ? 1 : 0;
            if (n > most) widest = &group, most = n;
        }
        const std::size_t mark = stack_.size();
        for (std::size_t i = begin; i < end; ++i)
            if (in_group(stack_[i].in, *widest)) stack_.push_back(stack_[i]);
        visit(mark, stack_.size());
        stack_.resize(mark);
        return true;
    }

    void split_on_busiest(std::size_t begin, std::size_t end, const cubes::InBits& binate) {
        // Filled and read before the recursion, so one buffer serves every level.
        std::vector<int>& count = count_;
        count.assign(static_cast<std::size_t>(nx_), 0);
        for (std::size_t i = begin; i < end; ++i) {
            const cubes::InBits& c = stack_[i].in;
            ((c ^ (c >> 1)) & cubes::kLowBits & binate).for_each([&](int b) { ++count[b >> 1]; });
        }
        int split = -1;
        binate.for_each([&](int b) {
            const int v = b >> 1;
            if (split < 0 || count[v] > count[split]) split = v;
        });
        const cubes::InBits pair = cubes::input_pair(split);
        for (int value : {0, 1}) {
            const cubes::InBits bit = cubes::input_bits(split, value);
            const std::size_t mark = stack_.size();
            for (std::size_t i = begin; i < end; ++i) {
                const Tagged t = stack_[i];
                if (t.in & bit) stack_.push_back(Tagged{t.in | pair, t.tag});
            }
            visit(mark, stack_.size());
            stack_.resize(mark);
        }
    }

    cubes::InBits full_;
    int nx_;
    int self_;
    std::vector<std::vector<int>>& rows_;
    std::vector<Tagged> stack_;
    std::vector<int> count_;
    cubes::InputCover inputs_;
    static constexpr long kExactNodes = 1024;
    long nodes_ = 0;
};

// The covering problem over the partially redundant cubes: for each of them, one row per leaf of
// its cofactor that the kept cubes and d leave uncovered. Cost: terms first, literals on a tie.
CoveringProblem redundancy_table(const Cover& partial, IndexedCover& kept, IndexedCover& d, const Space& s) {
    CoveringProblem problem;
    problem.columns = static_cast<int>(partial.size());
    problem.cost = terms_first_costs(literal_counts(partial, s));
    Cover others;
    std::vector<int> tags;
    std::vector<Tagged> cubes_j;
    for (std::size_t k = 0; k < partial.size(); ++k) {
        const Cube& p = partial[k];
        others.clear();
        gather_cofactors(p, kept, kept.cover.size(), d, s, others);
        tags.assign(others.size(), -1);
        for (std::size_t m = 0; m < partial.size(); ++m)
            if (m != k && cubes::intersects(partial[m], p, s)) {
                others.push_back(cubes::cofactor(partial[m], p, s));
                tags.push_back(static_cast<int>(m));
            }
        LeafRows leaves(s, static_cast<int>(k), problem.rows);
        for_each_output(p, [&](int j) {
            cubes_j.clear();
            const std::uint64_t bit = std::uint64_t{1} << (j & 63);
            for (std::size_t m = 0; m < others.size(); ++m)
                if (others[m].out.w[j >> 6] & bit) cubes_j.push_back(Tagged{others[m].in, tags[m]});
            leaves.run(cubes_j);
        });
    }
    std::sort(problem.rows.begin(), problem.rows.end());
    problem.rows.erase(std::unique(problem.rows.begin(), problem.rows.end()), problem.rows.end());
    return problem;
}

}  // namespace

void irredundant(Cover& f, const Cover& d, const Space& s, StopCheck& stop, const std::vector<char>& known) {
    const std::size_t n = f.size();
    Cover q;
    cubes::InputCover scratch;
    IndexedCover fi(f, s), di(d, s);
    // Relatively essential: not covered by all the others.
    std::vector<char> keep(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (stop()) return;
        q.clear();
        gather_cofactors(f[i], fi, i, di, s, q);
        keep[i] = cofactors_cover(q, f[i], s, scratch) ? 0 : 1;
    }
    Cover kept;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) kept.push_back(f[i]);
    // Totally redundant: covered by the relatively essential ones and d. The rest are partially so.
    std::vector<int> partial;
    Cover partial_cubes;
    IndexedCover ki(kept, s);
    for (std::size_t i = 0; i < n; ++i) {
        if (keep[i]) continue;
        if (stop()) return;
        q.clear();
        gather_cofactors(f[i], ki, kept.size(), di, s, q);
        if (cofactors_cover(q, f[i], s, scratch)) continue;
        partial.push_back(static_cast<int>(i));
        partial_cubes.push_back(f[i]);
    }
    if (!partial.empty()) {
        if (stop()) return;
        const CoveringProblem problem = redundancy_table(partial_cubes, ki, di, s);
        std::vector<int> start;
        if (known.size() == n)
            for (std::size_t k = 0; k < partial.size(); ++k)
                if (known[partial[k]]) start.push_back(static_cast<int>(k));
        for (int k : min_cover(problem, known.size() == n ? kUnionSearch : kPassSearch, start).chosen) keep[partial[k]] = 1;
    }
    Cover result;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) result.push_back(f[i]);
    f = std::move(result);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
