#include "report/report_channel.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "report/run_context.h"
#include "report/text_width.h"

namespace vormel {

namespace {

// Just past the needed-th '\n' of text[from, to), or `to` when there are fewer; needed goes down by
// the line ends passed. Long displays ask this for every page of short lines: eight bytes at a time.
std::size_t past_line_ends(std::string_view text, std::size_t from, std::size_t to, int& needed) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    std::size_t at = from;
    while (needed > 0 && at + 8 <= to) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        const std::uint64_t x = word ^ (kOnes * '\n');
        // 0x80 exactly in the bytes of x that are zero.
        const std::uint64_t ends = ~(((x & kLow7) + kLow7) | x | kLow7);
        const int count = std::popcount(ends);
        if (count >= needed) break;
        needed -= count;
        at += 8;
    }
    for (; needed > 0 && at < to; ++at) {
        if (text[at] == '\n') --needed;
    }
    return at;
}

}  // namespace

int page_length_for(int work_area_height_pixels, int text_size_points) {
    return static_cast<int>(std::lround(work_area_height_pixels / (2.0 * text_size_points + 3.1) * 1.35));
}

void ReportChannel::replay(const ChannelLog& log) {
    for (const ChannelCall& call : log) {
        switch (call.kind) {
            case ChannelCall::text: display_text(call.words, call.number); break;
            case ChannelCall::direct: print_direct(call.words, call.number); break;
            case ChannelCall::flush: flush_display(call.number); break;
            case ChannelCall::pending: set_pending(call.colour, call.number); break;
        }
    }
}

void ReportChannel::set_pending(Rgb colour, int bold) {
    if (log_ != nullptr) {
        log_->push_back({ChannelCall::pending, bold, colour, {}});
        return;
    }
    pending_set_ = true;
    pending_colour_ = colour;
    pending_bold_ = bold;
}

void ReportChannel::display_text(std::string_view text, int n) {
    if (log_ != nullptr) {
        log_->push_back({ChannelCall::text, n, {}, std::string(text)});
        return;
    }
    if (display_interrupted_ != 0) return;
    const int ends = n < 0 ? -n : n;
    if (pending_set_) {
        // Older plain text goes out unformatted before the coloured text.
        const Rgb colour = pending_colour_;
        const int bold = pending_bold_;
        pending_set_ = false;
        flush_display(1);
        set_pending(colour, bold);
    }
    out_buffer_.append(text);
    for (int i = 0; i < ends; ++i) {
        out_buffer_.append("\r\n");
        ++line_count_;
    }
    if (pending_set_) flush_display(1);
    for (char c : text) line_count_ += c == '\r';
    if (line_count_ >= page_length_ - 3) {
        flush_display(0);
        // Time spent waiting for the user is not counted. Without a pause there is nothing to take
        // out: stopping anyway would add the timer's minimum interval at every page.
        const std::string timer = ctx_.diag.timer_name();
        const bool pause = ctx_.options.page_by_page != 0;
        if (pause && !timer.empty()) ctx_.diag.stop_timer(timer);
        page_query();
        if (pause && !timer.empty()) ctx_.diag.start_timer(timer);
        if (display_interrupted_ != 0) {
            text_red(1);
            print_direct(" ... Display interrupted ...", 1);
        }
    }
}

bool ReportChannel::direct_ok() const {
    return display_interrupted_ == 0 && !pending_set_ && ctx_.options.page_by_page == 0 && page_length_ - 3 > 1;
}

void ReportChannel::display_formatted(std::string_view text, std::span<const FormatRun> runs) {
    // The work area sees the same appends as from the line by line calls: plain text collects
    // until a page end or a coloured piece, and every coloured character goes out on its own.
    const int limit = page_length_ - 3;
    auto plain = [&](std::size_t from, std::size_t to) {
        while (from < to) {
            // The page ends with the line end that brings the count to the limit.
            int needed = limit - line_count_;
            const std::size_t end = past_line_ends(text, from, to, needed);
            if (needed > 0) {
                line_count_ = limit - needed;
                out_buffer_.append(text.substr(from, to - from));
                return;
            }
            if (out_buffer_.empty()) print_direct(text.substr(from, end - from), 0);
            else out_buffer_.append(text.substr(from, end - from));
            flush_display(0);
            from = end;
        }
    };
    std::size_t at = 0;
    for (const FormatRun& run : runs) {
        plain(at, run.start);
        flush_display(1);
        ctx_.work_area.append_each(text.substr(run.start, run.length), run.colour, run.bold);
        ctx_.work_area.caret_to_end();
        at = run.start + run.length;
    }
    plain(at, text.size());
}

void ReportChannel::print_direct(std::string_view text, int n) {
    if (log_ != nullptr) {
        log_->push_back({ChannelCall::direct, n, {}, std::string(text)});
        return;
    }
    const int ends = n < 0 ? -n : n;
    const Rgb colour = pending_set_ ? pending_colour_ : colours::black;
    const bool bold = pending_set_ && pending_bold_ != 0;
    pending_set_ = false;
    pending_colour_ = colours::black;
    pending_bold_ = 0;
    if (!text.empty()) ctx_.work_area.append(text, colour, bold);
    for (int i = 0; i < ends; ++i) ctx_.work_area.append("\r\n", colour, bold);
    ctx_.work_area.caret_to_end();
}

void ReportChannel::flush_display(int keep) {
    if (log_ != nullptr) {
        log_->push_back({ChannelCall::flush, keep, {}, {}});
        return;
    }
    if (!out_buffer_.empty()) {
        print_direct(out_buffer_, 0);
        out_buffer_.clear();  // keeps its capacity for the next page
    }
    if (keep == 0) line_count_ = 0;
    display_interrupted_ = 0;
}

void ReportChannel::display_heading_ruled(std::string_view title, std::size_t rule_length) {
    const std::string rule(rule_length, '_');
    text_navy(1);
    display_text(rule, 1);
    display_blank();
    text_navy(1);
    display_text(title, 1);
    text_navy(1);
    display_text(rule, 1);
    display_blank();
    flush_display(1);
}

void ReportChannel::display_heading(std::string_view title) { display_heading_ruled(title, text_width(title) + 1); }

QueryAnswer ReportChannel::run_query(QueryKind kind) {
    if (kind == QueryKind::page_end) {
        ctx_.window.set_prompt("Long\r\nDisplay:", colours::red);
    } else {
        ctx_.window.set_prompt("Display Level >1\r\nReset ?", colours::navy);
    }
    query_open_ = true;
    const QueryAnswer answer = ctx_.window.ask_query(kind);
    query_open_ = false;
    ctx_.work_area.caret_to_end();
    ctx_.window.set_prompt("", colours::navy);
    return answer;
}

void ReportChannel::page_query() {
    if (ctx_.options.page_by_page == 0) return;
    if (run_query(QueryKind::page_end) == QueryAnswer::stop) display_interrupted_ = -1;
}

void ReportChannel::ask_reset() {
    if (ctx_.options.page_by_page == 0) return;
    const std::string timer = ctx_.diag.timer_name();
    if (!timer.empty()) ctx_.diag.stop_timer(timer);
    if (run_query(QueryKind::reset) == QueryAnswer::stop) ctx_.error_flag = -1;
    if (!timer.empty()) ctx_.diag.start_timer(timer);
}

void ReportChannel::set_text_size(int height_twips) {
    text_size_ = static_cast<int>(std::lround(height_twips / 20.0));
    if (text_size_ < 1) text_size_ = 1;
    page_length_ = page_length_for(ctx_.window.work_area_height(), text_size_);
}

}  // namespace vormel
