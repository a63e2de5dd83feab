#include "export/summary_json.h"

#include <fmt/format.h>

#include "export/result_facts.h"
#include "input/text_decoding.h"
#include "model/problem.h"
#include "results/count_gates.h"
#include "results/sort_final_terms.h"

namespace vormel {

namespace {

std::string hex_of(const std::string& bytes) {
    std::string text;
    for (char c : bytes) text += fmt::format("{:02x}", static_cast<unsigned char>(c));
    return text;
}

std::string count_or_null(bool known, int count) { return known ? std::to_string(count) : "null"; }

std::string options_of(const RunFacts& facts) {
    return fmt::format("{{\"method\": {}, \"polarity\": {}, \"level\": {}, \"rolexa\": {}, \"threads\": {}, "
                       "\"import\": {}, \"exact_limit_seconds\": {}}}",
                       json_string(facts.method), json_string(facts.polarity_mode), facts.display_level,
                       facts.rolexa_iterations, facts.threads, facts.imported ? "true" : "false",
                       facts.exact_limit_seconds);
}

std::string output_list(const Problem& problem, const TermTable& terms) {
    std::string text;
    for (int j = 0; j < problem.outputs(); ++j) {
        const auto [fed, literals] = own_terms(problem, terms, j);
        const OutputRelation how = relation_of(problem, j);
        text += fmt::format(
            "{}\n        {{\"name\": {}, \"relation\": \"{}\", \"other_output\": {}, \"polarity\": {}, \"terms\": {}, "
            "\"term_literals\": {}}}",
            j ? "," : "", json_string(problem.ynames[j]), how.relation,
            how.other >= 0 ? json_string(problem.ynames[how.other]) : "null",
            how.polarity ? json_string(how.polarity) : "null", fed, literals);
    }
    return text + "\n      ";
}

}  // namespace

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = utf8_char_length(text, at);
        if (length > 1) {
            out.append(text, at, length);
            at += length;
            continue;
        }
        ++at;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (length == 0 || static_cast<unsigned char>(c) < 0x20) {
                    out += fmt::format("\\u{:04x}", static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
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
    text += "      \"file_hex\": " + (is_valid_utf8(facts.file) ? std::string("null") : json_string(hex_of(facts.file))) + ",\n";
    text += "      \"status\": " + json_string(facts.saved ? "saved" : "failed") + ",\n";
    text += "      \"failure\": " + (facts.saved ? std::string("null") : json_string(facts.failure)) + ",\n";
    text += "      \"proof\": " + json_string(proof_of(problem)) + ",\n";
    text += "      \"product_terms\": " + count_or_null(have_result, counts.product_terms) + ",\n";
    text += "      \"input_literals\": " + count_or_null(have_result, counts.x_literals) + ",\n";
    text += "      \"output_literals\": " + count_or_null(have_result, counts.y_literals) + ",\n";
    text += "      \"gates\": " + count_or_null(have_result, gates.gates) + ",\n";
    text += "      \"gate_inputs\": " + count_or_null(have_result, gates.gate_inputs) + ",\n";
    text += fmt::format("      \"seconds\": {:.3f},\n", facts.total_seconds);
    text += "      \"inputs\": " + count_or_null(problem.inputs() > 0, problem.inputs()) + ",\n";
    text += "      \"outputs\": " + count_or_null(problem.outputs() > 0, problem.outputs()) + ",\n";
    text += "      \"exact\": ";
    text += facts.exact && have_result ? fmt::format("{{\"proven\": {}, \"lower_bound\": {}}}",
                                                     facts.exact_proven ? "true" : "false", facts.exact_lower_bound)
                                       : "null";
    text += ",\n      \"options\": " + options_of(facts) + ",\n";
    static const char* const kSteps[] = {"expand", "primes", "cover", "bundle", "final"};
    text += "      \"step_seconds\": {";
    for (std::size_t s = 0; s < facts.step_seconds.size(); ++s) {
        text += fmt::format("{}\"{}\": {:.3f}", s ? ", " : "", kSteps[s], facts.step_seconds[s]);
    }
    text += "},\n      \"output_list\": [";
    if (have_result) text += output_list(problem, terms);
    return text + "]\n    }";
}

std::string summary_document(const std::string& entries_joined) {
    return fmt::format("{{\n  \"schema_version\": {},\n  \"program\": \"vormel\",\n  \"version\": {},\n  \"files\": [\n{}\n  ]\n}}\n",
                       kSummarySchemaVersion, json_string(VORMEL_VERSION), entries_joined);
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
