#pragma once
#include <string>

namespace vormel {

// The full path of an input file named on a command line; a symbolic link is followed to the file
// it names, as a shortcut would be.
std::string resolve_input_path(const std::string& name);

}  // namespace vormel
