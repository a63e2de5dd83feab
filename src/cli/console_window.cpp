#include "cli/console_window.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>

#include "cli/terminal_echo.h"

namespace vormel {

ConsoleWindow::ConsoleWindow(bool page_by_page_prompt, bool spinner) : prompt_(page_by_page_prompt), spinner_(spinner) {
    winsize size{};
    if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 4) {
        // The work-area height whose page length at 9 points is the terminal's height.
        height_pixels_ = static_cast<int>(std::lround(size.ws_row * 21.1 / 1.35));
    }
}

void ConsoleWindow::set_progress(int) {
    if (!spinner_) return;
    static const char kPhases[] = {'|', '/', '-', '\\'};
    spinner_phase_ = (spinner_phase_ + 1) % 4;
    std::fprintf(stderr, "\r%c\r", kPhases[spinner_phase_]);
    std::fflush(stderr);
    spinner_shown_ = true;
}

void ConsoleWindow::clear_spinner() {
    if (!spinner_shown_) return;
    std::fprintf(stderr, "\r \r");
    std::fflush(stderr);
    spinner_shown_ = false;
}

bool answer_is_break(std::istream& in) {
    // The first character decides; the rest of the line is read and dropped, but never more than a
    // line's worth, so that an input without line ends cannot fill memory or hold the run forever.
    constexpr int kMostRead = 4096;
    int first = EOF;
    for (int read = 0; read < kMostRead; ++read) {
        const int c = in.get();
        if (c == EOF || c == '\n') break;
        if (read == 0) first = c;
    }
    return first == 'q' || first == 'Q';
}

QueryAnswer ConsoleWindow::ask_query(QueryKind kind) {
    if (!prompt_) return QueryAnswer::proceed;
    clear_spinner();
    std::cout.flush();
    std::fprintf(stderr, kind == QueryKind::page_end ? "-- Long Display: Enter continues, q interrupts -- "
                                                      : "-- Display Level >1, Reset ? Enter continues, q breaks -- ");
    std::fflush(stderr);
    return answer_is_break(std::cin) ? QueryAnswer::stop : QueryAnswer::proceed;
}

MessageAnswer ConsoleWindow::message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                                         MessageButtons buttons) {
    clear_spinner();
    const MessageAnswer answer = HeadlessWindow::message_box(caption, text, icon, buttons);
    std::cerr << "vormelc:" << printable(last_message()) << '\n';
    return answer;
}

}  // namespace vormel
