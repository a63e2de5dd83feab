#pragma once
#include <string>

namespace vormel {

// The pieces of replacing a file by renaming a temporary over it, shared by every file a run writes
// (reports, exports, pictures, the summary).

// Start of the name of this process's temporaries: ".vormel-<pid>-". The pid tells later runs
// whether the writer still runs.
std::string temporary_prefix();

// Removes from the folder the temporaries (".vormel-<pid>-...") of writers that no longer run, as
// left by a kill -9 during a write: only regular files owned by this user whose pid names no
// process. Failures are ignored: a temporary left behind is clutter, not harm.
void remove_dead_temporaries(const std::string& folder);

// Gives the new file fd the permission bits of the regular file at target and, where the system
// permits, its owner and group; nothing when target is not a regular file (absent, or a link,
// which is replaced and never followed). errno-style result of setting the mode, 0 when done.
int keep_mode_and_owner(int fd, const std::string& target);

// An exclusive lock on a folder, held while the object lives, so that two writers of the same
// files take turns at renaming them. Without a readable folder there is no lock (and no error):
// the renames then only lose their ordering against another writer.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace vormel
