#include <gtest/gtest.h>

#include "support/test_session.h"

namespace vormel {
namespace {

using testing::TestRun;

TEST(Timers, StartingOverARunningTimerWarnsAndTimesTheNewOne) {
    TestRun run;
    run.ctx.diag.start_timer(" A");
    run.clock.now += 5;
    run.ctx.diag.start_timer(" B");
    run.clock.now += 2;
    run.ctx.diag.stop_timer(" B");
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "*** System Warning 2:  Start_timer:  B no stopped Timer:  A");
    EXPECT_DOUBLE_EQ(run.ctx.diag.total_time(), 2.0);
    EXPECT_EQ(run.window.time_text, " 2.00 s");
}

TEST(Timers, StoppingAnotherTimerWarnsButStillCounts) {
    TestRun run;
    run.ctx.diag.start_timer(" A");
    run.clock.now += 42.27;
    run.ctx.diag.stop_timer(" B");
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "*** System Warning 3:  Stop_timer :  B after started Timer:  A?");
    EXPECT_NEAR(run.ctx.diag.total_time(), 42.27, 1e-9);
    EXPECT_EQ(run.ctx.diag.time_text(), " 42.3 s");
    EXPECT_EQ(run.ctx.diag.timer_name(), "");
}

TEST(Timers, ShortOrBackwardIntervalsCountOneMillisecond) {
    TestRun run;
    run.ctx.diag.start_timer(" A");
    run.ctx.diag.stop_timer(" A");
    run.ctx.diag.start_timer(" A");
    run.clock.now -= 10;
    run.ctx.diag.stop_timer(" A");
    EXPECT_DOUBLE_EQ(run.ctx.diag.total_time(), 0.002);
    EXPECT_EQ(Diagnostics::format_time(1234.4), " 1234 s");
}

TEST(ShowError, NumberedMessagesMarkTheStepAndCount) {
    TestRun run;
    run.ctx.run_state = 5;
    run.ctx.diag.show_error("X 1-", 4);
    run.ctx.diag.show_error("whatever", 13);
    EXPECT_EQ(run.ctx.error_count, 2);
    EXPECT_EQ(run.ctx.error_flag, -1);
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], " *** Error 4: Wrong number of X_entries: X 1-");
    EXPECT_EQ(lines[3], " *** Error  Unknown Error ");
    EXPECT_EQ(run.area.format_at(run.area.text().find("4: Wrong")).colour, colours::red);
    EXPECT_EQ(run.window.statuses[1].text, "Error");
    EXPECT_EQ(run.window.statuses[1].look, StepLook::error);
}

TEST(ShowError, SystemErrorsPrintTheirTextAlone) {
    TestRun run;
    run.ctx.run_state = 7;
    run.ctx.diag.show_error(" *** System Error 5: In rolex_rec: lrolex > 3", 0);
    EXPECT_EQ(run.lines(), std::vector<std::string>{" *** System Error 5: In rolex_rec: lrolex > 3"});
    EXPECT_EQ(run.window.statuses[3].text, "Error");
    EXPECT_EQ(Diagnostics::numbered_message("", 2), "2: Number of  is larger than the allowed maximum of 22");
    EXPECT_EQ(Diagnostics::numbered_message("t", 16),
              "16: No valid Bundle Optimization found. An output function may not be defined.");
}

TEST(RuntimeError, OutOfMemoryNamesTheRoutineAndEndsTheRun) {
    TestRun run;
    run.ctx.diag.runtime_error(7, "cofactor_CNS");
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], " *** Error   7: Out of memory in SUB cofactor_CNS");
    EXPECT_EQ(lines[3], " *** Sorry, your Data Set is too large for this Computer/Program");
    EXPECT_EQ(run.ctx.error_flag, -1);
}

TEST(CheckMemory, SwappingIndicatorFollowsPhysicalLoadAndStatusPrints) {
    TestRun run;
    run.memory.physical_load_percent = 99;
    run.ctx.diag.check_memory(0);
    EXPECT_TRUE(run.window.swapping);
    run.memory.physical_load_percent = 98;
    run.clock.now += 1;
    run.ctx.diag.check_memory(0);
    EXPECT_FALSE(run.window.swapping);

    run.ctx.run_state = 9;
    run.clock.now += 1;
    run.ctx.diag.check_memory(2);
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " Memory Status in state 9:");
    EXPECT_EQ(lines[1], " Physical   -current: 98 %   -maximum used: 99 %   -installed: 8192 MB");
    EXPECT_EQ(lines[2], " Virtual    -current: 25 %   -maximum used: 25 %   -installed: 16384 MB");
}

TEST(PollProgress, MovesAtMostTwentyTimesASecondAndBounces) {
    TestRun run;
    run.ctx.diag.poll_progress(1);
    run.ctx.diag.poll_progress(0);
    EXPECT_EQ(run.ctx.diag.progress_position(), 0);
    for (int i = 0; i < 50; ++i) {
        run.clock.now += 0.06;
        run.ctx.diag.poll_progress(0);
    }
    EXPECT_EQ(run.ctx.diag.progress_position(), 100);
    run.clock.now += 0.06;
    run.ctx.diag.poll_progress(0);
    EXPECT_EQ(run.ctx.diag.progress_position(), 98);
}

}  // namespace
}  // namespace vormel
