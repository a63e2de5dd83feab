#pragma once
#include <string>
#include <vector>

namespace CLI {
class App;
}

#include "export/result_view.h"

namespace vormel {

class HeadlessWindow;
struct RunContext;
struct Session;

// The options of vormelc about what a run reads besides our formats and writes besides the report.
struct OutputOptions {
    bool import_pla = false;
    std::vector<std::string> exports;
    bool pla_phase = false;
    std::string summary;
    std::string kmap;     // SVG of the Karnaugh maps
    std::string diagram;  // SVG of the gate diagram
    int jobs = 1;
    WrittenNames imported_names;  // the names of an --import as written, for the exports
};

void add_output_options(CLI::App& app, OutputOptions& options);

// --import: converts the text of the input (any file name) from the common PLA dialect in place, has
// the run read the converted text and keeps the names as written in `options`; "" when done, else
// why the file is refused. Throws std::bad_alloc when memory runs out.
std::string import_input(RunContext& ctx, std::string& text, OutputOptions& options);

// Writes the JSON summary document to `path`; false, with the reason on stderr, when it cannot.
bool write_summary(const std::string& path, const std::string& document);

// After a run: the exports and pictures (when the run saved its report) and the summary, whose entry
// gives `failure` as the reason of a run that did not. False when one of them could not be written;
// the reasons are on stderr.
bool write_run_outputs(const Session& session, const HeadlessWindow& window, const OutputOptions& options,
                       const std::string& failure);

}  // namespace vormel
