#include "ui/show_path.h"

#include <filesystem>

namespace vormel {

std::string shortened_path(const std::string& label, const std::string& path) {
    constexpr long kWidth = 62;
    // The report field shows "name.rpt /.rtf": that tail belongs to the name, not to a directory.
    const std::string rtf_tail = " /.rtf";
    const bool has_tail = path.size() > rtf_tail.size() && path.ends_with(rtf_tail);
    const std::string file = has_tail ? path.substr(0, path.size() - rtf_tail.size()) : path;
    const std::size_t cut = file.find_last_of(std::filesystem::path::preferred_separator);
    const std::string directory = cut == std::string::npos ? std::string() : file.substr(0, cut + 1);
    const std::string name = (cut == std::string::npos ? file : file.substr(cut + 1)) + (has_tail ? rtf_tail : "");
    const long total = static_cast<long>(label.size() + directory.size() + name.size());
    if (total <= kWidth) return label + directory + name;
    const long excess = total - kWidth;
    const long kept = static_cast<long>(directory.size()) - excess - 4;
    if (kept < 3) return label + directory + name;
    return label + directory.substr(0, static_cast<std::size_t>(kept)) + "...." + name;
}

}  // namespace vormel
