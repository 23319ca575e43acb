#pragma once
// A combo filled from a Choice list: each item carries the byte it sends as its data.
#include <cstdint>
#include <span>
#include <string_view>

#include "res/Choice.h"

class QComboBox;

namespace tallyx {

void FillCombo(QComboBox* combo, std::span<const Choice> choices);
// A list whose items send nothing of their own.
void FillCombo(QComboBox* combo, std::span<const std::string_view> items);
// The byte of the selected item; `none` without a selection.
uint8_t SelectedByte(const QComboBox* combo, uint8_t none);

} // namespace tallyx
