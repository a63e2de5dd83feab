#include "input/file_probe.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace vormel {

namespace {

// Rows looked at for the dialect; a file written in it shows that in its first rows.
constexpr int kRowsLooked = 200;

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.remove_suffix(1);
    return line;
}

// Calls each(line) for every line (LF, CR LF or CR) until it returns false.
template <typename Each>
void for_each_line(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!each(line) || end == std::string_view::npos) return;
        text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    }
}

int number_after(std::string_view line) {
    line = trimmed(line.substr(2));
    int value = 0;
    std::from_chars(line.data(), line.data() + line.size(), value);
    return std::max(value, 0);
}

// The pieces between commas of one side of a header, blanks removed.
int name_count(std::string_view side) {
    if (trimmed(side).empty()) return 0;
    return static_cast<int>(std::count(side.begin(), side.end(), ',')) + 1;
}

bool only_of(std::string_view entry, std::string_view allowed) {
    return entry.find_first_not_of(allowed) == std::string_view::npos;
}

FileProbe probe_pla(std::string_view text) {
    FileProbe probe;
    int rows = 0;
    for_each_line(text, [&](std::string_view line) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty() || line.front() == ';') return true;
        if (line.front() == '.') {
            std::string directive(line.substr(0, 3));
            for (char& c : directive) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (directive == ".i ") probe.inputs = number_after(line);
            if (directive == ".o ") probe.outputs = number_after(line);
            if (directive.starts_with(".e")) return false;
            return true;
        }
        // Our reader takes a row as the input part, a blank, the output part, on one line; a title
        // before .i, a cube split over lines or the synonyms 2, 3 and 4 belong to the dialect.
        std::string row(line);
        std::replace(row.begin(), row.end(), '|', ' ');
        const std::size_t blank = row.find(' ');
        const std::string_view x = std::string_view(row).substr(0, blank);
        const std::string_view y = blank == std::string::npos ? std::string_view() : trimmed(std::string_view(row).substr(blank));
        if (probe.inputs == 0 || probe.outputs == 0 || static_cast<int>(x.size()) != probe.inputs ||
            static_cast<int>(y.size()) != probe.outputs || !only_of(x, "01-") || !only_of(y, "01-~")) {
            probe.common_dialect = true;
            return false;
        }
        return ++rows < kRowsLooked;
    });
    return probe;
}

FileProbe probe_table(std::string_view text) {
    FileProbe probe;
    for_each_line(text, [&](std::string_view line) {
        std::string header(trimmed(line.substr(0, line.find(';'))));
        if (const std::size_t arrow = header.find("=>"); arrow != std::string::npos) header.replace(arrow, 2, ":");
        const std::size_t colon = header.find(':');
        if (colon == std::string::npos) return header.find('=') == std::string::npos;  // equations: not known
        std::string_view names(header);
        if (header.starts_with("$HEADER") || header.starts_with("$header")) {
            // $HEADER:X[a,b]:Y[f]
            names.remove_prefix(colon + 1);
            const std::size_t second = names.find(':');
            if (second == std::string_view::npos) return false;
            probe.inputs = name_count(names.substr(0, second));
            probe.outputs = name_count(names.substr(second + 1));
            return false;
        }
        probe.inputs = name_count(names.substr(0, colon));
        probe.outputs = name_count(names.substr(colon + 1));
        return false;
    });
    return probe;
}

}  // namespace

FileProbe probe_input_text(std::string_view text, bool pla) { return pla ? probe_pla(text) : probe_table(text); }

}  // namespace vormel
