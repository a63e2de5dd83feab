#include "export/pla_writer.h"

#include <map>
#include <unordered_map>
#include <vector>

#include "export/result_view.h"
#include "input/text_cubes.h"
#include "model/problem.h"

namespace vormel {

namespace {

char pla_char(std::uint8_t v) { return v == kZero ? '0' : v == kOne ? '1' : '-'; }

std::string names_line(const char* directive, const std::vector<std::string>& names) {
    std::string line = directive;
    for (const std::string& name : names) line += " " + name;
    return line + "\n";
}

}  // namespace

std::string write_pla(const ResultView& view, PlaPhase phase) {
    // The report's table as it stands, so that the file's terms are the ones the report counts.
    const TermTable& table = view.table;
    const int nx = table.nx;
    const int ny = static_cast<int>(view.outputs.size());
    const bool complement_back = phase == PlaPhase::complemented_back;
    std::vector<std::string> rows;
    for (int r = 0; r <= table.last; ++r) {
        std::string row;
        for (int i = 0; i < nx; ++i) row += pla_char(table.x(r)[i]);
        row += ' ';
        bool feeds = false;
        for (int j = 0; j < ny; ++j) {
            const bool written = table.y(r)[j] != kDash && !(complement_back && view.table_inverted[j]);
            row += written ? '1' : '0';
            feeds = feeds || written;
        }
        if (feeds) rows.push_back(std::move(row));
    }

    std::string inverted_names;
    for (int j = 0; j < ny; ++j) {
        if (view.table_inverted[j]) inverted_names += " " + view.outputs[j];
    }
    if (complement_back && !inverted_names.empty()) {
        // One complement per set of terms; a cube in several complements is one row.
        std::map<std::vector<int>, TextCover> complements;
        std::unordered_map<TextCube, std::size_t> row_of;
        for (int j = 0; j < ny; ++j) {
            if (!view.table_inverted[j]) continue;
            std::vector<int> own;
            for (int r = 0; r <= table.last; ++r) {
                if (table.y(r)[j] != kDash) own.push_back(r);
            }
            auto found = complements.find(own);
            if (found == complements.end()) {
                TextCover on;
                for (int r : own) {
                    on.emplace_back();
                    for (int i = 0; i < nx; ++i) on.back() += pla_char(table.x(r)[i]);
                }
                found = complements.emplace(own, complement(on, static_cast<std::size_t>(nx))).first;
            }
            for (const TextCube& cube : found->second) {
                const auto [at, fresh] = row_of.emplace(cube, rows.size());
                if (fresh) rows.push_back(cube + " " + std::string(static_cast<std::size_t>(ny), '0'));
                rows[at->second][static_cast<std::size_t>(nx + 1 + j)] = '1';
            }
        }
    }

    std::string text = "# product terms of the minimized result: " + std::to_string(count_literals(table).product_terms) +
                       " as the report counts them\n";
    if (!inverted_names.empty()) {
        text += complement_back ? "# given by the complement of their terms:" + inverted_names + "\n"
                                : "# realised inverted (.phase 0):" + inverted_names + "\n";
    }
    for (const std::string& rename : view.renamed) text += "# renamed " + rename + "\n";
    text += ".i " + std::to_string(nx) + "\n.o " + std::to_string(ny) + "\n";
    text += names_line(".ilb", view.inputs);
    text += names_line(".ob", view.outputs);
    text += ".type fd\n";
    if (!complement_back && !inverted_names.empty()) {
        text += ".phase ";
        for (int j = 0; j < ny; ++j) text += view.table_inverted[j] ? '0' : '1';
        text += "\n";
    }
    text += ".p " + std::to_string(rows.size()) + "\n";
    for (const std::string& row : rows) text += row + "\n";
    return text + ".e\n";
}

}  // namespace vormel
