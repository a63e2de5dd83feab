#pragma once
#include <string>

namespace vormel {

class HeadlessWindow;
struct Session;

// Why a run that went through its steps ended without its report files, as one line for stderr and
// the summary: the fault ("Out of memory") or the first numbered error ("Error 8: ..."), else a
// limit the run met, the file error of a message box, the failing step's status ("User Break").
std::string run_failure(const Session& session, const HeadlessWindow& window);

}  // namespace vormel
