// A run forced onto wider cube classes than its function needs gives the narrow run's result: the
// width classes are copies of one deterministic engine.
#include <gtest/gtest.h>

#include "cubes/width_classes.h"
#include "model/problem.h"
#include "run/command_fsm.h"
#include "support/test_session.h"

namespace vormel {
namespace {

struct ClassRun {
    bool saved = false;
    int width_class = -1;
    TermTable terms;
    std::vector<int> polarity;
};

ClassRun run_in_class(const std::string& path, const RunOptions& options, int min_class) {
    testing::TestRun run;
    run.ctx.options = options;
    run.session.min_cube_class = min_class;
    run.ctx.input_file = path;
    run.area.set_plain_text(testing::read_file(path));
    run.ctx.run_state = 4;
    for (int guard = 0; guard < 10 && run.ctx.run_state != 10; ++guard) Vormel_CommandFSM(run.session);
    const Session& s = run.session;
    return {s.report_saved, s.engine.width_class, s.problem.final_terms, s.problem.polarity};
}

TEST(CubeWidthClass, WiderClassesGiveTheNarrowResult) {
    struct Case {
        const char* file;
        int method;
        int mode;
    };
    // opa has 69 outputs (two output words in the narrow class, one in the wider ones).
    for (const Case& c : {Case{"p82.pla", method_shared, polarity_automatic}, Case{"opa.pla", method_shared, polarity_one_set},
                          Case{"m1.pla", method_exact, polarity_one_set}}) {
        SCOPED_TRACE(c.file);
        testing::TempDir dir;
        const std::string path = dir.write(c.file, testing::read_file(std::string(VORMEL_BENCH_DIR) + "/pla/" + c.file));
        RunOptions options;
        options.display_level = 0;
        options.page_by_page = 0;
        options.prime_method = c.method;
        options.polarity_mode = c.mode;
        options.exact_limit_seconds = 30;
        const ClassRun narrow = run_in_class(path, options, 0);
        ASSERT_TRUE(narrow.saved);
        EXPECT_EQ(narrow.width_class, 0);
        // The next class and the widest (one class when the build has only two).
        std::vector<int> wider = {1};
        if (cubes::kWidthClassCount > 2) wider.push_back(cubes::kWidthClassCount - 1);
        for (int k : wider) {
            const ClassRun wide = run_in_class(path, options, k);
            ASSERT_TRUE(wide.saved);
            EXPECT_EQ(wide.width_class, k);
            EXPECT_EQ(wide.polarity, narrow.polarity);
            EXPECT_EQ(wide.terms.last, narrow.terms.last);
            EXPECT_EQ(wide.terms.xs, narrow.terms.xs);
            EXPECT_EQ(wide.terms.ys, narrow.terms.ys);
        }
    }
}

}  // namespace
}  // namespace vormel
