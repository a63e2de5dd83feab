#pragma once
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vormel {

struct OutputOptions;
struct RunOptions;

// Outputs that name one file, which several input files cannot share: "" when there are none, else
// the reason for a usage error.
std::string refuse_batch_options(const OutputOptions& options);

// Several input files: each runs in a vormelc of its own, one after another or --jobs at once, with
// the options `app` parsed (handed on as parsed, never picked out of the command line by their
// text); then a table of all files on stdout and, with --summary, one summary with an entry per
// file. What a run says on stderr is passed on with its file's name. A reader that goes away or a
// file-size limit fails only the write it meets; an interrupt stops the runs, removes the private
// scratch folder and ends the batch by the same signal. 0 when every run saved its report.
int run_batch(const CLI::App& app, const std::vector<std::string>& files, const RunOptions& run,
              const OutputOptions& options, bool page_by_page);

}  // namespace vormel
