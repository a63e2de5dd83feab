#include "input/general_reader.h"

#include "input/equation_rules.h"
#include "input/input_report.h"
#include "input/input_text.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// Skips the lines after a block opener up to and including the first whose upper-case text begins
// with one of the closers (or to the end); returns the index after the block.
std::size_t skip_block(const std::vector<std::string>& lines, std::size_t next, std::string_view closer1,
                       std::string_view closer2) {
    for (; next < lines.size(); ++next) {
        const std::string upper = upper_case(lines[next].substr(0, 8));
        if (starts_with(upper, closer1) || (!closer2.empty() && starts_with(upper, closer2))) return next + 1;
    }
    return next;
}

// The table rules of each extension; false after input error 1.
bool apply_table_rules(RunContext& ctx, const std::string& ext, bool header, std::string& line) {
    if (ext == "dcb") {
        if (header) {
            remove_all(line, "$HEADER:X");
            replace_all(line, ":Y", ":");
            remove_all(line, "[");
            remove_all(line, "]");
        } else {
            remove_all(line, "X");
            remove_all(line, "Y");
        }
    } else if (ext == "tdf") {
        if (header) {
            remove_all(line, "(");
            remove_all(line, ")");
        } else {
            if (contains(line, "-")) {
                ctx.diag.show_error(line, 1);
                return false;
            }
            replace_all(line, "X", "-");
            remove_all(line, "B\"");
            remove_all(line, "\"");
        }
    } else if (!header) {
        replace_all(line, "X", "-");
    }
    return true;
}

}  // namespace

void read_general(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "read_general";
    const std::string& ext = problem.input_ext;
    const std::vector<std::string>& lines = problem.input_lines;
    std::string type;
    std::vector<std::string> kept;
    std::size_t next = 0;
    while (next < lines.size()) {
        std::string upper = upper_case(lines[next++]);
        if (!type.empty()) {
            if (ext == "dcb" && starts_with(upper, "*END")) continue;
            if (ext == "tdf" && (starts_with(upper, "END ") || starts_with(upper, "END;") || contains(upper, "TABLE"))) {
                continue;
            }
        }
        cut_at(upper, ";");
        if (ext == "tdf") cut_at(upper, "--");
        std::string line = remove_blanks(upper);
        if (line.empty()) continue;
        if (!allowed_characters(line)) {
            ctx.diag.show_error(line, 15);
            return;
        }
        if (ext == "dcb" && starts_with(line, "*IDE")) {
            next = skip_block(lines, next, "*FUN", "*BOO");
            continue;
        }
        if (ext == "tdf" && starts_with(line, "SUBDESIGN")) {
            next = skip_block(lines, next, "BEGIN", "");
            continue;
        }
        replace_all(line, "=>", ":");
        if (type.empty()) {
            if (contains(line, ":")) type = "TABLE";
            else if (contains(line, "=")) type = "BOOLEAN";
        }
        if (type == "TABLE") {
            if (!apply_table_rules(ctx, ext, kept.empty(), line)) return;
        } else if (type == "BOOLEAN") {
            line = join_equation(ctx, upper, lines, next);
            if (ctx.failed()) return;
        } else {
            continue;  // titles and other text before the first table or equation line
        }
        kept.push_back(std::move(line));
        if (kept.size() % 5 == 0) ctx.diag.poll_progress(0);
    }
    if (type.empty()) {
        ctx.diag.show_error(ctx.input_file, 12);
        return;
    }
    problem.input_type = type;
    problem.input_lines = std::move(kept);
    if (ctx.level() > 3) show_reformatted_input(ctx, problem);
}

}  // namespace vormel
