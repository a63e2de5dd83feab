// The exact method's solver from the console program: it never reads standard input (its
// command-line front end prompted "Coin:" and waited on an open pipe) and prints nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

TEST(ExactSolverCli, StandardInputIsNeverRead) {
    TempDir dir;
    std::filesystem::copy_file(std::string(VORMEL_BENCH_DIR) + "/pla/mlp4.pla", dir.path() + "/mlp4.pla");
    const std::string input = dir.path() + "/mlp4.pla";
    dir.write("stdin.txt", "quit\n");
    // The shell reads on from the same open file: what the run took is gone.
    const Outcome outcome = run_script(dir, "{ \"$V\" --method exact --exact-limit 60 -l 1 " + shell_quoted(input) +
                                                "; echo \"status $?\"; read -r rest; echo \"left: $rest\"; } < " +
                                                shell_quoted(dir.path() + "/stdin.txt"));
    EXPECT_NE(outcome.out.find("status 0"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.out.find("left: quit"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("Proven minimum: 121"), std::string::npos);
    EXPECT_EQ(outcome.out.find("Coin"), std::string::npos);
    EXPECT_EQ(outcome.err.find("Coin"), std::string::npos);
}

}  // namespace
}  // namespace vormel::testing
