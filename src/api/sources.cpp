#include <new>

#include "api/source_text.h"
#include "input/input_file.h"
#include "input/input_text.h"
#include "input/pla_import.h"
#include "input/text_decoding.h"
#include "run/input_path.h"

namespace vormel::api {

namespace {

constexpr const char* kFormats[] = {"tab", "tdf", "dcb", "pla", "bol"};

// A format given as "pla" or ".pla" becomes a file name; a name says its format by its extension.
std::string input_name(const std::string& format) {
    std::string name = format.find('.') == std::string::npos ? "input." + format : format;
    if (name.starts_with('.')) name.insert(0, "input");
    for (const char* known : kFormats) {
        if (name.size() > 4 && name[name.size() - 4] == '.' && vormel::extension_of(name) == known) return name;
    }
    throw InputError("'" + format + "' names no input format: .tab, .tdf, .dcb, .pla or .bol");
}

// A table name or value must stay on its line and in its field of the .tab header.
void check_table_text(const std::string& text, const std::string& what, const char* forbidden) {
    if (text.find_first_of(forbidden) == std::string::npos) return;
    throw InputError(what + " '" + text + "' holds one of the characters the table format reserves");
}

std::string table_text(const Source& source) {
    std::string text;
    const auto names = [&](const std::vector<std::string>& list, const char* kind) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            check_table_text(list[k], kind, ",:;\r\n");
            text += (k ? ", " : "") + list[k];
        }
    };
    names(source.input_names, "the input name");
    text += " : ";
    names(source.output_names, "the output name");
    text += '\n';
    const std::size_t inputs = source.input_names.size();
    for (const std::string& row : source.lines) {
        std::string values = vormel::remove_blanks(row);
        if (values.find_first_not_of("01-:") != std::string::npos || values.find(':') != values.rfind(':')) {
            throw InputError("the table row '" + row + "' holds other than 0, 1, - and one ':'");
        }
        if (values.find(':') == std::string::npos && values.size() > inputs) values.insert(inputs, ":");
        for (char value : values) {
            text += value;
            text += ' ';
        }
        text += '\n';
    }
    return text;
}

std::string joined_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text + "END\n";
}

}  // namespace

Source from_file(std::string path, bool import_pla) {
    Source source;
    source.kind = Source::Kind::file;
    source.name = std::move(path);
    source.import_pla = import_pla;
    return source;
}

Source from_text(std::string text, std::string format, bool import_pla) {
    Source source;
    source.kind = Source::Kind::text;
    source.name = std::move(format);
    source.text = std::move(text);
    source.import_pla = import_pla;
    return source;
}

Source from_equations(std::vector<std::string> equations, std::string name) {
    Source source;
    source.kind = Source::Kind::equations;
    source.name = std::move(name);
    source.lines = std::move(equations);
    return source;
}

Source from_table(std::vector<std::string> input_names, std::vector<std::string> output_names,
                  std::vector<std::string> rows, std::string name) {
    Source source;
    source.kind = Source::Kind::table;
    source.name = std::move(name);
    source.input_names = std::move(input_names);
    source.output_names = std::move(output_names);
    source.lines = std::move(rows);
    return source;
}

SourceText source_text(const Source& source) {
    SourceText input;
    switch (source.kind) {
        case Source::Kind::file:
            switch (vormel::load_input_file(source.name, input.text)) {
                case vormel::InputLoad::loaded: break;
                case vormel::InputLoad::not_accessible:
                    throw InputError("Open Error: Requested File is not accessible: " + source.name);
                case vormel::InputLoad::out_of_memory: throw std::bad_alloc();
            }
            input.name = vormel::resolve_input_path(source.name);
            break;
        case Source::Kind::text:
            input.name = input_name(source.name);
            input.text = vormel::decode_input_text(source.text);
            break;
        case Source::Kind::equations:
            input.name = input_name(source.name);
            input.text = joined_lines(source.lines);
            break;
        case Source::Kind::table:
            input.name = input_name(source.name);
            input.text = table_text(source);
            break;
    }
    if (source.import_pla) {
        vormel::PlaImport imported = vormel::import_pla(input.text);
        if (imported.out_of_memory) throw std::bad_alloc();
        if (!imported.error.empty()) throw InputError("cannot be imported: " + imported.error);
        input.text = std::move(imported.text);
        input.written = {std::move(imported.input_names), std::move(imported.output_names)};
    }
    return input;
}

}  // namespace vormel::api
