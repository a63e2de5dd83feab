#include "run/headless_window.h"

namespace vormel {

void HeadlessWindow::set_step_field(int step, StepPart part, std::string_view text, StepLook look) {
    if (part != StepPart::status) return;
    if (look == StepLook::error) step_failure_ = text;
    if (step < 1 || step > 5) return;
    const auto now = std::chrono::steady_clock::now();
    if (text == "...") step_started_[step - 1] = now;
    else if (text == "- done -" && step_started_[step - 1] != std::chrono::steady_clock::time_point{}) {
        step_seconds_[step - 1] = std::chrono::duration<double>(now - step_started_[step - 1]).count();
        step_started_[step - 1] = {};
    }
}

MessageAnswer HeadlessWindow::message_box(std::string_view caption, std::string_view text, MessageIcon,
                                          MessageButtons) {
    std::string line(text);
    for (std::size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n", at)) line.replace(at, 2, " ");
    last_message_ = std::string(caption) + ": " + line;
    return MessageAnswer::ok;
}

}  // namespace vormel
