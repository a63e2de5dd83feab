#pragma once
#include <string>

#include "export/summary_json.h"

namespace vormel {

class HeadlessWindow;
struct RunOptions;
struct Session;

// The words of the command line for a method and a polarity mode ("cns", "auto", ...).
const char* method_word(int method);
const char* polarity_word(int mode);

// A summary entry's facts about the options of a run (the file, the outcome and the times left empty).
RunFacts option_facts(const RunOptions& run, bool imported);

// A summary entry's facts about a run that went through its steps: its options, its outcome
// (`failure` says why it did not finish) and the step times the window saw.
RunFacts run_facts(const Session& session, const HeadlessWindow& window, bool imported, const std::string& failure);

}  // namespace vormel
