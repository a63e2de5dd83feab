#pragma once
#include <string>
#include <string_view>

#include "report/colour.h"

namespace vormel {

// Report text as the terminal gets it: CR LF as LF, ANSI colour and bold when ansi is set, control
// characters shown as '?' on a terminal.
std::string terminal_text(std::string_view text, Rgb colour, bool bold, bool ansi);
// Writes report text to stdout: CR LF as LF, ANSI colour and bold when stdout is a terminal.
void echo_to_terminal(std::string_view text, Rgb colour, bool bold, bool ansi);

}  // namespace vormel
