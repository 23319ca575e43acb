#include "dialogs/SymbolDialogs.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "ui/QtText.h"
#include "commands/Gbk.h"

namespace tallyx {

void FillCombo(QComboBox* combo, std::span<const Choice> choices)
{
    for (const Choice& c : choices) combo->addItem(ToQString(c.item), uint(c.byte));
}

uint8_t SelectedByte(const QComboBox* combo, uint8_t none)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? uint8_t(data.toUInt()) : none;
}

std::string GbkText(const QString& text) { return Utf8ToGbk(ToUtf8(text)); }

std::string GbkLines(const QPlainTextEdit* box)
{
    QString text = box->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return GbkText(text);
}

} // namespace tallyx
