#include "report/diagnostics.h"

#include <algorithm>
#include <new>

#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

std::string Diagnostics::quoted(std::string_view text) {
    if (text.size() <= kMaxQuoted) return std::string(text);
    std::size_t cut = kMaxQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 character
    return std::string(text.substr(0, cut)) + " ... (" + std::to_string(text.size()) + " bytes)";
}

std::string Diagnostics::numbered_message(std::string_view text, int number) {
    // An input line may be megabytes long; the message and the summary quote its start.
    const std::string t = quoted(text);
    switch (number) {
        case 1: return "1: No '-' allowed in *.tdf line " + t;
        case 2: return "2: Number of " + t + " is larger than the allowed maximum of " + "22";
        case 3: return "3: Number of " + t + " is larger than the allowed maximum of " + "100";
        case 4: return "4: Wrong number of X_entries: " + t;
        case 5: return "5: Invalid characters in X_entry: " + t;
        case 6: return "6: Wrong number of Y_entries: " + t;
        case 7: return "7: Invalid characters in Y_entry: " + t;
        case 8: return "8: Invalid X_name or Y_name in Table line: " + t;
        case 9: return "9: " + t;
        case 10: return "10: No boolean Equation in line: " + t;
        case 11: return "11: Invalid X_name or Y_name in boolean line " + t;
        case 12: return "12: No valid Truth Table or boolean input format in file : " + t;
        case 15: return "15: Invalid character in input line: " + t;
        case 16: return "16: No valid Bundle Optimization found. An output function may not be defined.";
        case 17: return "17: " + t;
        case 18: return "18: " + t;
        case 19: return "19: " + t;
        default: return " Unknown Error ";
    }
}

namespace {

// A report text on one line: its line ends as blanks, the leading blanks and stars of a heading gone.
std::string one_line(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const auto start = text.find_first_not_of(" *");
    return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

void Diagnostics::take_failure(const Diagnostics& side) {
    if (!side.last_fault_.empty()) last_fault_ = side.last_fault_;
    if (first_error_.empty()) first_error_ = side.first_error_;
}

void Diagnostics::show_error(std::string_view text, int number) {
    ReportChannel& report = ctx_.report;
    if (first_error_.empty()) first_error_ = one_line(number == 0 ? std::string(text) : "Error " + numbered_message(text, number));
    ctx_.error_flag = -1;
    ++ctx_.error_count;
    report.flush_display(0);
    if (number == 0) {
        report.text_red(1);
        report.display_text(text, 1);
    } else {
        report.display_blank();
        report.text_red(1);
        report.display_text(" *** Error ", 0);
        report.text_red(1);
        report.display_text(numbered_message(text, number), 1);
    }
    report.flush_display(0);
    const int state = ctx_.run_state;
    int step = -1;
    if (state < 4 || state == 10) step = 0;
    else if (state >= 5 && state <= 9) step = state - 4;
    if (step >= 0) ctx_.window.set_step_field(step, StepPart::status, "Error", StepLook::error);
}

namespace {
std::string fault_text(int fault) {
    switch (fault) {
        case 5: return "Illegal function call";
        case 6: return "Overflow";
        case 7: return "Out of memory";
        case 9: return "Subscript/Pointer out of range";
        case 11: return "Division by zero";
        default: return "Unexpected fault";
    }
}
}  // namespace

void Diagnostics::runtime_error(int fault, std::string_view routine) {
    ReportChannel& report = ctx_.report;
    ctx_.error_flag = -1;
    last_fault_ = fault_text(fault);
    report.flush_display(0);
    report.print_direct("", 2);
    report.text_red(1);
    report.print_direct(" *** Error " + format_mask("###", fault) + ": " + fault_text(fault), 0);
    report.text_red(1);
    if (!routine.empty()) report.print_direct(" in SUB " + std::string(routine), 1);
    report.text_red(1);
    if (fault == 7) report.print_direct(" *** Sorry, your Data Set is too large for this Computer/Program", 1);
    if (fault == 9) report.print_direct(" *** System Error or Data Set is too large.", 1);
    report.print_direct("", 1);
}

void Diagnostics::out_of_memory(std::string_view routine) {
    const std::string name(routine);  // check_memory sets current_sub, which routine may view
    ctx_.report.display_blank();
    try {
        check_memory(0);
    } catch (const std::bad_alloc&) {
        // The sample only moves the swapping indicator; the fault report matters more.
    }
    runtime_error(7, name);
}

void Diagnostics::start_timer(std::string_view name) {
    ctx_.current_sub = "start_timer";
    if (!timer_name_.empty() && timer_name_ != name) {
        ctx_.report.print_direct("", 1);
        ctx_.report.print_direct("*** System Warning 2:  Start_timer: " + std::string(name) + " no stopped Timer: " + timer_name_, 1);
    }
    timer_name_ = name;
    timer_start_ = ctx_.clock();
}

std::string Diagnostics::format_time(double seconds) {
    if (seconds < 10) return format_mask(" #.##", seconds) + " s";
    if (seconds < 100) return format_mask(" #.#", seconds) + " s";
    return format_mask(" #", seconds) + " s";
}

void Diagnostics::stop_timer(std::string_view name) {
    ctx_.current_sub = "stop_timer";
    if (name != timer_name_) {
        ctx_.report.print_direct("", 1);
        ctx_.report.print_direct("*** System Warning 3:  Stop_timer : " + std::string(name) + " after started Timer: " + timer_name_ + "?", 1);
    }
    timer_name_.clear();
    last_interval_ = std::max(ctx_.clock() - timer_start_, 0.001);
    total_time_ += last_interval_;
    time_text_ = format_time(total_time_);
    ctx_.window.set_time_text(time_text_);
}

void Diagnostics::add_time(double seconds) {
    total_time_ += seconds;
    time_text_ = format_time(total_time_);
    ctx_.window.set_time_text(time_text_);
}

void Diagnostics::continue_memory_samples(const Diagnostics& run) {
    max_physical_load_ = run.max_physical_load_;
    max_virtual_use_ = run.max_virtual_use_;
    swapping_shown_ = run.swapping_shown_;
    last_memory_time_ = run.last_memory_time_;
}

void Diagnostics::add_memory_maxima(const Diagnostics& side) {
    max_physical_load_ = std::max(max_physical_load_, side.max_physical_load_);
    max_virtual_use_ = std::max(max_virtual_use_, side.max_virtual_use_);
}

void Diagnostics::check_memory(int mode) {
    ctx_.current_sub = "check_memory";
    // Callers sample after every growth check, often in inner loops; reading the system's figures
    // costs microseconds, so a plain sample reuses a reading younger than a tenth of a second.
    const double now = ctx_.clock();
    if (mode == 0 && now - last_memory_time_ < 0.1) return;
    last_memory_time_ = now;
    const MemoryStatus status = ctx_.memory_probe();
    if (mode == 1) {
        max_physical_load_ = 0;
        max_virtual_use_ = 0;
        swapping_shown_ = false;
        ctx_.window.set_swapping_visible(false);
        return;
    }
    max_physical_load_ = std::max(max_physical_load_, status.physical_load_percent);
    int virtual_use = 0;
    if (status.total_virtual > 0) {
        virtual_use = static_cast<int>(static_cast<double>(status.total_virtual - status.available_virtual) /
                                       static_cast<double>(status.total_virtual) * 100);
    }
    max_virtual_use_ = std::max(max_virtual_use_, virtual_use);
    if (mode == 2) {
        constexpr double mib = 1024.0 * 1024.0;
        ReportChannel& report = ctx_.report;
        report.display_text(" Memory Status in state" + STR(ctx_.run_state) + ":", 1);
        report.display_text(" Physical   -current: " + format_mask("## %", status.physical_load_percent) +
                                "   -maximum used: " + format_mask("## %", max_physical_load_) + "   -installed: " +
                                format_mask("#### MB", static_cast<double>(status.total_physical / 1024 / 1024)),
                            1);
        report.display_text(" Virtual    -current: " + format_mask("## %", virtual_use) + "   -maximum used: " +
                                format_mask("## %", max_virtual_use_) + "   -installed: " +
                                format_mask("#### MB", static_cast<double>(status.total_virtual) / mib),
                            1);
        report.flush_display(0);
    }
    if (swapping_shown_ && status.physical_load_percent < 99) {
        swapping_shown_ = false;
        ctx_.window.set_swapping_visible(false);
    } else if (!swapping_shown_ && status.physical_load_percent >= 99) {
        swapping_shown_ = true;
        ctx_.window.set_swapping_visible(true);
    }
}

void Diagnostics::poll_progress(int mode) {
    const double now = ctx_.clock();
    if (mode == 1) {
        progress_position_ = 0;
        progress_rising_ = 1;
    } else {
        if (now - last_progress_time_ < 0.05) return;
        if (progress_rising_) {
            progress_position_ += 2;
            if (progress_position_ >= 100) progress_rising_ = 0;
        } else {
            progress_position_ -= 2;
            if (progress_position_ <= 0) progress_rising_ = 1;
        }
    }
    last_progress_time_ = now;
    ctx_.window.set_progress(progress_position_);
    ctx_.window.repaint();
}

}  // namespace vormel
