#include "minimize/cover_solver.h"

#include <coin/CbcEventHandler.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CbcSolver.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <coin/OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <string>

namespace vormel::minimize {

namespace {

using Columns = std::vector<int>;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::vector<std::vector<int>> column_rows(const CoveringMatrix& m) {
    std::vector<std::vector<int>> col_rows(at(m.columns));
    for (int r = 0; r < static_cast<int>(m.rows.size()); ++r)
        for (int c : m.rows[at(r)]) col_rows[at(c)].push_back(r);
    return col_rows;
}

long long cost_of(const Columns& cols, const std::vector<int>& cost) {
    long long sum = 0;
    for (int c : cols) sum += cost[at(c)];
    return sum;
}

bool covers_all(const CoveringMatrix& m, const Columns& chosen) {
    std::vector<char> taken(at(m.columns), 0);
    for (int c : chosen) taken[at(c)] = 1;
    return std::all_of(m.rows.begin(), m.rows.end(), [&](const std::vector<int>& row) {
        return std::any_of(row.begin(), row.end(), [&](int c) { return taken[at(c)] != 0; });
    });
}

// Drops chosen columns whose rows the others cover, dearest first; the rest ascending.
void drop_redundant(Columns& chosen, const CoveringMatrix& m, const std::vector<std::vector<int>>& col_rows,
                    const std::vector<int>& cost) {
    std::vector<int> covered_by(m.rows.size(), 0);
    for (int c : chosen)
        for (int r : col_rows[at(c)]) ++covered_by[at(r)];
    std::sort(chosen.begin(), chosen.end(), [&](int a, int b) {
        return cost[at(a)] != cost[at(b)] ? cost[at(a)] > cost[at(b)] : a > b;
    });
    Columns kept;
    for (int c : chosen) {
        const auto& rows = col_rows[at(c)];
        if (std::all_of(rows.begin(), rows.end(), [&](int r) { return covered_by[at(r)] > 1; })) {
            for (int r : rows) --covered_by[at(r)];
        } else {
            kept.push_back(c);
        }
    }
    std::sort(kept.begin(), kept.end());
    chosen = std::move(kept);
}

// Takes the column covering the most uncovered rows (cheaper, then lower, on ties) until all are covered.
Columns greedy_cover(const CoveringMatrix& m, const std::vector<std::vector<int>>& col_rows, const std::vector<int>& cost) {
    std::vector<char> covered(m.rows.size(), 0);
    std::vector<int> gain(at(m.columns));
    for (int c = 0; c < m.columns; ++c) gain[at(c)] = static_cast<int>(col_rows[at(c)].size());
    std::size_t left = m.rows.size();
    Columns chosen;
    while (left > 0) {
        int best = -1;
        for (int c = 0; c < m.columns; ++c) {
            if (gain[at(c)] == 0) continue;
            if (best < 0 || gain[at(c)] > gain[at(best)] || (gain[at(c)] == gain[at(best)] && cost[at(c)] < cost[at(best)])) best = c;
        }
        chosen.push_back(best);
        for (int r : col_rows[at(best)]) {
            if (covered[at(r)]) continue;
            covered[at(r)] = 1;
            --left;
            for (int c : m.rows[at(r)]) --gain[at(c)];
        }
    }
    return chosen;
}

// Rows no two of which share a column, shortest rows first: each needs a column of its own.
int disjoint_rows(const CoveringMatrix& m) {
    std::vector<int> order(m.rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return m.rows[at(a)].size() < m.rows[at(b)].size(); });
    std::vector<char> used(at(m.columns), 0);
    int count = 0;
    for (int r : order) {
        const auto& row = m.rows[at(r)];
        if (std::any_of(row.begin(), row.end(), [&](int c) { return used[at(c)] != 0; })) continue;
        for (int c : row) used[at(c)] = 1;
        ++count;
    }
    return count;
}

// Stops the branch and cut once the budget is exhausted; CBC clones it into its working models.
class BudgetEvents : public CbcEventHandler {
public:
    explicit BudgetEvents(WorkBudget& budget) : budget_(budget) {}
    CbcAction event(CbcEvent) override { return budget_.exhausted() ? stop : noAction; }
    CbcEventHandler* clone() const override { return new BudgetEvents(*this); }

private:
    WorkBudget& budget_;
};

struct SolverRun {
    Columns columns;
    double bound = 0;
    bool optimal = false;
    long long nodes = 0;
};

SolverRun branch_and_cut(const CoveringMatrix& m, const std::vector<double>& objective, WorkBudget& budget) {
    CoinPackedMatrix rows(false, 0, 0);
    rows.setDimensions(0, m.columns);
    for (const auto& row : m.rows) {
        const std::vector<double> ones(row.size(), 1.0);
        rows.appendRow(static_cast<int>(row.size()), row.data(), ones.data());
    }
    const std::vector<double> col_lower(at(m.columns), 0.0), col_upper(at(m.columns), 1.0);
    const std::vector<double> row_lower(m.rows.size(), 1.0), row_upper(m.rows.size(), COIN_DBL_MAX);
    OsiClpSolverInterface lp;
    lp.messageHandler()->setLogLevel(0);
    lp.loadProblem(rows, col_lower.data(), col_upper.data(), objective.data(), row_lower.data(), row_upper.data());
    for (int c = 0; c < m.columns; ++c) lp.setInteger(c);

    CbcModel model(lp);
    BudgetEvents events(budget);
    model.passInEventHandler(&events);
    CbcSolverUsefulData data;
    CbcMain0(model, data);
    model.setLogLevel(0);
    const std::string seconds = std::to_string(std::max(budget.remaining(), 0.01));
    const char* args[] = {"vormel", "-log", "0", "-timeMode", "elapsed", "-sec", seconds.c_str(), "-solve", "-quit"};
    CbcMain1(static_cast<int>(std::size(args)), args, model, [](CbcModel*, int) { return 0; }, data);

    SolverRun run;
    if (const double* solution = model.bestSolution()) {
        for (int c = 0; c < m.columns; ++c)
            if (solution[c] > 0.5) run.columns.push_back(c);
    }
    run.bound = model.getBestPossibleObjValue();
    run.optimal = model.isProvenOptimal() && !run.columns.empty();
    run.nodes = model.getNodeCount();
    return run;
}

}  // namespace

MinimumCover minimum_cover(const CoveringMatrix& m, const std::vector<int>& cost, WorkBudget& budget) {
    MinimumCover out;
    if (m.rows.empty()) {
        out.proven = out.cost_proven = true;
        return out;
    }
    const auto col_rows = column_rows(m);
    Columns best = greedy_cover(m, col_rows, cost);
    drop_redundant(best, m, col_rows, cost);
    out.greedy_columns = static_cast<int>(best.size());
    out.disjoint_rows = out.lower_bound = disjoint_rows(m);

    // Any cover of at most the greedy count costs less than one more column.
    const int dearest = std::max(1, *std::max_element(cost.begin(), cost.end()));
    const double per_column = static_cast<double>(best.size()) * dearest + 1;
    std::vector<double> objective(at(m.columns));
    for (int c = 0; c < m.columns; ++c) objective[at(c)] = per_column + cost[at(c)];
    SolverRun run = branch_and_cut(m, objective, budget);
    out.solver_nodes = run.nodes;
    if (!covers_all(m, run.columns)) {
        run.columns.clear();  // never trust a solution that misses a row
        run.optimal = false;
    }
    if (!run.columns.empty()) {
        drop_redundant(run.columns, m, col_rows, cost);
        if (run.columns.size() < best.size() ||
            (run.columns.size() == best.size() && cost_of(run.columns, cost) < cost_of(best, cost)))
            best = std::move(run.columns);
    }
    // A cover of t columns costs at most t (per_column + dearest), so the bound caps t from below.
    // A bound above a known cover's cost is no bound (the solver gave up before it had one).
    double best_objective = 0;
    for (int c : best) best_objective += objective[at(c)];
    if (run.optimal) {
        out.lower_bound = static_cast<int>(best.size());
        out.cost_proven = true;
    } else if (run.bound > 0 && run.bound <= best_objective + 0.5) {
        const int from_bound = static_cast<int>(std::ceil(run.bound / (per_column + dearest) - 1e-9));
        out.lower_bound = std::max(out.lower_bound, std::min(from_bound, static_cast<int>(best.size())));
    }
    out.stopped = !run.optimal;
    out.columns = best;
    out.proven = static_cast<int>(best.size()) <= out.lower_bound;
    return out;
}

}  // namespace vormel::minimize
