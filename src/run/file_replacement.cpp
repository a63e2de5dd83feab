#include "run/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace vormel {

namespace {

constexpr std::string_view kTemporaryStart = ".vormel-";

// The pid in a temporary's name ".vormel-<pid>-...", 0 when the name has none.
pid_t writer_of(std::string_view name) {
    if (name.substr(0, kTemporaryStart.size()) != kTemporaryStart) return 0;
    name.remove_prefix(kTemporaryStart.size());
    long long pid = 0;
    std::size_t digits = 0;
    while (digits < name.size() && digits < 10 && name[digits] >= '0' && name[digits] <= '9') {
        pid = pid * 10 + (name[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits >= name.size() || name[digits] != '-' || pid <= 0 || pid > 0x7FFFFFFF) return 0;
    return static_cast<pid_t>(pid);
}

bool runs(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

std::string temporary_prefix() { return std::string(kTemporaryStart) + std::to_string(::getpid()) + "-"; }

void remove_dead_temporaries(const std::string& folder) {
    const int dir_fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0) return;
    DIR* dir = ::fdopendir(dir_fd);
    if (dir == nullptr) {
        ::close(dir_fd);
        return;
    }
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = writer_of(entry->d_name);
        if (pid == 0 || runs(pid)) continue;
        struct stat status {};
        if (::fstatat(dir_fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(status.st_mode) || status.st_uid != me) continue;
        ::unlinkat(dir_fd, entry->d_name, 0);
    }
    ::closedir(dir);
}

int keep_mode_and_owner(int fd, const std::string& target) {
    struct stat old {};
    if (::lstat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return 0;
    struct stat fresh {};
    if (::fstat(fd, &fresh) != 0) return errno;
    if (fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) {
        // Owner and group where permitted (root, or a group of our own), else the group alone.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && fresh.st_gid != old.st_gid &&
            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Neither is permitted: the new file stays ours, with the old mode.
        }
    }
    // After the owner: a change of owner may clear mode bits.
    if (::fchmod(fd, old.st_mode & 0777) != 0) return errno;
    return 0;
}

FolderLock::FolderLock(const std::string& folder) {
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd_);
        fd_ = -1;
        return;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace vormel
