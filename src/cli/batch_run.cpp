#include "cli/batch_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <fmt/format.h>

#include "cli/run_outputs.h"
#include "export/summary_json.h"
#include "run/export_result.h"
#include "run/report_files.h"

extern char** environ;

namespace vormel {

namespace {

namespace fs = std::filesystem;

struct Job {
    std::string file;
    std::string summary;  // the child's own summary file
    pid_t pid = -1;
    int exit_code = -1;
};

// This call's arguments without the input files and the options the batch itself handles.
std::vector<std::string> shared_arguments(int argc, char** argv, const std::vector<std::string>& files) {
    std::vector<std::string> args;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--jobs" || arg == "--summary") {
            ++k;
            continue;
        }
        if (arg.starts_with("--jobs=") || arg.starts_with("--summary=") || arg == "--") continue;
        if (std::find(files.begin(), files.end(), arg) != files.end()) continue;
        args.push_back(arg);
    }
    return args;
}

pid_t spawn(const std::vector<std::string>& args) {
    std::vector<char*> pointers;
    for (const std::string& arg : args) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, pointers.data(), environ) != 0) return -1;
    return pid;
}

int wait_for(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The one entry of a child's summary document, or "" when it wrote none.
std::string entry_of(const std::string& document) {
    const auto open = document.find("\"files\": [\n");
    const auto close = document.rfind("\n  ]\n}");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    const auto start = open + std::string("\"files\": [\n").size();
    return document.substr(start, close - start);
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

int run_batch(int argc, char** argv, const std::vector<std::string>& files, const OutputOptions& options) {
    for (const std::string& target : options.exports) {
        if (export_path_for(target, "input") == target) {
            std::cerr << "vormelc: with several input files --export takes pla, blif, v or eqn (written beside each "
                         "input), not the file name '" << target << "'\n";
            return 2;
        }
    }
    if (!options.kmap.empty() || !options.diagram.empty()) {
        std::cerr << "vormelc: --kmap and --diagram name one file: give them with one input file\n";
        return 2;
    }
    const fs::path scratch = fs::temp_directory_path() / fmt::format("vormelc-batch-{}", getpid());
    std::error_code error;
    fs::create_directories(scratch, error);
    if (error) {
        std::cerr << "vormelc: cannot create " << scratch.string() << '\n';
        return 1;
    }

    std::vector<std::string> base = {"vormelc"};
    const std::vector<std::string> shared = shared_arguments(argc, argv, files);
    base.insert(base.end(), shared.begin(), shared.end());
    const bool at_once = options.jobs > 1;
    if (at_once) base.push_back("--quiet");  // reports of parallel runs would interleave

    std::vector<Job> jobs(files.size());
    std::size_t next = 0, running = 0, done = 0;
    std::vector<std::size_t> active;
    while (done < jobs.size()) {
        while (next < jobs.size() && running < static_cast<std::size_t>(options.jobs)) {
            Job& job = jobs[next];
            job.file = files[next];
            job.summary = (scratch / fmt::format("{}.json", next)).string();
            std::vector<std::string> args = base;
            args.insert(args.end(), {"--summary", job.summary, "--", job.file});
            job.pid = spawn(args);
            if (job.pid < 0) {
                ++done;
            } else {
                ++running;
                active.push_back(next);
            }
            ++next;
        }
        if (active.empty()) continue;
        int status = 0;
        const pid_t finished = waitpid(-1, &status, 0);
        if (finished < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (auto it = active.begin(); it != active.end(); ++it) {
            if (jobs[*it].pid != finished) continue;
            jobs[*it].exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
            active.erase(it);
            --running;
            ++done;
            break;
        }
    }
    for (std::size_t k : active) jobs[k].exit_code = wait_for(jobs[k].pid);

    int result = 0;
    std::string entries;
    std::size_t width = 4;
    for (const Job& job : jobs) width = std::max(width, job.file.size());
    std::string table = fmt::format("\n{:<{}}  {:<8} {:<8} {:>6} {:>8} {:>6} {:>9}\n", "file", width, "status", "proof",
                                    "terms", "literals", "gates", "seconds");
    for (const Job& job : jobs) {
        const std::string entry = entry_of(read_text(job.summary));
        if (job.exit_code != 0) result = 1;
        if (entry.empty()) {
            table += fmt::format("{:<{}}  {}\n", job.file, width,
                                 job.pid < 0 ? std::string("not started") : fmt::format("ended with code {}", job.exit_code));
            continue;
        }
        entries += (entries.empty() ? "" : ",\n") + entry;
        table += fmt::format("{:<{}}  {:<8} {:<8} {:>6} {:>8} {:>6} {:>9}\n", job.file, width,
                             unquoted(summary_field(entry, "status")), unquoted(summary_field(entry, "proof")),
                             summary_field(entry, "product_terms"), summary_field(entry, "literals"),
                             summary_field(entry, "gates"), summary_field(entry, "seconds"));
    }
    fs::remove_all(scratch, error);
    std::fflush(stdout);
    std::cout << table << std::flush;
    if (!options.summary.empty() && !write_summary(options.summary, summary_document(entries))) result = 1;
    return result;
}

}  // namespace vormel
