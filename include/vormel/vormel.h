#pragma once
// Vormel as a library: minimizes multi-output two-level Boolean logic in memory.
//
//   vormel::api::Result result = vormel::api::minimize(vormel::api::from_file("half_adder.tab"));
//   std::cout << result.equations;
//
// A run reads no file but a file source, writes none unless Options::save_reports asks for the
// report files, and is independent of every other run: runs on several threads at once give the
// same results as one after another.
#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vormel::api {

// The problem: a file, the text of one in any of the formats (.tab .tdf .dcb .pla .bol), Boolean
// equations, or the rows of a truth table. Build one with the from_ functions.
struct Source {
    enum class Kind { file, text, equations, table };
    Kind kind = Kind::file;
    // file: its path. Otherwise the input's name: its extension says the format of a text, and the
    // reports and exports name the problem after it ("adder.tab" gives the module "adder").
    std::string name;
    std::string text;                     // text
    std::vector<std::string> lines;       // equations ("Y = A * /B + C"), or table rows ("01-:10")
    std::vector<std::string> input_names, output_names;  // table
    // A .pla file or text in the common PLA dialect of other tools (vormelc --import).
    bool import_pla = false;
};

// The file at path; its extension says the format.
Source from_file(std::string path, bool import_pla = false);
// The text of a file; `format` is a file name or an extension ("adder.pla", ".pla", "pla").
Source from_text(std::string text, std::string format, bool import_pla = false);
// Equations in the .bol format, one a string, as sums of products: "=", "*" or "&" or AND, "+" or
// "#" or OR, "/" or "!" or NOT before an input. A string without "=" continues the equation before it.
Source from_equations(std::vector<std::string> equations, std::string name = "equations.bol");
// A truth table: one row a string of the inputs' values, ":" and the outputs' values, each 0, 1
// or - (blanks ignored: "01:1-" or "0 1 : 1 -"); outputs of input points no row names are 0.
Source from_table(std::vector<std::string> input_names, std::vector<std::string> output_names,
                  std::vector<std::string> rows, std::string name = "table.tab");

enum class Method { qmc, cns, shared, exact };
enum class Polarity { one_set, zero_set, automatic, combination };

// Stops a running minimize() of the shared or exact method from any thread: the call then throws
// RunError with the user-break message within milliseconds. Copies share one flag, which stays set.
// The classic methods (qmc, cns) run to their end.
class StopToken {
public:
    void request_stop() const { flag_->store(true); }
    bool stop_requested() const { return flag_->load(); }
    const std::atomic<bool>* flag() const { return flag_.get(); }

private:
    std::shared_ptr<std::atomic<bool>> flag_ = std::make_shared<std::atomic<bool>>(false);
};

struct Options {
    Method method = Method::shared;
    Polarity polarity = Polarity::one_set;
    int rolexa = 1;                    // ROLEXA iterations, 0 .. 9999
    double exact_limit_seconds = 60;   // the exact method's time limit, above 0 and up to 86400
    int threads = 0;                   // worker threads of the run, 0: one per core; results never depend on it
    int display_level = 0;             // detail of the report text, 0 .. 4
    // Save FILE.rpt and FILE.rpt.rtf beside a file source, as vormelc does (other sources have no folder).
    bool save_reports = false;
    StopToken stop;  // keep a copy to stop the run from another thread
};

// One product term of the report's final table (every output by its own terms): its inputs'
// values ("1-0": 1, 0, or - where the input is absent) and the outputs it feeds ("101": 1 feeds).
struct Term {
    std::string inputs;
    std::string outputs;
};

// How an output is realised.
struct Output {
    std::string name;
    // "ordinary" (by terms of its own), "constant_0", "constant_1", "identical" or "inverse" (to `other`).
    std::string relation;
    std::string other;
    int polarity = 1;  // 0: the terms give the output's complement (ordinary outputs only)
    int terms = 0;
    int literals = 0;  // input literals of its terms
};

struct Cost {
    int terms = 0;
    int input_literals = 0;
    int output_literals = 0;
    long long gates = 0;
    long long gate_inputs = 0;
};

struct Proof {
    // "proven equal" (the result realises the input), "proven minimum" (exact: equal, and no cover
    // has fewer terms), "at least N terms" (exact cut short by its limit: equal, N a lower bound).
    std::string outcome;
    bool exact = false;
    bool minimum_proven = false;
    int lower_bound = 0;
};

struct Finished;  // the run's problem, for the exports

struct Result {
    std::vector<std::string> input_names, output_names;  // as the reader took them (upper case)
    std::vector<Term> terms;
    std::vector<Output> outputs;
    std::string equations;  // one line an equation, shared terms first: "SUM = /A * B + A * /B"
    Cost cost;
    Proof proof;
    std::string report;     // the plain report text at Options::display_level, '\n' line ends
    std::string report_file;  // where it was saved, when Options::save_reports saved it
    std::shared_ptr<const Finished> finished;
};

// Runs the whole minimization. Throws InputError when the input is refused (the first numbered
// message, "Error 8: ...", or why the file cannot be read or imported), RunError when the run
// ends otherwise without its result (memory, a limit, a failed proof, a report that cannot be
// saved), std::invalid_argument for options out of range.
Result minimize(const Source& source, const Options& options = {});

// The result in the formats of other tools (the texts of vormelc --export).
enum class PlaPhase { complemented_back, phase_line };
std::string to_pla(const Result& result, PlaPhase phase = PlaPhase::complemented_back);
std::string to_blif(const Result& result);
std::string to_verilog(const Result& result);
std::string to_eqn(const Result& result);
// The run's entry of vormelc --summary as a JSON document (docs/summary.md).
std::string to_summary_json(const Result& result);

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class InputError : public Error {
public:
    using Error::Error;
};
class RunError : public Error {
public:
    using Error::Error;
};

// The library's version, "0.1.0".
std::string version();

}  // namespace vormel::api
