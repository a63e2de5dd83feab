#include "input/name_clash.h"

#include <unordered_map>

namespace vormel {

std::string repeated_name(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
    std::unordered_map<std::string, std::string> first_place;
    const auto clash = [&first_place](const std::vector<std::string>& names, const char* kind) -> std::string {
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string place = std::string(kind) + " " + std::to_string(i + 1);
            const auto [it, added] = first_place.emplace(names[i], place);
            if (!added) return names[i] + ": " + it->second + " and " + place;
        }
        return {};
    };
    std::string found = clash(inputs, "input");
    if (found.empty()) found = clash(outputs, "output");
    return found;
}

}  // namespace vormel
