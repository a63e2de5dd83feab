#include "input/pla_import.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <new>
#include <set>
#include <unordered_map>
#include <vector>

#include "input/input_text.h"
#include "input/text_cubes.h"
#include "model/problem.h"
#include "model/valid_name.h"
#include "report/diagnostics.h"
#include "report/text_width.h"

namespace vormel {

namespace {

// What one output character of a cube says, by the file's type.
enum class Part : std::uint8_t { on, off, dc, none };

struct ImportCube {
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
    std::vector<ImportCube> cubes;
};

bool blank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

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

std::string line_error(std::size_t line, const std::string& text) {
    return "line " + std::to_string(line) + ": " + Diagnostics::quoted(text);
}

// Fills `source` from the text; returns the reason for a refusal or "".
std::string parse(std::string_view text, Source& source) {
    std::string pending;  // cube characters not yet making a whole cube
    std::size_t pending_line = 0;
    std::size_t line_number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        // Line ends as our reader takes them: LF, CR LF or a CR alone.
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
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
                std::string title = line.substr(line.find_first_not_of(" \t"));
                for (char& c : title) {
                    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
                }
                source.titles.push_back(std::move(title));
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
        // Cubes are taken from the front by an offset: one line may hold millions of them.
        std::size_t used = 0;
        for (; pending.size() - used >= width; used += width) {
            const char* values = pending.data() + used;
            ImportCube cube;
            cube.in.resize(static_cast<std::size_t>(source.inputs));
            for (int i = 0; i < source.inputs; ++i) {
                cube.in[i] = input_value(values[i]);
                if (cube.in[i] == 0) {
                    return line_error(pending_line, std::string("'") + values[i] + "' is no input value (0, 1, -, 2, 3, 4)");
                }
            }
            cube.out.resize(static_cast<std::size_t>(source.outputs));
            for (int j = 0; j < source.outputs; ++j) {
                const char c = values[source.inputs + j];
                if (!output_part(c, source.type, cube.out[j])) {
                    return line_error(pending_line, std::string("'") + c + "' is no output value (0, 1, -, ~, 2, 3, 4)");
                }
            }
            source.cubes.push_back(std::move(cube));
            pending_line = line_number;
        }
        pending.erase(0, used);
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

// One row of the converted text: an input cube and one character per output.
struct Row {
    TextCube in;
    std::string out;
};

// The rows of our text, with the extra rows of split cubes merged by their input cube.
class Rows {
public:
    explicit Rows(std::size_t outputs) : outputs_(outputs) {}

    void add(TextCube in, std::string out) { rows_.push_back({std::move(in), std::move(out)}); }

    // An extra row that speaks for output `j` only; a 1 wins over a 0 for the same cube, as it
    // does in our reader's type fd.
    void add_for(const TextCube& in, std::size_t j, char value) {
        auto [at, fresh] = extra_.emplace(in, rows_.size());
        if (fresh) rows_.push_back({in, std::string(outputs_, '-')});
        char& entry = rows_[at->second].out[j];
        if (entry != '1') entry = value;
    }

    std::vector<Row>& all() { return rows_; }

private:
    std::size_t outputs_;
    std::vector<Row> rows_;
    std::unordered_map<TextCube, std::size_t> extra_;
};

// Per output, the input cubes of the cubes that give it one of the parts: one pass over the cubes.
std::vector<TextCover> covers_of(const std::vector<ImportCube>& cubes, std::size_t outputs, Part part, Part other) {
    std::vector<TextCover> covers(outputs);
    for (const ImportCube& cube : cubes) {
        for (std::size_t j = 0; j < outputs; ++j) {
            if (cube.out[j] == part || cube.out[j] == other) covers[j].push_back(cube.in);
        }
    }
    return covers;
}

bool meets_any(const TextCube& cube, const TextCover& cover) {
    for (const TextCube& other : cover) {
        if (meet(cube, other)) return true;
    }
    return false;
}

// Without an OFF set a .phase 0 output is 1 where it named neither ON nor don't care: that
// complement becomes its ON set, its own 1 entries say nothing any more.
void complement_phases(Source& source) {
    const std::size_t ny = static_cast<std::size_t>(source.outputs);
    std::vector<TextCover> cared = covers_of(source.cubes, ny, Part::on, Part::dc);
    for (ImportCube& cube : source.cubes) {
        for (std::size_t j = 0; j < ny; ++j) {
            if (source.phase[j] == '0' && cube.out[j] == Part::on) cube.out[j] = Part::none;
        }
    }
    // A cube in the complements of several outputs is one cube.
    std::unordered_map<TextCube, std::size_t> added;
    for (std::size_t j = 0; j < ny; ++j) {
        if (source.phase[j] != '0') continue;
        for (TextCube& in : complement(cared[j], static_cast<std::size_t>(source.inputs))) {
            const auto [at, fresh] = added.emplace(in, source.cubes.size());
            if (fresh) source.cubes.push_back({std::move(in), std::vector<Part>(ny, Part::none)});
            source.cubes[at->second].out[j] = Part::on;
        }
        cared[j] = TextCover();
    }
}

// Our reader lets a specified value win over a "-" of another row; the dialect lets a don't care
// win over a 1 (and, in type fd, a 0 says nothing at all). So an entry whose cube meets a
// don't-care cube of its output says "-" and its value moves to extra rows on the rest of the cube.
// Where the type has no OFF set the rows are ours of type fd (0 where a cube says nothing, points
// no row names 0), else of type fr ("-" where a cube says nothing, points no row names free).
std::vector<Row> converted_rows(const Source& source, bool explicit_off) {
    const std::size_t ny = static_cast<std::size_t>(source.outputs);
    const std::vector<TextCover> dc = covers_of(source.cubes, ny, Part::dc, Part::dc);
    Rows rows(ny);
    for (const ImportCube& cube : source.cubes) {
        std::string out(ny, '-');
        std::vector<std::pair<std::size_t, char>> moved;
        for (std::size_t j = 0; j < ny; ++j) {
            const Part part = cube.out[j];
            if (part == Part::dc) continue;
            char value = part == Part::on ? '1' : part == Part::off ? '0' : explicit_off ? '-' : '0';
            if (value == '-') continue;
            if (part != Part::off && meets_any(cube.in, dc[j])) {
                moved.emplace_back(j, value);
            } else {
                out[j] = value;
            }
        }
        rows.add(cube.in, std::move(out));
        for (const auto& [j, value] : moved) {
            for (const TextCube& piece : sharp(cube.in, dc[j])) rows.add_for(piece, j, value);
        }
    }
    return std::move(rows.all());
}

// What the dialect's characters mean under the type, for the header of the converted text.
std::string meaning_of(const std::string& type) {
    if (type == "f") return "1 = ON; every other point is 0";
    if (type == "fd") return "1 = ON, - = don't care (also over a 1 of another cube), 0 = no entry; other points are 0";
    if (type == "fr") return "1 = ON, 0 = OFF, - = no entry; other points are don't cares";
    return "1 = ON, 0 = OFF, - = don't care (also over a 1 of another cube, never over a 0); other points are don't cares";
}

// Characters our reader takes in a name as they stand: it splits the name lists at "," and ":",
// cuts "#" comments and lines at control characters.
bool readable_name(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name) {
        if (c == ',' || c == ':' || c == '#' || static_cast<unsigned char>(c) < 0x21 || c == 0x7f) return false;
    }
    return true;
}

// The name cut to at most `width` characters (never inside a UTF-8 character).
std::string shortened(std::string name, std::size_t width) {
    while (text_width(name) > width) {
        name.pop_back();
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) name.pop_back();
        if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0) name.pop_back();
    }
    return name;
}

// Keeps every name our reader reads as it stands (it reads them in upper case, so names that
// differ in case only are one name to it); any other name becomes valid, at most kMaxNameLength
// characters and unique over inputs and outputs together, and each change is noted. A name the file
// itself gives twice stays as written (one converted name for one source name), so that our reader
// refuses it rather than the import inventing a second name for it.
void rename_all(std::vector<std::string>& names, std::set<std::string>& taken, std::map<std::string, std::string>& converted,
                std::vector<std::string>& notes) {
    const std::size_t limit = static_cast<std::size_t>(kMaxNameLength);
    for (std::string& name : names) {
        if (const auto seen = converted.find(name); seen != converted.end()) {
            name = seen->second;
            continue;
        }
        const std::string stem = shortened(readable_name(name) ? name : valid_name_of(name), limit);
        std::string valid = stem;
        for (int k = 2; taken.count(upper_case(valid)) != 0; ++k) {
            const std::string suffix = "_" + std::to_string(k);
            valid = shortened(stem, limit - suffix.size()) + suffix;
        }
        taken.insert(upper_case(valid));
        if (valid != name) notes.push_back("# renamed " + name + " -> " + valid);
        converted.emplace(name, valid);
        name = std::move(valid);
    }
}

std::string join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += " " + word;
    return text;
}

PlaImport convert(Source& source) {
    PlaImport result;
    const bool explicit_off = source.type.find('r') != std::string::npos;
    const bool complemented = source.phase.find('0') != std::string::npos;
    if (complemented && !explicit_off) complement_phases(source);
    std::vector<Row> rows = converted_rows(source, explicit_off);
    source.cubes = std::vector<ImportCube>();  // a complement may have made them many
    if (complemented && explicit_off) {
        // With an OFF set, a .phase 0 only swaps what the output's 1 and 0 entries mean.
        for (Row& row : rows) {
            for (std::size_t j = 0; j < row.out.size(); ++j) {
                char& c = row.out[j];
                if (source.phase[j] == '0' && c != '-') c = c == '1' ? '0' : '1';
            }
        }
    }

    std::vector<std::string> notes;
    std::set<std::string> taken;
    std::map<std::string, std::string> converted;
    rename_all(source.input_names, taken, converted, notes);
    rename_all(source.output_names, taken, converted, notes);
    result.input_names = source.input_names;
    result.output_names = source.output_names;

    std::string& out = result.text;
    out = "# imported from the common PLA dialect, .type " + source.type + ": " + meaning_of(source.type) + "\n";
    if (complemented) out += "# .phase " + source.phase + ": a 0 swaps that output's ON and OFF sets\n";
    for (const std::string& title : source.titles) out += "# title: " + title + "\n";
    for (const std::string& note : notes) out += note + "\n";
    out += ".i " + std::to_string(source.inputs) + "\n.o " + std::to_string(source.outputs) + "\n";
    if (!source.input_names.empty()) out += ".ilb" + join(source.input_names) + "\n";
    if (!source.output_names.empty()) out += ".ob" + join(source.output_names) + "\n";
    out += explicit_off ? ".type fr\n" : ".type fd\n";
    out += ".p " + std::to_string(rows.size()) + "\n";
    out.reserve(out.size() + rows.size() * static_cast<std::size_t>(source.inputs + source.outputs + 2) + 3);
    for (const Row& row : rows) out += row.in + " " + row.out + "\n";
    out += ".e\n";
    return result;
}

}  // namespace

PlaImport import_pla(std::string_view text) {
    try {
        Source source;
        PlaImport result;
        result.error = parse(text, source);
        if (!result.error.empty()) return result;
        return convert(source);
    } catch (const std::bad_alloc&) {
        PlaImport refused;
        refused.out_of_memory = true;
        refused.error = "out of memory";  // short enough to need no allocation
        return refused;
    }
}

}  // namespace vormel
