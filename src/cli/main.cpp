// vormelc: whole runs of input files, headless, writing FILE.rpt and FILE.rpt.rtf beside each.
#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/batch_run.h"
#include "cli/command_line_files.h"
#include "cli/run_option_flags.h"
#include "cli/run_outputs.h"
#include "cli/single_run.h"
#include "report/run_context.h"
#include "run/input_path.h"

namespace {

constexpr int kExitSaved = 0;
constexpr int kExitUsage = 2;

const char* const kExitStatus =
    "Exit status: 0 the report files were saved; 1 the run ended without them, or an export, picture or\n"
    "summary was not written (a file that cannot be read, an input error, memory running out, a user\n"
    "break, a write that failed; the reason is on stderr, in a batch with the file's name);\n"
    "2 a usage error on the command line (also standard input as FILE, or an output that would\n"
    "overwrite an input or a report). A batch is 0 when every file's run is, and an interrupted batch\n"
    "ends by the signal.";

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Vormel minimizes multi-output two-level (AND/OR) logic.\n"
                 "It runs every step on FILE and writes FILE.rpt and FILE.rpt.rtf beside it.",
                 "vormelc"};
    app.footer(kExitStatus);
    std::vector<std::string> files;
    vormel::OutputOptions outputs;
    vormel::ConsoleOptions console;
    vormel::RunOptions& options = console.run;
    options.display_level = 0;
    app.add_option("FILE", files, "Input file (.tab, .tdf, .dcb, .pla, .bol); several run one after another.\n"
                                  "Standard input and other device names are refused: the reports go beside FILE")
        ->required();
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
    app.add_flag("--page-by-page", console.page_by_page,
                 "Pause at page ends and \"Reset ?\" queries (Enter continues, q breaks)");
    app.add_flag("-q,--quiet", console.quiet, "Do not echo the report");
    vormel::add_output_options(app, outputs);
    app.set_version_flag("--version", vormel::version_text());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here too, with their own status 0.
        return app.exit(error) == 0 ? kExitSaved : kExitUsage;
    }

    std::vector<std::string> inputs;
    for (const std::string& file : files) {
        if (const std::string refused = vormel::refuse_stream_input(file); !refused.empty()) {
            std::cerr << "vormelc: " << refused << '\n';
            return kExitUsage;
        }
        inputs.push_back(vormel::resolve_input_path(file));
    }
    std::string refused = files.size() > 1 ? vormel::refuse_batch_options(outputs) : std::string();
    if (refused.empty()) refused = vormel::refuse_overwriting_outputs(inputs, outputs);
    if (!refused.empty()) {
        std::cerr << "vormelc: " << refused << '\n';
        return kExitUsage;
    }
    if (files.size() > 1) return vormel::run_batch(app, files, options, outputs, console.page_by_page);
    return vormel::run_single_file(files.front(), console, outputs);
}
