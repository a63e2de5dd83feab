#pragma once
#include <cstddef>

#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel {

// True when the `count` outputs of a step may be worked on at once: more than one of them and
// more than one thread, no pauses and no more than a line per output in the report (the report of
// each output waits until its turn).
bool outputs_at_once(const RunContext& ctx, std::size_t count);

// A run context for one output's work off the run's thread: the run's options and state, a quiet
// window and a report channel that records. replay_into makes the recorded report calls on the
// run's channel and carries over the failure flags and the timed seconds.
class SideRun {
public:
    explicit SideRun(const RunContext& run);
    SideRun(const SideRun&) = delete;
    SideRun& operator=(const SideRun&) = delete;

    RunContext& ctx() { return ctx_; }
    void replay_into(RunContext& run);
    // Nothing recorded, no failure and no fault: the work left no trace in the report.
    bool quiet() const;

private:
    TextWorkArea area_;
    SilentRunWindow window_;
    RunContext ctx_;
    ChannelLog log_;
};

}  // namespace vormel
