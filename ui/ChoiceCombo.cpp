#include "ui/ChoiceCombo.h"

#include <QComboBox>

#include "ui/QtText.h"

namespace tallyx {

void FillCombo(QComboBox* combo, std::span<const Choice> choices)
{
    for (const Choice& c : choices) combo->addItem(ToQString(c.item), uint(c.byte));
}

void FillCombo(QComboBox* combo, std::span<const std::string_view> items)
{
    for (std::string_view item : items) combo->addItem(ToQString(item));
}

uint8_t SelectedByte(const QComboBox* combo, uint8_t none)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? uint8_t(data.toUInt()) : none;
}

} // namespace tallyx
