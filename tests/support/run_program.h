#pragma once
#include <string>

#include "support/test_session.h"

namespace vormel::testing {

struct ProgramOutcome {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a shell command line with stdin closed, its stdout and stderr caught in files of `dir`.
ProgramOutcome run_program(const TempDir& dir, const std::string& command);

#ifdef VORMELC_PATH
// The command line of the console program built with the tests.
inline std::string vormelc(const std::string& arguments) { return std::string(VORMELC_PATH) + " " + arguments; }
#endif

}  // namespace vormel::testing
