#include <gtest/gtest.h>

#include <filesystem>

#include "run/command_fsm.h"
#include "support/test_session.h"

namespace vormel {
namespace {

using testing::TempDir;
using testing::TestRun;

const char* const kInput = "; two inputs\na,b : f\n0 0 : 1\n1 1 : 1\n";

class CommandFsmTest : public ::testing::Test {
protected:
    void SetUp() override {
        input = dir.write("small.tab", kInput);
        run.ctx.input_file = input;
        run.area.set_plain_text(kInput);
        run.ctx.run_state = 4;
        run.ctx.report.set_text_size(9 * 20);
        run.ctx.options.page_by_page = 0;
    }
    TempDir dir;
    std::string input;
    TestRun run;
};

TEST_F(CommandFsmTest, LevelZeroRunsThroughAndSavesTheReport) {
    run.ctx.options.display_level = 0;
    start_command(run.session);
    EXPECT_EQ(run.ctx.run_state, 10);
    EXPECT_TRUE(run.session.report_saved);
    EXPECT_EQ(run.window.start_caption, "Re-Start");
    EXPECT_EQ(run.window.status_line, " *** Report Files Saved (ASCII: *.rpt and RTF: *.rpt.rtf)");
    EXPECT_EQ(run.window.prompt, "Save As Report?");
    const std::string report = testing::read_file(input + ".rpt");
    // The report begins with the input text exactly as it stood in the work area, with CR LF.
    EXPECT_EQ(report.rfind("; two inputs\r\na,b : f\r\n0 0 : 1\r\n1 1 : 1\r\n", 0), 0u);
    EXPECT_NE(report.find(" *** Start of  Vormel  - " + version_label()), std::string::npos);
    EXPECT_NE(report.find(" Report File:  " + input + ".rpt\r\n"), std::string::npos);
    EXPECT_NE(report.find(" Polarity            : 1-Set\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(input + ".rpt.rtf"));
    EXPECT_FALSE(std::filesystem::exists(input + ".rpt.part"));
    for (int step = 1; step <= 4; ++step) EXPECT_EQ(run.window.statuses[step].text, "- done -") << step;
    EXPECT_EQ(run.window.statuses[5].look, StepLook::past);
}

// The exact method stops at its time limit: the report names the limit it ran with; the classic
// methods have none and their report stays as it was.
TEST_F(CommandFsmTest, QmcOnAFileOfElevenInputsBecameCnsWithoutAWord) {
    std::string wide = "a0";
    for (int i = 1; i < 11; ++i) wide += ",a" + std::to_string(i);
    wide += " : f\n" + std::string(10, '-') + "1 : 1\n";
    input = dir.write("wide.tab", wide);
    run.ctx.input_file = input;
    run.area.set_plain_text(wide);
    run.ctx.options.display_level = 0;
    run.ctx.options.prime_method = method_qmc;
    start_command(run.session);
    EXPECT_EQ(run.ctx.run_state, 10);
    EXPECT_TRUE(run.session.problem.qmc_replaced);
    EXPECT_NE(testing::read_file(input + ".rpt").find(" QMC takes up to 10 Inputs; this File has 11: CNS is used instead."),
              std::string::npos);
    // The same file with CNS chosen (the switch stays) says nothing.
    start_command(run.session);  // Re-Start
    ASSERT_EQ(run.ctx.run_state, 4);
    EXPECT_EQ(run.ctx.options.prime_method, method_cns);
    start_command(run.session);
    EXPECT_FALSE(run.session.problem.qmc_replaced);
    EXPECT_EQ(testing::read_file(input + ".rpt").find("QMC takes"), std::string::npos);
}

TEST_F(CommandFsmTest, OnlyTheExactMethodsReportNamesItsTimeLimit) {
    run.ctx.options.display_level = 0;
    run.ctx.options.prime_method = method_exact;
    run.ctx.options.exact_limit_seconds = 2.5;
    start_command(run.session);
    ASSERT_EQ(run.ctx.run_state, 10);
    EXPECT_NE(testing::read_file(input + ".rpt").find(" Polarity            : 1-Set\r\n Time Limit          : 2.5 sec\r\n"),
              std::string::npos);

    TestRun classic;
    classic.ctx.input_file = dir.write("classic.tab", kInput);
    classic.area.set_plain_text(kInput);
    classic.ctx.run_state = 4;
    classic.ctx.report.set_text_size(9 * 20);
    classic.ctx.options.page_by_page = 0;
    classic.ctx.options.display_level = 0;
    start_command(classic.session);
    ASSERT_EQ(classic.ctx.run_state, 10);
    EXPECT_EQ(testing::read_file(classic.ctx.input_file + ".rpt").find("Time Limit"), std::string::npos);
}

TEST_F(CommandFsmTest, LevelOneReturnsAfterEveryStepUntilTheReportIsSaved) {
    run.ctx.options.display_level = 1;
    const int expected_states[] = {5, 6, 7, 8, 10};
    for (int state : expected_states) {
        start_command(run.session);
        EXPECT_EQ(run.ctx.run_state, state);
        if (state < 10) {
            EXPECT_EQ(run.window.start_caption, "Continue");
        }
    }
    EXPECT_TRUE(run.session.report_saved);
    EXPECT_EQ(run.window.start_caption, "Re-Start");
    EXPECT_EQ(run.window.quit_caption, "Quit");
    EXPECT_FALSE(run.window.option_enabled[static_cast<int>(Option::polarity)]);
    EXPECT_FALSE(run.window.option_enabled[static_cast<int>(Option::rolexa)]);
}

TEST_F(CommandFsmTest, ReStartReloadsTheInputAndUnlocksTheOptions) {
    run.ctx.options.display_level = 0;
    start_command(run.session);
    ASSERT_EQ(run.ctx.run_state, 10);
    run.ctx.report.set_text_size(14 * 20);
    start_command(run.session);
    EXPECT_EQ(run.ctx.run_state, 4);
    EXPECT_EQ(run.area.text(), kInput);
    EXPECT_EQ(run.ctx.report.text_size(), 9);
    EXPECT_EQ(run.window.start_caption, "Start");
    EXPECT_EQ(run.window.status_line, " Input File Opened =>  [Start]");
    EXPECT_TRUE(run.window.option_enabled[static_cast<int>(Option::polarity)]);
    EXPECT_EQ(run.ctx.options.display_level, 0);
}

TEST_F(CommandFsmTest, BreakDuringAStepMarksUserBreakAndWritesNoReport) {
    run.ctx.options.display_level = 1;
    start_command(run.session);
    start_command(run.session);
    start_command(run.session);  // Select Cover done, run_state 7
    run.ctx.run_state = 7;       // as while the step runs
    run.ctx.error_flag = -1;     // a Break at "Reset ?"
    EXPECT_EQ(handle_break(run.session), BreakResult::run_ended);
    EXPECT_EQ(run.window.statuses[3].text, "User Break");
    EXPECT_EQ(run.window.statuses[3].look, StepLook::error);
    EXPECT_EQ(run.window.status_line, " Output File not saved");
    EXPECT_EQ(run.window.start_caption, "Re-Start");
    EXPECT_EQ(run.lines().back(), " *** User Break");
    EXPECT_EQ(run.ctx.run_state, 10);
    EXPECT_EQ(run.ctx.error_flag, 0);
    EXPECT_FALSE(std::filesystem::exists(input + ".rpt"));
}

TEST_F(CommandFsmTest, QuitOutsideARunEndsTheProgramOrAsksForChangedText) {
    run.ctx.run_state = 4;
    EXPECT_EQ(handle_break(run.session), BreakResult::quit);
    run.ctx.run_state = 3;
    EXPECT_EQ(handle_break(run.session), BreakResult::ask_save_first);
    run.ctx.run_state = 2;
    start_command(run.session);  // Start does nothing while a new text is edited
    EXPECT_EQ(run.ctx.run_state, 2);
}

TEST_F(CommandFsmTest, AMissingInputEndsStepOneWithTheOpenError) {
    std::filesystem::remove(input);
    run.ctx.options.display_level = 0;
    start_command(run.session);
    EXPECT_EQ(run.ctx.run_state, 10);
    EXPECT_FALSE(run.session.report_saved);
    ASSERT_EQ(run.window.messages.size(), 1u);
    EXPECT_EQ(run.window.messages[0], " Open Error|Requested file is not accessible:  \r\n\r\n" + input + " (input)");
    EXPECT_EQ(run.window.statuses[1].text, "User Break");
}

TEST_F(CommandFsmTest, AReportThatCannotBeWrittenIsNotSavedAndReStartStillWorks) {
    std::filesystem::create_directory(input + ".rpt");
    run.ctx.options.display_level = 0;
    start_command(run.session);
    EXPECT_FALSE(run.session.report_saved);
    EXPECT_EQ(run.window.status_line, " Output file ( .rpt ) NOT Saved");
    EXPECT_EQ(run.window.statuses[5].text, "Error");
    EXPECT_NE(run.area.text().find("*** Error: Requested file is a folder, not a file:  " + input + ".rpt"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(input + ".rpt.rtf"));
    start_command(run.session);
    EXPECT_EQ(run.ctx.run_state, 4);
    EXPECT_EQ(run.ctx.error_flag, 0);
}

TEST_F(CommandFsmTest, MoreThanTenInputsSwitchesQmcToConsensus) {
    run.ctx.input_file = dir.write("eleven.tab", "a,b,c,d,e,f,g,h,i,j,k : y\n0000000000- : 1\n");
    run.session.problem.xmax = 10;
    run.ctx.options.prime_method = method_qmc;
    run.ctx.options.display_level = 1;
    read_and_expand(run.session);
    EXPECT_EQ(run.ctx.options.prime_method, method_cns);
    EXPECT_FALSE(run.window.option_enabled[static_cast<int>(Option::method_qmc)]);
}

}  // namespace
}  // namespace vormel
