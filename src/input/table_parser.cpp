#include "input/table_parser.h"

#include <algorithm>

#include "input/expanded_tables.h"
#include "input/input_text.h"
#include "input/name_clash.h"
#include "input/size_limits.h"
#include "model/problem.h"
#include "report/run_context.h"
#include "report/text_width.h"

namespace vormel {

namespace {

// The value code of "0", "1" or "-"; anything else gives kUnassigned.
std::uint8_t value_code(char c) {
    switch (c) {
        case '0': return kZero;
        case '1': return kOne;
        case '-': return kDash;
        default: return kUnassigned;
    }
}

bool valid_name(const std::string& name) { return !name.empty() && !(name[0] >= '0' && name[0] <= '9'); }

// Splits one side of the header into names; false after a count error (2 or 3) or input error 8.
bool read_names(RunContext& ctx, Problem& problem, std::string_view side, const std::string& header, bool inputs,
                const char* count_text, std::vector<std::string>& names, int& last_index) {
    const SizeLimits limits = size_limits(ctx.options.prime_method);
    const int limit = inputs ? limits.inputs : limits.outputs;
    std::size_t start = 0;
    for (;;) {
        const auto comma = side.find(',', start);
        const std::string_view piece = side.substr(start, comma == std::string_view::npos ? side.npos : comma - start);
        ++last_index;
        if (last_index + 1 > limit) return refuse_count(ctx, problem, inputs, count_text);
        std::string name(piece);
        if (!valid_name(name)) {
            ctx.diag.show_error(header, 8);
            return false;
        }
        if (text_width(name) > static_cast<std::size_t>(kMaxNameLength)) {
            ctx.diag.show_error(long_name_text(name), 8);
            return false;
        }
        names.push_back(std::move(name));
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

bool all_codes(std::string_view entry) {
    return std::all_of(entry.begin(), entry.end(), [](char c) { return value_code(c) != kUnassigned; });
}

// One entry line into row r; false after input errors 4 to 7.
bool read_entry(RunContext& ctx, const std::string& line, int r, TermTable& table) {
    const auto colon = line.find(':');
    const std::string x_entry = line.substr(0, colon);
    const std::string y_entry = colon == std::string::npos ? std::string() : line.substr(colon + 1);
    if (text_width(x_entry) != static_cast<std::size_t>(table.nx)) {
        ctx.diag.show_error("X " + x_entry, 4);
        return false;
    }
    if (!all_codes(x_entry)) {
        ctx.diag.show_error("X " + x_entry, 5);
        return false;
    }
    if (text_width(y_entry) != static_cast<std::size_t>(table.ny)) {
        ctx.diag.show_error("Y " + y_entry, 6);
        return false;
    }
    if (!all_codes(y_entry)) {
        ctx.diag.show_error("Y " + y_entry, 7);
        return false;
    }
    std::transform(x_entry.begin(), x_entry.end(), table.x(r), value_code);
    std::transform(y_entry.begin(), y_entry.end(), table.y(r), value_code);
    return true;
}

}  // namespace

void parse_table(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "parse_table";
    problem.xnames.clear();
    problem.ynames.clear();
    problem.rest_values.assign(kMaxOutputs, kZero);
    problem.xmax = -1;
    problem.ymax = -1;
    const std::vector<std::string>& lines = problem.input_lines;
    if (lines.empty()) {
        ctx.diag.show_error(ctx.input_file, 12);
        return;
    }
    const std::string& header = lines[0];
    const auto colon = header.find(':');
    const std::string_view header_view(header);
    const std::string_view x_side = header_view.substr(0, colon);
    const std::string_view y_side = colon == std::string::npos ? std::string_view() : header_view.substr(colon + 1);
    if (!read_names(ctx, problem, x_side, header, true, " X names ", problem.xnames, problem.xmax)) return;
    if (!read_names(ctx, problem, y_side, header, false, "Y names ", problem.ynames, problem.ymax)) return;
    // A name given twice leaves its columns apart in the table but one name in the equations.
    if (const std::string clash = repeated_name(problem.xnames, problem.ynames); !clash.empty()) {
        ctx.diag.show_error(clash + " (given twice)", 8);
        return;
    }
    if (problem.outputs() > kMaxOutputs) problem.rest_values.assign(static_cast<std::size_t>(problem.outputs()), kZero);

    // A table of the header alone has no $REST line: the header is never one.
    const int line_count = static_cast<int>(lines.size());
    problem.rest_used = line_count >= 2 && contains(lines.back(), "$REST");
    const int last_entry_line = problem.rest_used ? line_count - 2 : line_count - 1;  // index into lines
    problem.intab = TermTable(problem.inputs(), problem.outputs(), last_entry_line);
    problem.intab.last = last_entry_line - 1;
    for (int r = 0; r <= problem.intab.last; ++r) {
        if (r % 5 == 0) ctx.diag.poll_progress(0);
        if (!read_entry(ctx, lines[static_cast<std::size_t>(r) + 1], r, problem.intab)) return;
    }
    ctx.diag.check_memory(0);

    if (problem.rest_used) {
        const std::string& rest_line = lines.back();
        const auto rest_colon = rest_line.find(':');
        if (rest_colon == std::string::npos) {
            // Without its ":" the values cannot be told from the keyword; dropping them would make
            // every uncovered minterm 0.
            ctx.diag.show_error("$REST : " + rest_line + "  (\":\" missing after $REST)", 7);
            return;
        }
        const std::string values = rest_line.substr(rest_colon + 1);
        if (!all_codes(values)) {
            ctx.diag.show_error("$REST : " + values, 7);
            return;
        }
        const std::size_t used = std::min(values.size(), static_cast<std::size_t>(problem.outputs()));
        std::transform(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(used), problem.rest_values.begin(),
                       value_code);
    } else {
        std::fill(problem.rest_values.begin(), problem.rest_values.end(), problem.rest_default);
    }
    if (expands_minterms(ctx.options.prime_method, problem.inputs())) create_expanded_tables(ctx, problem);
    else release_expanded_tables(problem);
}

}  // namespace vormel
