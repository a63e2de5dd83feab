#include "cli/terminal_echo.h"

#include <cstdio>
#include <string>

#include <fmt/format.h>

namespace vormel {

namespace {

// Length of the control character at text[i] (C0, DEL, or a C1 control as UTF-8), 0 when there is none.
std::size_t control_length(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7f) return 1;
    if (c == 0xc2 && i + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (next >= 0x80 && next <= 0x9f) return 2;
    }
    return 0;
}

void append_terminal_text(std::string& out, std::string_view text, Rgb colour, bool bold, bool ansi) {
    const bool styled = ansi && (bold || !(colour == colours::black));
    if (styled) {
        // Black stays the terminal's own foreground so that it reads on dark backgrounds too.
        out += bold ? "\x1b[1" : "\x1b[0";
        if (!(colour == colours::black)) out += fmt::format(";38;2;{};{};{}", colour.r, colour.g, colour.b);
        out += 'm';
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Most of a report is plain characters: copy a run of them at once.
        std::size_t plain = i;
        while (plain < text.size() && static_cast<unsigned char>(text[plain]) >= 0x20 &&
               static_cast<unsigned char>(text[plain]) < 0x7f)
            ++plain;
        if (plain > i) {
            out.append(text.data() + i, plain - i);
            i = plain;
            if (i == text.size()) break;
        }
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else if (text[i] == '\n' || text[i] == '\t') {
            out += text[i];
        } else if (const std::size_t length = ansi ? control_length(text, i) : 0; length > 0) {
            // Control characters from an input file must not drive the terminal.
            out += '?';
            i += length - 1;
        } else {
            out += text[i];
        }
    }
    if (styled) out += "\x1b[0m";
}

}  // namespace

std::string terminal_text(std::string_view text, Rgb colour, bool bold, bool ansi) {
    std::string out;
    out.reserve(text.size() + 32);
    append_terminal_text(out, text, colour, bold, ansi);
    return out;
}

bool echo_to_terminal(std::string_view text, Rgb colour, bool bold, bool ansi) {
    // One buffer for all calls (the echo runs on the run's thread); the error flag is read without
    // taking the stream's lock again.
    static std::string out;
    out.clear();
    append_terminal_text(out, text, colour, bold, ansi);
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && ferror_unlocked(stdout) == 0;
}

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t length = control_length(text, i); length > 0) {
            out += '?';
            i += length - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace vormel
