#pragma once
#include <string>
#include <string_view>

namespace vormel {

struct RunContext;

// Numbered input errors, fault reports, step timers, the memory status and the activity heartbeat.
// None of them ends a run by itself: they set error_flag and the step returns.
class Diagnostics {
public:
    explicit Diagnostics(RunContext& ctx) : ctx_(ctx) {}

    // Number 0 prints text alone in red bold (system errors); others print " *** Error " + message.
    void show_error(std::string_view text, int number);
    // Reports an unexpected fault (5, 6, 7, 9, 11) inside the named routine; sets error_flag.
    void runtime_error(int fault, std::string_view routine);
    // Memory ran out inside the named routine: a blank line, a memory sample and fault 7 ("Out of
    // memory" and the "Data Set is too large" line); sets error_flag.
    void out_of_memory(std::string_view routine);
    // The text of the last fault reported since clear_fault, "" when none (the console's last line).
    const std::string& last_fault() const { return last_fault_; }
    // The first numbered error (or system error) since clear_fault as one line, "Error 8: ...", or "".
    const std::string& first_error() const { return first_error_; }
    // What ended the run: the last fault, else the first error; "" when neither was reported.
    const std::string& run_failure() const { return last_fault_.empty() ? first_error_ : last_fault_; }
    void clear_fault() {
        last_fault_.clear();
        first_error_.clear();
    }
    // Takes over the fault and the first error of work done in a side run.
    void take_failure(const Diagnostics& side);
    static std::string numbered_message(std::string_view text, int number);
    // The start of a text quoted in a message: at most kMaxQuoted bytes, the full length noted.
    static constexpr std::size_t kMaxQuoted = 300;
    static std::string quoted(std::string_view text);

    void start_timer(std::string_view name);
    void stop_timer(std::string_view name);
    const std::string& timer_name() const { return timer_name_; }
    double total_time() const { return total_time_; }
    void reset_total_time() { total_time_ = 0; }
    // Seconds timed elsewhere (work done off the run's thread) count into the total.
    void add_time(double seconds);
    double last_interval() const { return last_interval_; }
    // " 3.14 s", " 42.3 s", " 1234 s".
    const std::string& time_text() const { return time_text_; }
    static std::string format_time(double seconds);

    // 0 sample, 1 reset, 2 sample and print.
    void check_memory(int mode);
    // Work off the run's thread samples on from the run's last sample (a sample reads the system's
    // figures), and its maxima count into the run's.
    void continue_memory_samples(const Diagnostics& run);
    void add_memory_maxima(const Diagnostics& side);
    // 1 reset, 0 heartbeat (at most 20 updates a second).
    void poll_progress(int mode);
    int progress_position() const { return progress_position_; }

private:
    RunContext& ctx_;
    std::string timer_name_;
    double timer_start_ = 0;
    double last_interval_ = 0;
    double total_time_ = 0;
    std::string time_text_;
    std::string last_fault_;
    std::string first_error_;
    int max_physical_load_ = 0;
    int max_virtual_use_ = 0;
    bool swapping_shown_ = false;
    double last_memory_time_ = -1e9;
    int progress_position_ = 0;
    int progress_rising_ = 1;
    double last_progress_time_ = -1e9;
};

}  // namespace vormel
