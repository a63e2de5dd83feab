#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/problem.h"

namespace vormel::testing {

// The expansion written the plain way: a byte matrix of every minterm with the "not yet assigned"
// mark in output column 0, the recursive cube walk and the conflict rules, as the step describes
// them. The reference for the fast expansion.
struct OracleExpansion {
    std::vector<std::uint8_t> ys;  // rows x outputs
    std::string conflict;          // the two message texts, "" when none
};

inline OracleExpansion oracle_expand(const Problem& problem) {
    const TermTable& in = problem.intab;
    const int nx = in.nx;
    const int ny = in.ny;
    const int rows = 1 << nx;
    OracleExpansion out;
    out.ys.assign(static_cast<std::size_t>(rows) * ny, 0);
    for (int m = 0; m < rows; ++m) out.ys[static_cast<std::size_t>(m) * ny] = 3;
    const bool boolean_input = problem.input_type == "BOOLEAN";
    const bool ones_win = problem.input_ext == "pla" && problem.pla_type == "FD";
    std::vector<std::uint8_t> cube(static_cast<std::size_t>(nx));
    const auto text = [](const std::uint8_t* v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "01-"[v[i]];
        return s;
    };
    const auto assign = [&](int k) {
        int m = 0;
        for (int i = 0; i < nx; ++i) m += cube[static_cast<std::size_t>(i)] << (nx - 1 - i);
        std::uint8_t* e = &out.ys[static_cast<std::size_t>(m) * ny];
        const std::uint8_t* v = in.y(k);
        if (e[0] == 3) {
            for (int j = 0; j < ny; ++j) e[j] = v[j];
            return true;
        }
        for (int j = 0; j < ny; ++j) {
            if (e[j] == 2 && v[j] != 2) e[j] = v[j];
            if (!boolean_input && e[j] + v[j] == 1) {
                if (ones_win) {
                    e[j] = 1;
                } else {
                    std::string minterm;
                    for (int i = 0; i < nx; ++i) minterm += static_cast<char>('0' + ((m >> (nx - 1 - i)) & 1));
                    out.conflict = "Entry line:             " + text(in.x(k), nx) + " " + text(v, ny) +
                                   "\n     in conflict with expanded line:  " + minterm + " " + text(e, ny);
                    return false;
                }
            }
            if (boolean_input && e[j] == 0 && v[j] == 1) e[j] = 1;
        }
        return true;
    };
    const auto expand = [&](auto& self, int first, int k) -> bool {
        for (int i = first + 1; i < nx; ++i) {
            if (cube[static_cast<std::size_t>(i)] == 2) {
                cube[static_cast<std::size_t>(i)] = 0;
                if (!self(self, i, k)) return false;
                cube[static_cast<std::size_t>(i)] = 1;
                if (!self(self, i, k)) return false;
                cube[static_cast<std::size_t>(i)] = 2;
                return true;
            }
        }
        return assign(k);
    };
    for (int k = 0; k <= in.last; ++k) {
        for (int i = 0; i < nx; ++i) cube[static_cast<std::size_t>(i)] = in.x(k)[i];
        if (!expand(expand, -1, k)) return out;
    }
    for (int m = 0; m < rows; ++m) {
        std::uint8_t* e = &out.ys[static_cast<std::size_t>(m) * ny];
        if (e[0] == 3) {
            for (int j = 0; j < ny; ++j) e[j] = problem.rest_values[static_cast<std::size_t>(j)];
        }
    }
    return out;
}

}  // namespace vormel::testing
