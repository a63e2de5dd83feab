// The summary as programs read it: valid JSON for any file name, one entry per input file with the
// reason of each failure, and exactly the fields docs/summary.md documents, of the types it gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

using nlohmann::json;

// Per documented object (its heading: "The document", "An entry", "options", ...), field -> type.
using Schema = std::map<std::string, std::map<std::string, std::string>>;

std::string object_name(const std::string& heading) {
    if (heading == "The document") return "document";
    if (heading == "An entry") return "entry";
    return heading;
}

Schema documented_schema() {
    std::ifstream in(std::string(VORMEL_SOURCE_DIR) + "/docs/summary.md");
    Schema schema;
    std::string line, object;
    while (std::getline(in, line)) {
        if (line.starts_with("## ") || line.starts_with("### ")) object = object_name(line.substr(line.find(' ') + 1));
        if (!line.starts_with("| `")) continue;
        // | `field` | type | meaning |
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) cells.push_back(cell.substr(1, cell.size() - 2));
        schema[object][cells.at(0).substr(1, cells.at(0).size() - 2)] = cells.at(1);
    }
    return schema;
}

void check_against(const json& value, const std::string& type, const Schema& schema, const std::string& where) {
    if (type.ends_with(" or null")) {
        if (!value.is_null()) check_against(value, type.substr(0, type.size() - 8), schema, where);
        return;
    }
    if (type.starts_with("array of ")) {
        ASSERT_TRUE(value.is_array()) << where;
        for (std::size_t k = 0; k < value.size(); ++k) {
            check_against(value[k], type.substr(9), schema, where + "[" + std::to_string(k) + "]");
        }
        return;
    }
    if (type == "integer") EXPECT_TRUE(value.is_number_integer()) << where << " = " << value;
    else if (type == "number") EXPECT_TRUE(value.is_number()) << where << " = " << value;
    else if (type == "string") EXPECT_TRUE(value.is_string()) << where << " = " << value;
    else if (type == "boolean") EXPECT_TRUE(value.is_boolean()) << where << " = " << value;
    else {
        ASSERT_TRUE(schema.count(type)) << "undocumented type " << type << " of " << where;
        ASSERT_TRUE(value.is_object()) << where;
        const auto& fields = schema.at(type);
        std::set<std::string> documented, written;
        for (const auto& [name, field_type] : fields) documented.insert(name);
        for (const auto& [name, field] : value.items()) written.insert(name);
        EXPECT_EQ(written, documented) << where;
        for (const auto& [name, field_type] : fields) {
            if (value.contains(name)) check_against(value[name], field_type, schema, where + "." + name);
        }
    }
}

// The summary file parsed (strictly: invalid UTF-8 fails) and checked against the documentation.
json valid_summary(const std::string& path) {
    const std::string text = read_file(path);
    json summary;
    try {
        summary = json::parse(text);
    } catch (const json::exception& error) {
        ADD_FAILURE() << error.what() << "\n" << text;
        return json::object();
    }
    check_against(summary, "document", documented_schema(), "summary");
    return summary;
}

std::string hex_of(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) text += "0123456789abcdef"[c >> 4], text += "0123456789abcdef"[c & 15];
    return text;
}

TEST(SummarySchema, TheDocumentationDescribesEveryObject) {
    const Schema schema = documented_schema();
    for (const char* object : {"document", "entry", "exact", "options", "step times", "output"}) {
        EXPECT_FALSE(schema.count(object) == 0 || schema.at(object).empty()) << object;
    }
}

TEST(SummarySchema, BatchWithFailingFilesAndOddNamesGivesAnEntryAndAReasonForEach) {
    // Files that failed to open or read had no entry, the failure read "Error", and a name that is
    // not UTF-8 went into the JSON raw.
    TempDir dir;
    const std::string good = dir.write("good.tab", "a,b:f\n00:0\n01:1\n10:1\n11:1\n");
    const std::string latin1 = dir.write("caf\xe9.tab", "a:f\n1:1\n");
    const std::string odd = dir.write("odd \"q\" \\ \t\nname.tab", "a:f\n0:1\n");
    const std::string bad = dir.write("bad.tab", "a:f\n1:2\n");
    const std::string long_name = dir.write("long.tab", "a:" + std::string(70, 'f') + "\n1:1\n");
    const std::string missing = dir.path() + "/missing.tab";
    const std::string summary = dir.path() + "/all.json";
    const std::vector<std::string> files = {good, latin1, odd, bad, long_name, missing};
    std::string arguments = "-q --jobs 2 --summary " + shell_quoted(summary);
    for (const std::string& file : files) arguments += " " + shell_quoted(file);
    const Outcome outcome = run_vormelc(dir, arguments);
    EXPECT_EQ(outcome.status, 1) << outcome.err;

    const json parsed = valid_summary(summary);
    EXPECT_EQ(parsed.value("schema_version", 0), 2);
    const json& entries = parsed["files"];
    ASSERT_EQ(entries.size(), files.size()) << parsed.dump(2);
    EXPECT_EQ(entries[0]["file"], good);
    EXPECT_EQ(entries[0]["status"], "saved");
    EXPECT_TRUE(entries[0]["file_hex"].is_null());
    // The Latin-1 byte as \u00e9, the exact bytes beside it.
    EXPECT_EQ(entries[1]["file"], dir.path() + "/caf\u00e9.tab");
    EXPECT_EQ(entries[1]["file_hex"], hex_of(latin1));
    EXPECT_EQ(entries[1]["status"], "saved");
    EXPECT_EQ(entries[2]["file"], odd);
    EXPECT_EQ(entries[2]["status"], "saved");
    EXPECT_EQ(entries[3]["failure"].get<std::string>().rfind("Error 7: Invalid characters in Y_entry: Y 2", 0), 0u)
        << entries[3];
    EXPECT_EQ(entries[4]["failure"].get<std::string>().rfind("Error 8: Invalid X_name or Y_name in Table line: ", 0), 0u)
        << entries[4];
    EXPECT_NE(entries[5]["failure"].get<std::string>().find("Requested File is not accessible:"), std::string::npos)
        << entries[5];
    for (int k = 3; k < 6; ++k) {
        EXPECT_EQ(entries[k]["status"], "failed");
        EXPECT_TRUE(entries[k]["product_terms"].is_null());
    }
    // The reasons on stderr, each with its file's name, although the runs were quiet and at once.
    EXPECT_NE(outcome.err.find("vormelc: " + bad + ": run ended without report files: Error 7: Invalid characters"),
              std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find("vormelc: " + long_name + ": run ended without report files: Error 8: "), std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.out.find("failed   Error 7: Invalid characters in Y_entry"), std::string::npos) << outcome.out;
}

TEST(SummarySchema, OneFileThatCannotBeReadOrImportedStillGetsItsEntry) {
    // One refused file gave no JSON at all.
    TempDir dir;
    const std::string summary = dir.path() + "/one.json";
    Outcome outcome = run_vormelc(dir, "-q --summary " + summary + " " + dir.path() + "/absent.tab");
    EXPECT_EQ(outcome.status, 1);
    json parsed = valid_summary(summary);
    ASSERT_EQ(parsed["files"].size(), 1u);
    EXPECT_EQ(parsed["files"][0]["status"], "failed");
    EXPECT_TRUE(parsed["files"][0]["inputs"].is_null());

    const std::string fsm = dir.write("fsm.pla", ".i 2\n.o 1\n.kiss\n");
    outcome = run_vormelc(dir, "-q --import --summary " + summary + " " + fsm);
    EXPECT_EQ(outcome.status, 1);
    parsed = valid_summary(summary);
    EXPECT_NE(parsed["files"][0]["failure"].get<std::string>().find("cannot be imported: line 3: state machines (.kiss)"),
              std::string::npos)
        << parsed.dump(2);
    EXPECT_EQ(parsed["files"][0]["options"]["import"], true);
}

TEST(SummarySchema, RecordsTheOptionsTheExactBoundAndTheRelationsOfOutputs) {
    TempDir dir;
    // G is F, H its inverse, K constant 0.
    const std::string input = dir.write("rel.tab", "a,b:f,g,h,k\n00:0010\n01:1100\n10:1100\n11:1100\n");
    const std::string summary = dir.path() + "/s.json";
    Outcome outcome = run_vormelc(dir, "-q --method exact --exact-limit 7.5 --rolexa 3 --threads 1 --summary " + summary +
                                           " " + input);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    json entry = valid_summary(summary)["files"][0];
    EXPECT_EQ(entry["options"], json::parse(R"({"method": "exact", "polarity": "1", "level": 0, "rolexa": 3,
                                                "threads": 1, "import": false, "exact_limit_seconds": 7.5})"));
    EXPECT_EQ(entry["exact"]["proven"], true) << entry;
    EXPECT_EQ(entry["exact"]["lower_bound"], entry["product_terms"]) << entry;
    const json& out = entry["output_list"];
    ASSERT_EQ(out.size(), 4u) << entry;
    EXPECT_EQ(out[0]["relation"], "ordinary");
    EXPECT_EQ(out[0]["polarity"], "1");
    EXPECT_EQ(out[1]["relation"], "identical");
    EXPECT_EQ(out[1]["other_output"], out[0]["name"]);
    EXPECT_TRUE(out[1]["polarity"].is_null());
    EXPECT_EQ(out[2]["relation"], "inverse");
    EXPECT_EQ(out[2]["other_output"], out[0]["name"]);
    EXPECT_EQ(out[3]["relation"], "constant_0");
    EXPECT_GT(entry["input_literals"].get<int>(), 0);
    EXPECT_GT(entry["output_literals"].get<int>(), 0);

    outcome = run_vormelc(dir, "-q --summary " + summary + " " + input);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(valid_summary(summary)["files"][0]["exact"].is_null());
}

TEST(SummarySchema, SharedCombinationOverItsLimitSaysItsLimitNotUserBreak) {
    TempDir dir;
    std::string names = "f0";
    for (int j = 1; j < 9; ++j) names += ",f" + std::to_string(j);
    const std::string input = dir.write("nine.tab", "a,b:" + names + "\n00:000000000\n11:101010101\n");
    const std::string summary = dir.path() + "/s.json";
    const Outcome outcome = run_vormelc(dir, "-q --method shared --polarity comb --summary " + summary + " " + input);
    EXPECT_EQ(outcome.status, 1);
    const std::string failure = valid_summary(summary)["files"][0]["failure"];
    EXPECT_NE(failure.find("limited to 8 outputs"), std::string::npos) << failure;
    EXPECT_NE(outcome.err.find("limited to 8 outputs"), std::string::npos) << outcome.err;
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(SummarySchema, OutOfMemoryInAStepSaysOutOfMemoryNotUserBreak) {
    TempDir dir;
    // create_expanded_tables of 22 inputs and 100 outputs: 400 MB.
    const std::string input =
        dir.write("wide.pla", ".i 22\n.o 100\n.p 1\n" + std::string(22, '1') + " " + std::string(100, '1') + "\n.e\n");
    const std::string summary = dir.path() + "/s.json";
    const Outcome outcome =
        run_script(dir, "ulimit -v 500000; \"$V\" -q --summary " + shell_quoted(summary) + " " + shell_quoted(input));
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(valid_summary(summary)["files"][0]["failure"], "Out of memory");
}
#endif

}  // namespace
}  // namespace vormel::testing
