#pragma once
#include <string_view>

#include "report/colour.h"

namespace vormel {

// Writes report text to stdout: CR LF as LF, ANSI colour and bold when stdout is a terminal.
void echo_to_terminal(std::string_view text, Rgb colour, bool bold, bool ansi);

}  // namespace vormel
