// The words and checks of the run options that vormelc and vormel_bench share.
#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include "cli/run_option_flags.h"
#include "report/run_context.h"

namespace vormel {
namespace {

struct Parsed {
    int polarity = polarity_one_set;
    int method = method_cns;
    double limit = 60;
    std::string error;  // empty when the line was accepted
};

Parsed parse(const std::string& line) {
    Parsed parsed;
    CLI::App app;
    add_polarity_option(app, parsed.polarity);
    add_method_options(app, parsed.method, parsed.limit);
    try {
        app.parse(line, false);
    } catch (const CLI::ParseError& error) {
        parsed.error = error.what();
    }
    return parsed;
}

TEST(RunOptionFlags, EveryWordGivesItsValueAndAbsentOptionsKeepTheDefaults) {
    const std::pair<const char*, int> methods[] = {
        {"qmc", method_qmc}, {"cns", method_cns}, {"shared", method_shared}, {"exact", method_exact}};
    for (auto [word, method] : methods) {
        const Parsed parsed = parse(std::string("--method ") + word);
        EXPECT_EQ(parsed.error, "") << word;
        EXPECT_EQ(parsed.method, method) << word;
        EXPECT_EQ(parsed.limit, 60.0);
        EXPECT_EQ(parsed.polarity, polarity_one_set);
    }
    const std::pair<const char*, int> polarities[] = {
        {"1", polarity_one_set}, {"0", polarity_zero_set}, {"auto", polarity_automatic}, {"comb", polarity_combination}};
    for (auto [word, mode] : polarities) {
        const Parsed parsed = parse(std::string("--polarity ") + word);
        EXPECT_EQ(parsed.polarity, mode) << word;
        EXPECT_EQ(parsed.method, method_cns);
    }
}

TEST(RunOptionFlags, UnknownWordsAreRefusedNamingTheOptionAndTheChoices) {
    for (const char* line : {"--method sat", "--method Exact", "--method", "--polarity both"}) {
        const Parsed parsed = parse(line);
        EXPECT_NE(parsed.error, "") << line;
    }
    EXPECT_NE(parse("--method sat").error.find("--method: sat not in {qmc,cns,shared,exact}"), std::string::npos);
}

TEST(RunOptionFlags, ExactLimitTakesSecondsAboveZeroUpToADay) {
    const std::pair<const char*, double> good[] = {{"0.5", 0.5}, {"60", 60}, {"1e3", 1000}, {"86400", 86400}};
    for (auto [text, seconds] : good) {
        const Parsed parsed = parse(std::string("--method exact --exact-limit ") + text);
        EXPECT_EQ(parsed.error, "") << text;
        EXPECT_EQ(parsed.limit, seconds) << text;
    }
    for (const char* text : {"0", "-1", "86400.5", "nan", "inf", "abc", "12s", "1e", "0x10"}) {
        const Parsed parsed = parse(std::string("--exact-limit ") + text);
        EXPECT_NE(parsed.error.find("--exact-limit: a number of seconds above 0 and up to 86400 is needed"),
                  std::string::npos)
            << text << ": " << parsed.error;
        EXPECT_EQ(parsed.limit, 60.0) << text;
    }
}

}  // namespace
}  // namespace vormel
