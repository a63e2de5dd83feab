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
}

}  // namespace
}  // namespace vormel
