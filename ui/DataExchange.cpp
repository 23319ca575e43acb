#include "ui/DataExchange.h"

#include <QComboBox>
#include <QLineEdit>

#include "res/Messages.h"
#include "ui/MessageBoxes.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Digits only, at most max; nullopt on anything else.
std::optional<uint64_t> ParseDigits(std::string_view text, uint64_t max)
{
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
        if (value > max) return std::nullopt;
    }
    return value;
}
} // namespace

std::optional<uint32_t> ParseUnsignedField(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const auto value = ParseDigits(text, UINT32_MAX);
    if (!value) return std::nullopt;
    return uint32_t(*value);
}

std::optional<uint32_t> ReadUnsignedField(QLineEdit* edit, QWidget* owner)
{
    const auto number = ParseUnsignedField(ToUtf8(edit->text()));
    if (!number) {
        Boxes().Show({kCaptionApp, kMsgSendCountInvalid}, owner);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
    return number;
}

void ExchangeIndex(bool save, QComboBox* combo, int& index)
{
    if (save) index = combo->currentIndex();
    else combo->setCurrentIndex(index);
}

} // namespace tallyx
