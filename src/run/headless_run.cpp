#include "run/headless_run.h"

#include <new>

#include "run/session.h"

namespace vormel {

void begin_whole_run(Session& session, std::string text) {
    RunContext& ctx = session.ctx;
    ctx.auto_run = -1;
    ctx.run_state = 4;
    ctx.diag.check_memory(1);
    ctx.work_area.set_plain_text(text);
    ctx.input_text = std::move(text);
}

std::string out_of_memory_outside_steps(Session& session) {
    try {
        session.ctx.work_area.clear();
        session.ctx.input_text.reset();
        session.ctx.diag.out_of_memory("read_input_file");
    } catch (const std::bad_alloc&) {
    }
    return "Out of memory";
}

}  // namespace vormel
