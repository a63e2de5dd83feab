#pragma once
#include <string>
#include <vector>

namespace vormel {

struct OutputOptions;

// Several input files (or --jobs above 1): each file runs in a vormelc of its own, one after
// another or `jobs` at once, with the other options of this call; then a table of all files on
// stdout and, with --summary, one summary of them all. 0 when every run saved its report.
int run_batch(int argc, char** argv, const std::vector<std::string>& files, const OutputOptions& options);

}  // namespace vormel
