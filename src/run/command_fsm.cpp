#include "run/command_fsm.h"

#include <algorithm>
#include <new>
#include <optional>

#include <fmt/format.h>

#include <tbb/task_arena.h>

#include "cover/cover_select.h"
#include "input/expand_inputs.h"
#include "input/input_file.h"
#include "input/read_input.h"
#include "multiout/polarity_search.h"
#include "primes/cns.h"
#include "primes/qmc.h"
#include "report/run_threads.h"
#include "report/text_width.h"
#include "results/final_results.h"
#include "run/check_file.h"
#include "run/cube_engine.h"
#include "run/report_files.h"
#include "run/session.h"

namespace vormel {

namespace {

const char* const kStepCaptions[6][2] = {{"Open", "File:"},     {"Expand", "Input:"},       {"Generate", "Primes:"},
                                         {"Select", "Cover:"}, {"Bundle", "Optimization:"}, {"Final", "Results:"}};

StepLook look_of(int look) { return static_cast<StepLook>(look); }

void set_label_look(RunContext& ctx, int step, int look) {
    ctx.window.set_step_field(step, StepPart::label, "", look_of(look));
}

// Marks the step that ran as done and tells whether the machine goes straight on.
bool finish_step(Session& session, int step) {
    RunContext& ctx = session.ctx;
    ctx.window.set_start_quit_enabled(true);
    // A Break pressed during a cube-engine run ends it after the step, even one that never polls.
    if (cube_engine(ctx.options.prime_method) && ctx.stop_asked()) ctx.error_flag = -1;
    if (ctx.failed()) {
        handle_break(session);
        return false;
    }
    set_step_status(ctx, step, "- done -", 1);
    return ctx.options.display_level == 0;
}

// Step fields as a step starts: the previous one past, this one current.
void enter_step(RunContext& ctx, int step) {
    set_label_look(ctx, step - 1, 0);
    set_step_status(ctx, step - 1, "", 0);
    set_label_look(ctx, step, 1);
    set_step_status(ctx, step, "...", 1);
    ctx.window.set_start_quit_enabled(false);
}

const char* polarity_name(int mode) {
    switch (mode) {
        case polarity_zero_set: return "0-Set";
        case polarity_one_set: return "1-Set";
        case polarity_automatic: return "Automatic";
        default: return "Combination";
    }
}

void save_report(Session& session) {
    RunContext& ctx = session.ctx;
    ctx.run_state = 10;
    std::string message = " Output file ( .rpt ) NOT Saved";
    session.report_saved = false;
    if (!session.save_report_files) {
        message = " *** Report complete (not saved to files)";
        session.report_saved = true;
    } else if (check_file(ctx, 5, ctx.report_file, "w")) {
        const WriteFailure failure = write_report_files(ctx.work_area, ctx.report_file);
        if (!failure) {
            message = " *** Report Files Saved (ASCII: *.rpt and RTF: *.rpt.rtf)";
            session.report_saved = true;
        } else {
            show_write_failure(ctx, 5, failure);
        }
    }
    ctx.window.set_status_line(message);
    ctx.window.preset_save_dialog(ctx.report_file, 2);
    ctx.window.set_start_caption("Re-Start");
    ctx.window.set_quit_caption("Quit");
    ctx.window.set_prompt("Save As Report?", colours::navy);
    ctx.window.set_run_phase(RunPhase::saved);
    ctx.auto_run = 0;
}

void restart(Session& session) {
    RunContext& ctx = session.ctx;
    ctx.error_flag = 0;
    set_label_look(ctx, 5, 0);
    set_step_status(ctx, 5, "- done -", 0);
    ctx.window.set_polarity_line("");
    ctx.window.set_run_phase(RunPhase::idle);
    ctx.bundle_heading_pending = -1;
    reset_step_status(ctx);
    for (Option option : {Option::polarity, Option::method_qmc, Option::method_cns, Option::method_shared, Option::method_exact,
                          Option::rolexa, Option::page_by_page}) {
        ctx.window.set_option_enabled(option, true);
    }
    set_label_look(ctx, 0, 1);
    set_step_status(ctx, 0, "- done -", 1);
    ctx.window.set_work_area_read_only(false);
    ctx.work_area.clear();
    ctx.report.set_text_size(9 * 20);
    // The text the next run parses is the one shown: read once, here. A file that cannot be read
    // is left to the run's own read, which reports it.
    std::string text;
    ctx.input_text.reset();
    switch (load_input_file(ctx.input_file, text)) {
        case InputLoad::loaded:
            ctx.work_area.set_plain_text(text);
            ctx.input_text = std::move(text);
            break;
        case InputLoad::out_of_memory: ctx.diag.out_of_memory("restart"); break;
        case InputLoad::not_accessible: break;
    }
    ctx.work_area.caret_to_end();
    ctx.window.show_input_file("Input File: ", ctx.input_file);
    ctx.window.show_report_file("Report Files:", "");
    ctx.window.set_status_line(" Input File Opened =>  [Start]");
    ctx.window.preset_save_dialog(ctx.input_file, 1);
    ctx.window.set_time_text(" Time in sec");
    ctx.diag.check_memory(1);
    ctx.window.set_start_caption("Start");
    ctx.window.set_prompt("", colours::navy);
    ctx.diag.poll_progress(1);
    ctx.run_state = 4;
    ctx.window.set_file_buttons_enabled(true);
}

}  // namespace

void set_step_status(RunContext& ctx, int step, const std::string& text, int look) {
    ctx.window.set_step_field(step, StepPart::status, text, look_of(look));
}

void reset_step_status(RunContext& ctx) {
    for (int step = 0; step < 6; ++step) {
        ctx.window.set_step_field(step, StepPart::label,
                                  std::string(kStepCaptions[step][0]) + "\r\n" + kStepCaptions[step][1], StepLook::future);
        ctx.window.set_step_field(step, StepPart::status, " ", StepLook::future);
    }
    ctx.diag.poll_progress(0);
}

void print_run_header(RunContext& ctx) {
    ReportChannel& report = ctx.report;
    report.clear_buffer();
    report.display_blank();
    report.reset_line_count();
    const std::string title = std::string(" *** Start of ") + " Vormel " + " - " + version_label();
    report.display_heading(title);
    ctx.window.set_status_line(title);
    report.display_blank();
    report.display_text(" Input File :  " + ctx.input_file, 1);
    report.display_text(" Report File:  " + ctx.report_file, 1);
    report.display_text(" RTF File   :  " + ctx.report_file + ".rtf", 1);
    report.display_blank();
    report.flush_display(1);
}

void read_and_expand(Session& session) {
    RunContext& ctx = session.ctx;
    Problem& problem = session.problem;
    ctx.error_flag = 0;
    problem.qmc_replaced = false;
    ctx.diag.start_timer(" Read Input File");
    ctx.window.set_polarity_line("");
    print_run_header(ctx);
    read_input_file(ctx, problem);
    ctx.diag.stop_timer(" Read Input File");
    if (ctx.failed()) return;
    ctx.diag.start_timer(" Expand Inputs");
    ctx.window.set_status_line(" Expand Inputs");
    problem.rest_default = 0;
    expand_inputs(ctx, problem);
    ctx.diag.stop_timer(" Expand Inputs");
    if (ctx.error_count > 0) {
        ctx.error_flag = -1;
        return;
    }
    if (problem.inputs() > max_qmc_inputs && ctx.options.prime_method == method_qmc) {
        ctx.window.set_option_enabled(Option::method_qmc, false);
        ctx.options.prime_method = method_cns;
        ctx.window.show_prime_method(method_cns);
        problem.qmc_replaced = true;
        const std::string note = " QMC takes up to " + std::to_string(max_qmc_inputs) + " Inputs; this File has " +
                                 std::to_string(problem.inputs()) + ": CNS is used instead.";
        ctx.report.display_text("", 1);
        ctx.report.display_text(note, 1);
        ctx.window.set_status_line(note);
    }
    problem.ynames_maxlen = 0;
    for (const std::string& name : problem.ynames) {
        problem.ynames_maxlen = std::max(problem.ynames_maxlen, static_cast<int>(text_width(name)));
    }
}

namespace {

// Memory ran out somewhere in a step, its report or the report files: the fault report, then the run
// ends as after any failed step. The problem's tables go first, so that the report has room to grow.
void end_run_out_of_memory(Session& session) {
    RunContext& ctx = session.ctx;
    try {
        const std::string routine = ctx.current_sub;
        session.problem = Problem{};
        session.primes = PrimeStore{};
        ctx.diag.out_of_memory(routine);
        // The step never came back to stop its timer.
        if (const std::string timer = ctx.diag.timer_name(); !timer.empty()) ctx.diag.stop_timer(timer);
        if (ctx.run_state >= 5 && ctx.run_state <= 9) handle_break(session);
    } catch (const std::bad_alloc&) {
        // Not even the report's last lines fit; the run ends all the same.
        ctx.report.clear_buffer();
    }
    ctx.run_state = 10;
    ctx.auto_run = 0;
    ctx.window.set_start_quit_enabled(true);
    ctx.window.focus_start();
}

// Input rows times columns up to which a cube-method run finishes before a second thread would
// have started (a few milliseconds): thread start-up would cost more than it saves.
constexpr long kOneThreadCells = 1024;

bool small_cube_run(const Session& session) {
    const TermTable& rows = session.problem.intab;
    return static_cast<long>(rows.rows()) * (rows.nx + rows.ny) <= kOneThreadCells;
}

// Where the next states run: on the calling thread alone (loops inline, no pool started) or in
// the run's pool. A cube-method run reads its input on one thread, since the reading has no
// loops worth sharing, and keeps to it for small functions (the results are the same for any
// number of threads).
enum class Placement { one_thread, pool };

Placement placement(const Session& session) {
    const RunContext& ctx = session.ctx;
    if (ctx.options.threads == 1) return Placement::one_thread;
    if (!cube_engine(ctx.options.prime_method)) return Placement::pool;
    if (ctx.run_state < 5 || ctx.run_state > 9 || small_cube_run(session)) return Placement::one_thread;
    return Placement::pool;
}

// Runs states while they belong where this call runs; true when the rest belongs elsewhere.
bool run_states(Session& session, Placement here) {
    RunContext& ctx = session.ctx;
    for (;;) {
        if (placement(session) != here) return true;
        ctx.diag.poll_progress(1);
        if (session.query_closed) return false;
        ctx.work_area.caret_to_end();
        bool go_on = false;
        ctx.current_sub = "Vormel_CommandFSM";
        switch (ctx.run_state) {
            case 4: {
                ctx.report.print_direct("", 0);
                ctx.diag.reset_total_time();
                ctx.stop_requested = false;
                ctx.diag.clear_fault();
                ctx.diag.start_timer("");
                ctx.run_state = 5;
                set_label_look(ctx, 0, 0);
                set_step_status(ctx, 0, "- done -", 0);
                set_label_look(ctx, 1, 1);
                set_step_status(ctx, 1, "...", 1);
                ctx.window.set_run_phase(RunPhase::running);
                ctx.window.set_work_area_read_only(true);
                ctx.window.set_start_caption("Continue");
                ctx.window.set_quit_caption("Break");
                ctx.window.set_file_buttons_enabled(false);
                ctx.report_file = ctx.input_file + ".rpt";
                ctx.window.show_report_file("Report Files: ", ctx.report_file + " /.rtf");
                ctx.window.set_start_quit_enabled(false);
                read_and_expand(session);
                go_on = finish_step(session, 1);
                break;
            }
            case 5: {
                ctx.run_state = 6;
                enter_step(ctx, 2);
                ctx.report.display_text(" Polarity            : ", 0);
                ctx.report.display_text(polarity_name(ctx.options.polarity_mode), 1);
                if (ctx.options.prime_method == method_exact) {
                    ctx.report.display_text(" Time Limit          : " + fmt::format("{}", ctx.options.exact_limit_seconds) + " sec", 1);
                }
                ctx.report.flush_display(0);
                ctx.window.set_option_enabled(Option::polarity, false);
                ctx.window.set_option_enabled(Option::method_qmc, false);
                ctx.window.set_option_enabled(Option::method_cns, false);
                ctx.window.set_option_enabled(Option::method_shared, false);
                ctx.window.set_option_enabled(Option::method_exact, false);
                if (cube_engine(ctx.options.prime_method)) Cube_Sets(session);
                else if (ctx.options.prime_method == method_qmc) Primes_QMC(ctx, session.problem, session.primes);
                else Primes_CNS(ctx, session.problem, session.primes);
                go_on = finish_step(session, 2);
                break;
            }
            case 6:
                ctx.run_state = 7;
                enter_step(ctx, 3);
                if (cube_engine(ctx.options.prime_method)) Cube_Cover(session);
                else Cover_Single(ctx, session.problem, session.primes);
                go_on = finish_step(session, 3);
                break;
            case 7:
                ctx.run_state = 8;
                enter_step(ctx, 4);
                ctx.window.set_option_enabled(Option::rolexa, false);
                if (cube_engine(ctx.options.prime_method)) Cube_Bundle(session);
                else polarity_search(ctx, session.problem, session.primes);
                go_on = finish_step(session, 4);
                break;
            case 8:
                ctx.run_state = 9;
                enter_step(ctx, 5);
                final_results(ctx, session.problem);
                ctx.window.set_start_quit_enabled(true);
                if (ctx.failed()) {
                    handle_break(session);
                    break;
                }
                set_label_look(ctx, 5, 0);
                set_step_status(ctx, 5, "- done -", 0);
                go_on = true;
                break;
            case 9:
                save_report(session);
                break;
            case 10:
                restart(session);
                break;
            default:
                ctx.window.message_box(" Vormel System Error",
                                       " Vormel System Error 0 :\r\n Unknown State = " + std::string(" ") +
                                           std::to_string(ctx.run_state),
                                       MessageIcon::error, MessageButtons::ok);
                ctx.run_state = -1;
                return false;
        }
        if (ctx.failed()) ctx.run_state = 10;
        if (go_on || ctx.auto_run != 0) continue;
        ctx.window.focus_start();
        return false;
    }
}

}  // namespace

void Vormel_CommandFSM(Session& session) {
    try {
        // Made when first needed.
        std::optional<tbb::task_arena> arena;
        for (bool more = true; more;) {
            if (placement(session) == Placement::one_thread) {
                threads::OneThread one;
                more = run_states(session, Placement::one_thread);
                continue;
            }
            if (!arena) {
                // Every parallel loop of the run shares this many threads, at most one per core. Asked
                // outside any arena this is the cores the process may use; tbb::info's count would
                // load the pool's topology library (about 1 ms) for the same number.
                const int cores = tbb::this_task_arena::max_concurrency();
                const int threads = session.ctx.options.threads;
                arena.emplace(threads > 0 ? std::min(threads, cores) : cores);
            }
            arena->execute([&] { more = run_states(session, Placement::pool); });
        }
    } catch (const std::bad_alloc&) {
        end_run_out_of_memory(session);
    }
}

void start_command(Session& session) {
    RunContext& ctx = session.ctx;
    if (ctx.report.query_open()) return;  // the window answers its own query box
    if (ctx.run_state >= 1 && ctx.run_state <= 3) return;
    Vormel_CommandFSM(session);
}

void break_command(Session& session) {
    if (session.ctx.report.query_open()) return;
    handle_break(session);
}

BreakResult handle_break(Session& session) {
    RunContext& ctx = session.ctx;
    if (ctx.report.query_open()) {
        ctx.window.set_prompt("", colours::navy);
    }
    const std::string reason = ctx.error_count > 0 ? "Error" : "User Break";
    BreakResult result = BreakResult::run_ended;
    switch (ctx.run_state) {
        case 1:
        case 2:
        case 4:
        case 10: result = BreakResult::quit; break;
        case 3: result = BreakResult::ask_save_first; break;
        case 5:
        case 6:
        case 7:
        case 8: set_step_status(ctx, ctx.run_state - 4, reason, 3); break;
        case 9: set_step_status(ctx, 5, reason, 3); break;
        default: break;
    }
    if (ctx.run_state > 4 && ctx.run_state < 10) {
        ctx.window.set_status_line(" Output File not saved");
        ctx.window.set_quit_caption("Quit");
        ctx.window.set_start_caption("Re-Start");
        if (reason == "User Break") {
            ctx.report.display_blank();
            ctx.report.text_red(1);
            ctx.report.display_text(" *** " + reason, 1);
            ctx.report.flush_display(0);
        }
        ctx.run_state = 10;
        ctx.window.preset_save_dialog(ctx.report_file, 2);
        ctx.window.focus_start();
    }
    ctx.error_flag = 0;
    ctx.error_count = 0;
    ctx.auto_run = 0;
    return result;
}

}  // namespace vormel
