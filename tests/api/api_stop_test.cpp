// A stop token ends a running call from another thread with the user-break error, soon.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include <vormel/vormel.h>

namespace vormel {
namespace {

namespace api = vormel::api;
using Clock = std::chrono::steady_clock;

api::Options long_exact_run() {
    api::Options options;
    options.method = api::Method::exact;
    options.exact_limit_seconds = 600;
    return options;
}

const std::string& slow_file() {
    static const std::string file = std::string(VORMEL_BENCH_DIR) + "/pla/ex1010.pla";
    return file;
}

TEST(ApiStop, TokenFromAnotherThreadEndsAnExactRunSoon) {
    const api::Options options = long_exact_run();
    std::thread stopper([token = options.stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        token.request_stop();
    });
    const Clock::time_point start = Clock::now();
    std::string message;
    try {
        api::minimize(api::from_file(slow_file()), options);
    } catch (const api::RunError& e) {
        message = e.what();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stopper.join();
    EXPECT_NE(message.find("Break"), std::string::npos) << message;
    // The solver alone would take most of its ten minutes.
    EXPECT_LT(seconds, 10.0);
}

TEST(ApiStop, TokenSetBeforeTheCallStopsACubeRunButNotAClassicOne) {
    api::Options options;
    options.stop.request_stop();
    EXPECT_THROW(api::minimize(api::from_file(slow_file()), options), api::RunError);
    options.method = api::Method::cns;
    const std::string examples = std::string(VORMEL_SOURCE_DIR) + "/examples/";
    EXPECT_NE(api::minimize(api::from_file(examples + "half_adder.tab"), options).equations.find("SUM"), std::string::npos);
    // A fresh token is not stopped: options copied before request_stop share the flag, new ones do not.
    EXPECT_FALSE(api::Options{}.stop.stop_requested());
}

}  // namespace
}  // namespace vormel
