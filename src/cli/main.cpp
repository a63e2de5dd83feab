// vormelc: one whole run of an input file, headless, writing FILE.rpt and FILE.rpt.rtf beside it.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/batch_run.h"
#include "cli/console_window.h"
#include "cli/run_option_flags.h"
#include "cli/run_outputs.h"
#include "cli/terminal_echo.h"
#include "input/input_file.h"
#include "report/text_work_area.h"
#include "run/check_file.h"
#include "run/command_fsm.h"
#include "run/input_path.h"
#include "run/interrupt_guard.h"
#include "run/session.h"

namespace {

constexpr int kExitSaved = 0;
constexpr int kExitNotSaved = 1;
constexpr int kExitUsage = 2;

const char* const kExitStatus =
    "Exit status: 0 the report files were saved; 1 the run ended without them (a file that cannot be\n"
    "read, an input error, memory running out, a user break, a report that cannot be written; the\n"
    "reason is on stderr); 2 a usage error on the command line.";

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Vormel minimizes multi-output two-level (AND/OR) logic.\n"
                 "It runs every step on FILE and writes FILE.rpt and FILE.rpt.rtf beside it.",
                 "vormelc"};
    app.footer(kExitStatus);
    std::vector<std::string> files;
    vormel::OutputOptions outputs;
    vormel::RunOptions options;
    options.display_level = 0;
    bool page_by_page = false;
    bool quiet = false;
    app.add_option("FILE", files, "Input file (.tab, .tdf, .dcb, .pla, .bol); several run one after another")->required();
    app.add_option("-l,--level", options.display_level,
                   "Display level: 0 minimum, 1 results, 2 inputs and outputs, 3 main steps, 4 details")
        ->check(CLI::Range(0, 4))
        ->capture_default_str();
    vormel::add_polarity_option(app, options.polarity_mode);
    vormel::add_method_options(app, options.prime_method, options.exact_limit_seconds);
    app.add_option("--rolexa", options.rolexa_iterations, "ROLEXA iterations of the bundle optimization (0 for none)")
        ->check(CLI::Range(0, 9999))
        ->capture_default_str();
    vormel::add_threads_option(app, options.threads);
    app.add_flag("--page-by-page", page_by_page, "Pause at page ends and \"Reset ?\" queries (Enter continues, q breaks)");
    app.add_flag("-q,--quiet", quiet, "Do not echo the report");
    vormel::add_output_options(app, outputs);
    app.set_version_flag("--version", vormel::version_text());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here too, with their own status 0.
        return app.exit(error) == 0 ? kExitSaved : kExitUsage;
    }
    if (files.size() > 1 || outputs.jobs > 1) return vormel::run_batch(argc, argv, files, outputs);
    const std::string& file = files.front();

    // A reader that goes away (head, less) only ends the echo; a file-size limit only fails the
    // write that meets it. Either way the run finishes and says what became of its reports.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    vormel::install_interrupt_cleanup();

    const bool terminal = isatty(STDOUT_FILENO) != 0;
    vormel::ConsoleWindow window(page_by_page, isatty(STDERR_FILENO) != 0 && !quiet);
    vormel::TextWorkArea area;
    bool echo = !quiet;
    if (echo) {
        area.set_echo([terminal, &echo](std::string_view text, vormel::Rgb colour, bool bold) {
            if (echo) echo = vormel::echo_to_terminal(text, colour, bold, terminal);
        });
    }
    vormel::Session session(area, window);
    vormel::RunContext& ctx = session.ctx;
    ctx.report.set_text_size(9 * 20);

    // Memory running out before the run: the same fault report as inside it.
    const auto out_of_memory = [&] {
        try {
            area.clear();
            ctx.input_text.reset();
            ctx.diag.out_of_memory("read_input_file");
        } catch (const std::bad_alloc&) {
        }
        std::fflush(stdout);
        std::cerr << "vormelc: run ended without report files: Out of memory\n";
        return kExitNotSaved;
    };

    const std::string input = vormel::resolve_input_path(file);
    if (!vormel::check_file(ctx, 0, input, "r")) return kExitNotSaved;
    // Read once: this text is the echo, the report's first part and what the run parses.
    std::string text;
    switch (vormel::load_input_file(input, text)) {
        case vormel::InputLoad::loaded: break;
        case vormel::InputLoad::not_accessible:
            window.message_box(" Open Error", "Requested File is not accessible:  \r\n\r\n" + input,
                               vormel::MessageIcon::error, vormel::MessageButtons::ok);
            return kExitNotSaved;
        case vormel::InputLoad::out_of_memory: return out_of_memory();
    }
    try {
        if (outputs.import_pla && !vormel::import_input(ctx, input, text, outputs)) return kExitNotSaved;
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    }
    ctx.input_file = input;
    options.page_by_page = page_by_page ? 1 : 0;
    ctx.options = options;
    ctx.auto_run = -1;
    ctx.run_state = 4;
    ctx.diag.check_memory(1);
    // The run driver catches memory running out in a step; the input's own copy is made here.
    try {
        area.set_plain_text(text);
        ctx.input_text = std::move(text);
        if (echo) echo = std::fputs("\n", stdout) >= 0;
        vormel::Vormel_CommandFSM(session);
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    }
    std::fflush(stdout);
    window.clear_spinner();

    const bool outputs_written = vormel::write_run_outputs(session, window, outputs);
    if (session.report_saved) {
        if (!outputs_written) return kExitNotSaved;
        if (!quiet) {
            std::cerr << "vormelc: report saved to " << vormel::printable(ctx.report_file) << " and "
                      << vormel::printable(ctx.report_file) << ".rtf\n";
        }
        return kExitSaved;
    }
    std::string reason = window.step_failure().empty() ? window.status_line() : window.step_failure();
    if (!ctx.diag.last_fault().empty()) reason = ctx.diag.last_fault();
    std::cerr << "vormelc: run ended without report files: " << vormel::printable(reason);
    if (window.status_line() != reason) std::cerr << " (" << vormel::printable(window.status_line()) << ")";
    std::cerr << '\n';
    return kExitNotSaved;
}
