#include "export/summary_json.h"

#include <fmt/format.h>

#include "model/problem.h"
#include "results/count_gates.h"
#include "results/sort_final_terms.h"

namespace vormel {

namespace {

// "passed", "failed", or "not run" when there are no minimized values to compare.
std::string proof_of(const Problem& p) {
    const ExpandedTable& in = p.extab;
    const FinalOutput& out = p.expanded_final_output;
    if (in.last < 0) {
        // A cube-method run without an expanded table was proven on cubes.
        switch (p.cube_proof) {
            case ProofOutcome::passed: return "passed";
            case ProofOutcome::failed: return "failed";
            default: return "not run";
        }
    }
    if (out.last != in.last || out.ny != in.ny || out.nx != in.nx) return "not run";
    for (int r = 0; r <= in.last; ++r) {
        const std::uint8_t* want = in.y(r);
        const std::uint8_t* got = out.y(r);
        for (int j = 0; j < in.ny; ++j) {
            if (want[j] != kDash && want[j] != got[j]) return "failed";
        }
    }
    return "passed";
}

std::string polarity_of(const Problem& p, int j) {
    switch (p.out_code[j]) {
        case relation_const0:
        case relation_undefined_normal: return "constant 0";
        case relation_const1:
        case relation_undefined_inverted: return "constant 1";
        case relation_identical: return "identical to " + p.ynames[p.out_related[j]];
        case relation_inverse: return "inverse of " + p.ynames[p.out_related[j]];
        default: return j < static_cast<int>(p.polarity.size()) && p.polarity[j] == 0 ? "0" : "1";
    }
}

}  // namespace

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) out += fmt::format("\\u{:04x}", static_cast<unsigned char>(c));
                else out += c;
        }
    }
    return out + "\"";
}

std::string summary_entry(const Problem& problem, const RunFacts& facts) {
    const bool have_result = problem.outputs() > 0 && problem.final_terms.nx == problem.inputs() &&
                             static_cast<int>(problem.out_code.size()) == problem.outputs() && facts.saved;
    TermTable terms = problem.final_terms;
    if (have_result) sort_final_terms(terms);
    const LiteralCounts counts = have_result ? count_literals(terms) : LiteralCounts{};
    const GateCount gates = have_result ? gate_count(problem, terms) : GateCount{};

    std::string text = "    {\n";
    text += "      \"file\": " + json_string(facts.file) + ",\n";
    text += "      \"status\": " + json_string(facts.saved ? "saved" : "failed") + ",\n";
    text += "      \"proof\": " + json_string(proof_of(problem)) + ",\n";
    text += fmt::format("      \"product_terms\": {},\n", counts.product_terms);
    text += fmt::format("      \"literals\": {},\n", counts.x_literals);
    text += fmt::format("      \"gates\": {},\n", gates.gates);
    text += fmt::format("      \"gate_inputs\": {},\n", gates.gate_inputs);
    text += fmt::format("      \"seconds\": {:.3f},\n", facts.total_seconds);
    if (!facts.saved) text += "      \"failure\": " + json_string(facts.failure) + ",\n";
    text += "      \"method\": " + json_string(facts.method) + ",\n";
    text += "      \"polarity_mode\": " + json_string(facts.polarity_mode) + ",\n";
    text += fmt::format("      \"inputs\": {},\n      \"outputs\": {},\n", problem.inputs() > 0 ? problem.inputs() : 0,
                        problem.outputs() > 0 ? problem.outputs() : 0);
    static const char* const kSteps[] = {"expand", "primes", "cover", "bundle", "final"};
    text += "      \"step_seconds\": {";
    for (std::size_t s = 0; s < facts.step_seconds.size(); ++s) {
        text += fmt::format("{}\"{}\": {:.3f}", s ? ", " : "", kSteps[s], facts.step_seconds[s]);
    }
    text += "},\n      \"output_list\": [";
    if (have_result) {
        for (int j = 0; j < problem.outputs(); ++j) {
            int fed = 0, literals = 0;
            for (int r = 0; r <= terms.last; ++r) {
                if (terms.y(r)[j] == kDash || problem.out_code[j] != relation_ordinary) continue;
                ++fed;
                for (int i = 0; i < terms.nx; ++i) literals += terms.x(r)[i] != kDash;
            }
            text += fmt::format("{}\n        {{\"name\": {}, \"polarity\": {}, \"terms\": {}, \"term_literals\": {}}}",
                                j ? "," : "", json_string(problem.ynames[j]), json_string(polarity_of(problem, j)), fed,
                                literals);
        }
        text += "\n      ";
    }
    return text + "]\n    }";
}

std::string summary_document(const std::string& entries_joined) {
    return "{\n  \"program\": \"vormel\",\n  \"version\": " + json_string(VORMEL_VERSION) + ",\n  \"files\": [\n" +
           entries_joined + "\n  ]\n}\n";
}

std::string summary_field(const std::string& entry, const std::string& key) {
    const std::string marker = "\n      \"" + key + "\": ";
    const auto at = entry.find(marker);
    if (at == std::string::npos) return "";
    const auto start = at + marker.size();
    auto end = entry.find('\n', start);
    if (end == std::string::npos) end = entry.size();
    std::string value = entry.substr(start, end - start);
    if (!value.empty() && value.back() == ',') value.pop_back();
    return value;
}

}  // namespace vormel
