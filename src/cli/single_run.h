#pragma once
#include <string>

#include "report/run_context.h"

namespace vormel {

struct OutputOptions;

// How vormelc runs a file besides the run options: pausing at page ends, echoing the report.
struct ConsoleOptions {
    RunOptions run;
    bool page_by_page = false;
    bool quiet = false;
};

// One whole run of `file`, headless: the report echoed and saved as FILE.rpt and FILE.rpt.rtf, then
// the exports, pictures and summary. Whatever becomes of the run, a summary asked for gets its
// entry, and a run that ends without its reports says why on stderr. Returns the exit status: 0
// saved, 1 not.
int run_single_file(const std::string& file, const ConsoleOptions& console, OutputOptions outputs);

}  // namespace vormel
