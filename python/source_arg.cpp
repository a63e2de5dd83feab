#include "source_arg.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include <pybind11/stl.h>

namespace py = pybind11;
namespace api = vormel::api;

namespace vormel_python {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// "0", "1", "-" or 0, 1 of one side of a table row.
std::string row_side(const py::handle& side) {
    if (py::isinstance<py::str>(side)) return side.cast<std::string>();
    std::string values;
    for (const py::handle& value : side) {
        if (py::isinstance<py::str>(value)) values += value.cast<std::string>();
        else if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)) {
            const long long number = value.cast<long long>();
            if (number != 0 && number != 1) throw py::value_error("a table value is 0, 1 or '-'");
            values += static_cast<char>('0' + number);
        } else if (py::isinstance<py::bool_>(value)) {
            values += value.cast<bool>() ? '1' : '0';
        } else {
            throw py::type_error("a table value is 0, 1 or '-'");
        }
    }
    return values;
}

api::Source table_of(const py::dict& table) {
    for (const char* key : {"inputs", "outputs", "rows"}) {
        if (!table.contains(key)) throw py::value_error(std::string("a truth table is a dict with 'inputs', 'outputs' and 'rows'; '") + key + "' is missing");
    }
    std::vector<std::string> rows;
    for (const py::handle& row : table["rows"]) {
        if (py::isinstance<py::str>(row)) {
            rows.push_back(row.cast<std::string>());
            continue;
        }
        if (!py::isinstance<py::sequence>(row) || py::len(row) != 2) {
            throw py::type_error("a table row is a str ('01:1-') or a pair (inputs, outputs)");
        }
        const py::sequence pair = py::reinterpret_borrow<py::sequence>(row);
        rows.push_back(row_side(pair[0]) + ":" + row_side(pair[1]));
    }
    const std::string name = table.contains("name") ? table["name"].cast<std::string>() : "table.tab";
    return api::from_table(table["inputs"].cast<std::vector<std::string>>(), table["outputs"].cast<std::vector<std::string>>(),
                           std::move(rows), name);
}

bool names_file(const std::string& text) {
    std::error_code error;
    return !text.empty() && text.find('\0') == std::string::npos && std::filesystem::is_regular_file(text, error);
}

}  // namespace

std::string format_of_text(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool equation = false;
    const std::string all = upper(text);
    if (all.find("SUBDESIGN") != std::string::npos) return "tdf";
    if (all.find("$HEADER") != std::string::npos) return "dcb";
    while (std::getline(lines, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        line = line.substr(start);
        if (line.starts_with(".i ") || line.starts_with(".o ") || line.starts_with(".i\t") || line.starts_with(".o\t")) return "pla";
        if (line[0] == ';' || line[0] == '#' || line.starts_with("--")) continue;
        const auto colon = line.find(':'), equals = line.find('=');
        if (colon != std::string::npos && (equals == std::string::npos || colon < equals) && !equation) return "tab";
        equation = equation || equals != std::string::npos;
    }
    return equation ? "bol" : "";
}

api::Source source_of(const py::handle& source, const std::optional<std::string>& format, bool import_pla) {
    const py::module_ os = py::module_::import("os");
    if (py::isinstance<py::str>(source)) {
        const std::string text = source.cast<std::string>();
        const bool lines = text.find_first_of("\r\n") != std::string::npos;
        if (!lines && !format && names_file(text)) return api::from_file(text, import_pla);
        if (lines || format) {
            const std::string name = format ? *format : format_of_text(text);
            if (name.empty()) {
                throw py::value_error("the text shows no format (.tab, .tdf, .dcb, .pla, .bol): pass format='pla' or the like");
            }
            return api::from_text(text, name, import_pla);
        }
        if (text.find('=') != std::string::npos) return api::from_equations({text});
        throw api::InputError("Open Error: Requested File is not accessible: " + text);
    }
    if (py::isinstance(source, os.attr("PathLike"))) {
        return api::from_file(os.attr("fspath")(source).cast<std::string>(), import_pla);
    }
    if (py::isinstance<py::list>(source) || py::isinstance<py::tuple>(source)) {
        std::vector<std::string> equations;
        for (const py::handle& item : source) {
            if (!py::isinstance<py::str>(item)) throw py::type_error("equations are a list of str, as 'Y = A * /B'");
            equations.push_back(item.cast<std::string>());
        }
        return api::from_equations(std::move(equations));
    }
    if (py::isinstance<py::dict>(source)) return table_of(source.cast<py::dict>());
    throw py::type_error("source is a path, the text of a file, a list of equations or a dict truth table");
}

}  // namespace vormel_python
