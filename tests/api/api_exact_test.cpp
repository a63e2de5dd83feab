// The exact method through the library: runs on four threads at once give what each gives alone
// (the solver's command-line front end mixed the runs' arguments), its limit holds in every phase,
// and what it proves is a minimum.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <vormel/vormel.h>

namespace vormel {
namespace {

namespace api = vormel::api;

std::string exact_fingerprint(const api::Result& result) {
    return result.equations + api::to_pla(result) + std::to_string(result.cost.gate_inputs) + result.proof.outcome +
           std::to_string(result.proof.lower_bound);
}

std::string run_exact_alone_or_not(const std::string& file) {
    api::Options options;
    options.method = api::Method::exact;
    options.exact_limit_seconds = 300;  // never reached: the results must not depend on timing
    options.threads = 1;
    return exact_fingerprint(api::minimize(api::from_file(std::string(VORMEL_BENCH_DIR) + "/pla/" + file), options));
}

TEST(ApiExact, ConcurrentExactRunsEqualTheRunsAlone) {
    // Each leaves the solver a core of dozens to hundreds of rows.
    const std::vector<std::string> files = {"mlp4.pla", "inc.pla", "apla.pla", "max512.pla", "sqr6.pla", "dist.pla"};
    std::vector<std::string> alone;
    for (const std::string& file : files) alone.push_back(run_exact_alone_or_not(file));
    for (const std::string& result : alone) EXPECT_NE(result.find("proven minimum"), std::string::npos) << result;

    constexpr int kThreads = 4;
    constexpr int kCopies = 2;
    std::vector<std::vector<std::string>> together(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = 0; k < kCopies * files.size(); ++k)
                together[t].push_back(run_exact_alone_or_not(files[(k + static_cast<std::size_t>(t)) % files.size()]));
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t)
        for (std::size_t k = 0; k < together[t].size(); ++k) {
            const std::size_t file = (k + static_cast<std::size_t>(t)) % files.size();
            EXPECT_EQ(together[t][k], alone[file]) << "thread " << t << ": " << files[file];
        }
}

TEST(ApiExact, OneSecondLimitOnTheLargestBenchFunctionEndsInTime) {
    // ex1010's strong branching solved LPs for seconds past the limit.
    api::Options options;
    options.method = api::Method::exact;
    options.exact_limit_seconds = 1;
    const auto start = std::chrono::steady_clock::now();
    const api::Result result = api::minimize(api::from_file(std::string(VORMEL_BENCH_DIR) + "/pla/ex1010.pla"), options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NE(result.proof.outcome.find("at least"), std::string::npos) << result.proof.outcome;
    EXPECT_GT(result.proof.lower_bound, 0);
    // Generous against a busy machine: the overrun it pins was many seconds.
    EXPECT_LT(seconds, 4.0);
}

TEST(ApiExact, LimitHoldsInsideThePrimeGeneration) {
    // ex4's primes: one containment pass of a cofactor merge ran 50 s past a 5 s limit.
#ifdef VORMEL_SANITIZED_TESTS
    // That build has no 128-input cube class: ex4 runs on the widest cubes, where the shared cover
    // an exact run starts from (not yet held to the limit) alone takes close to a minute.
    GTEST_SKIP() << "ex4 runs on the widest cubes in the sanitizer build";
#endif
    api::Options options;
    options.method = api::Method::exact;
    options.exact_limit_seconds = 1;
    const auto start = std::chrono::steady_clock::now();
    const api::Result result =
        api::minimize(api::from_file(std::string(VORMEL_BENCH_DIR) + "/pla-wide/ex4.pla", true), options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(result.proof.minimum_proven);
    EXPECT_LT(seconds, 5.0);  // generous against a busy machine
}

TEST(ApiExact, ExactClaimsNoMinimumTheSharedMethodBeats) {
    // Automatic polarity: exact said "Proven minimum: 47" where the shared method found 44.
    const api::Source source =
        api::from_file(std::string(VORMEL_SOURCE_DIR) + "/tests/data/exact_claims_minimum_shared_beats_j_alu2.pla");
    api::Options options;
    options.polarity = api::Polarity::automatic;
    const api::Result shared = api::minimize(source, options);
    options.method = api::Method::exact;
    options.exact_limit_seconds = 60;
    const api::Result exact = api::minimize(source, options);
    EXPECT_LE(exact.cost.terms, shared.cost.terms);
    EXPECT_GE(exact.cost.terms, exact.proof.lower_bound);
    // The proof names the polarity it holds for.
    EXPECT_NE(exact.report.find("Product Terms for Polarity = "), std::string::npos);
}

TEST(ApiExact, NotAllEqualNeedsOneTermPerInput) {
    // F = 1 unless all n inputs are equal. Its primes are the x_i * /x_j; a set of them covers F
    // exactly when the graph of its edges i -> j is strongly connected (every proper subset of
    // inputs at 1 has an edge out of it), which takes n edges: the minimum is n terms of 2 literals,
    // no prime is essential, and the solver has to find a cycle among n(n-1) primes.
    for (int n : {3, 5, 7}) {
        std::string pla = ".i " + std::to_string(n) + "\n.o 1\n";
        for (int m = 1; m < (1 << n) - 1; ++m) {
            for (int i = n - 1; i >= 0; --i) pla += static_cast<char>('0' + ((m >> i) & 1));
            pla += " 1\n";
        }
        pla += ".e\n";
        api::Options options;
        options.method = api::Method::exact;
        const api::Result result = api::minimize(api::from_text(pla, "not_all_equal.pla", true), options);
        EXPECT_EQ(result.cost.terms, n) << n;
        EXPECT_EQ(result.cost.input_literals, 2 * n) << n;
        EXPECT_TRUE(result.proof.minimum_proven) << n;
        EXPECT_EQ(result.proof.lower_bound, n) << n;
    }
}

}  // namespace
}  // namespace vormel
