#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace vormel {

// The runs of a batch as child processes of this program: started with their stderr in a file,
// waited for, and stopped together when the batch is interrupted.

// From now on SIGINT, SIGTERM and SIGHUP are passed on to every child started here, and noted.
void forward_interrupts_to_children();
// The interrupt noted, 0 while none came.
int interrupt_received();
// Ends the program by the interrupt noted, as it would have ended without the handler.
[[noreturn]] void end_by_interrupt();

// Starts this program with args (args[0] is its name); its stderr goes to a new file at err_path, or
// stays this program's when err_path is empty. -1 when it cannot start.
pid_t start_child(const std::vector<std::string>& args, const std::string& err_path);

struct ChildEnd {
    pid_t pid = -1;  // -1: the wait was interrupted; 0: no child is left
    int status = 0;  // exit status, or 128 + the signal that ended the child
};
// Waits for any child started here to end.
ChildEnd wait_for_child();

}  // namespace vormel
