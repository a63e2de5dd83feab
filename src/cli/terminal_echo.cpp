#include "cli/terminal_echo.h"

#include <cstdio>
#include <string>

#include <fmt/format.h>

namespace vormel {

std::string terminal_text(std::string_view text, Rgb colour, bool bold, bool ansi) {
    std::string out;
    out.reserve(text.size() + 32);
    const bool styled = ansi && (bold || !(colour == colours::black));
    if (styled) {
        // Black stays the terminal's own foreground so that it reads on dark backgrounds too.
        out += bold ? "\x1b[1" : "\x1b[0";
        if (!(colour == colours::black)) out += fmt::format(";38;2;{};{};{}", colour.r, colour.g, colour.b);
        out += 'm';
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else if (ansi && ((static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\t') || text[i] == 0x7f)) {
            // Control characters from an input file must not drive the terminal.
            out += '?';
        } else {
            out += text[i];
        }
    }
    if (styled) out += "\x1b[0m";
    return out;
}

void echo_to_terminal(std::string_view text, Rgb colour, bool bold, bool ansi) {
    const std::string out = terminal_text(text, colour, bold, ansi);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace vormel
