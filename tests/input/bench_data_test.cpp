// The benchmark functions ship with the project: whole-run tests list them when they register, so a
// folder gone missing would otherwise only make those suites smaller.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_inputs.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;

int count_pla_files(const fs::path& dir) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) count += entry.path().extension() == ".pla";
    return count;
}

TEST(BenchmarkData, EveryFolderHoldsItsFunctions) {
    const fs::path bench(VORMEL_BENCH_DIR);
    for (const char* folder : {"pla", "pla-original", "pla-wide"}) {
        ASSERT_TRUE(fs::is_directory(bench / folder)) << bench / folder;
    }
    EXPECT_EQ(count_pla_files(bench / "pla"), 40);
    EXPECT_EQ(count_pla_files(bench / "pla-original"), 40);
    EXPECT_EQ(count_pla_files(bench / "pla-wide"), 12);
    EXPECT_TRUE(fs::is_regular_file(bench / "peer_figures.tsv"));
    EXPECT_TRUE(fs::is_regular_file(bench / "pla-wide" / "peer_figures.tsv"));
}

// The inputs of the whole-run suites: every example and every benchmark function.
TEST(BenchmarkData, WholeRunInputsIncludeExamplesAndBenchmarks) {
    int examples = 0, benchmarks = 0;
    for (const testing::InputFile& file : testing::list_inputs(22)) {
        const fs::path folder = file.path.parent_path();
        examples += folder == fs::path(VORMEL_SOURCE_DIR) / "examples";
        benchmarks += folder == fs::path(VORMEL_BENCH_DIR) / "pla";
    }
    EXPECT_GE(examples, 6);
    EXPECT_EQ(benchmarks, 40);
}

}  // namespace
}  // namespace vormel
