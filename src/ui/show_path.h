#pragma once
#include <string>

namespace vormel {

// label + directory + file name, at most 62 characters: a longer text has its directory cut to
// its first characters followed by "....", unless fewer than 3 of them would remain.
std::string shortened_path(const std::string& label, const std::string& path);

}  // namespace vormel
