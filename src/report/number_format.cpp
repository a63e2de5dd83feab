#include "report/number_format.h"

#include <cmath>
#include <cstdlib>

#include <fmt/format.h>

namespace vormel {

namespace {

// Decimal digits of |x| at 15 significant digits: digits and the position of the decimal point.
struct Decimal {
    bool negative = false;
    std::string digits;  // no leading zeros unless the value is 0
    int point = 0;       // number of digits before the decimal point (may be <= 0)
};

Decimal decimal_of(double x) {
    Decimal d;
    d.negative = std::signbit(x) && x != 0;
    const std::string e = fmt::format("{:.14e}", std::fabs(x));  // d.dddddddddddddde±XX
    const auto e_pos = e.find('e');
    std::string mantissa = e.substr(0, e_pos);
    mantissa.erase(1, 1);  // drop the point
    const int exponent = std::atoi(e.c_str() + e_pos + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    if (mantissa == "0") {
        d.digits = "0";
        d.point = 1;
        return d;
    }
    d.digits = mantissa;
    d.point = exponent + 1;
    return d;
}

std::string plain_text(const Decimal& d) {
    std::string out;
    if (d.point <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-d.point), '0') + d.digits;
    } else if (d.point >= static_cast<int>(d.digits.size())) {
        out = d.digits + std::string(static_cast<std::size_t>(d.point) - d.digits.size(), '0');
    } else {
        out = d.digits.substr(0, static_cast<std::size_t>(d.point)) + "." + d.digits.substr(static_cast<std::size_t>(d.point));
    }
    return out;
}

// |x| with exactly `decimals` decimals, rounded half-to-even on its decimal digits.
std::string fixed_text(const Decimal& d, int decimals) {
    // Digits as an integer string scaled so that the last kept digit is the units digit.
    std::string digits = d.digits;
    int point = d.point;
    if (point <= 0) {
        digits = std::string(static_cast<std::size_t>(1 - point), '0') + digits;
        point = 1;
    }
    const int keep = point + decimals;  // digits kept
    if (static_cast<int>(digits.size()) < keep) digits.append(static_cast<std::size_t>(keep) - digits.size(), '0');
    std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
    const std::string dropped = digits.substr(static_cast<std::size_t>(keep));
    bool round_up = false;
    if (!dropped.empty()) {
        if (dropped[0] > '5') {
            round_up = true;
        } else if (dropped[0] == '5') {
            const bool only_zeros = dropped.find_first_not_of('0', 1) == std::string::npos;
            const int last_kept = kept.empty() ? 0 : kept.back() - '0';
            round_up = !only_zeros || (last_kept % 2 == 1);
        }
    }
    if (kept.empty()) kept = "0", ++point;
    if (round_up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') kept[i--] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            ++point;
        } else {
            ++kept[i];
        }
    }
    std::string integer = kept.substr(0, static_cast<std::size_t>(point));
    const auto first = integer.find_first_not_of('0');
    integer = first == std::string::npos ? "0" : integer.substr(first);
    if (decimals == 0) return integer;
    return integer + "." + kept.substr(static_cast<std::size_t>(point));
}

bool is_zero_text(const std::string& text) { return text.find_first_not_of("0.") == std::string::npos; }

}  // namespace

std::string TRIM(double x) {
    const Decimal d = decimal_of(x);
    return (d.negative ? "-" : "") + plain_text(d);
}

std::string STR(double x) {
    const std::string text = TRIM(x);
    return text[0] == '-' ? text : " " + text;
}

int round_half_even(double x) { return static_cast<int>(std::nearbyint(x)); }

std::string format_mask(std::string_view mask, double x) {
    std::string out;
    std::size_t i = 0;
    bool number_written = false;
    while (i < mask.size()) {
        char fill = ' ';
        std::size_t start = i;
        int extra = 0;
        if (!number_written && mask[i] == '*' && i + 2 < mask.size() && mask[i + 2] == '#') {
            fill = mask[i + 1];
            extra = 2;
            start = i + 2;
        }
        if (!number_written && start < mask.size() && mask[start] == '#') {
            std::size_t end = start;
            int decimals = -1;
            while (end < mask.size() && (mask[end] == '#' || (mask[end] == '.' && decimals < 0))) {
                if (mask[end] == '.') decimals = 0;
                else if (decimals >= 0) ++decimals;
                ++end;
            }
            // A '.' that ends the run is literal text, not a decimal point.
            if (decimals == 0 && mask[end - 1] == '.') {
                --end;
                decimals = -1;
            }
            const int width = static_cast<int>(end - start) + extra;
            const Decimal d = decimal_of(x);
            std::string body = fixed_text(d, decimals < 0 ? 0 : decimals);
            if (d.negative && !is_zero_text(body)) body = "-" + body;
            if (static_cast<int>(body.size()) < width) body.insert(0, static_cast<std::size_t>(width) - body.size(), fill);
            out += body;
            number_written = true;
            i = end;
            continue;
        }
        out += mask[i];
        ++i;
    }
    return out;
}

}  // namespace vormel
