#include "cli/run_option_flags.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <fmt/format.h>
#include <span>
#include <string_view>
#include <vector>

#include "report/run_context.h"

namespace vormel {

namespace {

struct Word {
    std::string_view text;
    int value;
};

constexpr Word kPolarityWords[] = {
    {"1", polarity_one_set}, {"0", polarity_zero_set}, {"auto", polarity_automatic}, {"comb", polarity_combination}};
constexpr Word kMethodWords[] = {{"qmc", method_qmc}, {"cns", method_cns}, {"shared", method_shared}, {"exact", method_exact}};

std::vector<std::string> texts_of(std::span<const Word> words) {
    std::vector<std::string> texts;
    for (const Word& word : words) texts.emplace_back(word.text);
    return texts;
}

std::string_view text_of(std::span<const Word> words, int value) {
    for (const Word& word : words) {
        if (word.value == value) return word.text;
    }
    return {};
}

// The option's check has already refused any other word.
int value_of(std::span<const Word> words, std::string_view text) {
    for (const Word& word : words) {
        if (word.text == text) return word.value;
    }
    return words.front().value;
}

// One option that takes a word of `words` and stores its value; the default shown is the target's.
void add_word_option(CLI::App& app, const char* name, std::span<const Word> words, int& target, const std::string& help) {
    app.add_option_function<std::string>(
           name, [words, &target](const std::string& text) { target = value_of(words, text); }, help)
        ->check(CLI::IsMember(texts_of(words)))
        ->default_str(std::string(text_of(words, target)));
}

std::string check_seconds(const std::string& text) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error != std::errc() || stop != end || !valid_exact_limit(seconds)) {
        return fmt::format("a number of seconds above 0 and up to {} is needed, not '{}'", max_exact_limit_seconds, text);
    }
    return {};
}

}  // namespace

void add_polarity_option(CLI::App& app, int& polarity_mode) {
    add_word_option(app, "--polarity", kPolarityWords, polarity_mode,
                    "Output polarity: 1 (1-Set), 0 (0-Set), auto (Automatic), comb (Combination:\n"
                    "every polarity vector is tried, possible for at most 31 outputs)");
}

void add_method_options(CLI::App& app, int& prime_method, double& exact_limit_seconds) {
    add_word_option(app, "--method", kMethodWords, prime_method,
                    "Minimization method:\n"
                    "  qmc     per output: prime implicants by Quine-McCluskey (up to 10 inputs),\n"
                    "          then cover selection and bundle optimization\n"
                    "  cns     the same with prime implicants by consensus\n"
                    "  shared  all outputs together on cubes: a multi-output heuristic that\n"
                    "          shares product terms between outputs\n"
                    "  exact   all outputs together: a proven minimum (all primes, then an integer-program solver),\n"
                    "          within the time limit of --exact-limit");
    app.add_option("--exact-limit", exact_limit_seconds,
                   "Time limit of --method exact in seconds (a number above 0, up to a day)")
        ->check(CLI::Validator(check_seconds, "SECONDS"))
        ->capture_default_str();
}

void add_threads_option(CLI::App& app, int& threads) {
    app.add_option("--threads", threads, "Worker threads of a run, at most one per core (0: one per core); the results are the same for any number")
        ->check(CLI::Range(0, 1024))
        ->capture_default_str();
}

}  // namespace vormel
