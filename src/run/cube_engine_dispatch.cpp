#include <iterator>

#include "report/number_format.h"
#include "run/cube_class_steps.h"
#include "run/cube_engine.h"
#include "run/session.h"

namespace vormel {

namespace {

using Step = void (*)(Session&);

struct ClassSteps {
    Step sets;
    Step cover;
    Step bundle;
};

#define VORMEL_CLASS_STEPS(index, name, in_words, out_words) {name::cube_sets, name::cube_cover, name::cube_bundle},
constexpr ClassSteps kSteps[] = {VORMEL_CUBE_CLASSES(VORMEL_CLASS_STEPS)};
#undef VORMEL_CLASS_STEPS
static_assert(std::size(kSteps) == cubes::kWidthClassCount);

// The class the steps after Cube_Sets run in; none when Cube_Sets refused the problem.
const ClassSteps* chosen(const Session& session) {
    const int k = session.engine.width_class;
    return k >= 0 && session.engine.per_class ? &kSteps[k] : nullptr;
}

}  // namespace

void Cube_Sets(Session& session) {
    RunContext& ctx = session.ctx;
    session.engine = CubeEngineState{};
    const int nx = session.problem.inputs();
    const int ny = session.problem.outputs();
    const int k = cubes::width_class_for(nx, ny, session.min_cube_class);
    if (k < 0) {
        ctx.current_sub = "Cube_Sets";
        ctx.report.display_blank();
        ctx.report.text_red(1);
        ctx.report.display_text(" *** The cube methods take at most" + STR(cubes::kMaxCubeInputs) + " Inputs and" +
                                    STR(cubes::kMaxCubeOutputs) + " Outputs; this Problem has" + STR(nx) + " x" + STR(ny) + ".",
                                1);
        ctx.report.flush_display(0);
        ctx.error_flag = -1;
        ctx.window.set_step_field(2, StepPart::status, "Error", StepLook::error);
        return;
    }
    session.engine.width_class = k;
    kSteps[k].sets(session);
}

void Cube_Cover(Session& session) {
    if (const ClassSteps* steps = chosen(session)) steps->cover(session);
}

void Cube_Bundle(Session& session) {
    if (const ClassSteps* steps = chosen(session)) steps->bundle(session);
}

}  // namespace vormel
