#pragma once
#include <string>
#include <string_view>

#include "report/colour.h"

namespace vormel {

// Report text as the terminal gets it: CR LF, LF and a lone CR as LF, ANSI colour and bold when ansi
// is set, other control characters shown as '?' on a terminal.
std::string terminal_text(std::string_view text, Rgb colour, bool bold, bool ansi);
// Writes report text to stdout as terminal_text gives it; false when stdout no longer takes it (a
// closed pipe, a full disk): the caller stops echoing, the run goes on.
bool echo_to_terminal(std::string_view text, Rgb colour, bool bold, bool ansi);
// Text for a line on stderr (file names, messages): every control character, line ends included,
// shown as '?', so that no name can drive the terminal.
std::string printable(std::string_view text);

}  // namespace vormel
