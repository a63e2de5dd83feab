// A run's reports do not depend on its thread count, nor on whether long displays go out in blocks
// or line by line (page pauses force the latter and keep the outputs on the run's thread).
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "report/run_threads.h"
#include "run/command_fsm.h"
#include "support/run_inputs.h"
#include "support/test_session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::InputFile;
using testing::ScratchDir;
using testing::TestRun;

// Inputs beyond this take seconds per run.
constexpr int kLargestThreadedInputs = 16;

struct Reports {
    std::string plain;
    std::string rich;
};

// A whole run of input with fixed clock and memory figures; the reports it saved.
Reports run_reports(const fs::path& input, int level, int polarity, int threads, bool pauses) {
    TestRun run;
    RunContext& ctx = run.ctx;
    run.area.set_plain_text(testing::read_text(input));
    ctx.input_file = input.string();
    ctx.options.display_level = level;
    ctx.options.polarity_mode = polarity;
    ctx.options.threads = threads;
    ctx.options.page_by_page = pauses ? 1 : 0;
    ctx.run_state = 4;
    for (int guard = 0; guard < 20 && ctx.run_state != 10; ++guard) Vormel_CommandFSM(run.session);
    EXPECT_TRUE(run.session.report_saved) << input;
    return {testing::read_text(input.string() + ".rpt"), testing::read_text(input.string() + ".rpt.rtf")};
}

// The text without its last line, which holds the date and the run's time.
std::string without_end_line(const std::string& text) {
    const std::size_t end = text.rfind(" *** End of ");
    return end == std::string::npos ? text : text.substr(0, end);
}

void expect_same(const Reports& a, const Reports& b) {
    EXPECT_TRUE(without_end_line(a.plain) == without_end_line(b.plain)) << "the .rpt files differ";
    EXPECT_TRUE(without_end_line(a.rich) == without_end_line(b.rich)) << "the .rtf files differ";
}

class ThreadCount : public ::testing::TestWithParam<InputFile> {};

TEST_P(ThreadCount, OneAndFourThreadsWriteTheSameReports) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / GetParam().path.filename();
    fs::copy_file(GetParam().path, input);
    for (int polarity : {polarity_one_set, polarity_automatic}) {
        for (int level : {0, 1}) {
            // Automatic searches alike at both levels; level 1 also shows its tries, where thread order could leak.
            if (polarity == polarity_automatic && level == 0) continue;
            SCOPED_TRACE("polarity mode " + std::to_string(polarity) + " level " + std::to_string(level));
            const Reports one = run_reports(input, level, polarity, 1, false);
            const Reports four = run_reports(input, level, polarity, 4, false);
            expect_same(one, four);
            if (HasFailure()) return;
        }
    }
}

// What a cube-method run of `table` did with threads, as its clock saw it each time the engine polled.
struct ThreadUse {
    bool saved = false;
    int polls = 0;
    int most_threads = 0;     // of the process
    int inline_polls = 0;     // polls where the run's loops ran inline, outside any pool
};

int process_threads() {
    const fs::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

ThreadUse cube_run_threads(const std::string& table, int threads) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / "function.pla";
    std::ofstream(input) << table;
    ThreadUse use;
    TextWorkArea area;
    SilentRunWindow window;
    Session session{area, window, [&] {
                        ++use.polls;
                        use.most_threads = std::max(use.most_threads, process_threads());
                        use.inline_polls += threads::one_thread();
                        return 0.0;
                    }};
    RunContext& ctx = session.ctx;
    area.set_plain_text(testing::read_text(input));
    ctx.input_file = input.string();
    ctx.options.prime_method = method_shared;
    ctx.options.threads = threads;
    ctx.options.page_by_page = 0;
    ctx.run_state = 4;
    for (int guard = 0; guard < 20 && ctx.run_state != 10; ++guard) Vormel_CommandFSM(session);
    use.saved = session.report_saved;
    return use;
}

// A small function's cube-method run is done before a second thread would have started: it starts
// none and never enters the pool, whatever the thread count.
TEST(SmallFunction, CubeMethodRunStartsNoThreadAndNoPool) {
    const int before = process_threads();
    const ThreadUse use =
        cube_run_threads(".i 4\n.o 3\n0000 100\n0011 110\n0101 011\n0110 001\n1001 101\n1010 010\n1111 111\n.e\n", 0);
    EXPECT_TRUE(use.saved);
    EXPECT_GT(use.polls, 0);
    EXPECT_EQ(use.most_threads, before);
    EXPECT_EQ(use.inline_polls, use.polls);
}

// The one-thread path must not swallow larger functions: they still run in the pool, unless the
// user asked for one thread.
TEST(LargerFunction, CubeMethodRunUsesThePoolUnlessOneThreadIsAsked) {
    std::mt19937 random(7);
    std::ostringstream table;
    table << ".i 12\n.o 8\n";
    for (int r = 0; r < 120; ++r) {
        for (int i = 0; i < 12; ++i) table << "01-"[random() % 3];
        table << ' ';
        for (int j = 0; j < 8; ++j) table << "01"[random() % 2];
        table << '\n';
    }
    table << ".e\n";
    const ThreadUse pooled = cube_run_threads(table.str(), 0);
    EXPECT_TRUE(pooled.saved);
    EXPECT_LT(pooled.inline_polls, pooled.polls);
    const ThreadUse one = cube_run_threads(table.str(), 1);
    EXPECT_TRUE(one.saved);
    EXPECT_EQ(one.inline_polls, one.polls);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ThreadCount, ::testing::ValuesIn(testing::small_inputs(kLargestThreadedInputs)),
                         testing::input_name);
INSTANTIATE_TEST_SUITE_P(LargeInputs, ThreadCount, ::testing::ValuesIn(testing::large_inputs(kLargestThreadedInputs)),
                         testing::input_name);

// A seeded random table with output don't cares: the comparison colours them blue.
std::string random_table(std::mt19937& random, int inputs, int outputs, int rows, std::string_view values = "0111-") {
    std::ostringstream text;
    text << ".i " << inputs << "\n.o " << outputs << "\n";
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < inputs; ++i) text << "01--"[random() % 4];
        text << ' ';
        for (int j = 0; j < outputs; ++j) text << values[random() % values.size()];
        text << '\n';
    }
    text << ".e\n";
    return text.str();
}

TEST(LongDisplays, BlocksAndLineByLineWriteTheSameReports) {
    ScratchDir scratch;
    std::mt19937 random(11);
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const fs::path input = scratch.path() / "random.pla";
        const int inputs = 4 + static_cast<int>(random() % 9);
        std::ofstream(input) << random_table(random, inputs, 1 + static_cast<int>(random() % 6),
                                             1 + static_cast<int>(random() % 40));
        for (int level : {0, 1, 2}) {
            const int polarity = std::array{polarity_one_set, polarity_automatic, polarity_combination}[trial % 3];
            const Reports paused = run_reports(input, level, polarity, 1, true);
            const Reports at_once = run_reports(input, level, polarity, 4, false);
            expect_same(paused, at_once);
            if (HasFailure()) return;
        }
    }
}

// Polarity vectors are solved side by side in Automatic and Combination; every vector of a
// Combination run, and the New best lines of level 1, must still come out in their order.
TEST(PolarityTries, CombinationWritesTheSameReportsOnAnyThreadCount) {
    ScratchDir scratch;
    std::mt19937 random(5);
    int mixed_winners = 0;
    for (int trial = 0; trial < 8; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const fs::path input = scratch.path() / "random.pla";
        // Outputs mostly 0 make mixed vectors win now and then.
        std::ofstream(input) << random_table(random, 6 + trial % 3, 4 + trial % 2, 50, "00001-");
        for (int level : {0, 1}) {
            const Reports one = run_reports(input, level, polarity_combination, 1, false);
            expect_same(one, run_reports(input, level, polarity_combination, 4, false));
            if (HasFailure()) return;
            const std::size_t at = one.plain.find("Optimized Polarity = ");
            ASSERT_NE(at, std::string::npos);
            const std::string digits = one.plain.substr(at + 21, one.plain.find('\n', at) - at - 21);
            if (level == 0 && digits.find('0') != std::string::npos && digits.find('1') != std::string::npos) ++mixed_winners;
        }
    }
    EXPECT_GE(mixed_winners, 2);
}

}  // namespace
}  // namespace vormel
