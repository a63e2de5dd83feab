// JSON strings of the summary for any bytes: valid UTF-8 kept, every other byte as its Latin-1 character.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "export/summary_json.h"

namespace vormel {
namespace {

TEST(SummaryJsonString, EveryByteSequenceGivesValidJsonThatKeepsTheValidCharacters) {
    struct Case {
        std::string bytes;
        std::string read_back;  // UTF-8 of what a JSON reader gets
    };
    const Case cases[] = {
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},  // kept as written
        {"caf\xe9", "caf\xc3\xa9"},                  // a Latin-1 byte
        {"end\xc3", "end\xc3\x83"},                  // a sequence cut off at the end
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},            // an overlong slash
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},  // a surrogate
        {"\xe2\x82x", "\xc3\xa2\xc2\x82x"},          // a continuation missing
        {"q\"b\\n\nt\tc\x01", "q\"b\\n\nt\tc\x01"},  // what JSON itself escapes
    };
    for (const Case& c : cases) {
        const std::string text = json_string(c.bytes);
        nlohmann::json parsed;
        ASSERT_NO_THROW(parsed = nlohmann::json::parse(text)) << text;
        EXPECT_EQ(parsed.get<std::string>(), c.read_back) << text;
    }
    EXPECT_EQ(json_string("caf\xe9"), "\"caf\\u00e9\"");
}

}  // namespace
}  // namespace vormel
