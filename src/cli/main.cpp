// vormelc: one whole run of an input file, headless, writing FILE.rpt and FILE.rpt.rtf beside it.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "cli/batch_run.h"
#include "cli/console_window.h"
#include "cli/run_option_flags.h"
#include "cli/run_outputs.h"
#include "cli/terminal_echo.h"
#include "input/text_decoding.h"
#include "report/text_work_area.h"
#include "run/check_file.h"
#include "run/input_path.h"
#include "run/command_fsm.h"
#include "run/session.h"

int main(int argc, char** argv) {
    CLI::App app{"Vormel minimizes multi-output two-level (AND/OR) logic.\n"
                 "It runs every step on FILE and writes FILE.rpt and FILE.rpt.rtf beside it.",
                 "vormelc"};
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
    app.add_flag("--page-by-page", page_by_page, "Pause at page ends and \"Reset ?\" queries (Enter continues, q breaks)");
    app.add_flag("-q,--quiet", quiet, "Do not echo the report");
    vormel::add_output_options(app, outputs);
    app.set_version_flag("--version", vormel::version_text());
    CLI11_PARSE(app, argc, argv);
    if (files.size() > 1 || outputs.jobs > 1) return vormel::run_batch(argc, argv, files, outputs);
    const std::string& file = files.front();

    const bool terminal = isatty(STDOUT_FILENO) != 0;
    vormel::ConsoleWindow window(page_by_page, isatty(STDERR_FILENO) != 0 && !quiet);
    vormel::TextWorkArea area;
    if (!quiet) {
        area.set_echo([terminal](std::string_view text, vormel::Rgb colour, bool bold) {
            vormel::echo_to_terminal(text, colour, bold, terminal);
        });
    }
    vormel::Session session(area, window);
    vormel::RunContext& ctx = session.ctx;
    ctx.report.set_text_size(9 * 20);

    const std::string input = vormel::resolve_input_path(file);
    if (!vormel::check_file(ctx, 0, input, "r")) return 1;
    std::ifstream in(input, std::ios::binary);
    std::ostringstream raw;
    raw << in.rdbuf();
    std::string text = vormel::decode_input_text(raw.str());
    if (outputs.import_pla && !vormel::import_input(ctx, input, text)) return 1;
    area.set_plain_text(text);
    if (!quiet) std::fputs("\n", stdout);

    ctx.input_file = input;
    options.page_by_page = page_by_page ? 1 : 0;
    ctx.options = options;
    ctx.auto_run = -1;
    ctx.run_state = 4;
    ctx.diag.check_memory(1);

    vormel::Vormel_CommandFSM(session);
    std::fflush(stdout);
    window.clear_spinner();

    const bool outputs_written = vormel::write_run_outputs(session, window, outputs);
    if (session.report_saved) {
        if (!outputs_written) return 1;
        if (!quiet) std::cerr << "vormelc: report saved to " << ctx.report_file << " and " << ctx.report_file << ".rtf\n";
        return 0;
    }
    std::string reason = window.step_failure().empty() ? window.status_line() : window.step_failure();
    std::cerr << "vormelc: run ended without report files: " << reason;
    if (window.status_line() != reason) std::cerr << " (" << window.status_line() << ")";
    std::cerr << '\n';
    return 1;
}
