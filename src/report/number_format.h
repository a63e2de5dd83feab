#pragma once
#include <string>
#include <string_view>

namespace vormel {

// Decimal form with at most 15 significant digits and one leading blank when x is not negative.
std::string STR(double x);
// STR without the leading blank.
std::string TRIM(double x);

// Fills a number mask: a run of '#' (optionally holding one '.') is a right-aligned field, "*c"
// before it makes c the fill character and widens the field by two; a minus sign takes a position;
// the digits are rounded half-to-even on their decimal form; a wider number widens the field.
// Every other character of the mask is copied as it stands.
std::string format_mask(std::string_view mask, double x);

// Rounds to the nearest integer, a half to the even neighbour (stores of reals into integers).
int round_half_even(double x);

}  // namespace vormel
