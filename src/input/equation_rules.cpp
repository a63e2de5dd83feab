#include "input/equation_rules.h"

#include "input/input_text.h"
#include "report/run_context.h"

namespace vormel {

std::string normalise_operators(std::string equation) {
    // Symbols first, so that keywords written right after a symbol (=NOT A) find their blanks.
    static constexpr const char* kReplacements[][2] = {
        {"=", " = "},     {"*", " * "},   {"&", " * "},   {"+", " + "},     {"#", " + "},
        {"/", " / "},     {"!", " / "}, {" AND ", " * "}, {" OR ", " + "}, {" NOT ", " / "}};
    for (const auto& [from, to] : kReplacements) replace_all(equation, from, to);
    return remove_blanks(equation);
}

std::string join_equation(RunContext& ctx, const std::string& line, const std::vector<std::string>& lines,
                          std::size_t& next) {
    if (!contains(line, "=")) {
        ctx.diag.show_error(line, 10);
        return {};
    }
    std::string equation = line;
    for (; next < lines.size(); ++next) {
        std::string continuation = upper_case(lines[next]);
        cut_at(continuation, ";");
        cut_at(continuation, "--");
        if (starts_with(continuation, "END") || starts_with(continuation, "*END")) continue;
        if (continuation.empty()) continue;
        if (contains(continuation, "=")) break;
        equation += ' ';
        equation += continuation;
    }
    return normalise_operators(std::move(equation));
}

}  // namespace vormel
