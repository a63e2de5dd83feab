#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/problem.h"
#include "primes/prime_store.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace cover_test {

// A run context over a text work area, a problem and a prime store, filled by hand.
struct CoverBench {
    vormel::TextWorkArea area;
    vormel::SilentRunWindow window;
    vormel::RunContext ctx{area, window};
    vormel::Problem problem;
    vormel::PrimeStore store;

    // n inputs, one column per output; values[j][line] is the Y value of output j.
    CoverBench(int inputs, const std::vector<std::vector<int>>& values, int level) {
        const int outputs = static_cast<int>(values.size());
        problem.xmax = inputs - 1;
        problem.ymax = outputs - 1;
        for (int i = 0; i < inputs; ++i) problem.xnames.push_back("X" + std::to_string(i));
        for (int j = 0; j < outputs; ++j) problem.ynames.push_back(j == 0 ? "F" : "OUT" + std::to_string(j));
        problem.ynames_maxlen = 0;
        for (const auto& name : problem.ynames) {
            problem.ynames_maxlen = std::max(problem.ynames_maxlen, static_cast<int>(name.size()));
        }
        problem.extab.create(inputs, outputs, 0);
        for (int j = 0; j < outputs; ++j) {
            for (int line = 0; line <= problem.extab.last; ++line) {
                problem.extab.y(line)[j] = static_cast<std::uint8_t>(values[j][line]);
            }
        }
        problem.polarity.assign(static_cast<std::size_t>(outputs), 1);
        store.create(outputs, inputs, 1);
        ctx.options.display_level = level;
        ctx.options.page_by_page = 0;
    }

    // Stores cubes written as "01-" strings as the primes of (j, v).
    void set_primes(int j, int v, const std::vector<std::string>& cubes) {
        vormel::TermTable table(problem.inputs(), 0, static_cast<int>(cubes.size()) + 1);
        for (std::size_t p = 0; p < cubes.size(); ++p) {
            for (int i = 0; i < problem.inputs(); ++i) {
                const char c = cubes[p][i];
                table.x(static_cast<int>(p))[i] = c == '0' ? 0 : c == '1' ? 1 : 2;
            }
        }
        store.assign(j, v, table, static_cast<int>(cubes.size()) - 1);
    }

    std::vector<std::string> stored(int j, int v) const;
};

// Every prime implicant of the lines of output j whose value is v or "-", in cube enumeration order.
std::vector<std::string> brute_force_primes(const vormel::Problem& problem, int j, int v);

// Values over 2^n lines from a truth table given as the lines of the 1-set (the rest 0) and of the
// don't-care set.
std::vector<int> function_values(int inputs, const std::vector<int>& ones, const std::vector<int>& dont_cares = {});

}  // namespace cover_test
