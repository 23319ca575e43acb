#include "dialogs/CPdf417Dlg.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "ui/MessageBoxes.h"
#include "commands/TwoDim.h"
#include "commands/Gbk.h"
#include "ui/ChoiceCombo.h"
#include "ui/QtText.h"
#include "res/Pdf417Ids.h"
#include "res/DialogTemplate.h"
#include "res/SymbolChoices.h"

namespace tallyx {

namespace {
using namespace id::pdf417;

// Two-digit items ("%02d"), each carrying its number.
void FillNumbers(QComboBox* combo, std::span<const pdf417::NumberRun> runs)
{
    for (const pdf417::NumberRun& run : runs)
        for (int n = run.first; n <= run.last; ++n)
            combo->addItem(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')), n);
}
} // namespace

CPdf417Dlg::CPdf417Dlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, Pdf417Template(), OkCommand::DoesNothing)
{
    m_content = qobject_cast<QPlainTextEdit*>(Control(kContent));
    OnInitDialog();
    connect(Combo(kCorrectionMode), &QComboBox::currentIndexChanged, this, &CPdf417Dlg::OnSelchangeCorrectionMode);
    ConnectButtons<CPdf417Dlg>({{kSend, &CPdf417Dlg::OnSendData}});
}

QComboBox* CPdf417Dlg::Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }

void CPdf417Dlg::OnInitDialog()
{
    FillNumbers(Combo(kColumns), pdf417::kColumnItems);
    FillNumbers(Combo(kRows), pdf417::kRowItems);
    FillNumbers(Combo(kModuleWidth), pdf417::kModuleWidthItems);
    FillNumbers(Combo(kRowHeight), pdf417::kRowHeightItems);
    FillCombo(Combo(kOptions), pdf417::kOptions);
    FillCombo(Combo(kCorrectionMode), pdf417::kCorrectionModes);
    FillCombo(Combo(kLevel), pdf417::kLevels);
    FillNumbers(Combo(kRatio), pdf417::kRatioItems);
    const std::pair<int, int> selected[] = {
        {kColumns, pdf417::kColumnsDefault},         {kRows, pdf417::kRowsDefault},
        {kModuleWidth, pdf417::kModuleWidthDefault}, {kRowHeight, pdf417::kRowHeightDefault},
        {kOptions, pdf417::kOptionsDefault},         {kCorrectionMode, pdf417::kCorrectionModeDefault},
        {kLevel, pdf417::kLevelDefault},             {kRatio, pdf417::kRatioDefault},
    };
    for (const auto& [id, position] : selected) Combo(id)->setCurrentIndex(position);
    Control(kRatio)->hide();
}

void CPdf417Dlg::OnSelchangeCorrectionMode()
{
    // Position 0 is "Level Setting"; the other combo keeps its choice, unread.
    const bool level = Combo(kCorrectionMode)->currentIndex() == 0;
    Control(kLevel)->setVisible(level);
    Control(kRatio)->setVisible(!level);
}

void CPdf417Dlg::OnSendData()
{
    if (!m_sender.CheckPortHandle()) return;   // before the content is looked at
    const auto text = [this](int id) { return Utf8ToGbk(ToUtf8(Combo(id)->currentText())); };
    const std::string texts[] = {text(kColumns), text(kRows), text(kModuleWidth), text(kRowHeight),
                                 text(kOptions), text(kCorrectionMode), text(kLevel), text(kRatio)};
    const Pdf417Params params =
        ReadPdf417Texts({texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7]});
    const Result result = BuildPdf417Command(params, Utf8ToGbk(WithCrLf(ToUtf8(m_content->toPlainText()))));
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    m_sender.SendToPrinter(result.bytes());
}

} // namespace tallyx
