// A run's reports do not depend on its thread count, nor on whether long displays go out in blocks
// or line by line (page pauses force the latter and keep the outputs on the run's thread).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

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
constexpr int kLargestRunInputs = 16;

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
            SCOPED_TRACE("polarity mode " + std::to_string(polarity) + " level " + std::to_string(level));
            const Reports one = run_reports(input, level, polarity, 1, false);
            const Reports four = run_reports(input, level, polarity, 4, false);
            expect_same(one, four);
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, ThreadCount, ::testing::ValuesIn(testing::list_inputs(kLargestRunInputs)),
                         [](const ::testing::TestParamInfo<InputFile>& info) { return info.param.name; });

// A seeded random table with output don't cares: the comparison colours them blue.
std::string random_table(std::mt19937& random, int inputs, int outputs, int rows) {
    std::ostringstream text;
    text << ".i " << inputs << "\n.o " << outputs << "\n";
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < inputs; ++i) text << "01--"[random() % 4];
        text << ' ';
        for (int j = 0; j < outputs; ++j) text << "0111-"[random() % 5];
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
            const int polarity = trial % 2 == 0 ? polarity_one_set : polarity_automatic;
            const Reports paused = run_reports(input, level, polarity, 1, true);
            const Reports at_once = run_reports(input, level, polarity, 4, false);
            expect_same(paused, at_once);
            if (HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace vormel
