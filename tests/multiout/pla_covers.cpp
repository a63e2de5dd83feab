#include "pla_covers.h"

#include <algorithm>
#include <bit>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "multiout/cube_table.h"

namespace vormel::test {

namespace {

struct Cube {
    std::uint32_t care = 0, value = 0;
    bool operator==(const Cube&) const = default;
};
struct CubeHash {
    std::size_t operator()(const Cube& c) const { return (std::size_t{c.care} << 32) ^ c.value; }
};
using Cover = std::vector<Cube>;

bool disjoint(const Cube& a, const Cube& b) { return (a.care & b.care & (a.value ^ b.value)) != 0; }
bool contains(const Cube& big, const Cube& small) {
    return (big.care & ~small.care) == 0 && ((big.value ^ small.value) & big.care) == 0;
}

Cover complement(const Cover& f) {
    if (f.empty()) return {Cube{}};
    for (const Cube& c : f) {
        if (c.care == 0) return {};
    }
    if (f.size() == 1) {
        Cover out;
        Cube prefix;
        for (std::uint32_t bits = f[0].care; bits != 0; bits &= bits - 1) {
            const std::uint32_t b = bits & (~bits + 1);
            out.push_back({prefix.care | b, prefix.value | (~f[0].value & b)});
            prefix.care |= b;
            prefix.value |= f[0].value & b;
        }
        return out;
    }
    int counts[32] = {};
    for (const Cube& c : f) {
        for (std::uint32_t bits = c.care; bits != 0; bits &= bits - 1) ++counts[std::countr_zero(bits)];
    }
    const int var = static_cast<int>(std::max_element(counts, counts + 32) - counts);
    const std::uint32_t b = 1u << var;
    Cover f0, f1;
    for (const Cube& c : f) {
        const Cube free{c.care & ~b, c.value & ~b};
        if ((c.care & b) == 0 || (c.value & b) == 0) f0.push_back(free);
        if ((c.care & b) == 0 || (c.value & b) != 0) f1.push_back(free);
    }
    const Cover c0 = complement(f0);
    const Cover c1 = complement(f1);
    std::unordered_set<Cube, CubeHash> in1(c1.begin(), c1.end());
    std::unordered_set<Cube, CubeHash> both;
    Cover out;
    for (const Cube& c : c0) {
        if (in1.count(c)) {
            out.push_back(c);
            both.insert(c);
        } else {
            out.push_back({c.care | b, c.value});
        }
    }
    for (const Cube& c : c1) {
        if (!both.count(c)) out.push_back({c.care | b, c.value | b});
    }
    return out;
}

// Each cube grows literal by literal while it stays clear of the blocking cover; then cubes inside
// others are dropped.
Cover primes_of(const Cover& cover, const Cover& block, int nx) {
    Cover grown;
    for (Cube c : cover) {
        for (int i = 0; i < nx; ++i) {
            const std::uint32_t b = 1u << i;
            if ((c.care & b) == 0) continue;
            const Cube wider{c.care & ~b, c.value & ~b};
            if (std::all_of(block.begin(), block.end(), [&](const Cube& o) { return disjoint(wider, o); })) c = wider;
        }
        grown.push_back(c);
    }
    std::sort(grown.begin(), grown.end(), [](const Cube& a, const Cube& b) {
        return std::popcount(a.care) != std::popcount(b.care) ? std::popcount(a.care) < std::popcount(b.care)
                                                              : std::pair{a.care, a.value} < std::pair{b.care, b.value};
    });
    Cover out;
    for (const Cube& c : grown) {
        if (std::none_of(out.begin(), out.end(), [&](const Cube& o) { return contains(o, c); })) out.push_back(c);
    }
    return out;
}

bool tautology(const Cover& f) {
    if (f.empty()) return false;
    int counts[32] = {};
    for (const Cube& c : f) {
        if (c.care == 0) return true;
        for (std::uint32_t bits = c.care; bits != 0; bits &= bits - 1) ++counts[std::countr_zero(bits)];
    }
    const std::uint32_t b = 1u << (std::max_element(counts, counts + 32) - counts);
    Cover f0, f1;
    for (const Cube& c : f) {
        const Cube free{c.care & ~b, c.value & ~b};
        if ((c.care & b) == 0 || (c.value & b) == 0) f0.push_back(free);
        if ((c.care & b) == 0 || (c.value & b) != 0) f1.push_back(free);
    }
    return tautology(f0) && tautology(f1);
}

// Drops, from the last cube back, every cube that the others and the don't cares cover.
Cover irredundant(Cover cover, const Cover& dc) {
    for (std::size_t i = cover.size(); i-- > 0;) {
        const Cube c = cover[i];
        Cover rest;
        for (std::size_t k = 0; k < cover.size(); ++k) {
            if (k != i && !disjoint(cover[k], c)) rest.push_back({cover[k].care & ~c.care, cover[k].value & ~c.care});
        }
        for (const Cube& d : dc) {
            if (!disjoint(d, c)) rest.push_back({d.care & ~c.care, d.value & ~c.care});
        }
        if (tautology(rest)) cover.erase(cover.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return cover;
}

}  // namespace

bool load_pla_covers(const std::string& path, PlaProblem& out) {
    std::ifstream in(path);
    if (!in) return false;
    int nx = -1, ny = -1;
    std::vector<std::pair<std::string, std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        if (line[0] == '.') {
            std::string key;
            words >> key;
            if (key == ".i") words >> nx;
            if (key == ".o") words >> ny;
            continue;
        }
        std::string all, w;
        while (words >> w) all += w;
        if (nx < 0 || ny < 0 || static_cast<int>(all.size()) != nx + ny) return false;
        rows.emplace_back(all.substr(0, static_cast<std::size_t>(nx)), all.substr(static_cast<std::size_t>(nx)));
    }
    if (nx < 1 || nx > 22 || ny < 1 || ny > 100) return false;
    Problem& p = out.problem;
    p.xmax = nx - 1;
    p.ymax = ny - 1;
    // Only the size of the expanded table matters here; its rows are not needed.
    p.extab.nx = nx;
    p.extab.ny = ny;
    p.extab.last = static_cast<int>((1u << nx) - 1);
    p.polarity.assign(static_cast<std::size_t>(ny), 1);
    out.store.create(ny, nx, 1);
    out.store.maxlpnum = p.extab.last;
    for (int j = 0; j < ny; ++j) {
        Cover on, care, dc;
        for (const auto& [xs, ys] : rows) {
            Cube c;
            for (int i = 0; i < nx; ++i) {
                if (xs[static_cast<std::size_t>(i)] == '-') continue;
                c.care |= 1u << i;
                if (xs[static_cast<std::size_t>(i)] == '1') c.value |= 1u << i;
            }
            const char y = ys[static_cast<std::size_t>(j)];
            if (y == '1' || y == '4') on.push_back(c);
            if (y == '1' || y == '4' || y == '-' || y == '2') care.push_back(c);
            if (y == '-' || y == '2') dc.push_back(c);
        }
        const Cover off = complement(care);
        const Cover covers[2] = {irredundant(primes_of(off, on, nx), dc), irredundant(primes_of(on, off, nx), dc)};
        for (int v = 0; v < 2; ++v) {
            TermTable t(nx, 0);
            for (const Cube& c : covers[v]) cube_to_bytes(c.care, c.value, nx, t.x(t.append_row()));
            if (t.last > out.store.capacity()) out.store.set_capacity(t.last);
            out.store.assign(j, v, t, t.last);
            out.cover_rows += t.rows();
        }
    }
    return true;
}

}  // namespace vormel::test
