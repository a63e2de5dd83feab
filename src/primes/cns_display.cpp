#include "model/problem.h"
#include "primes/cns_work.h"
#include "primes/prime_report.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

void splitting_variable_line(CnsWork& w, int var, int var_value, bool unate_below_top) {
    if (var >= 0) {
        std::string text = " Splitting Variable x(" + TRIM(var) + ") : " + w.problem.xnames[static_cast<std::size_t>(var)];
        if (var_value != -1) text += " = - (was " + TRIM(var_value) + ")";
        write_text(w.ctx, text, 1, Ink::blue, 1);
    } else if (unate_below_top && w.level > 1) {
        write_text(w.ctx, " All variables unate", 1, Ink::green);
    } else {
        write_text(w.ctx, " No splitting Variable chosen yet", 1, Ink::red);
    }
}

void recursion_level_line(CnsWork& w) {
    write_text(w.ctx, " Recursion Level = " + std::string(static_cast<std::size_t>(std::max(w.level - 1, 0)), '.') + TRIM(w.level), 1);
}

// One row: the masked index, then the cube with the splitting variable's character in blue bold.
void row_line(CnsWork& w, const char* mask, int row, int var, std::uint32_t path) {
    const std::string cube = cube_string(w.table[static_cast<std::size_t>(row)], w.inputs, path);
    if (var < 0) {
        write_text(w.ctx, format_mask(mask, row) + cube, 0);
    } else {
        const auto at = static_cast<std::size_t>(var);
        write_text(w.ctx, format_mask(mask, row) + cube.substr(0, at), 0);
        write_text(w.ctx, cube.substr(at, 1), 0, Ink::blue, 1);
        write_text(w.ctx, cube.substr(at + 1), 0);
    }
    write_text(w.ctx, "", 1);
}

void cofactor_rows(CnsWork& w, const RowList& rows, int var, std::uint32_t path, const char* void_text) {
    bool any = false;
    for (int r : rows) {
        if (r < 0) continue;
        if (w.ctx.report.interrupted()) return;
        row_line(w, "* ##############   ", r, var, path);
        any = true;
    }
    if (!any) write_text(w.ctx, void_text, 1);
}

}  // namespace

void cns_xtree_heading(CnsWork& w, const std::string& title) {
    w.ctx.report.display_heading_ruled(title + ": xtree = " + w.xtree, title.size() + w.xtree.size() + 11);
    w.ctx.window.set_status_line(title);
}

void cns_set_display(CnsWork& w, const RowList& rows, int var, int var_value, std::uint32_t path) {
    RunContext& ctx = w.ctx;
    write_text(ctx,
               " Output function    y(" + TRIM(w.output) + ") : " + w.problem.ynames[static_cast<std::size_t>(w.output)] +
                   " =" + STR(w.value),
               1, Ink::blue);
    splitting_variable_line(w, var, var_value, true);
    recursion_level_line(w);
    write_text(ctx, "", 1);
    bool any = false;
    for (int r : rows) {
        if (r < 0) continue;
        if (ctx.report.interrupted()) return;
        row_line(w, "* ####   ", r, var, path);
        any = true;
    }
    if (!any) write_text(ctx, " Function is not defined (no Minterms or no Implicants exist)", 1, Ink::red, 1);
}

void cns_consensus_display(CnsWork& w, const CnsLevelLists& lists, int var, std::uint32_t path) {
    RunContext& ctx = w.ctx;
    write_text(ctx,
               " Output Function    y(" + TRIM(w.output) + ") : " + w.problem.ynames[static_cast<std::size_t>(w.output)] +
                   " =" + STR(w.value),
               1, Ink::blue);
    splitting_variable_line(w, var, -1, false);
    recursion_level_line(w);
    write_text(ctx, " 0-Cofactor:", 1);
    cofactor_rows(w, lists.zero, var, path, "               void");
    write_text(ctx, " 1-Cofactor:", 1);
    cofactor_rows(w, lists.one, var, path, "               void");
    write_text(ctx, " CONSENSUS :", 1, Ink::blue);
    cofactor_rows(w, lists.consensus, var, path, "            void");
}

}  // namespace vormel
