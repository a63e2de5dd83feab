#include "cli/command_line_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

#include "cli/run_outputs.h"
#include "cli/terminal_echo.h"
#include "run/export_result.h"

namespace vormel {

namespace {

namespace fs = std::filesystem;

bool in_system_folders(const fs::path& path) {
    const std::string text = path.string();
    for (const char* folder : {"/dev", "/proc"}) {
        if (text == folder || text.starts_with(std::string(folder) + "/")) return true;
    }
    return false;
}

// A path and every path its chain of links leads to, the last one no link (or one that leads nowhere
// readable); the chain may pass through /proc/self/fd and may end in a file that does not exist yet.
std::vector<fs::path> link_chain(const std::string& name) {
    std::error_code error;
    std::vector<fs::path> chain = {fs::absolute(fs::path(name), error).lexically_normal()};
    for (int hop = 0; hop < 40 && !error && fs::is_symlink(chain.back(), error); ++hop) {
        const fs::path target = fs::read_symlink(chain.back(), error);
        if (!error) chain.push_back((target.is_absolute() ? target : chain.back().parent_path() / target).lexically_normal());
    }
    return chain;
}

// A file by what it is: device and inode where it exists (links and hard links meet there), else
// its path with the existing part resolved.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;
};

FileIdentity identity_of(const std::string& name) {
    FileIdentity id;
    struct stat status {};
    if (::stat(name.c_str(), &status) == 0) {
        id.exists = true;
        id.device = status.st_dev;
        id.inode = status.st_ino;
    }
    std::error_code error;
    const fs::path absolute = link_chain(name).back();
    const fs::path resolved = fs::weakly_canonical(absolute, error);
    id.path = (error ? absolute : resolved).string();
    return id;
}

bool same_file(const FileIdentity& a, const FileIdentity& b) {
    if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
    return a.path == b.path;
}

struct NamedFile {
    std::string what;  // "--export x.pla", "the input file", ...
    std::string path;
    FileIdentity id;
};

NamedFile named(std::string what, const std::string& path) { return {std::move(what), path, identity_of(path)}; }

}  // namespace

std::string refuse_stream_input(const std::string& name) {
    // /dev/stdin leads on to /proc/self/fd/0 and from there to the redirected file.
    const std::vector<fs::path> chain = link_chain(name);
    if (std::none_of(chain.begin(), chain.end(), in_system_folders)) return {};
    return fmt::format("{} is standard input or a device, not a file of its own: the reports are written beside the "
                       "input, so name the file itself",
                       printable(name));
}

std::string refuse_overwriting_outputs(const std::vector<std::string>& inputs, const OutputOptions& options) {
    std::vector<NamedFile> kept;
    for (const std::string& input : inputs) {
        kept.push_back(named("the input file", input));
        kept.push_back(named("the report file", input + ".rpt"));
        kept.push_back(named("the report file", input + ".rpt.rtf"));
    }
    std::vector<NamedFile> outputs;
    for (const std::string& input : inputs) {
        for (const std::string& target : options.exports) {
            outputs.push_back(named("--export " + target, export_path_for(target, input)));
        }
    }
    const std::pair<const char*, const std::string*> single[] = {
        {"--summary", &options.summary}, {"--kmap", &options.kmap}, {"--diagram", &options.diagram}};
    for (const auto& [option, path] : single) {
        if (!path->empty()) outputs.push_back(named(std::string(option) + " " + *path, *path));
    }
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        const NamedFile& out = outputs[k];
        for (const NamedFile& file : kept) {
            if (!same_file(out.id, file.id)) continue;
            return fmt::format("{} would overwrite {} {}: name another file", printable(out.what), file.what,
                               printable(file.path));
        }
        for (std::size_t j = 0; j < k; ++j) {
            if (!same_file(out.id, outputs[j].id)) continue;
            return fmt::format("{} and {} name the same file {}: name two files", printable(outputs[j].what),
                               printable(out.what), printable(out.path));
        }
    }
    return {};
}

}  // namespace vormel
