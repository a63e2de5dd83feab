#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "report/report_channel.h"
#include "support/test_session.h"

namespace vormel {
namespace {

using testing::TestRun;

class ReportChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        run.ctx.report.set_text_size(9 * 20);
        run.ctx.options.page_by_page = 1;
    }
    ReportChannel& report() { return run.ctx.report; }
    TestRun run;
};

TEST_F(ReportChannelTest, PageLengthFollowsWorkAreaHeightAndTextSize) {
    EXPECT_EQ(page_length_for(600, 9), 38);
    EXPECT_EQ(report().page_length(), 38);
    run.window.height = 100;
    report().set_text_size(72 * 20);
    EXPECT_EQ(report().text_size(), 72);
    EXPECT_EQ(report().page_length(), 1);
}

TEST_F(ReportChannelTest, PausesEveryThirtyFiveCountedLines) {
    for (int i = 0; i < 34; ++i) report().display_text("line", 1);
    EXPECT_TRUE(run.window.queries.empty());
    report().display_text("line", 1);
    ASSERT_EQ(run.window.queries.size(), 1u);
    EXPECT_EQ(run.window.queries[0], QueryKind::page_end);
    EXPECT_EQ(report().line_count(), 0);
    // The page was appended in one piece before the pause.
    EXPECT_EQ(run.lines().size(), 35u);
}

TEST_F(ReportChannelTest, WithoutPageByPageTheReportIsTheSameAndNothingIsAsked) {
    TestRun other;
    other.ctx.report.set_text_size(9 * 20);
    other.ctx.options.page_by_page = 0;
    for (int i = 0; i < 100; ++i) {
        report().display_text("row " + std::to_string(i), 1);
        other.ctx.report.display_text("row " + std::to_string(i), 1);
    }
    report().flush_display(0);
    other.ctx.report.flush_display(0);
    EXPECT_TRUE(other.window.queries.empty());
    EXPECT_EQ(run.window.queries.size(), 2u);
    EXPECT_EQ(run.area.text(), other.area.text());
}

TEST_F(ReportChannelTest, ColouredTextOfSeveralLinesFollowsOlderPlainText) {
    report().display_text("plain", 1);
    report().text_blue(1);
    report().display_text("first\r\nsecond", 1);
    report().display_text("after", 0);
    report().flush_display(1);
    EXPECT_EQ(run.area.text(), "plain\nfirst\nsecond\nafter");
    const auto plain = run.area.format_at(0);
    EXPECT_EQ(plain.colour, colours::black);
    EXPECT_FALSE(plain.bold);
    for (std::size_t at = 6; at < 19; ++at) {
        EXPECT_EQ(run.area.format_at(at).colour, colours::blue) << at;
        EXPECT_TRUE(run.area.format_at(at).bold);
    }
    EXPECT_EQ(run.area.format_at(19).colour, colours::black);  // the format applies to one text only
}

TEST_F(ReportChannelTest, NegativeLineCountActsLikePositive) {
    report().display_text("a", -1);
    report().display_text("b", 1);
    report().flush_display(1);
    EXPECT_EQ(run.area.text(), "a\nb\n");
    EXPECT_EQ(report().line_count(), 2);
}

TEST_F(ReportChannelTest, HeadingIsFramedByRulesOneLongerThanTheTitle) {
    report().display_heading("12345678901234567890");
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(21, '_'));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "12345678901234567890");
    EXPECT_EQ(lines[3], std::string(21, '_'));
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(run.area.format_at(0).colour, colours::navy);
    EXPECT_TRUE(run.area.format_at(0).bold);
}

TEST_F(ReportChannelTest, InterruptDropsTheRestOfTheDisplayUntilTheNextFlush) {
    run.window.answers.push_back(QueryAnswer::stop);
    for (int i = 0; i < 50; ++i) report().display_text("table row", 1);
    report().flush_display(0);
    report().display_text("next heading", 1);
    report().flush_display(0);
    const auto lines = run.lines();
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[35], " ... Display interrupted ...");
    EXPECT_EQ(lines[36], "next heading");
    const std::size_t at = run.area.text().find(" ... Display");
    EXPECT_EQ(run.area.format_at(at).colour, colours::red);
    EXPECT_TRUE(run.area.format_at(at).bold);
}

TEST_F(ReportChannelTest, BreakAtResetEndsTheRunButPageByPageOffNeverAsks) {
    run.window.answers.push_back(QueryAnswer::stop);
    report().ask_reset();
    EXPECT_EQ(run.ctx.error_flag, -1);
    ASSERT_EQ(run.window.queries.size(), 1u);
    EXPECT_EQ(run.window.queries[0], QueryKind::reset);
    EXPECT_EQ(run.window.prompt, "");  // emptied after the answer

    run.ctx.error_flag = 0;
    run.ctx.options.page_by_page = 0;
    report().ask_reset();
    EXPECT_EQ(run.ctx.error_flag, 0);
    EXPECT_EQ(run.window.queries.size(), 1u);
}

TEST_F(ReportChannelTest, WaitingAtAPauseIsNotCounted) {
    run.ctx.diag.start_timer(" Step");
    run.clock.now += 2;
    run.window.on_query = [this] { run.clock.now += 100; };
    report().ask_reset();
    run.clock.now += 1;
    run.ctx.diag.stop_timer(" Step");
    EXPECT_NEAR(run.ctx.diag.total_time(), 3.0, 1e-9);
}

TEST(TextWorkArea, PlainTextHasCrLfAndRtfKeepsColoursBoldAndEscapes) {
    TextWorkArea area;
    area.set_plain_text("A,B:F\n1-:1\n");
    area.append("Gr\xC3\xBC\xC3\x9F" "e {x}\r\n", colours::blue, true);
    area.append("end", colours::black, false);
    EXPECT_EQ(area.plain_text(), "A,B:F\r\n1-:1\r\nGr\xC3\xBC\xC3\x9F" "e {x}\r\nend");
    std::ostringstream rtf;
    area.write_rich(rtf);
    const std::string text = rtf.str();
    EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}}", 0), 0u);
    EXPECT_NE(text.find("\\red0\\green0\\blue192;"), std::string::npos);
    EXPECT_NE(text.find("\\cf2\\b Gr\\'fc\\'dfe \\{x\\}\\par"), std::string::npos) << text;
    EXPECT_NE(text.find("\\cf1\\b0 end"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 6), "\\par }");
}

TEST(TextWorkArea, RangesAcrossBlockEdgesReadAsTheWholeText) {
    // The window paints and searches a long report through ranges; blocks are 1 MiB each.
    TextWorkArea area;
    std::string text;
    for (int line = 0; text.size() < 3 * (1u << 20); ++line) text += "line " + std::to_string(line) + " \xC3\xA4\r\n";
    area.append(text, colours::black, false);
    // Coloured cells added together start blocks of their own too.
    area.append_each(std::string(3u << 20, 'c'), colours::blue, true);
    const std::string held = area.text();
    for (const std::size_t from : {std::size_t{0}, std::size_t{(1u << 20) - 3}, std::size_t{2u << 20}, std::size_t{5u << 20},
                                   held.size() - 5}) {
        for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{(1u << 20) + 9}}) {
            std::string range = "kept ";
            area.copy_range(from, from + length, range);
            EXPECT_EQ(range, "kept " + held.substr(from, length)) << from << " " << length;
        }
    }
}

// Coloured cells go out one by one; appending them together must leave the same text, runs and
// rich text, block edges included, over seeded random mixes that cross several 1 MiB blocks.
TEST(TextWorkArea, ColouredCellsTogetherAsOneByOne) {
    std::mt19937 random(41);
    const Rgb palette[] = {colours::black, colours::blue, colours::red};
    for (int trial = 0; trial < 3; ++trial) {
        TextWorkArea single;
        TextWorkArea together;
        std::size_t total = 0;
        while (total < 3u << 20) {
            std::string text(1 + random() % 5000, 'x');
            for (char& c : text) c = "01-"[random() % 3];
            const Rgb colour = palette[random() % 3];
            const bool bold = random() % 2 == 0;
            if (random() % 4 == 0) {
                text += "\r\n";
                single.append(text, colour, bold);
                together.append(text, colour, bold);
            } else {
                for (std::size_t k = 0; k < text.size(); ++k) single.append(text.substr(k, 1), colour, bold);
                together.append_each(text, colour, bold);
            }
            total += text.size();
        }
        ASSERT_EQ(together.text(), single.text()) << "trial " << trial;
        ASSERT_EQ(together.runs().size(), single.runs().size()) << "trial " << trial;
        std::ostringstream rich_single;
        std::ostringstream rich_together;
        single.write_rich(rich_single);
        together.write_rich(rich_together);
        ASSERT_TRUE(rich_together.str() == rich_single.str()) << "trial " << trial;
    }
}

}  // namespace
}  // namespace vormel

namespace vormel {
namespace {

TEST(ReportTiming, PageEndsWithoutPausesAddNothingToTheStepTime) {
    testing::TestRun run;
    run.ctx.report.set_text_size(9 * 20);
    run.ctx.options.page_by_page = 0;
    run.ctx.diag.start_timer(" Step");
    for (int i = 0; i < 3500; ++i) run.ctx.report.display_text("row", 1);  // a hundred page ends
    run.clock.now += 2;
    run.ctx.diag.stop_timer(" Step");
    EXPECT_DOUBLE_EQ(run.ctx.diag.total_time(), 2.0);
}

}  // namespace
}  // namespace vormel
