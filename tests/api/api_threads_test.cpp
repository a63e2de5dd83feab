// Runs on several threads at once give what the same runs give one after another: a run keeps no
// state outside its own objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <vormel/vormel.h>

namespace vormel {
namespace {

namespace api = vormel::api;

struct Job {
    std::string file;
    api::Method method;
    api::Polarity polarity;
};

// What a run's result is, the report aside (it holds times).
std::string fingerprint(const api::Result& result) {
    std::string text = result.equations + api::to_pla(result) + api::to_blif(result);
    for (const api::Output& output : result.outputs) text += output.name + std::to_string(output.polarity);
    return text + std::to_string(result.cost.gate_inputs) + result.proof.outcome;
}

std::vector<Job> jobs() {
    const std::string examples = std::string(VORMEL_SOURCE_DIR) + "/examples/";
    const std::string bench = std::string(VORMEL_BENCH_DIR) + "/pla/";
    std::vector<Job> list;
    for (const char* file : {"full_adder.tab", "seven_segment.tdf", "comparator.dcb", "multiplier2.pla", "majority.bol"}) {
        for (api::Method method : {api::Method::cns, api::Method::shared, api::Method::exact}) {
            list.push_back({examples + file, method, api::Polarity::automatic});
        }
    }
    for (const char* file : {"dc1.pla", "dekoder.pla", "inc.pla", "f51m.pla"}) {
        list.push_back({bench + file, api::Method::shared, api::Polarity::one_set});
        list.push_back({bench + file, api::Method::shared, api::Polarity::automatic});
    }
    return list;
}

std::string run(const Job& job) {
    api::Options options;
    options.method = job.method;
    options.polarity = job.polarity;
    options.rolexa = 2;
    return fingerprint(api::minimize(api::from_file(job.file), options));
}

TEST(ApiThreads, FourThreadsAtOnceGiveTheSequentialResults) {
    const std::vector<Job> list = jobs();
    std::vector<std::string> sequential;
    for (const Job& job : list) sequential.push_back(run(job));

    constexpr int kThreads = 4;
    std::vector<std::vector<std::string>> parallel(kThreads, std::vector<std::string>(list.size()));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            // Each thread starts elsewhere, so that different runs overlap.
            for (std::size_t k = 0; k < list.size(); ++k) {
                const std::size_t at = (k + t * list.size() / kThreads) % list.size();
                parallel[t][at] = run(list[at]);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            EXPECT_EQ(parallel[t][k], sequential[k]) << "thread " << t << ": " << list[k].file;
        }
    }
}

}  // namespace
}  // namespace vormel
