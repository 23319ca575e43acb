#pragma once
// How the windows read numbers out of their fields.
#include <cstdint>
#include <optional>
#include <string_view>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tallyx {

// An unsigned whole number, blanks and tabs allowed around it; no sign, nothing else,
// at most 4294967295. Empty is not a number.
std::optional<uint32_t> ParseUnsignedField(std::string_view text);

// The field's unsigned number. When it holds none, the box asking for one is shown over
// `owner` and the field takes the focus with its text selected, for the operator to mend.
std::optional<uint32_t> ReadUnsignedField(QLineEdit* edit, QWidget* owner);

// A list's selected position and the member that keeps it: saved into the member, or
// shown from it.
void ExchangeIndex(bool save, QComboBox* combo, int& index);

} // namespace tallyx
