#include "run/report_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <random>
#include <vector>

#include "report/run_context.h"
#include "report/run_threads.h"
#include "report/work_area.h"
#include "run/file_replacement.h"
#include "run/interrupt_guard.h"

namespace vormel {

namespace {

namespace fs = std::filesystem;

// An ostream's buffer over a file descriptor that keeps the first write error.
class FileSink : public std::streambuf {
public:
    FileSink(int fd, WriteWatch watch) : fd_(fd), watch_(watch) { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

protected:
    int overflow(int c) override {
        if (!drain()) return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const char* data = pbase();
        std::size_t left = static_cast<std::size_t>(pptr() - pbase());
        if (watch_.cancelled && watch_.cancelled->load()) error_ = ECANCELED;
        if (watch_.bytes && error_ == 0) *watch_.bytes += left;
        while (left > 0 && error_ == 0) {
            const ssize_t written = ::write(fd_, data, left);
            if (written < 0) {
                if (errno != EINTR) error_ = errno;
                continue;
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_ == 0;
    }

    int fd_;
    WriteWatch watch_;
    int error_ = 0;
    char buffer_[1 << 16];
};

// A file being written under a temporary name beside its target; removed unless committed.
class Temporary {
public:
    explicit Temporary(std::string target) : target_(std::move(target)) {}
    ~Temporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty() && !committed_) ::unlink(path_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    const std::string& target() const { return target_; }

    // Creates the temporary and writes it completely; errno-style error, 0 when done.
    template <typename Write>
    int write(Write fill, WriteWatch watch) {
        if (const int error = create(); error != 0) return error;
        guard_ = std::make_unique<RemovedOnInterrupt>(path_);
        // Before any data goes in, so the content is never readable by more than the old file's.
        if (const int error = keep_mode_and_owner(fd_, target_); error != 0) return error;
        FileSink sink(fd_, watch);
        std::ostream out(&sink);
        fill(out);
        out.flush();
        if (sink.error() != 0) return sink.error();
        if (!out) return EIO;
        // No fsync: it cost 30-50 ms a file, more than the whole run of most functions; the rename still
        // gives readers the old file or the new one whole, and every write error is seen before it.
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return errno;
        return 0;
    }

    int commit() {
        if (::rename(path_.c_str(), target_.c_str()) != 0) return errno;
        committed_ = true;
        guard_.reset();
        return 0;
    }

private:
    // A new file with a unique name in the target's folder: O_EXCL refuses any name that exists,
    // a planted link included, and the name stays short whatever the target's length.
    int create() {
        const fs::path folder = fs::path(target_).parent_path();
        static thread_local std::mt19937_64 random{std::random_device{}()};
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        const std::string prefix = temporary_prefix();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = prefix;
            for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
            const std::string path = (folder / name).string();
            fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = path;
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }

    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
    std::unique_ptr<RemovedOnInterrupt> guard_;
};

WriteFailure failure(const std::string& file, int error) {
    return {file, error == ENOMEM ? "Out of memory" : std::strerror(error), error};
}

// A directory (or anything but a file) in a target's place would fail its rename after the other
// file was already replaced: refused before any rename.
int check_target(const std::string& target) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(status.st_mode)) return EISDIR;
    return 0;
}

using Filler = std::function<void(std::ostream&)>;

// Writes every file to its temporary, all at once, then renames them in order. The failure reported
// is the first in file order, as if they were written one after another.
WriteFailure write_all(const std::vector<std::pair<std::string, Filler>>& files,
                       const std::function<void()>& between_renames, WriteWatch watch) {
    std::vector<std::unique_ptr<Temporary>> temporaries;
    std::vector<int> errors(files.size(), 0);
    try {
        remove_dead_temporaries(fs::path(files.front().first).parent_path().string());
        for (const auto& [target, fill] : files) {
            temporaries.push_back(std::make_unique<Temporary>(target));
            if (const int error = check_target(target); error != 0) {
                errors[temporaries.size() - 1] = error;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        return failure(temporaries.empty() ? files.front().first : temporaries.back()->target(), ENOMEM);
    }
    const std::size_t checked = temporaries.size();
    threads::for_each_index(std::size_t{0}, checked, [&](std::size_t i) {
        if (errors[i] != 0) return;
        try {
            errors[i] = temporaries[i]->write(files[i].second, watch);
        } catch (const std::bad_alloc&) {
            errors[i] = ENOMEM;
        }
    });
    for (std::size_t i = 0; i < checked; ++i) {
        if (errors[i] != 0) return failure(files[i].first, errors[i]);
    }
    // A cancel that came after the last buffer still keeps the old files.
    if (watch.cancelled && watch.cancelled->load()) return failure(files.front().first, ECANCELED);
    // Files written together are one result: a second writer of the same files renames its own
    // either before or after, never between, so the last one to get here owns all of them.
    std::optional<FolderLock> lock;
    if (temporaries.size() > 1) lock.emplace(fs::path(files.front().first).parent_path().string());
    const InterruptsDeferred deferred;
    for (std::size_t i = 0; i < temporaries.size(); ++i) {
        if (i > 0 && between_renames) between_renames();
        if (const int error = temporaries[i]->commit(); error != 0) return failure(temporaries[i]->target(), error);
    }
    return {};
}

}  // namespace

WriteFailure write_report_files(const WorkArea& area, const std::string& path,
                                const std::function<void()>& between_renames, WriteWatch watch) {
    // A window's work area brings its copy of the text up to date here, on the calling thread: the
    // two files are then written on two threads that only read it.
    (void)area.length();
    return write_all({{path + ".rtf", [&](std::ostream& out) { area.write_rich(out); }},
                      {path, [&](std::ostream& out) { area.write_plain(out); }}},
                     between_renames, watch);
}

void show_write_failure(RunContext& ctx, int step_field, const WriteFailure& failure) {
    ctx.window.set_step_field(step_field, StepPart::status, "Error", StepLook::error);
    if (step_field == 5) {
        if (failure.error == ENOMEM) ctx.diag.out_of_memory("write_report_files");
        // The report save at the end of a run: the reason stays in the work area, like check_file's.
        ctx.report.text_red(1);
        ctx.report.print_direct("*** Error: File not written:  " + failure.file + "  (" + failure.reason + ")", 1);
    }
    ctx.window.message_box(" Save Error", "File not written:  \r\n\r\n" + failure.file + "\r\n\r\n" + failure.reason,
                           MessageIcon::error, MessageButtons::ok);
    ctx.error_flag = -1;
}

WriteFailure write_text_file(const std::string& path, std::string_view text, WriteWatch watch) {
    return write_all({{path, [&](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); }}},
                     {}, watch);
}

}  // namespace vormel
