#pragma once
#include <string>

namespace vormel {

struct Session;
struct RunContext;

// Performs the step that run_state calls for; goes straight on at display level 0 or with auto_run,
// otherwise returns with the Start button reading "Continue". Saves the report files at state 9.
void Vormel_CommandFSM(Session& session);
// Start / Continue / Re-Start (Ctrl+G); answers an open query box with Continue.
void start_command(Session& session);
// Quit / Break (Ctrl+Q); answers an open query box with Break.
void break_command(Session& session);
enum class BreakResult {
    run_ended,        // a run was broken off (or nothing to do): the program goes on
    quit,             // states 1, 2, 4, 10: the program ends
    ask_save_first,   // state 3: the window asks whether to save the changed text, then ends
};
// Ends a run after an error or a user break, or tells the window to quit.
BreakResult handle_break(Session& session);
// Step 1: the run header, Read Input File and Expand Inputs. A problem wider than max_qmc_inputs
// chosen for Quine-McCluskey goes to Consensus.
inline constexpr int max_qmc_inputs = 10;
void read_and_expand(Session& session);
void print_run_header(RunContext& ctx);

// All six step fields to their captions and a blank status, future look.
void reset_step_status(RunContext& ctx);
void set_step_status(RunContext& ctx, int step, const std::string& text, int look);

}  // namespace vormel
