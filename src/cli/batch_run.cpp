#include "cli/batch_run.h"

#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include <fmt/format.h>

#include "cli/child_processes.h"
#include "cli/run_outputs.h"
#include "cli/terminal_echo.h"
#include "export/summary_json.h"
#include "model/problem.h"
#include "run/export_result.h"
#include "run/input_path.h"
#include "run/run_facts.h"

namespace vormel {

namespace {

namespace fs = std::filesystem;

struct Job {
    std::string file;
    std::string summary;  // the child's own summary file
    std::string errors;   // what the child wrote to stderr
    pid_t pid = -1;
    int exit_code = -1;
};

// The options as parsed, for a run of one file: every option given except those the batch itself
// handles, each as --name=value so that no value can be taken for anything else.
std::vector<std::string> option_arguments(const CLI::App& app) {
    std::vector<std::string> args;
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_positional() || option->count() == 0 || option->get_lnames().empty()) continue;
        const std::string name = "--" + option->get_lnames().front();
        if (name == "--jobs" || name == "--summary") continue;
        if (option->get_type_size_max() == 0) {
            args.push_back(name);
            continue;
        }
        for (const std::string& value : option->results()) args.push_back(name + "=" + value);
    }
    return args;
}

// A folder of our own for the children's summaries and messages: made new, private, never reused.
std::string make_scratch_folder() {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "vormelc-batch-XXXXXX").string();
    if (error) pattern = "/tmp/vormelc-batch-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

// A file a child wrote into the scratch folder; "" unless it is a plain file there.
std::string read_own_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        char buffer[65536];
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

// The one entry of a child's summary document, or "" when it wrote none.
std::string entry_of(const std::string& document) {
    const std::string opening = "\"files\": [\n";
    const auto open = document.find(opening);
    const auto close = document.rfind("\n  ]\n}");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    const auto start = open + opening.size();
    return document.substr(start, close - start);
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

// Passes on what a run said on stderr, each line with its file's name.
void pass_on_messages(const Job& job) {
    const std::string text = read_own_file(job.errors);
    const std::string name = printable(job.file);
    std::string lines;
    for (std::size_t at = 0; at < text.size();) {
        auto end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.rfind("vormelc: ", 0) == 0) line.erase(0, 9);
        lines += "vormelc: " + name + ": " + line + "\n";
    }
    std::cerr << lines << std::flush;
}

// Why a run left no entry: it did not start, a signal ended it, or its summary could not be written.
std::string lost_entry_reason(const Job& job) {
    if (job.pid < 0) return "the run could not be started";
    if (job.exit_code > 128) return fmt::format("the run was ended by signal {}", job.exit_code - 128);
    return fmt::format("the run ended with status {} and left no summary entry", job.exit_code);
}

std::string table_heading(std::size_t width) {
    return fmt::format("\n{:<{}}  {:<8} {:<8} {:>6} {:>8} {:>6} {:>9}\n", "file", width, "status", "proof", "terms",
                       "literals", "gates", "seconds");
}

std::string table_row(const Job& job, std::size_t width, const std::string& entry) {
    const std::string status = unquoted(summary_field(entry, "status"));
    if (status != "saved") {
        return fmt::format("{:<{}}  {:<8} {}\n", printable(job.file), width, status,
                           unquoted(summary_field(entry, "failure")));
    }
    return fmt::format("{:<{}}  {:<8} {:<8} {:>6} {:>8} {:>6} {:>9}\n", printable(job.file), width, status,
                       unquoted(summary_field(entry, "proof")), summary_field(entry, "product_terms"),
                       summary_field(entry, "input_literals"), summary_field(entry, "gates"),
                       summary_field(entry, "seconds"));
}

}  // namespace

std::string refuse_batch_options(const OutputOptions& options) {
    for (const std::string& target : options.exports) {
        if (export_path_for(target, "input") == target) {
            return "with several input files --export takes pla, blif, v or eqn (written beside each input), not "
                   "the file name '" +
                   printable(target) + "'";
        }
    }
    if (!options.kmap.empty() || !options.diagram.empty()) return "--kmap and --diagram name one file: give them with one input file";
    return {};
}

int run_batch(const CLI::App& app, const std::vector<std::string>& files, const RunOptions& run,
              const OutputOptions& options, bool page_by_page) {
    // As in a single run: a reader that goes away ends only the table, a file-size limit fails only
    // the write that meets it.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    forward_interrupts_to_children();
    const std::string scratch = make_scratch_folder();
    if (scratch.empty()) {
        std::cerr << "vormelc: cannot create a scratch folder in " << printable(fs::temp_directory_path().string()) << '\n';
        return 1;
    }

    std::vector<std::string> base = {"vormelc"};
    const std::vector<std::string> shared = option_arguments(app);
    base.insert(base.end(), shared.begin(), shared.end());
    const bool at_once = options.jobs > 1;
    if (at_once) base.push_back("--quiet");  // reports of parallel runs would interleave

    std::vector<Job> jobs(files.size());
    std::size_t next = 0, running = 0;
    while (!interrupt_received() && (next < jobs.size() || running > 0)) {
        while (next < jobs.size() && running < static_cast<std::size_t>(options.jobs) && !interrupt_received()) {
            Job& job = jobs[next];
            job.file = files[next];
            job.summary = fmt::format("{}/{}.json", scratch, next);
            // Page prompts need the terminal; otherwise each run's messages wait for their file's name.
            job.errors = page_by_page ? std::string() : fmt::format("{}/{}.err", scratch, next);
            std::vector<std::string> args = base;
            args.insert(args.end(), {"--summary=" + job.summary, "--", job.file});
            job.pid = start_child(args, job.errors);
            if (job.pid > 0) ++running;
            ++next;
        }
        if (running == 0) continue;
        const ChildEnd end = wait_for_child();
        if (end.pid == 0) break;  // none left to wait for
        for (Job& job : jobs) {
            if (end.pid <= 0 || job.pid != end.pid || job.exit_code >= 0) continue;
            job.exit_code = end.status;
            --running;
            if (!job.errors.empty()) pass_on_messages(job);
        }
    }
    if (interrupt_received()) {
        while (running > 0) {
            const pid_t pid = wait_for_child().pid;
            if (pid == 0) break;
            if (pid > 0) --running;
        }
        std::error_code error;
        fs::remove_all(scratch, error);
        end_by_interrupt();
    }

    int result = 0;
    std::string entries;
    std::size_t width = 4;
    for (const Job& job : jobs) width = std::max(width, printable(job.file).size());
    std::string table = table_heading(width);
    for (const Job& job : jobs) {
        std::string entry = entry_of(read_own_file(job.summary));
        if (entry.empty()) {
            RunFacts facts = option_facts(run, options.import_pla);
            facts.file = resolve_input_path(job.file);
            facts.failure = lost_entry_reason(job);
            std::cerr << "vormelc: " << printable(job.file) << ": " << facts.failure << '\n';
            entry = summary_entry(Problem{}, facts);
        }
        if (job.exit_code != 0 || unquoted(summary_field(entry, "status")) != "saved") result = 1;
        entries += (entries.empty() ? "" : ",\n") + entry;
        table += table_row(job, width, entry);
    }
    std::error_code error;
    fs::remove_all(scratch, error);
    std::fflush(stdout);
    std::cout << table << std::flush;
    if (!options.summary.empty() && !write_summary(options.summary, summary_document(entries))) result = 1;
    return result;
}

}  // namespace vormel
