#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vormel {

// A truth table as the table editor holds it: names, and per row one character per input and per
// output ('0', '1' or '-').
struct EditedTable {
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    std::vector<std::string> x_rows;
    std::vector<std::string> y_rows;

    bool operator==(const EditedTable&) const = default;
};

// What keeps the table from being saved (an empty or digit-first name, a cell that is not 0, 1 or
// -, no input or output); empty when it can be.
std::string table_fault(const EditedTable& table);

// The table as a .tab text ("a, b : f" then "0 1 : 1") or as a .pla text (.i, .o, .ilb, .ob, rows,
// .e), with LF line ends.
std::string table_text(const EditedTable& table, bool pla);

// Reads a .tab text whose first line with ":" is the header and whose other such lines are rows
// (";" comments, blanks and a title before the header allowed; X is a don't care), or a .pla text
// of our reader's plain form. nullopt, with the reason, for anything else (equations, $REST lines,
// other table dialects): the editor shows plain tables only.
std::optional<EditedTable> read_edited_table(std::string_view text, bool pla, std::string& why_not);

}  // namespace vormel
