#include "input/pla_import.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <vector>

#include "model/problem.h"
#include "model/valid_name.h"

namespace vormel {

namespace {

// What one output character of a cube says, by the file's type.
enum class Part { on, off, dc, none };

struct Cube {
    std::string in;          // "0", "1", "-" per input
    std::vector<Part> out;   // per output
};

struct Source {
    int inputs = -1;
    int outputs = -1;
    std::vector<std::string> input_names;
    std::vector<std::string> output_names;
    std::string type = "fd";
    std::string phase;  // empty when none is given
    std::vector<std::string> titles;
    std::vector<Cube> cubes;
};

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::vector<std::string> words_of(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && blank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !blank(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

int count_of(const std::vector<std::string>& words) {
    int value = -1;
    if (words.size() != 2) return -1;
    const std::string& word = words[1];
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() ? value : -1;
}

char input_value(char c) {
    switch (c) {
        case '0':
        case '3': return '0';
        case '1':
        case '4': return '1';
        case '-':
        case '2': return '-';
        default: return 0;
    }
}

// The type's letters decide which of the three sets a character adds to; the others say nothing.
bool output_part(char c, const std::string& type, Part& part) {
    const bool has_d = type.find('d') != std::string::npos;
    const bool has_r = type.find('r') != std::string::npos;
    switch (c) {
        case '1':
        case '4': part = Part::on; return true;
        case '0':
        case '3': part = has_r ? Part::off : Part::none; return true;
        case '-':
        case '2': part = has_d ? Part::dc : Part::none; return true;
        case '~': part = Part::none; return true;
        default: return false;
    }
}

std::string line_error(std::size_t line, const std::string& text) { return "line " + std::to_string(line) + ": " + text; }

// Fills `source` from the text; returns the reason for a refusal or "".
std::string parse(std::string_view text, Source& source) {
    std::string pending;  // cube characters not yet making a whole cube
    std::size_t pending_line = 0;
    std::size_t line_number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++line_number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        const std::vector<std::string> words = words_of(line);
        if (words.empty()) continue;
        if (words[0][0] == '.') {
            const std::string directive = lower(words[0]);
            if (directive == ".e" || directive == ".end") break;
            if (directive == ".mv") return line_error(line_number, "multiple-valued variables (.mv) cannot be imported: only binary inputs and outputs can");
            if (directive == ".kiss") return line_error(line_number, "state machines (.kiss) cannot be imported: only combinational functions can");
            if (directive == ".i" || directive == ".o") {
                const int count = count_of(words);
                const bool inputs = directive == ".i";
                if (count < 1) return line_error(line_number, directive + " needs one number of at least 1");
                if (!source.cubes.empty() || !pending.empty()) return line_error(line_number, directive + " after the first cube");
                if (count > (inputs ? kMaxCubeInputs : kMaxCubeOutputs)) {
                    return line_error(line_number, std::to_string(count) + (inputs ? " inputs" : " outputs") + ": at most " +
                                                       std::to_string(inputs ? kMaxCubeInputs : kMaxCubeOutputs) + " can be read");
                }
                (inputs ? source.inputs : source.outputs) = count;
            } else if (directive == ".p") {
                // The count of cubes is taken from the cubes themselves.
            } else if (directive == ".ilb" || directive == ".ob") {
                auto& names = directive == ".ilb" ? source.input_names : source.output_names;
                names.insert(names.end(), words.begin() + 1, words.end());
            } else if (directive == ".type") {
                // Cubes read so far took their meaning from the type in force.
                if (!source.cubes.empty() || !pending.empty()) return line_error(line_number, ".type after the first cube");
                const std::string type = words.size() == 2 ? lower(words[1]) : std::string();
                if (type != "f" && type != "fd" && type != "fr" && type != "fdr") {
                    return line_error(line_number, ".type must be f, fd, fr or fdr");
                }
                source.type = type;
            } else if (directive == ".phase") {
                if (words.size() != 2 || words[1].find_first_not_of("01") != std::string::npos) {
                    return line_error(line_number, ".phase needs one string of 0 and 1");
                }
                source.phase = words[1];
            } else {
                return line_error(line_number, "the directive " + words[0] + " cannot be imported");
            }
            continue;
        }
        if (source.inputs < 0 || source.outputs < 0) {
            if (source.inputs < 0 && source.outputs < 0) {
                source.titles.push_back(line.substr(line.find_first_not_of(" \t")));
                continue;
            }
            return line_error(line_number, source.inputs < 0 ? ".i missing before the first cube" : ".o missing before the first cube");
        }
        if (pending.empty()) pending_line = line_number;
        for (const std::string& word : words) {
            for (char c : word) {
                if (c != '|') pending += c;
            }
        }
        const std::size_t width = static_cast<std::size_t>(source.inputs + source.outputs);
        while (pending.size() >= width) {
            Cube cube;
            cube.in.resize(static_cast<std::size_t>(source.inputs));
            for (int i = 0; i < source.inputs; ++i) {
                cube.in[i] = input_value(pending[i]);
                if (cube.in[i] == 0) {
                    return line_error(pending_line, std::string("'") + pending[i] + "' is no input value (0, 1, -, 2, 3, 4)");
                }
            }
            cube.out.resize(static_cast<std::size_t>(source.outputs));
            for (int j = 0; j < source.outputs; ++j) {
                const char c = pending[static_cast<std::size_t>(source.inputs + j)];
                if (!output_part(c, source.type, cube.out[j])) {
                    return line_error(pending_line, std::string("'") + c + "' is no output value (0, 1, -, ~, 2, 3, 4)");
                }
            }
            source.cubes.push_back(std::move(cube));
            pending.erase(0, width);
            pending_line = line_number;
        }
    }
    if (source.inputs < 0) return ".i missing";
    if (source.outputs < 0) return ".o missing";
    if (!pending.empty()) {
        return line_error(pending_line, "a cube ends after " + std::to_string(pending.size()) + " of its " +
                                            std::to_string(source.inputs + source.outputs) + " values");
    }
    if (!source.input_names.empty() && static_cast<int>(source.input_names.size()) != source.inputs) {
        return ".ilb names " + std::to_string(source.input_names.size()) + " inputs, .i declares " + std::to_string(source.inputs);
    }
    if (!source.output_names.empty() && static_cast<int>(source.output_names.size()) != source.outputs) {
        return ".ob names " + std::to_string(source.output_names.size()) + " outputs, .o declares " + std::to_string(source.outputs);
    }
    if (!source.phase.empty() && static_cast<int>(source.phase.size()) != source.outputs) {
        return ".phase has " + std::to_string(source.phase.size()) + " values for " + std::to_string(source.outputs) + " outputs";
    }
    return "";
}

// The points of the input space that no cube of `cover` holds, below the partial point `point`
// (the cover is already cofactored by it): Shannon expansion on the most used input.
void complement_into(const std::vector<std::string>& cover, std::string& point, std::vector<std::string>& out) {
    if (cover.empty()) {
        out.push_back(point);
        return;
    }
    std::vector<int> uses(point.size(), 0);
    for (const std::string& cube : cover) {
        bool universe = true;
        for (std::size_t i = 0; i < cube.size(); ++i) {
            if (cube[i] != '-') {
                ++uses[i];
                universe = false;
            }
        }
        if (universe) return;
    }
    const auto split = static_cast<std::size_t>(std::max_element(uses.begin(), uses.end()) - uses.begin());
    for (char value : {'0', '1'}) {
        std::vector<std::string> half;
        for (const std::string& cube : cover) {
            if (cube[split] != '-' && cube[split] != value) continue;
            half.push_back(cube);
            half.back()[split] = '-';
        }
        point[split] = value;
        complement_into(half, point, out);
    }
    point[split] = '-';
}

// Renames into valid names, unique over inputs and outputs together; notes each real rename.
void rename_all(std::vector<std::string>& names, std::set<std::string>& taken, std::vector<std::string>& notes) {
    for (std::string& name : names) {
        std::string valid = valid_name_of(name);
        const std::string stem = valid;
        for (int k = 2; taken.count(valid) != 0; ++k) valid = stem + "_" + std::to_string(k);
        taken.insert(valid);
        std::string upper = name;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        if (valid != upper) notes.push_back("# renamed " + name + " -> " + valid);
        name = std::move(valid);
    }
}

std::string join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += " " + word;
    return text;
}

}  // namespace

PlaImport import_pla(std::string_view text) {
    Source source;
    PlaImport result;
    result.error = parse(text, source);
    if (!result.error.empty()) return result;

    const int ny = source.outputs;
    const bool explicit_off = source.type.find('r') != std::string::npos;
    const bool complemented = source.phase.find('0') != std::string::npos;
    // Without an OFF set a complemented output needs one: then every output gets its OFF set
    // written out, so that the points no cube names are don't cares as in type fr.
    const bool write_off = !explicit_off && complemented;
    const bool as_fr = explicit_off || write_off;

    // Under fr a "-" adds nothing where a cube says 0 or 1 and uncovered points are don't cares
    // anyway; under fd a 0 adds nothing where a cube says 1.
    const char nothing = as_fr ? '-' : '0';
    std::vector<std::string> rows;
    for (const Cube& cube : source.cubes) {
        std::string outputs(static_cast<std::size_t>(ny), nothing);
        for (int j = 0; j < ny; ++j) {
            switch (cube.out[j]) {
                case Part::on: outputs[j] = '1'; break;
                case Part::off: outputs[j] = '0'; break;
                case Part::dc: outputs[j] = '-'; break;
                case Part::none: break;
            }
        }
        rows.push_back(cube.in + " " + outputs);
    }
    if (write_off) {
        for (int j = 0; j < ny; ++j) {
            std::vector<std::string> cared;
            for (const Cube& cube : source.cubes) {
                if (cube.out[j] == Part::on || cube.out[j] == Part::dc) cared.push_back(cube.in);
            }
            std::vector<std::string> off;
            std::string point(static_cast<std::size_t>(source.inputs), '-');
            complement_into(cared, point, off);
            for (const std::string& in : off) {
                std::string outputs(static_cast<std::size_t>(ny), '-');
                outputs[j] = '0';
                rows.push_back(in + " " + outputs);
            }
        }
    }
    if (complemented) {
        const std::size_t at = static_cast<std::size_t>(source.inputs) + 1;
        for (std::string& row : rows) {
            for (int j = 0; j < ny; ++j) {
                char& c = row[at + j];
                if (source.phase[j] == '0' && c != '-') c = c == '1' ? '0' : '1';
            }
        }
    }

    std::vector<std::string> notes;
    std::set<std::string> taken;
    rename_all(source.input_names, taken, notes);
    rename_all(source.output_names, taken, notes);

    std::string& out = result.text;
    out = "# imported from the common PLA dialect, .type " + source.type + (complemented ? ", .phase " + source.phase : "") + "\n";
    for (const std::string& title : source.titles) out += "# title: " + title + "\n";
    for (const std::string& note : notes) out += note + "\n";
    out += ".i " + std::to_string(source.inputs) + "\n.o " + std::to_string(ny) + "\n";
    if (!source.input_names.empty()) out += ".ilb" + join(source.input_names) + "\n";
    if (!source.output_names.empty()) out += ".ob" + join(source.output_names) + "\n";
    out += as_fr ? ".type fr\n" : ".type fd\n";
    out += ".p " + std::to_string(rows.size()) + "\n";
    for (const std::string& row : rows) out += row + "\n";
    out += ".e\n";
    return result;
}

}  // namespace vormel
