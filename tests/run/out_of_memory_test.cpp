// Memory running out in any step, in the reader or in the report channel ended the program with
// std::bad_alloc (status 134) and no report. Now the run ends with the out-of-memory fault report
// ("Error 7" and the "Data Set is too large" line) and the console program exits with 1.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <new>

#include "cli/vormelc_process.h"
#include "run/command_fsm.h"
#include "support/address_space.h"
#include "support/test_session.h"

namespace vormel::testing {
namespace {

const char* const kFaultLines = " *** Error   7: Out of memory in SUB ";
const char* const kSorryLine = "\n *** Sorry, your Data Set is too large for this Computer/Program\n";

bool reported_out_of_memory(const std::string& report) {
    return report.find(kFaultLines) != std::string::npos && report.find(kSorryLine) != std::string::npos;
}

// A run whose memory sample throws std::bad_alloc once the run has reached one state: as if the
// allocation just sampled had taken the last memory. The clock moves a second per reading, so that
// no sample is skipped.
struct StarvedRun {
    TextWorkArea area;
    RecordingWindow window;
    double now = 0;
    int starved_state = 0;
    bool thrown = false;
    Session session{area, window, [this] { return now += 1; }, [this] {
                        if (!thrown && session.ctx.run_state == starved_state) {
                            thrown = true;
                            throw std::bad_alloc();
                        }
                        return MemoryStatus{50, 8ull << 30, 16ull << 30, 12ull << 30};
                    }};
    RunContext& ctx = session.ctx;

    StarvedRun(const std::string& input, const std::string& text, int state) : starved_state(state) {
        area.set_plain_text(text);
        ctx.input_file = input;
        ctx.input_text = text;
        ctx.options.display_level = 0;
        ctx.options.page_by_page = 0;
        ctx.options.polarity_mode = polarity_automatic;
        ctx.run_state = 4;
        ctx.report.set_text_size(9 * 20);
    }
};

TEST(OutOfMemory, EveryStepEndsTheRunWithTheFaultReport) {
    TempDir dir;
    const std::string text = "a,b,c:f,g\n00-:10\n1-1:01\n-10:11\n";
    const std::string input = dir.write("steps.tab", text);
    const char* const kSteps[] = {"", "Expand", "Generate Primes", "Select Cover", "Bundle Optimization", "Final Results"};
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(kSteps[step]);
        StarvedRun run(input, text, step + 4);
        Vormel_CommandFSM(run.session);
        ASSERT_TRUE(run.thrown);
        EXPECT_TRUE(reported_out_of_memory(run.area.text())) << run.area.text();
        EXPECT_EQ(run.ctx.run_state, 10);
        EXPECT_FALSE(run.session.report_saved);
        EXPECT_FALSE(std::filesystem::exists(input + ".rpt"));
        EXPECT_EQ(run.window.statuses[step].look, StepLook::error);
        EXPECT_EQ(run.ctx.diag.last_fault(), "Out of memory");
        // The session is whole again: Re-Start and a run that has the memory it needs.
        Vormel_CommandFSM(run.session);
        ASSERT_EQ(run.ctx.run_state, 4);
        Vormel_CommandFSM(run.session);
        EXPECT_TRUE(run.session.report_saved) << run.area.text();
        std::filesystem::remove(input + ".rpt");
        std::filesystem::remove(input + ".rpt.rtf");
    }
}

// A work area whose rich text takes more memory than there is.
class RichTextTooLarge : public TextWorkArea {
public:
    void write_rich(std::ostream&) const override { throw std::bad_alloc(); }
};

TEST(OutOfMemory, SavingTheReportFilesEndsWithTheFaultReport) {
    TempDir dir;
    const std::string input = dir.write("save.tab", "a:f\n1:1\n");
    RichTextTooLarge area;
    RecordingWindow window;
    Session session(area, window);
    session.ctx.input_file = input;
    session.ctx.options.display_level = 0;
    session.ctx.options.page_by_page = 0;
    session.ctx.run_state = 4;
    Vormel_CommandFSM(session);
    EXPECT_EQ(session.ctx.run_state, 10);
    EXPECT_FALSE(session.report_saved);
    const std::string report = area.text();
    EXPECT_NE(report.find(std::string(kFaultLines) + "write_report_files\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\n*** Error: File not written:  " + input + ".rpt.rtf  (Out of memory)\n"), std::string::npos);
    EXPECT_EQ(window.statuses[5].look, StepLook::error);
    // Nothing beside the input: no report, no temporary.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

#if !defined(__SANITIZE_ADDRESS__)
// The address-space sanitizer reserves terabytes up front: capped address spaces are left to the
// plain build.

// A whole run with the address space capped a little above what the program holds at its start;
// exits 0 when the run ended with the fault report of `routine` and without report files.
void run_with_capped_memory(const std::string& input, bool loaded_text, const std::string& routine) {
    TestRun run;
    run.ctx.input_file = input;
    run.ctx.options.display_level = 1;
    run.ctx.options.page_by_page = 0;
    run.ctx.run_state = 4;
    run.ctx.report.set_text_size(9 * 20);
    if (loaded_text) run.ctx.input_text = read_file(input);
    cap_address_space(static_cast<rlim_t>(address_space_bytes() + (32 << 20)));
    Vormel_CommandFSM(run.session);
    cap_address_space(RLIM_INFINITY);
    const std::string report = run.area.text();
    const bool reported = reported_out_of_memory(report) && report.find(kFaultLines + routine + "\n") != std::string::npos;
    std::_Exit(reported && run.ctx.run_state == 10 && !run.session.report_saved ? 0 : 1);
}

class CappedMemory : public ::testing::Test {
protected:
    // Freshly started children: memory freed by earlier tests would let a step go on without new
    // address space.
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    TempDir dir;
};

TEST_F(CappedMemory, ExpandedTablesOfAProblemTooLargeForMemory) {
    // create_expanded_tables of 22 inputs and 100 outputs: 400 MB.
    const std::string input =
        dir.write("wide.pla", ".i 22\n.o 100\n.p 1\n" + std::string(22, '1') + " " + std::string(100, '1') + "\n.e\n");
    EXPECT_EXIT(run_with_capped_memory(input, true, "create_expanded_tables"), ::testing::ExitedWithCode(0), "");
}

TEST_F(CappedMemory, InputFileLargerThanMemory) {
    // The reader: a 256 MB file (sparse, so it costs no disk).
    const std::string input = dir.write("huge.tab", "a:f\n");
    std::filesystem::resize_file(input, 256 << 20);
    EXPECT_EXIT(run_with_capped_memory(input, false, "read_input_file"), ::testing::ExitedWithCode(0), "");
}

TEST_F(CappedMemory, ReportLargerThanMemory) {
    // The report channel: the expanded table of 20 inputs takes 2 MB, its display at level 1 40 MB
    // of work area.
    std::string names = "x0";
    for (int i = 1; i < 20; ++i) names += ",x" + std::to_string(i);
    const std::string input = dir.write("long_report.tab", names + ":f\n" + std::string(20, '-') + ":1\n");
    EXPECT_EXIT(run_with_capped_memory(input, true, "display_term_table"), ::testing::ExitedWithCode(0), "");
}

TEST_F(CappedMemory, ConsoleProgramExitsWithOneAndTheFaultReport) {
    const std::string input =
        dir.write("wide.pla", ".i 22\n.o 100\n.p 1\n" + std::string(22, '1') + " " + std::string(100, '1') + "\n.e\n");
    const Outcome outcome = run_script(dir, "ulimit -v 500000; \"$V\" " + shell_quoted(input));
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_TRUE(reported_out_of_memory(outcome.out)) << outcome.out.substr(outcome.out.size() - std::min<std::size_t>(outcome.out.size(), 2000));
    EXPECT_NE(outcome.err.find("vormelc: run ended without report files: Out of memory"), std::string::npos) << outcome.err;
    const std::string huge = dir.write("huge.tab", "a:f\n");
    std::filesystem::resize_file(huge, 1 << 30);
    const Outcome reading = run_script(dir, "ulimit -v 500000; \"$V\" -q " + shell_quoted(huge));
    EXPECT_EQ(reading.status, 1) << reading.err;
    EXPECT_NE(reading.err.find("Out of memory"), std::string::npos) << reading.err;
}
#endif

}  // namespace
}  // namespace vormel::testing
