#pragma once
#include <string>

namespace vormel {

struct Session;

// A whole run of `text` without stops: the text shown in the work area and parsed by the run (never
// read again from the file), every step one after another, the report saved as the session says.
// Call begin_whole_run, then Vormel_CommandFSM; a front end may echo between the two.
void begin_whole_run(Session& session, std::string text);

// Memory ran out outside the run's steps (reading the file, before the run began): the same fault
// report as inside them. Returns the failure line, "Out of memory".
std::string out_of_memory_outside_steps(Session& session);

}  // namespace vormel
