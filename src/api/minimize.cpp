#include <new>
#include <stdexcept>

#include <vormel/vormel.h>

#include "api/finished.h"
#include "api/result_of.h"
#include "api/source_text.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/headless_run.h"
#include "run/headless_window.h"
#include "run/run_facts.h"
#include "run/run_failure.h"
#include "run/session.h"

namespace vormel::api {

namespace {

// The program's code of an API enum value, listed in the enum's order; a value cast from elsewhere is refused.
template <typename Enum, std::size_t N>
int program_value(Enum value, const int (&codes)[N], const char* what) {
    const auto index = static_cast<std::size_t>(value);
    if (index >= N) throw std::invalid_argument(std::string("no such ") + what);
    return codes[index];
}

vormel::RunOptions run_options(const Options& options) {
    if (options.rolexa < 0 || options.rolexa > 9999) throw std::invalid_argument("rolexa must be 0 .. 9999");
    if (!vormel::valid_exact_limit(options.exact_limit_seconds)) {
        throw std::invalid_argument("exact_limit_seconds must be above 0 and at most 86400");
    }
    if (options.threads < 0) throw std::invalid_argument("threads must be 0 (one per core) or more");
    if (options.display_level < 0 || options.display_level > 4) throw std::invalid_argument("display_level must be 0 .. 4");
    vormel::RunOptions run;
    run.display_level = options.display_level;
    run.page_by_page = 0;
    run.rolexa_iterations = options.rolexa;
    run.exact_limit_seconds = options.exact_limit_seconds;
    run.threads = options.threads;
    run.prime_method = program_value(options.method, {vormel::method_qmc, vormel::method_cns, vormel::method_shared,
                                                      vormel::method_exact}, "method");
    run.polarity_mode = program_value(options.polarity, {vormel::polarity_one_set, vormel::polarity_zero_set,
                                                        vormel::polarity_automatic, vormel::polarity_combination},
                                      "polarity mode");
    return run;
}

// A run that ended without its result: the input's numbered error is the caller's to fix, the rest
// (a fault, a limit, a failed proof or save) is the run's.
[[noreturn]] void throw_failure(const vormel::Session& session, const std::string& failure) {
    const vormel::Diagnostics& diag = session.ctx.diag;
    if (diag.last_fault().empty() && failure == diag.first_error() && failure.starts_with("Error ")) {
        throw InputError(failure);
    }
    throw RunError(failure);
}

}  // namespace

Result minimize(const Source& source, const Options& options) {
    const vormel::RunOptions run = run_options(options);
    SourceText input = source_text(source);

    vormel::TextWorkArea area;
    vormel::HeadlessWindow window;
    vormel::Session session(area, window);
    vormel::RunContext& ctx = session.ctx;
    // The page length of vormelc's report, so that both give the same text.
    ctx.report.set_text_size(9 * 20);
    ctx.options = run;
    ctx.input_file = input.name;
    ctx.read_as_pla = source.import_pla;
    ctx.caller_stop = options.stop.flag();
    session.save_report_files = options.save_reports && source.kind == Source::Kind::file;

    std::string failure;
    try {
        vormel::begin_whole_run(session, std::move(input.text));
        vormel::Vormel_CommandFSM(session);
    } catch (const std::bad_alloc&) {
        failure = vormel::out_of_memory_outside_steps(session);
    }
    if (!session.report_saved) throw_failure(session, failure.empty() ? vormel::run_failure(session, window) : failure);

    auto finished = std::make_shared<Finished>();
    finished->input_file = ctx.input_file;
    finished->written = std::move(input.written);
    finished->facts = vormel::run_facts(session, window, source.import_pla, {});
    Result result = result_of(session.problem, finished->facts, finished->written);
    result.report = area.text();
    if (session.save_report_files) result.report_file = ctx.report_file;
    finished->problem = std::move(session.problem);
    result.finished = std::move(finished);
    return result;
}

std::string version() { return VORMEL_VERSION; }

}  // namespace vormel::api
