#pragma once
// What the barcode, QR code and PDF417 dialogs share: filling a combo from its choices,
// the byte of its selection, and the operator's text as the printer takes it.
#include <QString>
#include <span>

#include "res/Choice.h"

class QComboBox;
class QPlainTextEdit;

namespace tallyx {

// Each item carries the byte it sends as its data.
void FillCombo(QComboBox* combo, std::span<const Choice> choices);
// The byte of the selected item; `none` without a selection.
uint8_t SelectedByte(const QComboBox* combo, uint8_t none);
// GBK bytes of a single-line text.
std::string GbkText(const QString& text);
// GBK bytes of a multi-line box, each line break sent as CR LF.
std::string GbkLines(const QPlainTextEdit* box);

} // namespace tallyx
