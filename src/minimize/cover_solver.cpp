#include "minimize/cover_solver.h"

#include <coin/CbcEventHandler.hpp>
#include <coin/CbcHeuristic.hpp>
#include <coin/CbcHeuristicFPump.hpp>
#include <coin/CbcHeuristicGreedy.hpp>
#include <coin/CbcHeuristicLocal.hpp>
#include <coin/CbcHeuristicRINS.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CglClique.hpp>
#include <coin/CglGomory.hpp>
#include <coin/CglKnapsackCover.hpp>
#include <coin/CglMixedIntegerRounding2.hpp>
#include <coin/CglProbing.hpp>
#include <coin/CglZeroHalf.hpp>
#include <coin/ClpEventHandler.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <coin/OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

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

// Stops the branch and cut once the budget is exhausted; CBC clones it into its working models,
// and every clone polls the one budget (all on the calling thread).
class BudgetEvents : public CbcEventHandler {
public:
    explicit BudgetEvents(WorkBudget& budget) : budget_(budget) {}
    CbcAction event(CbcEvent) override { return budget_.exhausted() ? stop : noAction; }
    CbcEventHandler* clone() const override { return new BudgetEvents(*this); }

private:
    WorkBudget& budget_;
};

// Ends an LP solve at the budget's end: CBC reads its clock only between LPs, and one strong
// branching step on a large core solves LPs for seconds. An LP cut short may make CBC drop a node
// it should keep, so after one nothing CBC concluded about the bound stands (cut_short tells).
class LpBudget : public ClpEventHandler {
public:
    LpBudget(WorkBudget& budget, bool& cut_short) : budget_(budget), cut_short_(cut_short) {}
    int event(Event which) override {
        if (which != endOfIteration || (++iterations_ & 3) != 0 || !budget_.exhausted()) return -1;
        cut_short_ = true;
        return 5;  // stop the simplex now
    }
    ClpEventHandler* clone() const override { return new LpBudget(*this); }

private:
    WorkBudget& budget_;
    bool& cut_short_;
    unsigned iterations_ = 0;
};

struct SolverRun {
    Columns columns;
    double bound = 0;
    bool optimal = false;
    long long nodes = 0;
};

// The cut generators and heuristics for a 0-1 covering program. All are deterministic: none draws
// on the process-wide random numbers the solver libraries share (odd-hole cuts and the random
// rounding heuristic would), so a run gives the same result on any thread beside any other run.
void add_covering_tools(CbcModel& model) {
    CglProbing probing;
    probing.setUsingObjective(1);
    probing.setMaxPass(3);
    probing.setMaxProbe(100);
    probing.setMaxLook(50);
    probing.setRowCuts(3);
    model.addCutGenerator(&probing, -1, "Probing");
    CglGomory gomory;
    gomory.setLimit(300);
    model.addCutGenerator(&gomory, -1, "Gomory");
    CglKnapsackCover knapsack;
    model.addCutGenerator(&knapsack, -1, "Knapsack");
    CglClique clique;
    clique.setStarCliqueReport(false);
    clique.setRowCliqueReport(false);
    model.addCutGenerator(&clique, -1, "Clique");
    CglZeroHalf zero_half;
    model.addCutGenerator(&zero_half, -1, "ZeroHalf");
    CglMixedIntegerRounding2 mixed;
    model.addCutGenerator(&mixed, -1, "MixedIntegerRounding2");

    CbcRounding rounding(model);
    model.addHeuristic(&rounding);
    CbcHeuristicGreedyCover greedy(model);
    model.addHeuristic(&greedy);
    CbcHeuristicLocal local(model);
    model.addHeuristic(&local);
    CbcHeuristicFPump pump(model);
    pump.setMaximumPasses(20);
    model.addHeuristic(&pump);
    CbcHeuristicRINS rins(model);
    model.addHeuristic(&rins);
}

// One run of branch and cut on the rows, with at most max_columns columns when that is positive.
// The model lives on this call's stack and is built through the library's classes: no argument
// strings, no console, no standard input, no signal handler, nothing kept between runs.
SolverRun branch_and_cut(const CoveringMatrix& m, const std::vector<double>& objective, int max_columns,
                         WorkBudget& budget) {
    // The rows packed in one go: appended one by one, each append copied the whole matrix (most of
    // a 175-row function's run went there).
    std::vector<int> starts, lengths, entries;
    std::vector<double> row_lower, row_upper;
    auto add_row = [&](const std::vector<int>& row, double lower, double upper) {
        starts.push_back(static_cast<int>(entries.size()));
        lengths.push_back(static_cast<int>(row.size()));
        entries.insert(entries.end(), row.begin(), row.end());
        row_lower.push_back(lower);
        row_upper.push_back(upper);
    };
    for (const auto& row : m.rows) add_row(row, 1.0, COIN_DBL_MAX);
    if (max_columns > 0) {
        std::vector<int> all(at(m.columns));
        std::iota(all.begin(), all.end(), 0);
        add_row(all, -COIN_DBL_MAX, max_columns);
    }
    const std::vector<double> ones(entries.size(), 1.0);
    const CoinPackedMatrix rows(false, m.columns, static_cast<int>(starts.size()), static_cast<CoinBigIndex>(entries.size()),
                                ones.data(), entries.data(), starts.data(), lengths.data());
    const std::vector<double> col_lower(at(m.columns), 0.0), col_upper(at(m.columns), 1.0);
    OsiClpSolverInterface lp;
    lp.messageHandler()->setLogLevel(0);
    lp.setHintParam(OsiDoReducePrint, true, OsiHintTry);
    // A hint besides the printing one keeps the first LP (and every copy's) on the simplex path that
    // installs no SIGINT handler; the solver's general path sets one, process-wide, while it runs.
    lp.setHintParam(OsiDoDualInInitial, true, OsiHintTry);
    lp.loadProblem(rows, col_lower.data(), col_upper.data(), objective.data(), row_lower.data(), row_upper.data());
    for (int c = 0; c < m.columns; ++c) lp.setInteger(c);
    bool lp_cut_short = false;
    LpBudget lp_events(budget, lp_cut_short);
    lp.getModelPtr()->passInEventHandler(&lp_events);

    // The root LP by the dual simplex, here: its value bounds every cover even when the search
    // below is cut short before it has a bound of its own.
    SolverRun run;
    lp.initialSolve();
    if (lp.isProvenOptimal() && !lp_cut_short) run.bound = lp.getObjValue();
    CbcModel model(lp);
    model.setLogLevel(0);
    model.messageHandler()->setLogLevel(0);
    model.solver()->messageHandler()->setLogLevel(0);
    model.setPrintFrequency(0);
    model.setNumberThreads(0);
    model.setRandomSeed(1);
    model.setUseElapsedTime(true);
    model.setMaximumSeconds(std::max(budget.remaining(), 0.01));
    BudgetEvents events(budget);
    model.passInEventHandler(&events);
    add_covering_tools(model);
    if (!budget.exhausted()) model.branchAndBound();

    if (const double* solution = model.bestSolution()) {
        for (int c = 0; c < m.columns; ++c)
            if (solution[c] > 0.5) run.columns.push_back(c);
    }
    run.nodes = model.getNodeCount();
    // A bound of the search once it has a tree and no LP of it was cut short (before the tree CBC
    // may give its best cover's value as the bound).
    if (lp_cut_short || budget.stopped_by_user()) return run;
    run.optimal = model.isProvenOptimal() && !run.columns.empty();
    if (run.optimal || run.nodes > 0) run.bound = std::max(run.bound, model.getBestPossibleObjValue());
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
    auto count = [&] { return static_cast<int>(best.size()); };
    auto finish = [&](bool stopped) {
        out.stopped = stopped;
        out.columns = best;
        out.proven = count() <= out.lower_bound;
        return out;
    };
    // Takes a solver's cover when it is one and beats the best (fewer columns, then less cost).
    auto adopt = [&](SolverRun& run) {
        out.solver_nodes += run.nodes;
        if (!covers_all(m, run.columns)) {
            run.columns.clear();  // never trust a solution that misses a row
            run.optimal = false;
            return;
        }
        drop_redundant(run.columns, m, col_rows, cost);
        if (run.columns.size() < best.size() ||
            (run.columns.size() == best.size() && cost_of(run.columns, cost) < cost_of(best, cost)))
            best = run.columns;
    };

    // Fewest columns first, every column costing 1: the LP bound is then a bound on the count. A
    // bound above a known cover's count is no bound (the solver gave up before it had one).
    if (out.lower_bound < count()) {
        SolverRun run = branch_and_cut(m, std::vector<double>(at(m.columns), 1.0), 0, budget);
        adopt(run);
        if (run.optimal) out.lower_bound = count();
        else if (run.bound > 0 && run.bound <= count() + 0.5)
            out.lower_bound = std::max(out.lower_bound, static_cast<int>(std::ceil(run.bound - 1e-6)));
        if (count() > out.lower_bound) return finish(true);
    }

    // Then the least cost at that count. Each column also costs more than any cover's cost sum:
    // measured on the bench files, the solver settles this much faster than the bare cost.
    const int dearest = std::max(1, *std::max_element(cost.begin(), cost.end()));
    const double per_column = static_cast<double>(count()) * dearest + 1;
    std::vector<double> objective(at(m.columns));
    for (int c = 0; c < m.columns; ++c) objective[at(c)] = per_column + cost[at(c)];
    SolverRun run = branch_and_cut(m, objective, count(), budget);
    adopt(run);
    out.cost_proven = run.optimal;
    return finish(!run.optimal);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
