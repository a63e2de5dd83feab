#pragma once
#include <array>
#include <chrono>
#include <string>

#include "report/run_window.h"

namespace vormel {

// A run window without a screen that keeps what a headless run's caller asks afterwards: the
// status line, the failing step's status, the last message box and the step times.
class HeadlessWindow : public SilentRunWindow {
public:
    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override;
    void set_status_line(std::string_view text) override { status_line_ = text; }
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;

    const std::string& status_line() const { return status_line_; }
    // The text the failing step's status field shows ("Error", "User Break"), or empty.
    const std::string& step_failure() const { return step_failure_; }
    // The last message box as one line, caption and text (" Open Error: ..."), or empty.
    const std::string& last_message() const { return last_message_; }
    // Wall seconds of steps 1 (Expand) to 5 (Final), from the step's "..." to its "- done -".
    const std::array<double, 5>& step_seconds() const { return step_seconds_; }

private:
    std::string status_line_;
    std::string step_failure_;
    std::string last_message_;
    std::array<std::chrono::steady_clock::time_point, 5> step_started_{};
    std::array<double, 5> step_seconds_{};
};

}  // namespace vormel
