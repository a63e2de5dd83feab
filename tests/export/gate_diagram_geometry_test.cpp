// The gate diagram of whole runs: its gates match the report's gate count, its netlist computes the
// function, and every gate pin is reached by exactly one wire from where its signal is.
#include <map>

#include <gtest/gtest.h>

#include "export/gate_diagram_geometry.h"
#include "export/result_view.h"
#include "model/problem.h"
#include "results/count_gates.h"
#include "results/sort_final_terms.h"
#include "support/picture_run.h"
#include "support/run_inputs.h"

namespace vormel {
namespace {

using testing::PictureRun;

GateDiagram diagram_of(const Problem& problem) { return gate_diagram_geometry(problem, result_view(problem, "")); }

int count_kind(const GateDiagram& d, DiagramGate::Kind kind) {
    return static_cast<int>(std::count_if(d.gates.begin(), d.gates.end(), [kind](const DiagramGate& g) { return g.kind == kind; }));
}

TEST(GateDiagram, HalfAdderHasThreeAndGatesAndOneOrGateAsTheGateCountSays) {
    const PictureRun run("half_adder.tab", testing::read_text(std::string(VORMEL_SOURCE_DIR) + "/examples/half_adder.tab"));
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const GateDiagram d = diagram_of(run.problem());
    EXPECT_EQ(count_kind(d, DiagramGate::Kind::and_gate), 3);
    EXPECT_EQ(count_kind(d, DiagramGate::Kind::or_gate), 1);
    // Both inputs are used inverted (sum = a'b + ab'): one inverter each, none at the outputs.
    EXPECT_EQ(count_kind(d, DiagramGate::Kind::inverter), 2);
    // The report gives the gate inputs: 3 AND_2 and 1 OR_2.
    EXPECT_NE(run.area.text().find(" *** Total Number of Gate Inputs: 8"), std::string::npos) << run.area.text();
}

// Gates by kind and size: AND_n from the AND gates' pins, OR_n from the OR gates'.
void expect_gate_count(const Problem& p, const GateDiagram& d) {
    TermTable sorted = p.final_terms;
    sort_final_terms(sorted);
    const GateCount count = gate_count(p, sorted);
    std::map<int, int> and_sizes, or_sizes, expected_and, expected_or;
    for (const DiagramGate& g : d.gates) {
        if (g.kind == DiagramGate::Kind::and_gate) ++and_sizes[static_cast<int>(g.pins.size())];
        if (g.kind == DiagramGate::Kind::or_gate) ++or_sizes[static_cast<int>(g.pins.size())];
    }
    for (std::size_t n = 0; n < count.and_count.size(); ++n) {
        if (count.and_count[n] > 0) expected_and[static_cast<int>(n)] = count.and_count[n];
    }
    for (std::size_t n = 0; n < count.or_count.size(); ++n) {
        if (count.or_count[n] > 0) expected_or[static_cast<int>(n)] = count.or_count[n];
    }
    EXPECT_EQ(and_sizes, expected_and);
    EXPECT_EQ(or_sizes, expected_or);
    long long gates = 0, inputs = 0;
    for (const DiagramGate& g : d.gates) {
        if (g.kind == DiagramGate::Kind::inverter) continue;
        ++gates;
        inputs += static_cast<long long>(g.pins.size());
    }
    EXPECT_EQ(gates, count.gates);
    EXPECT_EQ(inputs, count.gate_inputs);
}

// The value of a signal of the diagram on a minterm, from the gates as drawn.
bool value_of(const GateDiagram& d, const Signal& s, int minterm, int n, int depth = 0) {
    if (depth > 200) {
        ADD_FAILURE() << "a loop of signals";
        return false;
    }
    switch (s.kind) {
        case Signal::Kind::constant: return s.index != 0;
        case Signal::Kind::literal: return (((minterm >> (n - 1 - s.index)) & 1) != 0) != s.negated;
        case Signal::Kind::output: {
            const DiagramOutput& out = d.outputs[s.index];
            return value_of(d, out.driver, minterm, n, depth + 1) != out.inverted;
        }
        case Signal::Kind::gate: break;
    }
    const DiagramGate& gate = d.gates[s.index];
    bool value = gate.kind == DiagramGate::Kind::and_gate;
    for (const Signal& input : gate.inputs) {
        const bool v = value_of(d, input, minterm, n, depth + 1);
        value = gate.kind == DiagramGate::Kind::and_gate ? value && v : value || v;
    }
    return value != gate.bubble;
}

void expect_realises_input(const Problem& p, const GateDiagram& d) {
    ASSERT_EQ(static_cast<int>(d.outputs.size()), p.outputs());
    for (int m = 0; m <= p.extab.last; ++m) {
        for (int j = 0; j < p.outputs(); ++j) {
            const std::uint8_t expected = p.extab.y(m)[j];
            if (expected == kDash) continue;
            const DiagramOutput& out = d.outputs[j];
            ASSERT_EQ(value_of(d, out.driver, m, p.inputs()) != out.inverted, expected == kOne)
                << "output " << out.name << " minterm " << m;
        }
    }
}

// Each AND and OR pin is the end of one wire; a wire into an AND pin starts on its literal's line.
void expect_wired(const GateDiagram& d) {
    for (const DiagramGate& g : d.gates) {
        if (g.kind == DiagramGate::Kind::inverter) continue;
        for (std::size_t k = 0; k < g.pins.size(); ++k) {
            int ends = 0;
            for (const std::vector<Point>& wire : d.wires) {
                if (wire.back() != g.pins[k]) continue;
                ++ends;
                if (g.kind != DiagramGate::Kind::and_gate) continue;
                const Signal& s = g.inputs[k];
                const DiagramInput& input = d.inputs[s.index];
                EXPECT_EQ(wire.front().x, s.negated ? input.inverted_x : input.x) << input.name;
            }
            EXPECT_EQ(ends, 1) << "pin " << k << " of a gate at " << g.x << "," << g.y;
        }
    }
}

class GateDiagramFiles : public ::testing::TestWithParam<testing::InputFile> {};

TEST_P(GateDiagramFiles, GatesMatchTheCountAndTheNetlistRealisesTheInput) {
    const PictureRun run(GetParam().path.filename().string(), testing::read_text(GetParam().path));
    ASSERT_TRUE(run.session.report_saved) << GetParam().path;
    const Problem& p = run.problem();
    if (p.inputs() > 12) GTEST_SKIP() << p.inputs() << " inputs";
    const GateDiagram d = diagram_of(p);
    expect_gate_count(p, d);
    expect_realises_input(p, d);
    expect_wired(d);
}

INSTANTIATE_TEST_SUITE_P(Inputs, GateDiagramFiles, ::testing::ValuesIn(testing::small_inputs(10)), testing::input_name);
INSTANTIATE_TEST_SUITE_P(LargeInputs, GateDiagramFiles, ::testing::ValuesIn(testing::large_inputs(10)),
                         testing::input_name);

class GateDiagramRandom : public ::testing::TestWithParam<unsigned> {};

TEST_P(GateDiagramRandom, GatesMatchTheCountAndTheNetlistRealisesTheInput) {
    const unsigned seed = GetParam();
    const int modes[] = {polarity_one_set, polarity_zero_set, polarity_automatic};
    const PictureRun run("r.tab", testing::random_tab(seed, 2 + static_cast<int>(seed % 5), 4, 15), modes[seed % 3],
                         seed % 2 ? method_cns : method_shared);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const GateDiagram d = diagram_of(run.problem());
    expect_gate_count(run.problem(), d);
    expect_realises_input(run.problem(), d);
    expect_wired(d);
}

// Wires from a term to the OR gates it feeds (out, along its track, across to the pin), by term.
std::map<std::pair<double, double>, std::vector<std::vector<Point>>> term_wires(const GateDiagram& d) {
    std::map<std::pair<double, double>, std::vector<std::vector<Point>>> by_term;
    for (const std::vector<Point>& wire : d.wires) {
        if (wire.size() == 4) by_term[{wire[0].x, wire[0].y}].push_back(wire);
    }
    return by_term;
}

// The vertical run of a crosses a horizontal run of b strictly inside both.
bool crosses(const std::vector<Point>& a, const std::vector<Point>& b) {
    const double x = a[1].x, low = std::min(a[1].y, a[2].y), high = std::max(a[1].y, a[2].y);
    for (std::size_t k : {0u, 2u}) {
        const double y = b[k].y, left = std::min(b[k].x, b[k + 1].x), right = std::max(b[k].x, b[k + 1].x);
        if (x > left && x < right && y > low && y < high) return true;
    }
    return false;
}

// The terms came in the report's order and the OR gates in output order, so the seven-segment
// diagram was a web of crossing wires. Terms that feed one output now never cross each other.
TEST_P(GateDiagramRandom, WiresOfTermsThatFeedOneOutputNeverCross) {
    const unsigned seed = GetParam();
    const PictureRun run("r.tab", testing::random_tab(seed, 3 + static_cast<int>(seed % 4), 2 + static_cast<int>(seed % 4), 20),
                         polarity_one_set, method_cns);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    std::vector<std::vector<Point>> single;
    for (const auto& [from, wires] : term_wires(diagram_of(run.problem()))) {
        if (wires.size() == 1) single.push_back(wires.front());
    }
    for (const auto& a : single) {
        for (const auto& b : single) EXPECT_FALSE(&a != &b && crosses(a, b)) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeded, GateDiagramRandom, ::testing::Range(1u, 31u));

}  // namespace
}  // namespace vormel
