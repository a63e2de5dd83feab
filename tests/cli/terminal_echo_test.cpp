#include <gtest/gtest.h>

#include "cli/terminal_echo.h"

namespace vormel {
namespace {

TEST(TerminalEcho, PipedTextIsPlainWithUnixLineEnds) {
    EXPECT_EQ(terminal_text(" *** Error \r\nnext\r\n", colours::red, true, false), " *** Error \nnext\n");
}

TEST(TerminalEcho, TerminalGetsColourBoldAndNoControlCharacters) {
    EXPECT_EQ(terminal_text("ok", colours::blue, true, true), "\x1b[1;38;2;0;0;192mok\x1b[0m");
    EXPECT_EQ(terminal_text("bold", colours::black, true, true), "\x1b[1mbold\x1b[0m");
    EXPECT_EQ(terminal_text(std::string("a\x1b[2Jb\0c", 8), colours::black, false, true), "a?[2Jb?c");
    // C1 controls (U+0080..U+009F, from Windows-1252 input) drive some terminals as well.
    EXPECT_EQ(terminal_text("a\xC2\x9B" "31mb\xC2\xA0", colours::black, false, true), "a?31mb\xC2\xA0");
}

TEST(TextDecoding, TerminalKeepsTheLineEndsOfTheInput) {
    // Every LF of an input file was echoed as '?': the whole input on one line.
    EXPECT_EQ(terminal_text("a,b:f\n01:1\r\n10:1\r11:0\n", colours::black, false, true), "a,b:f\n01:1\n10:1\n11:0\n");
    EXPECT_EQ(terminal_text("a\tb\x0c", colours::black, false, true), "a\tb?");
}

TEST(TextDecoding, StderrLinesShowNoControlCharacters) {
    // File names reached the terminal through "report saved to ..." and the Open Error line.
    EXPECT_EQ(printable("/tmp/a\x1b]0;owned\x07.tab\r\n"), "/tmp/a?]0;owned?.tab??");
    EXPECT_EQ(printable("\xC3\x84rger.tab"), "\xC3\x84rger.tab");
}

}  // namespace
}  // namespace vormel
