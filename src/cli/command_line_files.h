#pragma once
#include <string>
#include <vector>

namespace vormel {

struct OutputOptions;

// The checks on the files a vormelc call names, made before any run; each returns "" when the call
// may go on, else the reason for a usage error.

// An input must be a file of its own: the reports are written beside it, so standard input and the
// other names under /dev and /proc (also reached through a link) are refused.
std::string refuse_stream_input(const std::string& name);

// No output (export, summary, picture) may be an input of the call or a report file of one
// (INPUT.rpt, INPUT.rpt.rtf), by any spelling or link, and no two outputs may be one file.
// `inputs` are the resolved input paths.
std::string refuse_overwriting_outputs(const std::vector<std::string>& inputs, const OutputOptions& options);

}  // namespace vormel
