#pragma once
#include <optional>
#include <string>

#include "export/pla_writer.h"
#include "export/result_view.h"

namespace vormel {

struct Problem;

enum class ExportFormat { pla, blif, verilog, equations };

// The format a file name asks for by its extension (.pla, .blif, .v, .eqn), none for any other.
std::optional<ExportFormat> export_format_of(const std::string& path);
// Where an export named by a bare format word ("pla", "blif", "v", "eqn") goes: beside the input,
// its name with the word appended ("adder.tab.blif"). Any other name is a path and stays as it is.
std::string export_path_for(const std::string& target, const std::string& input_file);

// The final result of the problem read from input_file in the format; `written` as in result_view.
std::string export_text(const Problem& problem, const std::string& input_file, ExportFormat format, PlaPhase phase,
                        const WrittenNames& written = {});

// Writes the export to path (temporary name first); "" when done, else the reason.
std::string export_result(const Problem& problem, const std::string& input_file, const std::string& path, PlaPhase phase,
                          const WrittenNames& written = {});

}  // namespace vormel
