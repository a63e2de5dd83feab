// heuristic_quality: the shared heuristic on every benchmark PLA file: product terms, literals and
// time per file next to the peer's term count, and the totals. Each result is checked against the
// file's OFF-set and ON-set before it is counted.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cubes/cover_algebra.h"
#include "cubes/function_covers.h"
#include "cubes/input_words.h"
#include "model/problem.h"
#include "minimize/heuristic.h"
#include "report/clock.h"
#include "report/run_window.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"

namespace fs = std::filesystem;
using namespace vormel;

namespace {

// Reads and expands one file as a quiet run does; false when it cannot be read.
bool load(const fs::path& path, Session& session) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    session.ctx.input_file = path.string();
    session.ctx.options.display_level = 1;
    session.ctx.options.page_by_page = 0;
    session.ctx.work_area.set_plain_text(text.str());
    session.ctx.run_state = 4;
    Vormel_CommandFSM(session);
    return session.ctx.run_state == 5;
}

std::map<std::string, int> peer_terms(const fs::path& table) {
    std::map<std::string, int> terms;
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, inputs, outputs, esp_terms;
        std::getline(fields, name, '\t');
        std::getline(fields, inputs, '\t');
        std::getline(fields, outputs, '\t');
        std::getline(fields, esp_terms, '\t');
        if (!esp_terms.empty()) terms[name] = std::stoi(esp_terms);
    }
    return terms;
}

// The rows read the way the peer reads an fd-type PLA: a '-' makes its points unspecified even
// where another row says 1 or 0; everything neither 1 nor unspecified is 0.
cubes::FunctionCovers peer_reading(const Problem& problem) {
    cubes::FunctionCovers f;
    f.space = cubes::Space::of(problem.inputs(), problem.outputs());
    const cubes::Space& s = f.space;
    const cubes::Space single = cubes::Space::of(s.nx, 1);
    const TermTable& rows = problem.intab;
    std::vector<cubes::InputCover> ones(s.ny), dashes(s.ny), off(s.ny);
    for (int r = 0; r <= rows.last; ++r) {
        const cubes::InBits in = cubes::input_word(rows.x(r), rows.nx);
        for (int j = 0; j < s.ny; ++j) {
            if (rows.y(r)[j] == kOne) ones[j].push_back(in);
            if (rows.y(r)[j] == kDash) dashes[j].push_back(in);
        }
    }
    std::vector<cubes::Cover> dash_covers(s.ny);
    for (int j = 0; j < s.ny; ++j)
        for (const cubes::InBits& in : dashes[j]) dash_covers[j].push_back(cubes::Cube{in, {1, 0}});
    // A row keeps its outputs together where no '-' cuts into it; elsewhere it loses those points.
    for (int r = 0; r <= rows.last; ++r) {
        const cubes::InBits in = cubes::input_word(rows.x(r), rows.nx);
        cubes::Cube whole{in, {0, 0}};
        for (int j = 0; j < s.ny; ++j) {
            if (rows.y(r)[j] != kOne) continue;
            const cubes::Cube row{in, {1, 0}};
            const bool cut = std::any_of(dash_covers[j].begin(), dash_covers[j].end(),
                                         [&](const cubes::Cube& d) { return cubes::intersects(row, d, single); });
            if (!cut) {
                cubes::set_output(whole, j);
                continue;
            }
            for (const cubes::Cube& piece : cubes::sharp(row, dash_covers[j], single)) {
                cubes::Cube c{piece.in, {0, 0}};
                cubes::set_output(c, j);
                f.on.push_back(c);
            }
        }
        if (!cubes::outputs_empty(whole)) f.on.push_back(whole);
    }
    for (int j = 0; j < s.ny; ++j) {
        cubes::remove_contained_inputs(dashes[j]);
        cubes::InputCover specified = ones[j];
        specified.insert(specified.end(), dashes[j].begin(), dashes[j].end());
        off[j] = cubes::input_complement(specified, s);
    }
    f.dc = cubes::join_output_parts(dashes, s);
    f.off = cubes::join_output_parts(off, s);
    cubes::remove_contained(f.on);
    return f;
}

// The result meets no OFF cube, and with the don't-cares it covers every ON cube.
bool valid(const cubes::Cover& result, const cubes::FunctionCovers& f) {
    const cubes::Space& s = f.space;
    for (const cubes::Cube& c : result)
        for (const cubes::Cube& r : f.off)
            if (cubes::intersects(c, r, s)) return false;
    cubes::Cover with_dc = result;
    with_dc.insert(with_dc.end(), f.dc.begin(), f.dc.end());
    for (const cubes::Cube& c : f.on)
        if (!cubes::covers(with_dc, c, s)) return false;
    return true;
}

// CPU seconds of all threads of this process so far.
double process_cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + 1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// Prints every pass with the cover's cost.
class TracingObserver : public minimize::Observer {
public:
    explicit TracingObserver(const cubes::Space& s) : s_(s) {}
    void pass_done(std::string_view name, const cubes::Cover& f) override {
        int lits = 0;
        for (const cubes::Cube& c : f) lits += cubes::literal_count(c, s_) + cubes::output_count(c);
        fmt::print("    {:<18} {:>6} {:>7}\n", name, f.size(), lits);
    }

private:
    const cubes::Space& s_;
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Shared heuristic on the benchmark PLA files"};
    std::string folder = VORMEL_BENCH_DIR;
    int restarts = 0;
    bool no_sparse = false;
    bool trace = false;
    bool peer_dc = false;
    bool no_all_primes = false;
    std::string only;
    app.add_option("--bench", folder, "folder holding pla/ and peer_figures.tsv");
    app.add_option("--restarts", restarts, "further seeded runs");
    app.add_flag("--no-sparse", no_sparse, "skip MAKE_SPARSE");
    app.add_flag("--trace", trace, "print every pass");
    app.add_flag("--no-all-primes", no_all_primes, "skip the cover over all primes");
    app.add_flag("--peer-dc", peer_dc, "read '-' outputs as the peer does (unspecified even where a row says 1 or 0)");
    app.add_option("--only", only, "only files whose name contains this");
    CLI11_PARSE(app, argc, argv);

    const std::map<std::string, int> peer = peer_terms(fs::path(folder) / "peer_figures.tsv");
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "pla"))
        if (entry.path().extension() == ".pla" && entry.path().filename().string().find(only) != std::string::npos)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    fmt::print("{:<12} {:>3} {:>3} {:>6} {:>6} {:>6} {:>6} {:>6} {:>6} {:>9} {:>6} {:>6} {:>6} {:>6} {}\n", "file", "in", "out", "on", "dc", "off",
               "terms", "peer", "lits", "outlits", "sec", "cpu", "primes", "covers", "check");
    int total_terms = 0, total_peer = 0, at_most_peer = 0, failures = 0;
    double total_seconds = 0, worst_seconds = 0, total_cpu = 0, total_covers = 0;
    minimize::HeuristicPhaseSeconds phases;
    minimize::HeuristicParams params;
    params.restarts = restarts;
    params.make_sparse = !no_sparse;
    params.all_primes = !no_all_primes;
    for (const fs::path& path : files) {
        TextWorkArea area;
        SilentRunWindow window;
        Session session(area, window);
        if (!load(path, session)) {
            fmt::print("{:<12} not read\n", path.filename().string());
            ++failures;
            continue;
        }
        const double covers_start = monotonic_seconds();
        const cubes::FunctionCovers f =
            peer_dc ? peer_reading(session.problem) : cubes::function_covers(session.problem);
        const double covers_seconds = monotonic_seconds() - covers_start;
        total_covers += covers_seconds;
        minimize::Observer quiet;
        TracingObserver tracing(f.space);
        const double start = monotonic_seconds();
        const double cpu_start = process_cpu_seconds();
        const minimize::HeuristicResult r =
            minimize::minimize_heuristic(f.on, f.dc, f.off, f.space, params, trace ? tracing : quiet);
        const double seconds = monotonic_seconds() - start;
        const double cpu = process_cpu_seconds() - cpu_start;
        total_cpu += cpu;
        int out_lits = 0;
        for (const cubes::Cube& c : r.cover) out_lits += cubes::output_count(c);
        const bool ok = valid(r.cover, f);
        const std::string name = path.filename().string();
        const auto p = peer.find(name);
        const int peer_count = p == peer.end() ? -1 : p->second;
        fmt::print("{:<12} {:>3} {:>3} {:>6} {:>6} {:>6} {:>6} {:>6} {:>6} {:>9} {:>6.3f} {:>6.3f} {:>6.3f} {:>6.3f} {}{}{}\n", name, f.space.nx,
                   f.space.ny, f.on.size(), f.dc.size(), f.off.size(), r.stats.terms_after, peer_count, r.stats.literals_after,
                   out_lits, seconds, cpu, r.stats.seconds.all_primes, covers_seconds, ok ? "ok" : "FAILED",
                   peer_count >= 0 && r.stats.terms_after > peer_count ? "  above peer" : "",
                   r.stats.from_all_primes ? "  (all primes)" : "");
        std::cout.flush();
        total_terms += r.stats.terms_after;
        phases.expand += r.stats.seconds.expand;
        phases.irredundant += r.stats.seconds.irredundant;
        phases.essential += r.stats.seconds.essential;
        phases.reduce += r.stats.seconds.reduce;
        phases.last_gasp += r.stats.seconds.last_gasp;
        phases.make_sparse += r.stats.seconds.make_sparse;
        phases.restarts += r.stats.seconds.restarts;
        phases.all_primes += r.stats.seconds.all_primes;
        total_seconds += seconds;
        worst_seconds = std::max(worst_seconds, seconds);
        if (!ok) ++failures;
        if (peer_count >= 0) {
            total_peer += peer_count;
            if (r.stats.terms_after <= peer_count) ++at_most_peer;
        }
    }
    fmt::print("total terms {} (peer {}, ratio {:.4f}); at most the peer on {} of {} files; {:.3f} s in all "
               "({:.3f} s CPU), slowest {:.3f} s; {} failures\n",
               total_terms, total_peer, total_peer ? double(total_terms) / total_peer : 0.0, at_most_peer,
               files.size(), total_seconds, total_cpu, worst_seconds, failures);
    fmt::print("phases of the first run: expand {:.3f} irredundant {:.3f} essential {:.3f} reduce {:.3f} last gasp "
               "{:.3f} make sparse {:.3f}; restarts {:.3f} s; all primes {:.3f} s; ON, DC and OFF covers {:.3f} s\n",
               phases.expand, phases.irredundant, phases.essential, phases.reduce, phases.last_gasp,
               phases.make_sparse, phases.restarts, phases.all_primes, total_covers);
    return failures == 0 ? 0 : 1;
}
