#pragma once
#include <string>

namespace vormel {

struct RunContext;

// Checks that a file can be read (mode "r") or written (mode "w"). Refuses directories and other
// non-regular files and, for writing, files without write permission. On failure: the step's status
// field shows "Error", a " Open Error" message, error_flag; for the report save (step 5) the error
// line also goes into the report. Returns true when usable.
bool check_file(RunContext& ctx, int step_field, const std::string& name, const std::string& mode);

}  // namespace vormel
