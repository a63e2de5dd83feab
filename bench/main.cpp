// vormel_bench: per-step times, peak memory and results of Vormel runs over benchmark inputs, next
// to the peer figures; and the report-channel throughput check.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "bench_runner.h"
#include "cli/run_option_flags.h"
#include "peer_figures.h"
#include "random_functions.h"
#include "side_by_side.h"

namespace fs = std::filesystem;
using namespace vormel::bench;

int main(int argc, char** argv) {
    CLI::App app{"Benchmark runner: runs each input in a child process and prints a table of figures"};
    std::string folder = VORMEL_BENCH_DIR "/pla";
    std::vector<std::string> files;
    RunSettings settings;
    int repeat = 3;
    double max_seconds = 60;
    bool throughput = false;
    int throughput_lines = 4194304;
    app.add_option("--dir", folder, "Folder of inputs (every file in it, sorted by name)");
    app.add_option("files", files, "Inputs (instead of --dir)");
    app.add_option("--until", settings.until_step, "Last step to run: 1 Expand, 2 Primes, 3 Cover, 4 Bundle, 5 Final")
        ->check(CLI::Range(1, 5));
    app.add_option("-l,--level", settings.level, "Display level")->check(CLI::Range(0, 4));
    vormel::add_polarity_option(app, settings.polarity_mode);
    vormel::add_method_options(app, settings.prime_method, settings.exact_limit_seconds);
    app.add_option("--rolexa", settings.rolexa, "ROLEXA iterations");
    app.add_flag("--import", settings.import_pla, "Read the inputs in the common PLA dialect of other tools (pla-wide/, pla-original/)");
    vormel::add_threads_option(app, settings.threads);
    app.add_option("--repeat", repeat, "Runs per file (the median is shown)");
    app.add_option("--skip-over", max_seconds, "Run a file only once when its first run takes longer (seconds)");
    app.add_flag("--report-throughput", throughput, "Measure the report channel instead");
    app.add_option("--lines", throughput_lines, "Lines for --report-throughput");
    SideBySideSettings side;
    side.vormelc = VORMELC_PATH;
    std::string own_args = "-q --method shared", peer_args;
    int random_count = 0;
    std::uint64_t seed = 1;
    std::string shape = "narrow";
    app.add_option("--peer", side.peer,
                   "Time the peer program side by side with vormelc (whole processes, alternating, medians)");
    app.add_option("--vormelc", side.vormelc, "vormelc to time with --peer")->capture_default_str();
    app.add_option("--own-args", own_args, "vormelc's options with --peer")->capture_default_str();
    app.add_option("--peer-args", peer_args, "The peer's options with --peer");
    app.add_option("--runs", side.runs, "Counted runs of each program with --peer")->check(CLI::Range(1, 100))
        ->capture_default_str();
    app.add_option("--random", random_count, "Inputs: this many random functions (common PLA dialect; use with "
                                             "--own-args '... --import')");
    std::string write_random;
    app.add_option("--write-random", write_random, "Write the --random functions into this folder and stop");
    app.add_option("--seed", seed, "Seed of --random")->capture_default_str();
    app.add_option("--shape", shape, "Shape of --random: narrow (4-16 inputs, 1-24 outputs, up to 400 rows, 0-50% "
                                     "don't-care rows) or wide-sparse (120-200 inputs, rows of 2-12 literals)")
        ->check(CLI::IsMember({"narrow", "wide-sparse"}))->capture_default_str();
    CLI11_PARSE(app, argc, argv);

    const fs::path work = fs::temp_directory_path() / fmt::format("vormel-bench-{}", ::getpid());
    fs::create_directories(work);

    if (throughput) {
        const ThroughputFigures f = measure_report_throughput(work.string(), throughput_lines, 130);
        fmt::print("lines\treport_bytes\treport_s\tfwrite_s\tratio\tpeak_MiB\tpeak/bytes\n");
        fmt::print("{}\t{:.0f}\t{:.3f}\t{:.3f}\t{:.2f}\t{:.0f}\t{:.2f}\n", throughput_lines, f.report_bytes,
                   f.report_seconds, f.fwrite_seconds, f.report_seconds / f.fwrite_seconds, f.report_peak_kib / 1024.0,
                   f.report_peak_kib * 1024.0 / f.report_bytes);
        fs::remove_all(work);
        return 0;
    }

    const fs::path random_folder = write_random.empty() ? work / "random" : fs::path(write_random);
    if (random_count > 0) {
        fs::create_directories(random_folder);
        files = write_random_functions(random_folder.string(), random_count, seed,
                                       shape == "narrow" ? RandomShape::narrow : RandomShape::wide_sparse);
        if (!write_random.empty()) {
            fs::remove_all(work);
            return 0;
        }
    }
    if (files.empty()) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            // Only inputs: reports or other files left in the folder are no benchmark.
            static const std::set<std::string> kinds = {".tab", ".tdf", ".dcb", ".pla", ".bol"};
            if (entry.is_regular_file() && kinds.count(entry.path().extension().string())) {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
    }
    if (!side.peer.empty()) {
        side.own_args = split_words(own_args);
        side.peer_args = split_words(peer_args);
        std::vector<SideBySideRow> rows;
        for (const std::string& file : files) {
            rows.push_back(compare_side_by_side(file, work.string(), side));
            std::fprintf(stderr, "\r%zu of %zu", rows.size(), files.size());
        }
        std::fprintf(stderr, "\n");
        const int failures = print_side_by_side(rows);
        fs::remove_all(work);
        return failures == 0 ? 0 : 1;
    }

    // A folder may carry its own figures (pla-wide/); else those beside it.
    const fs::path own_figures = fs::path(folder) / "peer_figures.tsv";
    const PeerTable peers = read_peer_figures(
        (fs::exists(own_figures) ? own_figures : fs::path(folder).parent_path() / "peer_figures.tsv").string());

    fmt::print("file\texpand_s\tprimes_s\tcover_s\tbundle_s\tfinal_s\ttotal_s\tpeak_MiB\tprimes\tterms\tx_lits\ty_lits"
               "\tok\tesp_terms\topo_terms\n");
    double total = 0;
    int failures = 0;
    for (const std::string& file : files) {
        // A run writes its reports beside its input: work on a copy.
        const fs::path copy = work / fs::path(file).filename();
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
        // Every run starts as a first run on a quiet disk: no reports of the last run to replace,
        // nothing of its writing still going on.
        const auto fresh_run = [&] {
            fs::remove(copy.string() + ".rpt");
            fs::remove(copy.string() + ".rpt.rtf");
            ::sync();
            return run_file_in_child(copy.string(), settings);
        };
        std::vector<RunFigures> runs{fresh_run()};
        for (int i = 1; i < repeat && runs.front().total_seconds < max_seconds; ++i) runs.push_back(fresh_run());
        const RunFigures f = median_of(runs);
        const std::string name = fs::path(file).filename().string();
        fmt::print("{}\t{:.3f}\t{:.3f}\t{:.3f}\t{:.3f}\t{:.3f}\t{:.3f}\t{:.1f}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\n", name,
                   f.step_seconds[1], f.step_seconds[2], f.step_seconds[3], f.step_seconds[4], f.step_seconds[5],
                   f.total_seconds, f.peak_kib / 1024.0, f.primes, f.product_terms, f.x_literals, f.y_literals,
                   f.ok ? "yes" : (f.failure.empty() ? "no" : f.failure), peer(peers, name, "esp_terms"),
                   peer(peers, name, "opo_terms"));
        std::fflush(stdout);
        total += f.total_seconds;
        failures += f.ok ? 0 : 1;
        fs::remove(copy);
        fs::remove(copy.string() + ".rpt");
        fs::remove(copy.string() + ".rpt.rtf");
    }
    // Stored peer times are no yardstick: --peer times both programs side by side.
    fmt::print("# total {:.3f} s; files not ok: {}\n", total, failures);
    fs::remove_all(work);
    return failures == 0 ? 0 : 1;
}
