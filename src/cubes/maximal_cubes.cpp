#include "cubes/maximal_cubes.h"

#include <functional>

#include <algorithm>
#include <bit>

#include "cubes/cover_algebra.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// Below this many cubes a plain scan beats building the trie.
constexpr std::size_t kScanLimit = 48;

int part_count(const Cube& c) { return c.in.count() + c.out.count(); }

// A trie of the kept cubes keyed by their literals (the 0 bits of `in`, ascending). A cube b lies
// inside a kept cube a when a's literals are a subset of b's and a's outputs a superset of b's,
// so a query only walks the edges of b's own literals: a subset query, not a scan of all cubes.
class ContainerTrie {
public:
    explicit ContainerTrie(const InBits& in_full) : in_full_(in_full) { nodes_.emplace_back(); }

    void insert(const Cube& a) {
        int node = 0;
        add_outputs(node, a);
        (in_full_ & ~a.in).for_each([&](int bit) {
            Node& n = nodes_[node];
            const auto rank = static_cast<std::size_t>(n.child_mask.below(bit).count());
            if (n.child_mask.test(bit)) {
                node = n.children[rank];
            } else {
                const int child = static_cast<int>(nodes_.size());
                n.child_mask.set(bit);
                n.children.insert(n.children.begin() + static_cast<std::ptrdiff_t>(rank), child);
                nodes_.emplace_back();
                node = child;
            }
            add_outputs(node, a);
        });
        nodes_[node].terminals.push_back(a.out);
    }

    bool holds_container_of(const Cube& b) const { return search(0, in_full_ & ~b.in, b); }

private:
    struct Node {
        InBits child_mask;
        OutBits subtree_out;         // union of the outputs of the cubes below
        std::vector<int> children;   // in bit order of child_mask
        std::vector<OutBits> terminals;
    };

    void add_outputs(int node, const Cube& a) {
        nodes_[node].subtree_out |= a.out;
    }

    bool search(int node, const InBits& lits, const Cube& b) const {
        const Node& n = nodes_[node];
        if (b.out & ~n.subtree_out) return false;
        for (const OutBits& out : n.terminals)
            if ((b.out & ~out).none()) return true;
        for (InBits next = n.child_mask & lits; next; next.clear_lowest()) {
            const int bit = next.lowest();
            const auto rank = static_cast<std::size_t>(n.child_mask.below(bit).count());
            // Literals are stored ascending, so deeper edges only use the literals above this one.
            if (search(n.children[rank], lits & ~InBits::first(bit + 1), b)) return true;
        }
        return false;
    }

    InBits in_full_;
    std::vector<Node> nodes_;
};

}  // namespace

namespace {

struct Keyed {
    int size;
    std::uint32_t at;  // position in the cover
    Cube cube;
};

// Larger cubes first, then by bit pattern; equal cubes by position, so the first of them leads.
std::vector<Keyed> sorted_by_size(const Cover& f, InBits& in_full) {
    std::vector<Keyed> keyed;
    keyed.reserve(f.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
        keyed.push_back({part_count(f[i]), static_cast<std::uint32_t>(i), f[i]});
        in_full |= f[i].in;
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.size != b.size) return a.size > b.size;
        if (a.cube.in != b.cube.in) return a.cube.in < b.cube.in;
        if (a.cube.out != b.cube.out) return OutBits::low_word_first_less(a.cube.out, b.cube.out);
        return a.at < b.at;
    });
    return keyed;
}

// Appends to `kept` (empty on entry) the maximal cubes of `keyed`, one of each, in its order; and
// their positions to `at` when given. A cube can only lie inside a strictly larger one or be a
// duplicate of its neighbour, so the trie receives a size class only after the whole class was checked.
// Returns false, with `kept` unspecified, when `stop` (asked every 1024 cubes) says so first.
bool keep_maximal_sorted(const std::vector<Keyed>& keyed, const InBits& in_full, Cover& kept, std::vector<std::uint32_t>* at,
                         const std::function<bool()>* stop = nullptr) {
    auto stopped = [&](std::size_t i) { return stop && (i & 1023) == 1023 && (*stop)(); };
    auto keep = [&](const Keyed& k) {
        kept.push_back(k.cube);
        if (at) at->push_back(k.at);
    };
    if (keyed.size() <= kScanLimit) {
        std::size_t larger_end = 0;  // kept[0, larger_end) are strictly larger than the current cube
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (stopped(i)) return false;
            if (i > 0 && keyed[i].size != keyed[i - 1].size) larger_end = kept.size();
            const Cube& b = keyed[i].cube;
            if (kept.size() > larger_end && kept.back() == b) continue;
            bool inside = false;
            for (std::size_t k = 0; k < larger_end && !inside; ++k) inside = contains(kept[k], b);
            if (!inside) keep(keyed[i]);
        }
        return true;
    }
    ContainerTrie trie(in_full);
    std::size_t class_begin = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (stopped(i)) return false;
        if (i > 0 && keyed[i].size != keyed[i - 1].size) {
            for (std::size_t k = class_begin; k < kept.size(); ++k) trie.insert(kept[k]);
            class_begin = kept.size();
        }
        const Cube& b = keyed[i].cube;
        if (kept.size() > class_begin && kept.back() == b) continue;
        if (!trie.holds_container_of(b)) keep(keyed[i]);
    }
    return true;
}

}  // namespace

void keep_maximal(Cover& f) {
    if (f.size() < 2) return;
    InBits in_full;
    const std::vector<Keyed> keyed = sorted_by_size(f, in_full);
    f.clear();
    keep_maximal_sorted(keyed, in_full, f, nullptr);
}

bool keep_maximal_until(Cover& f, const std::function<bool()>& stop) {
    if (f.size() < 2) return true;
    InBits in_full;
    const std::vector<Keyed> keyed = sorted_by_size(f, in_full);
    f.clear();
    return keep_maximal_sorted(keyed, in_full, f, nullptr, &stop);
}

void remove_contained(Cover& f) {
    if (f.size() < 2) return;
    InBits in_full;
    const std::vector<Keyed> keyed = sorted_by_size(f, in_full);
    Cover kept;
    std::vector<std::uint32_t> at;
    keep_maximal_sorted(keyed, in_full, kept, &at);
    std::vector<char> stays(f.size(), 0);
    for (std::uint32_t i : at) stays[i] = 1;
    std::size_t w = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (stays[i]) f[w++] = f[i];
    }
    f.resize(w);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
