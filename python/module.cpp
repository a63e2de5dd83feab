// The Python module `vormel`: minimize() over the library's public API, and its Result.
#include <optional>
#include <string>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <vormel/vormel.h>

#include "interruptible_run.h"
#include "source_arg.h"

namespace py = pybind11;
namespace api = vormel::api;

namespace {

api::Method method_of(const std::string& word) {
    if (word == "qmc") return api::Method::qmc;
    if (word == "cns") return api::Method::cns;
    if (word == "shared") return api::Method::shared;
    if (word == "exact") return api::Method::exact;
    throw py::value_error("method is 'qmc', 'cns', 'shared' or 'exact', not '" + word + "'");
}

api::Polarity polarity_of(const py::handle& mode) {
    const std::string word = py::str(mode).cast<std::string>();
    if (word == "1") return api::Polarity::one_set;
    if (word == "0") return api::Polarity::zero_set;
    if (word == "auto") return api::Polarity::automatic;
    if (word == "comb") return api::Polarity::combination;
    throw py::value_error("polarity is '1', '0', 'auto' or 'comb', not '" + word + "'");
}

// A finished run and what it was asked, so that its report can be had at another level.
struct PyResult {
    api::Result result;
    api::Source source;
    api::Options options;
};

// The run itself lets other Python threads go on: it touches no Python object.
api::Result run(const api::Source& source, const api::Options& options) {
    return vormel_python::interruptible_minimize(source, options);
}

PyResult minimize(const py::object& source, const std::string& method, const py::object& polarity, int rolexa,
                  double exact_limit, int threads, const std::optional<std::string>& format, bool import_pla,
                  int level, bool save_reports, const std::optional<api::StopToken>& stop) {
    api::Options options;
    if (stop) options.stop = *stop;
    options.method = method_of(method);
    options.polarity = polarity_of(polarity);
    options.rolexa = rolexa;
    options.exact_limit_seconds = exact_limit;
    options.threads = threads;
    options.display_level = level;
    options.save_reports = save_reports;
    api::Source input = vormel_python::source_of(source, format, import_pla);
    api::Result result = run(input, options);
    return {std::move(result), std::move(input), options};
}

std::string report(const PyResult& self, int level) {
    if (level == self.options.display_level) return self.result.report;
    api::Options options = self.options;
    options.display_level = level;
    options.save_reports = false;
    options.stop = api::StopToken();
    return run(self.source, options).report;
}

py::dict summary(const PyResult& self) {
    const py::object document = py::module_::import("json").attr("loads")(api::to_summary_json(self.result));
    return document["files"].cast<py::list>()[0].cast<py::dict>();
}

py::dict cost(const PyResult& self) {
    const api::Cost& cost = self.result.cost;
    py::dict figures;
    figures["terms"] = cost.terms;
    figures["literals"] = cost.input_literals;
    figures["output_literals"] = cost.output_literals;
    figures["gates"] = cost.gates;
    figures["gate_inputs"] = cost.gate_inputs;
    return figures;
}

py::list outputs(const PyResult& self) {
    py::list list;
    for (const api::Output& output : self.result.outputs) {
        py::dict item;
        item["name"] = output.name;
        item["relation"] = output.relation;
        item["other"] = output.other.empty() ? py::object(py::none()) : py::object(py::str(output.other));
        item["polarity"] = output.polarity;
        item["terms"] = output.terms;
        item["literals"] = output.literals;
        list.append(item);
    }
    return list;
}

}  // namespace

PYBIND11_MODULE(vormel, m) {
    m.doc() = "Minimizes multi-output two-level (AND/OR) Boolean logic: vormel.minimize(source) -> Result.";
    m.attr("__version__") = api::version();
    py::register_exception<api::InputError>(m, "InputError", PyExc_ValueError)
        .doc() = "The input was refused: the program's numbered message (\"Error 8: ...\"), or why the file cannot be read.";
    py::register_exception<api::RunError>(m, "RunError", PyExc_RuntimeError)
        .doc() = "The run ended without a result: memory, a limit (as Combination above its outputs), a failed proof.";

    py::class_<api::StopToken>(m, "StopToken",
                               "Stops a running minimize() of the shared or exact method from another thread: pass it as "
                               "stop=, call request_stop(); the call then raises vormel.RunError. The flag stays set.")
        .def(py::init<>())
        .def("request_stop", &api::StopToken::request_stop, "Asks the runs given this token to stop.")
        .def_property_readonly("stop_requested", &api::StopToken::stop_requested, "Whether request_stop() was called.");

    py::class_<PyResult>(m, "Result", "The result of minimize(): terms, equations, polarity, cost, proof and exports.")
        .def_property_readonly(
            "terms",
            [](const PyResult& self) {
                py::list terms;
                for (const api::Term& term : self.result.terms) terms.append(py::make_tuple(term.inputs, term.outputs));
                return terms;
            },
            "Product terms of the final table as (inputs, outputs) pairs: inputs '1-0' (- absent), outputs '10' (1 feeds).")
        .def_property_readonly(
            "equations", [](const PyResult& self) { return self.result.equations; },
            "The Boolean equations, one a line, shared terms (PT_n) first: 'SUM = /A * B + A * /B'.")
        .def_property_readonly(
            "polarity",
            [](const PyResult& self) {
                py::dict polarity;
                for (const api::Output& output : self.result.outputs) polarity[py::str(output.name)] = output.polarity;
                return polarity;
            },
            "Each output's polarity by name: 1 realised as is, 0 realised inverted (its terms give the complement).")
        .def_property_readonly("outputs", &outputs,
                               "Per output: name, relation (ordinary, constant_0, constant_1, identical, inverse), "
                               "other (the output it repeats), polarity, terms, literals.")
        .def_property_readonly("cost", &cost,
                               "The result's cost: terms, literals (input literals), output_literals, gates, gate_inputs.")
        .def_property_readonly(
            "proof", [](const PyResult& self) { return self.result.proof.outcome; },
            "'proven equal', 'proven minimum' (exact), or 'proven equal, at least N terms' (exact cut short by its limit).")
        .def_property_readonly(
            "lower_bound",
            [](const PyResult& self) -> py::object {
                if (!self.result.proof.exact) return py::none();
                return py::int_(self.result.proof.lower_bound);
            },
            "The exact method's lower bound on the terms (None for the other methods).")
        .def_property_readonly("inputs", [](const PyResult& self) { return self.result.input_names; }, "Input names.")
        .def_property_readonly("output_names", [](const PyResult& self) { return self.result.output_names; },
                               "Output names.")
        .def(
            "to_pla",
            [](const PyResult& self, bool phase) {
                return api::to_pla(self.result, phase ? api::PlaPhase::phase_line : api::PlaPhase::complemented_back);
            },
            py::arg("phase") = false,
            "The result as a .pla (type fd); phase=True keeps inverted outputs' terms and marks them in a .phase line.")
        .def("to_blif", [](const PyResult& self) { return api::to_blif(self.result); }, "The result as a BLIF model.")
        .def("to_verilog", [](const PyResult& self) { return api::to_verilog(self.result); },
             "The result as a structural Verilog module.")
        .def("to_eqn", [](const PyResult& self) { return api::to_eqn(self.result); }, "The result as eqn equations.")
        .def("summary", &summary, "The run's summary as a dict (the file entry of vormelc --summary, docs/summary.md).")
        .def("report", &report, py::arg("level") = 0,
             "The plain report text at display level 0..4; a level other than the run's runs the source again.")
        .def("__repr__", [](const PyResult& self) {
            return "<vormel.Result " + std::to_string(self.result.cost.terms) + " terms, " + self.result.proof.outcome + ">";
        });

    m.def("minimize", &minimize, py::arg("source"), py::arg("method") = "shared", py::arg("polarity") = "1",
          py::arg("rolexa") = 1, py::arg("exact_limit") = 60.0, py::arg("threads") = 0, py::kw_only(),
          py::arg("format") = py::none(), py::arg("import_pla") = false, py::arg("level") = 0,
          py::arg("save_reports") = false, py::arg("stop") = py::none(),
          R"(Minimizes a multi-output two-level function and returns a Result.

source: a path (str or os.PathLike) of a .tab, .tdf, .dcb, .pla or .bol file; the text of such a
    file (a str with line breaks; its format from `format` or its content); one equation (a str
    with "="); a list of equations ["Y = A * /B + C", ...]; or a truth table
    {"inputs": [...], "outputs": [...], "rows": ["01:1-", ...] or [("01", "1-"), ...]}.
method: "qmc", "cns" (per output), "shared" (all outputs together) or "exact" (a proven minimum).
polarity: "1", "0", "auto" or "comb".
rolexa: ROLEXA iterations, 0..9999.   exact_limit: seconds for the exact method.
threads: worker threads of the run (0: one per core); the result never depends on it.
format: the format of a text source ("pla", ".tab", "name.bol").   import_pla: read a .pla in the
    common dialect of other tools.   level: the report's display level 0..4.
save_reports: write FILE.rpt and FILE.rpt.rtf beside a file source, as vormelc does.
stop: a vormel.StopToken; its request_stop() from another thread ends a shared or exact run.
    Ctrl+C ends a run on the main thread with KeyboardInterrupt.

Raises vormel.InputError with the numbered message for input the program refuses, vormel.RunError
when the run ends without a result, ValueError or TypeError for arguments out of range. The GIL is
released while the run works, so runs on several threads go on side by side.)");
}
