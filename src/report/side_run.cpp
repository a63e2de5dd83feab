#include "report/side_run.h"

#include "report/run_threads.h"

namespace vormel {

bool outputs_at_once(const RunContext& ctx, std::size_t count) {
    return count > 1 && ctx.options.display_level <= 1 && ctx.options.page_by_page == 0 &&
           threads::available() > 1;
}

SideRun::SideRun(const RunContext& run) : ctx_(area_, window_, run.clock, run.memory_probe) {
    ctx_.options = run.options;
    ctx_.run_state = run.run_state;
    ctx_.input_file = run.input_file;
    ctx_.report_file = run.report_file;
    ctx_.report.record_into(&log_);
    ctx_.diag.continue_memory_samples(run.diag);
}

bool SideRun::quiet() const {
    return log_.empty() && ctx_.error_flag == 0 && ctx_.error_count == 0 && ctx_.diag.last_fault().empty();
}

void SideRun::replay_into(RunContext& run) {
    run.report.replay(log_);
    log_.clear();
    run.diag.add_time(ctx_.diag.total_time());
    run.diag.add_memory_maxima(ctx_.diag);
    run.diag.take_failure(ctx_.diag);
    if (ctx_.error_flag != 0) run.error_flag = ctx_.error_flag;
    run.error_count += ctx_.error_count;
}

}  // namespace vormel
