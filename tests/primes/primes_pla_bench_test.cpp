#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "prime_test_support.h"
#include "primes/cns.h"
#include "primes/qmc.h"

namespace vormel::testing {
namespace {

// Just enough of the .pla format for timing prime generation: ".i", ".o" and rows of 0/1/- with
// the default type (output 1 = minterm, "-" = don't care, a 1 wins over a don't care).
bool load_pla(const std::filesystem::path& path, Problem& problem) {
    std::ifstream in(path);
    int inputs = -1;
    int outputs = -1;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".i ", 0) == 0) inputs = std::stoi(line.substr(3));
        else if (line.rfind(".o ", 0) == 0) outputs = std::stoi(line.substr(3));
        else if (!line.empty() && line[0] != '.' && line[0] != '#') {
            std::string packed;
            for (char c : line) {
                if (c != ' ' && c != '\t' && c != '|') packed += c;
            }
            if (!packed.empty()) rows.push_back(packed);
        }
    }
    if (inputs < 1 || outputs < 1) return false;
    make_problem(problem, inputs, outputs);
    for (const std::string& row : rows) {
        if (static_cast<int>(row.size()) < inputs + outputs) continue;
        std::uint32_t care = 0, value = 0;
        for (int i = 0; i < inputs; ++i) {
            const std::uint32_t bit = 1u << (inputs - 1 - i);
            if (row[static_cast<std::size_t>(i)] != '-') care |= bit;
            if (row[static_cast<std::size_t>(i)] == '1') value |= bit;
        }
        const std::uint32_t free_bits = ((1u << inputs) - 1) & ~care;
        for (std::uint32_t sub = free_bits;; sub = (sub - 1) & free_bits) {
            std::uint8_t* y = problem.extab.y(static_cast<int>(value | sub));
            for (int j = 0; j < outputs; ++j) {
                const char c = row[static_cast<std::size_t>(inputs + j)];
                if (c == '1') y[j] = kOne;
                else if ((c == '-' || c == '2') && y[j] == kZero) y[j] = kDash;
            }
            if (sub == 0) break;
        }
    }
    return true;
}

// Timing of prime generation over the benchmark inputs (run on demand:
// --gtest_also_run_disabled_tests --gtest_filter='PrimesPlaBench.*'). PRIMES_BENCH_FILE picks one
// file, PRIMES_BENCH_POLARITY the polarity mode, PRIMES_BENCH_QMC=1 Quine-McCluskey (files of at
// most 10 inputs).
TEST(PrimesPlaBench, DISABLED_GenerationOnBenchmarkFiles) {
    const char* only = std::getenv("PRIMES_BENCH_FILE");
    const char* mode = std::getenv("PRIMES_BENCH_POLARITY");
    const bool qmc = std::getenv("PRIMES_BENCH_QMC") != nullptr;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VORMEL_BENCH_DIR) + "/pla")) {
        if (only == nullptr || entry.path().filename() == only) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    double total = 0;
    for (const auto& file : files) {
        PrimeBench bench(0, mode != nullptr ? std::atoi(mode) : polarity_one_set);
        ASSERT_TRUE(load_pla(file, bench.problem)) << file;
        if (qmc && bench.problem.inputs() > 10) continue;
        const auto start = std::chrono::steady_clock::now();
        if (qmc) Primes_QMC(bench.ctx, bench.problem, bench.store);
        else Primes_CNS(bench.ctx, bench.problem, bench.store);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        total += seconds;
        long primes = 0;
        for (int j = 0; j < bench.problem.outputs(); ++j) {
            for (int v = 0; v < 2; ++v) primes += bench.store.last(j, v) + 1;
        }
        std::printf("%-14s %2d in %3d out %8ld primes %8.3f s\n", file.filename().c_str(), bench.problem.inputs(),
                    bench.problem.outputs(), primes, seconds);
        std::fflush(stdout);
    }
    std::printf("total %.3f s\n", total);
}

}  // namespace
}  // namespace vormel::testing
