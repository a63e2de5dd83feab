// Block displays and recorded channels must leave the work area exactly as the line by line calls
// do: the same appends in the same pieces (the rich text shows where the work area's blocks end).
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "report/report_channel.h"
#include "support/test_session.h"

namespace vormel {
namespace {

using testing::TestRun;

struct Append {
    std::string text;
    Rgb colour;
    bool bold;
    bool operator==(const Append&) const = default;
};

// A run without pauses whose work area notes every append.
struct WatchedRun {
    explicit WatchedRun(int height) {
        run.window.height = height;
        run.ctx.options.page_by_page = 0;
        run.ctx.report.set_text_size(9 * 20);
        run.area.set_echo([this](std::string_view text, Rgb colour, bool bold) {
            appends.push_back({std::string(text), colour, bold});
        });
    }
    std::string rich() const {
        std::ostringstream out;
        run.area.write_rich(out);
        return out.str();
    }
    TestRun run;
    std::vector<Append> appends;
};

struct Line {
    std::string text;
    std::vector<FormatRun> colour;  // single characters of the line
};

// Lines of 0 .. 150 characters, about one in five with a few coloured characters, some adjacent.
std::vector<Line> random_lines(std::mt19937& random, std::size_t total_bytes) {
    std::vector<Line> lines;
    std::size_t bytes = 0;
    while (bytes < total_bytes) {
        Line line;
        const int length = static_cast<int>(random() % 151);
        for (int i = 0; i < length; ++i) line.text += "01-. x"[random() % 6];
        if (length > 0 && random() % 5 == 0) {
            int at = static_cast<int>(random() % static_cast<unsigned>(length));
            for (int k = static_cast<int>(random() % 4); k >= 0 && at < length; --k) {
                line.colour.push_back({static_cast<std::size_t>(at), 1, random() % 2 ? colours::blue : colours::red, true});
                at += 1 + static_cast<int>(random() % 2);
            }
        }
        bytes += line.text.size() + 2;
        lines.push_back(std::move(line));
    }
    return lines;
}

// What the table display does without the block path: plain text, then each coloured character
// with its pending format.
void display_line_by_line(ReportChannel& report, const Line& line) {
    std::size_t at = 0;
    for (const FormatRun& run : line.colour) {
        report.display_text(std::string_view(line.text).substr(at, run.start - at), 0);
        if (run.colour == colours::blue) report.text_blue(1);
        else report.text_red(1);
        report.display_text(std::string_view(line.text).substr(run.start, 1), 0);
        at = run.start + 1;
    }
    report.display_text(std::string_view(line.text).substr(at), 1);
}

void display_in_blocks(ReportChannel& report, const std::vector<Line>& lines, std::size_t first, std::size_t last) {
    std::string text;
    std::vector<FormatRun> runs;
    for (std::size_t i = first; i < last; ++i) {
        for (FormatRun run : lines[i].colour) {
            run.start += text.size();
            if (!runs.empty() && runs.back().start + runs.back().length == run.start && runs.back().colour == run.colour) {
                ++runs.back().length;
            } else {
                runs.push_back(run);
            }
        }
        text += lines[i].text + "\r\n";
    }
    report.display_formatted(text, runs);
}

TEST(FormattedDisplay, MakesTheAppendsOfLineByLineCallsAtEveryPageLength) {
    std::mt19937 random(7);
    // More than three blocks of the work area, so that block ends fall inside the display.
    const std::vector<Line> lines = random_lines(random, 3'500'000);
    for (int height : {600, 90, 80, 140}) {
        SCOPED_TRACE("window height " + std::to_string(height));
        WatchedRun direct(height);
        WatchedRun blocks(height);
        ASSERT_TRUE(blocks.run.ctx.report.direct_ok());
        // Text already waiting in the channel, part of a page already counted.
        for (WatchedRun* run : {&direct, &blocks}) {
            for (int i = 0; i < 5; ++i) run->run.ctx.report.display_text("header " + std::to_string(i), 1);
            run->run.ctx.report.display_text("open ", 0);
        }
        for (const Line& line : lines) display_line_by_line(direct.run.ctx.report, line);
        std::size_t at = 0;
        while (at < lines.size()) {
            const std::size_t next = std::min(lines.size(), at + 1 + random() % 3000);
            display_in_blocks(blocks.run.ctx.report, lines, at, next);
            at = next;
        }
        EXPECT_EQ(direct.run.ctx.report.line_count(), blocks.run.ctx.report.line_count());
        direct.run.ctx.report.flush_display(0);
        blocks.run.ctx.report.flush_display(0);
        EXPECT_TRUE(direct.appends == blocks.appends) << direct.appends.size() << " appends line by line, "
                                                      << blocks.appends.size() << " in blocks";
        EXPECT_EQ(direct.rich(), blocks.rich());
    }
}

TEST(FormattedDisplay, IsRefusedWherePausesOrPendingFormatsCouldCut) {
    TestRun run;
    run.ctx.report.set_text_size(9 * 20);
    run.ctx.options.page_by_page = 1;
    EXPECT_FALSE(run.ctx.report.direct_ok());
    run.ctx.options.page_by_page = 0;
    EXPECT_TRUE(run.ctx.report.direct_ok());
    run.ctx.report.text_blue(1);
    EXPECT_FALSE(run.ctx.report.direct_ok());
    run.ctx.report.display_text("x", 1);
    EXPECT_TRUE(run.ctx.report.direct_ok());
    // Page length 1 ends a page at every line, even inside a line's pieces.
    run.window.height = 10;
    run.ctx.report.set_text_size(9 * 20);
    EXPECT_FALSE(run.ctx.report.direct_ok());
}

// Random report calls of the kinds the steps make.
void random_calls(std::mt19937& random, ReportChannel& report, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string text = "text " + std::to_string(random() % 1000);
        switch (random() % 7) {
            case 0: report.display_text(text, static_cast<int>(random() % 3)); break;
            case 1: report.text_blue(static_cast<int>(random() % 2)); break;
            case 2: report.text_navy(1); break;
            case 3: report.flush_display(static_cast<int>(random() % 2)); break;
            case 4: report.print_direct(text, 1); break;
            case 5: report.display_heading(" *** " + text); break;
            default: report.display_blank(); break;
        }
    }
}

TEST(RecordedChannel, ReplayMakesTheAppendsOfTheCallsThemselves) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        WatchedRun direct(600);
        WatchedRun replayed(600);
        TestRun side;
        ChannelLog log;
        side.ctx.report.record_into(&log);
        std::mt19937 first(seed);
        std::mt19937 second(seed);
        random_calls(first, direct.run.ctx.report, 5);
        random_calls(second, replayed.run.ctx.report, 5);
        random_calls(first, direct.run.ctx.report, 400);
        random_calls(second, side.ctx.report, 400);
        EXPECT_TRUE(side.area.text().empty());
        replayed.run.ctx.report.replay(log);
        direct.run.ctx.report.flush_display(0);
        replayed.run.ctx.report.flush_display(0);
        EXPECT_TRUE(direct.appends == replayed.appends);
        EXPECT_EQ(direct.run.ctx.report.line_count(), replayed.run.ctx.report.line_count());
    }
}

}  // namespace
}  // namespace vormel
