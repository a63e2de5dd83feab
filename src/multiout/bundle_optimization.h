#pragma once
#include <vector>

#include "multiout/cube_table.h"

namespace vormel {

struct RunContext;
struct Problem;

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

// Runs the reduction pass to a fixed point rolexa_iterations times, each time from the table as
// given (each iteration draws on from where the last one stopped, after one seeding), and leaves
// the table with the best figures. change_total = changes of the last iteration. On a system error
// sets error_flag and returns with the table as it stands.
void bundle_optimization(RunContext& ctx, const Problem& problem, CubeTable& table, int& change_total,
                         BundleSearchBest& search_best);

}  // namespace vormel
