#pragma once
#include <array>
#include <chrono>
#include <cstdio>
#include <istream>
#include <string>

#include "report/run_window.h"

namespace vormel {

// Reads one answer to a query: true for a line that begins with q or Q. Reads at most a few
// kilobytes, whatever the input holds.
bool answer_is_break(std::istream& in);

// The run window of the console program: no fields to show, a spinner on stderr when it is a
// terminal, message boxes as lines on stderr, queries answered at a terminal prompt.
class ConsoleWindow : public SilentRunWindow {
public:
    ConsoleWindow(bool page_by_page_prompt, bool spinner);

    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override;
    void set_status_line(std::string_view text) override { status_line_ = text; }
    void set_progress(int position) override;
    QueryAnswer ask_query(QueryKind kind) override;
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    int work_area_height() const override { return height_pixels_; }

    const std::string& status_line() const { return status_line_; }
    // The text the failing step's status field shows ("Error", "User Break"), or empty.
    const std::string& step_failure() const { return step_failure_; }
    // The last message box as its stderr line without the program's name (" Open Error: ..."), or empty.
    const std::string& last_message() const { return last_message_; }
    void clear_spinner();
    // Wall seconds of steps 1 (Expand) to 5 (Final), from the step's "..." to its "- done -".
    const std::array<double, 5>& step_seconds() const { return step_seconds_; }

private:
    bool prompt_;
    bool spinner_;
    int height_pixels_ = 600;
    int spinner_phase_ = 0;
    bool spinner_shown_ = false;
    std::string status_line_;
    std::string step_failure_;
    std::string last_message_;
    std::array<std::chrono::steady_clock::time_point, 5> step_started_{};
    std::array<double, 5> step_seconds_{};
};

}  // namespace vormel
