#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vormel {

class WorkArea;
struct RunContext;

// Why files were not written: the file that failed and the system's reason; empty when all were.
struct WriteFailure {
    std::string file;
    std::string reason;
    int error = 0;  // the errno value, ENOMEM when memory ran out
    explicit operator bool() const { return !file.empty(); }
};

// A long write watched from another thread: bytes counts what went out so far; setting cancelled
// stops it, and it then fails with ECANCELED like any other failure (no file replaced, none left).
struct WriteWatch {
    std::atomic<bool>* cancelled = nullptr;
    std::atomic<std::uint64_t>* bytes = nullptr;
};

// Writes the work area as plain text to path and as rich text to path + ".rtf", as one result: both
// go completely to temporaries first (unique names in the same folder, created exclusively and never
// through a link; mode and, where permitted, owner of the file replaced, else mode from the umask),
// and only then the .rtf and last the .rpt are renamed into place under a lock on the folder, so a
// new .rpt always has its .rtf, also against another run writing the same pair. On any failure
// neither file is replaced and no temporary is left; temporaries that killed writers left in the
// folder are removed. between_renames runs after the first rename (tests interrupt the program there).
WriteFailure write_report_files(const WorkArea& area, const std::string& path,
                                const std::function<void()>& between_renames = {}, WriteWatch watch = {});
// Writes text to path the same way: a temporary first, then renamed into place.
WriteFailure write_text_file(const std::string& path, std::string_view text, WriteWatch watch = {});
// Says which file was not written and why: the step's status field shows "Error" and a " Save Error"
// message names the file and the reason; for the save at the end of a run (step 5) the reason also
// goes into the report, after the out-of-memory report when memory ran out. Sets error_flag.
void show_write_failure(RunContext& ctx, int step_field, const WriteFailure& failure);

}  // namespace vormel
