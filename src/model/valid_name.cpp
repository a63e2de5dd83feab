#include "model/valid_name.h"

namespace vormel {

namespace {
bool letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string valid_name_of(std::string_view name) {
    std::string valid;
    bool gap = false;
    for (char c : name) {
        if (letter(c) || digit(c)) {
            if (gap && !valid.empty()) valid += '_';
            gap = false;
            valid += c;
        } else {
            gap = true;
        }
    }
    if (valid.empty()) return "N";
    if (digit(valid[0])) valid.insert(valid.begin(), 'N');
    return valid;
}

bool plain_identifier(std::string_view name) {
    if (name.empty() || !letter(name[0])) return false;
    for (char c : name) {
        if (!letter(c) && !digit(c)) return false;
    }
    return true;
}

}  // namespace vormel
