#include "input/pla_reader.h"

#include <algorithm>
#include <cstdint>

#include "input/input_report.h"
#include "input/input_text.h"
#include "input/size_limits.h"
#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// Large enough for every count check downstream, small enough that nothing is sized by it.
constexpr std::int64_t kCountCeiling = 1'000'000'000;

// The number at the start of the text (blanks, sign, digits), 0 when there is none; saturates.
std::int64_t leading_number(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kCountCeiling);
    }
    return negative ? -value : value;
}

// The words after the first blank joined by "," while a word's position is below `last_index`;
// later words run into the last name.
std::string name_list(const std::string& line, int last_index) {
    const auto blank = line.find(' ');
    const std::string words = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    std::string names;
    int position = 0;
    for (const std::string& word : split(words, ' ')) {
        names += word;
        if (position < last_index) names += ',';
        ++position;
    }
    return names;
}

// x0,x1,... with one name more than the limit at most: enough for the name-count errors.
std::string generated_names(const char* prefix, int last_index, int limit) {
    std::string names;
    const int count = std::min(last_index + 1, limit + 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0) names += ',';
        names += prefix + std::to_string(i);
    }
    return names;
}

// A data or directive line: "#" comment cut, upper case, trailing blanks removed ("" when empty).
std::string clean_line(const std::string& raw) {
    std::string line = raw;
    cut_at(line, "#");
    if (line.empty()) return line;
    return trim_trailing_blanks(upper_case(line));
}

bool warn_pla_type(RunContext& ctx, Problem& problem, const std::string& type) {
    ctx.report.text_red(1);
    ctx.report.display_text(" *** System Warning 4: Ignore wrong pla type " + type + " in input file " + ctx.input_file +
                                ". Use .type fd ...",
                            1);
    problem.pla_type = "FD";
    ctx.report.flush_display(1);
    ctx.report.ask_reset();
    return !ctx.failed();
}

}  // namespace

void read_pla(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "read_pla";
    problem.input_type = "TABLE";
    problem.xmax = -1;
    problem.ymax = -1;
    problem.intab.clear();
    problem.xnames.clear();
    problem.ynames.clear();
    problem.pla_type = "FD";
    const std::vector<std::string>& lines = problem.input_lines;

    std::string input_names;
    std::string output_names;
    bool inputs_named = false;
    bool outputs_named = false;
    bool terms_declared = false;
    std::int64_t declared_terms = 0;
    std::size_t next = 0;
    std::string line;
    for (; next < lines.size(); ++next) {
        line = clean_line(lines[next]);
        if (line.empty() || starts_with(line, ";")) continue;
        const std::string directive = line.substr(0, 3);
        const std::string rest = line.substr(std::min<std::size_t>(3, line.size()));
        if (directive == ".I ") {
            problem.xmax = static_cast<int>(leading_number(rest) - 1);
        } else if (directive == ".O ") {
            problem.ymax = static_cast<int>(leading_number(rest) - 1);
        } else if (directive == ".P ") {
            terms_declared = true;
            declared_terms = leading_number(rest);
        } else if (directive == ".IL") {
            input_names = name_list(line, problem.xmax);
            inputs_named = true;
        } else if (directive == ".OB") {
            output_names = name_list(line, problem.ymax);
            outputs_named = true;
        } else if (directive == ".TY") {
            const auto blank = line.find(' ');
            const std::string type = blank == std::string::npos ? std::string() : trim_blanks(line.substr(blank + 1));
            problem.pla_type = type;
            if (type != "F" && type != "FD" && type != "FR" && type != "FDR" && !warn_pla_type(ctx, problem, type)) return;
        } else {
            break;  // the first data line
        }
    }
    // A count below one declares nothing usable.
    if (problem.xmax < 0) {
        ctx.diag.show_error(".i <n>  missing in file : " + ctx.input_file, 17);
        return;
    }
    if (problem.ymax < 0) {
        ctx.diag.show_error(".o <n>  missing in file : " + ctx.input_file, 18);
        return;
    }
    const SizeLimits limits = size_limits(ctx.options.prime_method);
    if (!inputs_named) input_names = generated_names("x", problem.xmax, limits.inputs);
    if (!outputs_named) output_names = generated_names("y", problem.ymax, limits.outputs);

    std::vector<std::string> table;
    table.push_back(input_names + ":" + output_names);
    for (; next < lines.size(); ++next) {
        line = clean_line(lines[next]);
        if (starts_with(line, ".E")) break;
        if (line.empty()) continue;
        std::replace(line.begin(), line.end(), '|', ' ');
        const auto blank = line.find(' ');
        const std::string x_entry = line.substr(0, blank);
        std::string y_entry = blank == std::string::npos ? std::string() : trim_blanks(line.substr(blank));
        std::replace(y_entry.begin(), y_entry.end(), '~', '0');
        table.push_back(x_entry + ":" + y_entry);
        if (table.size() % 5 == 0) ctx.diag.poll_progress(0);
    }
    const auto data_lines = static_cast<std::int64_t>(table.size() - 1);
    if (terms_declared && declared_terms != data_lines) {
        ctx.diag.show_error(".p " + TRIM(static_cast<double>(declared_terms)) + "  not equal to number of lines =" +
                                STR(static_cast<double>(data_lines)) + " in file:  " + ctx.input_file,
                            19);
        return;
    }
    // Never more values than the output-name limit can accept.
    const auto rest_width = static_cast<std::size_t>(std::min(problem.ymax + 1, limits.outputs + 1));
    if (problem.pla_type == "FR") table.push_back("$REST:" + std::string(rest_width, '-'));
    else if (problem.pla_type == "FD") table.push_back("$REST:" + std::string(rest_width, '0'));
    problem.input_lines = std::move(table);
    if (ctx.level() > 3) show_reformatted_input(ctx, problem);
}

}  // namespace vormel
