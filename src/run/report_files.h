#pragma once
#include <string>

namespace vormel {

class WorkArea;

// Writes the work area as plain text to path and as rich text to path + ".rtf". Each goes to a
// temporary name first and is renamed into place, so a failed write never replaces a good file.
bool write_report_files(const WorkArea& area, const std::string& path);

}  // namespace vormel
