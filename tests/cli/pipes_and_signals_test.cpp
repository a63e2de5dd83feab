// The console program between pipes, terminals, signals and limits: a reader that goes away, a
// file-size limit, a terminal that gets the echo, names that hold escape sequences.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

namespace fs = std::filesystem;

// A random table of `inputs` inputs and two outputs: its level-2 report runs to many pages.
std::string random_table(int inputs) {
    std::mt19937 random(3);
    std::string text;
    for (int i = 0; i < inputs; ++i) text += (i ? ",x" : "x") + std::to_string(i);
    text += ":f,g\n";
    for (int m = 0; m < (1 << inputs); m += 3) {
        for (int i = inputs - 1; i >= 0; --i) text += static_cast<char>('0' + ((m >> i) & 1));
        text += ':';
        text += "01"[random() % 2];
        text += "01"[random() % 2];
        text += '\n';
    }
    return text;
}

TEST(PipesAndSignals, ReaderThatGoesAwayEndsTheEchoNotTheRun) {
    // vormelc -l 2 big.tab | head ended with SIGPIPE (status 141) and no report.
    TempDir dir;
    const std::string input = dir.write("big.tab", random_table(10));
    const Outcome outcome =
        run_script(dir, "\"$V\" -l 2 " + shell_quoted(input) + " | head -c 100 >/dev/null; exit ${PIPESTATUS[0]}");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(read_file(input + ".rpt").find(" *** End of "), std::string::npos);
    EXPECT_NE(outcome.err.find("vormelc: report saved to "), std::string::npos) << outcome.err;
}

TEST(PipesAndSignals, FileSizeLimitFailsTheSaveWithAClearMessage) {
    // ulimit -f killed the run with SIGXFSZ and left the temporary behind.
    TempDir dir;
    const std::string folder = dir.path() + "/work";
    fs::create_directory(folder);
    const std::string input = folder + "/big.tab";
    std::ofstream(input) << random_table(8);
    const Outcome outcome = run_script(dir, "ulimit -f 8; \"$V\" -q -l 2 " + shell_quoted(input));
    EXPECT_EQ(outcome.status, 1);
    // The .rtf is written first: it meets the limit.
    EXPECT_NE(outcome.err.find("File not written:    " + input + ".rpt.rtf"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("File too large"), std::string::npos) << outcome.err;
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"big.tab"});
}

TEST(PipesAndSignals, PageAnswersAreReadWithABoundedBuffer) {
    // --page-by-page read each answer with an unbounded getline: a stdin without line ends grew
    // without limit. An answer now reads a few kilobytes at most, and the run goes on.
    TempDir dir;
    const std::string input = dir.write("pages.tab", random_table(8));
    const std::string endless = dir.write("endless.txt", std::string(1 << 20, 'x'));
    const Outcome outcome =
        run_script(dir, "\"$V\" -q --page-by-page -l 2 " + shell_quoted(input) + " < " + shell_quoted(endless));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(read_file(input + ".rpt").find(" *** End of "), std::string::npos);
}

TEST(PipesAndSignals, EscapeSequencesInFileNamesNeverReachStderr) {
    TempDir dir;
    const std::string input = dir.write("e\x1b]0;title\x07\x1b[31m.tab", "a:f\n1:1\n");
    Outcome outcome = run_vormelc(dir, shell_quoted(input) + " >/dev/null");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("e?]0;title??[31m.tab.rpt"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos);
    outcome = run_vormelc(dir, shell_quoted(dir.path() + "/gone\x1b[2J.tab"));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("gone?[2J.tab"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos);
}

// Runs vormelc on a pseudo-terminal and returns all it wrote there.
std::string run_on_terminal(const std::string& input) {
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        execl(VORMELC_PATH, VORMELC_PATH, input.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string output;
    char buffer[4096];
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 20'000) <= 0) break;
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0) break;  // the child closed the terminal (EIO)
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(master);
    int status = 0;
    waitpid(child, &status, 0);
    return output;
}

TEST(PipesAndSignals, TerminalEchoKeepsTheLinesOfEveryExample) {
    // On a terminal every LF of the input was echoed as '?': each example came out as one line.
    TempDir dir;
    for (const auto& entry : fs::directory_iterator(fs::path(VORMEL_SOURCE_DIR) / "examples")) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        const std::string input = dir.path() + "/" + entry.path().filename().string();
        fs::copy_file(entry.path(), input, fs::copy_options::overwrite_existing);
        const std::string text = read_file(input);
        std::string output = run_on_terminal(input);
        for (auto at = output.find("\r\n"); at != std::string::npos; at = output.find("\r\n", at)) output.replace(at, 2, "\n");
        EXPECT_EQ(output.rfind(text, 0), 0u) << input << "\n" << output.substr(0, text.size() + 40);
        EXPECT_NE(output.find("\x1b[1;38;2;0;0;128m"), std::string::npos) << input;  // colours: it was a terminal
    }
}

}  // namespace
}  // namespace vormel::testing
