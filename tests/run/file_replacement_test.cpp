// Files replaced by a run: the mode and owner they keep, report pairs written by two writers at
// once, and the temporaries that killed writers leave behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "report/text_work_area.h"
#include "run/file_replacement.h"
#include "run/report_files.h"
#include "support/test_session.h"

namespace vormel::testing {
namespace {

namespace fs = std::filesystem;

TextWorkArea tagged_report(const std::string& tag, int lines = 50) {
    TextWorkArea area;
    for (int i = 0; i < lines; ++i) area.append(tag + " " + std::to_string(i) + "\r\n", colours::black, false);
    return area;
}

mode_t mode_of(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 0777;
}

std::vector<std::string> hidden_entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.front() == '.') names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileReplacement, ReplacedReportAndExportKeepTheirMode) {
    // A chmod 600 report became 644 after the next run, an export over a mode-600 file too.
    TempDir dir;
    const std::string report = dir.path() + "/r.tab.rpt";
    ASSERT_FALSE(write_report_files(tagged_report("first"), report));
    fs::permissions(report, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(report + ".rtf", fs::perms::owner_read);
    const std::string exported = dir.write("r.blif", "old export");
    fs::permissions(exported, fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_FALSE(write_report_files(tagged_report("second"), report));
    ASSERT_FALSE(write_text_file(exported, "new export"));
    EXPECT_EQ(mode_of(report), 0600u);
    EXPECT_EQ(mode_of(report + ".rtf"), 0400u);
    EXPECT_EQ(mode_of(exported), 0600u);
    EXPECT_EQ(read_file(exported), "new export");
}

TEST(FileReplacement, ReplacedFileKeepsItsOwnerWherePermitted) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file away";
    // An export over a file of another user became root's.
    TempDir dir;
    const std::string exported = dir.write("theirs.pla", "old export");
    ASSERT_EQ(::chown(exported.c_str(), 4321, 4322), 0);
    ASSERT_FALSE(write_text_file(exported, "new export"));
    struct stat status {};
    ASSERT_EQ(::stat(exported.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 4322u);
}

TEST(FileReplacement, LinkInTheTargetsPlaceLendsItsFileNoMode) {
    // The link is replaced, never followed: the file it names keeps its mode, the new file takes
    // the umask's.
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "precious");
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const std::string path = dir.path() + "/out.eqn";
    fs::create_symlink(victim, path);
    const mode_t saved = ::umask(022);
    const WriteFailure failure = write_text_file(path, "new");
    ::umask(saved);
    ASSERT_FALSE(failure) << failure.reason;
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(mode_of(path), 0644u);
    EXPECT_EQ(read_file(victim), "precious");
}

TEST(FileReplacement, TwoWritersOfOnePairNeverMixTheirFiles) {
    // Two runs on one file at once: 10 of 300 pairs held the .rpt of one run and the .rtf of the
    // other. A pause between the two renames of each writer gives the other every chance to cut in.
    TempDir dir;
    const std::string path = dir.path() + "/pair.tab.rpt";
    const TextWorkArea first = tagged_report("first");
    const TextWorkArea second = tagged_report("second");
    auto rich = [](const TextWorkArea& area) {
        std::ostringstream out;
        area.write_rich(out);
        return out.str();
    };
    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
    int mixed = 0;
    for (int round = 0; round < 60; ++round) {
        std::thread other([&] { (void)write_report_files(second, path, pause); });
        (void)write_report_files(first, path, pause);
        other.join();
        const std::string plain = read_file(path);
        const bool first_owns = plain == first.plain_text();
        ASSERT_TRUE(first_owns || plain == second.plain_text());
        mixed += read_file(path + ".rtf") != rich(first_owns ? first : second);
    }
    EXPECT_EQ(mixed, 0);
}

// A work area that kills its writer half-way through the plain text.
class KilledWriterArea : public TextWorkArea {
public:
    void write_plain(std::ostream& out) const override {
        out << std::string(1 << 17, 'x');
        out.flush();
        ::raise(SIGKILL);
    }
};

TEST(FileReplacement, TemporariesOfKilledWritersAreRemovedByTheNextWrite) {
    // kill -9 during a write left hidden .vormel-* temporaries that no later run removed.
    TempDir dir;
    const std::string path = dir.path() + "/k.tab.rpt";
    const pid_t child = ::fork();
    if (child == 0) {
        KilledWriterArea area;
        area.append("never finished\r\n", colours::black, false);
        (void)write_report_files(area, path);
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> left = hidden_entries(dir.path());
    ASSERT_FALSE(left.empty());
    for (const std::string& name : left) EXPECT_EQ(name.rfind(".vormel-" + std::to_string(child) + "-", 0), 0u) << name;

    // A live writer's temporary (ours), one without a pid and someone else's file stay.
    const std::string live = temporary_prefix() + "inprogress";
    dir.write(live, "being written");
    dir.write(".vormel-abcdefghij", "no pid");
    dir.write(".vormel-notes", "a user's file");
    ASSERT_FALSE(write_report_files(tagged_report("next"), path));
    EXPECT_EQ(hidden_entries(dir.path()), (std::vector<std::string>{live, ".vormel-abcdefghij", ".vormel-notes"}));
    EXPECT_EQ(read_file(path), tagged_report("next").plain_text());
}

}  // namespace
}  // namespace vormel::testing
