#include "run/picture_files.h"

#include <fmt/format.h>

#include "export/gate_diagram_geometry.h"
#include "export/kmap_geometry.h"
#include "export/result_view.h"
#include "export/svg_writer.h"
#include "model/problem.h"
#include "run/report_files.h"

namespace vormel {

bool has_final_result(const Problem& problem) {
    // A proven run: the minterm comparison had the expanded table, or the cube methods' proof passed.
    const bool proven = (problem.inputs() <= kMaxInputs && problem.extab.rows() == (1 << problem.inputs())) ||
                        problem.cube_proof == ProofOutcome::passed;
    return problem.outputs() > 0 && problem.final_terms.nx == problem.inputs() &&
           problem.out_code.size() == static_cast<std::size_t>(problem.outputs()) && proven;
}

std::optional<Picture> result_picture(const Problem& problem, PictureKind kind, std::string& why_not) {
    if (!has_final_result(problem)) {
        why_not = "there is no final result to draw";
        return std::nullopt;
    }
    const ResultView view = result_view(problem, "");
    if (kind == PictureKind::gate_diagram) {
        // Past this a diagram is a wall of lines that no one can follow (and an SVG of many megabytes).
        if (problem.inputs() > kMaxDiagramInputs || problem.final_terms.rows() > kMaxDiagramTerms) {
            why_not = fmt::format("gate diagrams are drawn for up to {} inputs and {} product terms, this result has {} and {}",
                                  kMaxDiagramInputs, kMaxDiagramTerms, problem.inputs(), problem.final_terms.rows());
            return std::nullopt;
        }
        return draw_gate_diagram(gate_diagram_geometry(problem, view));
    }
    if (problem.inputs() > kMaxKmapInputs) {
        why_not = fmt::format("Karnaugh maps are drawn for up to {} inputs, this problem has {}", kMaxKmapInputs,
                              problem.inputs());
        return std::nullopt;
    }
    return draw_kmaps(kmap_geometry(problem, view));
}

std::string write_result_picture(const Problem& problem, PictureKind kind, const std::string& path) {
    std::string why_not;
    const std::optional<Picture> picture = result_picture(problem, kind, why_not);
    if (!picture) return path + ": " + why_not;
    if (write_text_file(path, write_svg(*picture))) return path + ": cannot be written";
    return "";
}

}  // namespace vormel
