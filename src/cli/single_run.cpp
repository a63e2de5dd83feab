#include "cli/single_run.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <new>

#include "cli/console_window.h"
#include "cli/run_outputs.h"
#include "cli/terminal_echo.h"
#include "input/input_file.h"
#include "report/text_work_area.h"
#include "run/check_file.h"
#include "run/command_fsm.h"
#include "run/headless_run.h"
#include "run/input_path.h"
#include "run/interrupt_guard.h"
#include "run/run_failure.h"
#include "run/session.h"

namespace vormel {

namespace {

// Reads the input and runs every step. "" when the run went its course (its reports saved or not),
// else why it never began; memory running out throws.
std::string read_and_run(Session& session, OutputOptions& outputs, bool& echo) {
    RunContext& ctx = session.ctx;
    const std::string& input = ctx.input_file;
    if (!check_file(ctx, 0, input, "r")) return {};
    // Read once: this text is the echo, the report's first part and what the run parses.
    std::string text;
    switch (load_input_file(input, text)) {
        case InputLoad::loaded: break;
        case InputLoad::not_accessible:
            ctx.window.message_box(" Open Error", "Requested File is not accessible:  \r\n\r\n" + input, MessageIcon::error,
                                   MessageButtons::ok);
            return {};
        case InputLoad::out_of_memory: throw std::bad_alloc();
    }
    if (outputs.import_pla) {
        if (std::string refused = import_input(ctx, text, outputs); !refused.empty()) return refused;
    }
    begin_whole_run(session, std::move(text));
    if (echo) echo = std::fputs("\n", stdout) >= 0;
    Vormel_CommandFSM(session);
    return {};
}

}  // namespace

int run_single_file(const std::string& file, const ConsoleOptions& console, OutputOptions outputs) {
    // A reader that goes away (head, less) only ends the echo; a file-size limit only fails the
    // write that meets it. Either way the run finishes and says what became of its reports.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    install_interrupt_cleanup();

    const bool terminal = isatty(STDOUT_FILENO) != 0;
    ConsoleWindow window(console.page_by_page, isatty(STDERR_FILENO) != 0 && !console.quiet);
    TextWorkArea area;
    bool echo = !console.quiet;
    if (echo) {
        area.set_echo([terminal, &echo](std::string_view text, Rgb colour, bool bold) {
            if (echo) echo = echo_to_terminal(text, colour, bold, terminal);
        });
    }
    Session session(area, window);
    RunContext& ctx = session.ctx;
    ctx.report.set_text_size(9 * 20);
    ctx.options = console.run;
    ctx.options.page_by_page = console.page_by_page ? 1 : 0;
    ctx.input_file = resolve_input_path(file);

    std::string failure;
    try {
        failure = read_and_run(session, outputs, echo);
    } catch (const std::bad_alloc&) {
        failure = out_of_memory_outside_steps(session);
    }
    std::fflush(stdout);
    window.clear_spinner();
    if (!session.report_saved && failure.empty()) failure = run_failure(session, window);

    const bool outputs_written = write_run_outputs(session, window, outputs, failure);
    if (session.report_saved) {
        if (!outputs_written) return 1;
        if (!console.quiet) {
            std::cerr << "vormelc: report saved to " << printable(ctx.report_file) << " and " << printable(ctx.report_file)
                      << ".rtf\n";
        }
        return 0;
    }
    std::cerr << "vormelc: run ended without report files: " << printable(failure);
    // The status line adds what it says beyond the generic end of a broken run (which file was not saved).
    const std::string& status = window.status_line();
    const auto start = status.find_first_not_of(' ');
    if (start != std::string::npos && status != " Output File not saved" && failure.find(status.substr(start)) == std::string::npos) {
        std::cerr << " (" << printable(status) << ")";
    }
    std::cerr << '\n';
    return 1;
}

}  // namespace vormel
