#pragma once
// Small builders for the multi-output tests: tables written as text, a coverage oracle and seeded
// random tables.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/problem.h"
#include "multiout/cube_table.h"
#include "primes/prime_store.h"

namespace vormel::test {

// "01- 1." : X entries, a blank, then per output '1'/'0' (fed) or '.'/'-' (not fed).
inline CubeTable table_of(int nx, int ny, const std::vector<std::string>& lines) {
    CubeTable t{nx, ny, {}};
    for (const std::string& line : lines) {
        CubeRow row;
        std::vector<std::uint8_t> x(static_cast<std::size_t>(nx));
        for (int i = 0; i < nx; ++i) x[static_cast<std::size_t>(i)] = line[static_cast<std::size_t>(i)] == '-' ? kDash : static_cast<std::uint8_t>(line[static_cast<std::size_t>(i)] - '0');
        cube_from_bytes(x.data(), nx, row.care, row.value);
        for (int j = 0; j < ny; ++j) {
            const char c = line[static_cast<std::size_t>(nx + 1 + j)];
            if (c == '0' || c == '1') row.outs.set(j);
        }
        t.rows.push_back(row);
    }
    return t;
}

inline std::vector<std::string> lines_of(const CubeTable& t) {
    std::vector<std::string> out;
    for (const CubeRow& row : t.rows) {
        std::string s;
        for (int i = 0; i < t.nx; ++i) s += ((row.care >> i) & 1u) == 0 ? '-' : static_cast<char>('0' + ((row.value >> i) & 1u));
        s += ' ';
        for (int j = 0; j < t.ny; ++j) s += row.outs.test(j) ? '1' : '.';
        out.push_back(s);
    }
    return out;
}

// For every output, which minterms some row feeding it covers (input i = bit i of the minterm).
inline std::vector<std::vector<bool>> coverage(const CubeTable& t) {
    std::vector<std::vector<bool>> on(static_cast<std::size_t>(t.ny), std::vector<bool>(std::size_t{1} << t.nx, false));
    for (const CubeRow& row : t.rows) {
        for (std::uint32_t m = 0; m < (1u << t.nx); ++m) {
            if ((m & row.care) != row.value) continue;
            for (int j = 0; j < t.ny; ++j) {
                if (row.outs.test(j)) on[static_cast<std::size_t>(j)][m] = true;
            }
        }
    }
    return on;
}

// A random table whose rows overlap often enough to give the reductions work.
inline CubeTable random_table(std::uint32_t seed, int nx, int ny, int rows) {
    std::mt19937 gen(seed);
    CubeTable t{nx, ny, {}};
    for (int r = 0; r < rows; ++r) {
        CubeRow row;
        for (int i = 0; i < nx; ++i) {
            const unsigned pick = gen() % 5;
            if (pick < 2) continue;
            row.care |= 1u << i;
            if (pick == 4 || (pick == 3 && gen() % 2)) row.value |= 1u << i;
        }
        for (int j = 0; j < ny; ++j) {
            if (gen() % 2) row.outs.set(j);
        }
        if (row.outs.empty()) row.outs.set(static_cast<int>(gen() % static_cast<unsigned>(ny)));
        t.rows.push_back(row);
    }
    return t;
}

inline Problem problem_of(int nx, int ny) {
    Problem p;
    p.xmax = nx - 1;
    p.ymax = ny - 1;
    for (int i = 0; i < nx; ++i) p.xnames.push_back("X" + std::to_string(i));
    for (int j = 0; j < ny; ++j) p.ynames.push_back("Y" + std::to_string(j));
    p.extab.create(nx, ny, kZero);
    p.polarity.assign(static_cast<std::size_t>(ny), 1);
    return p;
}

// Stores the cover lines ("01-" ...) of output j and value v.
inline void store_cover(PrimeStore& store, int j, int v, const std::vector<std::string>& cover) {
    TermTable t(store.inputs(), 0);
    for (const std::string& line : cover) {
        const int r = t.append_row();
        for (int i = 0; i < store.inputs(); ++i) t.x(r)[i] = line[static_cast<std::size_t>(i)] == '-' ? kDash : static_cast<std::uint8_t>(line[static_cast<std::size_t>(i)] - '0');
    }
    if (t.last > store.capacity()) store.set_capacity(t.last);
    store.assign(j, v, t, t.last);
}

}  // namespace vormel::test
