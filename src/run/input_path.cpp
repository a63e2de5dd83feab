#include "run/input_path.h"

#include <filesystem>

namespace vormel {

std::string resolve_input_path(const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::absolute(fs::path(name), error);
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::canonical(path, error);
        if (!error) path = target;
    }
    return path.lexically_normal().string();
}

}  // namespace vormel
