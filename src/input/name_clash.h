#pragma once
#include <string>
#include <vector>

namespace vormel {

// The first name given twice over the inputs and outputs together, with both places
// ("A: input 1 and input 2"), or "" when every name is given once.
std::string repeated_name(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

}  // namespace vormel
