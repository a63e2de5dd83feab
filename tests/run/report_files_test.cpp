// Report-file faults: a planted link, a directory in the way, a full disk, a failed or interrupted
// write, two writers at once, long names. A good report is never replaced by a bad one, no temporary
// is left behind, and the failure names the file and the reason.
#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cli/vormelc_process.h"
#include "report/text_work_area.h"
#include "run/interrupt_guard.h"
#include "run/report_files.h"
#include "support/test_session.h"

namespace vormel::testing {
namespace {

namespace fs = std::filesystem;

// A report of some size, with colour, and its two file forms.
struct Report {
    TextWorkArea area;
    explicit Report(const std::string& tag, std::size_t lines = 200) {
        for (std::size_t i = 0; i < lines; ++i) area.append(tag + " line " + std::to_string(i) + "\r\n", colours::black, false);
        area.append(" *** End of " + tag + "\r\n", colours::navy, true);
    }
    std::string plain() const { return area.plain_text(); }
    std::string rich() const {
        std::ostringstream out;
        area.write_rich(out);
        return out.str();
    }
};

// A work area whose rich text cannot be produced: a failing stream, or memory running out.
class FailingRichArea : public TextWorkArea {
public:
    explicit FailingRichArea(bool out_of_memory) : out_of_memory_(out_of_memory) {}
    void write_rich(std::ostream& out) const override {
        out << "{\\rtf1 half a document";
        if (out_of_memory_) throw std::bad_alloc();
        out.setstate(std::ios::badbit);
    }

private:
    bool out_of_memory_;
};

// A folder holding an earlier good report of r.tab.
struct EarlierReport {
    TempDir dir;
    std::string path = dir.path() + "/r.tab.rpt";
    EarlierReport() {
        dir.write("r.tab.rpt", "old report");
        dir.write("r.tab.rpt.rtf", "old rich report");
    }
    bool untouched() const { return read_file(path) == "old report" && read_file(path + ".rtf") == "old rich report"; }
};

TEST(ReportFileFaults, PlantedLinksAreNeverFollowed) {
    // The temporary was FILE.rpt.part, opened without O_EXCL or O_NOFOLLOW: a link planted there
    // made a run overwrite any file the user could write.
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "precious");
    const std::string path = dir.path() + "/r.tab.rpt";
    for (const char* planted : {"/r.tab.rpt.part", "/r.tab.rpt.rtf.part", "/r.tab.rpt"}) {
        fs::create_symlink(victim, dir.path() + planted);
    }
    const Report report("new");
    EXPECT_FALSE(write_report_files(report.area, path));
    EXPECT_EQ(read_file(victim), "precious");
    EXPECT_EQ(fs::read_symlink(path + ".part"), victim);
    EXPECT_FALSE(fs::is_symlink(path));  // a link in the report's own place is replaced, not followed
    EXPECT_EQ(read_file(path), report.plain());
    EXPECT_EQ(read_file(path + ".rtf"), report.rich());
    EXPECT_EQ(folder_entries(dir.path()),
              (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.part", "r.tab.rpt.rtf", "r.tab.rpt.rtf.part", "victim.txt"}));
}

TEST(ReportFileFaults, ReportFilesTakeTheirModeFromTheUmask) {
    TempDir dir;
    const std::string path = dir.path() + "/m.tab.rpt";
    const mode_t saved = ::umask(027);
    const WriteFailure failure = write_report_files(Report("mode").area, path);
    ::umask(saved);
    ASSERT_FALSE(failure) << failure.reason;
    for (const std::string& file : {path, path + ".rtf"}) {
        struct stat status {};
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0640u) << file;
    }
}

TEST(ReportFileFaults, DirectoryInTheWayReplacesNeitherFile) {
    for (const char* blocked : {".rtf", ""}) {
        EarlierReport earlier;
        const std::string in_the_way = earlier.path + blocked;
        fs::remove(in_the_way);
        fs::create_directory(in_the_way);
        const WriteFailure failure = write_report_files(Report("new").area, earlier.path);
        EXPECT_EQ(failure.file, in_the_way);
        EXPECT_EQ(failure.reason, std::strerror(EISDIR));
        const std::string other = std::string(blocked).empty() ? earlier.path + ".rtf" : earlier.path;
        EXPECT_EQ(read_file(other), std::string(blocked).empty() ? "old rich report" : "old report");
        EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
    }
}

TEST(ReportFileFaults, FailedRichTextWriteKeepsTheEarlierReport) {
    // A failed .rtf write still replaced the .rpt, and the run said "NOT Saved".
    for (bool out_of_memory : {false, true}) {
        EarlierReport earlier;
        FailingRichArea area(out_of_memory);
        area.append("new report\r\n", colours::black, false);
        const WriteFailure failure = write_report_files(area, earlier.path);
        EXPECT_EQ(failure.file, earlier.path + ".rtf");
        EXPECT_EQ(failure.reason, out_of_memory ? "Out of memory" : std::strerror(EIO));
        EXPECT_TRUE(earlier.untouched());
        EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
    }
}

// A work area whose plain text, half written, is cancelled by the user.
class CancelledMidwayArea : public TextWorkArea {
public:
    explicit CancelledMidwayArea(std::atomic<bool>& cancelled) : cancelled_(cancelled) {}
    void write_plain(std::ostream& out) const override {
        out << std::string(1 << 20, 'x');
        cancelled_ = true;
        out << std::string(1 << 20, 'y');
    }

private:
    std::atomic<bool>& cancelled_;
};

TEST(ReportFileFaults, CancelledSaveKeepsTheEarlierReportAndLeavesNoTemporary) {
    for (const bool before_start : {true, false}) {
        EarlierReport earlier;
        std::atomic<bool> cancelled{before_start};
        CancelledMidwayArea area(cancelled);
        area.append("new report\r\n", colours::black, false);
        const WriteFailure failure = write_report_files(area, earlier.path, {}, {&cancelled, nullptr});
        EXPECT_EQ(failure.error, ECANCELED);
        EXPECT_TRUE(earlier.untouched());
        EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
    }
    // Not cancelled: all written, and the counter saw both files whole.
    EarlierReport earlier;
    const Report report("new", 20000);
    std::atomic<bool> cancelled{false};
    std::atomic<std::uint64_t> bytes{0};
    EXPECT_FALSE(write_report_files(report.area, earlier.path, {}, {&cancelled, &bytes}));
    EXPECT_EQ(read_file(earlier.path), report.plain());
    EXPECT_EQ(bytes.load(), report.plain().size() + report.rich().size());
}

TEST(ReportFileFaults, RunSaysWhichFileFailedAndWhy) {
    TempDir dir;
    const std::string input = dir.write("w.tab", "a:f\n1:1\n");
    fs::create_directory(input + ".rpt.rtf");
    const Outcome outcome = run_vormelc(dir, "-q " + shell_quoted(input));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("vormelc: Save Error: File not written:    " + input + ".rpt.rtf  " +
                               std::strerror(EISDIR)),
              std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt"));
}

// The earlier report survives a write that meets a file-size limit half-way, like a full disk.
void write_under_a_size_limit(const std::string& path) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const WriteFailure failure = write_report_files(Report("big", 2000).area, path);
    std::_Exit(failure.error == EFBIG && failure.file == path + ".rtf" ? 0 : 1);
}

TEST(ReportFileFaults, WriteThatMeetsAFileSizeLimitReplacesNothing) {
    EarlierReport earlier;
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(write_under_a_size_limit(earlier.path), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(earlier.untouched());
    EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
}

TEST(ReportFileFaults, FullDiskReplacesNothing) {
    // A real full disk: a 64 KiB tmpfs in a mount namespace of a child, where the system permits one.
    TempDir dir;
    const std::string mount_point = dir.path() + "/small";
    fs::create_directory(mount_point);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0) {
            std::_Exit(2);
        }
        const std::string path = mount_point + "/r.tab.rpt";
        const bool earlier = write_text_file(path, "old report").file.empty();
        const WriteFailure failure = write_report_files(Report("big", 20000).area, path);
        bool clean = true;
        for (const auto& entry : fs::directory_iterator(mount_point)) clean = clean && entry.path() == path;
        std::_Exit(earlier && failure.error == ENOSPC && read_file(path) == "old report" && clean ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Stopped by SIGTERM after the first rename: the second still happens before the program ends.
void write_and_stop_between_renames(const std::string& path) {
    install_interrupt_cleanup();
    write_report_files(Report("new").area, path, [] { ::raise(SIGTERM); });
    std::_Exit(0);
}

TEST(ReportFileFaults, KillBetweenTheTwoRenamesStillLeavesOneResult) {
    EarlierReport earlier;
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(write_and_stop_between_renames(earlier.path), ::testing::KilledBySignal(SIGTERM), "");
    const Report expected("new");
    EXPECT_EQ(read_file(earlier.path), expected.plain());
    EXPECT_EQ(read_file(earlier.path + ".rtf"), expected.rich());
    EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
}

// A work area that is interrupted while it is being written.
class InterruptedArea : public TextWorkArea {
public:
    void write_plain(std::ostream& out) const override {
        TextWorkArea::write_plain(out);
        ::raise(SIGTERM);
    }
};

void write_and_stop_while_writing(const std::string& path) {
    install_interrupt_cleanup();
    InterruptedArea area;
    area.append("new report\r\n", colours::black, false);
    write_report_files(area, path);
    std::_Exit(0);
}

TEST(ReportFileFaults, KillWhileWritingLeavesNoTemporary) {
    EarlierReport earlier;
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(write_and_stop_while_writing(earlier.path), ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_TRUE(earlier.untouched());
    EXPECT_EQ(folder_entries(earlier.dir.path()), (std::vector<std::string>{"r.tab.rpt", "r.tab.rpt.rtf"}));
}

TEST(ReportFileFaults, TwoRunsAtOnceEachWriteAWholeReport) {
    // With one fixed temporary name two runs on one file mixed their reports (two end lines).
    TempDir dir;
    const std::string path = dir.path() + "/twice.tab.rpt";
    const Report first("first", 20000);
    const Report second("second", 20000);
    int failures = 0;
    std::thread other([&] {
        for (int i = 0; i < 10; ++i) failures += static_cast<bool>(write_report_files(second.area, path));
    });
    for (int i = 0; i < 10; ++i) failures += static_cast<bool>(write_report_files(first.area, path));
    other.join();
    EXPECT_EQ(failures, 0);
    const std::string plain = read_file(path);
    EXPECT_TRUE(plain == first.plain() || plain == second.plain());
    const std::string rich = read_file(path + ".rtf");
    EXPECT_TRUE(rich == first.rich() || rich == second.rich());
    EXPECT_EQ(folder_entries(dir.path()), (std::vector<std::string>{"twice.tab.rpt", "twice.tab.rpt.rtf"}));
}

TEST(ReportFileFaults, LongInputNamesFailOnlyWhenTheReportNamesDoNotFit) {
    // A 244-character input name failed because FILE.rpt.rtf.part passed 255 characters.
    TempDir dir;
    const std::string fits = dir.path() + "/" + std::string(240, 'n') + ".tab.rpt";
    EXPECT_FALSE(write_report_files(Report("long").area, fits));
    EXPECT_TRUE(fs::exists(fits + ".rtf"));
    const std::string too_long = dir.path() + "/" + std::string(245, 'n') + ".tab.rpt";
    const WriteFailure failure = write_report_files(Report("long").area, too_long);
    EXPECT_EQ(failure.file, too_long + ".rtf");
    EXPECT_EQ(failure.error, ENAMETOOLONG);
    EXPECT_FALSE(fs::exists(too_long));
    EXPECT_EQ(folder_entries(dir.path()).size(), 2u);
}

}  // namespace
}  // namespace vormel::testing
