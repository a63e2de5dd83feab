#include "ui/edited_table.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace vormel {

namespace {

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> split_names(std::string_view side) {
    std::vector<std::string> names;
    std::string name;
    std::istringstream pieces{std::string(side)};
    while (std::getline(pieces, name, ',')) names.push_back(trimmed(name));
    return names;
}

// A row's entry without blanks, X as a don't care.
std::string entry_of(std::string_view text) {
    std::string entry;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        entry += (c == 'x' || c == 'X') ? '-' : c;
    }
    return entry;
}

std::string joined(const std::vector<std::string>& names, const char* separator) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) text += (i ? separator : "") + names[i];
    return text;
}

std::string spaced(const std::string& entry) {
    std::string text;
    for (std::size_t i = 0; i < entry.size(); ++i) text += (i ? " " : "") + std::string(1, entry[i]);
    return text;
}

std::optional<EditedTable> read_tab(std::string_view text, std::string& why_not) {
    EditedTable table;
    bool header = false;
    for (const std::string& raw : lines_of(text)) {
        std::string line = trimmed(std::string_view(raw).substr(0, raw.find(';')));
        if (line.empty()) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            if (line.find('=') != std::string::npos) {
                why_not = "equations are edited as text";
                return std::nullopt;
            }
            if (header) {
                why_not = "a line that is no row: " + line;
                return std::nullopt;
            }
            continue;  // a title
        }
        if (!header) {
            header = true;
            table.inputs = split_names(line.substr(0, colon));
            table.outputs = split_names(line.substr(colon + 1));
            continue;
        }
        if (line.starts_with('$')) {
            why_not = "a $REST line is edited as text";
            return std::nullopt;
        }
        table.x_rows.push_back(entry_of(line.substr(0, colon)));
        table.y_rows.push_back(entry_of(line.substr(colon + 1)));
    }
    if (!header) {
        why_not = "no header line (names, \":\", names)";
        return std::nullopt;
    }
    return table;
}

std::optional<EditedTable> read_pla(std::string_view text, std::string& why_not) {
    EditedTable table;
    int inputs = -1, outputs = -1;
    for (const std::string& raw : lines_of(text)) {
        const std::string line = trimmed(std::string_view(raw).substr(0, raw.find('#')));
        if (line.empty()) continue;
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        std::istringstream words(line);
        std::string directive;
        words >> directive;
        if (lower.starts_with(".i ")) {
            words >> inputs;
        } else if (lower.starts_with(".o ")) {
            words >> outputs;
        } else if (lower.starts_with(".ilb") || lower.starts_with(".ob")) {
            std::vector<std::string>& names = lower.starts_with(".ilb") ? table.inputs : table.outputs;
            for (std::string name; words >> name;) names.push_back(name);
        } else if (lower.starts_with(".e")) {
            break;
        } else if (lower.starts_with(".p ")) {
            continue;
        } else if (line.front() == '.') {
            why_not = "the directive " + directive + " is edited as text";
            return std::nullopt;
        } else {
            std::string y;
            std::getline(words, y);
            table.x_rows.push_back(directive);
            table.y_rows.push_back(entry_of(y));
        }
    }
    if (inputs <= 0 || outputs <= 0) {
        why_not = ".i or .o missing";
        return std::nullopt;
    }
    for (int i = static_cast<int>(table.inputs.size()); i < inputs; ++i) table.inputs.push_back("x" + std::to_string(i));
    for (int i = static_cast<int>(table.outputs.size()); i < outputs; ++i) table.outputs.push_back("y" + std::to_string(i));
    if (static_cast<int>(table.inputs.size()) != inputs || static_cast<int>(table.outputs.size()) != outputs) {
        why_not = "more names than .i or .o give";
        return std::nullopt;
    }
    return table;
}

}  // namespace

std::string table_fault(const EditedTable& table) {
    if (table.inputs.empty() || table.outputs.empty()) return "The table needs at least one input and one output.";
    for (const auto* names : {&table.inputs, &table.outputs}) {
        for (const std::string& name : *names) {
            if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())) ||
                name.find_first_of(" ,:;=") != std::string::npos) {
                return "Name \"" + name + "\": a name is not empty, does not begin with a digit and has no blank, \",\", \":\", \";\" or \"=\".";
            }
        }
    }
    for (std::size_t row = 0; row < table.x_rows.size(); ++row) {
        const bool complete = table.x_rows[row].size() == table.inputs.size() && table.y_rows[row].size() == table.outputs.size();
        if (!complete || table.x_rows[row].find_first_not_of("01-") != std::string::npos ||
            table.y_rows[row].find_first_not_of("01-") != std::string::npos) {
            return "Row " + std::to_string(row + 1) + ": every cell holds 0, 1 or -.";
        }
    }
    return {};
}

std::string table_text(const EditedTable& table, bool pla) {
    std::string text;
    if (pla) {
        text = ".i " + std::to_string(table.inputs.size()) + "\n.o " + std::to_string(table.outputs.size()) + "\n";
        text += ".ilb " + joined(table.inputs, " ") + "\n.ob " + joined(table.outputs, " ") + "\n";
        for (std::size_t row = 0; row < table.x_rows.size(); ++row) text += table.x_rows[row] + " " + table.y_rows[row] + "\n";
        return text + ".e\n";
    }
    text = joined(table.inputs, ", ") + " : " + joined(table.outputs, ", ") + "\n";
    for (std::size_t row = 0; row < table.x_rows.size(); ++row) {
        text += spaced(table.x_rows[row]) + " : " + spaced(table.y_rows[row]) + "\n";
    }
    return text;
}

std::optional<EditedTable> read_edited_table(std::string_view text, bool pla, std::string& why_not) {
    return pla ? read_pla(text, why_not) : read_tab(text, why_not);
}

}  // namespace vormel
