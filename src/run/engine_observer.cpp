#include "run/engine_observer.h"

#include "minimize/cover_cost.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel::VORMEL_CUBE_CLASS {

std::string cover_figures(const cubes::Cover& cover, const cubes::Space& space, std::string_view terms) {
    const minimize::CoverCost cost = minimize::cover_cost(cover, space);
    return " " + std::string(terms) + " =" + format_mask("######", cost.terms) + "   Literals =" + format_mask("#######", cost.literals);
}

void EngineObserver::phase(std::string_view name) {
    ctx_.window.set_status_line(" *** " + std::string(name));
    if (ctx_.level() > 2) {
        ctx_.report.text_navy(0);
        ctx_.report.display_text(" --- " + std::string(name), 1);
    }
    ctx_.diag.poll_progress(0);
}

void EngineObserver::pass_done(std::string_view name, const cubes::Cover& cover) {
    if (ctx_.level() > 1) {
        std::string label(name);
        if (label.size() < 26) label.resize(26, ' ');
        ctx_.report.display_text(" " + label + ":" + cover_figures(cover, space_), 1);
    }
    ctx_.diag.poll_progress(0);
}

bool EngineObserver::keep_going() {
    ctx_.diag.poll_progress(0);
    return !ctx_.stop_asked();
}

}  // namespace vormel::VORMEL_CUBE_CLASS
