// Times of the Bundle Optimization step on the benchmark inputs; run on demand with
// --gtest_also_run_disabled_tests --gtest_filter='*MultioutPlaBench*'.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "model/show_polarity.h"
#include "multiout/polarity_search.h"
#include "pla_covers.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel {
namespace {

void run_all(int mode) {
    const char* only = std::getenv("VORMEL_BENCH_ONLY");
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(std::string(VORMEL_BENCH_DIR) + "/pla")) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        if (only && file.filename().string().find(only) == std::string::npos) continue;
        test::PlaProblem pla;
        ASSERT_TRUE(test::load_pla_covers(file.string(), pla)) << file;
        TextWorkArea area;
        SilentRunWindow window;
        RunContext ctx(area, window);
        ctx.options.page_by_page = 0;
        ctx.options.polarity_mode = mode;
        const auto start = std::chrono::steady_clock::now();
        polarity_search(ctx, pla.problem, pla.store);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const LiteralCounts c = count_literals(pla.problem.final_terms);
        std::printf("%-12s rows %6d  P %5d  X %6d  Y %5d  pol %s  %8.3f s\n", file.filename().c_str(), pla.cover_rows,
                    c.product_terms, c.x_literals, c.y_literals, polarity_digits(pla.problem).c_str(), seconds);
        std::fflush(stdout);
        EXPECT_FALSE(ctx.failed()) << area.text();
    }
}

TEST(MultioutPlaBench, DISABLED_OneSet) { run_all(polarity_one_set); }
TEST(MultioutPlaBench, DISABLED_ZeroSet) { run_all(polarity_zero_set); }
TEST(MultioutPlaBench, DISABLED_Automatic) { run_all(polarity_automatic); }

}  // namespace
}  // namespace vormel
