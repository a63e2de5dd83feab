#pragma once
#include <string>
#include <string_view>

namespace vormel {

class WorkArea;

// Writes the work area as plain text to path and as rich text to path + ".rtf". Each goes to a
// temporary name first and is renamed into place, so a failed write never replaces a good file.
bool write_report_files(const WorkArea& area, const std::string& path);
// Writes text to path the same way: temporary file first, then renamed into place.
bool write_text_file(const std::string& path, std::string_view text);

}  // namespace vormel
