#pragma once
// The chain search written as plainly as possible: byte rows, full table walks, real recursion.
// The oracle for the indexed, non-recursive search of the product code.
#include <cstdint>
#include <vector>

#include "multiout/cube_table.h"
#include "multiout/random_generator.h"

namespace vormel::test {

struct RefRolex {
    using Bytes = std::vector<std::uint8_t>;
    std::vector<Bytes> x, y;
    std::vector<int> m1, m2;
    struct Entry {
        Bytes cube, y;
        int parent;
    };
    std::vector<Entry> stack;

    explicit RefRolex(const CubeTable& t) {
        for (const CubeRow& row : t.rows) {
            Bytes bx(static_cast<std::size_t>(t.nx)), by(static_cast<std::size_t>(t.ny), kDash);
            cube_to_bytes(row.care, row.value, t.nx, bx.data());
            for (int j = 0; j < t.ny; ++j) {
                if (row.outs.test(j)) by[static_cast<std::size_t>(j)] = kOne;
            }
            x.push_back(bx);
            y.push_back(by);
        }
    }
    CubeTable table(int nx, int ny) const {
        CubeTable t{nx, ny, {}};
        for (std::size_t r = 0; r < x.size(); ++r) {
            CubeRow row;
            cube_from_bytes(x[r].data(), nx, row.care, row.value);
            for (int j = 0; j < ny; ++j) {
                if (y[r][static_cast<std::size_t>(j)] != kDash) row.outs.set(j);
            }
            t.rows.push_back(row);
        }
        return t;
    }
    int last() const { return static_cast<int>(x.size()) - 1; }

    bool rec(RandomGenerator& rng, Bytes cube, int parent) {
        std::vector<int> order;
        shuffle_indices(rng, last(), order);
        for (int r : order) {
            const auto ur = static_cast<std::size_t>(r);
            if (m1[ur] == -2 || m1[ur] == -1) continue;
            int count = 0, at = -1;
            bool unusable = false;
            for (std::size_t i = 0; i < cube.size() && !unusable; ++i) {
                if (x[ur][i] == kDash && cube[i] != kDash) {
                    ++count;
                    at = static_cast<int>(i);
                } else if (x[ur][i] != cube[i]) {
                    unusable = true;
                }
            }
            if (unusable || count >= 2) continue;
            if (count == 0) {
                if (m1[ur] >= 0 && m2[ur] >= 0) return false;
                if (m1[ur] < 0) m1[ur] = parent;
                else m2[ur] = parent;
                return true;
            }
            stack.push_back({cube, y[ur], parent});
            m1[ur] = -1;
            Bytes next = cube;
            next[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(1 - next[static_cast<std::size_t>(at)]);
            if (rec(rng, next, r)) return true;
            stack.pop_back();
            m1[ur] = -3;
        }
        return false;
    }

    static void take_outputs(Bytes& to, const Bytes& from) {
        for (std::size_t j = 0; j < to.size(); ++j) {
            if (from[j] != kDash) to[j] = from[j];
        }
    }

    void apply() {
        for (std::size_t r = 0; r < x.size(); ++r) {
            if (m1[r] >= 0) take_outputs(y[r], y[static_cast<std::size_t>(m1[r])]);
            if (m2[r] >= 0) take_outputs(y[r], y[static_cast<std::size_t>(m2[r])]);
        }
        for (Entry& e : stack) take_outputs(e.y, y[static_cast<std::size_t>(e.parent)]);
        for (int i = last(); i >= 0; --i) {
            const auto ui = static_cast<std::size_t>(i);
            if (m1[ui] != -1 && m1[ui] != -2) continue;
            x[ui] = x.back();
            y[ui] = y.back();
            m1[ui] = m1.back();
            m2[ui] = m2.back();
            x.pop_back();
            y.pop_back();
            m1.pop_back();
            m2.pop_back();
        }
        for (const Entry& e : stack) {
            x.push_back(e.cube);
            y.push_back(e.y);
        }
        stack.clear();
    }

    int expand_x2(RandomGenerator& rng) {
        int count = 0;
        bool changed = true;
        while (changed) {
            changed = false;
            std::vector<int> rows;
            shuffle_indices(rng, last(), rows);
            for (int t : rows) {
                const Bytes term = x[static_cast<std::size_t>(t)];
                bool all_dash = true;
                for (std::uint8_t v : term) all_dash = all_dash && v == kDash;
                if (all_dash) break;
                std::vector<int> inputs;
                shuffle_indices(rng, static_cast<int>(term.size()) - 1, inputs);
                for (int k : inputs) {
                    if (term[static_cast<std::size_t>(k)] != kDash) continue;
                    m1.assign(x.size(), -3);
                    m2.assign(x.size(), -3);
                    m1[static_cast<std::size_t>(t)] = -2;
                    stack.clear();
                    Bytes half = term;
                    half[static_cast<std::size_t>(k)] = kZero;
                    if (!rec(rng, half, t)) continue;
                    half[static_cast<std::size_t>(k)] = kOne;
                    if (!rec(rng, half, t)) continue;
                    apply();
                    ++count;
                    changed = true;
                    break;
                }
                if (changed) break;
            }
        }
        return count;
    }
};

}  // namespace vormel::test
