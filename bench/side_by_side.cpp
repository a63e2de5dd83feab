#include "side_by_side.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fmt/format.h>

namespace fs = std::filesystem;

namespace vormel::bench {

namespace {

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

ProcessFigures median_figures(const std::vector<ProcessFigures>& runs) {
    std::vector<double> wall, cpu, peak;
    for (const ProcessFigures& r : runs) {
        wall.push_back(r.wall_seconds);
        cpu.push_back(r.cpu_seconds);
        peak.push_back(static_cast<double>(r.peak_kib));
    }
    ProcessFigures m;
    m.wall_seconds = median(wall);
    m.cpu_seconds = median(cpu);
    m.peak_kib = static_cast<long>(median(peak));
    m.exit_status = runs.empty() ? -1 : runs.back().exit_status;
    return m;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The integer after `"key": ` in a JSON text, or -1 (null or missing).
int json_int(const std::string& json, const std::string& key) {
    const std::string needle = "\"" + key + "\": ";
    const std::size_t at = json.find(needle);
    if (at == std::string::npos) return -1;
    const char* start = json.c_str() + at + needle.size();
    char* end = nullptr;
    const long value = std::strtol(start, &end, 10);
    return end == start ? -1 : static_cast<int>(value);
}

// The count of a PLA's ".p N" line, or -1.
int pla_terms(const std::string& pla) {
    std::istringstream lines(pla);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(".p ", 0) == 0) return std::atoi(line.c_str() + 3);
    return -1;
}

std::vector<std::string> with_file(std::vector<std::string> argv, const std::vector<std::string>& args,
                                   const std::string& file) {
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(file);
    return argv;
}

}  // namespace

ProcessFigures run_process(const std::vector<std::string>& argv, const std::string& stdout_path) {
    ProcessFigures figures;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = stdout_path.empty() ? open("/dev/null", O_WRONLY)
                                            : open(stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (pid < 0) return figures;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return figures;
    figures.wall_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    figures.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    figures.peak_kib = usage.ru_maxrss;
    figures.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return figures;
}

std::vector<std::string> split_words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

SideBySideRow compare_side_by_side(const std::string& input, const std::string& work,
                                   const SideBySideSettings& settings) {
    SideBySideRow row;
    row.file = fs::path(input).filename().string();
    // A run writes its reports beside its input: both programs read the same copy.
    const fs::path copy = fs::path(work) / row.file;
    fs::copy_file(input, copy, fs::copy_options::overwrite_existing);
    const std::vector<std::string> own = with_file({settings.vormelc}, settings.own_args, copy.string());
    const std::vector<std::string> peer = with_file({settings.peer}, settings.peer_args, copy.string());

    // The untimed first pair is the warm-up and gives the results.
    const fs::path summary = fs::path(work) / "summary.json";
    std::vector<std::string> own_counted = own;
    own_counted.insert(own_counted.end() - 1, {"--summary", summary.string()});
    row.own_ok = run_process(own_counted).exit_status == 0;
    row.own_terms = json_int(read_text(summary), "product_terms");
    const fs::path peer_out = fs::path(work) / "peer.pla";
    run_process(peer, peer_out.string());
    row.peer_terms = pla_terms(read_text(peer_out));

    std::vector<ProcessFigures> own_runs, peer_runs;
    for (int i = 0; i < settings.runs; ++i) {
        own_runs.push_back(run_process(own));
        peer_runs.push_back(run_process(peer));
        row.own_ok = row.own_ok && own_runs.back().exit_status == 0;
    }
    row.own = median_figures(own_runs);
    row.peer = median_figures(peer_runs);
    for (const char* extra : {".rpt", ".rpt.rtf"}) fs::remove(copy.string() + extra);
    fs::remove(copy);
    fs::remove(summary);
    fs::remove(peer_out);
    return row;
}

int print_side_by_side(const std::vector<SideBySideRow>& rows) {
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    fmt::print("file\twall_s\tpeer_wall_s\twall_x\tcpu_s\tpeer_cpu_s\tcpu_x\tpeak_MiB\tpeer_peak_MiB\tterms\tpeer_terms"
               "\tover\n");
    double wall = 0, peer_wall = 0, cpu = 0, peer_cpu = 0;
    int failures = 0, over = 0, fewer_or_equal = 0, compared = 0;
    for (const SideBySideRow& r : rows) {
        // The limit each file is held to: twice the peer's time and 20 ms.
        const bool too_slow = r.own.wall_seconds > 2 * r.peer.wall_seconds + 0.02 ||
                              r.own.cpu_seconds > 2 * r.peer.cpu_seconds + 0.02;
        fmt::print("{}\t{:.4f}\t{:.4f}\t{:.2f}\t{:.4f}\t{:.4f}\t{:.2f}\t{:.1f}\t{:.1f}\t{}\t{}\t{}\n", r.file,
                   r.own.wall_seconds, r.peer.wall_seconds, ratio(r.own.wall_seconds, r.peer.wall_seconds),
                   r.own.cpu_seconds, r.peer.cpu_seconds, ratio(r.own.cpu_seconds, r.peer.cpu_seconds),
                   r.own.peak_kib / 1024.0, r.peer.peak_kib / 1024.0, r.own_ok ? std::to_string(r.own_terms) : "failed",
                   r.peer_terms, too_slow ? "yes" : "");
        wall += r.own.wall_seconds;
        peer_wall += r.peer.wall_seconds;
        cpu += r.own.cpu_seconds;
        peer_cpu += r.peer.cpu_seconds;
        failures += r.own_ok ? 0 : 1;
        over += too_slow ? 1 : 0;
        if (r.own_ok && r.peer_terms >= 0) {
            ++compared;
            fewer_or_equal += r.own_terms <= r.peer_terms ? 1 : 0;
        }
    }
    fmt::print("# {} files: wall {:.3f} s vs peer {:.3f} s ({:.2f}x); cpu {:.3f} s vs peer {:.3f} s ({:.2f}x); "
               "above 2x peer + 20 ms: {}; terms at most the peer's: {} of {}; failed: {}\n",
               rows.size(), wall, peer_wall, ratio(wall, peer_wall), cpu, peer_cpu, ratio(cpu, peer_cpu), over,
               fewer_or_equal, compared, failures);
    return failures;
}

}  // namespace vormel::bench
