#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/colour.h"
#include "report/run_window.h"
#include "report/work_area.h"

namespace vormel {

struct RunContext;

// The calls made on a recording channel, to be made again on another channel in the same order.
struct ChannelCall {
    enum Kind : std::uint8_t { text, direct, flush, pending } kind = text;
    int number = 0;  // line ends of text and direct, keep of flush, bold of pending
    Rgb colour{};
    std::string words;
};
using ChannelLog = std::vector<ChannelCall>;

// Every step writes its report through this channel. Plain text is buffered and appended to the
// work area once per page; coloured or bold text goes out at once with its format. With
// page_by_page on, the channel pauses at each page end. Callers test display_level themselves.
class ReportChannel {
public:
    explicit ReportChannel(RunContext& ctx) : ctx_(ctx) {}

    // Appends text and |n| line ends (n's sign means nothing).
    void display_text(std::string_view text, int n = 0);
    void display_blank() { display_text("", 1); }
    // True when nothing can come between two lines of a long display: no page pause, no pending
    // format, no interrupted display. Only then may display_formatted be used.
    bool direct_ok() const;
    // Appends whole lines of text (CR LF ends), plain black except the stretches in runs (ascending
    // offsets into text, no line end inside): the same as the line by line calls that would write it.
    void display_formatted(std::string_view text, std::span<const FormatRun> runs);
    // Appends text and |n| line ends to the work area at once with the pending format.
    void print_direct(std::string_view text, int n = 0);
    // keep = 0 also restarts the page count.
    void flush_display(int keep);
    // Five lines: rule, blank, title, rule, blank; the rules and title navy bold.
    void display_heading(std::string_view title);
    // A heading whose rules have rule_length underscores (the consensus step's xtree headings).
    void display_heading_ruled(std::string_view title, std::size_t rule_length);

    void text_red(int bold) { set_pending(colours::red, bold); }
    void text_navy(int bold) { set_pending(colours::navy, bold); }
    void text_blue(int bold) { set_pending(colours::blue, bold); }
    void text_green(int bold) { set_pending(colours::green, bold); }

    // The "Reset ?" pause after a detail display; Break sets error_flag.
    void ask_reset();

    // Recomputes text_size and page_length from a text height in twips and the work area's height.
    void set_text_size(int height_twips);
    int text_size() const { return text_size_; }
    int page_length() const { return page_length_; }
    void set_page_length(int lines) { page_length_ = lines; }

    int line_count() const { return line_count_; }
    void reset_line_count() { line_count_ = 0; }
    bool interrupted() const { return display_interrupted_ != 0; }
    void clear_interrupted() { display_interrupted_ = 0; }
    void clear_buffer() { out_buffer_.clear(); }
    bool query_open() const { return query_open_; }

    // While a log is set, text, format and flush calls are only written down (work done off the
    // run's thread); replay makes them on this channel.
    void record_into(ChannelLog* log) { log_ = log; }
    void replay(const ChannelLog& log);

private:
    void set_pending(Rgb colour, int bold);
    bool format_pending() const { return pending_set_; }
    void page_query();
    QueryAnswer run_query(QueryKind kind);

    RunContext& ctx_;
    std::string out_buffer_;
    int line_count_ = 0;
    int page_length_ = 38;
    int text_size_ = 9;
    int display_interrupted_ = 0;
    bool pending_set_ = false;
    Rgb pending_colour_{};
    int pending_bold_ = 0;
    bool query_open_ = false;
    ChannelLog* log_ = nullptr;
};

// round(height / (2 * size + 3.1) * 1.35): 600 pixels at 9 points give 38 lines.
int page_length_for(int work_area_height_pixels, int text_size_points);

}  // namespace vormel
