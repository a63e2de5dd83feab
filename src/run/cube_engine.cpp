#include "run/cube_engine.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "cubes/function_covers.h"
#include "minimize/exact.h"
#include "minimize/heuristic.h"
#include "minimize/point_bound.h"
#include "minimize/polarity_choice.h"
#include "model/problem.h"
#include "model/show_polarity.h"
#include "primes/prime_report.h"
#include "report/number_format.h"
#include "run/cube_class_steps.h"
#include "run/engine_observer.h"
#include "run/session.h"

// One width class's copy of the engine steps; run/cube_engine_dispatch.cpp picks the class.
namespace vormel::VORMEL_CUBE_CLASS {

namespace {

// The covers and the best result so far, in this class's cubes.
struct ClassState final : CubeClassState {
    cubes::FunctionCovers covers;     // the function as given (every output normal)
    minimize::PolarityChoice result;  // the best cover so far and its polarity
};

ClassState& class_state(Session& session) { return static_cast<ClassState&>(*session.engine.per_class); }

// Stops engine work on any thread once the window asks for a break.
class StopFlagObserver : public minimize::Observer {
public:
    explicit StopFlagObserver(const std::function<bool()>& stop) : stop_(stop) {}
    bool keep_going() override { return !stop_(); }

private:
    const std::function<bool()>& stop_;
};

bool is_exact(const RunContext& ctx) { return ctx.options.prime_method == method_exact; }

std::vector<int> uniform_polarity(const Problem& problem, int value) {
    return std::vector<int>(static_cast<std::size_t>(problem.outputs()), value);
}

std::string digits(const std::vector<int>& polarity) {
    std::string text;
    for (int v : polarity) text += static_cast<char>('0' + v);
    return text;
}

// The heuristic or the exact method on covers of one polarity, reporting through `observer`.
struct EngineRun {
    cubes::Cover cover;
    int lower_bound = 0;
    bool proven = false;
    std::string figures;  // the exact method's problem sizes, for the report
};

double seconds_left(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
}

// The exact method within what is left of the run's limit. The heuristic runs first: it is the
// cover to beat (the exact method never gives more than the shared one) and the answer when no time
// is left for the solver.
EngineRun run_exact(const RunContext& ctx, const cubes::FunctionCovers& f, minimize::Observer& observer,
                    std::chrono::steady_clock::time_point deadline) {
    EngineRun run;
    minimize::HeuristicParams shared;
    shared.restarts = ctx.options.rolexa_iterations;
    minimize::HeuristicResult h = minimize::minimize_heuristic(f.on, f.dc, f.off, f.space, shared, observer);
    if (h.stopped) return run;  // a Break: the caller sees it in the context
    const minimize::CoverCost heuristic_cost = minimize::cover_cost(h.cover, f.space);
    const double left = seconds_left(deadline);
    if (left <= 0) {
        run.cover = std::move(h.cover);
        run.lower_bound = minimize::incompatible_points_bound(f.on, f.off, f.space);
        run.proven = heuristic_cost.terms <= run.lower_bound;
        run.figures = " Time limit reached before the Solver started: the Heuristic's Cover";
        return run;
    }
    minimize::ExactParams params;
    params.time_limit_seconds = left;
    minimize::ExactResult r = minimize::minimize_exact(f.on, f.dc, f.off, f.space, params, observer);
    run.lower_bound = r.lower_bound;
    run.proven = r.proven;
    run.figures = " Prime Implicants =" + STR(r.prime_count) + "   Covering Rows =" + STR(r.row_count) +
                  "   Essential =" + STR(r.essential_count) + "   Left for the Solver =" + STR(r.core_rows) + " x" +
                  STR(r.core_columns);
    run.cover = std::move(r.cover);
    if (!r.proven && heuristic_cost < minimize::cover_cost(run.cover, f.space)) {
        run.cover = std::move(h.cover);
        run.figures += "   (the Heuristic's Cover was smaller)";
    }
    return run;
}

EngineRun run_engine(const RunContext& ctx, const cubes::FunctionCovers& f, minimize::Observer& observer, int restarts,
                     std::chrono::steady_clock::time_point exact_deadline = {}) {
    if (is_exact(ctx)) return run_exact(ctx, f, observer, exact_deadline);
    EngineRun run;
    minimize::HeuristicParams params;
    params.restarts = restarts;
    params.off_known = f.off_built;
    minimize::HeuristicResult r = minimize::minimize_heuristic(f.on, f.dc, f.off, f.space, params, observer);
    run.cover = std::move(r.cover);
    return run;
}

// A Break from the window (or a library caller's stop token) ends the run as a user break; the exact
// method's time limit does not.
bool stopped_by_user(RunContext& ctx) {
    if (ctx.stop_asked()) ctx.error_flag = -1;
    return ctx.failed();
}

void report_cover(RunContext& ctx, const std::string& what, const std::vector<int>& polarity, const cubes::Cover& cover,
                  const cubes::Space& space) {
    ctx.report.text_navy(1);
    ctx.report.display_text(" *** " + what + " for Polarity = " + digits(polarity) + ":" + cover_figures(cover, space), 1);
}

void report_exact_bound(RunContext& ctx, const CubeEngineState& engine, const ClassState& state) {
    const int terms = state.result.cost.terms;
    // A polarity search compares heuristic covers: the proof holds for the polarity solved, not
    // for every polarity.
    const int mode = ctx.options.polarity_mode;
    const std::string which = mode == polarity_automatic || mode == polarity_combination
                                  ? " for Polarity = " + digits(state.result.polarity)
                                  : std::string();
    if (engine.proven) {
        ctx.report.text_green(1);
        ctx.report.display_text(" *** Proven minimum:" + STR(terms) + " Product Terms" + which, 1);
    } else {
        ctx.report.text_red(1);
        ctx.report.display_text(" *** Time limit reached:" + STR(terms) + " Product Terms, at least" + STR(engine.lower_bound) + which, 1);
    }
}

}  // namespace

void cube_sets(Session& session) {
    RunContext& ctx = session.ctx;
    Problem& problem = session.problem;
    ctx.current_sub = "Cube_Sets";
    ctx.report.display_text(is_exact(ctx) ? " Prime Generation    : Exact - Minimum Cover by Branch and Cut "
                                          : " Prime Generation    : Shared - Multi-Output Cubes ",
                            1);
    if (ctx.options.polarity_mode == polarity_combination && problem.outputs() > minimize::kMaxCombinationOutputs) {
        ctx.report.display_blank();
        ctx.report.text_red(1);
        ctx.report.display_text(" *** Combination of all Polarities is limited to" + STR(minimize::kMaxCombinationOutputs) +
                                    " Outputs; this Problem has" + STR(problem.outputs()) + ". Use Automatic.",
                                1);
        ctx.report.flush_display(0);
        ctx.error_flag = -1;
        ctx.window.set_step_field(2, StepPart::status, "Error", StepLook::error);
        return;
    }
    ctx.diag.start_timer(" Cube sets");
    session.engine.per_class = std::make_unique<ClassState>();
    ClassState& state = class_state(session);
    try {
        // The shared method can do without an OFF cover, keeping every output as given; the exact
        // method's bound and the 0-Set need it.
        const bool off_optional = !is_exact(ctx) && ctx.options.polarity_mode != polarity_zero_set;
        state.covers = cubes::function_covers(problem, off_optional);
    } catch (const std::bad_alloc&) {
        ctx.diag.stop_timer(" Cube sets");
        report_out_of_memory(ctx, "Cube_Sets");
        return;
    }
    ctx.diag.stop_timer(" Cube sets");
    ctx.diag.check_memory(0);
    if (ctx.level() > 0) {
        step_heading(ctx, " *** Cube Sets (1):  ON-, DC- and OFF-Set of all Outputs as Cubes");
        const cubes::Space& s = state.covers.space;
        ctx.report.display_text(" ON-Set   :" + cover_figures(state.covers.on, s, "Cubes"), 1);
        ctx.report.display_text(" DC-Set   :" + cover_figures(state.covers.dc, s, "Cubes"), 1);
        if (state.covers.off_built)
            ctx.report.display_text(" OFF-Set  :" + cover_figures(state.covers.off, s, "Cubes"), 1);
        else
            ctx.report.display_text(" OFF-Set  : not built (too large); the cubes grow inside the ON- and DC-Set", 1);
        ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** Cube Sets done", 1);
        ctx.report.display_blank();
    }
    ctx.report.flush_display(0);
    stopped_by_user(ctx);
}

void cube_cover(Session& session) {
    RunContext& ctx = session.ctx;
    Problem& problem = session.problem;
    CubeEngineState& engine = session.engine;
    ClassState& state = class_state(session);
    ctx.current_sub = "Cube_Cover";
    if (ctx.level() > 0) {
        step_heading(ctx, is_exact(ctx) ? " *** Exact Cover (2):  All Prime Implicants and a Minimum Cover by Branch and Cut"
                                        : " *** Shared Cover (2):  Expand, Irredundant and Reduce on all Outputs at once");
    }
    const std::vector<int> polarity = uniform_polarity(problem, ctx.options.polarity_mode == polarity_zero_set ? 0 : 1);
    EngineObserver observer(ctx, state.covers.space);
    ctx.diag.start_timer(" Cover");
    EngineRun run;
    try {
        // With a requested polarity the ROLEXA restarts run here; a polarity search runs them on its winner.
        const bool search = (ctx.options.polarity_mode == polarity_automatic || ctx.options.polarity_mode == polarity_combination) &&
                            state.covers.off_built;
        engine.exact_deadline = std::chrono::steady_clock::now() +
                                std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                    std::chrono::duration<double>(ctx.options.exact_limit_seconds));
        run = run_engine(ctx, cubes::with_polarity(state.covers, polarity), observer,
                         search ? 0 : ctx.options.rolexa_iterations, engine.exact_deadline);
    } catch (const std::bad_alloc&) {
        ctx.diag.stop_timer(" Cover");
        report_out_of_memory(ctx, "Cube_Cover");
        return;
    }
    ctx.diag.stop_timer(" Cover");
    if (stopped_by_user(ctx)) return;
    state.result.polarity = polarity;
    state.result.cover = std::move(run.cover);
    state.result.cost = minimize::cover_cost(state.result.cover, state.covers.space);
    state.result.tried = 1;
    engine.lower_bound = run.lower_bound;
    engine.proven = run.proven;
    if (ctx.level() > 0) {
        ctx.report.display_blank();
        if (!run.figures.empty()) ctx.report.display_text(run.figures, 1);
        report_cover(ctx, "Cover", polarity, state.result.cover, state.covers.space);
        if (is_exact(ctx)) report_exact_bound(ctx, engine, state);
        ctx.report.display_blank();
    }
    ctx.report.flush_display(0);
}

namespace {

// The heuristic with these settings as a minimizer for the polarity searches, quiet but stoppable.
minimize::PolarityMinimizer search_minimizer(const minimize::HeuristicParams& params) {
    return [params](const cubes::FunctionCovers& f, const std::function<bool()>& halt) {
        StopFlagObserver quiet(halt);
        return minimize::minimize_heuristic(f.on, f.dc, f.off, f.space, params, quiet).cover;
    };
}

}  // namespace

void cube_bundle(Session& session) {
    RunContext& ctx = session.ctx;
    Problem& problem = session.problem;
    CubeEngineState& engine = session.engine;
    ClassState& state = class_state(session);
    ctx.current_sub = "Cube_Bundle";
    const int mode = ctx.options.polarity_mode;
    // Inverting an output makes its OFF part its ON part: without the OFF cover every output keeps
    // the 1-Set (an OFF part that large would be a poor ON part anyway).
    const bool search = (mode == polarity_automatic || mode == polarity_combination) && state.covers.off_built;
    const int restarts = is_exact(ctx) ? 0 : ctx.options.rolexa_iterations;
    if (ctx.level() > 0) {
        step_heading(ctx, is_exact(ctx) ? " *** Exact Bundle (3):  Output Polarity"
                                        : " *** Shared Bundle (3):  Output Polarity and ROLEXA Restarts");
    }
    EngineObserver observer(ctx, state.covers.space);
    // The exact method's search for a polarity ends at the run's limit too; a search cut short by it
    // is not used.
    const bool exact = is_exact(ctx);
    const auto deadline = engine.exact_deadline;
    const std::function<bool()> stop = [&ctx, exact, deadline] {
        return ctx.stop_asked() || (exact && seconds_left(deadline) <= 0);
    };
    // The polarity search ranks assignments by the heuristic from one start (the search runs its
    // assignments side by side already; the winner gets all primes in its final run); the exact
    // method then solves the winner. Combination first ranks its many assignments by one expansion each.
    minimize::HeuristicParams search_params;
    search_params.both_starts = false;
    search_params.all_primes = false;
    const minimize::PolarityMinimizer heuristic = search_minimizer(search_params);
    minimize::HeuristicParams estimate_params = search_params;
    estimate_params.make_sparse = false;
    estimate_params.loop = false;
    const minimize::PolarityMinimizer estimate = search_minimizer(estimate_params);
    if ((mode == polarity_automatic || mode == polarity_combination) && !state.covers.off_built) {
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** OFF-Set too large to build: every Output keeps its 1-Set", 1);
    }
    ctx.diag.start_timer(" Bundle processing");
    try {
        if (search) {
            minimize::PolarityChoice choice =
                mode == polarity_automatic
                    ? minimize::choose_polarity_automatic(state.covers, state.result, heuristic, stop, observer)
                    : minimize::choose_polarity_combination(state.covers, estimate, heuristic, stop, observer);
            if (!stopped_by_user(ctx) && !choice.stopped && choice.polarity != state.result.polarity) {
                if (exact) {
                    observer.phase("Exact Cover of the best Polarity");
                    const EngineRun run = run_engine(ctx, cubes::with_polarity(state.covers, choice.polarity), observer,
                                                     0, engine.exact_deadline);
                    choice.cover = run.cover;
                    choice.cost = minimize::cover_cost(run.cover, state.covers.space);
                    if (!stopped_by_user(ctx) && choice.cost < state.result.cost) {
                        engine.lower_bound = run.lower_bound;
                        engine.proven = run.proven;
                    }
                }
                if (!ctx.failed() && choice.cost < state.result.cost) state.result = std::move(choice);
            }
        }
        if (!ctx.failed() && search && restarts > 0) {
            observer.phase("ROLEXA Restarts");
            const EngineRun run =
                run_engine(ctx, cubes::with_polarity(state.covers, state.result.polarity), observer, restarts);
            const minimize::CoverCost cost = minimize::cover_cost(run.cover, state.covers.space);
            if (!stopped_by_user(ctx) && cost < state.result.cost) {
                state.result.cover = run.cover;
                state.result.cost = cost;
            }
        }
    } catch (const std::bad_alloc&) {
        ctx.diag.stop_timer(" Bundle processing");
        report_out_of_memory(ctx, "Cube_Bundle");
        return;
    }
    ctx.diag.stop_timer(" Bundle processing");
    if (ctx.failed()) return;

    problem.polarity = state.result.polarity;
    problem.final_terms = cubes::to_term_table(state.result.cover, state.covers.space, problem.polarity);
    const std::string kind = mode == polarity_automatic || mode == polarity_combination ? " Optimized Polarity = "
                                                                                        : " Requested Polarity = ";
    ctx.report.display_blank();
    if (ctx.level() > 0) report_cover(ctx, "Result", problem.polarity, state.result.cover, state.covers.space);
    if (is_exact(ctx)) report_exact_bound(ctx, engine, state);
    ctx.report.text_navy(1);
    ctx.report.display_text(" *** " + (restarts > 0 ? STR(restarts) + " ROLEXA Restart(s) done. " : std::string()) + kind +
                                polarity_digits(problem),
                            1);
    show_polarity(ctx, problem, true);
    ctx.report.flush_display(0);
    ctx.report.display_blank();
    ctx.diag.poll_progress(0);
}

}  // namespace vormel::VORMEL_CUBE_CLASS
