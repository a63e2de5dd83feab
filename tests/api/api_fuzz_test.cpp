// Mutated input texts through the API: every one ends in a proven result or a typed error, never in
// a crash, a hang or another exception. Seeded, so a failure repeats.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <vormel/vormel.h>

#include "support/test_session.h"

namespace vormel {
namespace {

namespace api = vormel::api;

struct Seed {
    std::string format;
    std::string text;
};

std::vector<Seed> seeds() {
    const std::string examples = std::string(VORMEL_SOURCE_DIR) + "/examples/";
    std::vector<Seed> list;
    for (const char* file : {"half_adder.tab", "full_adder.tab", "seven_segment.tdf", "comparator.dcb", "multiplier2.pla",
                             "majority.bol"}) {
        const std::string name = file;
        list.push_back({name.substr(name.rfind('.') + 1), testing::read_file(examples + name)});
    }
    return list;
}

// Pieces that mean something to one reader or another.
const char* const kTokens[] = {":", ",", ";", "=", "*", "+", "/", "(", ")", "-", "0", "1", "2", "~", "|", "\n", " ",
                               ".i ", ".o ", ".p ", ".type fr\n", ".e\n", "$REST", "END", "*FUN", "$HEADER:X[", "]:Y[",
                               "TABLE", "=>", "B\"", "\"", "NOT ", " AND ", " OR ", "\xc3\xa4", "\xff", "999", "\t"};

std::string mutate(std::string text, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = text.empty() ? 0 : random() % text.size();
        switch (random() % 5) {
            case 0: if (!text.empty()) text[at] = static_cast<char>(random() % 256); break;
            case 1: text.insert(at, kTokens[random() % std::size(kTokens)]); break;
            case 2: text.erase(at, 1 + random() % 8); break;
            case 3: {  // a line again, elsewhere
                const std::size_t start = text.rfind('\n', at);
                const std::size_t from = start == std::string::npos ? 0 : start + 1;
                const std::size_t end = text.find('\n', at);
                text.insert(random() % (text.size() + 1), text.substr(from, end == std::string::npos ? end : end - from + 1));
                break;
            }
            default: if (!text.empty()) text[at] = "01-:"[random() % 4]; break;
        }
    }
    return text;
}

TEST(ApiFuzz, MutatedTextsEndInAResultOrATypedError) {
    // About 3 s in the release build, 10 s under the sanitizers.
    constexpr int kMutants = 4000;
    const std::vector<Seed> list = seeds();
    std::mt19937 random(20261208);
    int results = 0, errors = 0;
    for (int m = 0; m < kMutants; ++m) {
        const Seed& seed = list[m % list.size()];
        const std::string text = mutate(seed.text, random);
        api::Options options;
        options.threads = 1;
        options.exact_limit_seconds = 1;
        // The classic method expands every minterm: only small mutants go through it too.
        const api::Method methods[] = {api::Method::shared, m % 8 == 0 ? api::Method::exact : api::Method::cns};
        for (api::Method method : methods) {
            options.method = method;
            try {
                const api::Result result = api::minimize(api::from_text(text, seed.format), options);
                EXPECT_NE(result.proof.outcome.find("proven"), std::string::npos) << "mutant " << m;
                ++results;
                if (result.input_names.size() > 10) break;
            } catch (const api::Error& error) {
                EXPECT_GT(std::string(error.what()).size(), 0u);
                ++errors;
                break;
            } catch (const std::exception& error) {
                ADD_FAILURE() << "mutant " << m << " threw " << error.what() << "\n" << text;
                break;
            }
        }
    }
    // Both ends are reached: the mutants are neither all refused nor all harmless.
    EXPECT_GT(results, kMutants / 10);
    EXPECT_GT(errors, kMutants / 10);
}

}  // namespace
}  // namespace vormel
