#include "cli/run_outputs.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <new>

#include "export/summary_json.h"
#include "input/input_text.h"
#include "input/pla_import.h"
#include "run/export_result.h"
#include "run/picture_files.h"
#include "run/report_files.h"
#include "run/run_facts.h"
#include "run/session.h"

namespace vormel {

namespace {

std::string check_export(const std::string& target) {
    if (export_format_of(export_path_for(target, "input"))) return {};
    return "'" + target + "' names no export: a file ending in .pla, .blif, .v or .eqn, or one of pla, blif, v, eqn";
}

// A check that the file name ends in the extension (and has a name before it).
CLI::Validator file_ending_in(const std::string& extension, const std::string& kind) {
    return CLI::Validator(
        [extension, kind](const std::string& path) -> std::string {
            if (path.size() > extension.size() && path.ends_with(extension)) return {};
            return "'" + path + "' is no " + kind + " file name: it must end in " + extension;
        },
        "FILE" + extension);
}

}  // namespace

void add_output_options(CLI::App& app, OutputOptions& options) {
    app.add_flag("--import", options.import_pla,
                 "Read FILE in the common PLA dialect of other tools (.type f fd fr fdr as those tools mean\n"
                 "them, .phase, cube synonyms 2 3 4 ~, names as written); the report shows the converted text");
    app.add_option("--export", options.exports,
                   "Write the result to FILE.pla, FILE.blif, FILE.v or FILE.eqn (repeatable); a bare\n"
                   "pla, blif, v or eqn writes beside the input as INPUT.pla, INPUT.blif, ...")
        ->check(CLI::Validator(check_export, "FILE"))
        ->allow_extra_args(false);
    app.add_flag("--pla-phase", options.pla_phase,
                 "Exported PLA files keep the terms of outputs realised inverted and mark them in a .phase\n"
                 "line (read by few tools) instead of complementing them back");
    app.add_option("--summary", options.summary,
                   "Write a JSON summary: per output polarity, terms and literals, the gate count, the\n"
                   "proof, the options and the step times; one entry per input file, failed ones with\n"
                   "their reason (fields in docs/summary.md)")
        ->check(file_ending_in(".json", "JSON"));
    app.add_option("--kmap", options.kmap,
                   "Write the Karnaugh map of every output (up to 6 inputs) with the final cover's groups to FILE.svg")
        ->check(file_ending_in(".svg", "SVG"));
    app.add_option("--diagram", options.diagram, "Write the two-level gate diagram of the result to FILE.svg")
        ->check(file_ending_in(".svg", "SVG"));
    app.add_option("--jobs", options.jobs, "With several input files: how many run at once")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
}

std::string import_input(RunContext& ctx, std::string& text, OutputOptions& options) {
    // Any file name: the converted text is ours in .pla form, and the run reads it as such.
    PlaImport imported = import_pla(text);
    if (imported.out_of_memory) throw std::bad_alloc();
    if (!imported.error.empty()) return "cannot be imported: " + imported.error;
    text = std::move(imported.text);
    ctx.input_text = text;
    ctx.read_as_pla = true;
    options.imported_names = {std::move(imported.input_names), std::move(imported.output_names)};
    return {};
}

bool write_summary(const std::string& path, const std::string& document) {
    const WriteFailure failure = write_text_file(path, document);
    if (failure) std::cerr << "vormelc: the summary " << path << " cannot be written: " << failure.reason << '\n';
    return !failure;
}

bool write_run_outputs(const Session& session, const HeadlessWindow& window, const OutputOptions& options,
                       const std::string& failure) {
    const RunContext& ctx = session.ctx;
    bool written = true;
    if (session.report_saved) {
        const PlaPhase phase = options.pla_phase ? PlaPhase::phase_line : PlaPhase::complemented_back;
        for (const std::string& target : options.exports) {
            const std::string path = export_path_for(target, ctx.input_file);
            const std::string error = export_result(session.problem, ctx.input_file, path, phase, options.imported_names);
            if (error.empty()) continue;
            std::cerr << "vormelc: export " << error << '\n';
            written = false;
        }
        const std::pair<const std::string*, PictureKind> pictures[] = {{&options.kmap, PictureKind::kmaps},
                                                                       {&options.diagram, PictureKind::gate_diagram}};
        for (const auto& [path, kind] : pictures) {
            if (path->empty()) continue;
            const std::string error = write_result_picture(session.problem, kind, *path);
            if (error.empty()) continue;
            std::cerr << "vormelc: " << error << '\n';
            written = false;
        }
    }
    if (!options.summary.empty()) {
        const RunFacts facts = run_facts(session, window, options.import_pla, failure);
        written = write_summary(options.summary, summary_document(summary_entry(session.problem, facts))) && written;
    }
    return written;
}

}  // namespace vormel
