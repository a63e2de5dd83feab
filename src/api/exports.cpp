#include <vormel/vormel.h>

#include "api/finished.h"
#include "run/export_result.h"

namespace vormel::api {

namespace {

const Finished& finished_of(const Result& result) {
    if (!result.finished) throw std::invalid_argument("the result holds no finished run");
    return *result.finished;
}

std::string export_of(const Result& result, vormel::ExportFormat format, vormel::PlaPhase phase) {
    const Finished& run = finished_of(result);
    return vormel::export_text(run.problem, run.input_file, format, phase, run.written);
}

}  // namespace

std::string to_pla(const Result& result, PlaPhase phase) {
    return export_of(result, vormel::ExportFormat::pla,
                     phase == PlaPhase::phase_line ? vormel::PlaPhase::phase_line : vormel::PlaPhase::complemented_back);
}

std::string to_blif(const Result& result) {
    return export_of(result, vormel::ExportFormat::blif, vormel::PlaPhase::complemented_back);
}

std::string to_verilog(const Result& result) {
    return export_of(result, vormel::ExportFormat::verilog, vormel::PlaPhase::complemented_back);
}

std::string to_eqn(const Result& result) {
    return export_of(result, vormel::ExportFormat::equations, vormel::PlaPhase::complemented_back);
}

std::string to_summary_json(const Result& result) {
    const Finished& run = finished_of(result);
    return vormel::summary_document(vormel::summary_entry(run.problem, run.facts));
}

}  // namespace vormel::api
