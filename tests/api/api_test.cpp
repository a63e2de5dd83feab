// The public API: every kind of source, the options, the result's parts, the typed errors, and runs
// that leave the file system alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <vormel/vormel.h>

#include "support/test_session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
namespace api = vormel::api;
using testing::read_file;
using testing::TempDir;

const std::string kExamples = std::string(VORMEL_SOURCE_DIR) + "/examples/";

api::Source half_adder_table() {
    return api::from_table({"a", "b"}, {"sum", "carry"}, {"00:00", "01:10", "10:10", "11:01"}, "half_adder.tab");
}

// The message of the InputError the source raises, "" when it raises none.
std::string input_error(const api::Source& source, const api::Options& options = {}) {
    try {
        api::minimize(source, options);
    } catch (const api::InputError& error) {
        return error.what();
    }
    return "";
}

TEST(ApiSources, EveryKindOfTheHalfAdderGivesTheFilesResult) {
    const api::Result file = api::minimize(api::from_file(kExamples + "half_adder.tab"));
    EXPECT_EQ(file.equations, "SUM = /A * B + A * /B\nCARRY = A * B\n");
    EXPECT_EQ(file.cost.terms, 3);
    EXPECT_EQ(file.proof.outcome, "proven equal");
    const api::Source others[] = {
        api::from_text(read_file(kExamples + "half_adder.tab"), "tab"),
        half_adder_table(),
        api::from_table({"a", "b"}, {"sum", "carry"}, {"0 1 1 0", "1 0 : 1 0", "11 01"}),
        api::from_equations({"SUM = /A * B + A * /B", "CARRY = A AND B"}),
    };
    for (const api::Source& source : others) {
        const api::Result result = api::minimize(source);
        EXPECT_EQ(result.equations, file.equations);
        ASSERT_EQ(result.terms.size(), file.terms.size());
        for (std::size_t t = 0; t < file.terms.size(); ++t) {
            EXPECT_EQ(result.terms[t].inputs, file.terms[t].inputs);
            EXPECT_EQ(result.terms[t].outputs, file.terms[t].outputs);
        }
    }
}

TEST(ApiSources, TextFormatIsANameOrAnExtension) {
    const std::string pla = read_file(kExamples + "multiplier2.pla");
    for (const char* format : {"pla", ".pla", "mult.pla"}) {
        EXPECT_EQ(api::minimize(api::from_text(pla, format)).cost.terms, 7) << format;
    }
    EXPECT_NE(input_error(api::from_text(pla, "txt")).find("names no input format"), std::string::npos);
    EXPECT_NE(input_error(api::from_text(pla, "")).find("names no input format"), std::string::npos);
}

TEST(ApiSources, ImportReadsTheCommonDialect) {
    // In the common dialect 2 means "-" and type f gives only the ON set.
    const std::string text = ".i 2\n.o 1\n.ilb x y\n.ob f\n.type f\n12 1\n01 1\n.e\n";
    const api::Result result = api::minimize(api::from_text(text, "pla", true));
    EXPECT_EQ(result.cost.terms, 2);
    EXPECT_EQ(result.input_names, (std::vector<std::string>{"X", "Y"}));
    EXPECT_NE(api::to_blif(result).find(".names x y f"), std::string::npos) << "exports keep the names as written";
    EXPECT_NE(input_error(api::from_text(".i 2\n.o 1\n.mv 3\n", "pla", true)).find("cannot be imported"), std::string::npos);
    // Any file name: the dialect is the content.
    TempDir dir;
    EXPECT_EQ(api::minimize(api::from_file(dir.write("no_extension", text), true)).cost.terms, 2);
}

TEST(ApiSources, TableNamesAndRowsThatWouldBreakTheFormatAreRefused) {
    EXPECT_NE(input_error(api::from_table({"a,b"}, {"y"}, {"0:1"})).find("reserves"), std::string::npos);
    EXPECT_NE(input_error(api::from_table({"a"}, {"y\nz"}, {"0:1"})).find("reserves"), std::string::npos);
    EXPECT_NE(input_error(api::from_table({"a"}, {"y"}, {"0:1;"})).find("holds other than"), std::string::npos);
    EXPECT_NE(input_error(api::from_table({"a"}, {"y"}, {"0:1:1"})).find("holds other than"), std::string::npos);
}

TEST(ApiErrors, InputErrorsCarryTheNumberedMessage) {
    const std::string message = input_error(api::from_text("a, 1b : y\n0 0 : 1\n", "tab"));
    EXPECT_TRUE(message.starts_with("Error 8")) << message;
    EXPECT_TRUE(input_error(api::from_equations({"Y A * B"})).starts_with("Error 12"));
    EXPECT_TRUE(input_error(api::from_file("/nonexistent/x.tab")).starts_with("Open Error"));
}

TEST(ApiErrors, ARunThatEndsWithoutItsResultIsARunError) {
    // Combination is refused above its output limit by the cube methods.
    std::vector<std::string> outputs, rows;
    std::string values;
    for (int j = 0; j < 40; ++j) outputs.push_back("y" + std::to_string(j));
    api::Options options;
    options.polarity = api::Polarity::combination;
    try {
        api::minimize(api::from_table({"a"}, outputs, {"0:" + std::string(40, '1'), "1:" + std::string(40, '0')}), options);
        ADD_FAILURE() << "no error";
    } catch (const api::RunError& error) {
        EXPECT_NE(std::string(error.what()).find("limited to"), std::string::npos) << error.what();
    }
}

TEST(ApiErrors, OptionsOutOfRangeAreInvalidArguments) {
    api::Options options;
    options.rolexa = 10000;
    EXPECT_THROW(api::minimize(half_adder_table(), options), std::invalid_argument);
    options = {};
    options.exact_limit_seconds = 0;
    EXPECT_THROW(api::minimize(half_adder_table(), options), std::invalid_argument);
    options = {};
    options.display_level = 5;
    EXPECT_THROW(api::minimize(half_adder_table(), options), std::invalid_argument);
}

TEST(ApiResult, EveryMethodAndPolarityProvesItsResult) {
    for (api::Method method : {api::Method::qmc, api::Method::cns, api::Method::shared, api::Method::exact}) {
        for (api::Polarity polarity : {api::Polarity::one_set, api::Polarity::zero_set, api::Polarity::automatic}) {
            api::Options options;
            options.method = method;
            options.polarity = polarity;
            const api::Result result = api::minimize(api::from_file(kExamples + "seven_segment.tdf"), options);
            EXPECT_EQ(result.proof.outcome, method == api::Method::exact ? "proven minimum" : "proven equal");
            EXPECT_EQ(result.outputs.size(), 7u);
            EXPECT_NE(result.report.find("Comparison with original expanded Inputs successful"), std::string::npos);
        }
    }
}

// Random rows over 32 inputs: building the OFF cover would take seconds and 400 MB. The shared
// method grows the cubes inside ON and DC instead and proves its result the same way.
TEST(ApiResult, FunctionWhoseOffCoverIsTooLargeIsMinimizedAndProvenWithoutIt) {
    for (const api::Polarity polarity : {api::Polarity::one_set, api::Polarity::automatic}) {
        api::Options options;
        options.method = api::Method::shared;
        options.polarity = polarity;
        options.display_level = 1;
        const api::Result result =
            api::minimize(api::from_file(std::string(VORMEL_SOURCE_DIR) + "/tests/data/random_sparse_32.pla"), options);
        EXPECT_EQ(result.proof.outcome, "proven equal");
        EXPECT_NE(result.report.find(" OFF-Set  : not built (too large)"), std::string::npos);
        // No two of its random rows merge and none is redundant (the same with the OFF cover).
        EXPECT_EQ(result.cost.terms, 120);
        // Inverting an output would need its OFF part.
        for (const api::Output& output : result.outputs) EXPECT_EQ(output.polarity, 1) << output.name;
    }
}

TEST(ApiResult, OutputsPolarityAndCostAgreeWithTheSummary) {
    api::Options options;
    options.polarity = api::Polarity::zero_set;
    const api::Result result = api::minimize(api::from_file(kExamples + "full_adder.tab"), options);
    const std::string json = api::to_summary_json(result);
    EXPECT_NE(json.find("\"product_terms\": " + std::to_string(result.cost.terms) + ","), std::string::npos);
    EXPECT_NE(json.find("\"gate_inputs\": " + std::to_string(result.cost.gate_inputs) + ","), std::string::npos);
    for (const api::Output& output : result.outputs) {
        EXPECT_EQ(output.polarity, 0) << output.name;
        EXPECT_EQ(output.relation, "ordinary");
    }
    EXPECT_TRUE(result.equations.starts_with("/")) << result.equations;
    // The .phase export keeps the inverted terms, the default complements them back.
    EXPECT_NE(api::to_pla(result, api::PlaPhase::phase_line).find(".phase 00"), std::string::npos);
    EXPECT_EQ(api::to_pla(result).find(".phase"), std::string::npos);
    EXPECT_NE(api::to_verilog(result).find("module full_adder"), std::string::npos);
    EXPECT_NE(api::to_eqn(result).find("OUTORDER"), std::string::npos);
}

TEST(ApiResult, IdenticalAndInverseOutputsNameTheOtherOutput) {
    const api::Result result = api::minimize(api::from_equations({"X = A * B", "Y = A * B", "Z = /A + /B"}));
    ASSERT_EQ(result.outputs.size(), 3u);
    EXPECT_EQ(result.outputs[1].relation, "identical");
    EXPECT_EQ(result.outputs[1].other, "X");
    EXPECT_EQ(result.outputs[2].relation, "inverse");
    EXPECT_NE(result.equations.find("Y = X\n"), std::string::npos) << result.equations;
    EXPECT_NE(result.equations.find("Z = /X\n"), std::string::npos) << result.equations;
}

TEST(ApiFiles, ARunWritesNoFileUnlessAsked) {
    TempDir dir;
    const std::string input = dir.write("adder.tab", read_file(kExamples + "full_adder.tab"));
    const api::Result result = api::minimize(api::from_file(input));
    EXPECT_TRUE(result.report_file.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    api::Options options;
    options.save_reports = true;
    const api::Result saved = api::minimize(api::from_file(input), options);
    EXPECT_EQ(saved.report_file, input + ".rpt");
    EXPECT_TRUE(fs::exists(input + ".rpt.rtf"));
}

}  // namespace
}  // namespace vormel
