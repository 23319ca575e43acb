#include "dialogs/CBarCodeDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"
#include "commands/Barcode.h"
#include "commands/Gbk.h"
#include "ui/ChoiceCombo.h"
#include "ui/QtText.h"
#include "res/BarCodeIds.h"
#include "res/DialogTemplate.h"
#include "res/Messages.h"
#include "res/SymbolChoices.h"

namespace tallyx {

namespace {
using namespace id::barcode;

// A whole number as a 32-bit field holds it: blanks around it, an optional sign.
std::optional<int> ParseIntField(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

// Without a selection the readable line's bytes are those of index -1.
constexpr uint8_t kNoSelection = 0xFF;
} // namespace

CBarCodeDlg::CBarCodeDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, BarCodeTemplate(), OkCommand::Closes),
      g_hriPosition(barcode::kHriPositionDefault), g_hriFont(barcode::kHriFontDefault),
      g_symbology(barcode::kSymbologyDefault), g_barHeight(barcode::kHeightDefault),
      g_barWidth(barcode::kWidthDefault), g_barLeftMargin(barcode::kMarginDefault)
{
    m_hriPosition = qobject_cast<QComboBox*>(Control(kHriPosition));
    m_hriFont = qobject_cast<QComboBox*>(Control(kHriFont));
    m_type = qobject_cast<QComboBox*>(Control(kType));
    m_height = qobject_cast<QLineEdit*>(Control(kHeight));
    m_width = qobject_cast<QLineEdit*>(Control(kWidth));
    m_margin = qobject_cast<QLineEdit*>(Control(kMargin));
    m_hint = qobject_cast<QLabel*>(Control(kHint));
    m_data = qobject_cast<QLineEdit*>(Control(kData));
    m_hint->setWordWrap(true);   // the longest hints take two lines
    FillCombo(m_hriPosition, barcode::kHriPositions);
    FillCombo(m_hriFont, barcode::kHriFonts);
    FillCombo(m_type, barcode::kSymbologies);
    UpdateData(false);

    ConnectButtons<CBarCodeDlg>({{kPrint, &CBarCodeDlg::OnBarcodePrint}});
    connect(m_type, &QComboBox::currentIndexChanged, this, &CBarCodeDlg::OnSelchangeSymbology);
}

bool CBarCodeDlg::UpdateData(bool save)
{
    QLineEdit* const edits[] = {m_height, m_width, m_margin};
    int* const numbers[] = {&g_barHeight, &g_barWidth, &g_barLeftMargin};
    if (!save) {
        m_hriPosition->setCurrentIndex(g_hriPosition);
        m_hriFont->setCurrentIndex(g_hriFont);
        m_type->setCurrentIndex(g_symbology);
        for (int i = 0; i < 3; ++i) edits[i]->setText(QString::number(*numbers[i]));
        return true;
    }
    g_hriPosition = m_hriPosition->currentIndex();
    g_hriFont = m_hriFont->currentIndex();
    g_symbology = m_type->currentIndex();
    QLineEdit* firstBad = nullptr;
    for (int i = 0; i < 3; ++i) {
        const auto value = ParseIntField(edits[i]->text());
        if (value) *numbers[i] = *value;
        else if (!firstBad) firstBad = edits[i];
    }
    if (!firstBad) return true;
    // One box for the first field that holds no integer; every such field keeps its value.
    Boxes().Show({kCaptionApp, kMsgEnterInteger}, this);
    firstBad->setFocus(Qt::OtherFocusReason);
    firstBad->selectAll();
    return false;
}

void CBarCodeDlg::OnBarcodePrint()
{
    UpdateData(true);   // a number that did not read keeps its value; printing goes on
    if (!m_sender.CheckPortHandle()) return;   // the link shows why
    const BarcodeParams params{
        SelectedByte(m_hriPosition, kNoSelection), SelectedByte(m_hriFont, kNoSelection),
        SelectedByte(m_type, 0), g_barHeight, g_barWidth, g_barLeftMargin,
    };
    const Result result = BuildBarcodeCommand(params, Utf8ToGbk(ToUtf8(m_data->text())));
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    if (result.bytes().empty()) return;   // no symbology chosen
    m_sender.SendToPrinter(result.bytes());
    // The corrected numbers are the ones sent; the edits show them from now on.
    const BarcodeParams sent = CorrectBarcodeNumbers(params);
    g_barHeight = int(sent.height);
    g_barWidth = int(sent.width);
    g_barLeftMargin = int(sent.leftMargin);
    UpdateData(false);
}

void CBarCodeDlg::OnSelchangeSymbology()
{
    UpdateData(true);
    m_hint->clear();
    SetCaption(m_hint, SymbologyHint(SelectedByte(m_type, 0)));
    UpdateData(false);
}

} // namespace tallyx
