#pragma once
#include <string>

namespace vormel {

enum class InputLoad { loaded, not_accessible, out_of_memory };

// Reads a whole input file once and decodes it (decode_input_text) into text. Never throws: a file
// that cannot be opened or read gives not_accessible, memory running out gives out_of_memory; text
// is then empty.
InputLoad load_input_file(const std::string& path, std::string& text);

}  // namespace vormel
