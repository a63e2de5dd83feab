#include "cli/child_processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

extern char** environ;

namespace vormel {

namespace {

// The handler reads only lock-free atomics: the children running, the interrupt that came.
constexpr int kSlots = 64;  // --jobs is at most 64
std::atomic<pid_t> children[kSlots];
std::atomic<int> received{0};
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void on_interrupt(int signal_number) {
    received.store(signal_number);
    for (const std::atomic<pid_t>& child : children) {
        const pid_t pid = child.load();
        if (pid > 0) ::kill(pid, signal_number);
    }
}

void forget(pid_t pid) {
    for (std::atomic<pid_t>& child : children) {
        pid_t expected = pid;
        if (child.compare_exchange_strong(expected, 0)) return;
    }
}

}  // namespace

void forward_interrupts_to_children() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a wait returns, so the batch notices at once
    for (int signal_number : kInterrupts) ::sigaction(signal_number, &action, nullptr);
}

int interrupt_received() { return received.load(); }

void end_by_interrupt() {
    const int signal_number = received.load();
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
    ::_exit(128 + signal_number);
}

pid_t start_child(const std::vector<std::string>& args, const std::string& err_path) {
    std::vector<char*> pointers;
    for (const std::string& arg : args) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    pid_t pid = -1;
    const bool prepared = err_path.empty() || posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                                                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW,
                                                                                 0600) == 0;
    if (!prepared || posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, pointers.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pid <= 0) return -1;
    for (std::atomic<pid_t>& child : children) {
        pid_t expected = 0;
        if (child.compare_exchange_strong(expected, pid)) break;
    }
    // An interrupt between the start and the note above found no child to pass on to.
    if (const int signal_number = received.load(); signal_number != 0) ::kill(pid, signal_number);
    return pid;
}

ChildEnd wait_for_child() {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    if (pid < 0) return {errno == EINTR ? -1 : 0, 0};
    forget(pid);
    return {pid, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0)};
}

}  // namespace vormel
