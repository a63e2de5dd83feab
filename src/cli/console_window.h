#pragma once
#include <cstdio>
#include <istream>
#include <string>

#include "run/headless_window.h"

namespace vormel {

// Reads one answer to a query: true for a line that begins with q or Q. Reads at most a few
// kilobytes, whatever the input holds.
bool answer_is_break(std::istream& in);

// The run window of the console program: a spinner on stderr when it is a terminal, message boxes
// as lines on stderr, queries answered at a terminal prompt.
class ConsoleWindow : public HeadlessWindow {
public:
    ConsoleWindow(bool page_by_page_prompt, bool spinner);

    void set_progress(int position) override;
    QueryAnswer ask_query(QueryKind kind) override;
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    int work_area_height() const override { return height_pixels_; }

    void clear_spinner();

private:
    bool prompt_;
    bool spinner_;
    int height_pixels_ = 600;
    int spinner_phase_ = 0;
    bool spinner_shown_ = false;
};

}  // namespace vormel
