#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vormel {

// Text operations shared by the format readers. Lines are UTF-8.

// ASCII letters and the umlauts ä ö ü to upper case; everything else unchanged.
std::string upper_case(std::string_view text);
bool starts_with(std::string_view text, std::string_view prefix);
bool contains(std::string_view text, std::string_view part);
// Cuts the text at the first occurrence of `marker`.
void cut_at(std::string& text, std::string_view marker);
void replace_all(std::string& text, std::string_view from, std::string_view to);
void remove_all(std::string& text, std::string_view part);
std::string remove_blanks(std::string_view text);
std::string trim_blanks(std::string_view text);
std::string trim_trailing_blanks(std::string_view text);
// Pieces between separators; an empty text is one empty piece.
std::vector<std::string> split(std::string_view text, char separator);
// Every character has a code from 32 to 122 or is one of Ä Ö Ü ß ä ö ü.
bool allowed_characters(std::string_view text);
// The error text for a name of more than kMaxNameLength characters: its start and the limit.
std::string long_name_text(std::string_view name);
// The file name's last three characters in lower case.
std::string extension_of(std::string_view file_name);

}  // namespace vormel
