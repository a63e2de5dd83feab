#include "report/run_context.h"

namespace vormel {

std::string version_text() { return "Version " VORMEL_VERSION; }
std::string version_label() { return " " + version_text() + " "; }

}  // namespace vormel
