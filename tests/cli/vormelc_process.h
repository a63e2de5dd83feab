#pragma once
// Runs the console program as a user does, from a shell, and collects what it leaves.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_session.h"

namespace vormel::testing {

struct Outcome {
    int status = -1;  // exit status, or 128 + the signal that ended the program
    std::string out;
    std::string err;
};

// Single quotes for a shell word.
inline std::string shell_quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a bash script in which $V is the console program; stdout and stderr land in dir.
inline Outcome run_script(const TempDir& dir, const std::string& script) {
    const std::string out = dir.path() + "/stdout.txt";
    const std::string err = dir.path() + "/stderr.txt";
    const std::string command = "V=" + shell_quoted(VORMELC_PATH) + " bash -c " + shell_quoted(script) + " >" +
                                shell_quoted(out) + " 2>" + shell_quoted(err) + " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
    else if (WIFSIGNALED(raw)) outcome.status = 128 + WTERMSIG(raw);
    outcome.out = read_file(out);
    outcome.err = read_file(err);
    return outcome;
}

// vormelc with the given arguments (already quoted as needed).
inline Outcome run_vormelc(const TempDir& dir, const std::string& arguments) {
    return run_script(dir, "\"$V\" " + arguments);
}

}  // namespace vormel::testing
