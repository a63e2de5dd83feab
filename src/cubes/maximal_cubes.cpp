#include "cubes/maximal_cubes.h"

#include <algorithm>
#include <array>
#include <bit>

namespace vormel::cubes {

namespace {

// Below this many cubes a plain scan beats building the trie.
constexpr std::size_t kScanLimit = 48;

int cube_size(const Cube& c) { return std::popcount(c.in) + std::popcount(c.out[0]) + std::popcount(c.out[1]); }

// A trie of the kept cubes keyed by their literals (the 0 bits of `in`, ascending). A cube b lies
// inside a kept cube a when a's literals are a subset of b's and a's outputs a superset of b's,
// so a query only walks the edges of b's own literals: a subset query, not a scan of all cubes.
class ContainerTrie {
public:
    explicit ContainerTrie(std::uint64_t in_full) : in_full_(in_full) { nodes_.emplace_back(); }

    void insert(const Cube& a) {
        int node = 0;
        add_outputs(node, a);
        for (std::uint64_t lits = in_full_ & ~a.in; lits != 0; lits &= lits - 1) {
            const int bit = std::countr_zero(lits);
            Node& n = nodes_[node];
            const std::uint64_t below = n.child_mask & ((std::uint64_t{1} << bit) - 1);
            const auto rank = static_cast<std::size_t>(std::popcount(below));
            if (n.child_mask >> bit & 1) {
                node = n.children[rank];
            } else {
                const int child = static_cast<int>(nodes_.size());
                n.child_mask |= std::uint64_t{1} << bit;
                n.children.insert(n.children.begin() + static_cast<std::ptrdiff_t>(rank), child);
                nodes_.emplace_back();
                node = child;
            }
            add_outputs(node, a);
        }
        nodes_[node].terminals.push_back({a.out[0], a.out[1]});
    }

    bool holds_container_of(const Cube& b) const { return search(0, in_full_ & ~b.in, b); }

private:
    struct Node {
        std::uint64_t child_mask = 0;
        std::uint64_t subtree_out[2] = {0, 0};  // union of the outputs of the cubes below
        std::vector<int> children;              // in bit order of child_mask
        std::vector<std::array<std::uint64_t, 2>> terminals;
    };

    void add_outputs(int node, const Cube& a) {
        nodes_[node].subtree_out[0] |= a.out[0];
        nodes_[node].subtree_out[1] |= a.out[1];
    }

    bool search(int node, std::uint64_t lits, const Cube& b) const {
        const Node& n = nodes_[node];
        if ((b.out[0] & ~n.subtree_out[0]) | (b.out[1] & ~n.subtree_out[1])) return false;
        for (const auto& out : n.terminals)
            if (((b.out[0] & ~out[0]) | (b.out[1] & ~out[1])) == 0) return true;
        for (std::uint64_t next = n.child_mask & lits; next != 0; next &= next - 1) {
            const int bit = std::countr_zero(next);
            const auto rank = static_cast<std::size_t>(std::popcount(n.child_mask & ((std::uint64_t{1} << bit) - 1)));
            // Literals are stored ascending, so deeper edges only use the literals above this one.
            if (search(n.children[rank], lits & ~((std::uint64_t{2} << bit) - 1), b)) return true;
        }
        return false;
    }

    std::uint64_t in_full_;
    std::vector<Node> nodes_;
};

}  // namespace

void keep_maximal(Cover& f) {
    if (f.size() < 2) return;
    struct Keyed {
        int size;
        Cube cube;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(f.size());
    std::uint64_t in_full = 0;
    for (const Cube& c : f) {
        keyed.push_back({cube_size(c), c});
        in_full |= c.in;
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.size != b.size) return a.size > b.size;
        if (a.cube.in != b.cube.in) return a.cube.in < b.cube.in;
        if (a.cube.out[0] != b.cube.out[0]) return a.cube.out[0] < b.cube.out[0];
        return a.cube.out[1] < b.cube.out[1];
    });
    // A cube can only lie inside a strictly larger one or be a duplicate of its neighbour, so the
    // trie receives a size class only after the whole class was checked.
    f.clear();
    if (keyed.size() <= kScanLimit) {
        std::size_t larger_end = 0;  // f[0, larger_end) are strictly larger than the current cube
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (i > 0 && keyed[i].size != keyed[i - 1].size) larger_end = f.size();
            const Cube& b = keyed[i].cube;
            if (f.size() > larger_end && f.back() == b) continue;
            bool inside = false;
            for (std::size_t k = 0; k < larger_end && !inside; ++k) inside = contains(f[k], b);
            if (!inside) f.push_back(b);
        }
        return;
    }
    ContainerTrie trie(in_full);
    std::size_t class_begin = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && keyed[i].size != keyed[i - 1].size) {
            for (std::size_t k = class_begin; k < f.size(); ++k) trie.insert(f[k]);
            class_begin = f.size();
        }
        const Cube& b = keyed[i].cube;
        if (f.size() > class_begin && f.back() == b) continue;
        if (!trie.holds_container_of(b)) f.push_back(b);
    }
}

}  // namespace vormel::cubes
