#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>

namespace vormel::testing {

ProgramOutcome run_program(const TempDir& dir, const std::string& command) {
    const std::string out = dir.path() + "/stdout.txt";
    const std::string err = dir.path() + "/stderr.txt";
    const int raw = std::system((command + " >" + out + " 2>" + err + " </dev/null").c_str());
    ProgramOutcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = read_file(out);
    outcome.err = read_file(err);
    return outcome;
}

}  // namespace vormel::testing
