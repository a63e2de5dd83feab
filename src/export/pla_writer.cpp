#include "export/pla_writer.h"

#include <algorithm>
#include <map>
#include <vector>

#include "cubes/term_complement.h"
#include "export/result_view.h"

namespace vormel {

namespace {

char value_char(std::uint8_t v) { return v == kZero ? '0' : v == kOne ? '1' : '-'; }

std::string names_line(const char* directive, const std::vector<std::string>& names) {
    std::string line = directive;
    for (const std::string& name : names) line += " " + name;
    return line + "\n";
}

}  // namespace

std::string write_pla(const ResultView& view, PlaPhase phase) {
    const int nx = view.terms.nx;
    const int ny = static_cast<int>(view.outputs.size());
    std::vector<int> source(static_cast<std::size_t>(ny));
    std::vector<bool> inverted(static_cast<std::size_t>(ny));
    for (int j = 0; j < ny; ++j) {
        bool inv = false;
        source[j] = view.term_source(j, inv);
        inverted[j] = inv;
    }

    std::vector<std::string> rows;
    for (int r = 0; r <= view.terms.last; ++r) {
        std::string row;
        for (int i = 0; i < nx; ++i) row += value_char(view.terms.x(r)[i]);
        row += ' ';
        for (int j = 0; j < ny; ++j) {
            const bool fed = source[j] >= 0 && view.terms.y(r)[source[j]] != kDash;
            const bool written = fed && (phase == PlaPhase::phase_line || !inverted[j]);
            row += written ? '1' : '0';
        }
        rows.push_back(std::move(row));
    }

    bool any_inverted = false;
    for (int j = 0; j < ny; ++j) any_inverted = any_inverted || inverted[j];
    if (phase == PlaPhase::complemented_back && any_inverted) {
        // One complement output per term source (-1, no terms, complements to the whole space).
        std::map<int, int> group;
        for (int j = 0; j < ny; ++j) {
            if (inverted[j]) group.emplace(source[j], 0);
        }
        int next = 0;
        for (auto& entry : group) entry.second = next++;
        TermTable fed(nx, next, view.terms.last + 1);
        for (int r = 0; r <= view.terms.last; ++r) {
            const int row = fed.append_row();
            std::copy_n(view.terms.x(r), nx, fed.x(row));
            for (const auto& [s, bit] : group) {
                if (s >= 0 && view.terms.y(r)[s] != kDash) fed.y(row)[bit] = kOne;
            }
        }
        const TermTable complement = cubes::complement_terms(fed);
        for (int r = 0; r <= complement.last; ++r) {
            std::string row;
            for (int i = 0; i < nx; ++i) row += value_char(complement.x(r)[i]);
            row += ' ';
            for (int j = 0; j < ny; ++j) row += inverted[j] && complement.y(r)[group.at(source[j])] == kOne ? '1' : '0';
            rows.push_back(std::move(row));
        }
    }

    std::string text = "# product terms of the minimized result\n";
    for (const std::string& rename : view.renamed) text += "# renamed " + rename + "\n";
    text += ".i " + std::to_string(nx) + "\n.o " + std::to_string(ny) + "\n";
    text += names_line(".ilb", view.inputs);
    text += names_line(".ob", view.outputs);
    text += ".type fd\n";
    if (phase == PlaPhase::phase_line && any_inverted) {
        text += ".phase ";
        for (int j = 0; j < ny; ++j) text += inverted[j] ? '0' : '1';
        text += "\n";
    }
    text += ".p " + std::to_string(rows.size()) + "\n";
    for (const std::string& row : rows) text += row + "\n";
    return text + ".e\n";
}

}  // namespace vormel
