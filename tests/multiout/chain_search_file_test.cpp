// Whole runs of a file whose bundle optimization meets chain searches that cannot end in components
// with many cycles (9 inputs, 21 outputs, 25 rows): counting their routes one by one took 198 s at
// the 0-Set and doubled with every output added.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "run/command_fsm.h"
#include "run/session.h"
#include "support/run_inputs.h"
#include "support/test_session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;

struct Expected {
    int mode;
    const char* terms;
    const char* polarity;
};

TEST(ChainSearchFile, FailingChainsInManyCyclesAreCountedAtEveryPolarity) {
    testing::ScratchDir scratch;
    const fs::path input = scratch.path() / "many_cycles.pla";
    fs::copy_file(fs::path(VORMEL_SOURCE_DIR) / "tests/data/many_cycles.pla", input);
    // The figures of the route-by-route count, which finished in 198 s (0-Set) and 64 s (Automatic).
    for (const Expected& e : {Expected{polarity_one_set, "P_Terms = 39 ", "111111111111111111111"},
                              Expected{polarity_zero_set, "P_Terms = 64 ", "000000000000000000000"},
                              Expected{polarity_automatic, "P_Terms = 39 ", "111111111111111111111"}}) {
        SCOPED_TRACE(e.mode);
        testing::FileRun run(input.string(), 1);
        run.ctx.options.polarity_mode = e.mode;
        run.ctx.run_state = 4;
        for (int guard = 0; guard < 10 && run.ctx.run_state != 10; ++guard) Vormel_CommandFSM(run.session);
        const std::string text = run.area.text();
        EXPECT_NE(text.find(e.terms), std::string::npos);
        EXPECT_NE(text.find(std::string(" Final Polarity = ") + e.polarity), std::string::npos);
        EXPECT_NE(text.find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
        EXPECT_EQ(testing::check_realisation(run.session.problem), "");
    }
}

}  // namespace
}  // namespace vormel
