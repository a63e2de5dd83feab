#include "input/equation_parser.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <unordered_map>

#include "input/expanded_tables.h"
#include "input/input_text.h"
#include "input/name_clash.h"
#include "input/size_limits.h"
#include "model/problem.h"
#include "report/run_context.h"
#include "report/text_width.h"

namespace vormel {

namespace {

// Name lookups by hash; the vectors keep the order of first occurrence.
struct NameIndex {
    std::unordered_map<std::string, int> index;
    int find(const std::string& name) const {
        const auto it = index.find(name);
        return it == index.end() ? -1 : it->second;
    }
    int add(std::vector<std::string>& names, const std::string& name) {
        const int at = static_cast<int>(names.size());
        names.push_back(name);
        index.emplace(name, at);
        return at;
    }
};

// More names than the method takes: the cube methods' count error; the classic methods keep their
// error 12 and are told which methods take the function.
bool refuse_equation_names(RunContext& ctx, Problem& problem, bool inputs, std::string_view count_text) {
    if (cube_engine(ctx.options.prime_method)) return refuse_count(ctx, problem, inputs, count_text);
    ctx.diag.show_error(ctx.input_file, 12);
    point_to_cube_methods(ctx, problem);
    return false;
}

// False after input error 11 for a name longer than the limit.
bool name_fits(RunContext& ctx, const std::string& name) {
    if (text_width(name) <= static_cast<std::size_t>(kMaxNameLength)) return true;
    ctx.diag.show_error(long_name_text(name), 11);
    return false;
}

// The input a literal reads, after at most one NOT; "" when there is none (a dangling NOT) or the
// literal holds another NOT (//A): reading either as anything would change the function unseen.
std::string literal_name(const std::string& literal) {
    const std::string name = starts_with(literal, "/") ? literal.substr(1) : literal;
    return name.find('/') == std::string::npos ? name : std::string();
}

// Names pass: outputs and inputs in order of first occurrence; counts the product terms.
bool collect_names(RunContext& ctx, Problem& problem, NameIndex& inputs, NameIndex& outputs, std::size_t& terms) {
    for (const std::string& line : problem.input_lines) {
        const auto equals = line.find('=');
        const std::string output = trim_blanks(line.substr(0, equals));
        const std::string rhs = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        if (!name_fits(ctx, output)) return false;
        if (outputs.find(output) < 0) {
            if (static_cast<int>(problem.ynames.size()) >= size_limits(ctx.options.prime_method).outputs) {
                return refuse_equation_names(ctx, problem, false, "Y names ");
            }
            outputs.add(problem.ynames, output);
        }
        std::size_t start = 0;
        for (;;) {
            const auto at = rhs.find_first_of("*+", start);
            const std::string name = literal_name(rhs.substr(start, at == std::string::npos ? std::string::npos : at - start));
            if (name.empty()) {
                ctx.diag.show_error(line, 11);
                return false;
            }
            if (!name_fits(ctx, name)) return false;
            if (inputs.find(name) < 0) {
                if (static_cast<int>(problem.xnames.size()) >= size_limits(ctx.options.prime_method).inputs) {
                    return refuse_equation_names(ctx, problem, true, " X names ");
                }
                inputs.add(problem.xnames, name);
            }
            if (at == std::string::npos) break;
            if (rhs[at] == '+') ++terms;
            start = at + 1;
        }
        ++terms;
    }
    return true;
}

// Rows pass: one row per product term.
bool write_terms(RunContext& ctx, Problem& problem, const NameIndex& inputs, const NameIndex& outputs) {
    TermTable& table = problem.intab;
    for (const std::string& line : problem.input_lines) {
        const auto equals = line.find('=');
        const std::string output = line.substr(0, equals);
        if (output.empty()) {
            ctx.diag.show_error(line, 11);
            return false;
        }
        const int column = outputs.find(trim_blanks(output));
        const std::string rhs = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        for (const std::string& term : split(rhs, '+')) {
            const int r = ++table.last;
            if (r % 5 == 0) ctx.diag.poll_progress(0);
            std::fill_n(table.x(r), table.nx, kDash);
            std::fill_n(table.y(r), table.ny, kZero);
            table.y(r)[column] = kOne;
            for (const std::string& literal : split(term, '*')) {
                const bool complemented = starts_with(literal, "/");
                const int input = inputs.find(complemented ? literal.substr(1) : literal);
                if (input >= 0) table.x(r)[input] = complemented ? kZero : kOne;
            }
        }
    }
    return true;
}

// A cube's key: care bits and value bits, one per input.
std::uint64_t cube_key(const TermTable& table, int row) {
    std::uint32_t care = 0;
    std::uint32_t value = 0;
    const std::uint8_t* x = table.x(row);
    for (int i = 0; i < table.nx; ++i) {
        care = care << 1 | (x[i] != kDash);
        value = value << 1 | (x[i] == kOne);
    }
    return static_cast<std::uint64_t>(care) << 32 | value;
}

}  // namespace

void merge_equal_terms(TermTable& table) {
    // Positions of the rows of every X entry; rows move only from the end into a freed place.
    std::unordered_map<std::uint64_t, std::set<int>> positions;
    std::vector<std::uint64_t> keys(static_cast<std::size_t>(table.rows()));
    for (int r = 0; r <= table.last; ++r) {
        keys[static_cast<std::size_t>(r)] = cube_key(table, r);
        positions[keys[static_cast<std::size_t>(r)]].insert(r);
    }
    const auto merge_into = [&table](int b, int r) {
        std::uint8_t* target = table.y(b);
        const std::uint8_t* source = table.y(r);
        for (int j = 0; j < table.ny; ++j) target[j] = std::max(target[j], source[j]);
    };
    for (int b = 0; b < table.last; ++b) {
        const std::uint64_t key = keys[static_cast<std::size_t>(b)];
        std::set<int>& same = positions[key];
        same.erase(b);
        while (!same.empty()) {
            const int r = *same.begin();
            same.erase(same.begin());
            merge_into(b, r);
            // Fill place r from the end; a moved row equal to row b merges too.
            for (;;) {
                const int moved = table.last--;
                if (moved == r) break;
                table.copy_row(r, table, moved);
                const std::uint64_t moved_key = keys[static_cast<std::size_t>(moved)];
                keys[static_cast<std::size_t>(r)] = moved_key;
                if (moved_key == key) {
                    same.erase(moved);
                    merge_into(b, r);
                    continue;
                }
                std::set<int>& other = positions[moved_key];
                other.erase(moved);
                other.insert(r);
                break;
            }
        }
        positions.erase(key);
    }
}

void parse_equations(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "parse_equations";
    problem.xnames.clear();
    problem.ynames.clear();
    problem.rest_values.assign(kMaxOutputs, kZero);
    problem.xmax = -1;
    problem.ymax = -1;
    NameIndex inputs;
    NameIndex outputs;
    std::size_t terms = 0;
    if (!collect_names(ctx, problem, inputs, outputs, terms)) return;
    if (const std::string clash = repeated_name(problem.xnames, problem.ynames); !clash.empty()) {
        ctx.diag.show_error(clash + " (an input and an output of the same name)", 11);
        return;
    }
    problem.xmax = static_cast<int>(problem.xnames.size()) - 1;
    problem.ymax = static_cast<int>(problem.ynames.size()) - 1;

    // One row for every product term, however many there are.
    problem.intab = TermTable(problem.inputs(), problem.outputs(), static_cast<int>(terms));
    if (!write_terms(ctx, problem, inputs, outputs)) return;
    merge_equal_terms(problem.intab);
    ctx.diag.check_memory(0);

    problem.rest_used = false;
    if (problem.outputs() > kMaxOutputs) problem.rest_values.resize(static_cast<std::size_t>(problem.outputs()));
    std::fill(problem.rest_values.begin(), problem.rest_values.end(), problem.rest_default);
    if (expands_minterms(ctx.options.prime_method, problem.inputs())) create_expanded_tables(ctx, problem);
    else release_expanded_tables(problem);
}

}  // namespace vormel
