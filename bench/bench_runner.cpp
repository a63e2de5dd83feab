#include "bench_runner.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "report/text_work_area.h"
#include "input/pla_import.h"
#include "run/command_fsm.h"
#include "run/session.h"

namespace vormel::bench {

namespace {

double now_seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Notes when each step starts ("...") and ends ("- done -") to time the steps of a level-0 run.
class TimingWindow : public SilentRunWindow {
public:
    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override {
        if (part != StepPart::status || step < 1 || step > 5) return;
        if (text == "...") started[step] = now_seconds();
        if (text == "- done -" && started[step] > 0 && ended[step] == 0) {
            ended[step] = now_seconds();
            if (on_done) on_done(step);
        }
        if (look == StepLook::error) failure = std::string(text);
    }
    std::function<void(int)> on_done;
    double started[6] = {0, 0, 0, 0, 0, 0};
    double ended[6] = {0, 0, 0, 0, 0, 0};
    std::string failure;
};

void write_all(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

RunFigures run_file(const std::string& input, const RunSettings& settings) {
    TextWorkArea area;
    TimingWindow window;
    Session session(area, window);
    RunContext& ctx = session.ctx;
    RunFigures figures;
    window.on_done = [&](int step) {
        // A level-0 run goes straight on; the level is raised only after the last asked step.
        if (step == settings.until_step) ctx.options.display_level = std::max(1, settings.level);
        if (step != 2) return;
        int primes = 0;
        for (int j = 0; j < session.primes.outputs(); ++j)
            for (int v = 0; v < 2; ++v) primes += std::max(session.primes.last(j, v) + 1, 0);
        figures.primes = primes;
    };
    std::ifstream file(input, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string input_text = text.str();
    if (settings.import_pla) {
        PlaImport imported = import_pla(input_text);
        if (!imported.error.empty()) {
            figures.failure = "cannot be imported: " + imported.error;
            return figures;
        }
        input_text = std::move(imported.text);
    }
    area.set_plain_text(input_text);
    ctx.input_text = input_text;
    ctx.report.set_text_size(9 * 20);
    ctx.input_file = input;
    ctx.options.display_level = settings.level;
    ctx.options.polarity_mode = settings.polarity_mode;
    ctx.options.prime_method = settings.prime_method;
    ctx.options.rolexa_iterations = settings.rolexa;
    ctx.options.exact_limit_seconds = settings.exact_limit_seconds;
    ctx.options.threads = settings.threads;
    ctx.options.page_by_page = 0;
    ctx.run_state = 4;
    const double start = now_seconds();
    do {
        Vormel_CommandFSM(session);
    } while (ctx.run_state != 10 && window.ended[settings.until_step] == 0);
    figures.total_seconds = now_seconds() - start;
    for (int step = 1; step <= 5; ++step) {
        if (window.ended[step] > 0) figures.step_seconds[step] = window.ended[step] - window.started[step];
    }
    figures.ok = window.failure.empty() && window.ended[settings.until_step] > 0;
    figures.failure = window.failure;
    if (settings.until_step >= 4 && window.ended[4] > 0) {
        const LiteralCounts counts = count_literals(session.problem.final_terms);
        figures.product_terms = counts.product_terms;
        figures.x_literals = counts.x_literals;
        figures.y_literals = counts.y_literals;
    }
    return figures;
}

std::string serialise(const RunFigures& f) {
    std::ostringstream out;
    for (int step = 1; step <= 5; ++step) out << f.step_seconds[step] << ' ';
    out << f.total_seconds << ' ' << f.primes << ' ' << f.product_terms << ' ' << f.x_literals << ' ' << f.y_literals
        << ' ' << f.ok << ' ' << (f.failure.empty() ? "-" : f.failure);
    return out.str();
}

RunFigures deserialise(const std::string& text) {
    RunFigures f;
    std::istringstream in(text);
    for (int step = 1; step <= 5; ++step) in >> f.step_seconds[step];
    in >> f.total_seconds >> f.primes >> f.product_terms >> f.x_literals >> f.y_literals >> f.ok;
    std::getline(in, f.failure);
    if (!f.failure.empty() && f.failure[0] == ' ') f.failure.erase(0, 1);
    if (f.failure == "-") f.failure.clear();
    return f;
}

// Runs work in a forked child; returns what it wrote and its peak resident memory.
template <typename Work>
std::string in_child(Work work, long& peak_kib, bool& crashed) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    std::fflush(nullptr);  // the child must not write the parent's buffered output again
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string result = work();
        write_all(channel[1], result);
        close(channel[1]);
        _exit(0);
    }
    close(channel[1]);
    const std::string result = read_all(channel[0]);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    peak_kib = usage.ru_maxrss;
    crashed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    return result;
}

}  // namespace

RunFigures run_file_in_child(const std::string& input, const RunSettings& settings) {
    long peak = 0;
    bool crashed = false;
    const std::string text = in_child([&] { return serialise(run_file(input, settings)); }, peak, crashed);
    RunFigures figures = crashed || text.empty() ? RunFigures{} : deserialise(text);
    if (crashed) figures.failure = "crashed";
    figures.peak_kib = peak;
    return figures;
}

RunFigures median_of(const std::vector<RunFigures>& runs) {
    RunFigures result = runs.front();
    auto median = [&](auto field) {
        std::vector<double> values;
        for (const RunFigures& run : runs) values.push_back(field(run));
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    for (int step = 1; step <= 5; ++step) result.step_seconds[step] = median([&](const RunFigures& r) { return r.step_seconds[step]; });
    result.total_seconds = median([](const RunFigures& r) { return r.total_seconds; });
    result.peak_kib = static_cast<long>(median([](const RunFigures& r) { return static_cast<double>(r.peak_kib); }));
    for (const RunFigures& run : runs) result.ok = result.ok && run.ok;
    return result;
}

ThroughputFigures measure_report_throughput(const std::string& folder, int lines, int width) {
    ThroughputFigures figures;
    std::string line(static_cast<std::size_t>(width), 'x');
    for (int i = 0; i < width; i += 10) line[static_cast<std::size_t>(i)] = static_cast<char>('0' + (i / 10) % 10);
    figures.report_bytes = static_cast<double>(lines) * (width + 2);

    long peak = 0;
    bool crashed = false;
    const std::string report_path = folder + "/throughput.rpt";
    const std::string seconds = in_child(
        [&] {
            TextWorkArea area;
            SilentRunWindow window;
            RunContext ctx(area, window);
            ctx.options.page_by_page = 0;
            ctx.report.set_text_size(9 * 20);
            const double start = now_seconds();
            for (int i = 0; i < lines; ++i) ctx.report.display_text(line, 1);
            ctx.report.flush_display(0);
            std::ofstream out(report_path, std::ios::binary);
            area.write_plain(out);
            out.close();
            return std::to_string(now_seconds() - start);
        },
        peak, crashed);
    figures.report_seconds = std::atof(seconds.c_str());
    figures.report_peak_kib = peak;

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(figures.report_bytes));
    for (int i = 0; i < lines; ++i) bytes.append(line).append("\r\n");
    const std::string plain_path = folder + "/throughput.raw";
    const double start = now_seconds();
    std::FILE* out = std::fopen(plain_path.c_str(), "wb");
    if (out) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    figures.fwrite_seconds = now_seconds() - start;
    std::filesystem::remove(report_path);
    std::filesystem::remove(plain_path);
    return figures;
}

}  // namespace vormel::bench
