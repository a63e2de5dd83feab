#include "run/export_result.h"

#include <filesystem>

#include "export/blif_writer.h"
#include "export/equation_writer.h"
#include "export/result_view.h"
#include "export/verilog_writer.h"
#include "model/problem.h"
#include "run/report_files.h"

namespace vormel {

namespace {
struct FormatWord {
    const char* word;
    ExportFormat format;
};
constexpr FormatWord kFormats[] = {
    {"pla", ExportFormat::pla}, {"blif", ExportFormat::blif}, {"v", ExportFormat::verilog}, {"eqn", ExportFormat::equations}};
}  // namespace

std::optional<ExportFormat> export_format_of(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    for (const FormatWord& f : kFormats) {
        if (extension == std::string(".") + f.word) return f.format;
    }
    return std::nullopt;
}

std::string export_path_for(const std::string& target, const std::string& input_file) {
    for (const FormatWord& f : kFormats) {
        if (target == f.word) return input_file + "." + f.word;
    }
    return target;
}

std::string export_text(const Problem& problem, const std::string& input_file, ExportFormat format, PlaPhase phase,
                        const WrittenNames& written) {
    const ResultView view = result_view(problem, input_file, written);
    switch (format) {
        case ExportFormat::pla: return write_pla(view, phase);
        case ExportFormat::blif: return write_blif(view);
        case ExportFormat::verilog: return write_verilog(view);
        case ExportFormat::equations: break;
    }
    return write_equations(view);
}

std::string export_result(const Problem& problem, const std::string& input_file, const std::string& path, PlaPhase phase,
                          const WrittenNames& written) {
    const std::optional<ExportFormat> format = export_format_of(path);
    if (!format) return path + ": the name must end in .pla, .blif, .v or .eqn";
    if (problem.final_terms.nx != problem.inputs() || problem.out_code.size() != static_cast<std::size_t>(problem.outputs())) {
        return path + ": there is no final result to export";
    }
    if (const WriteFailure failure = write_text_file(path, export_text(problem, input_file, *format, phase, written))) {
        return path + ": cannot be written (" + failure.reason + ")";
    }
    return "";
}

}  // namespace vormel
