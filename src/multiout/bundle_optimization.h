#pragma once
#include <functional>
#include <vector>

#include "multiout/cube_table.h"

namespace vormel {

struct RunContext;

// Product terms and X and Y literals of one solution; "better" means fewer terms, then fewer
// literals in all. Equal figures keep the earlier solution.
struct BundleFigures {
    int pterms = 99999999;
    int xlits = 99999999;
    int ylits = 99999999;

    bool better_than(const BundleFigures& best) const {
        return pterms < best.pterms ||
               (pterms == best.pterms && static_cast<long long>(xlits) + ylits < static_cast<long long>(best.xlits) + best.ylits);
    }
};

// The best figures over every bundle optimization of one polarity search, with the polarity that
// reached them.
struct BundleSearchBest {
    BundleFigures figures;
    std::vector<int> polarity;
};

// A step of one bundle optimization whose figures beat every earlier step of that optimization.
struct BundleStep {
    int step = 0;
    BundleFigures figures;
};
using BundleStepSink = std::function<void(const BundleStep&)>;

// What such a step shows above display level 0: the search's heading (once per run), the polarity
// line and, when it also beats the whole polarity search so far, a New best line. search_best
// follows at every level.
void show_bundle_step(RunContext& ctx, const std::vector<int>& polarity, const BundleStep& step,
                      BundleSearchBest& search_best);

// Runs the reduction pass to a fixed point rolexa_iterations times, each time from the table as
// given (each iteration draws on from where the last one stopped, after one seeding), and leaves
// the table with the best figures of `polarity`'s table. change_total = changes of the last
// iteration. Each step that beats the earlier ones goes to better_step as it is found (the first
// step always does). On a system error sets error_flag and returns with the table as it stands.
void bundle_optimization(RunContext& ctx, const std::vector<int>& polarity, CubeTable& table, int& change_total,
                         const BundleStepSink& better_step);
// The same, showing those steps at once.
void bundle_optimization(RunContext& ctx, const std::vector<int>& polarity, CubeTable& table, int& change_total,
                         BundleSearchBest& search_best);

}  // namespace vormel
