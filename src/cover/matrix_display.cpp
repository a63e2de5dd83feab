#include "cover/matrix_display.h"

#include <string>
#include <vector>

#include "cover/cover_matrix.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

void display_cover_matrix(RunContext& ctx, const CoverMatrix& m) {
    ReportChannel& report = ctx.report;
    if (m.P > 990) {
        report.display_blank();
        report.text_red(0);
        report.display_text("*** Matrix too large for display ...", 1);
        report.display_blank();
        return;
    }
    const int n = m.inputs;
    const int primes = m.P + 1;

    std::string line = "     MT" + std::string(static_cast<std::size_t>(n - 1), ' ') + "PI :";
    for (int p = 0; p <= m.P; ++p) line += format_mask("###", p);
    report.display_text(line + "  MTcover", 1);

    line = "   " + std::string(static_cast<std::size_t>(n + 8), '-');
    for (int p = 0; p <= m.P; ++p) line += m.essential[p] != 0 ? "-E-" : "---";
    report.display_text(line + "---------", 1);

    std::vector<char> covers(static_cast<std::size_t>(primes), 0);
    for (int k = 0; k <= m.K && !report.interrupted(); ++k) {
        for (int q : m.col(k)) covers[q] = 1;
        line = "  " + format_mask("#####", m.minterm_line[k]) + " " + m.minterm_text(k) + " :";
        for (int p = 0; p <= m.P; ++p) {
            if (covers[p] == 0) line += "  -";
            else line += m.active(p) && m.open(k) ? "  #" : "  /";
        }
        for (int q : m.col(k)) covers[q] = 0;
        line += "    ";
        line += m.count[k] == -1 ? std::string(" -") : STR(m.count[k] + 1);
        report.display_text(line, 1);
        ctx.diag.poll_progress(0);
    }

    report.display_text("   " + std::string(static_cast<std::size_t>(primes * 3 + n + 17), '-'), 1);

    const std::string indent(static_cast<std::size_t>(n + 1), ' ');
    line = indent + "numLit  :";
    for (int p = 0; p <= m.P; ++p) line += format_mask("###", m.literals[p] + 1);
    line += " MTmin=";
    line += m.MTmin >= kNoOpenMinterm ? std::string("done") : TRIM(m.MTmin + 1);
    report.display_text(line, 1);

    line = indent + "PIcover :";
    for (int p = 0; p <= m.P; ++p) line += m.state[p] == -1 ? "  -" : m.state[p] == -2 ? "   " : "  #";
    report.display_text(line, 0);
    report.display_blank();

    report.flush_display(0);
    report.display_blank();
    if (ctx.level() == 3) report.ask_reset();
}

}  // namespace vormel
